#pragma once

#include <cstddef>
#include <memory>
#include <string>

namespace tav {

class BlockWriter;

// Replaces a file so that it is always either the old file or the complete new one: the bytes go
// to a temporary file in the same folder, which is flushed to disk and then renamed over the
// target. Until Commit succeeds the target is untouched, and the temporary file is removed on every
// failure. An existing target keeps its mode.
//
// Only a missing or regular file is replaced: a folder, device, FIFO or socket is refused, and so is
// a read-only file. The standard streams (/dev/stdout, /dev/stderr, /dev/fd/N, /proc/self/fd/N) are
// written directly, as a stream, since their "file" belongs to whoever opened the descriptor.
//
// Temporaries are named ".NAME.tav-PID-XXXXXX". Opening removes the target's temporaries left by
// processes that have ended (killed during a save), so they never pile up.
class AtomicFile {
public:
    // Synced files reach the disk before Commit returns; Unsynced ones are for files that can be
    // made again (the replacement is still all or nothing for the running system).
    enum class Durability { Synced, Unsynced };
    // Follow: a symbolic link to a regular file stays a link and the file it leads to is replaced.
    // Replace: a symbolic link at the path (dangling or not) is itself replaced by the new file, so
    // nothing outside the path's folder is ever written.
    enum class Links { Follow, Replace };

    explicit AtomicFile(std::string path, Durability durability = Durability::Synced,
                        Links links = Links::Follow);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    bool Open(std::string* error = nullptr);
    // Unbuffered: callers write in large blocks. A failure is remembered and reported by Commit. Once
    // a file is large, its further blocks are written on a thread of their own while the caller makes
    // the next.
    void append(const char* bytes, std::size_t size);
    bool Commit(std::string* error = nullptr);

    // Whether Open would take `path` as its target: a missing or writable regular file, or a link.
    static bool Replaceable(const std::string& path, Links links, std::string* error = nullptr);

    // The prefix of the temporaries of `fileName` ("." + fileName + ".tav-").
    static std::string TemporaryPrefix(const std::string& fileName);

private:
    void Discard();

    std::string path_;
    Durability durability_;
    Links links_;
    std::string target_;
    std::string folder_;
    std::string temporary_;
    int fd_ = -1;
    bool direct_ = false; // writing straight to a standard stream
    int writeErrno_ = 0;
    std::size_t written_ = 0;
    std::size_t started_ = 0; // bytes already on their way to the disk
    std::unique_ptr<BlockWriter> writer_;
};

} // namespace tav
