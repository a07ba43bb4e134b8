#pragma once

#include "builder/FileChooser.h"

#include <string>

namespace tav::builder {

// Picks a project file in any folder, starting in `startFolder` (the save folder when empty, the
// current directory when that is missing). Afterwards `resultPath` is its full path when `confirmed`.
class OpenProjectDialog : public FileChooser {
public:
    explicit OpenProjectDialog(const std::string& startFolder = "");
};

} // namespace tav::builder
