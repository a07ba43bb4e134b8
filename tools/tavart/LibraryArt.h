#pragma once

#include "Canvas.h"

// Pictures the library's controls and boxes load by default.
namespace tav::art {

enum class ButtonState { Normal, Over, Down };

Canvas DrawButton(ButtonState state);
Canvas DrawCheckBox(bool checked);
Canvas DrawScrollTrack();
Canvas DrawScrollBulb();
Canvas DrawScrollArrow(Direction direction);
// The tree's box in front of an item: plus while it can be expanded, minus otherwise.
Canvas DrawTreeToggle(bool expanded);
Canvas DrawListBack();
Canvas DrawTreeBack();
Canvas DrawPopupMenuBack();
Canvas DrawMessageBoxBack();

} // namespace tav::art
