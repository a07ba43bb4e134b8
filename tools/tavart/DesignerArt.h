#pragma once

#include "Canvas.h"

// Pictures of the designer's own screens.
namespace tav::art {

// The kinds the palette offers, one picture each.
enum class PaletteKind { Object, Button, Static, CheckBox, Edit, List, Tree, Animation };

Canvas DrawMainBack();
Canvas DrawViewBack();
Canvas DrawDialogBack();
Canvas DrawPaletteIcon(PaletteKind kind);
// The arrows that frame the selected control; `direction` is where the control lies, `frame` 1 or 2.
Canvas DrawSelectionArrow(Direction direction, int frame);

} // namespace tav::art
