#pragma once

#include <map>
#include <set>
#include <string>

namespace tav {

class GenerationUi;
class Project;

bool IsDirectory(const std::string& path);

// Creates the last component of `folder` only (its parent must exist); false on failure.
bool CreateOneDirectory(const std::string& folder);

// True when `folder` exists, or the user agreed to create it and it was created; shows
// "Error creating directory" when that failed.
bool EnsureDirectory(const std::string& folder, GenerationUi& ui);

// What the copies of one run did so far: the source behind each file name of the art folder (so
// that a second source with that name can be reported) and the sources already reported.
struct CopiedBitmaps {
    std::map<std::string, std::string> sourceOf;
    std::set<std::string> reported;
};

// Copies the bitmaps that screen `screenIndex` and its objects use into folder/art, never
// replacing a file that is already there. Sources that cannot be copied are reported with
// `ui.Warn` and otherwise passed over. A dry run copies nothing and makes no folder. Gives an empty text,
// "Invalid Screen" or "Error creating directory".
std::string CopyScreenBitmaps(const Project& project, const std::string& folder, int screenIndex,
                              GenerationUi& ui, CopiedBitmaps& copied);

} // namespace tav
