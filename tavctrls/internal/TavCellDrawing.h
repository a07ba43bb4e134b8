#pragma once

#include "CTavSurface.h"
#include "TavRuntime.h"
#include "tavctrls/platform/PixelBuffer.h"

#include <algorithm>
#include <string>

namespace tav {

// Draws one cell of a list or tree row onto `image`: the rectangle (x, y, width, height) filled with `fill`,
// the text written from its top-left corner, nothing outside the cell. The pixels are those of a temporary
// surface of the cell's size blitted to (x, y), but only the part inside the image is drawn, through
// `scratch` (at least as wide as the image and as high as the cell, font already set).
inline void DrawCell(CTavSurface& image, CTavSurface& scratch, int x, int y, int width, int height,
                     COLORREF fill, COLORREF colour, const std::string& text) {
    platform::PixelBuffer* dest = image.GetDDSurface();
    platform::PixelBuffer* cell = scratch.GetDDSurface();
    if (dest == nullptr || cell == nullptr || width < 1 || height < 1)
        return;
    const long long right = static_cast<long long>(x) + width;
    const long long bottom = static_cast<long long>(y) + height;
    const platform::PixelRect clip{std::max(x, 0), std::max(y, 0),
                                   static_cast<int>(std::min<long long>(right, dest->width())),
                                   static_cast<int>(std::min<long long>(bottom, dest->height()))};
    if (clip.Empty() || clip.Width() > cell->width() || clip.Height() > cell->height())
        return;
    const platform::PixelRect part{0, 0, clip.Width(), clip.Height()};
    platform::FillRect(*cell, part, PixelOfColour(fill));
    // Whatever the text paints outside `part` is never copied.
    scratch.DrawText(x - clip.left, y - clip.top, colour, text.c_str());
    platform::CopyRect(*dest, clip.left, clip.top, *cell, part);
}

} // namespace tav
