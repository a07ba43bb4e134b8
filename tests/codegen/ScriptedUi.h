#pragma once

#include "codegen/GenerationUi.h"

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

} // namespace tav::test
