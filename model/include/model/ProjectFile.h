#pragma once

#include "model/Project.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tav {

// The project file: one value per line, every line ended by CR LF.

// The largest project file that is read, in bytes: a larger file is refused before reading, and a
// stream (a pipe, a device) stops being read there, so that no input fills the memory. A project of
// 100,000 objects takes about 40 MiB; a single line is further limited to 64 MiB.
inline constexpr std::uint64_t kMaxProjectFileSize = std::uint64_t{256} << 20;
std::string FormatProjectFile(const Project& project);

// Fills `project` (fresh, empty) from the text of a project file. Gives false, with the reason in
// `error`, when the text ends before its closing markers; `project` is then left untouched.
bool ParseProjectFile(Project& project, std::string_view text, std::string* error = nullptr);

// What a reader makes of the bitmap paths it reads: `Assign` gives `field` the value that `stored`, the
// path as the file holds it, stands for in memory. `slot` is the same for the same field of every
// object (and below kPathSlots), so that a mapper can remember what that field held last.
class StoredPathMap {
public:
    static constexpr std::size_t kPathSlots = 16;
    virtual void Assign(std::string& field, std::string_view stored, std::size_t slot) = 0;

protected:
    ~StoredPathMap() = default;
};

// As Project::ReadProjectFile, with every bitmap path given to `paths` as it is read.
bool ReadProjectFile(Project& project, const std::string& path, StoredPathMap& paths,
                     std::string* error = nullptr);

// Values that the reader could not give back unchanged (a line feed inside a text, a name that
// reads as a list's end marker), one description per offending field. Such a project is not saved.
std::vector<std::string> FindUnwritableFields(const Project& project);

// Folder of the project files: the current directory followed by "/save/".
std::string SaveFolder();

// A typed project file name with ".tvp" appended unless it is longer than three characters and
// already ends with exactly ".tvp".
std::string ProjectFileName(const std::string& typed);

// Names of the regular files matching "*.tvp" in `folder`, sorted; empty when the folder is missing.
std::vector<std::string> ListProjectFiles(const std::string& folder);

} // namespace tav
