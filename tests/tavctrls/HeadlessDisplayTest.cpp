#include "tavctrls/platform/HeadlessDisplay.h"
#include "tavctrls/platform/BitmapFile.h"
#include "tavctrls/platform/EnvironmentDisplay.h"
#include "tests/support/TestSupport.h"
#include "tests/tavctrls/DisplayTestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace tav::platform {
namespace {

// The library's loop in short: take the messages, show a frame.
std::string RunFrames(Display& display, int frames) {
    const PixelBuffer frame = Frame(4, 3, 0x808080);
    std::string seen;
    for (int i = 0; i < frames; ++i) {
        const std::string messages = Drain(display);
        seen += (seen.empty() || messages.empty() ? "" : "; ") + messages;
        display.Present(frame, true);
    }
    return seen;
}

std::pair<int, std::string> RunToTheEnd(Display& display) {
    return EndStatusOf([&] { RunFrames(display, 1000); });
}

class HeadlessDisplayTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(display.Open({"test", true, 0, 0, 4, 3}, nullptr)); }

    HeadlessDisplay display;
};

// Scripts check the other messages; here the buttons and shift held together.
TEST_F(HeadlessDisplayTest, InputArrivesInOrderWithTheButtonsAndShiftHeld) {
    display.LButtonDown(300, -2);
    display.MouseMove(32767, -32768);
    display.RButtonDown(1, 2);
    display.LButtonUp(-1, -1);
    display.SetShiftDown(true);
    display.RButtonUp(0, 0);
    display.DoubleClick(9, 8);
    display.KeyDown(vk::kBack);
    display.Text("a\xC3\xA9");
    display.Activate(false);
    display.DestroyWindow();
    EXPECT_EQ(Drain(display),
              "ldown 1 300,-2; move 1 32767,-32768; rdown 3 1,2; lup 2 -1,-1; rup 4 0,0; "
              "ldown 5 9,8; lup 4 9,8; ldbl 5 9,8; lup 4 9,8; key 8; char 8; char 97; char 195; "
              "char 169; activate 0; destroy 0");
    EXPECT_TRUE(display.ShiftDown());
}

TEST_F(HeadlessDisplayTest, AWaitHoldsLaterInputBackForThatManyFrames) {
    display.KeyDown('A');
    display.Wait(3);
    display.KeyDown('B');
    EXPECT_EQ(Drain(display), "key 65");
    EXPECT_TRUE(RunFrames(display, 2).empty());
    // An inactive application waits for messages instead of presenting; that counts as well.
    display.WaitMessage();
    EXPECT_EQ(Drain(display), "key 66");
}

TEST_F(HeadlessDisplayTest, TheIdleHandlerRunsOnAnEmptyQueueAndMayQueueMoreOrRemoveItself) {
    int calls = 0;
    display.SetIdleHandler([&](HeadlessDisplay& d) {
        if (++calls <= 2)
            d.KeyDown('0' + static_cast<unsigned>(calls));
        else
            d.SetIdleHandler(nullptr);
    });
    display.KeyDown('X');
    EXPECT_EQ(RunFrames(display, 2), "key 88; key 49; key 50; close 0");
    EXPECT_EQ(calls, 3);
}

TEST_F(HeadlessDisplayTest, TheClockAdvancesByTheFrameTimeAtEachPresentWithoutDrift) {
    const auto seconds = [&] { return static_cast<double>(display.Counter()) / display.Frequency(); };
    EXPECT_EQ(display.Counter(), 0u);
    for (int i = 0; i < 6000; ++i)
        display.Present(PixelBuffer(), false);
    EXPECT_NEAR(seconds(), 100.0, 1e-6);
    display.SetFrameTime(0.25);
    display.WaitMessage();
    RunFrames(display, 2);
    display.AdvanceClock(2.0);
    EXPECT_NEAR(seconds(), 102.5, 1e-6) << "waiting for messages leaves the clock alone";
    EXPECT_EQ(display.FramesPresented(), 6002u);
}

