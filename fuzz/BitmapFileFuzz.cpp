// Feeds arbitrary bytes to the bitmap decoder: it must never crash, and whatever it accepts must be
// a surface of a sane size.
#include "tavctrls/platform/BitmapFile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tav::platform::PixelBuffer pixels;
    if (!tav::platform::DecodeBitmap(data, size, pixels))
        return 0;
    if (pixels.Empty() || pixels.width() > tav::platform::PixelBuffer::kMaxSide ||
        pixels.height() > tav::platform::PixelBuffer::kMaxSide)
        std::abort();
    return 0;
}
