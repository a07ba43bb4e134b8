#pragma once

#include <string>

namespace tav {

// True when something other than a folder has the name `path` (a file, a link, a device...). Looks
// only at the entry: nothing is opened.
bool FileExists(const std::string& path);

} // namespace tav
