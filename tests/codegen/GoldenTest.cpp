#include "ScriptedUi.h"
#include "codegen/GenerateCommands.h"
#include "codegen/GeneratedFile.h"
#include "codegen/ProjectCodeGenerator.h"
#include "tests/support/TestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <set>

namespace tav::test {
namespace {

namespace fs = std::filesystem;

const std::string kGoldenDir = TAV_SOURCE_DIR "/tests/codegen/golden/";

std::set<std::string> FilesIn(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.is_regular_file())
            names.insert(entry.path().filename().string());
    return names;
}

// Every file of the golden folders is in `output` with the same bytes, and `output` holds no other
// file (folders such as art/ are not compared).
void ExpectMatchesGolden(const std::string& output, const std::vector<std::string>& goldens) {
    std::set<std::string> expected;
    for (const std::string& golden : goldens) {
        ASSERT_TRUE(fs::is_directory(kGoldenDir + golden)) << "missing golden folder " << golden;
        for (const std::string& name : FilesIn(kGoldenDir + golden)) {
            EXPECT_TRUE(expected.insert(name).second) << name << " is in two golden folders";
            ExpectSameAsGolden(ReadFile(output + "/" + name), kGoldenDir + golden + "/" + name);
        }
    }
    EXPECT_EQ(FilesIn(output), expected);
}

void LoadExample(Project& project, const std::string& name) {
    std::string error;
    EXPECT_TRUE(project.ReadProjectFile(TAV_EXAMPLES_DIR "/" + name, &error)) << error;
}

TEST(GoldenTest, EntireProjectMatchesByteForByte) {
    for (const bool cmake : {false, true}) {
        for (const bool copyArt : {false, true}) {
            SCOPED_TRACE(std::string(copyArt ? "relocated" : "own paths") + (cmake ? ", CMake" : ""));
            Project project;
            LoadExample(project, "showcase.tvp");
            TempDir out;
            ScriptedUi ui;
            ui.destination = out.path();
            ui.yesNoAnswers = {copyArt};
            EXPECT_EQ(GenerateEntireProject(&project, ui, {.cmakeProject = cmake}),
                      GenerationOutcome::Completed);
            // The examples' own bitmaps are not there, which only warns.
            std::erase_if(ui.log, [](const std::string& line) { return line.starts_with("warning: "); });
            EXPECT_EQ(ui.log, (std::vector<std::string>{"destination", kCopyQuestion, kComplete}));
            EXPECT_EQ(project.artRelocated, copyArt ? 1 : 0);
            // The CMakeLists.txt is the same either way: it looks for the art folder when configured.
            std::vector<std::string> goldens = {copyArt ? "showcase-art" : "showcase"};
            if (cmake)
                goldens.push_back("showcase-cmake");
            ExpectMatchesGolden(out.path(), goldens);

            if (cmake || copyArt)
                continue;
            // This Screen Only, from a screen item and from an object item of that screen.
            for (const TreeSelection& selection :
                 {TreeSelection{"Settings", 1, "Showcase"}, TreeSelection{"MusicCheck", 2, "Settings"}}) {
                TempDir one;
                ui.destination = one.path();
                ui.yesNoAnswers = {false};
                ui.log.clear();
                EXPECT_EQ(GenerateThisScreen(&project, selection, ui), GenerationOutcome::Completed);
                EXPECT_EQ(ui.log, (std::vector<std::string>{"destination", kCopyQuestion,
                                                            "message: Code generation complete"}));
                ExpectMatchesGolden(one.path(), {"showcase-settings-only"});
                EXPECT_EQ(project.generatedFiles,
                          (std::vector<std::string>{one / "Settings.h", one / "Settings.cpp"}));
            }
        }
    }
}

// A project named main gets MyMain as its entry point's file.
TEST(GoldenTest, ProjectNamedMain) {
    Project project;
    LoadExample(project, "hello.tvp");
    project.name = "main";
    TempDir out;
    ScriptedUi quiet;
    EXPECT_EQ(GenerateProjectCode(project, out.path(), quiet), "");
    EXPECT_TRUE(quiet.log.empty());
    ExpectMatchesGolden(out.path(), {"hello-named-main"});
}

TEST(GoldenTest, EntryPointAtEveryDepthAndInWindowMode) {
    for (const std::string name : {"fullscreen-16", "fullscreen-24", "fullscreen-32", "window-32"}) {
        Project project;
        LoadExample(project, "hello.tvp");
        project.appMode = name.starts_with("window") ? AppMode::Window : AppMode::FullScreen;
        project.bitsPerPixel = std::stoi(name.substr(name.find('-') + 1));
        ExpectSameAsGolden(WithCrLf(EntryPointText(project, "Welcome")),
                           kGoldenDir + "entry-points/" + name + ".cpp");
    }
}

} // namespace
} // namespace tav::test
