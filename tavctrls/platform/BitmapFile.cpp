#include "tavctrls/platform/BitmapFile.h"

#include "tavctrls/files/AtomicFile.h"

#include <SDL.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace tav::platform {

namespace {

void SetError(std::string* error, const std::string& reason) {
    if (error != nullptr)
        *error = reason;
}

std::int32_t ReadInt32(const unsigned char* at) {
    return static_cast<std::int32_t>(std::uint32_t{at[0]} | std::uint32_t{at[1]} << 8 |
                                     std::uint32_t{at[2]} << 16 | std::uint32_t{at[3]} << 24);
}

// The size a BMP header claims, checked before the decoder allocates anything for it.
bool HeaderSizeIsSane(const unsigned char* bytes, std::size_t size, std::string* error) {
    constexpr std::size_t kFileHeader = 14;
    if (size < kFileHeader + 12 || bytes[0] != 'B' || bytes[1] != 'M') {
        SetError(error, "not a BMP file");
        return false;
    }
    const std::int32_t infoSize = ReadInt32(bytes + kFileHeader);
    std::int64_t width = 0;
    std::int64_t height = 0;
    if (infoSize == 12) { // the old core header: 16-bit sizes
        width = bytes[18] | bytes[19] << 8;
        height = bytes[20] | bytes[21] << 8;
    } else if (size >= kFileHeader + 16) {
        width = ReadInt32(bytes + 18);
        height = ReadInt32(bytes + 22);
    }
    if (height < 0)
        height = -height; // top-down
    if (width < 1 || height < 1 || width > PixelBuffer::kMaxSide || height > PixelBuffer::kMaxSide ||
        width * height > PixelBuffer::kMaxPixels) {
        SetError(error, "the bitmap's size is out of range");
        return false;
    }
    return true;
}

} // namespace

bool DecodeBitmap(const void* bytes, std::size_t size, PixelBuffer& pixels, std::string* error) {
    if (!HeaderSizeIsSane(static_cast<const unsigned char*>(bytes), size, error))
        return false;
    SDL_RWops* stream = SDL_RWFromConstMem(bytes, static_cast<int>(std::min<std::size_t>(size, INT32_MAX)));
    SDL_Surface* decoded = stream == nullptr ? nullptr : SDL_LoadBMP_RW(stream, 1);
    if (decoded == nullptr) {
        SetError(error, SDL_GetError());
        return false;
    }
    SDL_Surface* converted = SDL_ConvertSurfaceFormat(decoded, SDL_PIXELFORMAT_XRGB8888, 0);
    SDL_FreeSurface(decoded);
    PixelBuffer result;
    const bool ok = converted != nullptr && result.Allocate(converted->w, converted->h);
    if (ok && SDL_LockSurface(converted) == 0) {
        for (int y = 0; y < converted->h; ++y) {
            const auto* row =
                static_cast<const unsigned char*>(converted->pixels) + std::ptrdiff_t(y) * converted->pitch;
            std::uint32_t* out = result.Row(y);
            std::memcpy(out, row, std::size_t(converted->w) * sizeof(std::uint32_t));
            for (int x = 0; x < converted->w; ++x)
                out[x] &= 0x00FFFFFF;
        }
        SDL_UnlockSurface(converted);
    } else {
        SetError(error, converted == nullptr ? SDL_GetError() : "cannot hold the bitmap's pixels");
        SDL_FreeSurface(converted);
        return false;
    }
    SDL_FreeSurface(converted);
    pixels = std::move(result);
    return true;
}

namespace {

// One decoded file and what identifies the file it came from.
struct CachedBitmap {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    std::int64_t modified = 0; // nanoseconds
    std::uint64_t lastUse = 0;
    PixelBuffer pixels;
};

struct BitmapCache {
    std::mutex lock;
    std::map<std::string, CachedBitmap> entries;
    std::size_t bytes = 0;
    std::uint64_t clock = 0;
    BitmapCacheStats stats;
};

BitmapCache& TheBitmapCache() {
    static BitmapCache cache;
    return cache;
}

std::size_t BytesOf(const PixelBuffer& pixels) {
    return std::size_t(pixels.width()) * std::size_t(pixels.height()) * sizeof(std::uint32_t);
}

std::int64_t ModifiedNanoseconds(const struct stat& info) {
    return std::int64_t{info.st_mtim.tv_sec} * 1000000000 + info.st_mtim.tv_nsec;
}

bool SameFile(const CachedBitmap& entry, const struct stat& info) {
    return entry.device == info.st_dev && entry.inode == info.st_ino && entry.size == info.st_size &&
           entry.modified == ModifiedNanoseconds(info);
}

// Copies the cached pixels of an unchanged file into `pixels`.
bool FromCache(const std::string& path, const struct stat& info, PixelBuffer& pixels) {
    BitmapCache& cache = TheBitmapCache();
    std::lock_guard<std::mutex> guard(cache.lock);
    const auto found = cache.entries.find(path);
    if (found == cache.entries.end() || !SameFile(found->second, info) ||
        !pixels.CopyFrom(found->second.pixels)) {
        ++cache.stats.misses;
        return false;
    }
    found->second.lastUse = ++cache.clock;
    ++cache.stats.hits;
    return true;
}

// Keeps a copy of freshly decoded pixels, dropping the least recently used entries to make room.
void Remember(const std::string& path, const struct stat& info, const PixelBuffer& pixels) {
    BitmapCache& cache = TheBitmapCache();
    const std::size_t bytes = BytesOf(pixels);
    if (bytes > kBitmapCacheBytes / 4)
        return;
    std::lock_guard<std::mutex> guard(cache.lock);
    if (const auto old = cache.entries.find(path); old != cache.entries.end()) {
        cache.bytes -= BytesOf(old->second.pixels);
        cache.entries.erase(old);
    }
    while (cache.bytes + bytes > kBitmapCacheBytes && !cache.entries.empty()) {
        auto oldest = cache.entries.begin();
        for (auto it = cache.entries.begin(); it != cache.entries.end(); ++it)
            if (it->second.lastUse < oldest->second.lastUse)
                oldest = it;
        cache.bytes -= BytesOf(oldest->second.pixels);
        cache.entries.erase(oldest);
    }
    CachedBitmap entry;
    if (!entry.pixels.CopyFrom(pixels))
        return;
    entry.device = info.st_dev;
    entry.inode = info.st_ino;
    entry.size = info.st_size;
    entry.modified = ModifiedNanoseconds(info);
    entry.lastUse = ++cache.clock;
    cache.bytes += bytes;
    cache.entries.emplace(path, std::move(entry));
}

} // namespace

