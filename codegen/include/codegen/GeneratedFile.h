#pragma once

#include <string>
#include <string_view>

namespace tav {

class GenerationUi;
class Project;

enum class FileListing { Listed, Unlisted };

// Passes one generated file through the overwrite protocol: asks before an existing file is
// replaced while the answer is Yes or No, records the path in `generatedFiles` (unless Unlisted),
// and writes `text` with every "\n" stored as "\r\n" while the answer is Always or Yes. An existing
// file is replaced only by a complete new one; a symbolic link is replaced itself, never followed,
// and a folder, device, FIFO or read-only file is refused. Gives an empty text, or "Error Opening PATH" /
// "Error Writing PATH" when the file could not be written.
//
// With `ui.Handling().keepUserCode` nothing is asked: an existing file is merged with `text`
// (MergeUserCode, the record of the last generation as base), and left alone when that changes
// nothing. Every file written or merged gets its record, RecordFolder(path)/NAME, holding the stored
// `text`. With `dryRun` nothing is written, and the decisions are those of a real run. Every file
// handled is told to `ui.FileHandled`.
std::string WriteGeneratedFile(Project& project, const std::string& path, GenerationUi& ui,
                               std::string_view text, FileListing listing = FileListing::Listed);

// The folder of the records of the last generation beside `path`: its folder's ".tavgen".
std::string RecordFolder(const std::string& path);

// Where a project's program is generated when no folder is named: beside the project file, named
// after it (hello.tvp gives hello; a file without extension gets ".out" added).
std::string DefaultOutputFolder(const std::string& projectFile);

// True when `folder` holds what a generation leaves: a record, main.cpp, CMakeLists.txt or a build
// project file.
bool HoldsGeneratedFiles(const std::string& folder);

// True when `folder` holds anything but no record of a generation: files of someone else's, which a
// run must not merge into unless the user named the folder.
bool HoldsOtherFiles(const std::string& folder);

// After a run whose merges set user code aside, one line that says how much and in which files;
// empty otherwise.
std::string KeptCodeSummary(const Project& project, bool dryRun);

// `text` with every "\n" turned into "\r\n".
std::string WithCrLf(std::string_view text);

} // namespace tav
