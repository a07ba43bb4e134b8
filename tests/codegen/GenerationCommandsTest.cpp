#include "ScriptedUi.h"
#include "codegen/BitmapRelocation.h"
#include "codegen/CMakeProjectFile.h"
#include "codegen/CodeMerge.h"
#include "codegen/CodeText.h"
#include "codegen/GenerateCommands.h"
#include "codegen/GeneratedFile.h"
#include "codegen/ProjectCodeGenerator.h"
#include "codegen/ScreenClassGenerator.h"
#include "model/FileIo.h"
#include "model/ProgramFolder.h"
#include "tests/support/TestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <regex>

namespace tav::test {
namespace {

namespace fs = std::filesystem;

const char* kStartupQuestion = "yesno: You haven't selected a startup screen. Do you want to select one?";

TEST(CodeTextTest, PathsLiteralsAndSeconds) {
    const std::pair<const char*, const char*> names[] = {
        {"c:\\art\\b.bmp", "b.bmp"}, {"a\\b/c.bmp", "c.bmp"}, {"plain.bmp", "plain.bmp"}, {"folder/", ""}};
    for (const auto& [path, name] : names)
        EXPECT_EQ(FileNameOf(path), name) << path;
    EXPECT_EQ(EscapeLiteral("c:\\art\\b.bmp"), "c:\\\\art\\\\b.bmp");
    EXPECT_EQ(EscapeLiteral("say \"hi\"\tnow\n\x7f"), "say \\\"hi\\\"\\011now\\012\\177");
    EXPECT_EQ(EscapeLiteral("caf\xc3\xa9 \0017"), "caf\xc3\xa9 \\0017");
    const std::pair<int, const char*> seconds[] = {
        {100, "0.1"},    {1000, "1"},           {33, "0.033"},        {0, "0"}, {7, "0.007"}, {120, "0.12"},
        {-250, "-0.25"}, {123456789, "123457"}, {2000000000, "2e+06"}};
    for (const auto& [ms, text] : seconds)
        EXPECT_EQ(SecondsText(ms), text) << ms;
    // A project's own art is named as the program finds it beside itself only when it is the library's.
    TempDir own;
    Project project;
    project.folder = own.path();
    std::filesystem::create_directory(own / "art");
    std::filesystem::copy_file(ProgramArtPath("plus.bmp"), own / "art/plus.bmp");
    WriteFile(own / "art/minus.bmp", "not the library's minus");
    EXPECT_EQ(CodePath(project, own / "art/plus.bmp") + CodePath(project, ProgramArtPath("checkyes.bmp")),
              "art/plus.bmpart/checkyes.bmp");
    EXPECT_EQ(CodePath(project, own / "art/minus.bmp"), own / "art/minus.bmp");
    EXPECT_EQ(CodePath(project, "/p/pics/a.bmp"), "/p/pics/a.bmp");
}

TEST(GenerationCommandsTest, NothingToGenerateFromOrIntoMeansNothingIsGenerated) {
    ScriptedUi ui;
    EXPECT_EQ(GenerateEntireProject(nullptr, ui), GenerationOutcome::Failed);
    EXPECT_EQ(GenerateThisScreen(nullptr, TreeSelection{"Main", 1, "P"}, ui), GenerationOutcome::Failed);
    Project project;
    project.name = "P";
    project.AddScreen(MakeScreen("Main"));
    EXPECT_EQ(GenerateThisScreen(&project, std::nullopt, ui), GenerationOutcome::Failed);
    EXPECT_EQ(GenerateThisScreen(&project, TreeSelection{"P", 0, ""}, ui), GenerationOutcome::Failed);
    EXPECT_EQ(ui.log, (std::vector<std::string>{"error: There is no project loaded",
                                                "error: There is no project loaded",
                                                "error: No Screen Selected", "error: No Screen Selected"}));

    // A failed copy generates nothing.
    TempDir out;
    WriteFile(out / "art", "not a folder");
    ScriptedUi copying;
    copying.destination = out.path();
    copying.yesNoAnswers = {true};
    EXPECT_EQ(GenerateThisScreen(&project, TreeSelection{"Main", 1, "P"}, copying),
              GenerationOutcome::Failed);
    EXPECT_EQ(copying.log,
              (std::vector<std::string>{"destination", kCopyQuestion, "error: Error creating directory"}));
    EXPECT_FALSE(FileExists(out / "Main.h"));
    EXPECT_EQ(project.artRelocated, 0);
}

TEST(GenerationCommandsTest, StartupScreenIsFoundOrAskedFor) {
    // Picked; declined; the chooser cancelled.
    const std::pair<bool, std::optional<std::string>> cases[] = {
        {true, "Menu"}, {false, std::nullopt}, {true, std::nullopt}};
    for (const auto& [yes, choice] : cases) {
        SCOPED_TRACE(yes);
        Project project;
        project.name = "Game";
        project.AddScreen(MakeScreen("Intro", ScreenType::Popup));
        project.Screen(0).startup = 1; // a popup is never the startup screen
        project.AddScreen(MakeScreen("Menu"));
        project.modified = 0;
        TempDir out;
        ScriptedUi ui;
        ui.yesNoAnswers = {yes};
        ui.startupChoice = choice;
        ASSERT_EQ(GenerateProjectCode(project, out.path(), ui), "");
        const std::vector<std::string> asked = {kStartupQuestion, "startup"};
        EXPECT_EQ(ui.log, std::vector<std::string>(asked.begin(), asked.begin() + (yes ? 2 : 1)));
        const std::string entry = ReadFile(out / "main.cpp");
        const bool picked = choice.has_value();
        EXPECT_EQ(entry.find("#include \"Menu.h\"") != std::string::npos, picked);
        EXPECT_EQ(entry.find("\tMenu *scr = new Menu;\r\n") != std::string::npos, picked);
        EXPECT_EQ(project.Screen(1).startup, picked ? 1 : 0);
        EXPECT_EQ(project.modified, picked ? 1 : 0);
    }
}

TEST(GenerationCommandsTest, ProjectWithoutScreens) {
    Project project;
    project.name = "Bare";
    TempDir out;
    ScriptedUi ui;
    ASSERT_EQ(GenerateProjectCode(project, out.path(), ui), "");
    EXPECT_TRUE(ui.log.empty()) << "no full screen, no question";
    ExpectSameAsGolden(ReadFile(out / "main.cpp"),
                       TAV_SOURCE_DIR "/tests/codegen/golden/texts/no-screens-main.txt");
}

// The commands refuse these as the whole-project check does; the generator itself refuses them too.
TEST(GenerationCommandsTest, NamesThatWouldEscapeTheFolderOrCollideAreRefused) {
    const char* const file = " cannot be used as a file name";
    const struct {
        const char *project, *screen;
        std::string message; // after "Cannot generate code: "
    } cases[] = {
        {"../Evil", "Main", "the project name \"../Evil\"" + std::string(file)},
        {"", "Main", "the project name \"\"" + std::string(file)},
        {"Game", "..", "the screen name \"..\"" + std::string(file)},
        {"Game", "a\\b", "the screen name \"a\\b\"" + std::string(file)},
        {"Game", "Game", "the application class and the screen class Game would both be written to Game.h"},
        {"Game", "main", "the entry point and the screen class main would both be written to main.cpp"},
        {"main", "MyMain", "the entry point and the screen class MyMain would both be written to MyMain.cpp"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        Project project;
        project.name = c.project;
        project.AddScreen(MakeScreen(c.screen));
        project.Screen(0).startup = 1;
        TempDir out;
        ScriptedUi ui;
        ui.destination = out.path();
        EXPECT_EQ(GenerateEntireProject(&project, ui), GenerationOutcome::Failed);
        ASSERT_EQ(ui.log.size(), 1u) << "no question asked";
        EXPECT_EQ(ui.log[0].rfind("error: Cannot generate code:\n", 0), 0u) << ui.log[0];
        EXPECT_EQ(GenerateProjectCode(project, out.path(), ui), "Cannot generate code: " + c.message);
        EXPECT_TRUE(fs::is_empty(out.path()));
    }
    // One screen is generated only from a project that generates whole; every problem is listed.
    Project project;
    project.name = "Game";
    project.AddScreen(MakeScreen("Fine"));
    project.AddScreen(MakeScreen("RGB"));
    project.AddObject(MakeObject(ObjectKind::Object, "Fine", "a b"));
    ScriptedUi ui;
    EXPECT_EQ(GenerateThisScreen(&project, TreeSelection{"Fine", 1, "Game"}, ui), GenerationOutcome::Failed);
    EXPECT_EQ(ui.log,
              std::vector<std::string>{
                  "error: Cannot generate code:\nRGB: The screen class RGB would clash with the library's "
                  "name RGB\nFine/a b: Object name must form a C++ identifier with its screen's name: "
                  "Fine_a b is not one"});
}

TEST(GenerationCommandsTest, LiteralsShowExactlyTheDesignersText) {
    Project project;
    project.name = "Quote\"Game";
    project.AddScreen(MakeScreen("Main"));
    project.Screen(0).background = "d:\\pics\\a.bmp";
    auto& button = test::AddObject(project, ObjectKind::Button, "Main", "Go");
    button.caption = "Say \"hi\"\t\\ now";
    button.fontName = "Odd\"Font";
    button.upBitmap = "c:\\art\\up.bmp";
    button.overBitmap = button.downBitmap = "";
    const std::string golden = TAV_SOURCE_DIR "/tests/codegen/golden/texts/";
    ExpectSameAsGolden(ScreenSourceText(project, 0), golden + "literals-screen.txt");
    ExpectSameAsGolden(EntryPointText(project, "Main"), golden + "literals-entry.txt");
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
    // Quoted names, no headers among the sources.
    ExpectSameAsGolden(CMakeProjectFileText(project),
                       TAV_SOURCE_DIR "/tests/codegen/golden/texts/quoted-CMakeLists.txt");
}

// Plain, merged and dry runs: what each writes, records and tells (a letter a file: New, Changed,
// Unchanged). A question would fail: a merge asks none.
TEST(GenerationCommandsTest, KeepUserCodeDryRunsAndTheRecord) {
    Project project;
    MakeGame(project);
    TempDir out;
    ScriptedUi ui;
    const auto snapshot = [&] { // every path and time
        std::string all;
        for (const auto& entry : fs::recursive_directory_iterator(out.path()))
            all += entry.path().string() + std::to_string(entry.last_write_time().time_since_epoch().count());
        return all;
    };
    const auto run = [&](bool keep, bool dry, int answer = kAnswerAlways) {
        ui = ScriptedUi();
        ui.handling = {keep, dry};
        project.overwriteAnswer = answer;
        project.generatedFiles.clear();
        const std::string was = snapshot();
        EXPECT_EQ(GenerateProjectCode(project, out.path(), ui), "");
        EXPECT_TRUE(!(dry || (!keep && answer == kAnswerNever)) || snapshot() == was) << "nothing written";
        std::string changes;
        for (const FileReport& report : ui.reports)
            changes += "NCU"[static_cast<int>(report.change)];
        return changes;
    };
    EXPECT_EQ(run(true, true) + run(false, false, kAnswerNever), "NNNNNNNN")
        << "a skipped missing file is untold";
    EXPECT_EQ(run(false, false), "NNNNNNNN");
    EXPECT_EQ(FilesIn(out / ".tavgen"), FilesIn(out.path()));

    // The user's line in a stub and a new object of the design both arrive; only their files change.
    const std::string mine = "//Title constructor\r\n\tmine();\r\n";
    WriteFile(out / "Title.cpp",
              std::regex_replace(ReadFile(out / "Title.cpp"), std::regex(mine.substr(0, 21)), mine));
    test::AddObject(project, ObjectKind::Button, "Title", "Quit");
    EXPECT_EQ(run(true, true), "UUUCCUUU");
    EXPECT_EQ(run(false, true), "UUUCCUUU");
    EXPECT_EQ(ui.reports[4].after.find("mine();"), std::string::npos) << "overwritten unless kept";
    EXPECT_EQ(run(false, false, kAnswerNever), "UUUUUUUU") << "skipped files and their records stay";
    fs::last_write_time(out / "Menu.cpp", fs::file_time_type());
    EXPECT_EQ(run(true, false, kAnswerNever), "UUUCCUUU");
    const std::string merged = ReadFile(out / "Title.cpp");
    EXPECT_TRUE(merged.find(mine) != std::string::npos && merged.find("Title_Quit") != std::string::npos &&
                ui.reports[4].after == merged);
    EXPECT_EQ(ReadFile(out / ".tavgen/Title.cpp"), WithCrLf(ScreenSourceText(project, 0)));
    EXPECT_EQ(fs::last_write_time(out / "Menu.cpp"), fs::file_time_type()) << "unchanged, not rewritten";

    // A user change that meets a design change is set aside and told, summed up at the end too; a
    // record that cannot be written is a warning. A dry run copies no bitmap, as if it had.
    WriteFile(out / "Title.cpp",
              std::regex_replace(merged, std::regex("Title_Quit, 0, 0"), "Title_Quit, 5, 5"));
    project.Object(1).x = 9;
    fs::remove(out / ".tavgen/Menu.h");
    fs::create_directory(out / ".tavgen/Menu.h");
    TempDir empty;
    std::vector<std::string> logs;
    for (const bool dry : {false, true}) {
        ui = ScriptedUi();
        ui.destination = dry ? empty.path() : out.path();
        ui.yesNoAnswers = {dry};
        ui.handling = {true, dry};
        EXPECT_EQ(GenerateEntireProject(&project, ui), GenerationOutcome::Completed);
        logs.insert(logs.end(), ui.log.begin(), ui.log.end());
    }
    ASSERT_EQ(logs.size(), 7u) << "no completion after a dry run";
    EXPECT_TRUE(logs[2].starts_with("warning: " + (out / "Title.cpp: ")));
    EXPECT_TRUE(logs[3].starts_with("warning: the generation of " + (out / "Menu.h")));
    EXPECT_EQ(logs[4], kComplete +
                           "\nyour code in 1 place no longer fitted the design; it is kept, commented "
                           "out, in: Title.cpp");
    EXPECT_TRUE(project.artRelocated == 1 && fs::is_empty(empty.path()));
}

// Bitmaps in two source folders, an output folder and a project with the screen Main.
struct RelocationFixture : ::testing::Test {
    RelocationFixture() { project.AddScreen(MakeScreen("Main")); }
    TempDir sources;
    TempDir out;
    Project project;
    ScriptedUi ui;
    CopiedBitmaps copied;

    std::string Bitmap(const std::string& relative, const std::string& bytes) {
        fs::create_directories(fs::path(sources / relative).parent_path());
        WriteFile(sources / relative, bytes);
        return sources / relative;
    }
    std::string Copy(int screen) { return CopyScreenBitmaps(project, out.path(), screen, ui, copied); }
    std::string Art(const std::string& name) { return ReadFile(out / ("art/" + name)); }
};

TEST_F(RelocationFixture, FirstOfTwoSameNamedBitmapsWinsAndTheOtherIsReported) {
    auto& button = test::AddObject(project, ObjectKind::Button, "Main", "Go");
    button.downBitmap = Bitmap("one/up.bmp", "first");
    button.overBitmap = Bitmap("two/up.bmp", "second");
    button.upBitmap = button.downBitmap; // the same source twice is not a conflict
    EXPECT_EQ(Copy(0), "");
    EXPECT_EQ(Art("up.bmp"), "first");
    EXPECT_EQ(ui.log, (std::vector<std::string>{"warning: bitmap " + (sources / "two/up.bmp") +
                                                " is not copied: " + (sources / "one/up.bmp") +
                                                " is already art/up.bmp, and the generated code uses that "
                                                "one for both"}));
}

TEST_F(RelocationFixture, OnlyTheFieldsOfTheKindAreCopied) {
    project.Screen(0).background = Bitmap("back.bmp", "b");
    auto& check = test::AddObject(project, ObjectKind::CheckBox, "Main", "Box");
    check.checkedBitmap = Bitmap("on.bmp", "on");
    check.uncheckedBitmap = Bitmap("off.bmp", "off");
    check.upBitmap = Bitmap("unused.bmp", "u");
    check.image = Bitmap("unused2.bmp", "u");
    auto& list = test::AddObject(project, ObjectKind::ListBox, "Main", "List");
    list.image = Bitmap("listimage.bmp", "li"); // not edited by the list dialog, copied all the same
    list.listBackground = Bitmap("listback.bmp", "lb");
    test::AddObject(project, ObjectKind::Animation, "Main", "Spin").frames = {Bitmap("f1.bmp", "1"),
                                                                              Bitmap("f2.bmp", "2")};
    test::AddObject(project, ObjectKind::Object, "Other", "Far").image = Bitmap("far.bmp", "far");

    EXPECT_EQ(Copy(0), "");
    EXPECT_EQ(FilesIn(out / "art"), (std::set<std::string>{"back.bmp", "on.bmp", "off.bmp", "listimage.bmp",
                                                           "listback.bmp", "f1.bmp", "f2.bmp"}));
    EXPECT_TRUE(ui.log.empty());
}

TEST_F(RelocationFixture, SecondRunKeepsOldCopiesAndMissingSourcesWarnOnce) {
    project.Screen(0).background = Bitmap("back.bmp", "version 1");
    test::AddObject(project, ObjectKind::Object, "Main", "Ghost").image = sources / "missing.bmp";
    test::AddObject(project, ObjectKind::Object, "Main", "Ghost2").image = sources / "missing.bmp";
    EXPECT_EQ(Copy(0), "");
    Bitmap("back.bmp", "version 2");
    CopiedBitmaps secondRun;
    EXPECT_EQ(CopyScreenBitmaps(project, out.path(), 0, ui, secondRun), "");
    EXPECT_EQ(Art("back.bmp"), "version 1");
    const std::string warning =
        "warning: bitmap " + (sources / "missing.bmp") + " is not copied: it does not exist or is not a file";
    EXPECT_EQ(ui.log, (std::vector<std::string>{warning, warning})) << "once per run";
}

TEST_F(RelocationFixture, ArtFolderIsMadeForAnEmptyScreenBareNamesAreFoundAndErrorsAreReported) {
    EXPECT_EQ(Copy(0), "");
    EXPECT_TRUE(IsDirectory(out / "art"));
    // A bare file name is looked up in the current folder.
    project.Screen(0).background = "bare.bmp";
    Bitmap("bare.bmp", "bare");
    const fs::path previous = fs::current_path();
    fs::current_path(sources.path());
    EXPECT_EQ(Copy(0), "");
    fs::current_path(previous);
    EXPECT_EQ(Art("bare.bmp"), "bare");

    EXPECT_EQ(Copy(1), "Invalid Screen");
    EXPECT_EQ(Copy(-1), "Invalid Screen");
    EXPECT_EQ(CopyScreenBitmaps(project, out / "no/such", 0, ui, copied), "Error creating directory");

    // Copies stay inside the output folder: an art link out of it is refused, a copy never goes
    // through a link (even a dangling one) in the art folder.
    fs::rename(out / "art", out / "real");
    fs::create_symlink("real", out / "art");
    fs::remove(out / "real/bare.bmp");
    fs::create_symlink(sources / "planted.bmp", out / "real/bare.bmp");
    CopiedBitmaps fresh;
    EXPECT_EQ(CopyScreenBitmaps(project, out.path(), 0, ui, fresh), "");
    EXPECT_FALSE(fs::exists(sources / "planted.bmp"));
    fs::remove(out / "art");
    fs::create_symlink(sources.path(), out / "art");
    EXPECT_EQ(CopyScreenBitmaps(project, out.path(), 0, ui, fresh = {}),
              (out / "art") + " is a symbolic link out of " + out.path() +
                  ": no bitmap is copied through it");
}

} // namespace
} // namespace tav::test
