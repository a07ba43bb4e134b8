#pragma once

#include <string>

namespace tav {

class GenerationUi;
class Project;

// The project's name as a CMake target: characters CMake does not allow in a target name become
// "_", and a name CMake keeps for itself ("all", "test", ...) gets "_program" appended.
std::string CMakeTargetName(const std::string& projectName);

// A CMakeLists.txt that builds the generated program against the installed TavCtrls package from
// every ".cpp" of `generatedFiles`, in the order handled, and copies the library's bitmaps and the
// output's art folder (when there is one) beside the executable.
std::string CMakeProjectFileText(const Project& project);

// Writes it as folder/CMakeLists.txt through the overwrite protocol (not listed in `generatedFiles`).
std::string WriteCMakeProjectFile(Project& project, const std::string& folder, GenerationUi& ui);

} // namespace tav
