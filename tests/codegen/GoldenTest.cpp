#include "ScriptedUi.h"
#include "codegen/CMakeProjectFile.h"
#include "codegen/GenerateCommands.h"
#include "codegen/GeneratedFile.h"
#include "codegen/ProjectCodeGenerator.h"
#include "model/BitmapPaths.h"
#include "model/FileIo.h"
#include "tests/support/TestSupport.h"

#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <sys/resource.h>

namespace tav::test {
namespace {

namespace fs = std::filesystem;

const std::string kGoldenDir = TAV_SOURCE_DIR "/tests/codegen/golden/";

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
    EXPECT_TRUE(ReadPortableProject(project, TAV_EXAMPLES_DIR "/" + name, &error)) << error;
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
            // Every bitmap is found from the project's folder and copied, wherever the tests run.
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

// A project named main gets MyMain as its entry point's file. Buttons open, close and quit (a full
// screen's close quits), with hostile texts in every literal.
TEST(GoldenTest, ProjectNamedMainAndClickActions) {
    for (const std::string golden : {"hello-named-main", "clicks"}) {
        Project project;
        LoadExample(project, golden == "clicks" ? "../tests/e2e/clicks.tvp" : "hello.tvp");
        project.name = golden == "clicks" ? project.name : "main";
        TempDir out;
        ScriptedUi quiet;
        EXPECT_EQ(GenerateProjectCode(project, out.path(), quiet), "");
        EXPECT_TRUE(quiet.log.empty());
        ExpectMatchesGolden(out.path(), {golden});
    }
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

// The files of a run in the order they are written; the CMakeLists.txt comes after the build project file.
const std::vector<std::string> kRunFiles = {"Game.h", "Game.cpp", "main.cpp", "Title.h",       "Title.cpp",
                                            "Menu.h", "Menu.cpp", "Game.dsp", "CMakeLists.txt"};
const std::string kOld = "old contents";

// The generated sources, as the run lists them: neither build file is listed.
std::vector<std::string> Listed(const TempDir& out) {
    std::vector<std::string> paths;
    for (const std::string& file : kRunFiles)
        if (file.ends_with(".cpp") || file.ends_with(".h"))
            paths.push_back(out / file);
    return paths;
}

TEST(OverwriteProtocolTest, AnswersAgainstExistingAndMissingFiles) {
    const std::vector<std::string>& all = kRunFiles;
    const int A = kAnswerAlways, Y = kAnswerYes, N = kAnswerNo, V = kAnswerNever;
    const struct {
        std::vector<std::string> existing;
        std::deque<int> answers;
        std::vector<std::string> askedAt;
        std::vector<std::string> written;
    } cases[] = {
        {{}, {}, {}, all},
        {all, {A}, {"Game.h"}, all},
        {all, {V}, {"Game.h"}, {}},
        {all,
         {Y, N, Y, N, Y, N, Y, N, Y},
         all,
         {"Game.h", "main.cpp", "Title.cpp", "Menu.cpp", "CMakeLists.txt"}},
        // A No also skips the missing files after it, up to the next existing one.
        {{"Game.cpp", "Menu.h"},
         {N, Y},
         {"Game.cpp", "Menu.h"},
         {"Game.h", "Menu.h", "Menu.cpp", "Game.dsp", "CMakeLists.txt"}},
        {{"main.cpp"}, {Y}, {"main.cpp"}, all},
        {{"CMakeLists.txt"}, {N}, {"CMakeLists.txt"}, std::vector<std::string>(all.begin(), all.end() - 1)},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        SCOPED_TRACE("row " + std::to_string(i));
        Project project;
        MakeGame(project);
        TempDir out;
        for (const std::string& file : c.existing)
            WriteFile(out / file, kOld);
        ScriptedUi ui;
        ui.overwriteAnswers = c.answers;
        EXPECT_EQ(GenerateProjectCode(project, out.path(), ui), "");
        EXPECT_EQ(WriteCMakeProjectFile(project, out.path(), ui), "");

        std::vector<std::string> expectedLog;
        for (const std::string& file : c.askedAt)
            expectedLog.push_back(OverwriteQuestion(out, file));
        EXPECT_EQ(ui.log, expectedLog);
        EXPECT_TRUE(ui.overwriteAnswers.empty());
        for (const std::string& file : kRunFiles) {
            const bool written = std::find(c.written.begin(), c.written.end(), file) != c.written.end();
            const bool existed = std::find(c.existing.begin(), c.existing.end(), file) != c.existing.end();
            if (written)
                EXPECT_NE(ReadFile(out / file), kOld) << file << " should be written";
            else if (existed)
                EXPECT_EQ(ReadFile(out / file), kOld) << file << " should be left alone";
            else
                EXPECT_FALSE(FileExists(out / file)) << file << " should be skipped";
        }
        // Skipped files are listed all the same.
        EXPECT_EQ(project.generatedFiles, Listed(out));
    }
}

TEST(OverwriteProtocolTest, UnopenableFileEndsTheRunAndKeepsWhatWasWritten) {
    // A folder where a file should go cannot be opened; nothing after it is written.
    for (const std::size_t blocked : {4u, 7u, 8u}) {
        SCOPED_TRACE(kRunFiles[blocked]);
        Project project;
        MakeGame(project);
        TempDir out;
        fs::create_directory(out / kRunFiles[blocked]);
        ScriptedUi ui;
        ui.destination = out.path();
        ui.yesNoAnswers = {false};
        EXPECT_EQ(GenerateEntireProject(&project, ui, {.cmakeProject = true}), GenerationOutcome::Failed);
        EXPECT_EQ(ui.log, (std::vector<std::string>{"destination", kCopyQuestion,
                                                    "error: Error Opening " + (out / kRunFiles[blocked])}));
        for (std::size_t i = 0; i < kRunFiles.size(); ++i)
            EXPECT_EQ(fs::is_regular_file(out / kRunFiles[i]), i < blocked) << kRunFiles[i];
        const std::vector<std::string> all = Listed(out);
        EXPECT_EQ(project.generatedFiles,
                  std::vector<std::string>(all.begin(), all.begin() + std::min(blocked + 1, all.size())));
    }
    Project project;
    MakeGame(project);
    TempDir out;
    ScriptedUi ui;
    EXPECT_EQ(GenerateProjectCode(project, out / "missing", ui), "Error Opening " + (out / "missing/Game.h"));
}

// Links in the output folder are replaced, never written through; special and read-only files are
// refused without being opened (a FIFO would block).
TEST(OverwriteProtocolTest, GenerationNeverWritesOutsideItsFolderNorOverASpecialFile) {
    Project project;
    MakeGame(project);
    TempDir out, outside;
    WriteFile(outside / "victim", kOld);
    fs::create_symlink(outside / "victim", out / "Game.h");
    fs::create_symlink(outside / "created", out / "Game.cpp");
    ScriptedUi ui;
    project.overwriteAnswer = kAnswerAlways;
    EXPECT_EQ(GenerateProjectCode(project, out.path(), ui), "");
    EXPECT_EQ(ReadFile(outside / "victim"), kOld);
    EXPECT_FALSE(fs::exists(outside / "created"));
    EXPECT_TRUE(ReadFile(out / "Game.cpp").starts_with("#include"));
    for (const bool fifo : {true, false}) {
        TempDir special;
        const std::string blocked = special / "Game.h";
        fifo ? ::mkfifo(blocked.c_str(), 0600) : (WriteFile(blocked, kOld), ::chmod(blocked.c_str(), 0444));
        EXPECT_EQ(GenerateProjectCode(project, special.path(), ui), "Error Opening " + blocked);
        EXPECT_EQ(fs::is_fifo(blocked), fifo);
        EXPECT_EQ(fs::directory_iterator(special.path())->path(), blocked) << "nothing else written";
    }
}

TEST(OverwriteProtocolTest, ReplacedFileKeepsItsModeAndIsNeverLeftHalfWritten) {
    Project project;
    MakeGame(project);
    TempDir out;
    WriteFile(out / "Game.h", kOld);
    ScriptedUi ui;
    ui.overwriteAnswers = {kAnswerAlways};
    ASSERT_EQ(GenerateProjectCode(project, out.path(), ui), "");
    EXPECT_TRUE(ReadFile(out / "Game.h").starts_with("#ifndef Game_H\r\n"));

    // A write that fails (past the file size limit, as on a full disk) is reported and keeps the old file.
    TempDir full;
    WriteFile(full / "Game.cpp", kOld);
    ui.overwriteAnswers = {kAnswerYes};
    project.overwriteAnswer = kAnswerYes;
    const int status = RunInChild([&] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{1024, 1024};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        return GenerateProjectCode(project, full.path(), ui) == "Error Writing " + (full / "Game.cpp") ? 0
                                                                                                       : 1;
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(ReadFile(full / "Game.cpp"), kOld);
    EXPECT_FALSE(FileExists(full / "main.cpp"));
}

} // namespace
} // namespace tav::test
