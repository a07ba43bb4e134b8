#include "tavctrls/platform/Text.h"
#include "tavctrls/platform/Font.h"
#include "tavctrls/platform/FontFace.h"
#include "tavctrls/platform/FontMatcher.h"
#include "tavctrls/platform/GlyphCache.h"

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

// The bounding box of every pixel that is not the background, and how many there are.
struct Ink {
    int left = INT_MAX;
    int top = INT_MAX;
    int right = INT_MIN; // inclusive
    int bottom = INT_MIN;
    int count = 0;
    int Height() const { return bottom - top + 1; }
};

Ink InkOf(const PixelBuffer& buffer) {
    Ink ink;
    for (int y = 0; y < buffer.height(); ++y)
        for (int x = 0; x < buffer.width(); ++x)
            if (buffer.At(x, y) != kBack) {
                ink.left = std::min(ink.left, x);
                ink.right = std::max(ink.right, x);
                ink.top = std::min(ink.top, y);
                ink.bottom = std::max(ink.bottom, y);
                ++ink.count;
            }
    return ink;
}

Ink Drawn(const Font& font, std::string_view text, int width = 300, int height = 120, int x = 10,
          int y = 10) {
    PixelBuffer canvas = Canvas(width, height);
    DrawText(canvas, font, x, y, kInk, text);
    return InkOf(canvas);
}

bool SamePixels(const PixelBuffer& a, const PixelBuffer& b) {
    for (int y = 0; y < a.height(); ++y)
        if (!std::equal(a.Row(y), a.Row(y) + a.width(), b.Row(y)))
            return false;
    return true;
}

TEST(TextExtent, TheCellIsTheFontHeightAndTheGlyphsFillIt) {
    for (int height : {8, 11, 15, 20, 33, 64}) {
        SCOPED_TRACE(height);
        auto font = Open("DejaVu Sans", height);
        ASSERT_NE(font, nullptr);
        const TextExtent extent = MeasureText(*font, "Hgjy()[]AW");
        EXPECT_EQ(extent.height, height);
        EXPECT_GT(extent.width, 0);
        // Brackets and descenders reach from near the top of the cell to near its bottom, and no further:
        // a pixel size taken as the em (not the cell) would overflow it, a smaller one leave it empty.
        const Ink ink = Drawn(*font, "Hgjy()[]AW", 300, height + 40, 10, 20);
        EXPECT_GE(ink.top, 20);
        EXPECT_LT(ink.bottom, 20 + height);
        EXPECT_GE(ink.Height() * 10, height * 7);
        EXPECT_EQ(MeasureText(*font, "").width, 0);
        EXPECT_EQ(MeasureText(*font, "").height, height);
    }
}

TEST(TextExtent, WidthIsTheSumOfWholePixelAdvancesWithoutKerning) {
    auto font = Open("DejaVu Sans", 15);
    ASSERT_NE(font, nullptr);
    const auto width = [&](std::string_view text) { return MeasureText(*font, text).width; };
    EXPECT_LT(width("a"), width("ab"));
    EXPECT_LT(width("ab"), width("abc"));
    EXPECT_EQ(width("AV"), width("A") + width("V"));
    EXPECT_EQ(width("Tavrin Controls"), width("Tavrin ") + width("Controls"));
    // The text's ink ends within its extent (one pixel of overhang allowed).
    const Ink ink = Drawn(*font, "Tavrin Controls");
    EXPECT_LE(ink.right, 10 + width("Tavrin Controls"));
}

TEST(TextExtent, BoldIsAtLeastAsWideAndDarker) {
    for (int height : {11, 15, 24}) {
        SCOPED_TRACE(height);
        auto regular = Open("Verdana", height, 0, 400);
        auto bold = Open("Verdana", height, 0, 700);
        ASSERT_NE(regular, nullptr);
        ASSERT_NE(bold, nullptr);
        EXPECT_NE(regular, bold);
        EXPECT_GE(MeasureText(*bold, "Hello World").width, MeasureText(*regular, "Hello World").width);
        EXPECT_GT(Drawn(*bold, "Hello World").count, Drawn(*regular, "Hello World").count);
        EXPECT_EQ(MeasureText(*bold, "Hello World").height, height);
    }
}

