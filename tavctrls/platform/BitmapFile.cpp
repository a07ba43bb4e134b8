#include "tavctrls/platform/BitmapFile.h"

#include "BmpDecoder.h"
#include "tavctrls/files/AtomicFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <memory>
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

} // namespace

bool DecodeBitmap(const void* bytes, std::size_t size, PixelBuffer& pixels, std::string* error) {
    std::string reason;
    if (bmp::Decode(static_cast<const unsigned char*>(bytes), size, pixels, reason))
        return true;
    SetError(error, reason);
    return false;
}

namespace {

// One decoded (or refused) file and what identifies the file it came from.
struct CachedBitmap {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    std::int64_t modified = 0; // nanoseconds
    std::uint64_t lastUse = 0;
    PixelBuffer pixels;
    std::string refusal; // why the file was refused; empty when decoded
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

std::size_t BytesOf(const PixelBuffer& pixels, const std::string& refusal) {
    return std::size_t(pixels.width()) * std::size_t(pixels.height()) * sizeof(std::uint32_t) +
           refusal.size();
}

std::int64_t ModifiedNanoseconds(const struct stat& info) {
    return std::int64_t{info.st_mtim.tv_sec} * 1000000000 + info.st_mtim.tv_nsec;
}

bool SameFile(const CachedBitmap& entry, const struct stat& info) {
    return entry.device == info.st_dev && entry.inode == info.st_ino && entry.size == info.st_size &&
           entry.modified == ModifiedNanoseconds(info);
}

// True when the cache knows the unchanged file: then `decoded` tells whether its pixels were given to
// `use` (which may fail) or it was refused, with the reason in `refusal`.
template <typename Use>
bool FromCache(const std::string& path, const struct stat& info, Use& use, std::string& refusal,
               bool& decoded) {
    BitmapCache& cache = TheBitmapCache();
    std::lock_guard<std::mutex> guard(cache.lock);
    const auto found = cache.entries.find(path);
    if (found == cache.entries.end() || !SameFile(found->second, info)) {
        ++cache.stats.misses;
        return false;
    }
    decoded = found->second.refusal.empty();
    if (decoded && !use(found->second.pixels, nullptr)) {
        ++cache.stats.misses;
        return false;
    }
    refusal = found->second.refusal;
    found->second.lastUse = ++cache.clock;
    ++cache.stats.hits;
    return true;
}

// Keeps a copy of freshly decoded pixels, or the reason the file was refused, dropping the least recently
// used entries to make room.
void Remember(const std::string& path, const struct stat& info, const PixelBuffer& pixels,
              const std::string& refusal) {
    BitmapCache& cache = TheBitmapCache();
    const std::size_t bytes = BytesOf(pixels, refusal);
    if (bytes > kBitmapCacheBytes / 4)
        return;
    std::lock_guard<std::mutex> guard(cache.lock);
    if (const auto old = cache.entries.find(path); old != cache.entries.end()) {
        cache.bytes -= BytesOf(old->second.pixels, old->second.refusal);
        cache.entries.erase(old);
    }
    while (cache.bytes + bytes > kBitmapCacheBytes && !cache.entries.empty()) {
        auto oldest = cache.entries.begin();
        for (auto it = cache.entries.begin(); it != cache.entries.end(); ++it)
            if (it->second.lastUse < oldest->second.lastUse)
                oldest = it;
        cache.bytes -= BytesOf(oldest->second.pixels, oldest->second.refusal);
        cache.entries.erase(oldest);
    }
    CachedBitmap entry;
    if (!entry.pixels.CopyFrom(pixels))
        return;
    entry.refusal = refusal;
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

namespace {

// Reads `size` bytes unless the file ends or fails first.
bool ReadFully(int fd, unsigned char* into, std::size_t size) {
    while (size > 0) {
        const ssize_t count = ::read(fd, into, size);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return false;
        into += count;
        size -= std::size_t(count);
    }
    return true;
}

enum class Outcome { decoded, refused, unreadable };

// Reads the header first, so that a file too large or malformed there is refused without reading the rest.
Outcome ReadAndDecode(int fd, std::uint64_t fileSize, PixelBuffer& pixels, std::string& reason) {
    if (fileSize > std::uint64_t(kMaxBitmapFileBytes)) {
        reason = "too large for a bitmap (" + std::to_string(fileSize) + " bytes; at most " +
                 std::to_string(kMaxBitmapFileBytes) + ")";
        return Outcome::refused;
    }
    // Left uninitialised: every byte is read from the file before it is looked at.
    const auto bytes = std::make_unique_for_overwrite<unsigned char[]>(std::size_t(fileSize));
    const std::size_t start = std::min<std::uint64_t>(fileSize, bmp::kHeaderBytes);
    bmp::Header header;
    if (!ReadFully(fd, bytes.get(), start))
        return Outcome::unreadable;
    if (!bmp::ReadHeader(bytes.get(), start, fileSize, header, reason))
        return Outcome::refused;
    if (!ReadFully(fd, bytes.get() + start, std::size_t(fileSize) - start))
        return Outcome::unreadable;
    return bmp::Decode(bytes.get(), std::size_t(fileSize), pixels, reason) ? Outcome::decoded
                                                                           : Outcome::refused;
}

std::string Refusal(const std::string& path, const std::string& reason) {
    const bool tooLarge = reason.rfind("too large", 0) == 0;
    return "'" + path + "' is " + (tooLarge ? "" : "not a usable bitmap: ") + reason;
}

// Loads the file's pixels, from the cache while the file is unchanged, and gives them to
// use(pixels, fresh): `fresh` is the same pixels when just decoded and free to take, else null.
template <typename Use>
bool UseBitmapFile(const std::string& path, std::string* error, Use use) {
    if (path.empty()) {
        SetError(error, "no bitmap file named");
        return false;
    }
    // Found where it is named, it needs no looking up.
    std::string resolved = path;
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 && (resolved = ResolveResourcePath(path)) != path)
        fd = ::open(resolved.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat info {};
    if (fd < 0 || ::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        if (fd >= 0)
            ::close(fd);
        SetError(error, "cannot open '" + path + "'");
        return false;
    }
    std::string reason;
    bool decoded = false;
    if (FromCache(resolved, info, use, reason, decoded)) {
        ::close(fd);
        if (!decoded)
            SetError(error, Refusal(path, reason));
        return decoded;
    }
    PixelBuffer result;
    const Outcome outcome = ReadAndDecode(fd, std::uint64_t(info.st_size), result, reason);
    ::close(fd);
    if (outcome == Outcome::unreadable) { // perhaps for a moment: not remembered
        SetError(error, "cannot read '" + path + "'");
        return false;
    }
    Remember(resolved, info, result, reason);
    if (outcome == Outcome::refused) {
        SetError(error, Refusal(path, reason));
        return false;
    }
    return use(result, &result);
}

} // namespace

bool LoadBitmapFile(const std::string& path, PixelBuffer& pixels, std::string* error) {
    return UseBitmapFile(path, error, [&](const PixelBuffer& found, PixelBuffer* fresh) {
        if (fresh == nullptr)
            return pixels.CopyFrom(found);
        pixels = std::move(*fresh);
        return true;
    });
}

bool ReadBitmapFile(const std::string& path, const std::function<void(const PixelBuffer&)>& use,
                    std::string* error) {
    return UseBitmapFile(path, error, [&](const PixelBuffer& found, PixelBuffer*) {
        use(found);
        return true;
    });
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
    struct stat info {};
    if (path.empty() || path.front() == '/' || ::stat(path.c_str(), &info) == 0)
        return path;
    std::error_code failed;
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
