#pragma once

#include <string>

namespace tav {

class GenerationUi;
class Project;

// The build project file of the run: Release and Debug configurations, every ".cpp" and every
// ".h" of `generatedFiles` by file name, in the order handled.
std::string BuildProjectFileText(const Project& project);

// Writes it as folder/«Project».dsp through the overwrite protocol (not listed in `generatedFiles`).
std::string WriteBuildProjectFile(Project& project, const std::string& folder, GenerationUi& ui);

} // namespace tav
