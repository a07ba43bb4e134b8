#include "builder/SaveAsDialog.h"

#include "model/ProjectFile.h"

namespace tav::builder {

SaveAsDialog::SaveAsDialog(const std::string& startFolder, const std::string& name)
    : FileChooser(Mode::SaveProject, startFolder.empty() ? SaveFolder() : startFolder) {
    initialName = name;
}

} // namespace tav::builder
