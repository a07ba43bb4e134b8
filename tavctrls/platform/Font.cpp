#include "tavctrls/platform/Font.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_SIZES_H

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace tav::platform {

namespace {

constexpr std::int64_t kOnePixel = 64; // in 26.6 fixed point

std::int64_t RoundedDiv(std::int64_t numerator, std::int64_t denominator) {
    return (2 * numerator + denominator) / (2 * denominator);
}

int WholePixels(FT_Pos value26_6) {
    return static_cast<int>((value26_6 + 32) >> 6);
}

// Whether pixel `column` of a bitmap row is set; grey and colour bitmaps count from half coverage on.
bool PixelSet(const FT_Bitmap& bitmap, const unsigned char* row, unsigned column) {
    switch (bitmap.pixel_mode) {
    case FT_PIXEL_MODE_MONO:
        return ((row[column >> 3] >> (7 - (column & 7))) & 1) != 0;
    case FT_PIXEL_MODE_GRAY:
        return row[column] >= 128;
    case FT_PIXEL_MODE_BGRA:
        return row[column * 4 + 3] >= 128;
    default:
        return false;
    }
}

void CollectSpans(const FT_Bitmap& bitmap, Glyph& glyph) {
    const unsigned rowBytes = static_cast<unsigned>(std::abs(bitmap.pitch));
    for (unsigned r = 0; r < bitmap.rows; ++r) {
        // A negative pitch stores the rows bottom up.
        const unsigned stored = bitmap.pitch >= 0 ? r : bitmap.rows - 1 - r;
        const unsigned char* row = bitmap.buffer + std::size_t{stored} * rowBytes;
        for (unsigned c = 0; c < bitmap.width;) {
            if (!PixelSet(bitmap, row, c)) {
                ++c;
                continue;
            }
            const unsigned start = c;
            while (c < bitmap.width && PixelSet(bitmap, row, c))
                ++c;
            glyph.spans.push_back(
                {static_cast<int>(r), static_cast<int>(start), static_cast<int>(c - start)});
        }
    }
    glyph.spans.shrink_to_fit();
}

} // namespace

std::shared_ptr<Font> Font::Create(std::shared_ptr<FontFace> face, int height, int width, bool embolden) {
    if (face == nullptr || height < 1 || width < 0)
        return nullptr;
    FT_Size size = nullptr;
    if (FT_New_Size(face->face(), &size) != 0)
        return nullptr;
    std::shared_ptr<Font> font(new Font(std::move(face), size, height, embolden));
    const bool sized = font->face_->scalable() ? font->SetScalableSize(width) : font->SelectFixedSize();
    return sized ? font : nullptr;
}

Font::Font(std::shared_ptr<FontFace> face, FT_Size size, int height, bool embolden)
    : face_(std::move(face)), size_(size), height_(height), embolden_(embolden) {}

Font::~Font() {
    FT_Done_Size(size_);
}

bool Font::SetScalableSize(int width) {
    const std::int64_t unitsPerEm = face_->unitsPerEm();
    const std::int64_t cell = std::int64_t{face_->cellAscent()} + face_->cellDescent();
    // The em that makes ascent + descent come to the requested height, and likewise for the width.
    const std::int64_t emHeight = RoundedDiv(height_ * kOnePixel * unitsPerEm, cell);
    const std::int64_t emWidth =
        width > 0 ? RoundedDiv(width * kOnePixel * unitsPerEm, face_->averageWidth()) : emHeight;
    const std::int64_t limit = kMaxPixelsPerEm * kOnePixel;
    if (emHeight > limit || emWidth > limit)
        return false;
    FT_Size_RequestRec request{};
    request.type = FT_SIZE_REQUEST_TYPE_NOMINAL;
    request.width = std::max(emWidth, kOnePixel);
    request.height = std::max(emHeight, kOnePixel);
    ascent_ = static_cast<int>(
        std::clamp<std::int64_t>(RoundedDiv(face_->cellAscent() * std::int64_t{height_}, cell), 0, height_));
    return FT_Activate_Size(size_) == 0 && FT_Request_Size(face_->face(), &request) == 0;
}

bool Font::SelectFixedSize() {
    const FT_Face face = face_->face();
    int best = 0;
    for (int i = 1; i < face->num_fixed_sizes; ++i)
        if (std::abs(face->available_sizes[i].height - height_) <
            std::abs(face->available_sizes[best].height - height_))
            best = i;
    if (FT_Activate_Size(size_) != 0 || FT_Select_Size(face, best) != 0)
        return false;
    ascent_ = std::clamp(WholePixels(size_->metrics.ascender), 0, height_);
    return true;
}

unsigned Font::GlyphIndex(char32_t codePoint) const {
    const FT_Face face = face_->face();
    FT_UInt index = FT_Get_Char_Index(face, codePoint);
    // Symbol fonts keep their characters at U+F000 + the byte.
    if (index == 0 && codePoint < 0x100 && face->charmap != nullptr &&
        face->charmap->encoding == FT_ENCODING_MS_SYMBOL)
        index = FT_Get_Char_Index(face, 0xF000 | codePoint);
    return index;
}

const Glyph& Font::CachedGlyph(char32_t codePoint) const {
    if (const Glyph* glyph = cache_.Find(codePoint))
        return *glyph;
    return cache_.Insert(codePoint, RenderGlyph(codePoint));
}

Glyph Font::RenderGlyph(char32_t codePoint) const {
    Glyph glyph;
    const FT_Face face = face_->face();
    // A missing character draws the face's own missing-glyph shape (index 0), as GDI does.
    if (FT_Activate_Size(size_) != 0 || FT_Load_Glyph(face, GlyphIndex(codePoint), FT_LOAD_TARGET_MONO) != 0)
        return glyph;
    const FT_GlyphSlot slot = face->glyph;
    glyph.advance = WholePixels(slot->advance.x);
    if (embolden_ && slot->format == FT_GLYPH_FORMAT_OUTLINE) {
        // Thicker strokes sideways only, so the glyph keeps to its cell; the advance grows by whole
        // pixels as with GDI's synthetic bold.
        const FT_Pos strength = FT_MulFix(face->units_per_EM, size_->metrics.y_scale) / 24;
        if (strength > 0 && FT_Outline_EmboldenXY(&slot->outline, strength, 0) == 0)
            glyph.advance += static_cast<int>((strength + kOnePixel - 1) / kOnePixel);
    }
    if (slot->format != FT_GLYPH_FORMAT_BITMAP && FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) != 0)
        return glyph;
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    glyph.width = static_cast<int>(slot->bitmap.width);
    glyph.rows = static_cast<int>(slot->bitmap.rows);
    CollectSpans(slot->bitmap, glyph);
    return glyph;
}

} // namespace tav::platform