TEST(TextExtent, AverageWidthScalesHorizontallyOnly) {
    const std::string text = "abcdefghijklmnopqrstuvwxyz";
    auto natural = Open("DejaVu Sans", 20);
    auto narrow = Open("DejaVu Sans", 20, 5);
    auto wide = Open("DejaVu Sans", 20, 10);
    auto wider = Open("DejaVu Sans", 20, 20);
    ASSERT_TRUE(natural && narrow && wide && wider);
    const int narrowWidth = MeasureText(*narrow, text).width;
    const int wideWidth = MeasureText(*wide, text).width;
    const int widerWidth = MeasureText(*wider, text).width;
    EXPECT_LT(narrowWidth, wideWidth);
    EXPECT_LT(wideWidth, widerWidth);
    // Doubling the average width about doubles the text's width (advances are rounded per glyph).
    EXPECT_NEAR(double(widerWidth) / wideWidth, 2.0, 0.3);
    EXPECT_NEAR(double(wideWidth) / narrowWidth, 2.0, 0.3);
    // The vertical size does not change with the width.
    EXPECT_EQ(MeasureText(*wider, text).height, 20);
    EXPECT_NEAR(Drawn(*wider, "H", 400).Height(), Drawn(*natural, "H").Height(), 1);
    EXPECT_NEAR(Drawn(*narrow, "H").Height(), Drawn(*natural, "H").Height(), 1);
}

TEST(TextDrawing, MonochromeOnTransparentBackgroundInsideTheCell) {
    auto font = Open("Verdana", 18);
    ASSERT_NE(font, nullptr);
    PixelBuffer canvas = Canvas(200, 80);
    DrawText(canvas, *font, 20, 15, kInk, "Hg(");
    const Ink ink = InkOf(canvas);
    ASSERT_GT(ink.count, 0);
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x)
            ASSERT_TRUE(canvas.At(x, y) == kBack || canvas.At(x, y) == kInk) << x << "," << y;
    EXPECT_GE(ink.left, 19);
    EXPECT_GE(ink.top, 15);
    EXPECT_LT(ink.bottom, 15 + 18);
    EXPECT_LE(ink.right, 20 + MeasureText(*font, "Hg(").width);
}

TEST(TextDrawing, GlyphsShareTheBaselineAndMoveWithThePosition) {
    auto font = Open("DejaVu Sans", 24);
    ASSERT_NE(font, nullptr);
    const Ink capital = Drawn(*font, "H");
    const Ink descender = Drawn(*font, "g");
    EXPECT_GT(descender.bottom, capital.bottom);
    EXPECT_LT(capital.bottom, 10 + 24 - 2);
    // The capital sits on the same baseline when drawn after other text.
    const Ink after = Drawn(*font, "gH");
    EXPECT_EQ(after.bottom, descender.bottom);
    const Ink shifted = Drawn(*font, "gH", 300, 120, 17, 33);
    EXPECT_EQ(shifted.left, after.left + 7);
    EXPECT_EQ(shifted.top, after.top + 23);
    EXPECT_EQ(shifted.count, after.count);
}

TEST(TextDrawing, ClippingAtEveryEdgeKeepsTheVisiblePart) {
    auto font = Open("DejaVu Sans", 20);
    ASSERT_NE(font, nullptr);
    const std::string text = "Wg|\xc3\x81y_j";
    PixelBuffer whole = Canvas(120, 50);
    DrawText(whole, *font, 40, 15, kInk, text);
    // A small buffer shows a window of the whole one; drawing into it at the shifted position must give
    // exactly that window, whichever edges cut the text.
    constexpr int kWindowWidth = 24;
    constexpr int kWindowHeight = 12;
    for (int wx : {0, 20, 45, 70, 96})
        for (int wy : {0, 12, 22, 30, 38}) {
            SCOPED_TRACE(testing::Message() << wx << "," << wy);
            PixelBuffer window = Canvas(kWindowWidth, kWindowHeight);
            DrawText(window, *font, 40 - wx, 15 - wy, kInk, text);
            for (int y = 0; y < kWindowHeight; ++y)
                for (int x = 0; x < kWindowWidth; ++x)
                    ASSERT_EQ(window.At(x, y), whole.At(wx + x, wy + y)) << x << "," << y;
        }
}

