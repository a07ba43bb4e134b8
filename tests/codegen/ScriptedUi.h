#pragma once

#include "codegen/GenerationUi.h"
#include "tests/support/TestSupport.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace tav::test {

// Answers a generation run from a script and records every question and message in order, as
// "overwrite: TEXT", "yesno: TEXT", "message: TEXT", "error: TEXT", "startup", "destination",
// "warning: TEXT". A question without a scripted answer fails the test.
class ScriptedUi : public GenerationUi {
public:
    std::deque<int> overwriteAnswers;
    std::deque<bool> yesNoAnswers;
    std::optional<std::string> startupChoice;
    std::optional<std::string> destination;
    std::vector<std::string> log;

    int AskOverwrite(const std::string& message) override;
    bool AskYesNo(YesNoQuestion which, const std::string& question) override;
    void ShowMessage(const std::string& message, MessageKind kind) override;
    std::optional<std::string> ChooseStartupScreen(const Project& project) override;
    std::optional<std::string> ChooseDestination(DestinationRequest request) override;
    void Warn(const std::string& message) override;
};

inline const std::string kCopyQuestion =
    "yesno: Do you want to move copy bitmaps into art folder in your project and make their path relative?";
inline const std::string kComplete = "message: Code generation complete.\nSee the documenation on how to use "
                                     "TavCtrls class libraries to add more functionality to your program.";

// Game: Title (the startup screen, with a button) and Menu.
void MakeGame(Project& project);

// The logged question for the existing file `file` of `out`.
std::string OverwriteQuestion(const TempDir& out, const std::string& file);

} // namespace tav::test
