#pragma once

#include "PixelBuffer.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tav::platform {

// A font as the library asks for one: a family name (matched through fontconfig, falling back to the
// best match), a width (0: the face's natural width), a cell height in pixels (ascent + descent, as a
// GDI font height), and a weight (700 and above is bold).
struct FontSpec {
    std::string name;
    int width = 0;
    int height = 15;
    int weight = 0;
};

struct TextExtent {
    int width = 0;  // sum of the advances
    int height = 0; // the cell height
};

class Font;

// Opens (or finds in the cache) the face for `request`; null when no face can be found or the request is
// unusable (empty name, height below 1).
std::shared_ptr<const Font> OpenFont(const FontSpec& request);

// Text is UTF-8; bytes that are not valid UTF-8 are drawn as the characters of their Latin-1 values.
TextExtent MeasureText(const Font& font, std::string_view text);

// Draws `text` with its cell's top-left corner at (x, y), monochrome (no antialiasing), transparent
// background, every set pixel written as `pixel` (XRGB8888). Clipped to the buffer.
void DrawText(PixelBuffer& dest, const Font& font, int x, int y, std::uint32_t pixel, std::string_view text);

// Draws exactly as DrawText does, but loads and renders every glyph anew instead of taking it from the
// font's glyph cache: the baseline that the cache is measured and checked against.
void DrawTextUncached(PixelBuffer& dest, const Font& font, int x, int y, std::uint32_t pixel,
                      std::string_view text);

// What a font's glyph cache holds and how often it answered.
struct GlyphCacheStats {
    std::uint64_t hits = 0;
    std::uint64_t misses = 0;
    std::size_t glyphs = 0;
    std::size_t bytes = 0;
};
GlyphCacheStats GetGlyphCacheStats(const Font& font);

// The installed font families, one entry per family, sorted, without duplicates.
std::vector<std::string> FontFamilies();

} // namespace tav::platform