TEST_F(HeadlessDisplayTest, TheEndOfInputClosesAfterAFrameThenDestroysThenFails) {
    display.SetWaitLimit(5);
    display.KeyDown('A');
    EXPECT_EQ(Drain(display), "key 65");
    EXPECT_TRUE(Drain(display).empty()) << "no frame has been shown since the input ended";
    EXPECT_EQ(RunFrames(display, 2), "close 0"); // once
    // The program ignored the close: after the limit comes the destroy.
    EXPECT_TRUE(RunFrames(display, 3).empty());
    EXPECT_EQ(RunFrames(display, 2), "destroy 0");
    const auto [status, error] = RunToTheEnd(display);
    EXPECT_EQ(status, 3) << "a program that outlives WM_DESTROY is stopped";
    EXPECT_NE(error.find("headless display: "), std::string::npos);
    EXPECT_EQ(display.FramesPresented(), 11u);
}

TEST_F(HeadlessDisplayTest, InputOrALeftModalLoopRestartsTheEndOfInput) {
    display.SetWaitLimit(4);
    RunFrames(display, 1);
    display.KeyDown('A'); // before the close was taken
    EXPECT_EQ(RunFrames(display, 1), "key 65");
    EXPECT_EQ(RunFrames(display, 1), "close 0");
    HeadlessDisplay modal;
    modal.SetWaitLimit(4);
    modal.EnterModalLoop();
    EXPECT_TRUE(RunFrames(modal, 3).empty()) << "no close inside a modal loop";
    modal.LeaveModalLoop();
    EXPECT_EQ(RunFrames(modal, 1), "");
    EXPECT_EQ(RunFrames(modal, 1), "close 0");
}

TEST_F(HeadlessDisplayTest, WithoutClosingAtTheEndOfInputOnlyModalLoopsAreBoundedAndEndWithStatus3) {
    display.SetWaitLimit(4);
    display.SetCloseWhenInputEnds(false);
    EXPECT_TRUE(RunFrames(display, 20).empty());
    display.EnterModalLoop();
    const auto [status, error] = RunToTheEnd(display);
    EXPECT_EQ(status, 3);
    EXPECT_NE(error.find("headless display: a modal loop waited 4 frames for input that never came"),
              std::string::npos)
        << error;
    EXPECT_EQ(display.FramesPresented(), 24u);
}

TEST_F(HeadlessDisplayTest, TheLastFrameIsACopyThatCanBeSavedAndMessageBoxesGoToStderr) {
    test::TempDir dir;
    EXPECT_FALSE(display.SaveLastFrame(dir / "none.bmp"));
    PixelBuffer frame = Frame(5, 2, 0x00A0B0C0), loaded;
    display.Present(frame, false);
    frame.Set(1, 1, 0);
    EXPECT_EQ(display.LastFrame().At(1, 1), 0x00A0B0C0u);
    display.Present(Frame(3, 4, 0x00010203), false);
    ASSERT_TRUE(display.SaveLastFrame(dir / "last.bmp"));
    ASSERT_TRUE(LoadBitmapFile(dir / "last.bmp", loaded));
    EXPECT_TRUE(SamePixels(Frame(3, 4, 0x00010203), loaded));
    ::testing::internal::CaptureStderr();
    display.ShowMessageBox("Title", "Some text");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "Title: Some text\n");
}

TEST(ProcessEnd, EndsWithTheStatusEvenWhenTheHandlerReturnsAndFlushesBufferedOutput) {
    test::TempDir dir;
    const std::string out = dir / "out.txt";
    EXPECT_EQ(test::RunInChild([&]() -> int {
                  if (std::freopen(out.c_str(), "w", stdout) == nullptr)
                      return 99;
                  std::fputs("buffered, no newline", stdout);
                  SetProcessEndHandler([](int) {});
                  EndProcess(7);
              }),
              7);
    EXPECT_EQ(test::ReadFile(out), "buffered, no newline");
    EXPECT_EQ(test::RunInChild([]() -> int { EndProcess(6); }), 6);
}

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
