#include "ScriptedUi.h"
#include "codegen/ProjectCodeGenerator.h"
#include "model/FileIo.h"
#include "tests/support/TestSupport.h"

#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace tav::test {
namespace {

const std::vector<std::string> kRunFiles = {"Game.h",    "Game.cpp", "main.cpp", "Title.h",
                                            "Title.cpp", "Menu.h",   "Menu.cpp", "Game.dsp"};
const std::string kOld = "old contents";

void MakeGame(Project& project) {
    project.name = "Game";
    project.AddScreen(MakeScreen("Title"));
    project.AddScreen(MakeScreen("Menu"));
    project.Screen(0).startup = 1;
    project.AddObject(MakeObject(ObjectKind::Button, "Title", "Start"));
}

std::string Question(const TempDir& out, const std::string& file) {
    return "overwrite: " + (out / file) + " already exists. Do you want to overwrite it?";
}

std::vector<std::string> Listed(const TempDir& out) {
    std::vector<std::string> paths;
    for (const std::string& file : kRunFiles)
        if (!file.ends_with(".dsp"))
            paths.push_back(out / file);
    return paths;
}

struct ProtocolCase {
    const char* title;
    std::vector<std::string> existing;
    std::deque<int> answers;
    std::vector<std::string> askedAt;
    std::vector<std::string> written;
};

TEST(OverwriteProtocolTest, AnswersAgainstExistingAndMissingFiles) {
    const std::vector<ProtocolCase> cases = {
        {"nothing exists", {}, {}, {}, kRunFiles},
        {"Always at the first", kRunFiles, {kAnswerAlways}, {"Game.h"}, kRunFiles},
        {"Never at the first", kRunFiles, {kAnswerNever}, {"Game.h"}, {}},
        {"Yes and No by turns",
         kRunFiles,
         {kAnswerYes, kAnswerNo, kAnswerYes, kAnswerNo, kAnswerYes, kAnswerNo, kAnswerYes, kAnswerNo},
         kRunFiles,
         {"Game.h", "main.cpp", "Title.cpp", "Menu.cpp"}},
        // A No also skips the missing files after it, up to the next existing one.
        {"No governs missing files",
         {"Game.cpp", "Menu.h"},
         {kAnswerNo, kAnswerYes},
         {"Game.cpp", "Menu.h"},
         {"Game.h", "Menu.h", "Menu.cpp", "Game.dsp"}},
        {"Yes at one file", {"main.cpp"}, {kAnswerYes}, {"main.cpp"}, kRunFiles},
    };
    for (const ProtocolCase& c : cases) {
        SCOPED_TRACE(c.title);
        Project project;
        MakeGame(project);
        TempDir out;
        for (const std::string& file : c.existing)
            WriteFile(out / file, kOld);
        ScriptedUi ui;
        ui.overwriteAnswers = c.answers;
        EXPECT_EQ(GenerateProjectCode(project, out.path(), ui), "");

        std::vector<std::string> expectedLog;
        for (const std::string& file : c.askedAt)
            expectedLog.push_back(Question(out, file));
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

TEST(OverwriteProtocolTest, BuildProjectFileListsSourcesThenHeadersByFileName) {
    Project project;
    MakeGame(project);
    TempDir out;
    ScriptedUi ui;
    ASSERT_EQ(GenerateProjectCode(project, out.path(), ui), "");
    const std::string dsp = ReadFile(out / "Game.dsp");
    std::vector<std::string> entries;
    for (std::size_t at = 0; (at = dsp.find("SOURCE=.\\", at)) != std::string::npos; ++at)
        entries.push_back(dsp.substr(at + 9, dsp.find('\r', at) - at - 9));
    EXPECT_EQ(entries, (std::vector<std::string>{"Game.cpp", "main.cpp", "Title.cpp", "Menu.cpp", "Game.h",
                                                 "Title.h", "Menu.h"}));
    EXPECT_TRUE(dsp.ends_with("# End Target\r\n# End Project\r\n"));
    EXPECT_EQ(dsp.find("\n\n"), std::string::npos) << "every line ends with CR LF";
}

TEST(OverwriteProtocolTest, UnopenableFileEndsTheRunAndKeepsWhatWasWritten) {
    Project project;
    MakeGame(project);
    TempDir out;
    std::filesystem::create_directory(out / "Title.cpp"); // a folder where a file should go
    ScriptedUi ui;
    EXPECT_EQ(GenerateProjectCode(project, out.path(), ui), "Error Opening " + (out / "Title.cpp"));
    for (const char* file : {"Game.h", "Game.cpp", "main.cpp", "Title.h"})
        EXPECT_TRUE(FileExists(out / file)) << file;
    for (const char* file : {"Menu.h", "Menu.cpp", "Game.dsp"})
        EXPECT_FALSE(FileExists(out / file)) << file;
    const std::vector<std::string> all = Listed(out);
    EXPECT_EQ(project.generatedFiles, std::vector<std::string>(all.begin(), all.begin() + 5));

    Project again;
    MakeGame(again);
    EXPECT_EQ(GenerateProjectCode(again, out / "missing", ui), "Error Opening " + (out / "missing/Game.h"));
}

TEST(OverwriteProtocolTest, ReplacedFileKeepsItsModeAndIsNeverLeftHalfWritten) {
    Project project;
    MakeGame(project);
    TempDir out;
    WriteFile(out / "Game.h", kOld);
    std::filesystem::permissions(out / "Game.h", std::filesystem::perms(0640));
    ScriptedUi ui;
    ui.overwriteAnswers = {kAnswerAlways};
    ASSERT_EQ(GenerateProjectCode(project, out.path(), ui), "");
    EXPECT_TRUE(ReadFile(out / "Game.h").starts_with("#ifndef Game_H\r\n"));
    EXPECT_EQ(std::filesystem::status(out / "Game.h").permissions(), std::filesystem::perms(0640));
    for (const auto& entry : std::filesystem::directory_iterator(out.path()))
        EXPECT_NE(entry.path().filename().string()[0], '.') << "temporary file left behind";
}

TEST(OverwriteProtocolTest, FailedWriteIsReportedAndKeepsTheOldFile) {
    Project project;
    MakeGame(project);
    TempDir out;
    WriteFile(out / "Game.cpp", kOld);
    ScriptedUi ui;
    ui.overwriteAnswers = {kAnswerYes};
    const int status = RunInChild([&] {
        std::signal(SIGXFSZ, SIG_IGN); // a write past the limit fails with EFBIG, as on a full disk
        const rlimit limit{1024, 1024};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        return GenerateProjectCode(project, out.path(), ui) == "Error Writing " + (out / "Game.cpp") ? 0 : 1;
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(ReadFile(out / "Game.cpp"), kOld);
    EXPECT_FALSE(FileExists(out / "main.cpp"));
}

} // namespace
} // namespace tav::test
