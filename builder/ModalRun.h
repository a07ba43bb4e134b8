#pragma once

#include "tavctrls/TavCtrls.h"

namespace tav::builder {

// Initialises `popup` as a popup of `parent`'s innermost screen at the place given, runs it modally
// and gives what `read` takes from it once it has closed. A popup that cannot be shown is read as
// constructed, so its outputs keep their "nothing chosen" values.
template <typename Popup, typename Read>
auto RunModal(CTavScreen* parent, Popup* popup, int x, int y, int width, int height, Read read) {
    // Removed popups are deleted by the library; keep this one alive until it has been read.
    CTavDeferDelete keep;
    CTavScreen* owner = parent != nullptr ? parent->GetInnermostScreen() : nullptr;
    if (owner == nullptr ||
        popup->Initialize(1, x, y, width, height, TAVSCREEN_POPUP, owner) != TAVERROR_OK ||
        owner->SetChildScreen(popup) != TAVERROR_OK) {
        auto result = read(*popup);
        TavDeleteScreen(popup);
        return result;
    }
    auto result = read(*popup);
    // A discarded owner takes its modal child with it.
    if (!owner->IsDiscarded() && owner->GetChildScreen() == popup)
        owner->RemoveChildScreen();
    return result;
}

} // namespace tav::builder
