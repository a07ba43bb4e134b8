#include "tavctrls/platform/BitmapFile.h"
#include "tavctrls/platform/EnvironmentDisplay.h"
#include "tavctrls/platform/HeadlessDisplay.h"
#include "tavctrls/platform/ProcessEnd.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace tav::platform {
namespace {

struct ProcessEnded {
    int status;
};

// Sets the TAV_* variables for one test and clears them afterwards.
class Environment {
public:
    Environment() { Clear(); }
    ~Environment() { Clear(); }
    void Set(const char* name, const std::string& value) { ::setenv(name, value.c_str(), 1); }

private:
    static void Clear() {
        for (const char* name : {"TAV_HEADLESS", "TAV_FRAMES", "TAV_SCREENSHOT", "TAV_INPUT"})
            ::unsetenv(name);
    }
};

std::vector<unsigned> Drain(Display& display) {
    std::vector<unsigned> seen;
    WindowMessage message;
    while (display.PeekMessage(message))
        seen.push_back(message.message);
    return seen;
}

PixelBuffer Frame(std::uint32_t pixel) {
    PixelBuffer frame;
    frame.Allocate(6, 4);
    FillRect(frame, frame.Bounds(), pixel);
    frame.Set(5, 3, 0x00FF0000);
    return frame;
}

std::unique_ptr<Display> OpenFromEnvironment() {
    std::unique_ptr<Display> display = CreateDisplayFromEnvironment();
    DisplaySettings settings;
    settings.width = 6;
    settings.height = 4;
    EXPECT_TRUE(display->Open(settings, nullptr));
    return display;
}

// Creates the display from the environment; returns the status it ended the process with, or -1.
int EndStatusOfCreation(std::string& stderrText) {
    const ProcessEndHandler previous = SetProcessEndHandler([](int status) { throw ProcessEnded{status}; });
    int status = -1;
    ::testing::internal::CaptureStderr();
    try {
        CreateDisplayFromEnvironment();
    } catch (const ProcessEnded& ended) {
        status = ended.status;
    }
    stderrText = ::testing::internal::GetCapturedStderr();
    SetProcessEndHandler(previous);
    return status;
}

TEST(DisplayEnvironment, FramesEndTheProgramWithDestroyAfterTheNthPresent) {
    Environment environment;
    environment.Set("TAV_HEADLESS", "1");
    environment.Set("TAV_FRAMES", "5");
    std::unique_ptr<Display> display = OpenFromEnvironment();
    for (int presented = 0; presented < 5; ++presented) {
        // Without input the headless display would ask to close after a frame; the limit goes first.
        EXPECT_TRUE(Drain(*display).empty()) << "after " << presented << " frames";
        display->Present(Frame(0), false);
    }
    const std::vector<unsigned> seen = Drain(*display);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.front(), msg::kDestroy);
}

TEST(DisplayEnvironment, TheScreenshotIsTheLastFrameSavedInClose) {
    Environment environment;
    test::TempDir dir;
    const std::string path = dir / "shot.bmp";
    environment.Set("TAV_HEADLESS", "1");
    environment.Set("TAV_SCREENSHOT", path);
    std::unique_ptr<Display> display = OpenFromEnvironment();
    display->Present(Frame(0x00112233), false);
    const PixelBuffer last = Frame(0x00445566);
    display->Present(last, false);
    display->Present(PixelBuffer(), false); // nothing to show keeps the last frame
    EXPECT_FALSE(std::filesystem::exists(path));
    display->Close();
    PixelBuffer saved;
    ASSERT_TRUE(LoadBitmapFile(path, saved));
    ASSERT_EQ(saved.width(), last.width());
    ASSERT_EQ(saved.height(), last.height());
    for (int y = 0; y < last.height(); ++y)
        for (int x = 0; x < last.width(); ++x)
            EXPECT_EQ(saved.At(x, y), last.At(x, y)) << x << "," << y;
}

