#include "tavctrls/platform/PixelKernels.h"
#include "tavctrls/platform/Lines.h"
#include "tavctrls/platform/PixelBuffer.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <random>
#include <set>
#include <utility>
#include <vector>

namespace tav::platform {
namespace {

using Point = std::pair<int, int>;

PixelBuffer Random(int width, int height, std::mt19937& random) {
    PixelBuffer buffer;
    EXPECT_TRUE(buffer.Allocate(width, height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            buffer.Set(x, y, static_cast<std::uint32_t>(random()));
    return buffer;
}

PixelBuffer Clone(const PixelBuffer& source) {
    PixelBuffer copy;
    EXPECT_TRUE(copy.Allocate(source.width(), source.height()));
    for (int y = 0; y < source.height(); ++y)
        for (int x = 0; x < source.width(); ++x)
            copy.Set(x, y, source.At(x, y));
    return copy;
}

::testing::AssertionResult Same(const PixelBuffer& expected, const PixelBuffer& actual) {
    for (int y = 0; y < expected.height(); ++y)
        for (int x = 0; x < expected.width(); ++x)
            if (expected.At(x, y) != actual.At(x, y))
                return ::testing::AssertionFailure()
                       << "differs at " << x << "," << y << ": expected " << std::hex << expected.At(x, y)
                       << ", got " << actual.At(x, y);
    return ::testing::AssertionSuccess();
}

// Plain per-pixel references.
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

void ReferenceCopy(PixelBuffer& dest, int x, int y, const PixelBuffer& source, const PixelRect& from) {
    for (int sy = from.top; sy < from.bottom; ++sy)
        for (int sx = from.left; sx < from.right; ++sx)
            dest.Set(x + sx - from.left, y + sy - from.top, source.At(sx, sy));
}

void ReferenceKeyed(PixelBuffer& dest, int x, int y, const PixelBuffer& source, const PixelRect& from,
                    std::uint32_t key) {
    for (int sy = from.top; sy < from.bottom; ++sy)
        for (int sx = from.left; sx < from.right; ++sx)
            if ((source.At(sx, sy) ^ key) & 0xFFFFFF)
                dest.Set(x + sx - from.left, y + sy - from.top, source.At(sx, sy));
}

void ReferenceBlendRect(PixelBuffer& dest, int x, int y, const PixelBuffer& source, const PixelRect& from,
                        int alpha) {
    for (int sy = from.top; sy < from.bottom; ++sy)
        for (int sx = from.left; sx < from.right; ++sx) {
            const int dx = x + sx - from.left, dy = y + sy - from.top;
            dest.Set(dx, dy, ReferenceBlend(dest.At(dx, dy), source.At(sx, sy), alpha));
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

// A source in which about a third of the pixels carry the key colour (with any top byte), and some
// differ from it in a single colour bit.
PixelBuffer KeyedPicture(int width, int height, std::uint32_t key, std::mt19937& random) {
    PixelBuffer buffer = Random(width, height, random);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const unsigned roll = random() % 20;
            if (roll < 6)
                buffer.Set(x, y, (key & 0xFFFFFF) | (random() & 0xFF000000));
            else if (roll < 8)
                buffer.Set(x, y, (key ^ (1u << random() % 24)) & 0xFFFFFF);
        }
    return buffer;
}

// Every kernel set the processor runs, each test comparing it with the plain references.
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
constexpr int kMaxWidth = 67;

TEST_P(KernelSetTest, FillCoversExactlyTheRectangle) {
    PixelBuffer dest = Random(kMaxWidth + 8, 3, random_);
    for (int width = 1; width <= kMaxWidth; ++width)
        for (int left = 0; left < 4; ++left) {
            PixelBuffer expected = Clone(dest);
            const std::uint32_t pixel = static_cast<std::uint32_t>(random_());
            for (int x = left; x < left + width; ++x)
                expected.Set(x, 1, pixel);
            ASSERT_TRUE(FillRect(dest, {left, 1, left + width, 2}, pixel));
            ASSERT_TRUE(Same(expected, dest)) << "width " << width << ", left " << left;
        }
}

TEST_P(KernelSetTest, KeyedCopyMatchesReference) {
    for (const std::uint32_t key : {0x00000000u, 0xAB00FF40u, 0x00FFFFFFu}) {
        const PixelBuffer source = KeyedPicture(kMaxWidth + 4, 3, key, random_);
        PixelBuffer dest = Random(kMaxWidth + 8, 4, random_);
        for (int width = 1; width <= kMaxWidth; ++width)
            for (int offset = 0; offset < 4; ++offset) {
                const PixelRect from{(offset * 3 + 1) % 4, 0, (offset * 3 + 1) % 4 + width, 3};
                PixelBuffer expected = Clone(dest);
                ReferenceKeyed(expected, offset, 1, source, from, key);
                ASSERT_TRUE(CopyRectKeyed(dest, offset, 1, source, from, key));
                ASSERT_TRUE(Same(expected, dest))
                    << "key " << key << ", width " << width << ", offset " << offset;
            }
    }
}

TEST_P(KernelSetTest, BlendMatchesReferenceForEveryAlpha) {
    // Black sources (whatever their top byte) leave the destination; the destination's top byte stays.
    PixelBuffer source = KeyedPicture(kMaxWidth + 4, 3, 0xFF000000, random_);
    source.Set(5, 1, 0x00FF00FF);
    source.Set(6, 1, 0x0000FF00);
    for (const int alpha : {0, 1, 127, 128, 255, 256, 300, -5}) {
        PixelBuffer dest = Random(kMaxWidth + 8, 4, random_);
        for (int width = 1; width <= kMaxWidth; ++width)
            for (int offset = 0; offset < 4; ++offset) {
                const PixelRect from{(offset + 2) % 4, 0, (offset + 2) % 4 + width, 3};
                PixelBuffer expected = Clone(dest);
                ReferenceBlendRect(expected, offset, 1, source, from, alpha);
                ASSERT_TRUE(BlendRect(dest, offset, 1, source, from, alpha));
                ASSERT_TRUE(Same(expected, dest)) << "alpha " << alpha << ", width " << width;
            }
    }
}

TEST_P(KernelSetTest, BlendIsExactForEveryPairOfChannelValues) {
    // Row y, column x: red goes from x to y, green from y to x, blue from x to (x * 7 + y) & 255.
    PixelBuffer dest, source;
    ASSERT_TRUE(dest.Allocate(256, 256));
    ASSERT_TRUE(source.Allocate(256, 256));
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) {
            dest.Set(x, y, static_cast<std::uint32_t>(x << 16 | y << 8 | x));
            source.Set(x, y, static_cast<std::uint32_t>(y << 16 | x << 8 | ((x * 7 + y) & 255)));
        }
    for (const int alpha : {1, 3, 127, 128, 129, 255, 256}) {
        PixelBuffer blended = Clone(dest), expected = Clone(dest);
        ReferenceBlendRect(expected, 0, 0, source, source.Bounds(), alpha);
        ASSERT_TRUE(BlendRect(blended, 0, 0, source, source.Bounds(), alpha));
        ASSERT_TRUE(Same(expected, blended)) << "alpha " << alpha;
    }
}

TEST_P(KernelSetTest, StretchMatchesReference) {
    const PixelBuffer source = Random(40, 30, random_);
    const PixelRect sources[] = {{0, 0, 40, 30}, {3, 2, 20, 9}, {39, 29, 40, 30}, {1, 0, 4, 30}};
    const PixelRect targets[] = {{0, 0, 67, 50}, {1, 2, 2, 3}, {5, 3, 46, 20}, {0, 0, 13, 7}, {2, 1, 67, 2}};
    PixelBuffer dest = Random(70, 52, random_);
    for (const PixelRect& from : sources)
        for (const PixelRect& to : targets) {
            PixelBuffer expected = Clone(dest);
            ReferenceStretch(expected, to, source, from);
            ASSERT_TRUE(StretchRect(dest, to, source, from));
            ASSERT_TRUE(Same(expected, dest))
                << from.Width() << "x" << from.Height() << " to " << to.Width() << "x" << to.Height();
        }
}

TEST_P(KernelSetTest, OverlappingCopiesWithinOneBufferReadTheOriginalPixels) {
    const std::pair<int, int> shifts[] = {{0, 3}, {0, -3}, {5, 0}, {-5, 0}, {3, 2}, {-2, -3}, {1, 1}};
    for (const auto& [shiftX, shiftY] : shifts) {
        const PixelBuffer original = KeyedPicture(64, 24, 0, random_);
        const PixelRect from{6, 4, 31, 15};
        const int x = from.left + shiftX, y = from.top + shiftY;
        const PixelRect to{x, y, x + from.Width() * 2 - 5, y + from.Height()};
        for (int operation = 0; operation < 4; ++operation) {
            PixelBuffer same = Clone(original), expected = Clone(original);
            bool done = false;
            switch (operation) {
            case 0:
                done = CopyRect(same, x, y, same, from);
                ReferenceCopy(expected, x, y, original, from);
                break;
            case 1:
                done = CopyRectKeyed(same, x, y, same, from, 0);
                ReferenceKeyed(expected, x, y, original, from, 0);
                break;
            case 2:
                done = BlendRect(same, x, y, same, from, 100);
                ReferenceBlendRect(expected, x, y, original, from, 100);
                break;
            default:
                done = StretchRect(same, to, same, from);
                ReferenceStretch(expected, to, original, from);
            }
            ASSERT_TRUE(done);
            ASSERT_TRUE(Same(expected, same))
                << "operation " << operation << ", shift " << shiftX << "," << shiftY;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(AllSets, KernelSetTest,
                         ::testing::Values(KernelSet::Scalar, KernelSet::Sse2, KernelSet::Avx2),
                         [](const ::testing::TestParamInfo<KernelSet>& info) {
                             return std::string(info.param == KernelSet::Scalar ? "Scalar"
                                                : info.param == KernelSet::Sse2 ? "Sse2"
                                                                                : "Avx2");
                         });

// Classic Bresenham with an error term, last point excluded; halves step back toward the start.
std::vector<Point> ReferenceLine(long long x1, long long y1, long long x2, long long y2) {
    std::vector<Point> points;
    const long long dx = x2 > x1 ? x2 - x1 : x1 - x2, dy = y2 > y1 ? y2 - y1 : y1 - y2;
    const int stepX = x2 > x1 ? 1 : -1, stepY = y2 > y1 ? 1 : -1;
    const bool alongX = dx >= dy;
    const long long major = alongX ? dx : dy, minor = alongX ? dy : dx;
    long long x = x1, y = y1, error = 2 * minor - major;
    for (long long i = 0; i < major; ++i) {
        points.emplace_back(static_cast<int>(x), static_cast<int>(y));
        if (error > 0) {
            if (alongX)
                y += stepY;
            else
                x += stepX;
            error -= 2 * major;
        }
        error += 2 * minor;
        if (alongX)
            x += stepX;
        else
            y += stepY;
    }
    return points;
}

constexpr std::uint32_t kInk = 0x00ABCDEF;

std::set<Point> Drawn(const PixelBuffer& buffer) {
    std::set<Point> points;
    for (int y = 0; y < buffer.height(); ++y)
        for (int x = 0; x < buffer.width(); ++x)
            if (buffer.At(x, y) == kInk)
                points.emplace(x, y);
    return points;
}

std::set<Point> InsidePart(const std::vector<Point>& line, int width, int height) {
    std::set<Point> points;
    for (const Point& p : line)
        if (p.first >= 0 && p.first < width && p.second >= 0 && p.second < height)
            points.insert(p);
    return points;
}

std::set<Point> DrawnLine(int width, int height, int x1, int y1, int x2, int y2) {
    PixelBuffer buffer;
    EXPECT_TRUE(buffer.Allocate(width, height));
    DrawLine(buffer, x1, y1, x2, y2, kInk);
    return Drawn(buffer);
}

TEST(LineTest, StartsAtTheFirstPointAndStopsBeforeTheLast) {
    EXPECT_EQ(DrawnLine(10, 10, 2, 3, 6, 3), (std::set<Point>{{2, 3}, {3, 3}, {4, 3}, {5, 3}}));
    EXPECT_EQ(DrawnLine(10, 10, 6, 3, 2, 3), (std::set<Point>{{6, 3}, {5, 3}, {4, 3}, {3, 3}}));
    EXPECT_EQ(DrawnLine(10, 10, 4, 8, 4, 5), (std::set<Point>{{4, 8}, {4, 7}, {4, 6}}));
    EXPECT_EQ(DrawnLine(10, 10, 1, 1, 4, 4), (std::set<Point>{{1, 1}, {2, 2}, {3, 3}}));
    EXPECT_EQ(DrawnLine(10, 10, 1, 1, 2, 2), (std::set<Point>{{1, 1}}));
    EXPECT_TRUE(DrawnLine(10, 10, 5, 5, 5, 5).empty()) << "a line to its own start draws nothing";
    EXPECT_TRUE(DrawnLine(10, 10, -3, -3, -3, -3).empty());
}

TEST(LineTest, EveryOctantFollowsBresenham) {
    const int cx = 32, cy = 24;
    for (int dx = -20; dx <= 20; ++dx)
        for (int dy = -20; dy <= 20; ++dy) {
            const std::set<Point> expected(InsidePart(ReferenceLine(cx, cy, cx + dx, cy + dy), 64, 48));
            ASSERT_EQ(DrawnLine(64, 48, cx, cy, cx + dx, cy + dy), expected) << "to " << dx << "," << dy;
        }
}

TEST(LineTest, ClippedLinesDrawTheInsidePixelsOfTheWholeLine) {
    // Lines crossing each edge, both ways, and random lines mostly outside a small buffer.
    std::vector<std::pair<Point, Point>> lines = {
        {{-15, 4}, {12, 9}},  {{12, 9}, {-15, 4}},  {{5, -20}, {9, 25}}, {{9, 25}, {5, -20}},
        {{-7, -9}, {30, 19}}, {{30, 19}, {-7, -9}}, {{25, 2}, {3, 40}},  {{-30, 3}, {40, 4}},
        {{3, -30}, {4, 40}},  {{-1, 5}, {20, 5}},   {{8, -1}, {8, 14}},  {{19, 0}, {19, 13}}};
    std::mt19937 random(99);
    for (int i = 0; i < 3000; ++i) {
        auto coordinate = [&] { return static_cast<int>(random() % 160) - 60; };
        lines.push_back({{coordinate(), coordinate()}, {coordinate(), coordinate()}});
    }
    for (const auto& [from, to] : lines) {
        const std::set<Point> expected =
            InsidePart(ReferenceLine(from.first, from.second, to.first, to.second), 20, 14);
        ASSERT_EQ(DrawnLine(20, 14, from.first, from.second, to.first, to.second), expected)
            << from.first << "," << from.second << " to " << to.first << "," << to.second;
    }
}

TEST(LineTest, FarAwayEndsAreClippedWithoutLosingTheSlope) {
    // A line through the origin with slope b/a, from about -1e9 on, crosses the buffer exactly where a
    // short line from just outside the corner does.
    const std::pair<int, int> slopes[] = {{7, 3}, {3, 7}, {1, 1}, {5, 2}, {2, 9}, {1000, 999}};
    for (const auto& [a, b] : slopes) {
        const int k = 1000000000 / std::max(a, b);
        const std::set<Point> expected = InsidePart(ReferenceLine(-a, -b, 60 * a, 60 * b), 40, 30);
        EXPECT_EQ(DrawnLine(40, 30, -k * a, -k * b, k * a, k * b), expected) << a << "/" << b;
        EXPECT_EQ(DrawnLine(40, 30, -k * a, -k * b, 60 * a, 60 * b), expected) << a << "/" << b;
        const std::set<Point> backwards = InsidePart(ReferenceLine(60 * a, 60 * b, -a, -b), 40, 30);
        EXPECT_EQ(DrawnLine(40, 30, k * a, k * b, -k * a, -k * b), backwards) << a << "/" << b;
    }
}

TEST(LineTest, ExtremeCoordinatesNeitherOverflowNorLoop) {
    const std::set<Point> row1 = InsidePart(ReferenceLine(0, 1, 40, 1), 40, 30);
    // Exactly half way along a line 2^32 - 1 long the offset rounds up, a little past half.
    EXPECT_EQ(DrawnLine(40, 30, INT_MIN, 0, INT_MAX, 1), row1);
    EXPECT_EQ(DrawnLine(40, 30, INT_MIN, 1, INT_MAX, 1), row1);
    EXPECT_EQ(DrawnLine(40, 30, INT_MAX, 1, INT_MIN, 1), row1);
    std::set<Point> diagonal;
    for (int i = 0; i < 30; ++i)
        diagonal.emplace(i, i);
    EXPECT_EQ(DrawnLine(40, 30, INT_MIN, INT_MIN, INT_MAX, INT_MAX), diagonal);
    EXPECT_EQ(DrawnLine(40, 30, INT_MAX, INT_MAX, INT_MIN, INT_MIN), diagonal);
    EXPECT_TRUE(DrawnLine(40, 30, INT_MIN, INT_MAX, INT_MAX, INT_MIN).empty()) << "passes outside";
    EXPECT_TRUE(DrawnLine(40, 30, INT_MAX, 0, INT_MAX, INT_MIN).empty());
    EXPECT_TRUE(DrawnLine(40, 30, 45, -1000000000, 60, 1000000000).empty());
}

} // namespace
} // namespace tav::platform
