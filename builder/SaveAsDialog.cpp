#include "builder/SaveAsDialog.h"

#include "model/ProjectFile.h"

namespace tav::builder {

SaveAsDialog::SaveAsDialog(const std::string& startFolder)
    : FileChooser(Mode::SaveProject, startFolder.empty() ? SaveFolder() : startFolder) {}

} // namespace tav::builder
