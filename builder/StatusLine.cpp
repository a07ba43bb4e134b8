#include "builder/StatusLine.h"

namespace tav::builder {
namespace {

// A static that holds a notice for a while: the frames it is shown in count the time.
class StatusLine : public CTavStatic {
public:
    void Show(const std::string& text, bool notice) {
        if (!notice && m_noticeLeft > 0)
            return;
        m_noticeLeft = notice ? kNoticeSeconds : 0;
        if (text != GetText())
            SetText(text.c_str());
    }
    void AfterDisplay(CTavSurface* dest) override {
        CTavStatic::AfterDisplay(dest);
        const CTavApp* app = TavGetApp();
        if (m_noticeLeft <= 0 || app == nullptr)
            return;
        m_noticeLeft -= app->GetFrameTime();
        if (m_noticeLeft <= 0)
            SetText("");
    }

private:
    float m_noticeLeft = 0;
};

void Show(CTavScreen* main, const std::string& text, bool notice) {
    if (auto* line =
            main != nullptr ? dynamic_cast<StatusLine*>(main->GetObjectByID(kStatusLineId)) : nullptr)
        line->Show(text, notice);
}

} // namespace

void AddStatusLine(CTavScreen* main) {
    auto* line = new StatusLine;
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
    Show(main, text, false);
}

void ShowNotice(CTavScreen* main, const std::string& text) {
    Show(main, text, true);
}

} // namespace tav::builder
