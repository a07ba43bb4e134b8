#include "codegen/CMakeProjectFile.h"
#include "ScriptedUi.h"
#include "codegen/GenerateCommands.h"
#include "model/FileIo.h"
#include "tests/support/TestSupport.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace tav::test {
namespace {

namespace fs = std::filesystem;

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
