#pragma once

#include <optional>
#include <string>

namespace tav {

class GenerationUi;
class Project;

// The item selected in the designer's project tree: its text and level (0 the project, 1 a
// screen, 2 an object), with its parent's text for an object.
struct TreeSelection {
    std::string text;
    int level = 0;
    std::string parentText;
};

// How a command ended; the designer ignores it, tavgen turns it into its exit status.
enum class GenerationOutcome { Completed, Stopped, Failed };

// What an entire-project run writes besides the designer's files.
struct GenerationOptions {
    // A CMakeLists.txt for the generated program, written after the build project file.
    bool cmakeProject = false;
};

// "GENERATE CODE" > "Entire Project" and "This Screen Only". `project` is null when none is
// loaded. Every question and message goes through `ui`.
GenerationOutcome GenerateEntireProject(Project* project, GenerationUi& ui,
                                        const GenerationOptions& options = {});
GenerationOutcome GenerateThisScreen(Project* project, const std::optional<TreeSelection>& selection,
                                     GenerationUi& ui);

} // namespace tav
