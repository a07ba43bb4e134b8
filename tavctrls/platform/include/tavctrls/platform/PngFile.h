#pragma once

#include "PixelBuffer.h"

#include <string>

namespace tav::platform {

// What a PNG file keeps of each pixel: its colour, or its colour and its high byte as opacity (0 clear).
enum class PngChannels { Rgb, Rgba };

// Writes `pixels` as an 8-bit PNG file, replacing `path` only once the whole file is written. On
// failure gives false with the reason in `error` (when given) and leaves `path` as it was.
bool SavePngFile(const std::string& path, const PixelBuffer& pixels, std::string* error = nullptr,
                 PngChannels channels = PngChannels::Rgb);

} // namespace tav::platform
