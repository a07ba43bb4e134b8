#include "tavctrls/platform/HeadlessDisplay.h"
#include "tavctrls/platform/BitmapFile.h"
#include "tavctrls/platform/ProcessEnd.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace tav::platform {
namespace {

struct ProcessEnded {
    int status;
};

// Turns the end of the process into an exception for the life of the object.
class EndProcessThrows {
public:
    EndProcessThrows() : previous_(SetProcessEndHandler([](int status) { throw ProcessEnded{status}; })) {}
    ~EndProcessThrows() { SetProcessEndHandler(previous_); }

private:
    ProcessEndHandler previous_;
};

struct Seen {
    unsigned message;
    std::uintptr_t wParam;
    int x;
    int y;
    bool operator==(const Seen&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Seen& seen) {
    return out << "{0x" << std::hex << seen.message << std::dec << ", " << seen.wParam << ", " << seen.x
               << ", " << seen.y << "}";
}

// Everything PeekMessage gives now, as the library's pump takes it.
std::vector<Seen> Drain(Display& display) {
    std::vector<Seen> seen;
    WindowMessage message;
    while (display.PeekMessage(message))
        seen.push_back({message.message, message.wParam, PointX(message.lParam), PointY(message.lParam)});
    return seen;
}

std::vector<unsigned> MessagesOf(const std::vector<Seen>& seen) {
    std::vector<unsigned> messages;
    for (const Seen& s : seen)
        messages.push_back(s.message);
    return messages;
}

PixelBuffer Frame(int width, int height, std::uint32_t pixel) {
    PixelBuffer frame;
    frame.Allocate(width, height);
    FillRect(frame, frame.Bounds(), pixel);
    frame.Set(0, 0, 0x123456);
    return frame;
}

// The library's loop in short: take the messages, show a frame.
std::vector<Seen> RunFrames(Display& display, int frames) {
    const PixelBuffer frame = Frame(4, 3, 0x808080);
    std::vector<Seen> seen;
    for (int i = 0; i < frames; ++i) {
        for (const Seen& s : Drain(display))
            seen.push_back(s);
        display.Present(frame, true);
    }
    return seen;
}

class HeadlessDisplayTest : public ::testing::Test {
protected:
    void SetUp() override {
        DisplaySettings settings;
        settings.title = "test";
        settings.width = 4;
        settings.height = 3;
        ASSERT_TRUE(display.Open(settings, nullptr));
    }

