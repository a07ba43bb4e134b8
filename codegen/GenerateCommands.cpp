#include "codegen/GenerateCommands.h"

#include "codegen/BitmapRelocation.h"
#include "codegen/CMakeProjectFile.h"
#include "codegen/GeneratedFile.h"
#include "codegen/GenerationUi.h"
#include "codegen/ProjectCodeGenerator.h"
#include "codegen/ScreenClassGenerator.h"
#include "model/CodeNames.h"
#include "model/Project.h"

#include <vector>

namespace tav {

namespace {

constexpr const char* kNoProject = "There is no project loaded";
constexpr const char* kCopyQuestion =
    "Do you want to move copy bitmaps into art folder in your project and make their path relative?";

void StartRun(Project& project) {
    project.overwriteAnswer = kAnswerYes;
    project.artRelocated = 0;
    project.generatedFiles.clear();
    project.keptCode.clear();
}

GenerationOutcome Complete(const Project& project, GenerationUi& ui, const GenerationOptions& options,
                           std::string message) {
    if (ui.Handling().dryRun)
        return GenerationOutcome::Completed;
    if (const std::string kept = KeptCodeSummary(project, false); options.keptCodeInMessage && !kept.empty())
        message += "\n" + kept;
    ui.ShowMessage(message, MessageKind::Information);
    return GenerationOutcome::Completed;
}

GenerationOutcome Fail(GenerationUi& ui, const std::string& message) {
    ui.ShowMessage(message, MessageKind::Error);
    return GenerationOutcome::Failed;
}

// Offers to copy the screens' bitmaps into the output's art folder; sets `artRelocated` once
// every copy call succeeded. Gives the message that ends the command, or an empty text.
std::string OfferRelocation(Project& project, const std::string& folder, const std::vector<int>& screens,
                            GenerationUi& ui) {
    if (!ui.AskYesNo(YesNoQuestion::CopyBitmaps, kCopyQuestion))
        return {};
    CopiedBitmaps copied;
    for (const int index : screens)
        if (std::string error = CopyScreenBitmaps(project, folder, index, ui, copied); !error.empty())
            return error;
    project.artRelocated = 1;
    return {};
}

// Refuses a project whose generated code would not compile, listing every reason.
bool RefuseBrokenCode(const Project& project, GenerationUi& ui) {
    const std::vector<CodeProblem> problems = CheckCode(project);
    if (problems.empty())
        return false;
    std::string message = "Cannot generate code:";
    for (const CodeProblem& problem : problems)
        message.append("\n").append(DescribeProblem(problem));
    ui.ShowMessage(message, MessageKind::Error);
    return true;
}

// The screen a tree selection stands for, or -1.
int SelectedScreenIndex(const Project& project, const std::optional<TreeSelection>& selection) {
    if (!selection || selection->level == 0)
        return -1;
    return project.FindScreenIndex(selection->level == 2 ? selection->parentText : selection->text);
}

} // namespace

GenerationOutcome GenerateEntireProject(Project* project, GenerationUi& ui,
                                        const GenerationOptions& options) {
    if (project == nullptr)
        return Fail(ui, kNoProject);
    StartRun(*project);
    if (RefuseBrokenCode(*project, ui))
        return GenerationOutcome::Failed;
    const std::optional<std::string> folder = ui.ChooseDestination(DestinationRequest::EntireProject);
    if (!folder)
        return GenerationOutcome::Stopped;
    std::vector<int> screens;
    for (int i = 0; i < project->ScreenCount(); ++i)
        screens.push_back(i);
    if (std::string error = OfferRelocation(*project, *folder, screens, ui); !error.empty())
        return Fail(ui, error);
    if (folder->empty())
        return GenerationOutcome::Stopped;
    if (std::string error = GenerateProjectCode(*project, *folder, ui); !error.empty())
        return Fail(ui, error);
    if (options.cmakeProject) {
        if (std::string error = WriteCMakeProjectFile(*project, *folder, ui); !error.empty())
            return Fail(ui, error);
    }
    return Complete(
        *project, ui, options,
        "Code generation complete.\nSee the documenation on how to use TavCtrls class libraries to "
        "add more functionality to your program.");
}

GenerationOutcome GenerateThisScreen(Project* project, const std::optional<TreeSelection>& selection,
                                     GenerationUi& ui, const GenerationOptions& options) {
    if (project == nullptr)
        return Fail(ui, kNoProject);
    StartRun(*project);
    const int index = SelectedScreenIndex(*project, selection);
    if (index < 0)
        return Fail(ui, "No Screen Selected");
    if (RefuseBrokenCode(*project, ui))
        return GenerationOutcome::Failed;
    const std::optional<std::string> folder = ui.ChooseDestination(DestinationRequest::ThisScreen);
    if (!folder)
        return GenerationOutcome::Stopped;
    if (std::string error = OfferRelocation(*project, *folder, {index}, ui); !error.empty())
        return Fail(ui, error);
    if (folder->empty())
        return GenerationOutcome::Stopped;
    if (std::string error = GenerateScreenClass(*project, *folder, ui, index); !error.empty())
        return Fail(ui, error);
    return Complete(*project, ui, options, "Code generation complete");
}

} // namespace tav
