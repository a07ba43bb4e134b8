#pragma once

#include <string>

namespace tav {

// Folder of the running executable, without a trailing separator ("." if it cannot be found).
const std::string& ProgramFolder();

// ProgramFolder() + "/art/" + fileName: where the designer's own bitmaps are installed.
std::string ProgramArtPath(const char* fileName);

} // namespace tav
