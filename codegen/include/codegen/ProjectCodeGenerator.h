#pragma once

#include <string>

namespace tav {

class GenerationUi;
class Project;

// Index of the first full screen marked as startup screen, or -1.
int FindStartupScreen(const Project& project);

// "main.cpp", or "MyMain.cpp" for a project named "main".
std::string EntryPointFileName(const Project& project);

// The application class and the entry point; `startup` names the startup screen of the run
// (empty: none).
std::string ApplicationHeaderText(const Project& project);
std::string ApplicationSourceText(const Project& project, const std::string& startup);
std::string EntryPointText(const Project& project, const std::string& startup);

// The whole project into `folder`: the startup screen found or asked for, the application header
// and source, the entry point, every screen class and the build project file. Gives an empty text,
// or the message that ended the run.
std::string GenerateProjectCode(Project& project, const std::string& folder, GenerationUi& ui);

} // namespace tav
