#include "builder/OpenProjectDialog.h"

#include "model/ProjectFile.h"

namespace tav::builder {

OpenProjectDialog::OpenProjectDialog(const std::string& startFolder)
    : FileChooser(Mode::OpenProject, startFolder.empty() ? SaveFolder() : startFolder) {}

} // namespace tav::builder