TEST(TextDrawing, FarAwayPositionsAndTinyBuffersStayInBounds) {
    auto font = Open("DejaVu Sans", 40);
    ASSERT_NE(font, nullptr);
    PixelBuffer tiny = Canvas(1, 1);
    for (int x : {-30, -5, 0, 1})
        for (int y : {-39, -20, 0, 1}) {
            DrawText(tiny, *font, x, y, kInk, "WWW jjj");
            DrawTextUncached(tiny, *font, x, y, kInk, "WWW jjj");
        }
    EXPECT_TRUE(tiny.At(0, 0) == kBack || tiny.At(0, 0) == kInk);
    PixelBuffer none;
    DrawText(none, *font, 0, 0, kInk, "W");
    EXPECT_TRUE(none.Empty());
    // Pens and baselines far outside must neither overflow nor wrap around into the buffer.
    PixelBuffer canvas = Canvas(50, 50);
    const std::string longText(200, 'W');
    for (int x : {INT_MIN, -1000000, INT_MAX - 5, INT_MAX})
        DrawText(canvas, *font, x, 0, kInk, longText);
    for (int y : {INT_MIN, INT_MAX - 5, INT_MAX})
        DrawText(canvas, *font, 0, y, kInk, longText);
    EXPECT_EQ(InkOf(canvas).count, 0);
}

TEST(TextFonts, UnusableSpecsGiveNoFontAndUnknownFamiliesFallBack) {
    EXPECT_EQ(Open("", 15), nullptr);
    EXPECT_EQ(Open("DejaVu Sans", 0), nullptr);
    EXPECT_EQ(Open("DejaVu Sans", -12), nullptr);
    EXPECT_EQ(Open("DejaVu Sans", 1000000), nullptr);
    EXPECT_EQ(Open("DejaVu Sans", 15, 1000000), nullptr);
    for (int weight : {0, 700}) {
        auto fallback = Open("No Such Family:zz9-plural-z-alpha", 15, 0, weight);
        ASSERT_NE(fallback, nullptr);
        EXPECT_GT(MeasureText(*fallback, "abc").width, 0);
        EXPECT_GT(Drawn(*fallback, "abc").count, 0);
    }
    auto tiny = Open("DejaVu Sans", 1);
    ASSERT_NE(tiny, nullptr);
    EXPECT_EQ(MeasureText(*tiny, "abc").height, 1);
}

TEST(TextFonts, TheSameSpecGivesTheSameFontWithItsGlyphs) {
    auto first = Open("DejaVu Sans", 17, 0, 0);
    auto again = Open("DejaVu Sans", 17, 0, 0);
    EXPECT_EQ(first, again);
    EXPECT_NE(first, Open("DejaVu Sans", 18, 0, 0));
    EXPECT_NE(first, Open("DejaVu Sans", 17, 9, 0));
    EXPECT_EQ(Open("DejaVu Sans", 17, -9, 0), Open("DejaVu Sans", 17, 9, 0));
}

TEST(TextFonts, FamiliesAreSortedUniqueAndIncludeDejaVuSans) {
    const std::vector<std::string> families = FontFamilies();
    EXPECT_TRUE(std::is_sorted(families.begin(), families.end()));
    EXPECT_EQ(std::adjacent_find(families.begin(), families.end()), families.end());
    EXPECT_NE(std::find(families.begin(), families.end(), "DejaVu Sans"), families.end());
}

TEST(TextCache, RepeatedGlyphsAreRenderedOnce) {
    auto font = Open("DejaVu Sans", 41);
    ASSERT_NE(font, nullptr);
    const GlyphCacheStats before = GetGlyphCacheStats(*font);
    PixelBuffer canvas = Canvas(400, 60);
    DrawText(canvas, *font, 0, 0, kInk, "abcabc\xe2\x82\xac\xe2\x82\xac");
    const GlyphCacheStats first = GetGlyphCacheStats(*font);
    EXPECT_EQ(first.misses - before.misses, 4u);
    EXPECT_EQ(first.hits - before.hits, 4u);
    EXPECT_EQ(first.glyphs - before.glyphs, 4u);
    EXPECT_EQ(MeasureText(*font, "cab\xe2\x82\xac").width, MeasureText(*font, "abc\xe2\x82\xac").width);
    DrawTextUncached(canvas, *font, 0, 0, kInk, "xyz");
    const GlyphCacheStats second = GetGlyphCacheStats(*font);
    EXPECT_EQ(second.misses, first.misses);
    EXPECT_EQ(second.hits - first.hits, 8u);
}

