#include "tavctrls/platform/Glyph.h"

#include <algorithm>

namespace tav::platform {

void DrawGlyph(PixelBuffer& dest, const Glyph& glyph, std::int64_t penX, std::int64_t baseline,
               std::uint32_t pixel) {
    const std::int64_t left = penX + glyph.left;
    const std::int64_t top = baseline - glyph.top;
    if (dest.Empty() || left >= dest.width() || top >= dest.height() || left + glyph.width <= 0 ||
        top + glyph.rows <= 0 || glyph.spans.empty())
        return;
    const PixelRect box{static_cast<int>(std::max<std::int64_t>(left, 0)),
                        static_cast<int>(std::max<std::int64_t>(top, 0)),
                        static_cast<int>(std::min<std::int64_t>(left + glyph.width, dest.width())),
                        static_cast<int>(std::min<std::int64_t>(top + glyph.rows, dest.height()))};
    dest.Touch(box);
    dest.ForEachClipped(box, [&](const PixelRect& clip) {
        for (const GlyphSpan& span : glyph.spans) {
            const std::int64_t y = top + span.row;
            if (y < clip.top || y >= clip.bottom)
                continue;
            const std::int64_t from = std::max<std::int64_t>(left + span.start, clip.left);
            const std::int64_t to = std::min<std::int64_t>(left + span.start + span.length, clip.right);
            if (from < to)
                std::fill(dest.Row(static_cast<int>(y)) + from, dest.Row(static_cast<int>(y)) + to, pixel);
        }
    });
}

} // namespace tav::platform
