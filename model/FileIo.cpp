#include "model/FileIo.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tav {

bool FileExists(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat info {};
    const bool file = ::fstat(fd, &info) == 0 && !S_ISDIR(info.st_mode);
    ::close(fd);
    return file;
}

} // namespace tav
