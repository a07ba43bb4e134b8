#include "HeadlessApp.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tav::testing {
namespace {

std::vector<std::string>* g_log = nullptr;
void Log(const std::string& line) {
    if (g_log != nullptr)
        g_log->push_back(line);
}

// An object that records what reaches it.
class Probe : public CTavObject {
public:
    explicit Probe(BOOL stop = FALSE) : stop_(stop) {}
    BOOL OnLMouseDown(int, int) override {
        Log("down " + std::to_string(GetID()));
        return stop_;
    }
    BOOL OnKeyDown(UINT key) override {
        Log("key " + std::to_string(GetID()) + " " + std::to_string(key));
        return FALSE;
    }

private:
    BOOL stop_;
};

class LoggingScreen : public CTavScreen {
public:
    void OnObjectGotFocus(DWORD id) override { Log("got " + std::to_string(id)); }
    void OnObjectLostFocus(DWORD id) override { Log("lost " + std::to_string(id)); }
    BOOL OnObjectLMouseDown(DWORD id) override {
        Log("screen down " + std::to_string(id));
        return FALSE;
    }
    void AfterLMouseDown(int, int) override { Log("after down " + std::to_string(GetID())); }
    void AfterKeyDown(UINT key) override { Log("after key " + std::to_string(key)); }
};

class ScreenTest : public HeadlessAppTest {
protected:
    void SetUp() override {
        HeadlessAppTest::SetUp();
        g_log = &log;
        ASSERT_EQ(Init(app), TAVERROR_OK);
        screen = new LoggingScreen;
        ASSERT_EQ(screen->Initialize(1), TAVERROR_OK);
        app.SetChildScreen(screen);
    }
    void TearDown() override {
        g_log = nullptr;
        HeadlessAppTest::TearDown();
    }
    Probe* AddProbe(CTavScreen* owner, DWORD id, int x, int y, int w, int h, BOOL stop = FALSE) {
        auto* probe = new Probe(stop);
        EXPECT_EQ(probe->Initialize(id, static_cast<float>(x), static_cast<float>(y), w, h, owner), TAVERROR_OK);
        EXPECT_EQ(owner->AddObject(probe), TAVERROR_OK);
        return probe;
    }

