#pragma once

#include "tavctrls/platform/FontFace.h"
#include "tavctrls/platform/Glyph.h"
#include "tavctrls/platform/GlyphCache.h"

#include <memory>

typedef struct FT_SizeRec_* FT_Size;

namespace tav::platform {

// A face at one cell height, average width and weight, with its glyph cache.
class Font {
public:
    // Largest pixels per em either way; larger requests cannot be made into a font.
    static constexpr int kMaxPixelsPerEm = 4096;

    // A font whose cell (ascent + descent) is `height` pixels; `width` 0 keeps the face's proportions,
    // otherwise the average character width becomes `width` pixels. `embolden` thickens the strokes of a
    // face that has no bold of its own. Null when the size cannot be set.
    static std::shared_ptr<Font> Create(std::shared_ptr<FontFace> face, int height, int width, bool embolden);

    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    int height() const { return height_; }
    int ascent() const { return ascent_; }

    // The glyph of `codePoint`, rendered on first use and then taken from the cache. The reference is
    // valid until the next call.
    const Glyph& CachedGlyph(char32_t codePoint) const;
    // The glyph rendered anew, the cache untouched.
    Glyph RenderGlyph(char32_t codePoint) const;

    const GlyphCache& cache() const { return cache_; }

private:
    Font(std::shared_ptr<FontFace> face, FT_Size size, int height, bool embolden);
    bool SetScalableSize(int width);
    bool SelectFixedSize();
    unsigned GlyphIndex(char32_t codePoint) const;

    std::shared_ptr<FontFace> face_; // outlives the size
    FT_Size size_;
    int height_;
    int ascent_ = 0;
    bool embolden_;
    mutable GlyphCache cache_;
};

} // namespace tav::platform
