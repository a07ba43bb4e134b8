#include "builder/SelectionArrows.h"

namespace tav::builder {
namespace {

constexpr int kArrowSize = 20;
constexpr float kHiddenAt = -50;

struct ArrowArt {
    DWORD id;
    const char* first;
    const char* second;
};

constexpr ArrowArt kArrows[] = {
    {LeftArrow, "art//extra//left1.bmp", "art//extra//left2.bmp"},
    {RightArrow, "art//extra//right1.bmp", "art//extra//right2.bmp"},
    {UpArrow, "art//extra//up1.bmp", "art//extra//up2.bmp"},
    {DownArrow, "art//extra//down1.bmp", "art//extra//down2.bmp"},
};

void Place(CTavScreen* view, DWORD id, float x, float y) {
    if (CTavObject* arrow = view->GetObjectByID(id))
        arrow->SetPosition(x, y);
}

} // namespace

void AddSelectionArrows(CTavScreen* view) {
    for (const ArrowArt& art : kArrows) {
        auto* arrow = new CTavAnimation;
        if (arrow->Initialize(art.id, kHiddenAt, kHiddenAt, kArrowSize, kArrowSize, view) != TAVERROR_OK) {
            arrow->Finish();
            delete arrow;
            continue;
        }
        arrow->SetTransparent(TRUE, RGB(0, 0, 0));
        arrow->AddFrame(art.first);
        arrow->AddFrame(art.second);
        arrow->SetFrameFrequency(0.3f);
        if (view->AddObject(arrow) != TAVERROR_OK) {
            arrow->Finish();
            delete arrow;
        }
    }
}

void FrameWithArrows(CTavScreen* view, const CTavObject& control) {
    const int x = static_cast<int>(control.GetX());
    const int y = static_cast<int>(control.GetY());
    const int halfWidth = control.GetWidth() / 2;
    const int halfHeight = control.GetHeight() / 2;
    const auto at = [](int value) { return static_cast<float>(value); };
    Place(view, LeftArrow, at(x - kArrowSize), at(y + halfHeight - kArrowSize / 2));
    Place(view, RightArrow, at(x + control.GetWidth()), at(y + halfHeight - kArrowSize / 2));
    Place(view, UpArrow, at(x + halfWidth - kArrowSize / 2), at(y - kArrowSize));
    Place(view, DownArrow, at(x + halfWidth - kArrowSize / 2), at(y + control.GetHeight()));
}

void HideArrows(CTavScreen* view) {
    for (const ArrowArt& art : kArrows)
        Place(view, art.id, kHiddenAt, kHiddenAt);
}

void RaiseArrows(CTavScreen* view) {
    // Each goes to the end in turn, so they keep their own order after every control.
    for (const ArrowArt& art : kArrows)
        view->SetObjectOrder(art.id, view->GetObjectCount());
}

} // namespace tav::builder
