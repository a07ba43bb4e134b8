#pragma once

#include "PixelBuffer.h"

#include <cstddef>
#include <string>

namespace tav::platform {

// Decodes a BMP file (1, 4, 8, 24 or 32 bits, bottom-up or top-down) into XRGB8888 pixels.
// On failure gives false with a reason in `error` (when given) and leaves `pixels` as it was.
bool DecodeBitmap(const void* bytes, std::size_t size, PixelBuffer& pixels, std::string* error = nullptr);
// Loads a BMP file; a relative path is looked up in the current directory first, then in the folder
// of the running program.
bool LoadBitmapFile(const std::string& path, PixelBuffer& pixels, std::string* error = nullptr);

// Writes `pixels` as a 24-bit BMP file, replacing `path` only once the whole file is written.
bool SaveBitmapFile(const std::string& path, const PixelBuffer& pixels, std::string* error = nullptr);

// Where a relative resource path is found: `path` itself when it exists from the current directory (or
// is absolute), else the same path under the running program's folder when it exists there, else
// `path` unchanged.
std::string ResolveResourcePath(const std::string& path);

// The folder that holds the running program (empty when unknown).
std::string ProgramFolder();

} // namespace tav::platform