TEST(TextCache, CachedAndFreshGlyphsDrawTheSamePixels) {
    std::mt19937 random(20240611);
    const std::vector<std::shared_ptr<const Font>> fonts = {
        Open("DejaVu Sans", 13), Open("Verdana", 22, 0, 700), Open("DejaVu Sans", 16, 12)};
    for (const auto& font : fonts) {
        ASSERT_NE(font, nullptr);
        for (int round = 0; round < 60; ++round) {
            // Arbitrary bytes: valid and broken UTF-8, controls, NUL.
            std::string text(random() % 12, '\0');
            for (char& c : text)
                c = static_cast<char>(random() % 256);
            const int x = static_cast<int>(random() % 60) - 30;
            const int y = static_cast<int>(random() % 40) - 20;
            PixelBuffer cached = Canvas(40, 24);
            PixelBuffer fresh = Canvas(40, 24);
            DrawText(cached, *font, x, y, kInk, text);
            DrawText(cached, *font, x, y, kInk, text); // the second time from the cache only
            DrawTextUncached(fresh, *font, x, y, kInk, text);
            ASSERT_TRUE(SamePixels(cached, fresh)) << round;
        }
    }
}

TEST(TextCache, StaysWithinItsBudget) {
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
    EXPECT_GE(cache.size(), 1u);
    EXPECT_LE(cache.size(), 5u);
}

TEST(TextUtf8, BrokenSequencesAreLatin1Characters) {
    auto font = Open("DejaVu Sans", 20);
    ASSERT_NE(font, nullptr);
    const auto width = [&](std::string_view text) { return MeasureText(*font, text).width; };
    // Each broken sequence measures as the UTF-8 spelling of its bytes taken as Latin-1.
    EXPECT_EQ(width("\xe9"), width("\xc3\xa9"));                                     // lone lead byte
    EXPECT_EQ(width("\xe2\x82"), width("\xc3\xa2\xc2\x82"));                         // cut short
    EXPECT_EQ(width("\xc0\xaf"), width("\xc3\x80\xc2\xaf"));                         // overlong
    EXPECT_EQ(width("\xed\xa0\x80"), width("\xc3\xad\xc2\xa0\xc2\x80"));             // surrogate
    EXPECT_EQ(width("\xf4\x90\x80\x80"), width("\xc3\xb4\xc2\x90\xc2\x80\xc2\x80")); // past U+10FFFF
    EXPECT_EQ(width("a\x80z"), width("a\xc2\x80z"));                                 // stray continuation
    // A valid sequence is one character.
    EXPECT_LT(width("\xe2\x82\xac"), width("\xc3\xa2\xc2\x82\xc2\xac"));
    EXPECT_EQ(width("\xf0\x9f\x98\x80\xf0\x9f\x98\x80"), 2 * width("\xf0\x9f\x98\x80"));
    PixelBuffer latin1 = Canvas(60, 30);
    PixelBuffer utf8 = Canvas(60, 30);
    DrawText(latin1, *font, 2, 2, kInk, "\xe9t\xe9");
    DrawText(utf8, *font, 2, 2, kInk, "\xc3\xa9t\xc3\xa9");
    EXPECT_TRUE(SamePixels(latin1, utf8));
    EXPECT_GT(InkOf(utf8).count, 0);
    EXPECT_GT(width(std::string("a\0b", 3)), width("ab"));
}

TEST(TextSyntheticBold, ThickensAFaceWithoutABoldOfItsOwn) {
    const std::optional<FaceLocation> location = MatchFace("DejaVu Sans", false);
    ASSERT_TRUE(location.has_value());
    auto face = FontFace::Open(*location);
    ASSERT_NE(face, nullptr);
    EXPECT_EQ(FontFace::Open(*location), face);
    auto regular = Font::Create(face, 20, 0, false);
    auto thick = Font::Create(face, 20, 0, true);
    ASSERT_TRUE(regular && thick);
    EXPECT_GT(thick->CachedGlyph('l').advance, regular->CachedGlyph('l').advance);
    const Ink thin = Drawn(*regular, "Hill");
    const Ink bold = Drawn(*thick, "Hill");
    EXPECT_GT(bold.count, thin.count);
    EXPECT_EQ(bold.top, thin.top);
    EXPECT_EQ(bold.bottom, thin.bottom);
}

} // namespace
} // namespace tav::platform
