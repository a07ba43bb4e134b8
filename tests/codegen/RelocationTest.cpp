#include "ScriptedUi.h"
#include "codegen/BitmapRelocation.h"
#include "codegen/CodeText.h"
#include "codegen/ScreenClassGenerator.h"
#include "model/FileIo.h"
#include "tests/support/TestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace tav::test {
namespace {

namespace fs = std::filesystem;

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
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(out / "art"))
        names.insert(entry.path().filename().string());
    EXPECT_EQ(names, (std::set<std::string>{"back.bmp", "on.bmp", "off.bmp", "listimage.bmp", "listback.bmp",
                                            "f1.bmp", "f2.bmp"}));
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
    TempDir blocked;
    WriteFile(blocked / "art", "a file where the folder should be");
    EXPECT_EQ(CopyScreenBitmaps(project, blocked.path(), 0, ui, copied), "Error creating directory");
}

TEST_F(RelocationFixture, GeneratedCodeQuotesTheCopies) {
    project.Screen(0).background = "d:\\pics\\a.bmp";
    test::AddObject(project, ObjectKind::Object, "Main", "Pic").image = "pics/b.bmp";
    auto& button = test::AddObject(project, ObjectKind::Button, "Main", "Go"); // empty bitmaps stay empty
    button.upBitmap = button.overBitmap = button.downBitmap = "";
    project.artRelocated = 1;
    ExpectSameAsGolden(ScreenSourceText(project, 0),
                       TAV_SOURCE_DIR "/tests/codegen/golden/texts/relocated-screen.txt");
}

} // namespace
} // namespace tav::test
