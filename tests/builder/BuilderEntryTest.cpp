// The designer's entry point: window or full screen by the command line, the frame rate, the
// fallbacks of colour depth and the start-up failure.
#include "builder/BuilderEntry.h"
#include "builder/BuilderApp.h"
#include "builder/MainScreen.h"
#include "TavRuntime.h"
#include "tests/tavctrls/HeadlessApp.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <functional>
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
        const char* headless = std::getenv("TAV_HEADLESS");
        previousHeadless = headless != nullptr ? headless : "";
        hadHeadless = headless != nullptr;
        setenv("TAV_HEADLESS", "1", 1);
    }
    void TearDown() override {
        if (hadHeadless)
            setenv("TAV_HEADLESS", previousHeadless.c_str(), 1);
        else
            unsetenv("TAV_HEADLESS");
        HeadlessAppTest::TearDown();
    }

    // The next `failures` displays cannot open; then `then` comes, if given.
    void FailFirst(int failures, std::unique_ptr<platform::Display> then = nullptr) {
        for (int i = 1; i < failures; ++i)
            queue.push_back(std::make_unique<FailingDisplay>(attempts, queue));
        if (then != nullptr)
            queue.push_back(std::move(then));
        platform::SetNextDisplay(std::make_unique<FailingDisplay>(attempts, queue));
    }
    std::unique_ptr<platform::HeadlessDisplay> Working() {
        auto working = std::make_unique<platform::HeadlessDisplay>();
        working->SetCloseWhenInputEnds(false);
        display = working.get();
        return working;
    }

    // Runs the entry point until the process would end; `look` runs once the designer waits for input.
    int RunUntilEnd(const char* commandLine, const std::function<void(BuilderApp&)>& look) {
        bool looked = false;
        display->SetIdleHandler([&](platform::HeadlessDisplay& shown) {
            if (looked)
                return;
            looked = true;
            auto* app = dynamic_cast<BuilderApp*>(tav::CurrentApp());
            ASSERT_NE(app, nullptr);
            look(*app);
            shown.CloseWindow();
        });
        try {
            RunBuilder(nullptr, commandLine, SW_SHOWNORMAL);
        } catch (const ProcessEnded& end) {
            display = nullptr;
            EXPECT_TRUE(looked);
            return end.status;
        }
        ADD_FAILURE() << "the entry point returned while it should have run";
        return -1;
    }

    Displays queue;
    std::vector<std::string> attempts;
    std::string previousHeadless;
    bool hadHeadless = false;
};

TEST_F(BuilderEntryTest, ACommandLineRunsInAWindowWithTheFrameRateFromSixCharacters) {
    const struct {
        const char* commandLine;
        BOOL frameRate;
    } rows[] = {{"abc", FALSE}, {"abcdef", TRUE}, {"abcde", FALSE}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.commandLine);
        if (display == nullptr)
            platform::SetNextDisplay(Working());
        platform::HeadlessDisplay* shown = display;
        const int status = RunUntilEnd(row.commandLine, [&](BuilderApp& app) {
            EXPECT_EQ(shown->Settings().title, "Tavrin Controls Builder");
            EXPECT_TRUE(shown->Settings().windowed);
            EXPECT_EQ(shown->Settings().width, 800);
            EXPECT_EQ(shown->Settings().height, 600);
            EXPECT_EQ(app.GetShowFrameRate(), row.frameRate);
            EXPECT_EQ(app.GetWaitBlank(), TRUE);
            EXPECT_NE(dynamic_cast<builder::MainScreen*>(app.GetChildScreen()), nullptr);
        });
        EXPECT_EQ(status, 0);
    }
}

TEST_F(BuilderEntryTest, FullScreenFallsBackFrom24To32Bits) {
    FailFirst(1, Working());
    const int status = RunUntilEnd("", [&](BuilderApp& app) {
        EXPECT_EQ(app.GetColorDepth(), 32);
        EXPECT_FALSE(app.IsWindowed());
        EXPECT_EQ(app.GetShowFrameRate(), FALSE);
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(attempts, std::vector<std::string>{"TAVRIN full 24"});
}

TEST_F(BuilderEntryTest, NoDisplayAtAllShowsTheErrorAndReturnsZero) {
    display = nullptr; // replaced by the failing ones
    FailFirst(3);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(RunBuilder(nullptr, "", SW_SHOWNORMAL), 0);
    const std::string shown = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(shown.find("Error: Error Initializing DirectX"), std::string::npos) << shown;
    EXPECT_EQ(attempts, (std::vector<std::string>{"TAVRIN full 24", "TAVRIN full 32", "TAVRIN full 16"}));
    EXPECT_EQ(tav::CurrentApp(), nullptr);

    // A window is tried once.
    attempts.clear();
    FailFirst(1);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(RunBuilder(nullptr, "-w", SW_SHOWNORMAL), 0);
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("Error Initializing DirectX"), std::string::npos);
    EXPECT_EQ(attempts, std::vector<std::string>{"Tavrin Controls Builder window 24"});
}

} // namespace
} // namespace tav::testing
