#pragma once

#include <string>
#include <vector>

namespace tav {

class Project;

// Bitmap paths of a project file are portable: one inside the project's folder is stored relative to
// that folder, one of the designer's art folder as "art/NAME"; others stay as they are. In memory a
// stored relative path that names a file of the project's folder becomes that file's absolute path,
// so the design view, the code generator and the undo history never depend on where the file lies.

// The folder of a project file: absolute, without "." parts or a trailing separator.
std::string FolderOf(const std::string& projectFile);

// Every field of the project's screens and objects that names a bitmap, used by its kind or not.
std::vector<std::string*> AllBitmapFields(Project& project);

// `path` relative to `folder` when it lies inside it, else empty. An absolute path without ".." is
// judged as written (a link inside the folder stays inside); otherwise links and ".." are resolved
// as the system resolves them, so that "link/.." never passes for the folder itself.
std::string PathInside(const std::string& path, const std::string& folder);

// How a bitmap path is stored in a project file whose folder is `folder`.
std::string PortableBitmapPath(const std::string& path, const std::string& folder);

// True when `path` is the bitmap `name` of the designer's art folder, or holds the same bytes: the art
// that every program built on the library finds beside itself.
bool IsLibraryArt(const std::string& path, const std::string& name);

// The in-memory form of a stored path: a relative path that names a file in `folder` becomes that
// file's absolute path; any other path (a missing file too) is kept as written.
std::string ResolvedBitmapPath(const std::string& path, const std::string& folder);

// Where a relative path is found when not in the project's folder: the current directory, beside
// the program, or the program's ../share/TavCtrls; `path` itself when none has it.
std::string LocateBitmap(const std::string& path);

// The project file read with its bitmap paths resolved against its folder, which becomes the
// project's `folder`. Gives false as Project::ReadProjectFile does.
bool ReadPortableProject(Project& project, const std::string& path, std::string* error = nullptr);

// Writes the project to `path` with every bitmap path in its portable form for `folder` (normally
// FolderOf(path)); the paths in memory stay as they are. On success `folder` becomes the project's.
bool WritePortableProject(Project& project, const std::string& path, const std::string& folder,
                          std::string* error = nullptr);

} // namespace tav