BitmapCacheStats GetBitmapCacheStats() {
    BitmapCache& cache = TheBitmapCache();
    std::lock_guard<std::mutex> guard(cache.lock);
    BitmapCacheStats stats = cache.stats;
    stats.bytes = cache.bytes;
    stats.entries = cache.entries.size();
    return stats;
}

void ClearBitmapCache() {
    BitmapCache& cache = TheBitmapCache();
    std::lock_guard<std::mutex> guard(cache.lock);
    cache.entries.clear();
    cache.bytes = 0;
    cache.stats = {};
}

bool LoadBitmapFile(const std::string& path, PixelBuffer& pixels, std::string* error) {
    if (path.empty()) {
        SetError(error, "no bitmap file named");
        return false;
    }
    const std::string resolved = ResolveResourcePath(path);
    const int fd = ::open(resolved.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat info {};
    if (fd < 0 || ::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        if (fd >= 0)
            ::close(fd);
        SetError(error, "cannot open '" + path + "'");
        return false;
    }
    if (FromCache(resolved, info, pixels)) {
        ::close(fd);
        return true;
    }
    // The largest bitmap a surface can hold, with room for headers and row padding.
    constexpr off_t kLargestFile = PixelBuffer::kMaxPixels * 4 + (off_t{1} << 20);
    if (info.st_size > kLargestFile) {
        ::close(fd);
        SetError(error, "'" + path + "' is too large for a bitmap");
        return false;
    }
    std::vector<unsigned char> bytes;
    bytes.reserve(static_cast<std::size_t>(info.st_size));
    unsigned char block[65536];
    ssize_t count;
    while ((count = ::read(fd, block, sizeof block)) > 0 || (count < 0 && errno == EINTR))
        if (count > 0)
            bytes.insert(bytes.end(), block, block + count);
    ::close(fd);
    if (count < 0) {
        SetError(error, "cannot read '" + path + "'");
        return false;
    }
    if (!DecodeBitmap(bytes.data(), bytes.size(), pixels, error))
        return false;
    Remember(resolved, info, pixels);
    return true;
}

namespace {

void PutLittleEndian(std::vector<unsigned char>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

} // namespace

bool SaveBitmapFile(const std::string& path, const PixelBuffer& pixels, std::string* error) {
    if (pixels.Empty()) {
        SetError(error, "there is no picture to save");
        return false;
    }
    const std::uint32_t rowBytes = (static_cast<std::uint32_t>(pixels.width()) * 3 + 3) & ~3u;
    const std::uint32_t dataBytes = rowBytes * static_cast<std::uint32_t>(pixels.height());
    std::vector<unsigned char> out;
    out.reserve(54 + dataBytes);
    out.push_back('B');
    out.push_back('M');
    PutLittleEndian(out, 54 + dataBytes, 4);
    PutLittleEndian(out, 0, 4);
    PutLittleEndian(out, 54, 4);
    PutLittleEndian(out, 40, 4);
    PutLittleEndian(out, static_cast<std::uint32_t>(pixels.width()), 4);
    PutLittleEndian(out, static_cast<std::uint32_t>(pixels.height()), 4);
    PutLittleEndian(out, 1, 2);
    PutLittleEndian(out, 24, 2);
    PutLittleEndian(out, 0, 4);
    PutLittleEndian(out, dataBytes, 4);
    PutLittleEndian(out, 2835, 4); // 72 dots per inch
    PutLittleEndian(out, 2835, 4);
    PutLittleEndian(out, 0, 4);
    PutLittleEndian(out, 0, 4);
    for (int y = pixels.height() - 1; y >= 0; --y) { // bottom-up
        const std::uint32_t* row = pixels.Row(y);
        for (int x = 0; x < pixels.width(); ++x)
            PutLittleEndian(out, row[x], 3); // blue, green, red
        for (std::uint32_t pad = static_cast<std::uint32_t>(pixels.width()) * 3; pad < rowBytes; ++pad)
            out.push_back(0);
    }
    AtomicFile file(path, AtomicFile::Durability::Unsynced);
    if (!file.Open(error))
        return false;
    file.append(reinterpret_cast<const char*>(out.data()), out.size());
    return file.Commit(error);
}

std::string ProgramFolder() {
    std::error_code failed;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", failed);
    return failed ? std::string() : program.parent_path().string();
}

std::string ResolveResourcePath(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code failed;
    if (path.empty() || fs::path(path).is_absolute() || fs::exists(path, failed))
        return path;
    static const std::string folder = ProgramFolder();
    if (folder.empty())
        return path;
    // Beside the program (a build tree), then where an installed program's data lives.
    for (const fs::path& candidate : {fs::path(folder) / path, fs::path(folder) / "../share/TavCtrls" / path})
        if (fs::exists(candidate, failed))
            return candidate.lexically_normal().string();
    return path;
}

} // namespace tav::platform
