#include "builder/StatusLine.h"

namespace tav::builder {

void AddStatusLine(CTavScreen* main) {
    auto* line = new CTavStatic;
    if (line->Initialize("", kStatusLineId, 220, 548, 530, 18, main, "") != TAVERROR_OK) {
        TavDeleteObject(line);
        return;
    }
    line->SetTransparent(TRUE, line->GetBackColor());
    line->SetTextColor(RGB(255, 255, 255));
    line->SetFont("Verdana", 0, 12, 0);
    if (main->AddObject(line) != TAVERROR_OK)
        TavDeleteObject(line);
}

std::string PointText(int x, int y) {
    return "X: " + std::to_string(x) + "  Y: " + std::to_string(y);
}

std::string BoundsText(const Bounds& b) {
    return PointText(b.x, b.y) + "  W: " + std::to_string(b.width) + "  H: " + std::to_string(b.height);
}

void ShowStatus(CTavScreen* main, const std::string& text) {
    auto* line = main != nullptr ? dynamic_cast<CTavStatic*>(main->GetObjectByID(kStatusLineId)) : nullptr;
    if (line != nullptr && text != line->GetText())
        line->SetText(text.c_str());
}

} // namespace tav::builder
