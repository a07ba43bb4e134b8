#include "tavctrls/platform/Text.h"
#include "tavctrls/platform/Font.h"
#include "tavctrls/platform/FontFace.h"
#include "tavctrls/platform/FontMatcher.h"
#include "tavctrls/platform/GlyphCache.h"
#include "tests/tavctrls/DisplayTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <random>
#include <string>

namespace tav::platform {
namespace {

constexpr std::uint32_t kBack = 0x00123456;
constexpr std::uint32_t kInk = 0x00ABCDEF;

std::shared_ptr<const Font> Open(const std::string& name, int height, int width = 0, int weight = 0) {
    return OpenFont({name, width, height, weight});
}

PixelBuffer Canvas(int width, int height) {
    PixelBuffer buffer;
    EXPECT_TRUE(buffer.Allocate(width, height));
    FillRect(buffer, buffer.Bounds(), kBack);
    return buffer;
}

// The rows of the pixels that are not the background (inclusive), and how many there are.
struct Ink {
    int top = INT_MAX, bottom = INT_MIN, count = 0;
    int Height() const { return bottom - top + 1; }
};

Ink InkOf(const PixelBuffer& buffer) {
    Ink ink;
    for (int y = 0; y < buffer.height(); ++y)
        for (int x = 0; x < buffer.width(); ++x)
            if (buffer.At(x, y) != kBack) {
                EXPECT_EQ(buffer.At(x, y), kInk) << "text is drawn in one colour, " << x << "," << y;
                ink = {std::min(ink.top, y), std::max(ink.bottom, y), ink.count + 1};
            }
    return ink;
}

Ink Drawn(const Font& font, std::string_view text) {
    PixelBuffer canvas = Canvas(400, 120);
    DrawText(canvas, font, 10, 10, kInk, text);
    return InkOf(canvas);
}

// Only the cell height and the average width: the screenshots pin glyph placement at the usual sizes.
TEST(TextExtent, TheCellIsTheFontHeightAnAverageWidthScalesHorizontallyAndBoldThickens) {
    for (int height : {1, 8, 15, 33, 64})
        EXPECT_EQ(MeasureText(*Open("DejaVu Sans", height), "Hgjy()[]AW").height, height);
    // Doubling the average width about doubles the text's width (advances are rounded per glyph).
    const int naturalHeight = Drawn(*Open("DejaVu Sans", 20), "H").Height();
    std::vector<int> widths;
    for (int width : {5, 10, 20}) {
        auto font = Open("DejaVu Sans", 20, width);
        widths.push_back(MeasureText(*font, "abcdefghijklmnopqrstuvwxyz").width);
        EXPECT_NEAR(Drawn(*font, "H").Height(), naturalHeight, 1);
    }
    EXPECT_NEAR(double(widths[2]) / widths[1], 2.0, 0.3);
    EXPECT_NEAR(double(widths[1]) / widths[0], 2.0, 0.3);
    // A face without a bold of its own is thickened (faces with one are in the screenshots).
    auto face = FontFace::Open(MatchFace("DejaVu Sans", false).value());
    auto plain = Font::Create(face, 20, 0, false), thick = Font::Create(face, 20, 0, true);
    ASSERT_TRUE(plain && thick);
    EXPECT_GT(thick->CachedGlyph('l').advance, plain->CachedGlyph('l').advance);
    const Ink thin = Drawn(*plain, "Hill"), heavy = Drawn(*thick, "Hill");
    EXPECT_GT(heavy.count, thin.count);
    EXPECT_EQ(std::pair(heavy.top, heavy.bottom), std::pair(thin.top, thin.bottom));
}

TEST(TextDrawing, ClippingAtEveryEdgeKeepsTheVisiblePartAndFarAwayPositionsStayInBounds) {
    auto font = Open("DejaVu Sans", 20);
    ASSERT_NE(font, nullptr);
    const std::string text = "Wg|\xc3\x81y_j";
    PixelBuffer whole = Canvas(120, 50);
    DrawText(whole, *font, 40, 15, kInk, text);
    // A small buffer shows a window of the whole one, whichever edges cut the text.
    for (int wx : {0, 20, 45, 70, 96})
        for (int wy : {0, 12, 22, 30, 38}) {
            SCOPED_TRACE(testing::Message() << wx << "," << wy);
            PixelBuffer window = Canvas(24, 12);
            DrawText(window, *font, 40 - wx, 15 - wy, kInk, text);
            for (int y = 0; y < 12; ++y)
                for (int x = 0; x < 24; ++x)
                    ASSERT_EQ(window.At(x, y), whole.At(wx + x, wy + y)) << x << "," << y;
        }
    font = Open("DejaVu Sans", 40);
    ASSERT_NE(font, nullptr);
    PixelBuffer tiny = Canvas(1, 1), none;
    for (int x : {-30, -5, 0, 1})
        for (int y : {-39, -20, 0, 1}) {
            DrawText(tiny, *font, x, y, kInk, "WWW jjj");
            DrawTextUncached(tiny, *font, x, y, kInk, "WWW jjj");
        }
    DrawText(none, *font, 0, 0, kInk, "W");
    EXPECT_TRUE(none.Empty());
    // Pens and baselines far outside must neither overflow nor wrap around into the buffer.
    PixelBuffer canvas = Canvas(50, 50);
    const std::string longText(200, 'W');
    for (int at : {INT_MIN, -1000000, INT_MAX - 5, INT_MAX}) {
        DrawText(canvas, *font, at, 0, kInk, longText);
        DrawText(canvas, *font, 0, at, kInk, longText);
    }
    EXPECT_EQ(InkOf(canvas).count, 0);
}

TEST(TextFonts, UnusableSpecsGiveNoFontUnknownFamiliesFallBackAndFontsAreShared) {
    EXPECT_EQ(Open("", 15), nullptr);
    EXPECT_EQ(Open("DejaVu Sans", 0), nullptr);
    EXPECT_EQ(Open("DejaVu Sans", 1000000), nullptr);
    EXPECT_EQ(Open("DejaVu Sans", 15, 1000000), nullptr);
    EXPECT_EQ(Open("DejaVu Sans", 15, -1000000), nullptr);
    // A ':' in a family name is no pattern syntax.
    auto fallback = Open("No Such Family:zz9-plural-z-alpha", 15, 0, 700);
    ASSERT_NE(fallback, nullptr);
    EXPECT_GT(Drawn(*fallback, "abc").count, 0);
    EXPECT_EQ(Open("DejaVu Sans", 17), Open("DejaVu Sans", 17));
    EXPECT_EQ(Open("DejaVu Sans", 17, -9), Open("DejaVu Sans", 17, 9));
}

TEST(TextCache, RepeatedGlyphsAreRenderedOnceWithinTheBudget) {
    auto font = Open("DejaVu Sans", 41);
    ASSERT_NE(font, nullptr);
    const GlyphCacheStats before = GetGlyphCacheStats(*font);
    PixelBuffer canvas = Canvas(400, 60);
    DrawText(canvas, *font, 0, 0, kInk, "abcabc\xe2\x82\xac\xe2\x82\xac");
    const GlyphCacheStats first = GetGlyphCacheStats(*font);
    EXPECT_EQ(
        std::tuple(first.misses - before.misses, first.hits - before.hits, first.glyphs - before.glyphs),
        std::tuple(4u, 4u, 4u));
    DrawTextUncached(canvas, *font, 0, 0, kInk, "xyz");
    EXPECT_EQ(GetGlyphCacheStats(*font).misses, first.misses);
    EXPECT_EQ(GetGlyphCacheStats(*font).hits, first.hits);

    Glyph glyph;
    glyph.advance = 3;
    glyph.spans.assign(40, GlyphSpan{1, 2, 3});
    const std::size_t budget = glyph.Bytes() * 5 + glyph.Bytes() / 2;
    GlyphCache cache(budget);
    for (char32_t code = 0; code < 600; code += 7) {
        ASSERT_EQ(cache.Find(code), nullptr);
        EXPECT_EQ(cache.Insert(code, glyph).advance, 3);
        EXPECT_LE(cache.bytes(), budget);
        ASSERT_NE(cache.Find(code), nullptr);
    }
    EXPECT_LE(cache.size(), 5u);
}

TEST(TextCache, CachedAndFreshGlyphsDrawTheSamePixels) {
    std::mt19937 random(20240611);
    for (const auto& font :
         {Open("DejaVu Sans", 13), Open("Verdana", 22, 0, 700), Open("DejaVu Sans", 16, 12)}) {
        ASSERT_NE(font, nullptr);
        for (int round = 0; round < 60; ++round) {
            // Arbitrary bytes: valid and broken UTF-8, controls, NUL.
            std::string text(random() % 12, '\0');
            for (char& c : text)
                c = static_cast<char>(random() % 256);
            const int x = static_cast<int>(random() % 60) - 30, y = static_cast<int>(random() % 40) - 20;
            PixelBuffer cached = Canvas(40, 24), fresh = Canvas(40, 24);
            DrawText(cached, *font, x, y, kInk, text);
            DrawText(cached, *font, x, y, kInk, text); // the second time from the cache only
            DrawTextUncached(fresh, *font, x, y, kInk, text);
            ASSERT_TRUE(SamePixels(fresh, cached)) << round;
        }
    }
}

TEST(TextUtf8, BrokenSequencesAreLatin1Characters) {
    auto font = Open("DejaVu Sans", 20);
    ASSERT_NE(font, nullptr);
    const auto width = [&](std::string_view text) { return MeasureText(*font, text).width; };
    // Each broken sequence measures as the UTF-8 spelling of its bytes taken as Latin-1.
    const std::pair<std::string, std::string> broken[] = {
        {"\xe9", "\xc3\xa9"},                                     // lone lead byte
        {"\xe2\x82", "\xc3\xa2\xc2\x82"},                         // cut short
        {"\xc0\xaf", "\xc3\x80\xc2\xaf"},                         // overlong
        {"\xe0\x9f\xbf", "\xc3\xa0\xc2\x9f\xc2\xbf"},             // overlong, three bytes
        {"\xed\xa0\x80", "\xc3\xad\xc2\xa0\xc2\x80"},             // surrogate
        {"\xf4\x90\x80\x80", "\xc3\xb4\xc2\x90\xc2\x80\xc2\x80"}, // past U+10FFFF
        {"a\x80z", "a\xc2\x80z"}};                                // stray continuation
    for (const auto& [bytes, latin1] : broken)
        EXPECT_EQ(width(bytes), width(latin1)) << latin1;
    EXPECT_EQ(width("AV"), width("A") + width("V")) << "no kerning";
    // A valid sequence is one character.
    EXPECT_LT(width("\xe2\x82\xac"), width("\xc3\xa2\xc2\x82\xc2\xac"));
    EXPECT_EQ(width("\xf0\x9f\x98\x80\xf0\x9f\x98\x80"), 2 * width("\xf0\x9f\x98\x80"));
    EXPECT_GT(width(std::string("a\0b", 3)), width("ab"));
}

} // namespace
} // namespace tav::platform