TEST(DisplayEnvironment, AnInputScriptFeedsTheHeadlessDisplayAndItsEndClosesTheProgram) {
    Environment environment;
    test::TempDir dir;
    test::WriteFile(dir / "input.txt", "click 1 2\nwait 1\nkey ESCAPE\n");
    environment.Set("TAV_HEADLESS", "1");
    environment.Set("TAV_INPUT", dir / "input.txt");
    std::unique_ptr<Display> display = OpenFromEnvironment();
    ASSERT_NE(dynamic_cast<HeadlessDisplay*>(display.get()), nullptr)
        << "the headless display plays the script";
    EXPECT_EQ(Drain(*display), (std::vector<unsigned>{msg::kLButtonDown, msg::kLButtonUp}));
    display->Present(Frame(0), false);
    EXPECT_EQ(Drain(*display), (std::vector<unsigned>{msg::kKeyDown, msg::kChar}));
    display->Present(Frame(0), false);
    EXPECT_EQ(Drain(*display), std::vector<unsigned>{msg::kClose});
}

TEST(DisplayEnvironment, BadValuesStopWithStatus2AndSayWhy) {
    Environment environment;
    test::TempDir dir;
    test::WriteFile(dir / "bad.txt", "move 1 2\njump 3\n");
    environment.Set("TAV_HEADLESS", "1");
    environment.Set("TAV_INPUT", dir / "bad.txt");
    std::string error;
    EXPECT_EQ(EndStatusOfCreation(error), 2);
    EXPECT_NE(error.find(dir / "bad.txt:2: unknown command 'jump'"), std::string::npos) << error;

    environment.Set("TAV_INPUT", dir / "missing.txt");
    EXPECT_EQ(EndStatusOfCreation(error), 2);
    EXPECT_NE(error.find(dir / "missing.txt"), std::string::npos) << error;

    ::unsetenv("TAV_INPUT");
    for (const char* frames : {"ten", "-1", "5x"}) {
        environment.Set("TAV_FRAMES", frames);
        EXPECT_EQ(EndStatusOfCreation(error), 2) << frames;
        EXPECT_NE(error.find("TAV_FRAMES"), std::string::npos) << error;
    }
}

TEST(DisplayEnvironment, ADisplayGivenByATestIsUsedOnce) {
    Environment environment;
    auto given = std::make_unique<HeadlessDisplay>();
    Display* expected = given.get();
    SetNextDisplay(std::move(given));
    environment.Set("TAV_HEADLESS", "1");
    environment.Set("TAV_FRAMES", "1");
    const std::unique_ptr<Display> first = CreateDisplayFromEnvironment();
    EXPECT_EQ(first.get(), expected);
    const std::unique_ptr<Display> second = CreateDisplayFromEnvironment();
    EXPECT_NE(second.get(), expected);
    EXPECT_NE(dynamic_cast<EnvironmentDisplay*>(second.get()), nullptr);
}

// Scripted input for a display that does not play scripts itself (the SDL window): the script comes
// first, its pauses count frames, and the display's own input follows.
TEST(DisplayEnvironment, ScriptedInputGoesAheadOfTheWrappedDisplaysOwn) {
    auto inner = std::make_unique<HeadlessDisplay>();
    HeadlessDisplay& own = *inner;
    own.KeyDown('O');
    EnvironmentDisplay display(std::move(inner), std::nullopt, "");
    display.AddInput(
        {InputStep{{msg::kKeyDown, 'S', 0}, 0}, InputStep{{}, 2}, InputStep{{msg::kKeyDown, 'T', 0}, 0}});
    auto keys = [&] {
        std::vector<std::uintptr_t> seen;
        WindowMessage message;
        while (display.PeekMessage(message))
            if (message.message == msg::kKeyDown)
                seen.push_back(message.wParam);
        return seen;
    };
    EXPECT_EQ(keys(), (std::vector<std::uintptr_t>{'S', 'O'}));
    display.Present(Frame(0), false);
    EXPECT_TRUE(keys().empty());
    display.WaitMessage();
    EXPECT_EQ(keys(), std::vector<std::uintptr_t>{'T'});
    EXPECT_EQ(own.FramesPresented(), 1u);
}

} // namespace
} // namespace tav::platform
