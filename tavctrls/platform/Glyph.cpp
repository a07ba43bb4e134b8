#include "tavctrls/platform/Glyph.h"

#include <algorithm>

namespace tav::platform {

void DrawGlyph(PixelBuffer& dest, const Glyph& glyph, std::int64_t penX, std::int64_t baseline,
               std::uint32_t pixel) {
    const std::int64_t left = penX + glyph.left;
    const std::int64_t top = baseline - glyph.top;
    const std::int64_t width = dest.width();
    const std::int64_t height = dest.height();
    if (dest.Empty() || left >= width || top >= height || left + glyph.width <= 0 || top + glyph.rows <= 0)
        return;
    for (const GlyphSpan& span : glyph.spans) {
        const std::int64_t y = top + span.row;
        if (y < 0 || y >= height)
            continue;
        const std::int64_t from = std::max<std::int64_t>(left + span.start, 0);
        const std::int64_t to = std::min<std::int64_t>(left + span.start + span.length, width);
        if (from < to)
            std::fill(dest.Row(static_cast<int>(y)) + from, dest.Row(static_cast<int>(y)) + to, pixel);
    }
}

} // namespace tav::platform
