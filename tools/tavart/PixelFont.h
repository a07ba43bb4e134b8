#pragma once

namespace tav::art {

constexpr int kGlyphWidth = 5;
constexpr int kGlyphHeight = 7;

// The 5 x 7 pattern of `c`, row by row ('#' set, '.' clear), or null for a character without one.
const char* GlyphPattern(char c);

} // namespace tav::art
