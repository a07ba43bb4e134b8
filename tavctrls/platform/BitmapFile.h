#pragma once

#include "PixelBuffer.h"

#include <cstddef>
#include <string>

namespace tav::platform {

// Decodes a BMP file (1, 4, 8, 24 or 32 bits, bottom-up or top-down) into XRGB8888 pixels.
// On failure gives false with a reason in `error` (when given) and leaves `pixels` as it was.
bool DecodeBitmap(const void* bytes, std::size_t size, PixelBuffer& pixels, std::string* error = nullptr);
bool LoadBitmapFile(const std::string& path, PixelBuffer& pixels, std::string* error = nullptr);

} // namespace tav::platform
