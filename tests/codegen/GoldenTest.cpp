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
const char* kCopyQuestion =
    "yesno: Do you want to move copy bitmaps into art folder in your project and make their path relative?";
const char* kCompleteMessage =
    "message: Code generation complete.\nSee the documenation on how to use TavCtrls "
    "class libraries to add more functionality to your program.";

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
        const std::set<std::string> files = FilesIn(kGoldenDir + golden);
        ASSERT_FALSE(files.empty());
        for (const std::string& name : files) {
            EXPECT_TRUE(expected.insert(name).second) << name << " is in two golden folders";
            EXPECT_EQ(ReadFile(output + "/" + name), ReadFile(kGoldenDir + golden + "/" + name))
                << golden << "/" << name;
        }
    }
    EXPECT_EQ(FilesIn(output), expected);
}

void ExpectMatchesGolden(const std::string& output, const std::string& golden) {
    ExpectMatchesGolden(output, std::vector<std::string>{golden});
}

void LoadExample(Project& project, const std::string& name) {
    std::string error;
    ASSERT_TRUE(project.ReadProjectFile(TAV_EXAMPLES_DIR "/" + name, &error)) << error;
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
            EXPECT_EQ(ui.log, (std::vector<std::string>{"destination", kCopyQuestion, kCompleteMessage}));
            EXPECT_EQ(project.artRelocated, copyArt ? 1 : 0);
            // The CMakeLists.txt is the same either way: it looks for the art folder when configured.
            std::vector<std::string> goldens = {copyArt ? "showcase-art" : "showcase"};
            if (cmake)
                goldens.push_back("showcase-cmake");
            ExpectMatchesGolden(out.path(), goldens);
        }
    }
}

TEST(GoldenTest, CMakeProjectOfHello) {
    Project project;
    LoadExample(project, "hello.tvp");
    TempDir out;
    ScriptedUi ui;
    ui.destination = out.path();
    ui.yesNoAnswers = {false};
    EXPECT_EQ(GenerateEntireProject(&project, ui, {.cmakeProject = true}), GenerationOutcome::Completed);
    EXPECT_EQ(ReadFile(out / "CMakeLists.txt"), ReadFile(kGoldenDir + "hello-cmake/CMakeLists.txt"));
}

TEST(GoldenTest, ProjectNamedMainGetsMyMainAsEntryPoint) {
    Project project;
    LoadExample(project, "hello.tvp");
    project.name = "main";
    TempDir out;
    ScriptedUi ui;
    EXPECT_EQ(GenerateProjectCode(project, out.path(), ui), "");
    EXPECT_TRUE(ui.log.empty());
    ExpectMatchesGolden(out.path(), "hello-named-main");
}

TEST(GoldenTest, ThisScreenOnlyWritesTheScreenClassAlone) {
    // A screen item and an object item of that screen select the same screen.
    for (const TreeSelection& selection :
         {TreeSelection{"Settings", 1, "Showcase"}, TreeSelection{"MusicCheck", 2, "Settings"}}) {
        Project project;
        LoadExample(project, "showcase.tvp");
        TempDir out;
        ScriptedUi ui;
        ui.destination = out.path();
        ui.yesNoAnswers = {false};
        EXPECT_EQ(GenerateThisScreen(&project, selection, ui), GenerationOutcome::Completed);
        EXPECT_EQ(ui.log, (std::vector<std::string>{"destination", kCopyQuestion,
                                                    "message: Code generation complete"}));
        ExpectMatchesGolden(out.path(), "showcase-settings-only");
        EXPECT_EQ(project.generatedFiles,
                  (std::vector<std::string>{out / "Settings.h", out / "Settings.cpp"}));
    }
}

TEST(GoldenTest, EntryPointAtEveryDepthAndInWindowMode) {
    struct Case {
        AppMode mode;
        int depth;
        const char* golden;
    };
    for (const Case& c :
         {Case{AppMode::FullScreen, 16, "fullscreen-16.cpp"},
          Case{AppMode::FullScreen, 24, "fullscreen-24.cpp"},
          Case{AppMode::FullScreen, 32, "fullscreen-32.cpp"}, Case{AppMode::Window, 32, "window-32.cpp"}}) {
        Project project;
        LoadExample(project, "hello.tvp");
        project.appMode = c.mode;
        project.bitsPerPixel = c.depth;
        EXPECT_EQ(WithCrLf(EntryPointText(project, "Welcome")),
                  ReadFile(kGoldenDir + "entry-points/" + c.golden))
            << c.golden;
    }
}

} // namespace
} // namespace tav::test
