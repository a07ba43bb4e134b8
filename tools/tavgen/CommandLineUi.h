#pragma once

#include "codegen/GenerationUi.h"
#include "tavgen/Tavgen.h"

#include <optional>
#include <stdexcept>
#include <string>

namespace tav {

// A question that neither an option nor a terminal can answer; it ends the run.
class UnansweredQuestion : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class OverwritePolicy { Always, Never, Ask };

// What a dry run prints: a line per file, a diff of each new or changed file, or a line per new or
// changed file only.
enum class DryRunOutput { Lines, Diff, Changes };

struct GenerateSettings {
    std::string outputFolder;
    OverwritePolicy overwrite = OverwritePolicy::Ask;
    bool copyArt = false;
    bool makeFolder = false;
    std::optional<std::string> startup;
    FileHandling handling;
    DryRunOutput dryRunOutput = DryRunOutput::Lines;
    // Whether the completion message is printed (tavgen run builds on quietly).
    bool tellCompletion = true;
};

// Answers a generation run's questions from tavgen's options, and asks on the terminal what they
// leave open.
class CommandLineUi : public GenerationUi {
public:
    CommandLineUi(GenerateSettings settings, std::ostream& out, std::ostream& err, Terminal* terminal)
        : settings_(std::move(settings)), out_(out), err_(err), terminal_(terminal) {}

    int AskOverwrite(const std::string& message) override;
    bool AskYesNo(YesNoQuestion which, const std::string& question) override;
    void ShowMessage(const std::string& message, MessageKind kind) override;
    std::optional<std::string> ChooseStartupScreen(const Project& project) override;
    std::optional<std::string> ChooseDestination(DestinationRequest request) override;
    void Warn(const std::string& message) override;
    FileHandling Handling() const override { return settings_.handling; }
    // In a dry run, prints what would become of the file.
    void FileHandled(const FileReport& report) override;

    // Set when the run stopped at the destination (a missing folder without --mkdir, ...).
    int stopStatus() const { return stopStatus_; }
    // The files handled so far that are new or changed.
    int changedFiles() const { return changedFiles_; }

private:
    // Asks `question` on the terminal until one of `answers` (single letters) is typed.
    char AskTerminal(const std::string& question, const std::string& answers);

    GenerateSettings settings_;
    std::ostream& out_;
    std::ostream& err_;
    Terminal* terminal_;
    int stopStatus_ = kExitOk;
    int changedFiles_ = 0;
};

} // namespace tav
