// The designer's entry point: window or full screen by the command line, the frame rate, the
// fallbacks of colour depth and the start-up failure.
#include "builder/BuilderEntry.h"
#include "builder/BuilderApp.h"
#include "builder/MainScreen.h"
#include "TavRuntime.h"
#include "tests/tavctrls/HeadlessApp.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tav::testing {
namespace {

using builder::BuilderApp;
using builder::RunBuilder;

// What one attempt to open the display asked for.
struct Attempt {
    std::string title;
    bool windowed;
    int depth;
};

// A display that cannot open; it records the attempt and puts `next` in line for the following one.
class FailingDisplay : public platform::HeadlessDisplay {
public:
    FailingDisplay(std::vector<Attempt>& attempts, std::vector<std::unique_ptr<platform::Display>> next)
        : attempts_(attempts), next_(std::move(next)) {}

    bool Open(const platform::DisplaySettings& settings, std::string* error) override {
        attempts_.push_back({settings.title, settings.windowed, tav::CurrentApp()->GetColorDepth()});
        if (!next_.empty()) {
            std::unique_ptr<platform::Display> following = std::move(next_.front());
            next_.erase(next_.begin());
            if (auto* failing = dynamic_cast<FailingDisplay*>(following.get()))
                failing->next_ = std::move(next_);
            platform::SetNextDisplay(std::move(following));
        }
        *error = "no display here";
        return false;
    }

private:
    std::vector<Attempt>& attempts_;
    std::vector<std::unique_ptr<platform::Display>> next_;
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

    std::vector<Attempt> attempts;
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
        if (display == nullptr) {
            auto next = std::make_unique<platform::HeadlessDisplay>();
            next->SetCloseWhenInputEnds(false);
            display = next.get();
            platform::SetNextDisplay(std::move(next));
        }
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
    auto running = std::make_unique<platform::HeadlessDisplay>();
    running->SetCloseWhenInputEnds(false);
    display = running.get();
    std::vector<std::unique_ptr<platform::Display>> next;
    next.push_back(std::move(running));
    platform::SetNextDisplay(std::make_unique<FailingDisplay>(attempts, std::move(next)));
    const int status = RunUntilEnd("", [&](BuilderApp& app) {
        EXPECT_EQ(app.GetColorDepth(), 32);
        EXPECT_FALSE(app.IsWindowed());
        EXPECT_EQ(app.GetShowFrameRate(), FALSE);
    });
    EXPECT_EQ(status, 0);
    ASSERT_EQ(attempts.size(), 1u);
    EXPECT_EQ(attempts[0].title, "TAVRIN");
    EXPECT_FALSE(attempts[0].windowed);
    EXPECT_EQ(attempts[0].depth, 24);
}

TEST_F(BuilderEntryTest, NoDisplayAtAllShowsTheErrorAndReturnsZero) {
    display = nullptr; // replaced by the failing ones
    // Full screen: 24, 32 and 16 bits are tried in that order.
    std::vector<std::unique_ptr<platform::Display>> next;
    next.push_back(
        std::make_unique<FailingDisplay>(attempts, std::vector<std::unique_ptr<platform::Display>>{}));
    next.push_back(
        std::make_unique<FailingDisplay>(attempts, std::vector<std::unique_ptr<platform::Display>>{}));
    platform::SetNextDisplay(std::make_unique<FailingDisplay>(attempts, std::move(next)));
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(RunBuilder(nullptr, "", SW_SHOWNORMAL), 0);
    const std::string shown = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(shown.find("Error: Error Initializing DirectX"), std::string::npos) << shown;
    ASSERT_EQ(attempts.size(), 3u);
    EXPECT_EQ(attempts[0].depth, 24);
    EXPECT_EQ(attempts[1].depth, 32);
    EXPECT_EQ(attempts[2].depth, 16);
    EXPECT_EQ(tav::CurrentApp(), nullptr);

    // A window is tried once.
    attempts.clear();
    platform::SetNextDisplay(
        std::make_unique<FailingDisplay>(attempts, std::vector<std::unique_ptr<platform::Display>>{}));
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(RunBuilder(nullptr, "-w", SW_SHOWNORMAL), 0);
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("Error Initializing DirectX"), std::string::npos);
    ASSERT_EQ(attempts.size(), 1u);
    EXPECT_EQ(attempts[0].title, "Tavrin Controls Builder");
    EXPECT_TRUE(attempts[0].windowed);
}

} // namespace
} // namespace tav::testing
