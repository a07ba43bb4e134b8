#include "model/AtomicFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace tav {

namespace fs = std::filesystem;

namespace {

std::string ResolveLinks(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
        return path;
    std::error_code ignored;
    const fs::path resolved = fs::weakly_canonical(path, ignored);
    return resolved.empty() ? path : resolved.string();
}

mode_t ModeFor(const std::string& target) {
    struct stat info {};
    if (::stat(target.c_str(), &info) == 0 && S_ISREG(info.st_mode))
        return info.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

void SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

void SetError(std::string* error, const char* what, const std::string& path, int code) {
    if (error != nullptr)
        *error = std::string(what) + " '" + path + "': " + std::strerror(code);
}

} // namespace

AtomicFile::AtomicFile(std::string path, Durability durability)
    : path_(std::move(path)), durability_(durability) {}

AtomicFile::~AtomicFile() {
    Discard();
}

void AtomicFile::Discard() {
    if (fd_ < 0)
        return;
    ::close(std::exchange(fd_, -1));
    ::unlink(temporary_.c_str());
}

bool AtomicFile::Open(std::string* error) {
    target_ = ResolveLinks(path_);
    const fs::path target(target_);
    folder_ = target.has_parent_path() ? target.parent_path().string() : ".";
    temporary_ = folder_ + "/." + target.filename().string() + ".XXXXXX";
    fd_ = ::mkostemp(temporary_.data(), O_CLOEXEC);
    if (fd_ < 0) {
        SetError(error, "cannot create a file in", folder_, errno);
        return false;
    }
    if (::fchmod(fd_, ModeFor(target_)) != 0) {
        SetError(error, "cannot set the mode of", temporary_, errno);
        Discard();
        return false;
    }
    return true;
}

void AtomicFile::append(const char* bytes, std::size_t size) {
    if (fd_ >= 0 && writeErrno_ == 0 && !WriteAll(fd_, std::string_view(bytes, size)))
        writeErrno_ = errno;
}

bool AtomicFile::Commit(std::string* error) {
    if (fd_ < 0)
        return false;
    const char* failed = nullptr;
    int code = 0;
    if (writeErrno_ != 0) {
        failed = "cannot write";
        code = writeErrno_;
    } else if (durability_ == Durability::Synced && ::fsync(fd_) != 0) {
        failed = "cannot flush";
        code = errno;
    }
    if (::close(std::exchange(fd_, -1)) != 0 && failed == nullptr) {
        failed = "cannot close";
        code = errno;
    }
    if (failed == nullptr && ::rename(temporary_.c_str(), target_.c_str()) != 0) {
        failed = "cannot replace";
        code = errno;
    }
    if (failed != nullptr) {
        ::unlink(temporary_.c_str());
        SetError(error, failed, path_, code);
        return false;
    }
    if (durability_ == Durability::Synced)
        SyncFolder(folder_);
    return true;
}

} // namespace tav
