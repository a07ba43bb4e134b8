#include "tavctrls/platform/PixelBuffer.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace tav::platform {
namespace {

TEST(PixelBufferTest, SizesAreCheckedBeforeAllocating) {
    PixelBuffer buffer;
    EXPECT_TRUE(buffer.Allocate(PixelBuffer::kMaxSide, 2));
    EXPECT_TRUE(buffer.Allocate(3, 2));
    for (const auto& [w, h] : {std::pair{0, 5},
                               {5, 0},
                               {-1, 5},
                               {PixelBuffer::kMaxSide + 1, 1},
                               {1, PixelBuffer::kMaxSide + 1},
                               {30000, 30000},
                               {INT32_MAX, INT32_MAX}}) {
        EXPECT_FALSE(buffer.Allocate(w, h)) << w << "x" << h;
        EXPECT_EQ(buffer.width(), 3) << "a refused size leaves the buffer as it was";
    }
    EXPECT_EQ(buffer.At(2, 1), 0u);
}

TEST(PixelBufferTest, RectanglesOutsideOrEmptyDrawNothing) {
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

} // namespace
} // namespace tav::platform
