#pragma once

#include <string>

namespace tav {

// True when `path` names a file (not a folder) that can be opened for reading.
bool FileExists(const std::string& path);

} // namespace tav
