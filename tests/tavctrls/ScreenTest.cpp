#include "HeadlessApp.h"

#include <array>

namespace tav::testing {
namespace {

using Log = std::vector<std::string>;

// An object that logs what reaches it into its screen's log; `stop` answers presses.
class Probe : public CTavObject {
public:
    BOOL OnLMouseDown(int, int) override { return Note("down " + std::to_string(GetID()), stop); }
    BOOL OnKeyDown(UINT key) override {
        return Note("key " + std::to_string(GetID()) + " " + std::to_string(key));
    }
    BOOL stop = FALSE;

private:
    BOOL Note(const std::string& entry, BOOL answer = FALSE) {
        static_cast<LogScreen*>(GetScreen())->log.push_back(entry);
        return answer;
    }
};

using ScreenTest = ScreenAppTest<LogScreen, true>;

TEST_F(ScreenTest, PressesAndKeysAreRoutedInOrderAndMoveTheFocus) {
    AddPlain<Probe>(screen, 1, 0, 0, 50, 50);
    AddPlain<Probe>(screen, 2, 20, 20, 50, 50);
    AddPlain<Probe>(screen, 3, 100, 100, 10, 10);
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
    AddPlain<Probe>(screen, 4, 200, 200, 20, 20)->stop = TRUE;
    AddPlain<Probe>(screen, 5, 200, 200, 20, 20);
    screen->LMouseDown(205, 205);
    EXPECT_EQ(screen->log.back(), "down 4");
}

TEST_F(ScreenTest, ModalPopupsTakeAllInputUntilTheyClose) {
    AddPlain<Probe>(screen, 1, 0, 0, 320, 240);
    LogScreen* sub = NewLogScreen(9, 100, 100, 100, 100, TAVSCREEN_SUBSCREEN, screen);
    ASSERT_EQ(screen->AddSubScreen(sub), TAVERROR_OK);
    // A popup of the screen, then one of the sub screen; only the last press lands on it.
    for (LogScreen* parent : {screen, sub}) {
        LogScreen* popup = NewLogScreen(50, 20, 20, 40, 40, TAVSCREEN_POPUP, parent);
        AddPlain<Probe>(popup, 2, 0, 0, 10, 10);
        for (const auto& [x, y] :
             {std::array{10, 10}, {150, 190}, {parent->GetAppX() + 25, parent->GetAppY() + 25}})
            display->LButtonDown(x, y);
        display->SetIdleHandler([popup](platform::HeadlessDisplay&) { popup->Close(); });
        ASSERT_EQ(parent->SetChildScreen(popup), TAVERROR_OK); // runs the modal loop over the queued input
        display->SetIdleHandler(nullptr);
        EXPECT_TRUE(screen->log.empty() && sub->log.empty());
        EXPECT_EQ(popup->log, (Log{"got 2", "down 2", "objectdown 2", "after down 50"}));
        EXPECT_EQ(parent->GetChildScreen(), popup);
        EXPECT_EQ(parent->SetChildScreen(popup), TAVERROR_CHILDEXISTS);
        EXPECT_EQ(parent->RemoveChildScreen(), TAVERROR_OK);
        EXPECT_TRUE(parent->HasFocus());
    }
    screen->LMouseDown(10, 10);
    EXPECT_EQ(screen->log.front(), "got 1");
}

TEST_F(ScreenTest, SubScreensTakeTheirAreaFocusAndDrawing) {
    LogScreen* sub = NewLogScreen(9, 100, 100, 50, 50, TAVSCREEN_SUBSCREEN, screen);
    sub->SetBackColor(0x405060);
    ASSERT_EQ(screen->AddSubScreen(sub), TAVERROR_OK);
    CTavScreen twin;
    ASSERT_EQ(twin.Initialize(9, 0, 0, 10, 10, TAVSCREEN_SUBSCREEN, screen), TAVERROR_OK);
    EXPECT_EQ(screen->AddSubScreen(&twin), TAVERROR_DUPLICATEID);
    twin.Finish();
    AddPlain<Probe>(sub, 1, 10, 10, 10, 10); // relative to the sub screen: 110..120 in the application
    AddPlain<Probe>(screen, 2, 90, 90, 230, 150);
    // A main screen's object inside the sub screen's area is left to the sub screen.
    AddPlain<Probe>(screen, 3, 130, 130, 10, 10)->GetImage()->Fill(0xFFFFFF);
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
    Probe* first = AddPlain<Probe>(screen, 5, 0, 0, 10, 10);
    Probe twin;
    ASSERT_EQ(twin.Initialize(5, 0, 0, 10, 10, screen), TAVERROR_OK);
    EXPECT_EQ(screen->AddObject(&twin), TAVERROR_DUPLICATEID);
    EXPECT_EQ(screen->GetObjectByID(5), first);
    twin.Finish();
    AddPlain<Probe>(screen, 6, 0, 0, 10, 10);
    AddPlain<Probe>(screen, 7, 0, 0, 10, 10);
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
