// The designer's entry point: window or full screen, frame rate, colour depth fallbacks, failure.
#include "builder/BuilderEntry.h"
#include "TavRuntime.h"
#include "builder/BuilderApp.h"
#include "builder/MainScreen.h"
#include "tests/tavctrls/HeadlessApp.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace tav::testing {
namespace {

using builder::BuilderApp;
using builder::RunBuilder;
using Displays = std::deque<std::unique_ptr<platform::Display>>;

// A display that cannot open; it notes what was asked for ("TITLE window|full DEPTH") and puts the
// next display of `queue` in line.
class FailingDisplay : public platform::HeadlessDisplay {
public:
    FailingDisplay(std::vector<std::string>& attempts, Displays& queue)
        : attempts_(attempts), queue_(queue) {}

    bool Open(const platform::DisplaySettings& settings, std::string* error) override {
        attempts_.push_back(settings.title + (settings.windowed ? " window " : " full ") +
                            std::to_string(tav::CurrentApp()->GetColorDepth()));
        if (!queue_.empty()) {
            platform::SetNextDisplay(std::move(queue_.front()));
            queue_.pop_front();
        }
        *error = "no display here";
        return false;
    }

private:
    std::vector<std::string>& attempts_;
    Displays& queue_;
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
        attempts.clear();
        for (int i = 0; i < failures; ++i)
            queue.push_back(std::make_unique<FailingDisplay>(attempts, queue));
        std::string shown;
        if (opens) {
            auto working = std::make_unique<platform::HeadlessDisplay>();
            working->SetCloseWhenInputEnds(false);
            working->SetIdleHandler([&](platform::HeadlessDisplay& d) {
                auto* app = dynamic_cast<BuilderApp*>(tav::CurrentApp());
                if (!shown.empty() || app == nullptr)
                    return;
                const platform::DisplaySettings& s = d.Settings();
                shown = s.title + (s.windowed ? " window " : " full ") +
                        std::to_string(app->GetColorDepth()) + " " + std::to_string(s.width) + "x" +
                        std::to_string(s.height) + (app->GetShowFrameRate() ? " rate" : "") +
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
        std::string text;
        for (const std::string& attempt : attempts)
            text += attempt + "; ";
        return text + shown + (shown.empty() ? "" : "; ") + ended + (error ? ", error shown" : "");
    }

    Displays queue;
    std::vector<std::string> attempts;
};

// A command line runs in a window, longer than five characters with the frame rate; full screen falls
// back from 24 to 32 and 16 bits, a window is tried once.
TEST_F(BuilderEntryTest, DisplayByCommandLineWithFallbacks) {
    const std::string window = "Tavrin Controls Builder window 24";
    const struct {
        const char* commandLine;
        int failures;
        bool opens;
        std::string expected;
    } rows[] = {
        {"abcdef", 0, true, window + " 800x600 rate blank main; ended 0"},
        {"abcde", 0, true, window + " 800x600 blank main; ended 0"},
        {"", 1, true, "TAVRIN full 24; TAVRIN full 32 800x600 blank main; ended 0"},
        {"", 3, false, "TAVRIN full 24; TAVRIN full 32; TAVRIN full 16; returned 0, error shown"},
        {"-w", 1, false, window + "; returned 0, error shown"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.commandLine);
        EXPECT_EQ(Start(row.commandLine, row.failures, row.opens), row.expected);
    }
}

} // namespace
} // namespace tav::testing
