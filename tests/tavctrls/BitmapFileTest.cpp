#include "tavctrls/platform/BitmapFile.h"
#include "tests/support/TestSupport.h"
#include "tests/tavctrls/DisplayTestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>

#include <cstdint>
#include <string>
#include <vector>

namespace tav::platform {
namespace {

void Put(std::string& out, std::uint32_t value, int bytes = 4) {
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>(value >> (8 * i) & 255);
}

// A 2 x 3 BMP file at 24 or 32 bits per pixel in which pixel (x, y) has colour Colour(x, y).
std::uint32_t Colour(int x, int y) {
    return static_cast<std::uint32_t>(0x102030 * (1 + x + 2 * y)) & 0xFFFFFF;
}

std::string EncodeBitmap(int bits, bool topDown) {
    const std::uint32_t width = 2, height = 3;
    std::string pixels;
    for (std::uint32_t r = 0; r < height; ++r) {
        std::string row;
        for (int x = 0; x < 2; ++x)
            Put(row, Colour(x, static_cast<int>(topDown ? r : height - 1 - r)), bits / 8);
        row.resize((width * static_cast<std::uint32_t>(bits) + 31) / 32 * 4, '\0');
        pixels += row;
    }
    const auto size = static_cast<std::uint32_t>(pixels.size());
    std::string file = "BM";
    // File size, reserved, pixel offset, info size, width, height, planes and depth, compression, image
    // size, resolution, colours.
    const std::uint32_t rows = topDown ? 0u - height : height;
    const std::uint32_t depth = 1u | static_cast<std::uint32_t>(bits) << 16;
    for (const std::uint32_t field :
         {54 + size, 0u, 54u, 40u, 2u, rows, depth, 0u, size, 2835u, 2835u, 0u, 0u})
        Put(file, field);
    return file + pixels;
}

TEST(BitmapFileTest, BothDepthsAndRowOrdersDecodeToTheSamePixels) {
    for (const int bits : {24, 32})
        for (const bool topDown : {false, true}) {
            SCOPED_TRACE(std::to_string(bits) + (topDown ? " bits, top-down" : " bits, bottom-up"));
            const std::string file = EncodeBitmap(bits, topDown);
            PixelBuffer pixels;
            std::string error;
            ASSERT_TRUE(DecodeBitmap(file.data(), file.size(), pixels, &error)) << error;
            ASSERT_EQ(pixels.width(), 2);
            ASSERT_EQ(pixels.height(), 3);
            for (int y = 0; y < 3; ++y)
                for (int x = 0; x < 2; ++x)
                    EXPECT_EQ(pixels.At(x, y), Colour(x, y)) << x << "," << y;
        }
}

TEST(BitmapFileTest, BadFilesFailAndLeaveThePixelsAlone) {
    const std::string good = EncodeBitmap(24, false);
    const auto patched = [&](std::size_t at, const std::string& bytes) {
        return std::string(good).replace(at, bytes.size(), bytes);
    };
    const std::vector<std::pair<const char*, std::string>> cases = {
        {"empty", ""},
        {"not a bitmap", "GIF89a"},
        {"header only", good.substr(0, 20)},
        {"pixels cut off", good.substr(0, good.size() - 10)},
        {"absurd width", patched(18, "\x7f\x7f\x7f\x7f")},
        {"zero width", patched(18, std::string(1, '\0'))},
        {"unknown depth", patched(28, "\x07")},
    };
    PixelBuffer pixels;
    ASSERT_TRUE(pixels.Allocate(1, 1));
    pixels.Set(0, 0, 42);
    for (const auto& [title, bytes] : cases) {
        std::string error;
        EXPECT_FALSE(DecodeBitmap(bytes.data(), bytes.size(), pixels, &error)) << title;
        EXPECT_FALSE(error.empty()) << title;
        EXPECT_EQ(pixels.width(), 1) << title;
        EXPECT_EQ(pixels.At(0, 0), 42u) << title;
    }
}

TEST(BitmapFileTest, FilesAreReadOnceWhileUnchangedAndAgainWhenChanged) {
    test::TempDir dir;
    const std::string file = dir / "cached.bmp";
    PixelBuffer first, second;
    std::string error;
    EXPECT_FALSE(LoadBitmapFile(dir / "missing.bmp", first, &error));
    EXPECT_EQ(error, "cannot open '" + dir / "missing.bmp" + "'");
    EXPECT_FALSE(LoadBitmapFile(dir.path(), first, &error)) << "a folder is not a bitmap";
    EXPECT_FALSE(LoadBitmapFile("", first, &error));
    test::WriteFile(file, EncodeBitmap(24, false));
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
    std::string other = EncodeBitmap(24, false);
    other[54] = '\x7F'; // the first pixel's blue
    test::WriteFile(file, other);
    ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
    PixelBuffer changed;
    const auto misses = GetBitmapCacheStats().misses;
    ASSERT_TRUE(LoadBitmapFile(file, changed));
    EXPECT_EQ(GetBitmapCacheStats().misses, misses + 1);
    EXPECT_NE(changed.At(0, 2), first.At(0, 2)); // bottom-up: the first stored row is the last one
    test::WriteFile(dir / "other.bmp", EncodeBitmap(32, false));
    ASSERT_EQ(std::rename((dir / "other.bmp").c_str(), file.c_str()), 0);
    PixelBuffer replaced;
    ASSERT_TRUE(LoadBitmapFile(file, replaced));
    EXPECT_EQ(replaced.At(0, 2), Colour(0, 2));
}

} // namespace
} // namespace tav::platform
