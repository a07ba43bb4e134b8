#include "tavctrls/platform/BitmapFile.h"
#include "tavctrls/platform/EnvironmentDisplay.h"
#include "tavctrls/platform/HeadlessDisplay.h"
#include "tests/support/TestSupport.h"
#include "tests/tavctrls/DisplayTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace tav::platform {
namespace {

// Each test starts and ends without the TAV_* variables.
class DisplayEnvironment : public ::testing::Test {
protected:
    void SetUp() override { TearDown(); }
    void TearDown() override {
        for (const char* name : {"TAV_HEADLESS", "TAV_FRAMES", "TAV_SCREENSHOT", "TAV_INPUT"})
            ::unsetenv(name);
    }
    static void Set(const char* name, const std::string& value) { ::setenv(name, value.c_str(), 1); }

    test::TempDir dir;
};

// The headless display plays the script; the frame limit keeps the end of the input from closing the
// program, ends it with WM_DESTROY after the Nth frame, and the last frame is saved in Close.
TEST_F(DisplayEnvironment, HeadlessFramesScreenshotAndInputTogether) {
    const std::string shot = dir / "shot.bmp";
    test::WriteFile(dir / "input.txt", "click 1 2\nwait 1\nkey ESCAPE\n");
    Set("TAV_HEADLESS", "1");
    Set("TAV_FRAMES", "3");
    Set("TAV_SCREENSHOT", shot);
    Set("TAV_INPUT", dir / "input.txt");
    std::unique_ptr<Display> display = CreateDisplayFromEnvironment();
    ASSERT_TRUE(display->Open({"", true, 0, 0, 6, 4}, nullptr));
    EXPECT_EQ(Drain(*display), "ldown 1 1,2; lup 0 1,2");
    display->Present(Frame(6, 4, 0x00112233), false);
    EXPECT_EQ(Drain(*display), "key 27; char 27");
    display->Present(Frame(6, 4, 0x00445566), false);
    EXPECT_EQ(Drain(*display), "");
    display->Present(PixelBuffer(), false); // nothing to show keeps the last frame
    EXPECT_EQ(Drain(*display), "destroy 0");
    EXPECT_FALSE(std::filesystem::exists(shot));
    display->Close();
    PixelBuffer saved;
    ASSERT_TRUE(LoadBitmapFile(shot, saved));
    EXPECT_TRUE(SamePixels(Frame(6, 4, 0x00445566), saved));
}

TEST_F(DisplayEnvironment, BadValuesStopWithStatus2AndSayWhy) {
    test::WriteFile(dir / "bad.txt", "move 1 2\njump 3\n");
    Set("TAV_HEADLESS", "1");
    const struct {
        const char* variable;
        std::string value;
        std::string error;
    } cases[] = {{"TAV_INPUT", dir / "bad.txt", dir / "bad.txt:2: unknown command 'jump'\n"},
                 {"TAV_INPUT", dir / "missing.txt", dir / "missing.txt: cannot read the input script: "},
                 {"TAV_FRAMES", "ten", "TAV_FRAMES: 'ten' is not a number of frames\n"},
                 {"TAV_FRAMES", "-1", "TAV_FRAMES: '-1' is not a number of frames\n"},
                 {"TAV_FRAMES", "5x", "TAV_FRAMES: '5x' is not a number of frames\n"}};
    for (const auto& c : cases) {
        ::unsetenv("TAV_INPUT");
        Set(c.variable, c.value);
        const auto [status, error] = EndStatusOf([] { CreateDisplayFromEnvironment(); });
        EXPECT_EQ(status, 2) << c.value;
        EXPECT_EQ(error.substr(0, c.error.size()), c.error);
    }
}

// Scripted input for a display that does not play scripts itself (the SDL window): the script comes
// first, its pauses count frames, and the display's own input follows.
TEST_F(DisplayEnvironment, ScriptedInputGoesAheadOfTheWrappedDisplaysOwn) {
    auto inner = std::make_unique<HeadlessDisplay>();
    HeadlessDisplay& own = *inner;
    own.KeyDown('O');
    own.SetCloseWhenInputEnds(false);
    EnvironmentDisplay display(std::move(inner), std::nullopt, "");
    display.AddInput(
        {InputStep{{msg::kKeyDown, 'S', 0}, 0}, InputStep{{}, 2}, InputStep{{msg::kKeyDown, 'T', 0}, 0}});
    EXPECT_EQ(Drain(display), "key 83; key 79");
    display.Present(Frame(6, 4, 0), false);
    EXPECT_EQ(Drain(display), "");
    display.WaitMessage();
    EXPECT_EQ(Drain(display), "key 84");
    EXPECT_EQ(own.FramesPresented(), 1u);
}

} // namespace
} // namespace tav::platform