    CTavApp app;
    LoggingScreen* screen = nullptr;
    std::vector<std::string> log;
};

TEST_F(ScreenTest, InitialisationChecksTheApplicationArea) {
    CTavScreen popup;
    EXPECT_EQ(popup.Initialize(2, 0, 0, 10, 10, TAVSCREEN_POPUP, nullptr), TAVERROR_NOPARENT);
    EXPECT_EQ(popup.Initialize(2, 311, 0, 10, 10, TAVSCREEN_POPUP, screen), TAVERROR_INVALIDARG);
    EXPECT_EQ(popup.Initialize(2, 0, 231, 10, 10, TAVSCREEN_POPUP, screen), TAVERROR_INVALIDARG);
    EXPECT_EQ(popup.Initialize(2, 320, 0, 1, 1, TAVSCREEN_POPUP, screen), TAVERROR_INVALIDARG);
    EXPECT_EQ(popup.Initialize(2, 310, 230, 10, 10, TAVSCREEN_POPUP, screen), TAVERROR_OK);
    popup.Finish();
}

TEST_F(ScreenTest, ResizingStaysInsideTheApplicationArea) {
    EXPECT_EQ(screen->SetWidth(100), TAVERROR_FULLSCREENSIZE);
    EXPECT_EQ(screen->SetHeight(100), TAVERROR_FULLSCREENSIZE);
    auto* popup = new CTavScreen;
    ASSERT_EQ(popup->Initialize(2, 300, 200, 10, 10, TAVSCREEN_POPUP, screen), TAVERROR_OK);
    EXPECT_EQ(popup->SetWidth(21), TAVERROR_INVALIDARG);
    EXPECT_EQ(popup->SetHeight(41), TAVERROR_INVALIDARG);
    EXPECT_EQ(popup->SetWidth(0), TAVERROR_INVALIDARG);
    EXPECT_EQ(popup->GetWidth(), 10);
    ASSERT_EQ(popup->SetWidth(20), TAVERROR_OK);
    ASSERT_EQ(popup->SetHeight(40), TAVERROR_OK);
    EXPECT_EQ(popup->GetSurface()->GetWidth(), 20);
    EXPECT_EQ(popup->GetSurface()->GetHeight(), 40);
    popup->Finish();
    delete popup;
}

TEST_F(ScreenTest, ObjectsKeepUniqueIdsAndTheirOrder) {
    Probe* first = AddProbe(screen, 5, 0, 0, 10, 10);
    auto* twin = new Probe;
    ASSERT_EQ(twin->Initialize(5, 0, 0, 10, 10, screen), TAVERROR_OK);
    EXPECT_EQ(screen->AddObject(twin), TAVERROR_DUPLICATEID);
    EXPECT_EQ(screen->GetObjectByID(5), first);
    twin->Finish();
    delete twin;
    AddProbe(screen, 6, 0, 0, 10, 10);
    AddProbe(screen, 7, 0, 0, 10, 10);
    ASSERT_EQ(screen->SetObjectOrder(7, 0), TAVERROR_OK);
    EXPECT_EQ(screen->GetObjectAt(0)->GetID(), 7u);
    ASSERT_EQ(screen->SetObjectOrder(7, 99), TAVERROR_OK);
    EXPECT_EQ(screen->GetObjectAt(2)->GetID(), 7u);
    EXPECT_EQ(screen->SetObjectOrder(8, 0), TAVERROR_OBJECTNOTFOUND);
    EXPECT_EQ(screen->RemoveObject(6), TAVERROR_OK);
    EXPECT_EQ(screen->RemoveObject(6), TAVERROR_OBJECTNOTFOUND);
    EXPECT_FALSE(screen->HasObject(6));
    EXPECT_EQ(screen->GetObjectAt(1)->GetID(), 7u);
}

TEST_F(ScreenTest, PressReachesOverlappingObjectsInOrderAndMovesTheFocus) {
    AddProbe(screen, 1, 0, 0, 50, 50);
    AddProbe(screen, 2, 20, 20, 50, 50);
    AddProbe(screen, 3, 100, 100, 10, 10);
    screen->GetObjectByID(3)->SetFocus(TRUE);
    log.clear();
    screen->LMouseDown(30, 30);
    EXPECT_EQ(log, (std::vector<std::string>{"lost 3", "got 1", "down 1", "screen down 1", "lost 1", "got 2",
                                             "down 2", "screen down 2", "after down 1"}));
    // An object that reports TRUE stops the routing.
    log.clear();
    AddProbe(screen, 4, 200, 200, 20, 20, TRUE);
    AddProbe(screen, 5, 200, 200, 20, 20);
    screen->LMouseDown(205, 205);
    EXPECT_EQ(log.back(), "down 4");
}

TEST_F(ScreenTest, KeysGoToFocusedObjectsOfTheFocusedScreen) {
    AddProbe(screen, 1, 0, 0, 10, 10);
    screen->KeyDown(VK_RETURN);
    EXPECT_TRUE(log.empty()); // the screen has no focus yet
    screen->SetFocus(TRUE);
    screen->KeyDown(VK_RETURN);
    EXPECT_EQ(log, (std::vector<std::string>{"after key 13"}));
    log.clear();
    screen->LMouseDown(5, 5);
    log.clear();
    screen->KeyDown(VK_SPACE);
    EXPECT_EQ(log, (std::vector<std::string>{"key 1 32", "after key 32"}));
}

TEST_F(ScreenTest, ModalPopupTakesAllInputUntilItCloses) {
    AddProbe(screen, 1, 0, 0, 320, 240);
    auto* popup = new LoggingScreen;
    ASSERT_EQ(popup->Initialize(50, 100, 100, 100, 100, TAVSCREEN_POPUP, screen), TAVERROR_OK);
    AddProbe(popup, 2, 0, 0, 20, 20);
    display->LButtonDown(10, 10);  // on the parent, outside the popup: dropped
    display->LButtonDown(105, 105); // on the popup's object
    display->SetIdleHandler([popup](platform::HeadlessDisplay&) { popup->Close(); });
    ASSERT_EQ(screen->SetChildScreen(popup), TAVERROR_OK);
    display->SetIdleHandler(nullptr);
    EXPECT_EQ(log, (std::vector<std::string>{"got 2", "down 2", "screen down 2", "after down 50"}));
    EXPECT_EQ(screen->GetChildScreen(), popup);
    EXPECT_EQ(screen->SetChildScreen(popup), TAVERROR_CHILDEXISTS);
    EXPECT_EQ(screen->RemoveChildScreen(), TAVERROR_OK);
    EXPECT_EQ(screen->GetChildScreen(), nullptr);
    EXPECT_TRUE(screen->HasFocus());
}

TEST_F(ScreenTest, PopupOfASubScreenTakesAllInputToo) {
    AddProbe(screen, 1, 0, 0, 320, 240);
    auto* sub = new LoggingScreen;
    ASSERT_EQ(sub->Initialize(9, 100, 100, 100, 100, TAVSCREEN_SUBSCREEN, screen), TAVERROR_OK);
    ASSERT_EQ(screen->AddSubScreen(sub), TAVERROR_OK);
    auto* popup = new LoggingScreen;
    ASSERT_EQ(popup->Initialize(50, 20, 20, 40, 40, TAVSCREEN_POPUP, sub), TAVERROR_OK); // at 120, 120
    AddProbe(popup, 2, 0, 0, 10, 10);
    display->LButtonDown(10, 10);   // the main screen's object, outside the sub screen: dropped
    display->LButtonDown(150, 190); // the sub screen, outside its popup: dropped
    display->LButtonDown(125, 125); // the popup's object
    display->SetIdleHandler([popup](platform::HeadlessDisplay&) { popup->Close(); });
    ASSERT_EQ(sub->SetChildScreen(popup), TAVERROR_OK);
    display->SetIdleHandler(nullptr);
    EXPECT_EQ(log, (std::vector<std::string>{"got 2", "down 2", "screen down 2", "after down 50"}));
    EXPECT_EQ(sub->RemoveChildScreen(), TAVERROR_OK);
    // Afterwards the main screen's objects get their input again.
    log.clear();
    screen->LMouseDown(10, 10);
    EXPECT_EQ(log.front(), "got 1");
}

TEST_F(ScreenTest, ModalLoopEndsWhenTheApplicationQuits) {
    auto* popup = new CTavScreen;
    ASSERT_EQ(popup->Initialize(50, 0, 0, 100, 100, TAVSCREEN_POPUP, screen), TAVERROR_OK);
    display->DestroyWindow();
    try {
        screen->SetChildScreen(popup);
        ADD_FAILURE() << "the modal loop returned after the shutdown";
    } catch (const ProcessEnded& ended) {
        EXPECT_EQ(ended.status, 0);
    }
}

TEST_F(ScreenTest, RefusesPopupsThatCannotRunAModalLoop) {
    EXPECT_EQ(screen->SetChildScreen(nullptr), TAVERROR_NULLPOINTER);
    CTavScreen sub;
    ASSERT_EQ(sub.Initialize(3, 0, 0, 10, 10, TAVSCREEN_SUBSCREEN, screen), TAVERROR_OK);
    EXPECT_EQ(screen->SetChildScreen(&sub), TAVERROR_NOTPOPUP);
    sub.Finish();
    // A popup whose Initialize failed could never close: refused at once.
    CTavScreen broken;
    EXPECT_EQ(broken.Initialize(4, 0, 0, 1000, 10, TAVSCREEN_POPUP, screen), TAVERROR_INVALIDARG);
    EXPECT_NE(screen->SetChildScreen(&broken), TAVERROR_OK);
    EXPECT_EQ(screen->GetChildScreen(), nullptr);
    broken.Finish();
}

TEST_F(ScreenTest, SubScreensTakeTheirAreaAndFocus) {
    auto* sub = new LoggingScreen;
    ASSERT_EQ(sub->Initialize(9, 100, 100, 50, 50, TAVSCREEN_SUBSCREEN, screen), TAVERROR_OK);
    ASSERT_EQ(screen->AddSubScreen(sub), TAVERROR_OK);
    auto* twin = new CTavScreen;
    ASSERT_EQ(twin->Initialize(9, 0, 0, 10, 10, TAVSCREEN_SUBSCREEN, screen), TAVERROR_OK);
    EXPECT_EQ(screen->AddSubScreen(twin), TAVERROR_DUPLICATEID);
    twin->Finish();
    delete twin;
    AddProbe(sub, 1, 10, 10, 10, 10); // relative to the sub screen: 110..120 in the application
    AddProbe(screen, 2, 0, 0, 320, 240);
    screen->LMouseDown(115, 115);
    EXPECT_EQ(log, (std::vector<std::string>{"got 1", "down 1", "screen down 1", "after down 9"}));
    EXPECT_TRUE(sub->HasFocus());
    EXPECT_FALSE(screen->HasFocus());
    EXPECT_EQ(screen->RemoveSubScreen(9), TAVERROR_OK);
    EXPECT_EQ(screen->RemoveSubScreen(9), TAVERROR_SCREENNOTFOUND);
}

TEST_F(ScreenTest, BackgroundsAreCentredStretchedOrTiled) {
    CTavSurface tile;
    ASSERT_EQ(tile.LoadBitmap(ArtPath("checkyes.bmp").c_str()), TAVERROR_OK);
    const int w = tile.GetWidth(), h = tile.GetHeight();
    ASSERT_EQ(screen->SetBackgroundImage(ArtPath("checkyes.bmp").c_str(), TAVBACK_TILE), TAVERROR_OK);
    Frame(app);
    CTavSurface* drawn = screen->GetSurface();
    for (int ty = 0; ty * h < 240; ++ty)
        for (int tx = 0; tx * w < 320; ++tx)
            ASSERT_EQ(PixelAt(drawn, tx * w, ty * h), PixelAt(&tile, 0, 0));
    // A failed change keeps the old background.
    EXPECT_EQ(screen->SetBackgroundImage("missing.bmp", TAVBACK_STRETCH), TAVERROR_INVALIDARG);
    EXPECT_EQ(screen->GetBackgroundMode(), TAVBACK_TILE);
    EXPECT_EQ(screen->SetBackgroundImage("", TAVBACK_STRETCH), TAVERROR_LOADBITMAP);
    // Centred: a larger picture gets a negative position and is clipped.
    ASSERT_EQ(screen->SetBackgroundImage(ArtPath("dback.bmp").c_str(), TAVBACK_CENTER), TAVERROR_OK);
    CTavObject* background = screen->GetBackground();
    EXPECT_EQ(background->GetX(), static_cast<float>((320 - background->GetWidth()) / 2));
    Frame(app);
    ASSERT_EQ(screen->SetBackgroundImage(ArtPath("dback.bmp").c_str(), TAVBACK_STRETCH), TAVERROR_OK);
    Frame(app);
    CTavSurface expected;
    ASSERT_EQ(expected.Create(320, 240), TAVERROR_OK);
    screen->GetBackground()->GetImage()->BltStretch(expected.GetDDSurface(), 0, 0, 320, 240);
    for (int y = 0; y < 240; y += 37)
        for (int x = 0; x < 320; x += 41)
            ASSERT_EQ(display->LastFrame().At(x, y), PixelAt(&expected, x, y));
}

TEST_F(ScreenTest, ObjectsInsideASubScreenAreLeftToIt) {
    screen->SetBackColor(0x102030);
    auto* sub = new CTavScreen;
    ASSERT_EQ(sub->Initialize(9, 100, 100, 50, 50, TAVSCREEN_SUBSCREEN, screen), TAVERROR_OK);
    sub->SetBackColor(0x405060);
    ASSERT_EQ(screen->AddSubScreen(sub), TAVERROR_OK);
    CTavObject* inside = AddProbe(screen, 1, 110, 110, 10, 10);
    inside->GetImage()->Fill(0xFFFFFF);
    Frame(app);
    EXPECT_EQ(display->LastFrame().At(115, 115), 0x405060u);
    EXPECT_EQ(display->LastFrame().At(50, 50), 0x102030u);
}

} // namespace
} // namespace tav::testing
