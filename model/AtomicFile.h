#pragma once

#include <cstring>
#include <memory>
#include <string>
#include <string_view>

namespace tav {

// Replaces a file so that it is always either the old file or the complete new one: the bytes go
// to a temporary file in the same folder, which is flushed to disk and then renamed over the
// target. A symbolic link is followed; an existing file keeps its mode. Until Commit succeeds
// the target is untouched, and the temporary file is removed on every failure.
class AtomicFile {
public:
    explicit AtomicFile(std::string path);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    bool Open(std::string* error = nullptr);
    // Buffered; a failure is remembered and reported by Commit.
    void append(const char* bytes, std::size_t size) {
        if (size <= kBufferSize - used_) {
            std::memcpy(buffer_.get() + used_, bytes, size);
            used_ += size;
        } else {
            AppendLarge(bytes, size);
        }
    }
    void Append(std::string_view bytes) { append(bytes.data(), bytes.size()); }
    bool Commit(std::string* error = nullptr);

private:
    static constexpr std::size_t kBufferSize = 1 << 16;

    void AppendLarge(const char* bytes, std::size_t size);
    bool Flush();
    void Discard();

    std::string path_;
    std::string target_;
    std::string folder_;
    std::string temporary_;
    std::unique_ptr<char[]> buffer_;
    std::size_t used_ = 0;
    int fd_ = -1;
    int writeErrno_ = 0;
};

} // namespace tav
