#include "CommandLineUi.h"

#include "codegen/BitmapRelocation.h"
#include "codegen/LineDiff.h"
#include "model/FileIo.h"
#include "model/Project.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace tav {

char CommandLineUi::AskTerminal(const std::string& question, const std::string& answers) {
    if (terminal_ == nullptr)
        throw UnansweredQuestion("cannot ask \"" + question + "\" without a terminal");
    std::string line;
    while (true) {
        terminal_->prompt << question << std::flush;
        if (!std::getline(terminal_->in, line))
            throw UnansweredQuestion("no answer to \"" + question + "\"");
        const char answer =
            line.empty() ? '\0' : static_cast<char>(std::tolower(static_cast<unsigned char>(line[0])));
        if (answer != '\0' && answers.find(answer) != std::string::npos)
            return answer;
    }
}

int CommandLineUi::AskOverwrite(const std::string& message) {
    switch (settings_.overwrite) {
    case OverwritePolicy::Always:
        return kAnswerAlways;
    case OverwritePolicy::Never:
        return kAnswerNever;
    case OverwritePolicy::Ask:
        break;
    }
    if (terminal_ == nullptr)
        throw UnansweredQuestion(
            message.substr(0, message.rfind(" Do you")) +
            " Answer with --overwrite=always or --overwrite=never, or run on a terminal.");
    switch (AskTerminal(message + " [a]lways, [y]es, [n]o, ne[v]er: ", "aynv")) {
    case 'a':
        return kAnswerAlways;
    case 'y':
        return kAnswerYes;
    case 'n':
        return kAnswerNo;
    default:
        return kAnswerNever;
    }
}

bool CommandLineUi::AskYesNo(YesNoQuestion which, const std::string& question) {
    switch (which) {
    case YesNoQuestion::CopyBitmaps:
        return settings_.copyArt;
    case YesNoQuestion::CreateDirectory:
        return settings_.makeFolder;
    case YesNoQuestion::SelectStartupScreen:
        if (settings_.startup)
            return true;
        if (terminal_ == nullptr) {
            Warn("the project has no startup screen, so the generated program starts without one "
                 "(choose one with --startup NAME)");
            return false;
        }
        return AskTerminal(question + " [y]es, [n]o: ", "yn") == 'y';
    }
    return false;
}

void CommandLineUi::ShowMessage(const std::string& message, MessageKind kind) {
    if (kind == MessageKind::Information && !settings_.tellCompletion)
        return;
    (kind == MessageKind::Error ? err_ : out_) << message << "\n";
}

std::optional<std::string> CommandLineUi::ChooseStartupScreen(const Project& project) {
    if (settings_.startup)
        return settings_.startup;
    if (terminal_ == nullptr)
        return std::nullopt;
    std::string names;
    for (const auto& screen : project.screens)
        if (screen->type == ScreenType::FullScreen)
            names += "  " + screen->name + "\n";
    terminal_->prompt << "Full screens:\n" << names;
    std::string line;
    while (true) {
        terminal_->prompt << "Startup screen (empty to cancel): " << std::flush;
        if (!std::getline(terminal_->in, line) || line.empty())
            return std::nullopt;
        const ScreenDef* screen = project.FindScreen(line);
        if (screen != nullptr && screen->type == ScreenType::FullScreen)
            return line;
        terminal_->prompt << "\"" << line << "\" is not a full screen of the project\n";
    }
}

std::optional<std::string> CommandLineUi::ChooseDestination(DestinationRequest) {
    const std::string& folder = settings_.outputFolder;
    if (IsDirectory(folder))
        return folder;
    if (FileExists(folder)) {
        err_ << "tavgen: '" << folder << "' is a file, not a folder\n";
        stopStatus_ = kExitUsage;
        return std::nullopt;
    }
    if (!settings_.makeFolder) {
        err_ << "tavgen: output folder '" << folder << "' does not exist (add --mkdir to create it)\n";
        stopStatus_ = kExitUsage;
        return std::nullopt;
    }
    // A dry run makes no folder: its files are all new, unless the folder could not be made.
    if (settings_.handling.dryRun) {
        const std::filesystem::path parent = std::filesystem::path(folder).parent_path();
        if (IsDirectory(parent.empty() ? "." : parent.string()))
            return folder;
        ShowMessage("Error creating directory", MessageKind::Error);
        stopStatus_ = kExitFailures;
        return std::nullopt;
    }
    if (!EnsureDirectory(folder, *this)) {
        stopStatus_ = kExitFailures;
        return std::nullopt;
    }
    return folder;
}

void CommandLineUi::FileHandled(const FileReport& report) {
    if (!settings_.handling.dryRun)
        return;
    const bool changed = report.change != FileChange::Unchanged;
    changedFiles_ += changed ? 1 : 0;
    if (settings_.dryRunOutput == DryRunOutput::Diff) {
        // Labelled as git labels paths, without a leading "/".
        const std::string path =
            report.path.substr(std::min(report.path.find_first_not_of('/'), report.path.size()));
        out_ << UnifiedDiff(report.before, report.after,
                            report.change == FileChange::New ? "/dev/null" : "a/" + path, "b/" + path);
        return;
    }
    if (changed || settings_.dryRunOutput == DryRunOutput::Lines)
        out_ << (report.change == FileChange::New ? "new "
                 : changed                        ? "changed "
                                                  : "unchanged ")
             << report.path << "\n";
}

void CommandLineUi::Warn(const std::string& message) {
    err_ << "warning: " << message << "\n";
}

} // namespace tav
