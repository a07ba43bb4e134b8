#pragma once

#include "PixelBuffer.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace tav::platform {

// The largest bitmap read: at most kMaxBitmapPixels pixels (4096 x 4096) and kMaxBitmapSide on either
// side, in a file of at most kMaxBitmapFileBytes (such a bitmap at 32 bits a pixel, with room for
// headers and palette). Larger ones are refused from their header, before anything is allocated.
inline constexpr std::int64_t kMaxBitmapPixels = std::int64_t{1} << 24;
inline constexpr std::int64_t kMaxBitmapSide = 32767;
inline constexpr std::int64_t kMaxBitmapFileBytes = kMaxBitmapPixels * 4 + (std::int64_t{1} << 20);

// Decodes a BMP file into XRGB8888 pixels: core, info, V4 and V5 headers; 1, 2, 4 and 8 bits with a
// palette (uncompressed, or run-length compressed at 8 and 4 bits); 16 and 32 bits (default layout or
// bit-field masks); 24 bits; rows bottom-up or top-down. On failure gives false with a reason in `error`
// (when given) and leaves `pixels` as it was. A pixel whose colour the palette lacks is refused.
bool DecodeBitmap(const void* bytes, std::size_t size, PixelBuffer& pixels, std::string* error = nullptr);
// Loads a BMP file; a relative path is looked up in the current directory first, then in the folder
// of the running program. The header is read and checked before the rest of the file.
bool LoadBitmapFile(const std::string& path, PixelBuffer& pixels, std::string* error = nullptr);
// As LoadBitmapFile, but gives the pixels to `use` without copying them: they may be the cache's own, to
// be read during the call only, and no bitmap may be loaded from `use`.
bool ReadBitmapFile(const std::string& path, const std::function<void(const PixelBuffer&)>& use,
                    std::string* error = nullptr);

// Decoded bitmaps, and the reasons files were refused, are kept (up to kBitmapCacheBytes) keyed by the
// file's path, identity, size and modification time, so loading an unchanged file again copies pixels
// (or gives the same refusal) instead of reading and decoding it.
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
