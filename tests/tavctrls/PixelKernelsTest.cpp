#include "tavctrls/platform/PixelKernels.h"
#include "tavctrls/platform/BitmapFile.h"
#include "tavctrls/platform/Glyph.h"
#include "tavctrls/platform/Lines.h"
#include "tavctrls/platform/PixelBuffer.h"
#include "tests/support/TestSupport.h"
#include "tests/tavctrls/DisplayTestSupport.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <random>
#include <set>
#include <string>
#include <sys/stat.h>
#include <utility>
#include <vector>

namespace tav::platform {
namespace {

using namespace std::string_literals;

using Point = std::pair<int, int>;

PixelBuffer Clone(const PixelBuffer& source) {
    PixelBuffer copy;
    EXPECT_TRUE(copy.CopyFrom(source));
    return copy;
}

std::uint32_t ReferenceBlend(std::uint32_t d, std::uint32_t s, int alpha) {
    if ((s & 0xFFFFFF) == 0)
        return d;
    const int a = alpha < 0 ? 0 : alpha > 256 ? 256 : alpha;
    std::uint32_t result = d & 0xFF000000;
    for (int shift = 0; shift < 24; shift += 8) {
        const int dc = static_cast<int>(d >> shift & 255), sc = static_cast<int>(s >> shift & 255);
        result |= static_cast<std::uint32_t>(dc + (sc - dc) * a / 256) << shift;
    }
    return result;
}

// A rectangle operation at (x, y) from `from`, and the plain per-pixel rule it must follow.
struct Operation {
    std::string name;
    std::function<bool(PixelBuffer&, int, int, const PixelBuffer&, const PixelRect&)> run;
    std::function<std::uint32_t(std::uint32_t dest, std::uint32_t source)> rule;
};

std::vector<Operation> Operations() {
    std::vector<Operation> operations = {
        {"copy", CopyRect, [](std::uint32_t, std::uint32_t s) { return s; }},
        {"fill",
         [](PixelBuffer& dest, int x, int y, const PixelBuffer&, const PixelRect& from) {
             return FillRect(dest, {x, y, x + from.Width(), y + from.Height()}, 0xA1B2C3D4);
         },
         [](std::uint32_t, std::uint32_t) { return 0xA1B2C3D4u; }}};
    for (const std::uint32_t key : {0x00000000u, 0xAB00FF40u, 0x00FFFFFFu})
        operations.push_back(
            {"keyed " + std::to_string(key),
             [key](PixelBuffer& d, int x, int y, const PixelBuffer& s, const PixelRect& from) {
                 return CopyRectKeyed(d, x, y, s, from, key);
             },
             [key](std::uint32_t d, std::uint32_t s) { return (s ^ key) & 0xFFFFFF ? s : d; }});
    for (const int alpha : {0, 1, 3, 127, 128, 129, 255, 256, 300, -5})
        operations.push_back(
            {"blend " + std::to_string(alpha),
             [alpha](PixelBuffer& d, int x, int y, const PixelBuffer& s, const PixelRect& from) {
                 return BlendRect(d, x, y, s, from, alpha);
             },
             [alpha](std::uint32_t d, std::uint32_t s) { return ReferenceBlend(d, s, alpha); }});
    return operations;
}

void ApplyRule(const Operation& operation, PixelBuffer& dest, int x, int y, const PixelBuffer& source,
               const PixelRect& from) {
    for (int sy = from.top; sy < from.bottom; ++sy)
        for (int sx = from.left; sx < from.right; ++sx) {
            const int dx = x + sx - from.left, dy = y + sy - from.top;
            dest.Set(dx, dy, operation.rule(dest.At(dx, dy), source.At(sx, sy)));
        }
}

// Nearest pixel, sampled at destination pixel centres in 16.16 fixed point.
void ReferenceStretch(PixelBuffer& dest, const PixelRect& to, const PixelBuffer& source,
                      const PixelRect& from) {
    const long long stepX = (static_cast<long long>(from.Width()) << 16) / to.Width();
    const long long stepY = (static_cast<long long>(from.Height()) << 16) / to.Height();
    for (int y = 0; y < to.Height(); ++y)
        for (int x = 0; x < to.Width(); ++x) {
            const int sx = static_cast<int>((stepX / 2 + x * stepX) >> 16);
            const int sy = static_cast<int>((stepY / 2 + y * stepY) >> 16);
            dest.Set(to.left + x, to.top + y, source.At(from.left + sx, from.top + sy));
        }
}

// Random pixels, about a third of them one of the keys above (black among them) with any top byte, and
// some that differ from one in a single colour bit.
PixelBuffer Picture(int width, int height, std::mt19937& random) {
    const std::uint32_t keys[] = {0x00000000u, 0x0000FF40u, 0x00FFFFFFu};
    PixelBuffer buffer;
    EXPECT_TRUE(buffer.Allocate(width, height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const unsigned roll = random() % 20;
            const std::uint32_t key = keys[random() % 3];
            const auto pixel = static_cast<std::uint32_t>(random());
            buffer.Set(x, y,
                       roll < 6   ? key | (pixel & 0xFF000000)
                       : roll < 8 ? key ^ (1u << pixel % 24)
                                  : pixel);
        }
    return buffer;
}

// A rectangle of a 64 x 24 picture, and targets that overlap it from every side.
constexpr PixelRect kOverlapped{6, 4, 31, 15};
constexpr std::pair<int, int> kOverlaps[] = {{6, 7}, {6, 1}, {11, 4}, {1, 4}, {9, 6}, {4, 1}, {7, 5}};

// Every kernel set the processor runs, each compared with the plain references.
class KernelSetTest : public ::testing::TestWithParam<KernelSet> {
protected:
    void SetUp() override {
        if (!UseKernelSet(GetParam()))
            GTEST_SKIP() << "not supported here";
    }
    void TearDown() override { UseKernelSet(previous_); }

    std::mt19937 random_{1234};

private:
    KernelSet previous_ = ActiveKernelSet();
};

// Widths 1..67 reach every tail of 4- and 8-pixel groups; the offsets move rows off alignment.
TEST_P(KernelSetTest, OperationsMatchTheirRulesAtEveryWidthAlignmentAndOverlap) {
    constexpr int kMaxWidth = 67;
    const PixelBuffer source = Picture(kMaxWidth + 4, 3, random_);
    for (const Operation& operation : Operations()) {
        PixelBuffer dest = Picture(kMaxWidth + 8, 4, random_);
        for (int width = 1; width <= kMaxWidth; ++width)
            for (int offset = 0; offset < 4; ++offset) {
                const PixelRect from{(offset * 3 + 1) % 4, 0, (offset * 3 + 1) % 4 + width, 3};
                PixelBuffer expected = Clone(dest);
                ApplyRule(operation, expected, offset, 1, source, from);
                ASSERT_TRUE(operation.run(dest, offset, 1, source, from));
                ASSERT_TRUE(SamePixels(expected, dest))
                    << operation.name << ", width " << width << ", offset " << offset;
            }
        // Within one buffer the original pixels are read, whichever way source and target overlap.
        for (const auto& [x, y] : kOverlaps) {
            const PixelBuffer original = Picture(64, 24, random_);
            PixelBuffer same = Clone(original), expected = Clone(original);
            ASSERT_TRUE(operation.run(same, x, y, same, kOverlapped));
            ApplyRule(operation, expected, x, y, original, kOverlapped);
            ASSERT_TRUE(SamePixels(expected, same)) << operation.name << " to " << x << "," << y;
        }
    }
}

TEST_P(KernelSetTest, StretchMatchesReferenceAlsoWithinOneBuffer) {
    const PixelBuffer source = Picture(40, 30, random_);
    const PixelRect sources[] = {{0, 0, 40, 30}, {3, 2, 20, 9}, {39, 29, 40, 30}, {1, 0, 4, 30}};
    const PixelRect targets[] = {{0, 0, 67, 50}, {1, 2, 2, 3}, {5, 3, 46, 20}, {0, 0, 13, 7}, {2, 1, 67, 2}};
    PixelBuffer dest = Picture(70, 52, random_);
    for (const PixelRect& from : sources)
        for (const PixelRect& to : targets) {
            PixelBuffer expected = Clone(dest);
            ReferenceStretch(expected, to, source, from);
            ASSERT_TRUE(StretchRect(dest, to, source, from));
            ASSERT_TRUE(SamePixels(expected, dest))
                << from.Width() << "x" << from.Height() << " to " << to.Width() << "x" << to.Height();
        }
    for (const auto& [x, y] : kOverlaps) {
        const PixelBuffer original = Picture(64, 24, random_);
        PixelBuffer same = Clone(original), expected = Clone(original);
        const PixelRect to{x, y, x + kOverlapped.Width() * 2 - 5, y + kOverlapped.Height()};
        ASSERT_TRUE(StretchRect(same, to, same, kOverlapped));
        ReferenceStretch(expected, to, original, kOverlapped);
        ASSERT_TRUE(SamePixels(expected, same)) << "to " << x << "," << y;
    }
}

INSTANTIATE_TEST_SUITE_P(AllSets, KernelSetTest,
                         ::testing::Values(KernelSet::Scalar, KernelSet::Sse2, KernelSet::Avx2));

// Classic Bresenham with an error term, last point excluded; halves step back toward the start.
std::set<Point> ReferenceLine(long long x1, long long y1, long long x2, long long y2, int width, int height) {
    std::set<Point> points;
    const long long dx = x2 > x1 ? x2 - x1 : x1 - x2, dy = y2 > y1 ? y2 - y1 : y1 - y2;
    const int stepX = x2 > x1 ? 1 : -1, stepY = y2 > y1 ? 1 : -1;
    const bool alongX = dx >= dy;
    const long long major = alongX ? dx : dy, minor = alongX ? dy : dx;
    long long x = x1, y = y1, error = 2 * minor - major;
    for (long long i = 0; i < major; ++i) {
        if (x >= 0 && x < width && y >= 0 && y < height)
            points.emplace(static_cast<int>(x), static_cast<int>(y));
        if (error > 0) {
            (alongX ? y : x) += alongX ? stepY : stepX;
            error -= 2 * major;
        }
        error += 2 * minor;
        (alongX ? x : y) += alongX ? stepX : stepY;
    }
    return points;
}

std::set<Point> DrawnLine(int x1, int y1, int x2, int y2, int width, int height) {
    constexpr std::uint32_t kInk = 0x00ABCDEF;
    PixelBuffer buffer;
    EXPECT_TRUE(buffer.Allocate(width, height));
    DrawLine(buffer, x1, y1, x2, y2, kInk);
    std::set<Point> points;
    for (int y = 0; y < buffer.height(); ++y)
        for (int x = 0; x < buffer.width(); ++x)
            if (buffer.At(x, y) == kInk)
                points.emplace(x, y);
    return points;
}

TEST(LineTest, LinesFollowBresenhamAndClippedOrFarOnesDrawTheInsidePixelsOfTheWholeLine) {
    // Every octant from the middle, then random lines, most of them crossing edges or outside.
    std::vector<std::array<int, 4>> lines;
    for (int dx = -12; dx <= 12; ++dx)
        for (int dy = -12; dy <= 12; ++dy)
            lines.push_back({10, 7, 10 + dx, 7 + dy});
    std::mt19937 random(99);
    const auto coordinate = [&] { return static_cast<int>(random() % 160) - 60; };
    for (int i = 0; i < 3000; ++i)
        lines.push_back({coordinate(), coordinate(), coordinate(), coordinate()});
    for (const auto& [x1, y1, x2, y2] : lines)
        ASSERT_EQ(DrawnLine(x1, y1, x2, y2, 20, 14), ReferenceLine(x1, y1, x2, y2, 20, 14))
            << x1 << "," << y1 << " to " << x2 << "," << y2;
    // Far away and extreme ends neither overflow nor lose the slope.
    const std::set<Point> row1 = ReferenceLine(0, 1, 40, 1, 40, 30),
                          diagonal = ReferenceLine(0, 0, 30, 30, 40, 30);
    std::vector<std::pair<std::array<int, 4>, std::set<Point>>> cases = {
        // Exactly half way along a line 2^32 - 1 long the offset rounds up, a little past half.
        {{INT_MIN, 0, INT_MAX, 1}, row1},
        {{INT_MIN, 1, INT_MAX, 1}, row1},
        {{INT_MAX, 1, INT_MIN, 1}, row1},
        {{INT_MIN, INT_MIN, INT_MAX, INT_MAX}, diagonal},
        {{INT_MAX, INT_MAX, INT_MIN, INT_MIN}, diagonal},
        {{INT_MIN, INT_MAX, INT_MAX, INT_MIN}, {}}, // passes outside
        {{INT_MAX, 0, INT_MAX, INT_MIN}, {}},
        {{45, -1000000000, 60, 1000000000}, {}}};
    // Lines through the origin from about -1e9 on cross the buffer as short ones from just outside do.
    for (const auto& [a, b] : {std::pair{7, 3}, {3, 7}, {1, 1}, {5, 2}, {2, 9}, {1000, 999}}) {
        const int k = 1000000000 / std::max(a, b);
        const std::set<Point> forwards = ReferenceLine(-a, -b, 60 * a, 60 * b, 40, 30);
        cases.push_back({{-k * a, -k * b, k * a, k * b}, forwards});
        cases.push_back({{-k * a, -k * b, 60 * a, 60 * b}, forwards});
        cases.push_back({{k * a, k * b, -k * a, -k * b}, ReferenceLine(60 * a, 60 * b, -a, -b, 40, 30)});
    }
    for (const auto& [ends, expected] : cases) {
        const auto [x1, y1, x2, y2] = ends;
        EXPECT_EQ(DrawnLine(x1, y1, x2, y2, 40, 30), expected)
            << x1 << "," << y1 << " to " << x2 << "," << y2;
    }
}

TEST(PixelBufferTest, RefusedSizesAndRectanglesOutsideOrEmptyChangeNothing) {
    PixelBuffer buffer;
    EXPECT_TRUE(buffer.Allocate(PixelBuffer::kMaxSide, 2));
    EXPECT_TRUE(buffer.Allocate(3, 2));
    const int big = PixelBuffer::kMaxSide + 1;
    const std::pair<int, int> refused[] = {
        {0, 5}, {5, 0}, {-1, 5}, {big, 1}, {1, big}, {30000, 30000}, {INT32_MAX, INT32_MAX}};
    for (const auto& [w, h] : refused) {
        EXPECT_FALSE(buffer.Allocate(w, h)) << w << "x" << h;
        EXPECT_EQ(buffer.width(), 3) << "a refused size leaves the buffer as it was";
    }
    EXPECT_EQ(buffer.At(2, 1), 0u);
    PixelBuffer dest, source, empty;
    ASSERT_TRUE(dest.Allocate(4, 4));
    ASSERT_TRUE(source.Allocate(2, 2));
    FillRect(source, source.Bounds(), 9);
    EXPECT_FALSE(FillRect(dest, {0, 0, 5, 1}, 7));
    EXPECT_FALSE(FillRect(dest, {2, 2, 1, 3}, 7));
    EXPECT_FALSE(FillRect(dest, {-1, 0, 1, 1}, 7));
    EXPECT_FALSE(CopyRect(dest, 3, 3, source, source.Bounds()));
    EXPECT_FALSE(CopyRect(dest, 0, 0, source, {0, 0, 3, 1}));
    EXPECT_FALSE(CopyRectKeyed(dest, -1, 0, source, source.Bounds(), 0));
    EXPECT_FALSE(BlendRect(dest, 0, 3, source, source.Bounds(), 128));
    EXPECT_FALSE(StretchRect(dest, {0, 0, 0, 4}, source, source.Bounds()));
    EXPECT_FALSE(StretchRect(dest, {0, 0, 4, 4}, source, {1, 1, 1, 2}));
    EXPECT_FALSE(CopyRect(dest, 0, 0, empty, {0, 0, 1, 1}));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            ASSERT_EQ(dest.At(x, y), 0u) << x << "," << y;
    EXPECT_TRUE(FillRect(dest, dest.Bounds(), 7));
}

void Put(std::string& out, std::uint32_t value, int bytes = 4) {
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>(value >> (8 * i) & 255);
}

// A BMP file with `colours` palette entries, the masks after the first 40 bytes of the info header, and
// `pixels` (random ones, palette indices below `colours`, when empty).
std::string Bmp(std::uint32_t info, int bits, std::uint32_t compression, int width, int height, int colours,
                std::uint32_t used, std::vector<std::uint32_t> masks = {}, std::string pixels = "") {
    std::mt19937 random(static_cast<std::uint32_t>(width * 31 + bits));
    const auto stride = static_cast<std::size_t>((width * bits + 31) / 32 * 4);
    const bool generate = pixels.empty();
    for (std::size_t i = 0, byte = 0; generate && i < stride * std::size_t(std::abs(height)); i++) {
        for (int bit = byte = 0; bit < 8; bit += bits)
            byte |= bits > 8 ? random() : random() % std::uint32_t(colours) << (8 - bits - bit);
        pixels += char(byte);
    }
    const auto w = std::uint32_t(width), h = std::uint32_t(height), planesBits = 1u | bits << 16;
    std::string head, palette;
    for (const std::uint32_t field :
         info == 12 ? std::vector{12u, w | h << 16, planesBits}
                    : std::vector{info, w, h, planesBits, compression, 0u, 0u, 0u, used, 0u})
        Put(head, field);
    for (const std::uint32_t mask : masks)
        Put(head, mask);
    head.resize(std::max<std::size_t>(head.size(), info), '\0');
    for (int i = 0; i < colours; ++i)
        Put(palette, 0x9E3779B9u * std::uint32_t(i + 1) >> 8, info == 12 ? 3 : 4);
    std::string file = "BM";
    const auto offset = static_cast<std::uint32_t>(14 + head.size() + palette.size());
    for (const std::uint32_t field : {offset + std::uint32_t(pixels.size()), 0u, offset})
        Put(file, field);
    return file + head + palette + pixels;
}

// What SDL makes of a file, as XRGB8888.
bool SdlDecode(const std::string& bytes, PixelBuffer& out) {
    SDL_Surface* read = SDL_LoadBMP_RW(SDL_RWFromConstMem(bytes.data(), int(bytes.size())), 1);
    SDL_Surface* surface = read ? SDL_ConvertSurfaceFormat(read, SDL_PIXELFORMAT_XRGB8888, 0) : nullptr;
    SDL_FreeSurface(read);
    const bool ok = surface && out.Allocate(surface->w, surface->h);
    for (int y = 0; ok && y < surface->h; ++y) {
        const auto* row = static_cast<const std::uint32_t*>(surface->pixels) + y * surface->pitch / 4;
        for (int x = 0; x < surface->w; ++x)
            out.Set(x, y, row[x] & 0xFFFFFF);
    }
    SDL_FreeSurface(surface);
    return ok;
}

const std::string kRle8 = "\3\1\0\3\2\3\0\0\1\2\0\0\0\2\2\1\4\3\0\0\0\4\1\2\3\0\0\1"s;
const std::string kRle4 = "\4\x12\0\3\x34\x10\0\0\0\5\x40\x12\x30\0\0\2\1\1\1\x40\0\1"s;

// Every kind of file (and every file of art/) decodes to the pixels SDL gives.
// Drawing under a clip of overlapping rectangles is the whole drawing inside the clip and nothing outside,
// and its damage holds every pixel it changed.
TEST(PixelBufferTest, ClippedDrawingIsTheWholeDrawingInsideTheClipOnly) {
    std::mt19937 random(77);
    const PixelBuffer source = Picture(40, 30, random);
    const Glyph glyph{7, 1, 9, 6, 8, {{0, 0, 6}, {3, 2, 4}, {7, 1, 5}}};
    std::vector<std::function<void(PixelBuffer&)>> draws;
    for (const Operation& operation : Operations())
        draws.push_back([&, run = operation.run](PixelBuffer& d) { run(d, 3, 2, source, {1, 2, 37, 27}); });
    draws.push_back([](PixelBuffer& d) { CopyRect(d, 5, 3, d, {1, 1, 35, 25}); });
    draws.push_back([&](PixelBuffer& d) { StretchRectPart(d, {-9, 4, 50, 41}, source, {2, 3, 31, 20}); });
    draws.push_back([](PixelBuffer& d) {
        for (const auto& [x1, y1, x2, y2] :
             {std::array{-4, 31, 43, 2}, {20, 29, 20, -3}, {41, 11, -1, 11}, {30, -2, 8, 33}})
            DrawLine(d, x1, y1, x2, y2, 0xFF00FF);
    });
    draws.push_back([&](PixelBuffer& d) {
        for (int pen = -6; pen < 40; pen += 7)
            DrawGlyph(d, glyph, pen, 12, 0xABCDEF);
    });
    const std::vector<std::vector<PixelRect>> clips = {
        {{5, 5, 6, 29}},
        {{2, 3, 20, 12}, {10, 8, 35, 22}},
        {{-5, 20, 50, 24}, {12, -3, 17, 40}, {30, 1, 38, 9}},
        {{4, 4, 9, 9}, {6, 6, 30, 7}, {0, 15, 40, 16}, {25, 0, 26, 30}, {8, 20, 33, 27}, {3, 3, 4, 28}}};
    for (std::size_t d = 0; d < draws.size(); ++d)
        for (const auto& rects : clips) {
            DirtyRegion clip;
            for (const PixelRect& rect : rects)
                clip.Add(rect);
            PixelBuffer whole = Picture(40, 30, random), clipped = Clone(whole), before = Clone(whole);
            draws[d](whole);
            clipped.TakeDamage();
            clipped.SetClip(clip);
            draws[d](clipped);
            const DirtyRegion damage = clipped.TakeDamage();
            for (int y = 0; y < 30; ++y)
                for (int x = 0; x < 40; ++x) {
                    const PixelRect pixel{x, y, x + 1, y + 1};
                    ASSERT_EQ(clipped.At(x, y), (clip.Covers(pixel) ? whole : before).At(x, y))
                        << d << " at " << x << "," << y;
                    ASSERT_TRUE(clipped.At(x, y) == before.At(x, y) || damage.Covers(pixel)) << d;
                }
        }
    DirtyRegion spaced; // the ninth rectangle joins its nearest neighbour
    for (int i = 0; i < 9; ++i)
        spaced.Add({3 * i, 0, 3 * i + 1, 1});
    EXPECT_EQ(spaced.Count(), DirtyRegion::kMaxRects);
    EXPECT_EQ(spaced.Bounds(), (PixelRect{0, 0, 25, 1}));
    EXPECT_TRUE(spaced.Covers({21, 0, 25, 1}) && !spaced.Covers({18, 0, 21, 1}));
}

TEST(BitmapFileTest, DecodesAsSdlDoes) {
    // clang-format off
    std::vector<std::string> files = {
        Bmp(12, 1, 0, 9, 5, 2, 0), Bmp(12, 4, 0, 5, 3, 16, 0), Bmp(12, 8, 0, 3, 4, 256, 0),
        Bmp(12, 24, 0, 3, 2, 0, 0), Bmp(40, 1, 0, 33, -3, 2, 0), Bmp(40, 2, 0, 7, 3, 4, 0),
        Bmp(40, 4, 0, 7, 4, 5, 5), Bmp(40, 8, 0, 5, 3, 256, 0), Bmp(40, 8, 0, 6, -2, 3, 3),
        Bmp(40, 8, 0, 4, 4, 16, 0), Bmp(124, 8, 0, 4, 4, 16, 16), Bmp(40, 24, 0, 5, -3, 0, 0),
        Bmp(40, 16, 0, 99, 3, 0, 0), Bmp(40, 16, 3, 99, 3, 0, 0, {0xF800, 0x7E0, 0x1F}),
        Bmp(40, 32, 0, 3, 3, 0, 0), Bmp(56, 16, 3, 3, 2, 0, 0, {0xF00, 0xF0, 0xF, 0xF000}),
        Bmp(108, 32, 3, 4, 2, 0, 0, {0xFF000000, 0xFF0000, 0xFF00}), Bmp(40, 8, 1, 7, 4, 4, 4, {}, kRle8),
        Bmp(124, 32, 3, 4, -2, 0, 0, {0xFF0000, 0xFF00, 0xFF}), Bmp(40, 4, 2, 7, 3, 5, 5, {}, kRle4)};
    // clang-format on
    for (const auto& entry : std::filesystem::recursive_directory_iterator(TAV_SOURCE_DIR "/art"))
        if (entry.path().extension() == ".bmp")
            files.push_back(test::ReadFile(entry.path()));
    for (const std::string& bytes : files) {
        SCOPED_TRACE(&bytes - files.data());
        PixelBuffer ours, sdl;
        std::string error;
        ASSERT_TRUE(SdlDecode(bytes, sdl)) << SDL_GetError();
        ASSERT_TRUE(DecodeBitmap(bytes.data(), bytes.size(), ours, &error)) << error;
        EXPECT_TRUE(SamePixels(sdl, ours));
    }
}

// Bad files fail and leave the pixels alone; good ones are read once while unchanged, again when changed.
TEST(BitmapFileTest, BadFilesFailAndGoodOnesAreReadOnceWhileUnchanged) {
    const std::string good = Bmp(40, 24, 0, 2, 3, 0, 0);
    const auto patched = [&](std::size_t at, const std::string& bytes) {
        return std::string(good).replace(at, bytes.size(), bytes);
    };
    const auto rle = [](const std::string& runs) { return Bmp(40, 8, 1, 7, 4, 4, 4, {}, runs); };
    const std::pair<std::string, std::string> cases[] = {
        {"", "not a BMP file"},
        {"GIF89a", "not a BMP file"},
        {good.substr(0, 20), "header is cut off"},
        {good.substr(0, good.size() - 10), "pixel data is cut off (14 of 24 bytes)"},
        {patched(18, std::string(1, '\0')), "no pixels (0 x 3)"},
        {patched(14, "\x40"), "unsupported BMP header of 64 bytes"},
        {patched(28, "\x07"), "unsupported depth of 7 bits"},
        {patched(30, "\x01"), "unsupported compression 1 at 24 bits"},
        {patched(10, "\x35"), "offset 53 lies inside the headers"},
        {patched(10, "\x7f"), "offset 127 lies past the file's end"},
        {Bmp(40, 8, 1, 8192, 8192, 2, 2, {}, "\0\1"s), "(8192 x 8192; at most 16777216 pixels"},
        {Bmp(40, 1, 0, 4097, 4096, 2, 0, {}, "-"), "too large for a bitmap (4097 x 4096"},
        {Bmp(40, 1, 0, 32768, 1, 2, 0, {}, "-"), "too large for a bitmap (32768 x 1"},
        {Bmp(40, 8, 1, 7, -4, 4, 4, {}, kRle8), "cannot be stored top-down"},
        {Bmp(40, 8, 0, 4, 2, 3, 3, {}, "\0\1\2\1\1\3\0\0"s), "(1, 0) uses colour 3 of a palette of 3"},
        {Bmp(40, 8, 0, 4, 2, 0, 0, {}, "-"), "no palette"},
        {Bmp(40, 16, 3, 2, 2, 0, 0, {0xF00F, 0xF0, 1}), "mask 0x0000F00F is not one run of bits"},
        {Bmp(40, 32, 3, 2, 2, 0, 0, {0xFF, 0xFF00, 0}), "a colour mask is empty"},
        {Bmp(40, 16, 3, 2, 2, 0, 0, {0x1F0000, 0xF0, 1}), "mask 0x001F0000 does not fit 16 bits"},
        {rle("\7\1\1\1"s), "passes the end of row 0"},
        {rle("\0\0\0\0\0\0\0\0\1\1"s), "passes the end of row 4"},
        {rle("\2\5\0\1"s), "(0, 3) uses colour 5 of a palette of 4"},
        {rle("\2\1\0\0"s), "compressed pixels are cut off"},
        {rle("\0\3\1\2\3"s), "compressed pixels are cut off"},
        {rle("\0\2\1\5\0\1"s), "compressed move leaves the bitmap"}};
    PixelBuffer pixels;
    ASSERT_TRUE(pixels.Allocate(1, 1));
    pixels.Set(0, 0, 42);
    for (const auto& [bytes, reason] : cases) {
        std::string error;
        EXPECT_TRUE(!DecodeBitmap(bytes.data(), bytes.size(), pixels, &error) &&
                    error.find(reason) != error.npos)
            << reason << ": " << error;
        EXPECT_TRUE(pixels.width() == 1 && pixels.At(0, 0) == 42u) << reason;
    }
    const std::string widest = Bmp(40, 1, 0, 32767, 1, 2, 0), edge = rle("\0\2\7\4\0\1"s);
    EXPECT_TRUE(DecodeBitmap(widest.data(), widest.size(), pixels) && pixels.width() == 32767);
    EXPECT_TRUE(DecodeBitmap(edge.data(), edge.size(), pixels) && pixels.At(6, 3) == 0x9E3779u);
    test::TempDir dir;
    const std::string file = dir / "cached.bmp";
    PixelBuffer first, second;
    std::string error;
    EXPECT_FALSE(LoadBitmapFile(dir / "missing.bmp", first, &error));
    EXPECT_EQ(error, "cannot open '" + dir / "missing.bmp" + "'");
    EXPECT_FALSE(LoadBitmapFile(dir.path(), first, &error)) << "a folder is not a bitmap";
    EXPECT_FALSE(LoadBitmapFile("", first, &error));
    test::WriteFile(file, good);
    ClearBitmapCache();
    ASSERT_TRUE(LoadBitmapFile(file, first, &error)) << error;
    ASSERT_TRUE(LoadBitmapFile(file, second));
    EXPECT_EQ(GetBitmapCacheStats().hits, 1u);
    EXPECT_EQ(GetBitmapCacheStats().entries, 1u);
    EXPECT_TRUE(SamePixels(first, second));
    // A copy: drawing on one load never changes the next.
    second.Set(0, 0, 0x123456);
    PixelBuffer third;
    ASSERT_TRUE(LoadBitmapFile(file, third));
    EXPECT_TRUE(SamePixels(first, third));

    // The same size rewritten in place with another time, and a file replaced by another: read again.
    const timespec times[2] = {{0, UTIME_NOW}, {1000000, 0}};
    std::string other = good;
    other[54] ^= 1; // the first pixel's blue
    test::WriteFile(file, other);
    ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
    PixelBuffer changed;
    const auto misses = GetBitmapCacheStats().misses;
    ASSERT_TRUE(LoadBitmapFile(file, changed));
    EXPECT_EQ(GetBitmapCacheStats().misses, misses + 1);
    EXPECT_NE(changed.At(0, 2), first.At(0, 2)); // bottom-up: the first stored row is the last one
    test::WriteFile(dir / "other.bmp", Bmp(40, 32, 0, 2, -3, 0, 0));
    ASSERT_EQ(std::rename((dir / "other.bmp").c_str(), file.c_str()), 0);
    PixelBuffer replaced;
    ASSERT_TRUE(LoadBitmapFile(file, replaced));
    EXPECT_FALSE(SamePixels(first, replaced));

    // Refusals are remembered as well: an unchanged bad file is not read again.
    const std::string bad = dir / "bad.bmp", huge = dir / "huge.bmp", cut = dir / "cut.bmp";
    test::WriteFile(bad, Bmp(40, 8, 1, 8192, 8192, 2, 2, {}, "\0\1"s));
    test::WriteFile(cut, good.substr(0, good.size() - 10));
    test::WriteFile(huge, good);
    ASSERT_EQ(::truncate(huge.c_str(), kMaxBitmapFileBytes + 1), 0);
    for (const auto& [path, reason] :
         {std::pair{bad, "is too large for a bitmap (8192 x 8192; at most 16777216 pixels, 32767 on a side)"},
          std::pair{huge, "is too large for a bitmap (68157441 bytes; at most 68157440)"},
          std::pair{cut, "is not a usable bitmap: the pixel data is cut off (14 of 24 bytes)"}}) {
        const auto hits = GetBitmapCacheStats().hits;
        for (int load = 0; load < 2; ++load) {
            EXPECT_FALSE(LoadBitmapFile(path, pixels, &error));
            EXPECT_EQ(error, "'" + path + "' " + reason);
        }
        EXPECT_EQ(GetBitmapCacheStats().hits, hits + 1);
    }
}

} // namespace
} // namespace tav::platform
