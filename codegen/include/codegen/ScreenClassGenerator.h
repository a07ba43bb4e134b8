#pragma once

#include <string>

namespace tav {

class GenerationUi;
class Project;

// The header and source of screen `screenIndex` (a valid index), as generated.
std::string ScreenHeaderText(const Project& project, int screenIndex);
std::string ScreenSourceText(const Project& project, int screenIndex);

// Writes the screen's header and then its source into `folder` through the overwrite protocol.
// Gives an empty text, or the message of the first file that could not be written.
std::string GenerateScreenClass(Project& project, const std::string& folder, GenerationUi& ui,
                                int screenIndex);

} // namespace tav
