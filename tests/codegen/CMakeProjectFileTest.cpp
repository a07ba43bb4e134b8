#include "codegen/CMakeProjectFile.h"
#include "ScriptedUi.h"
#include "codegen/GenerateCommands.h"
#include "model/FileIo.h"
#include "tests/support/TestSupport.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace tav::test {
namespace {

namespace fs = std::filesystem;

const char* kCopyQuestion =
    "yesno: Do you want to move copy bitmaps into art folder in your project and make their path relative?";
const char* kComplete = "message: Code generation complete.\nSee the documenation on how to use TavCtrls "
                        "class libraries to add more functionality to your program.";
const std::vector<std::string> kRunFiles = {"Game.h", "Game.cpp", "main.cpp", "Title.h",       "Title.cpp",
                                            "Menu.h", "Menu.cpp", "Game.dsp", "CMakeLists.txt"};
const std::string kOld = "old contents";

void MakeGame(Project& project) {
    project.name = "Game";
    project.AddScreen(MakeScreen("Title"));
    project.AddScreen(MakeScreen("Menu"));
    project.Screen(0).startup = 1;
}

std::string Question(const TempDir& out, const std::string& file) {
    return "overwrite: " + (out / file) + " already exists. Do you want to overwrite it?";
}

// Generates the entire project Game into `out` with a CMakeLists.txt; gives what the run asked and
// told after the destination and the copy question.
std::vector<std::string> RunWithCMake(Project& project, const TempDir& out, std::deque<int> answers,
                                      GenerationOutcome expected) {
    MakeGame(project);
    ScriptedUi ui;
    ui.destination = out.path();
    ui.yesNoAnswers = {false};
    ui.overwriteAnswers = std::move(answers);
    EXPECT_EQ(GenerateEntireProject(&project, ui, {.cmakeProject = true}), expected);
    EXPECT_TRUE(ui.overwriteAnswers.empty());
    if (ui.log.size() < 2)
        return ui.log;
    EXPECT_EQ(std::vector<std::string>(ui.log.begin(), ui.log.begin() + 2),
              (std::vector<std::string>{"destination", kCopyQuestion}));
    return std::vector<std::string>(ui.log.begin() + 2, ui.log.end());
}

std::vector<std::string> RunWithCMake(const TempDir& out, std::deque<int> answers,
                                      GenerationOutcome expected) {
    Project project;
    return RunWithCMake(project, out, std::move(answers), expected);
}

TEST(CMakeProjectFileTest, OverwriteAnswerOfTheRunGovernsIt) {
    {
        SCOPED_TRACE("Never at the first file keeps it");
        TempDir out;
        for (const std::string& file : kRunFiles)
            WriteFile(out / file, kOld);
        EXPECT_EQ(RunWithCMake(out, {kAnswerNever}, GenerationOutcome::Completed),
                  (std::vector<std::string>{Question(out, "Game.h"), kComplete}));
        EXPECT_EQ(ReadFile(out / "CMakeLists.txt"), kOld);
    }
    {
        SCOPED_TRACE("Always at the first file replaces it");
        TempDir out;
        for (const std::string& file : kRunFiles)
            WriteFile(out / file, kOld);
        EXPECT_EQ(RunWithCMake(out, {kAnswerAlways}, GenerationOutcome::Completed),
                  (std::vector<std::string>{Question(out, "Game.h"), kComplete}));
        EXPECT_TRUE(ReadFile(out / "CMakeLists.txt").starts_with("# Builds the program Game"));
    }
    for (const int answer : {kAnswerNo, kAnswerYes}) {
        SCOPED_TRACE(answer == kAnswerNo ? "No at it alone" : "Yes at it alone");
        TempDir out;
        WriteFile(out / "CMakeLists.txt", kOld);
        EXPECT_EQ(RunWithCMake(out, {answer}, GenerationOutcome::Completed),
                  (std::vector<std::string>{Question(out, "CMakeLists.txt"), kComplete}));
        EXPECT_EQ(ReadFile(out / "CMakeLists.txt") == kOld, answer == kAnswerNo);
        EXPECT_TRUE(FileExists(out / "Game.dsp"));
    }
}

TEST(CMakeProjectFileTest, ComesAfterTheBuildProjectFileWhichDoesNotListIt) {
    TempDir out;
    for (const std::string& file : kRunFiles)
        WriteFile(out / file, kOld);
    std::vector<std::string> expected;
    for (const std::string& file : kRunFiles)
        expected.push_back(Question(out, file));
    expected.push_back(kComplete);
    Project project;
    EXPECT_EQ(RunWithCMake(project, out, std::deque<int>(kRunFiles.size(), kAnswerYes),
                           GenerationOutcome::Completed),
              expected);
    EXPECT_EQ(
        std::count(project.generatedFiles.begin(), project.generatedFiles.end(), out / "CMakeLists.txt"), 0);
    EXPECT_EQ(ReadFile(out / "Game.dsp").find("CMakeLists"), std::string::npos);
    const std::string cmake = ReadFile(out / "CMakeLists.txt");
    EXPECT_NE(cmake.find("add_executable(Game\r\n    Game.cpp\r\n    main.cpp\r\n    Title.cpp\r\n    "
                         "Menu.cpp\r\n)\r\n"),
              std::string::npos)
        << cmake;
    EXPECT_EQ(cmake.find("\n\n"), std::string::npos) << "every line ends with CR LF";
}

TEST(CMakeProjectFileTest, NotWrittenWhenTheRunFails) {
    // A folder where a file should go cannot be opened.
    for (const char* blocked : {"Title.cpp", "Game.dsp", "CMakeLists.txt"}) {
        SCOPED_TRACE(blocked);
        TempDir out;
        fs::create_directory(out / blocked);
        EXPECT_EQ(RunWithCMake(out, {}, GenerationOutcome::Failed),
                  std::vector<std::string>{"error: Error Opening " + (out / blocked)});
        EXPECT_FALSE(fs::is_regular_file(out / "CMakeLists.txt"));
    }
}

TEST(CMakeProjectFileTest, NamesBecomeValidCMakeNames) {
    const std::pair<const char*, const char*> targets[] = {
        {"Showcase", "Showcase"}, {"My Game!", "My_Game_"},          {"a.b+c-d_e", "a.b+c-d_e"},
        {"test", "test_program"}, {"Install", "Install_program"},    {"tests", "tests"},
        {"caf\xc3\xa9", "caf__"}, {"all_build", "all_build_program"}};
    for (const auto& [name, target] : targets)
        EXPECT_EQ(CMakeTargetName(name), target) << name;

    Project project;
    project.name = "My Game";
    project.generatedFiles = {"/o/My Game.h",      "/o/My Game.cpp",      "/o/main.cpp",
                              "/o/Title Screen.h", "/o/Title Screen.cpp", "/o/Cost$\"x.cpp"};
    const std::string text = CMakeProjectFileText(project);
    EXPECT_NE(text.find("\nproject(My_Game CXX)\n"), std::string::npos) << text;
    EXPECT_NE(
        text.find("\nadd_executable(My_Game\n    \"My Game.cpp\"\n    main.cpp\n    \"Title Screen.cpp\"\n"
                  "    \"Cost\\$\\\"x.cpp\"\n)\n"),
        std::string::npos)
        << text;
    EXPECT_NE(text.find("\"$<TARGET_FILE_DIR:My_Game>/art\""), std::string::npos) << text;
    EXPECT_EQ(text.find(".h\n"), std::string::npos) << "headers are not compiled";
}

// Runs CMake's configure step on `source` into `build` against a stand-in TavCtrls package.
int Configure(const std::string& source, const std::string& build, const std::string& package) {
    const std::string command =
        std::string("\"") + TAV_CMAKE_COMMAND + "\" -S \"" + source + "\" -B \"" + build + "\" -G \"" +
        TAV_CMAKE_GENERATOR +
        "\" -DCMAKE_MAKE_PROGRAM=\"" TAV_CMAKE_MAKE_PROGRAM "\" -DCMAKE_CXX_COMPILER=\"" + TAV_CXX_COMPILER +
        "\" -DTavCtrls_DIR=\"" + package + "\" >\"" + build + ".log\" 2>&1";
    return std::system(command.c_str());
}

bool AnyFileMentions(const std::string& folder, const std::string& text) {
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file() && ReadFile(entry.path().string()).find(text) != std::string::npos)
            return true;
    return false;
}

