#pragma once

#include <cstddef>
#include <string>

namespace tav {

// Replaces a file so that it is always either the old file or the complete new one: the bytes go
// to a temporary file in the same folder, which is flushed to disk and then renamed over the
// target. A symbolic link is followed; an existing file keeps its mode. Until Commit succeeds
// the target is untouched, and the temporary file is removed on every failure.
class AtomicFile {
public:
    // Synced files reach the disk before Commit returns; Unsynced ones are for files that can be
    // made again (the replacement is still all or nothing for the running system).
    enum class Durability { Synced, Unsynced };

    explicit AtomicFile(std::string path, Durability durability = Durability::Synced);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    bool Open(std::string* error = nullptr);
    // Unbuffered: callers write in large blocks. A failure is remembered and reported by Commit.
    void append(const char* bytes, std::size_t size);
    bool Commit(std::string* error = nullptr);

private:
    void Discard();

    std::string path_;
    Durability durability_;
    std::string target_;
    std::string folder_;
    std::string temporary_;
    int fd_ = -1;
    int writeErrno_ = 0;
};

} // namespace tav
