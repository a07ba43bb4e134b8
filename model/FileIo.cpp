#include "model/FileIo.h"

#include <sys/stat.h>

namespace tav {

bool FileExists(const std::string& path) {
    struct stat entry {};
    struct stat target {};
    // Never opened: a FIFO would block. A link counts as the file it leads to, a dangling one as a file.
    return ::lstat(path.c_str(), &entry) == 0 &&
           !(::stat(path.c_str(), &target) == 0 && S_ISDIR(target.st_mode));
}

} // namespace tav
