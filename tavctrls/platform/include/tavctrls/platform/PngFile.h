#pragma once

#include "PixelBuffer.h"

#include <string>

namespace tav::platform {

// Writes `pixels` as an 8-bit RGB PNG file, replacing `path` only once the whole file is written. On
// failure gives false with the reason in `error` (when given) and leaves `path` as it was.
bool SavePngFile(const std::string& path, const PixelBuffer& pixels, std::string* error = nullptr);

} // namespace tav::platform
