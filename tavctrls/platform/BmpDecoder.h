#pragma once

#include "tavctrls/platform/PixelBuffer.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace tav::platform::bmp {

// The first bytes of a file that ReadHeader needs: the file header and the fields every info header has.
inline constexpr std::size_t kHeaderBytes = 14 + 40;

// What the headers of a BMP file say about its pixels.
struct Header {
    std::uint32_t infoSize = 0; // 12 for the old core header, 40 or more for the others
    std::uint32_t dataOffset = 0;
    std::int64_t width = 0;
    std::int64_t height = 0; // made positive; `topDown` tells the row order
    bool topDown = false;
    int bits = 0;
    std::uint32_t compression = 0;
    std::uint32_t coloursUsed = 0;
};

// Reads and checks the headers from the first `size` bytes of a file of `fileSize` bytes (at least
// kHeaderBytes of them when the file is that long): signature, header kind, size and limits, depth and
// compression, where the pixels start. Allocates nothing.
bool ReadHeader(const unsigned char* bytes, std::size_t size, std::uint64_t fileSize, Header& header,
                std::string& error);

// Decodes a whole file into XRGB8888 pixels; on failure gives false with a reason and leaves `pixels` alone.
bool Decode(const unsigned char* bytes, std::size_t size, PixelBuffer& pixels, std::string& error);

} // namespace tav::platform::bmp
