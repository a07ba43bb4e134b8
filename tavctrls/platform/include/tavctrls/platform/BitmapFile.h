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

// Decoded bitmaps are kept (up to kBitmapCacheBytes) keyed by the file's path, identity, size and
// modification time, so loading an unchanged file again copies pixels instead of decoding them.
inline constexpr std::size_t kBitmapCacheBytes = std::size_t{64} << 20;
struct BitmapCacheStats {
    std::size_t hits = 0;
    std::size_t misses = 0;
    std::size_t bytes = 0;
    std::size_t entries = 0;
};
BitmapCacheStats GetBitmapCacheStats();
void ClearBitmapCache();

// Writes `pixels` as a 24-bit BMP file, replacing `path` only once the whole file is written.
bool SaveBitmapFile(const std::string& path, const PixelBuffer& pixels, std::string* error = nullptr);

// Where a relative resource path is found: `path` itself when it exists from the current directory (or
// is absolute), else the same path under the running program's folder, else under
// "../share/TavCtrls" from that folder (an installed program), else `path` unchanged.
std::string ResolveResourcePath(const std::string& path);

// The folder that holds the running program (empty when unknown).
std::string ProgramFolder();

} // namespace tav::platform
