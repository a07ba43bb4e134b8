#include "codegen/GeneratedFile.h"

#include "codegen/GenerationUi.h"
#include "model/FileIo.h"
#include "model/Project.h"
#include "tavctrls/files/AtomicFile.h"

#include <algorithm>

namespace tav {

namespace {

bool WritesAllowed(int answer) {
    return answer == kAnswerAlways || answer == kAnswerYes;
}

} // namespace

std::string WithCrLf(std::string_view text) {
    std::string converted;
    converted.reserve(text.size() + static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')));
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string_view::npos; start = end + 1)
        converted.append(text.substr(start, end - start)).append("\r\n");
    converted.append(text.substr(start));
    return converted;
}

std::string WriteGeneratedFile(Project& project, const std::string& path, GenerationUi& ui,
                               std::string_view text, FileListing listing) {
    if ((project.overwriteAnswer == kAnswerYes || project.overwriteAnswer == kAnswerNo) && FileExists(path))
        project.overwriteAnswer = ui.AskOverwrite(path + " already exists. Do you want to overwrite it?");
    if (listing == FileListing::Listed)
        project.generatedFiles.push_back(path);
    if (!WritesAllowed(project.overwriteAnswer))
        return {};

    // A link in the output folder is replaced, never written through: generation stays inside it.
    AtomicFile file(path, AtomicFile::Durability::Unsynced, AtomicFile::Links::Replace);
    if (!file.Open())
        return "Error Opening " + path;
    const std::string bytes = WithCrLf(text);
    file.append(bytes.data(), bytes.size());
    if (!file.Commit())
        return "Error Writing " + path;
    return {};
}

} // namespace tav
