#pragma once

#include "tavctrls/platform/PixelBuffer.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tav::platform {

// A horizontal run of set pixels in one row of a glyph bitmap.
struct GlyphSpan {
    int row = 0;
    int start = 0;
    int length = 0;
};

// A monochrome glyph kept as runs of set pixels, so that drawing is a few fills per row.
struct Glyph {
    int advance = 0; // whole pixels
    int left = 0;    // bitmap's left edge, relative to the pen
    int top = 0;     // bitmap's top edge, in pixels above the baseline
    int width = 0;
    int rows = 0;
    std::vector<GlyphSpan> spans;

    std::size_t Bytes() const { return sizeof(Glyph) + spans.capacity() * sizeof(GlyphSpan); }
};

// Draws `glyph` with its pen at (penX, baseline), clipped to the buffer. Positions are 64-bit so that a
// pen far outside the buffer neither overflows nor wraps around.
void DrawGlyph(PixelBuffer& dest, const Glyph& glyph, std::int64_t penX, std::int64_t baseline,
               std::uint32_t pixel);

} // namespace tav::platform
