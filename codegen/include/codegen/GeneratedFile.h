#pragma once

#include <string>
#include <string_view>

namespace tav {

class GenerationUi;
class Project;

enum class FileListing { Listed, Unlisted };

// Passes one generated file through the overwrite protocol: asks before an existing file is
// replaced while the answer is Yes or No, records the path in `generatedFiles` (unless Unlisted),
// and writes `text` with every "\n" stored as "\r\n" while the answer is Always or Yes. An existing
// file is replaced only by a complete new one; a symbolic link is replaced itself, never followed,
// and a folder, device, FIFO or read-only file is refused. Gives an empty text, or "Error Opening PATH" /
// "Error Writing PATH" when the file could not be written.
std::string WriteGeneratedFile(Project& project, const std::string& path, GenerationUi& ui,
                               std::string_view text, FileListing listing = FileListing::Listed);

// `text` with every "\n" turned into "\r\n".
std::string WithCrLf(std::string_view text);

} // namespace tav
