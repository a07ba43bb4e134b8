#pragma once

#include <optional>
#include <string>

class CTavScreen;

namespace tav::builder {

// Modal popups over `parent` (on its innermost modal screen) that stand in for the system's file-open
// dialog and folder browser. They give the chosen full path, or nothing when cancelled, and leave the
// current directory unchanged.
std::optional<std::string> ChooseBitmapFile(CTavScreen* parent, const std::string& startFolder = "");
// The bitmap chooser of a field that names `current`: it starts beside that bitmap when it lies in the
// project's folder `projectFolder`, else in that folder (the current directory when it is empty).
std::optional<std::string> ChooseBitmapFor(CTavScreen* parent, const std::string& current,
                                           const std::string& projectFolder);
std::optional<std::string> ChooseFolder(CTavScreen* parent, const std::string& startFolder = "");

} // namespace tav::builder