    HeadlessDisplay display;
};

TEST_F(HeadlessDisplayTest, MouseInputKeepsOrderButtonFlagsAndSignedPositions) {
    display.MouseMove(-5, 7);
    display.LButtonDown(300, -2);
    display.MouseMove(32767, -32768);
    display.RButtonDown(1, 2);
    display.LButtonUp(-1, -1);
    display.SetShiftDown(true);
    display.RButtonUp(0, 0);
    display.DoubleClick(9, 8);
    const std::vector<Seen> expected{
        {msg::kMouseMove, 0, -5, 7},
        {msg::kLButtonDown, mk::kLButton, 300, -2},
        {msg::kMouseMove, mk::kLButton, 32767, -32768},
        {msg::kRButtonDown, mk::kLButton | mk::kRButton, 1, 2},
        {msg::kLButtonUp, mk::kRButton, -1, -1},
        {msg::kRButtonUp, mk::kShift, 0, 0},
        {msg::kLButtonDown, mk::kShift | mk::kLButton, 9, 8},
        {msg::kLButtonUp, mk::kShift, 9, 8},
        {msg::kLButtonDblClk, mk::kShift | mk::kLButton, 9, 8},
        {msg::kLButtonUp, mk::kShift, 9, 8},
    };
    EXPECT_EQ(Drain(display), expected);
    EXPECT_TRUE(display.ShiftDown());
}

TEST_F(HeadlessDisplayTest, KeysAndTextArriveAsAKeyboardDeliversThem) {
    display.KeyDown(vk::kLeft);
    display.KeyDown(vk::kBack);
    display.KeyDown(vk::kReturn);
    display.Text("a\xC3\xA9\xE2\x82\xAC"); // "aé€"
    display.Char(0xFF);
    display.Activate(false);
    display.CloseWindow();
    display.DestroyWindow();
    const std::vector<Seen> expected{
        {msg::kKeyDown, vk::kLeft, 0, 0},   {msg::kKeyDown, vk::kBack, 0, 0}, {msg::kChar, 8, 0, 0},
        {msg::kKeyDown, vk::kReturn, 0, 0}, {msg::kChar, 13, 0, 0},           {msg::kChar, 'a', 0, 0},
        {msg::kChar, 0xC3, 0, 0},           {msg::kChar, 0xA9, 0, 0},         {msg::kChar, 0xE2, 0, 0},
        {msg::kChar, 0x82, 0, 0},           {msg::kChar, 0xAC, 0, 0},         {msg::kChar, 0xFF, 0, 0},
        {msg::kActivateApp, 0, 0, 0},       {msg::kClose, 0, 0, 0},           {msg::kDestroy, 0, 0, 0},
    };
    EXPECT_EQ(Drain(display), expected);
}

TEST_F(HeadlessDisplayTest, AWaitHoldsLaterInputBackForThatManyFrames) {
    display.KeyDown('A');
    display.Wait(3);
    display.KeyDown('B');
    EXPECT_EQ(Drain(display).size(), 1u);
    for (int frame = 1; frame <= 2; ++frame) {
        display.Present(Frame(4, 3, 0), false);
        EXPECT_TRUE(Drain(display).empty()) << "after frame " << frame;
    }
    // An inactive application waits for messages instead of presenting; that counts as well.
    display.WaitMessage();
    EXPECT_EQ(Drain(display), (std::vector<Seen>{{msg::kKeyDown, 'B', 0, 0}}));
}

TEST_F(HeadlessDisplayTest, TheIdleHandlerRunsOnlyOnAnEmptyQueueAndMayQueueMore) {
    int calls = 0;
    display.SetIdleHandler([&](HeadlessDisplay& d) {
        ++calls;
        if (calls <= 2)
            d.KeyDown('0' + static_cast<unsigned>(calls));
        else
            d.SetIdleHandler(nullptr);
    });
    display.KeyDown('X');
    WindowMessage message;
    ASSERT_TRUE(display.PeekMessage(message));
    EXPECT_EQ(message.wParam, 'X');
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(MessagesOf(RunFrames(display, 1)), (std::vector<unsigned>{msg::kKeyDown, msg::kKeyDown}));
    EXPECT_EQ(calls, 3);
    RunFrames(display, 1);
    EXPECT_EQ(calls, 3) << "the handler removed itself";
}

TEST_F(HeadlessDisplayTest, TheClockAdvancesByTheFrameTimeAtEachPresentOnly) {
    const double frequency = static_cast<double>(display.Frequency());
    EXPECT_EQ(display.Counter(), 0u);
    RunFrames(display, 6);
    EXPECT_NEAR(static_cast<double>(display.Counter()) / frequency, 0.1, 1e-9);
    display.SetFrameTime(0.25);
    display.WaitMessage();
    RunFrames(display, 2);
    EXPECT_NEAR(static_cast<double>(display.Counter()) / frequency, 0.6, 1e-9);
    display.AdvanceClock(2.0);
    EXPECT_NEAR(static_cast<double>(display.Counter()) / frequency, 2.6, 1e-9);
    EXPECT_EQ(display.FramesPresented(), 8u);
}

TEST_F(HeadlessDisplayTest, ManyFramesOfAnOddFrameTimeDoNotDrift) {
    display.SetFrameTime(1.0 / 60);
    const PixelBuffer frame = Frame(1, 1, 0);
    for (int i = 0; i < 6000; ++i)
        display.Present(frame, false);
    EXPECT_NEAR(static_cast<double>(display.Counter()) / static_cast<double>(display.Frequency()), 100.0,
                1e-6);
}

TEST_F(HeadlessDisplayTest, TheEndOfInputClosesAfterAFrameThenDestroysThenFails) {
    EndProcessThrows ending;
    display.SetWaitLimit(5);
    display.KeyDown('A');
    EXPECT_EQ(MessagesOf(Drain(display)), std::vector<unsigned>{msg::kKeyDown});
    EXPECT_TRUE(Drain(display).empty()) << "no frame has been shown since the input ended";
    EXPECT_EQ(MessagesOf(RunFrames(display, 2)), std::vector<unsigned>{msg::kClose}); // once
    // The program ignored the close: after the limit comes the destroy.
    EXPECT_TRUE(RunFrames(display, 3).empty());
    EXPECT_EQ(MessagesOf(RunFrames(display, 2)), std::vector<unsigned>{msg::kDestroy});
    ::testing::internal::CaptureStderr();
    try {
        RunFrames(display, 10);
        ADD_FAILURE() << "a program that outlives WM_DESTROY must be stopped";
    } catch (const ProcessEnded& ended) {
        EXPECT_EQ(ended.status, 3);
    }
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("headless display: "), std::string::npos);
}

TEST_F(HeadlessDisplayTest, InputArrivingLateRestartsTheEndOfInput) {
    display.SetWaitLimit(3);
    RunFrames(display, 1);
    display.KeyDown('A'); // before the close was taken
    EXPECT_EQ(MessagesOf(Drain(display)), std::vector<unsigned>{msg::kKeyDown});
    EXPECT_TRUE(Drain(display).empty());
    EXPECT_EQ(MessagesOf(RunFrames(display, 2)), std::vector<unsigned>{msg::kClose});
}

TEST_F(HeadlessDisplayTest, AModalLoopStarvedOfInputEndsTheProcessWithStatus3) {
    EndProcessThrows ending;
    display.SetWaitLimit(10);
    int fed = 0;
    display.SetIdleHandler([&](HeadlessDisplay& d) {
        if (fed < 20 && d.FramesPresented() == static_cast<std::uint64_t>(fed)) {
            ++fed;
            d.MouseMove(fed, fed);
        }
    });
    display.EnterModalLoop();
    ::testing::internal::CaptureStderr();
    try {
        RunFrames(display, 100);
        ADD_FAILURE() << "the modal loop ran on without input";
    } catch (const ProcessEnded& ended) {
        EXPECT_EQ(ended.status, 3);
    }
    const std::string error = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(error.find("headless display: a modal loop waited 10 frames for input that never came"),
              std::string::npos)
        << error;
    // The idle handler fed one move a frame for 20 frames; the limit counts from the last of them.
    EXPECT_EQ(display.FramesPresented(), 29u);
}

TEST_F(HeadlessDisplayTest, LeavingTheModalLoopGoesBackToClosingAtTheEndOfInput) {
    display.SetWaitLimit(4);
    display.EnterModalLoop();
    EXPECT_TRUE(RunFrames(display, 3).empty()) << "no close inside a modal loop";
    display.LeaveModalLoop();
    EXPECT_EQ(MessagesOf(RunFrames(display, 2)), std::vector<unsigned>{msg::kClose});
}

TEST_F(HeadlessDisplayTest, WithoutClosingAtTheEndOfInputOnlyModalLoopsAreBounded) {
    EndProcessThrows ending;
    display.SetWaitLimit(4);
    display.SetCloseWhenInputEnds(false);
    EXPECT_TRUE(RunFrames(display, 20).empty());
    display.EnterModalLoop();
    ::testing::internal::CaptureStderr();
    EXPECT_THROW(RunFrames(display, 20), ProcessEnded);
    ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(display.FramesPresented(), 24u);
}

TEST_F(HeadlessDisplayTest, TheLastFrameIsACopyThatCanBeSaved) {
    EXPECT_FALSE(display.SaveLastFrame(test::TempDir() / "none.bmp"));
    PixelBuffer frame = Frame(5, 2, 0x00A0B0C0);
    display.Present(frame, false);
    frame.Set(1, 1, 0);
    EXPECT_EQ(display.LastFrame().At(1, 1), 0x00A0B0C0u);
    display.Present(Frame(3, 4, 0x00010203), false);
    test::TempDir dir;
    ASSERT_TRUE(display.SaveLastFrame(dir / "last.bmp"));
    PixelBuffer loaded;
    ASSERT_TRUE(LoadBitmapFile(dir / "last.bmp", loaded));
    ASSERT_EQ(loaded.width(), 3);
    ASSERT_EQ(loaded.height(), 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(loaded.At(x, y), display.LastFrame().At(x, y)) << x << "," << y;
    EXPECT_EQ(display.FramesPresented(), 2u);
}

TEST_F(HeadlessDisplayTest, MessageBoxesAreRecordedAndWrittenToStderr) {
    ::testing::internal::CaptureStderr();
    display.ShowMessageBox("Title", "Some text");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "Title: Some text\n");
    ASSERT_EQ(display.MessagesShown().size(), 1u);
    EXPECT_EQ(display.MessagesShown()[0].title, "Title");
    EXPECT_EQ(display.MessagesShown()[0].text, "Some text");
}

TEST(ProcessEnd, EndsWithTheStatusAndFlushesBufferedOutput) {
    test::TempDir dir;
    const std::string out = dir / "out.txt";
    const int status = test::RunInChild([&]() -> int {
        if (std::freopen(out.c_str(), "w", stdout) == nullptr)
            return 99;
        std::fputs("buffered, no newline", stdout);
        EndProcess(7);
    });
    EXPECT_EQ(status, 7);
    EXPECT_EQ(test::ReadFile(out), "buffered, no newline");
}

TEST(ProcessEnd, AHandlerThatReturnsStillEndsTheProcess) {
    const int status = test::RunInChild([] {
        int seen = -1;
        SetProcessEndHandler([&](int s) { seen = s; });
        EndProcess(5);
        return seen; // not reached
    });
    EXPECT_EQ(status, 5);
}

TEST(ProcessEnd, AThrowingHandlerUnwindsAndCanBeRemoved) {
    SetProcessEndHandler([](int status) { throw ProcessEnded{status}; });
    try {
        EndProcess(4);
    } catch (const ProcessEnded& ended) {
        EXPECT_EQ(ended.status, 4);
    }
    const ProcessEndHandler previous = SetProcessEndHandler({});
    EXPECT_TRUE(static_cast<bool>(previous));
    EXPECT_EQ(test::RunInChild([]() -> int { EndProcess(6); }), 6);
}

} // namespace
} // namespace tav::platform
