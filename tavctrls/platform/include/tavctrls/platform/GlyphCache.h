#pragma once

#include "tavctrls/platform/Glyph.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <unordered_map>

namespace tav::platform {

// Rendered glyphs of one sized font by code point. Latin-1 has direct slots (the library's texts are
// nearly all ASCII); other code points go to a map. The cache is bounded by the bytes it holds: when a
// new glyph would pass the budget, everything is dropped and filling starts again.
class GlyphCache {
public:
    explicit GlyphCache(std::size_t byteBudget = kDefaultBudget) : budget_(byteBudget) {}

    // The cached glyph, or null (counted as a hit or a miss).
    const Glyph* Find(char32_t codePoint);
    // Stores `glyph` for a code point that Find did not have; the returned copy stays valid until the
    // next Insert.
    const Glyph& Insert(char32_t codePoint, Glyph glyph);

    std::uint64_t hits() const { return hits_; }
    std::uint64_t misses() const { return misses_; }
    std::size_t size() const { return count_; }
    std::size_t bytes() const { return bytes_; }

    static constexpr std::size_t kDefaultBudget = std::size_t{2} << 20;

private:
    void Clear();

    std::array<std::unique_ptr<Glyph>, 256> latin1_;
    std::unordered_map<char32_t, Glyph> others_;
    std::size_t budget_;
    std::size_t bytes_ = 0;
    std::size_t count_ = 0;
    std::uint64_t hits_ = 0;
    std::uint64_t misses_ = 0;
};

} // namespace tav::platform
