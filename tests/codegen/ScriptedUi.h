#pragma once

#include "codegen/GenerationUi.h"
#include "tests/support/TestSupport.h"

#include <deque>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <set>
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
    FileHandling handling;
    std::vector<FileReport> reports;

    int AskOverwrite(const std::string& message) override {
        log.push_back("overwrite: " + message);
        return Next<int>(overwriteAnswers, message, kAnswerNever);
    }
    bool AskYesNo(YesNoQuestion, const std::string& question) override {
        log.push_back("yesno: " + question);
        return Next(yesNoAnswers, question, false);
    }
    void ShowMessage(const std::string& message, MessageKind kind) override {
        log.push_back((kind == MessageKind::Error ? "error: " : "message: ") + message);
    }
    std::optional<std::string> ChooseStartupScreen(const Project&) override {
        log.push_back("startup");
        return startupChoice;
    }
    std::optional<std::string> ChooseDestination(DestinationRequest) override {
        log.push_back("destination");
        return destination;
    }
    void Warn(const std::string& message) override { log.push_back("warning: " + message); }
    FileHandling Handling() const override { return handling; }
    void FileHandled(const FileReport& report) override { reports.push_back(report); }

private:
    template <class T>
    static T Next(std::deque<T>& answers, const std::string& question, T none) {
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected question: " << question;
            return none;
        }
        const T answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

inline const std::string kCopyQuestion =
    "yesno: Do you want to move copy bitmaps into art folder in your project and make their path relative?";
inline const std::string kComplete = "message: Code generation complete.\nSee the documenation on how to use "
                                     "TavCtrls class libraries to add more functionality to your program.";

// Game: Title (the startup screen, with a button) and Menu.
inline void MakeGame(Project& project) {
    project.name = "Game";
    test::AddScreen(project, "Title").startup = 1;
    project.AddScreen(MakeScreen("Menu"));
    project.AddObject(MakeObject(ObjectKind::Button, "Title", "Start"));
}

// The names of the regular files in `folder`.
inline std::set<std::string> FilesIn(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.is_regular_file())
            names.insert(entry.path().filename().string());
    return names;
}

// The logged question for the existing file `file` of `out`.
inline std::string OverwriteQuestion(const TempDir& out, const std::string& file) {
    return "overwrite: " + (out / file) + " already exists. Do you want to overwrite it?";
}

} // namespace tav::test
