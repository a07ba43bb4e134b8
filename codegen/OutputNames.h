#pragma once

#include <string>

namespace tav {

class Project;

// Generated files are named after the project and its screens. These checks refuse, before
// anything is written, a name that would put a file outside the output folder (empty, ".", "..",
// or holding a "/", "\" or NUL) and two files of one run that would share a path.
// Each gives the message to show, or an empty text.
std::string CheckProjectOutput(const Project& project);
std::string CheckScreenOutput(const Project& project, int screenIndex);

} // namespace tav
