// Runs the example programs headless, as a user would with the environment variables, and compares
// the frames they save with the reference pictures. TAV_UPDATE_REFERENCES=1 rewrites the references.
#include "tavctrls/platform/BitmapFile.h"
#include "tests/support/Screenshots.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace tav {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

const std::string kReferences = std::string(TAV_SOURCE_DIR) + "/tests/tavctrls/reference";

int RunExample(const std::string& program, const std::string& folder, const std::string& script, int frames,
               const std::string& screenshot) {
    return test::RunHeadless(program, folder, script, frames, screenshot);
}

int RunHello(const std::string& folder, const std::string& script, int frames, const std::string& screenshot) {
    return RunExample(HELLO_PATH, folder, script, frames, screenshot);
}

void ExpectLikeReference(const std::string& shot, const std::string& name) {
    test::ExpectLikeReference(shot, kReferences, name);
}

TEST(HelloScreenshot, MainScreenAndPopupLookAsExpected) {
    TempDir folder; // another directory: the art is found beside the program
    const std::string main = folder.path() + "/main.bmp";
    ASSERT_EQ(RunHello(folder.path(), "move 600 500\nwait 200\n", 70, main), 0) << ReadFile(folder.path() + "/output.txt");
    ExpectLikeReference(main, "hello-main.bmp");

    const std::string popup = folder.path() + "/popup.bmp";
    const std::string script = "wait 3\nmove 100 158\nclick 100 158\nwait 5\nclick 250 310\nmove 450 360\nwait 200\n";
    ASSERT_EQ(RunHello(folder.path(), script, 80, popup), 0) << ReadFile(folder.path() + "/output.txt");
    ExpectLikeReference(popup, "hello-popup.bmp");
}

TEST(HelloScreenshot, ClosingThePopupAndTheWindowEndsCleanly) {
    TempDir folder;
    const std::string shot = folder.path() + "/closed.bmp";
    // Open, close with its button, then the input ends and the window closes.
    const std::string script = "click 100 158\nwait 3\nclick 480 364\nwait 3\n";
    ASSERT_EQ(RunHello(folder.path(), script, 0, shot), 0) << ReadFile(folder.path() + "/output.txt");
    platform::PixelBuffer frame;
    ASSERT_TRUE(platform::LoadBitmapFile(shot, frame));
    platform::PixelBuffer main;
    ASSERT_TRUE(platform::LoadBitmapFile(kReferences + "/hello-main.bmp", main));
    // The popup is gone: its area shows the main screen again.
    EXPECT_EQ(frame.At(400, 300), main.At(400, 300));
}

TEST(HelloScreenshot, InputLeftWaitingInAPopupFailsLoudly) {
    TempDir folder;
    ASSERT_EQ(RunHello(folder.path(), "click 100 158\n", 0, folder.path() + "/x.bmp"), 3);
    EXPECT_NE(ReadFile(folder.path() + "/output.txt").find("modal"), std::string::npos);
}


// The gallery: every control, then a menu, a popup menu, a question box, and edits, sorting and
// scrolling done through the mouse and keyboard.
TEST(GalleryScreenshot, ControlsLookAsExpected) {
    TempDir folder;
    const struct {
        const char* name;
        const char* script;
        int frames;
    } cases[] = {
        {"gallery-main.bmp", "move 400 590\nwait 200\n", 30},
        {"gallery-menu.bmp", "click 10 8\nwait 2\nmove 30 40\nwait 200\n", 30},
        {"gallery-popup.bmp", "rclick 660 450\nwait 2\nmove 680 472\nwait 200\n", 30},
        {"gallery-question.bmp", "click 240 224\nwait 200\n", 30},
        {"gallery-edits.bmp",
         "click 200 80\nkey END\ntext \" \xC3\xA9t\xC3\xA9\"\nclick 120 110\nkey BACK\ntext \"7x\"\n"
         "click 470 46\nclick 380 110\nclick 610 530\nclick 610 530\nclick 200 552\ndblclick 700 46\n"
         "wait 200\n",
         60},
    };
    for (const auto& row : cases) {
        const std::string shot = folder.path() + "/" + row.name;
        ASSERT_EQ(RunExample(GALLERY_PATH, folder.path(), row.script, row.frames, shot), 0)
            << row.name << ": " << ReadFile(folder.path() + "/output.txt");
        ExpectLikeReference(shot, row.name);
    }
}

TEST(GalleryScreenshot, QuestionBoxAnswerReachesTheScreen) {
    TempDir folder;
    // Ask, answer Yes (left button of the box), then close the window through the menu and confirm.
    const std::string script = "click 240 224\nwait 3\nclick 300 428\nwait 3\n";
    const std::string shot = folder.path() + "/answered.bmp";
    ASSERT_EQ(RunExample(GALLERY_PATH, folder.path(), script, 0, shot), 0) << ReadFile(folder.path() + "/output.txt");
    ExpectLikeReference(shot, "gallery-answered.bmp");
}

} // namespace
} // namespace tav
