#include "tavctrls/files/AtomicFile.h"

#include "BlockWriter.h"

#include <cerrno>
#include <charconv>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <signal.h>
#include <sstream>
#include <sys/stat.h>
#include <system_error>
#include <thread>
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

// The descriptor a path names when it is one of the standard streams' names, or -1.
int StreamDescriptor(const std::string& path) {
    if (path == "/dev/stdout")
        return STDOUT_FILENO;
    if (path == "/dev/stderr")
        return STDERR_FILENO;
    for (const std::string_view folder : {"/dev/fd/", "/proc/self/fd/"}) {
        if (!path.starts_with(folder))
            continue;
        int fd = -1;
        const char* end = path.data() + path.size();
        const auto [next, status] = std::from_chars(path.data() + folder.size(), end, fd);
        return status == std::errc() && next == end && next != path.data() + folder.size() ? fd : -1;
    }
    return -1;
}

mode_t ModeFor(const std::string& target) {
    struct stat info {};
    if (::stat(target.c_str(), &info) == 0 && S_ISREG(info.st_mode))
        return info.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

void SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Closing the last descriptor of a replaced file drops its pages and frees its blocks, which for a
// large file takes about as long as writing it. Holding the old file open across the rename moves
// that work to the close, which a helper thread does while the caller goes on.
constexpr off_t kLargeFile = off_t{1} << 20;

int HoldLargeFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    struct stat info {};
    if (fd >= 0 && (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size < kLargeFile)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

void CloseBeside(int fd) {
    if (fd < 0)
        return;
    try {
        std::thread([fd] { ::close(fd); }).detach();
    } catch (const std::system_error&) {
        ::close(fd);
    }
}

void SetError(std::string* error, const std::string& what, const std::string& path, const char* reason) {
    if (error != nullptr)
        *error = what + " '" + path + "': " + reason;
}

// When process `pid` started, in seconds since the epoch (to within a second), or -1.
std::int64_t ProcessStart(long pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    std::getline(stat, line);
    const std::size_t command = line.rfind(')');
    if (command == std::string::npos)
        return -1;
    std::istringstream fields(line.substr(command + 1));
    std::string field;
    for (int i = 3; i <= 22 && fields >> field; ++i) {
    } // field 22: the start in clock ticks since boot
    std::ifstream system("/proc/stat");
    std::int64_t bootTime = -1;
    for (std::string key; system >> key;)
        if (key == "btime" && system >> bootTime)
            break;
    const long ticks = ::sysconf(_SC_CLK_TCK);
    std::int64_t start = 0;
    if (!fields || bootTime < 0 || ticks <= 0 ||
        std::from_chars(field.data(), field.data() + field.size(), start).ec != std::errc())
        return -1;
    return bootTime + start / ticks;
}

// A temporary is stale when the process named in it has ended, or when that number now belongs to a
// process that started after the temporary was last written.
bool MakerHasEnded(long pid, const struct stat& info) {
    if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH)
        return true;
    const std::int64_t started = ProcessStart(pid);
    return started >= 0 && started > std::int64_t{info.st_mtim.tv_sec} + 1;
}

// Parses "PID-XXXXXX", the part of a temporary's name after its prefix.
long TemporaryMaker(std::string_view rest) {
    long pid = 0;
    const auto [next, status] = std::from_chars(rest.data(), rest.data() + rest.size(), pid);
    const std::string_view suffix(next, static_cast<std::size_t>(rest.data() + rest.size() - next));
    return status == std::errc() && pid > 0 && suffix.size() == 7 && suffix[0] == '-' ? pid : 0;
}

void RemoveStaleTemporaries(const std::string& folder, const std::string& fileName) {
    DIR* listing = ::opendir(folder.c_str());
    if (listing == nullptr)
        return;
    const std::string prefix = AtomicFile::TemporaryPrefix(fileName);
    while (const dirent* entry = ::readdir(listing)) {
        const std::string_view name(entry->d_name);
        const long pid = name.starts_with(prefix) ? TemporaryMaker(name.substr(prefix.size())) : 0;
        struct stat info {};
        if (pid != 0 && ::fstatat(::dirfd(listing), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(info.st_mode) && info.st_uid == ::geteuid() && MakerHasEnded(pid, info))
            ::unlinkat(::dirfd(listing), entry->d_name, 0);
    }
    ::closedir(listing);
}

} // namespace

AtomicFile::AtomicFile(std::string path, Durability durability, Links links)
    : path_(std::move(path)), durability_(durability), links_(links) {}

AtomicFile::~AtomicFile() {
    Discard();
}

std::string AtomicFile::TemporaryPrefix(const std::string& fileName) {
    return "." + fileName + ".tav-";
}

void AtomicFile::Discard() {
    writer_.reset();
    if (fd_ < 0)
        return;
    ::close(std::exchange(fd_, -1));
    if (!direct_)
        ::unlink(temporary_.c_str());
}

bool AtomicFile::Replaceable(const std::string& path, Links links, std::string* error) {
    const std::string target = links == Links::Follow ? ResolveLinks(path) : path;
    struct stat info {};
    if (::lstat(target.c_str(), &info) != 0) {
        if (errno == ENOENT)
            return true;
        SetError(error, "cannot replace", path, std::strerror(errno));
        return false;
    }
    if (S_ISLNK(info.st_mode)) // a dangling link, or one to be replaced itself
        return true;
    if (!S_ISREG(info.st_mode)) {
        SetError(error, "cannot replace", path,
                 S_ISDIR(info.st_mode) ? "it is a folder" : "it is not a regular file");
        return false;
    }
    if ((info.st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0) {
        SetError(error, "cannot replace", path, "it is read-only");
        return false;
    }
    return true;
}

bool AtomicFile::Open(std::string* error) {
    if (const int stream = links_ == Links::Follow ? StreamDescriptor(path_) : -1; stream >= 0) {
        direct_ = true;
        fd_ = ::fcntl(stream, F_DUPFD_CLOEXEC, 0);
        if (fd_ < 0)
            SetError(error, "cannot write", path_, std::strerror(errno));
        return fd_ >= 0;
    }
    if (!Replaceable(path_, links_, error))
        return false;
    target_ = links_ == Links::Follow ? ResolveLinks(path_) : path_;
    const fs::path target(target_);
    folder_ = target.has_parent_path() ? target.parent_path().string() : ".";
    const std::string fileName = target.filename().string();
    RemoveStaleTemporaries(folder_, fileName);
    temporary_ = folder_ + "/" + TemporaryPrefix(fileName) + std::to_string(::getpid()) + "-XXXXXX";
    fd_ = ::mkostemp(temporary_.data(), O_CLOEXEC);
    if (fd_ < 0) {
        SetError(error, "cannot create a file in", folder_, std::strerror(errno));
        return false;
    }
    if (::fchmod(fd_, ModeFor(target_)) != 0) {
        SetError(error, "cannot set the mode of", temporary_, std::strerror(errno));
        Discard();
        return false;
    }
    return true;
}

void AtomicFile::append(const char* bytes, std::size_t size) {
    if (fd_ < 0 || writeErrno_ != 0)
        return;
    if (writer_ != nullptr) {
        writer_->Write(bytes, size);
        return;
    }
    FileOutput output{fd_, durability_ == Durability::Synced && !direct_, written_, started_};
    if (written_ >= FileOutput::kWriteback && !direct_) {
        // More after a large block: writing it can go on beside the making of the next.
        try {
            writer_ = std::make_unique<BlockWriter>(output);
            writer_->Write(bytes, size);
            return;
        } catch (const std::system_error&) {
        }
    }
    writeErrno_ = output.Write(bytes, size);
    written_ = output.written;
    started_ = output.started;
}

bool AtomicFile::Commit(std::string* error) {
    if (fd_ < 0)
        return false;
    const char* failed = nullptr;
    int code = 0;
    struct stat info {};
    // A stream that is a pipe or a terminal has nothing to flush.
    const bool flush = durability_ == Durability::Synced &&
                       (!direct_ || (::fstat(fd_, &info) == 0 && S_ISREG(info.st_mode)));
    if (writer_ != nullptr && writeErrno_ == 0)
        writeErrno_ = writer_->Finish();
    writer_.reset();
    if (writeErrno_ != 0) {
        failed = "cannot write";
        code = writeErrno_;
    } else if (flush && ::fsync(fd_) != 0) {
        failed = "cannot flush";
        code = errno;
    }
    if (::close(std::exchange(fd_, -1)) != 0 && failed == nullptr) {
        failed = "cannot close";
        code = errno;
    }
    const int replaced = failed == nullptr && !direct_ ? HoldLargeFile(target_) : -1;
    if (failed == nullptr && !direct_ && ::rename(temporary_.c_str(), target_.c_str()) != 0) {
        failed = "cannot replace";
        code = errno;
    }
    CloseBeside(replaced);
    if (failed != nullptr) {
        if (!direct_)
            ::unlink(temporary_.c_str());
        SetError(error, failed, path_, std::strerror(code));
        return false;
    }
    if (flush && !direct_)
        SyncFolder(folder_);
    return true;
}

} // namespace tav
