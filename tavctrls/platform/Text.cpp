#include "tavctrls/platform/Text.h"

#include "tavctrls/platform/Font.h"
#include "tavctrls/platform/FontFace.h"
#include "tavctrls/platform/FontMatcher.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <list>
#include <map>
#include <optional>

namespace tav::platform {

namespace {

constexpr int kBoldWeight = 700;
// Cells and average widths beyond this are refused: nothing on a screen needs them, and their glyphs
// would be megabytes each.
constexpr int kMaxFontSide = 2048;
// Sized fonts kept for reuse after their last user lets go, so that fonts made for one measurement
// keep their glyphs.
constexpr std::size_t kMaxCachedFonts = 32;

struct SizedFontKey {
    FaceLocation face;
    bool embolden = false;
    int height = 0;
    int width = 0;

    auto operator<=>(const SizedFontKey&) const = default;
};

// The sized fonts most recently asked for, the least recently used dropped first.
class FontCache {
public:
    std::shared_ptr<const Font> Find(const SizedFontKey& key) {
        auto it = index_.find(key);
        if (it == index_.end())
            return nullptr;
        order_.splice(order_.begin(), order_, it->second);
        return it->second->second;
    }

    void Add(const SizedFontKey& key, std::shared_ptr<const Font> font) {
        order_.emplace_front(key, std::move(font));
        index_[key] = order_.begin();
        if (order_.size() > kMaxCachedFonts) {
            index_.erase(order_.back().first);
            order_.pop_back();
        }
    }

private:
    using Entry = std::pair<SizedFontKey, std::shared_ptr<const Font>>;
    std::list<Entry> order_;
    std::map<SizedFontKey, std::list<Entry>::iterator> index_;
};

FontCache& Fonts() {
    static FontCache cache;
    return cache;
}

// The next character of `text` from byte `at`, which moves past it. A byte that does not start a
// well-formed UTF-8 sequence (overlong, surrogate, beyond U+10FFFF, cut short) is taken as the Latin-1
// character of its value.
char32_t NextCodePoint(std::string_view text, std::size_t& at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at++);
    // Continuation bytes, payload bits of the lead byte, and the smallest code point of that length.
    std::size_t more = 0;
    char32_t code = 0;
    char32_t smallest = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        more = 1;
        code = lead & 0x1Fu;
        smallest = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        more = 2;
        code = lead & 0x0Fu;
        smallest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        more = 3;
        code = lead & 0x07u;
        smallest = 0x10000;
    } else {
        return lead;
    }
    if (text.size() - at < more)
        return lead;
    for (std::size_t i = 0; i < more; ++i) {
        if ((byte(at + i) & 0xC0u) != 0x80u)
            return lead;
        code = (code << 6) | (byte(at + i) & 0x3Fu);
    }
    if (code < smallest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return lead;
    at += more;
    return code;
}

template <typename GlyphSource>
void DrawGlyphs(PixelBuffer& dest, const Font& font, int x, int y, std::uint32_t pixel, std::string_view text,
                GlyphSource&& glyphOf) {
    if (dest.Empty())
        return;
    std::int64_t pen = x;
    const std::int64_t baseline = std::int64_t{y} + font.ascent();
    for (std::size_t at = 0; at < text.size();) {
        const Glyph& glyph = glyphOf(NextCodePoint(text, at));
        DrawGlyph(dest, glyph, pen, baseline, pixel);
        pen += glyph.advance;
    }
}

} // namespace

std::shared_ptr<const Font> OpenFont(const FontSpec& request) {
    if (request.name.empty() || request.height < 1 || request.height > kMaxFontSide ||
        request.width < -kMaxFontSide || request.width > kMaxFontSide)
        return nullptr;
    const bool bold = request.weight >= kBoldWeight;
    const std::optional<FaceLocation> location = MatchFace(request.name, bold);
    if (!location)
        return nullptr;
    // A negative width means the same as its size, as with GDI.
    const SizedFontKey key{*location, bold && !location->bold, request.height, std::abs(request.width)};
    if (auto font = Fonts().Find(key))
        return font;
    std::shared_ptr<const Font> font =
        Font::Create(FontFace::Open(key.face), key.height, key.width, key.embolden);
    if (font != nullptr)
        Fonts().Add(key, font);
    return font;
}

TextExtent MeasureText(const Font& font, std::string_view text) {
    std::int64_t width = 0;
    for (std::size_t at = 0; at < text.size();)
        width += font.CachedGlyph(NextCodePoint(text, at)).advance;
    return {static_cast<int>(std::min<std::int64_t>(width, INT_MAX)), font.height()};
}

void DrawText(PixelBuffer& dest, const Font& font, int x, int y, std::uint32_t pixel, std::string_view text) {
    DrawGlyphs(dest, font, x, y, pixel, text,
               [&font](char32_t code) -> const Glyph& { return font.CachedGlyph(code); });
}

void DrawTextUncached(PixelBuffer& dest, const Font& font, int x, int y, std::uint32_t pixel,
                      std::string_view text) {
    Glyph fresh;
    DrawGlyphs(dest, font, x, y, pixel, text, [&font, &fresh](char32_t code) -> const Glyph& {
        fresh = font.RenderGlyph(code);
        return fresh;
    });
}

GlyphCacheStats GetGlyphCacheStats(const Font& font) {
    const GlyphCache& cache = font.cache();
    return {cache.hits(), cache.misses(), cache.size(), cache.bytes()};
}

std::vector<std::string> FontFamilies() {
    return ListFamilies();
}

} // namespace tav::platform
