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

// What a run writes besides the designer's files, and what it tells.
struct GenerationOptions {
    // A CMakeLists.txt for the generated program, written after the build project file.
    bool cmakeProject = false;
    // The completion message says where merges set the user's code aside (tavgen warns instead).
    bool keptCodeInMessage = true;
};

// "GENERATE CODE" > "Entire Project" and "This Screen Only". `project` is null when none is
// loaded. Every question and message goes through `ui`; a dry run shows no completion message.
GenerationOutcome GenerateEntireProject(Project* project, GenerationUi& ui,
                                        const GenerationOptions& options = {});
GenerationOutcome GenerateThisScreen(Project* project, const std::optional<TreeSelection>& selection,
                                     GenerationUi& ui, const GenerationOptions& options = {});

} // namespace tav
