#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace tav::builder {

// One sub folder of a listed folder; `readable` is false when its entries cannot be read.
struct FolderEntry {
    std::string name;
    bool readable = true;
};

// What a folder holds as the choosers show it: visible sub folders and the visible regular files
// whose name ends in the extension (any case), each sorted by name. Never throws.
struct FolderListing {
    bool readable = false;
    std::string error; // why the folder could not be read
    std::vector<FolderEntry> folders;
    std::vector<std::string> files;
};

// `extension` such as ".bmp"; empty lists no files.
FolderListing ListFolder(const std::filesystem::path& folder, const std::string& extension);

bool HasExtension(const std::string& name, const std::string& extension);

// The absolute, lexically normal form of `path` taken relative to `base`, without a trailing
// separator (except for the root).
std::filesystem::path ResolvePath(const std::filesystem::path& base, const std::string& path);

} // namespace tav::builder
