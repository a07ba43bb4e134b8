// The example programs run headless, their frames compared with the reference pictures
// (TAV_UPDATE_REFERENCES=1 rewrites them).
#include "tests/support/Screenshots.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace tav {
namespace {

const std::string kReferences = std::string(TAV_SOURCE_DIR) + "/tests/tavctrls/reference";

// Each program runs in another directory: the art is found beside the program.
TEST(ExampleScreenshot, ScreensLookAsExpected) {
    test::TempDir folder;
    // program, picture, input script, frames after the script
    const std::tuple<const char*, const char*, const char*, int> cases[] = {
        {HELLO_PATH, "hello-main.bmp", "move 600 500\nwait 200\n", 70},
        {HELLO_PATH, "hello-popup.bmp",
         "wait 3\nmove 100 158\nclick 100 158\nwait 5\nclick 250 310\nmove 450 360\nwait 200\n", 80},
        {GALLERY_PATH, "gallery-main.bmp", "move 400 590\nwait 200\n", 30},
        {GALLERY_PATH, "gallery-menu.bmp", "click 10 8\nwait 2\nmove 30 40\nwait 200\n", 30},
        {GALLERY_PATH, "gallery-popup.bmp", "rclick 660 450\nwait 2\nmove 680 472\nwait 200\n", 30},
        {GALLERY_PATH, "gallery-question.bmp", "click 240 224\nwait 200\n", 30},
        {GALLERY_PATH, "gallery-about.bmp", "click 90 8\nwait 2\nclick 95 24\nwait 200\n", 30},
        {GALLERY_PATH, "gallery-edits.bmp",
         "click 200 80\nkey END\ntext \" \xC3\xA9t\xC3\xA9\"\nclick 120 110\nkey BACK\ntext \"7x\"\n"
         "click 470 46\nclick 380 110\nclick 610 530\nclick 610 530\nclick 200 552\ndblclick 700 46\nwait "
         "200\n",
         60},
        // The question answered Yes (left button of the box); the input ends and the window closes.
        {GALLERY_PATH, "gallery-answered.bmp", "click 240 224\nwait 3\nclick 300 428\nwait 3\n", 0},
    };
    for (const auto& [program, name, script, frames] : cases) {
        const std::string shot = folder.path() + "/" + name;
        ASSERT_EQ(test::RunHeadless(program, folder.path(), script, frames, shot), 0)
            << name << ": " << test::ReadFile(folder.path() + "/output.txt");
        test::ExpectLikeReference(shot, kReferences, name);
    }
    // Past a file-size limit the screenshot fails with its reason, and so does the program.
    EXPECT_EQ(test::Shell("cd '" + folder.path() + "' && ulimit -f 1 && TAV_HEADLESS=1 TAV_FRAMES=2 " +
                          "TAV_SCREENSHOT=big.bmp " HELLO_PATH " >output.txt 2>&1"),
              4);
    EXPECT_NE(test::ReadFile(folder.path() + "/output.txt").find("big.bmp': File too large"),
              std::string::npos);
}

} // namespace
} // namespace tav
