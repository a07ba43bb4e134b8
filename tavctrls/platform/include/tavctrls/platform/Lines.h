#pragma once

#include "PixelBuffer.h"

#include <cstdint>

namespace tav::platform {

// A one-pixel line from (x1, y1) towards (x2, y2), the last point excluded (as a GDI LineTo), every
// pixel written as `pixel`. Coordinates may lie anywhere; only the part inside the buffer is drawn.
void DrawLine(PixelBuffer& dest, int x1, int y1, int x2, int y2, std::uint32_t pixel);

} // namespace tav::platform
