#include "HeadlessApp.h"

namespace tav::testing {
namespace {

class RecordingApp : public CTavApp {
public:
    BOOL OnCloseMessage() override {
        ++closeRequests;
        return allowClose;
    }
    void AfterUpdateFrame(CTavSurface*) override { ++framesDrawn; }
    void AfterLMouseDown(int x, int y) override {
        events.push_back("down " + std::to_string(x) + "," + std::to_string(y));
    }
    void AfterChar(char c) override { events.push_back(std::string("char ") + c); }

    BOOL allowClose = TRUE;
    int closeRequests = 0, framesDrawn = 0;
    std::vector<std::string> events;
};

using AppTest = HeadlessAppTest;

TEST_F(AppTest, InitialisationChecksItsArguments) {
    CTavApp app;
    EXPECT_EQ(app.doInit(nullptr, 1, "T", TAVAPP_WINDOW, 0, 100, 0, 0, 32), TAVERROR_INVALIDARG);
    EXPECT_EQ(app.doInit(nullptr, 1, "T", TAVAPP_FULLSCREEN, 100, 100, 0, 0, 8), TAVERROR_DIRECTDRAW);
    CTavScreen screen; // a failed initialisation leaves no application
    EXPECT_EQ(screen.Initialize(0), TAVERROR_NOAPP);
    // Full screen ignores the position, and so does a full screen.
    ASSERT_EQ(app.doInit(nullptr, 1, "T", TAVAPP_FULLSCREEN, 100, 80, -5, -5, 24), TAVERROR_OK);
    EXPECT_EQ(app.GetWindowX(), 0);
    auto* full = new CTavScreen;
    ASSERT_EQ(full->Initialize(1, 10, 10, 5, 5), TAVERROR_OK);
    EXPECT_EQ(full->GetX(), 0);
    EXPECT_EQ(full->GetHeight(), 80);
    ASSERT_EQ(app.SetChildScreen(full), TAVERROR_OK);
    CTavScreen popup;
    ASSERT_EQ(popup.Initialize(2, 0, 0, 10, 10, TAVSCREEN_POPUP, full), TAVERROR_OK);
    // The popup is refused and the old child is gone all the same.
    EXPECT_EQ(app.SetChildScreen(&popup), TAVERROR_NOTFULLSCREEN);
    EXPECT_EQ(app.RemoveChildScreen(), TAVERROR_NOCHILDSCREEN);
    popup.Finish();
}

TEST_F(AppTest, CloseAsksTheApplicationAndEndsThroughTheShutdown) {
    RecordingApp app;
    ASSERT_EQ(Init(app), TAVERROR_OK);
    app.allowClose = FALSE;
    display->CloseWindow();
    display->Wait(3);
    display->LClick(7, 9);
    display->Text("o\xC3\xA9"); // a character of several bytes arrives one byte at a time
    display->SetIdleHandler([&app](platform::HeadlessDisplay& headless) {
        if (app.closeRequests == 1 && app.events.size() == 4) {
            app.allowClose = TRUE;
            headless.CloseWindow();
        }
    });
    EXPECT_EQ(Run(app), 0);
    EXPECT_EQ(app.closeRequests, 2);
    EXPECT_GE(app.framesDrawn, 3);
    EXPECT_EQ(app.events, (std::vector<std::string>{"down 7,9", "char o", "char \xC3", "char \xA9"}));
    // The shutdown leaves no application behind.
    CTavSurface surface;
    EXPECT_EQ(surface.Create(2, 2), TAVERROR_NOAPP);
}

TEST_F(AppTest, InactiveApplicationDrawsNothingAndDoesNotJumpAfterwards) {
    RecordingApp app;
    ASSERT_EQ(Init(app), TAVERROR_OK);
    auto* screen = new CTavScreen;
    ASSERT_EQ(screen->Initialize(0), TAVERROR_OK);
    app.SetChildScreen(screen);
    CTavObject* mover = AddPlain(screen, 1, 0, 0, 4, 4);
    mover->SetSpeed(60, 0);
    display->SetFrameTime(1.0 / 60);
    Frame(app, 3);
    const int drawn = app.framesDrawn;
    const float x = mover->GetX();
    display->Activate(false);
    Frame(app, 5);
    EXPECT_EQ(app.framesDrawn, drawn);
    EXPECT_EQ(mover->GetX(), x);
    display->AdvanceClock(10.0); // time spent inactive moves nothing when frames resume
    display->Activate(true);
    Frame(app, 2);
    EXPECT_EQ(app.framesDrawn, drawn + 2);
    EXPECT_LE(mover->GetX(), x + 3.0f);
}

} // namespace
} // namespace tav::testing
