#include "HeadlessApp.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace tav::testing {
namespace {

using Log = std::vector<std::string>;

// An object that logs what reaches it into its screen's log.
class Probe : public CTavObject {
public:
    explicit Probe(BOOL stop) : stop_(stop) {}
    BOOL OnLMouseDown(int, int) override {
        Note("down " + std::to_string(GetID()));
        return stop_;
    }
    BOOL OnKeyDown(UINT key) override {
        Note("key " + std::to_string(GetID()) + " " + std::to_string(key));
        return FALSE;
    }

private:
    void Note(const std::string& entry) { static_cast<LogScreen*>(GetScreen())->log.push_back(entry); }
    BOOL stop_;
};

class ScreenTest : public ScreenAppTest<> {
protected:
    void SetUp() override {
        ScreenAppTest::SetUp();
        screen->verbose = true;
    }
    Probe* AddProbe(CTavScreen* owner, DWORD id, int x, int y, int w, int h, BOOL stop = FALSE) {
        auto* probe = new Probe(stop);
        EXPECT_EQ(probe->Initialize(id, static_cast<float>(x), static_cast<float>(y), w, h, owner),
                  TAVERROR_OK);
        EXPECT_EQ(owner->AddObject(probe), TAVERROR_OK);
        return probe;
    }
    LogScreen* NewLogScreen(DWORD id, int x, int y, int w, int h, int kind, CTavScreen* parent) {
        auto* made = new LogScreen;
        made->verbose = true;
        EXPECT_EQ(made->Initialize(id, x, y, w, h, kind, parent), TAVERROR_OK);
        return made;
    }
};

TEST_F(ScreenTest, PressesAndKeysAreRoutedInOrderAndMoveTheFocus) {
    AddProbe(screen, 1, 0, 0, 50, 50);
    AddProbe(screen, 2, 20, 20, 50, 50);
    AddProbe(screen, 3, 100, 100, 10, 10);
    screen->KeyDown(VK_RETURN);
    EXPECT_TRUE(screen->log.empty()); // the screen has no focus yet
    screen->GetObjectByID(3)->SetFocus(TRUE);
    screen->log.clear();
    screen->LMouseDown(30, 30);
    EXPECT_EQ(screen->log, (Log{"lost 3", "got 1", "down 1", "objectdown 1", "lost 1", "got 2", "down 2",
                                "objectdown 2", "after down 1"}));
    screen->log.clear();
    screen->SetFocus(TRUE);
    screen->KeyDown(VK_SPACE);
    EXPECT_EQ(screen->log, (Log{"key 2 32", "after key 32"}));
    screen->LMouseDown(150, 150); // nothing there: no object keeps the focus
    screen->log.clear();
    screen->KeyDown(VK_RETURN);
    EXPECT_EQ(screen->log, (Log{"after key 13"}));
    // An object that reports TRUE stops the routing.
    AddProbe(screen, 4, 200, 200, 20, 20, TRUE);
    AddProbe(screen, 5, 200, 200, 20, 20);
    screen->LMouseDown(205, 205);
    EXPECT_EQ(screen->log.back(), "down 4");
}

TEST_F(ScreenTest, ModalPopupTakesAllInputUntilItCloses) {
    AddProbe(screen, 1, 0, 0, 320, 240);
    LogScreen* popup = NewLogScreen(50, 100, 100, 100, 100, TAVSCREEN_POPUP, screen);
    AddProbe(popup, 2, 0, 0, 20, 20);
    display->LButtonDown(10, 10);   // on the parent, outside the popup: dropped
    display->LButtonDown(105, 105); // on the popup's object
    display->SetIdleHandler([popup](platform::HeadlessDisplay&) { popup->Close(); });
    ASSERT_EQ(screen->SetChildScreen(popup), TAVERROR_OK); // runs the modal loop over the queued input
    display->SetIdleHandler(nullptr);
    EXPECT_TRUE(screen->log.empty());
    EXPECT_EQ(popup->log, (Log{"got 2", "down 2", "objectdown 2", "after down 50"}));
    EXPECT_EQ(screen->GetChildScreen(), popup);
    EXPECT_EQ(screen->SetChildScreen(popup), TAVERROR_CHILDEXISTS);
    EXPECT_EQ(screen->RemoveChildScreen(), TAVERROR_OK);
    EXPECT_TRUE(screen->HasFocus());
}

TEST_F(ScreenTest, SubScreensTakeTheirAreaFocusAndDrawing) {
    LogScreen* sub = NewLogScreen(9, 100, 100, 50, 50, TAVSCREEN_SUBSCREEN, screen);
    sub->SetBackColor(0x405060);
    ASSERT_EQ(screen->AddSubScreen(sub), TAVERROR_OK);
    CTavScreen twin;
    ASSERT_EQ(twin.Initialize(9, 0, 0, 10, 10, TAVSCREEN_SUBSCREEN, screen), TAVERROR_OK);
    EXPECT_EQ(screen->AddSubScreen(&twin), TAVERROR_DUPLICATEID);
    twin.Finish();
    AddProbe(sub, 1, 10, 10, 10, 10); // relative to the sub screen: 110..120 in the application
    AddProbe(screen, 2, 90, 90, 230, 150);
    // A main screen's object inside the sub screen's area is left to the sub screen.
    AddProbe(screen, 3, 130, 130, 10, 10)->GetImage()->Fill(0xFFFFFF);
    screen->LMouseDown(115, 115);
    EXPECT_TRUE(screen->log.empty());
    EXPECT_EQ(sub->log, (Log{"got 1", "down 1", "objectdown 1", "after down 9"}));
    EXPECT_FALSE(screen->HasFocus());
    Frame(app);
    EXPECT_EQ(display->LastFrame().At(135, 135), 0x405060u);
    EXPECT_EQ(screen->RemoveSubScreen(9), TAVERROR_OK);
    EXPECT_EQ(screen->RemoveSubScreen(9), TAVERROR_SCREENNOTFOUND);
}

TEST_F(ScreenTest, PopupsStayInsideTheApplicationAndMustRunTheirLoop) {
    CTavScreen popup;
    EXPECT_EQ(popup.Initialize(2, 0, 0, 10, 10, TAVSCREEN_POPUP, nullptr), TAVERROR_NOPARENT);
    for (const auto& [x, y, size] : {std::array{311, 0, 10}, {0, 231, 10}, {320, 0, 1}})
        EXPECT_EQ(popup.Initialize(2, x, y, size, size, TAVSCREEN_POPUP, screen), TAVERROR_INVALIDARG) << x;
    // A popup whose Initialize failed could never close: refused at once.
    EXPECT_NE(screen->SetChildScreen(&popup), TAVERROR_OK);
    EXPECT_EQ(screen->SetChildScreen(nullptr), TAVERROR_NULLPOINTER);
    ASSERT_EQ(popup.Initialize(2, 300, 200, 10, 10, TAVSCREEN_POPUP, screen), TAVERROR_OK);
    EXPECT_EQ(screen->SetWidth(100), TAVERROR_FULLSCREENSIZE);
    EXPECT_EQ(screen->SetHeight(100), TAVERROR_FULLSCREENSIZE);
    for (int width : {21, 0})
        EXPECT_EQ(popup.SetWidth(width), TAVERROR_INVALIDARG);
    EXPECT_EQ(popup.SetHeight(41), TAVERROR_INVALIDARG);
    ASSERT_EQ(popup.SetWidth(20), TAVERROR_OK);
    ASSERT_EQ(popup.SetHeight(40), TAVERROR_OK);
    EXPECT_EQ(popup.GetSurface()->GetWidth() * 100 + popup.GetSurface()->GetHeight(), 2040);
    popup.Finish();
    CTavScreen sub;
    ASSERT_EQ(sub.Initialize(3, 0, 0, 10, 10, TAVSCREEN_SUBSCREEN, screen), TAVERROR_OK);
    EXPECT_EQ(screen->SetChildScreen(&sub), TAVERROR_NOTPOPUP);
    EXPECT_EQ(screen->GetChildScreen(), nullptr);
    sub.Finish();
}

TEST_F(ScreenTest, ObjectsKeepUniqueIdsAndTheirOrder) {
    Probe* first = AddProbe(screen, 5, 0, 0, 10, 10);
    Probe twin(FALSE);
    ASSERT_EQ(twin.Initialize(5, 0, 0, 10, 10, screen), TAVERROR_OK);
    EXPECT_EQ(screen->AddObject(&twin), TAVERROR_DUPLICATEID);
    EXPECT_EQ(screen->GetObjectByID(5), first);
    twin.Finish();
    AddProbe(screen, 6, 0, 0, 10, 10);
    AddProbe(screen, 7, 0, 0, 10, 10);
    const auto order = [this] {
        std::string ids;
        for (int i = 0; screen->GetObjectAt(i) != nullptr; ++i)
            ids += std::to_string(screen->GetObjectAt(i)->GetID());
        return ids;
    };
    ASSERT_EQ(screen->SetObjectOrder(7, 0), TAVERROR_OK);
    EXPECT_EQ(order(), "756");
    ASSERT_EQ(screen->SetObjectOrder(7, 99), TAVERROR_OK);
    EXPECT_EQ(order(), "567");
    EXPECT_EQ(screen->SetObjectOrder(8, 0), TAVERROR_OBJECTNOTFOUND);
    EXPECT_EQ(screen->RemoveObject(6), TAVERROR_OK);
    EXPECT_EQ(screen->RemoveObject(6), TAVERROR_OBJECTNOTFOUND);
    EXPECT_EQ(order(), "57");
}

TEST_F(ScreenTest, PopupOfASubScreenTakesAllInputToo) {
    AddProbe(screen, 1, 0, 0, 320, 240);
    LogScreen* sub = NewLogScreen(9, 100, 100, 100, 100, TAVSCREEN_SUBSCREEN, screen);
    ASSERT_EQ(screen->AddSubScreen(sub), TAVERROR_OK);
    LogScreen* popup = NewLogScreen(50, 20, 20, 40, 40, TAVSCREEN_POPUP, sub); // at 120, 120
    AddProbe(popup, 2, 0, 0, 10, 10);
    for (const auto& [x, y] : {std::array{10, 10}, {150, 190}, {125, 125}}) // only the last reaches it
        display->LButtonDown(x, y);
    display->SetIdleHandler([popup](platform::HeadlessDisplay&) { popup->Close(); });
    ASSERT_EQ(sub->SetChildScreen(popup), TAVERROR_OK);
    display->SetIdleHandler(nullptr);
    EXPECT_TRUE(screen->log.empty() && sub->log.empty());
    EXPECT_EQ(popup->log, (Log{"got 2", "down 2", "objectdown 2", "after down 50"}));
    EXPECT_EQ(sub->RemoveChildScreen(), TAVERROR_OK);
    screen->LMouseDown(10, 10);
    EXPECT_EQ(screen->log.front(), "got 1");
}

TEST_F(ScreenTest, ACentredBackgroundStaysWhenAChangeFails) {
    ASSERT_EQ(screen->SetBackgroundImage(ArtPath("dback.bmp").c_str(), TAVBACK_CENTER), TAVERROR_OK);
    EXPECT_EQ(screen->SetBackgroundImage("missing.bmp", TAVBACK_STRETCH), TAVERROR_INVALIDARG);
    EXPECT_EQ(screen->SetBackgroundImage("", TAVBACK_STRETCH), TAVERROR_LOADBITMAP);
    EXPECT_EQ(screen->GetBackgroundMode(), TAVBACK_CENTER);
    CTavObject* background = screen->GetBackground();
    const int w = background->GetWidth(), h = background->GetHeight();
    Frame(app); // 300 x 300: a taller picture gets a negative position and is clipped
    for (int x = 10; x < 310; x += 3)
        for (int y = 0; y < 240; ++y)
            ASSERT_EQ(display->LastFrame().At(x, y),
                      PixelAt(background->GetImage(), x - (320 - w) / 2, y - (240 - h) / 2))
                << x << "," << y;
    EXPECT_EQ(display->LastFrame().At(5, 5), 0u);
}

} // namespace
} // namespace tav::testing
