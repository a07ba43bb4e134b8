#pragma once

#include "tavctrls/TavCtrls.h"

#include <vector>

namespace tav::builder {

// Where a length `size` placed at `at` starts so that it ends by `end` (shifted back, never before `start`).
int FitInside(int at, int size, int start, int end);

// Opens a popup menu of `owner` with its corner at window point (x, y), shifted left and up as far as
// it must to lie inside both the owner and the 800 x 600 window; null when it cannot be made or a drag runs.
CTavPopupMenu* OpenPopupMenu(CTavScreen* owner, int x, int y, int width, int height,
                             const std::vector<const char*>& items);

} // namespace tav::builder
