#pragma once

#include "builder/FileChooser.h"

#include <string>

namespace tav::builder {

// Names the project file in a folder chosen in its lists, starting in `startFolder` (the save folder
// when empty: shown even when missing and made when saving there) with `name` in the name field.
// Afterwards `resultPath` is the full path to write when `confirmed`.
class SaveAsDialog : public FileChooser {
public:
    explicit SaveAsDialog(const std::string& startFolder = "", const std::string& name = "");
};

} // namespace tav::builder
