#pragma once

#include "tavctrls/TavCtrls.h"

namespace tav::builder {

// The four blinking arrows that frame the selected control of a design view.
enum ArrowId : DWORD { LeftArrow = 101, RightArrow = 102, UpArrow = 103, DownArrow = 104 };

inline bool IsArrowId(DWORD id) {
    return id >= LeftArrow && id <= DownArrow;
}

// Creates the arrows, hidden at (-50, -50), and adds them to the view.
void AddSelectionArrows(CTavScreen* view);
// Places the arrows around `control`.
void FrameWithArrows(CTavScreen* view, const CTavObject& control);
// Moves the arrows back out of sight.
void HideArrows(CTavScreen* view);
// Moves the arrows to the end of the view's drawing order.
void RaiseArrows(CTavScreen* view);

} // namespace tav::builder
