#include "ScriptedUi.h"

#include <gtest/gtest.h>

namespace tav::test {

int ScriptedUi::AskOverwrite(const std::string& message) {
    log.push_back("overwrite: " + message);
    if (overwriteAnswers.empty()) {
        ADD_FAILURE() << "unexpected question: " << message;
        return kAnswerNever;
    }
    const int answer = overwriteAnswers.front();
    overwriteAnswers.pop_front();
    return answer;
}

bool ScriptedUi::AskYesNo(YesNoQuestion, const std::string& question) {
    log.push_back("yesno: " + question);
    if (yesNoAnswers.empty()) {
        ADD_FAILURE() << "unexpected question: " << question;
        return false;
    }
    const bool answer = yesNoAnswers.front();
    yesNoAnswers.pop_front();
    return answer;
}

void ScriptedUi::ShowMessage(const std::string& message, MessageKind kind) {
    log.push_back((kind == MessageKind::Error ? "error: " : "message: ") + message);
}

std::optional<std::string> ScriptedUi::ChooseStartupScreen(const Project&) {
    log.push_back("startup");
    return startupChoice;
}

std::optional<std::string> ScriptedUi::ChooseDestination(DestinationRequest) {
    log.push_back("destination");
    return destination;
}

void ScriptedUi::Warn(const std::string& message) {
    log.push_back("warning: " + message);
}

void MakeGame(Project& project) {
    project.name = "Game";
    project.AddScreen(MakeScreen("Title"));
    project.AddScreen(MakeScreen("Menu"));
    project.Screen(0).startup = 1;
    project.AddObject(MakeObject(ObjectKind::Button, "Title", "Start"));
}

std::string OverwriteQuestion(const TempDir& out, const std::string& file) {
    return "overwrite: " + (out / file) + " already exists. Do you want to overwrite it?";
}

} // namespace tav::test
