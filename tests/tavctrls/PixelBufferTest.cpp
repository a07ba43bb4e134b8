#include "tavctrls/platform/PixelBuffer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>

namespace tav::platform {
namespace {

PixelBuffer Filled(int width, int height, std::uint32_t seed) {
    PixelBuffer buffer;
    EXPECT_TRUE(buffer.Allocate(width, height));
    std::mt19937 random(seed);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            buffer.Set(x, y, random() & 0x00FFFFFF);
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

void ExpectSame(const PixelBuffer& expected, const PixelBuffer& actual) {
    ASSERT_EQ(expected.width(), actual.width());
    ASSERT_EQ(expected.height(), actual.height());
    for (int y = 0; y < expected.height(); ++y)
        for (int x = 0; x < expected.width(); ++x)
            ASSERT_EQ(expected.At(x, y), actual.At(x, y)) << "at " << x << "," << y;
}

// Plain per-pixel references.
int ReferenceChannel(int d, int s, int alpha) {
    return d + (s - d) * alpha / 256;
}

std::uint32_t ReferenceBlend(std::uint32_t d, std::uint32_t s, int alpha) {
    if ((s & 0xFFFFFF) == 0)
        return d;
    const int a = alpha < 0 ? 0 : alpha > 256 ? 256 : alpha;
    return static_cast<std::uint32_t>(ReferenceChannel(d >> 16 & 255, s >> 16 & 255, a) << 16 |
                                      ReferenceChannel(d >> 8 & 255, s >> 8 & 255, a) << 8 |
                                      ReferenceChannel(d & 255, s & 255, a));
}

TEST(PixelBufferTest, SizesAreCheckedBeforeAllocating) {
    PixelBuffer buffer;
    EXPECT_TRUE(buffer.Allocate(3, 2));
    for (const auto& [w, h] : {std::pair{0, 5},
                               {5, 0},
                               {-1, 5},
                               {PixelBuffer::kMaxSide + 1, 1},
                               {30000, 30000},
                               {INT32_MAX, INT32_MAX}}) {
        EXPECT_FALSE(buffer.Allocate(w, h)) << w << "x" << h;
        EXPECT_EQ(buffer.width(), 3) << "a refused size leaves the buffer as it was";
    }
    EXPECT_EQ(buffer.At(2, 1), 0u);
}

TEST(PixelBufferTest, OperationsMatchThePlainReference) {
    const PixelBuffer source = Filled(7, 5, 1);
    const PixelBuffer background = Filled(9, 8, 2);
    const PixelRect from{1, 1, 6, 4};
    const std::uint32_t key = source.At(2, 2) | 0xFF000000; // only the colour bits count

    PixelBuffer copied = Clone(background), keyed = Clone(background), blended = Clone(background);
    ASSERT_TRUE(CopyRect(copied, 3, 4, source, from));
    ASSERT_TRUE(CopyRectKeyed(keyed, 3, 4, source, from, key));
    PixelBuffer expectCopy = Clone(background), expectKeyed = Clone(background);
    for (int alpha : {0, 1, 128, 255, 256, 300, -5}) {
        blended = Clone(background);
        ASSERT_TRUE(BlendRect(blended, 3, 4, source, from, alpha));
        PixelBuffer expectBlend = Clone(background);
        for (int y = from.top; y < from.bottom; ++y)
            for (int x = from.left; x < from.right; ++x) {
                const int dx = 3 + x - from.left, dy = 4 + y - from.top;
                expectBlend.Set(dx, dy, ReferenceBlend(background.At(dx, dy), source.At(x, y), alpha));
            }
        ExpectSame(expectBlend, blended);
    }
    for (int y = from.top; y < from.bottom; ++y)
        for (int x = from.left; x < from.right; ++x) {
            const int dx = 3 + x - from.left, dy = 4 + y - from.top;
            expectCopy.Set(dx, dy, source.At(x, y));
            if (source.At(x, y) != (key & 0xFFFFFF))
                expectKeyed.Set(dx, dy, source.At(x, y));
        }
    ExpectSame(expectCopy, copied);
    ExpectSame(expectKeyed, keyed);
    EXPECT_EQ(keyed.At(3 + 1, 4 + 1), background.At(4, 5)) << "the keyed pixel is skipped";
}

TEST(PixelBufferTest, AlphaRoundsTowardZeroAndBlackIsTransparent) {
    PixelBuffer dest, source;
    ASSERT_TRUE(dest.Allocate(3, 1));
    ASSERT_TRUE(source.Allocate(3, 1));
    dest.Set(0, 0, 0x00FF0010);
    source.Set(0, 0, 0x00000101); // dark: channels fall, so (s - d) * a / 256 is negative
    dest.Set(1, 0, 0x00123456);
    source.Set(1, 0, 0x00000000); // black: left alone
    dest.Set(2, 0, 0x00000000);
    source.Set(2, 0, 0x00FFFFFF);
    ASSERT_TRUE(BlendRect(dest, 0, 0, source, source.Bounds(), 255));
    // red 255 + (0 - 255) * 255 / 256 = 255 - 254 = 1; green 0 + 255 / 256 = 0; blue 16 - 3825 / 256 = 2
    EXPECT_EQ(dest.At(0, 0), 0x00010002u);
    EXPECT_EQ(dest.At(1, 0), 0x00123456u);
    EXPECT_EQ(dest.At(2, 0), 0x00FEFEFEu);
}

TEST(PixelBufferTest, StretchSamplesNearestPixels) {
    PixelBuffer source, dest;
    ASSERT_TRUE(source.Allocate(2, 2));
    source.Set(0, 0, 1);
    source.Set(1, 0, 2);
    source.Set(0, 1, 3);
    source.Set(1, 1, 4);
    ASSERT_TRUE(dest.Allocate(5, 4));
    ASSERT_TRUE(StretchRect(dest, {1, 0, 5, 4}, source, source.Bounds()));
    const std::uint32_t expected[4][5] = {{0, 1, 1, 2, 2}, {0, 1, 1, 2, 2}, {0, 3, 3, 4, 4}, {0, 3, 3, 4, 4}};
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(dest.At(x, y), expected[y][x]) << x << "," << y;
    ASSERT_TRUE(StretchRect(dest, {0, 0, 1, 1}, source, {1, 1, 2, 2}));
    EXPECT_EQ(dest.At(0, 0), 4u);
}

TEST(PixelBufferTest, RectanglesOutsideOrEmptyDrawNothing) {
    PixelBuffer dest = Filled(4, 4, 3);
    const PixelBuffer before = Clone(dest);
    const PixelBuffer source = Filled(2, 2, 4);
    EXPECT_FALSE(FillRect(dest, {0, 0, 5, 1}, 7));
    EXPECT_FALSE(FillRect(dest, {2, 2, 1, 3}, 7));
    EXPECT_FALSE(FillRect(dest, {-1, 0, 1, 1}, 7));
    EXPECT_FALSE(CopyRect(dest, 3, 3, source, source.Bounds()));
    EXPECT_FALSE(CopyRect(dest, 0, 0, source, {0, 0, 3, 1}));
    EXPECT_FALSE(CopyRectKeyed(dest, -1, 0, source, source.Bounds(), 0));
    EXPECT_FALSE(BlendRect(dest, 0, 3, source, source.Bounds(), 128));
    EXPECT_FALSE(StretchRect(dest, {0, 0, 0, 4}, source, source.Bounds()));
    EXPECT_FALSE(StretchRect(dest, {0, 0, 4, 4}, source, {1, 1, 1, 2}));
    PixelBuffer empty;
    EXPECT_FALSE(CopyRect(dest, 0, 0, empty, {0, 0, 1, 1}));
    ExpectSame(before, dest);
    ASSERT_TRUE(FillRect(dest, {1, 1, 3, 2}, 7));
    EXPECT_EQ(dest.At(1, 1), 7u);
    EXPECT_EQ(dest.At(2, 1), 7u);
    EXPECT_EQ(dest.At(3, 1), before.At(3, 1));
}

} // namespace
} // namespace tav::platform
