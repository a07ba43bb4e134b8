// The designer's entry point: window or full screen, frame rate, colour depth fallbacks, failure.
#include "builder/BuilderEntry.h"
#include "TavRuntime.h"
#include "builder/BuilderApp.h"
#include "builder/MainScreen.h"
#include "tests/tavctrls/HeadlessApp.h"

#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <string>
#include <tuple>

namespace tav::testing {
namespace {

using builder::BuilderApp;
using builder::RunBuilder;
using Displays = std::deque<std::unique_ptr<platform::Display>>;

// "TITLE window|full DEPTH" of a display asked for.
std::string Asked(const platform::DisplaySettings& s) {
    return s.title + (s.windowed ? " window " : " full ") +
           std::to_string(tav::CurrentApp()->GetColorDepth());
}

// A display that cannot open; it notes what was asked for and puts the next display of `queue` in line.
struct FailingDisplay : platform::HeadlessDisplay {
    FailingDisplay(std::string& log, Displays& queue) : log(log), queue(queue) {}
    bool Open(const platform::DisplaySettings& settings, std::string* error) override {
        log += Asked(settings) + "; ";
        if (!queue.empty()) {
            platform::SetNextDisplay(std::move(queue.front()));
            queue.pop_front();
        }
        *error = "no display here";
        return false;
    }
    std::string& log;
    Displays& queue;
};

class BuilderEntryTest : public HeadlessAppTest {
protected:
    void SetUp() override {
        HeadlessAppTest::SetUp();
        // A failure message goes to the standard error, never to a window of the desktop.
        setenv("TAV_HEADLESS", "1", 1);
    }

    // Runs the entry point with `failures` displays that cannot open, then a working one if `opens`;
    // tells the displays tried, what the designer shows once it waits for input, and how it ended.
    std::string Start(const char* commandLine, int failures, bool opens) {
        std::string log, shown;
        for (int i = 0; i < failures; ++i)
            queue.push_back(std::make_unique<FailingDisplay>(log, queue));
        if (opens) {
            auto working = std::make_unique<platform::HeadlessDisplay>();
            working->SetCloseWhenInputEnds(false);
            working->SetIdleHandler([&](platform::HeadlessDisplay& d) {
                auto* app = dynamic_cast<BuilderApp*>(tav::CurrentApp());
                if (!shown.empty() || app == nullptr)
                    return;
                shown = Asked(d.Settings()) + " " + std::to_string(d.Settings().width) + "x" +
                        std::to_string(d.Settings().height) + (app->GetShowFrameRate() ? " rate" : "") +
                        (app->GetWaitBlank() ? " blank" : "") +
                        (dynamic_cast<builder::MainScreen*>(app->GetChildScreen()) ? " main" : "");
                d.CloseWindow();
            });
            queue.push_back(std::move(working));
        }
        platform::SetNextDisplay(std::move(queue.front()));
        queue.pop_front();
        display = nullptr;
        std::string ended;
        ::testing::internal::CaptureStderr();
        try {
            ended = "returned " + std::to_string(RunBuilder(nullptr, commandLine, SW_SHOWNORMAL));
        } catch (const ProcessEnded& end) {
            ended = "ended " + std::to_string(end.status);
        }
        const bool error = ::testing::internal::GetCapturedStderr().find(
                               "Error: Error Initializing DirectX") != std::string::npos;
        EXPECT_EQ(tav::CurrentApp(), nullptr);
        return log + shown + (shown.empty() ? "" : "; ") + ended + (error ? ", error shown" : "");
    }

    Displays queue;
};

// A command line runs in a window, longer than five characters with the frame rate; full screen falls
// back from 24 to 32 and 16 bits, a window is tried once.
TEST_F(BuilderEntryTest, DisplayByCommandLineWithFallbacks) {
    const std::string window = "Tavrin Controls Builder window 24";
    const std::tuple<const char*, int, bool, std::string> rows[] = {
        {"abcdef", 0, true, window + " 800x600 rate blank main; ended 0"},
        {"abcde", 0, true, window + " 800x600 blank main; ended 0"},
        {"", 1, true, "TAVRIN full 24; TAVRIN full 32 800x600 blank main; ended 0"},
        {"", 3, false, "TAVRIN full 24; TAVRIN full 32; TAVRIN full 16; returned 0, error shown"},
        {"-w", 1, false, window + "; returned 0, error shown"},
    };
    for (const auto& [commandLine, failures, opens, expected] : rows)
        EXPECT_EQ(Start(commandLine, failures, opens), expected) << commandLine;
}

} // namespace
} // namespace tav::testing
