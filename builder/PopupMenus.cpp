#include "builder/PopupMenus.h"

#include "builder/BuilderApp.h"

#include <algorithm>

namespace tav::builder {
namespace {

constexpr const char* kPopupBackground = "art//popmenuback.bmp";
constexpr int kWindowWidth = 800, kWindowHeight = 600;

} // namespace

int FitInside(int at, int size, int start, int end) {
    return std::max(start, std::min(at, end - size));
}

CTavPopupMenu* OpenPopupMenu(CTavScreen* owner, int x, int y, int width, int height,
                             const std::vector<const char*>& items) {
    // A right click during a drag only cancels the drag.
    if (const BuilderApp* app = TheBuilderApp(); app != nullptr && app->DragState != BuilderApp::NoDrag)
        return nullptr;
    // The visible part of the owner, in window points, its scroll bars left out.
    int right = owner->GetAppX() + owner->GetWidth(), bottom = owner->GetAppY() + owner->GetHeight();
    if (CTavScrollBarsBase* bars = owner->GetScrollBarsObject()) {
        const int middleX = owner->GetAppX() + owner->GetWidth() / 2;
        const int middleY = owner->GetAppY() + owner->GetHeight() / 2;
        while (right > owner->GetAppX() && bars->HitTest(right - 1, middleY))
            --right;
        while (bottom > owner->GetAppY() && bars->HitTest(middleX, bottom - 1))
            --bottom;
    }
    right = std::min(right, kWindowWidth);
    bottom = std::min(bottom, kWindowHeight);
    x = FitInside(x, width, std::max(owner->GetAppX(), 0), right);
    y = FitInside(y, height, std::max(owner->GetAppY(), 0), bottom);
    int scrollX = 0, scrollY = 0;
    owner->GetScrollPosition(&scrollX, &scrollY);
    auto* popup = new CTavPopupMenu;
    if (popup->Initialize(static_cast<float>(x - owner->GetAppX() + scrollX),
                          static_cast<float>(y - owner->GetAppY() + scrollY), width, height, owner,
                          kPopupBackground) != TAVERROR_OK) {
        TavDeleteObject(popup);
        return nullptr;
    }
    for (const char* item : items)
        popup->AddItem(item);
    owner->SetPopupMenu(popup);
    return popup;
}

} // namespace tav::builder