TEST(CMakeProjectFileTest, CMakeConfiguresTheGeneratedProject) {
    TempDir dir;
    fs::create_directory(dir / "package");
    WriteFile(dir / "package/TavCtrlsConfig.cmake", "add_library(TavCtrls::TavCtrls INTERFACE IMPORTED)\n"
                                                    "function(tavctrls_copy_art target)\nendfunction()\n");
    // A reserved target name and a file name that needs quoting.
    Project project;
    project.name = "test";
    project.AddScreen(MakeScreen("Title Screen"));
    project.Screen(0).startup = 1;
    for (const bool withArt : {false, true}) {
        SCOPED_TRACE(withArt ? "with art" : "without art");
        const std::string out = dir / (withArt ? "art-out" : "out");
        fs::create_directory(out);
        if (withArt)
            fs::create_directory(out + "/art");
        ScriptedUi ui;
        ui.destination = out;
        ui.yesNoAnswers = {false};
        ASSERT_EQ(GenerateEntireProject(&project, ui, {.cmakeProject = true}), GenerationOutcome::Completed);
        const std::string build = out + "/build";
        ASSERT_EQ(Configure(out, build, dir / "package"), 0) << ReadFile(build + ".log");
        EXPECT_TRUE(AnyFileMentions(build, "test_program")) << "the program's target";
        EXPECT_EQ(AnyFileMentions(build, "copy_directory"), withArt);
    }
}

} // namespace
} // namespace tav::test
