#include "HeadlessApp.h"
#include "TavRuntime.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <tuple>

namespace tav::testing {
namespace {

using Log = std::vector<std::string>;

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
    // Background work keeps the frames going while inactive.
    app.SetRunWhileInactive(TRUE);
    display->Activate(false);
    Frame(app, 2);
    EXPECT_EQ(app.framesDrawn, drawn + 4);
}

using SurfaceTest = ScreenAppTest<CTavScreen>;

// A surface whose pixel (x, y) is 0x010000 * (x + 1) + y + 1: every pixel different, none black.
void Numbered(CTavSurface& surface, int width, int height) {
    ASSERT_EQ(surface.Create(width, height), TAVERROR_OK);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            surface.GetDDSurface()->Set(
                x, y, 0x010000u * static_cast<unsigned>(x + 1) + static_cast<unsigned>(y + 1));
}

TEST_F(SurfaceTest, CreationAndLoadsFailCleanly) {
    CTavSurface surface;
    EXPECT_EQ(surface.Create(5, 0), TAVERROR_INVALIDARG);
    // Sizes whose bytes overflow or that no display needs are refused without allocating.
    EXPECT_EQ(surface.Create(40000, 40000), TAVERROR_CREATESURFACE);
    EXPECT_EQ(surface.GetDDSurface(), nullptr);
    EXPECT_EQ(surface.LoadBitmap("no/such/file.bmp"), TAVERROR_LOADBITMAP);
    // A failed stretched load leaves a cleared surface of the asked size, never undefined pixels.
    EXPECT_EQ(surface.LoadBitmap("no/such/file.bmp", 4, 3), TAVERROR_LOADBITMAP);
    ASSERT_NE(surface.GetDDSurface(), nullptr);
    EXPECT_EQ(PixelAt(&surface, 0, 0) + PixelAt(&surface, 3, 2), 0u);
    ASSERT_EQ(surface.LoadBitmap(ArtPath("buttonnormal.bmp").c_str()), TAVERROR_OK);
}

TEST_F(SurfaceTest, PlainBlitClipsAtEveryEdge) {
    CTavSurface source, dest, empty;
    Numbered(source, 100, 4);
    ASSERT_EQ(dest.Create(100, 4), TAVERROR_OK);
    ASSERT_EQ(source.Blt(dest.GetDDSurface(), -10, 0), 0); // columns 10..99 land on 0..89
    EXPECT_EQ(PixelAt(&dest, 0, 0), PixelAt(&source, 10, 0));
    EXPECT_EQ(PixelAt(&dest, 89, 3), PixelAt(&source, 99, 3));
    EXPECT_EQ(PixelAt(&dest, 90, 0), 0u);
    dest.Fill(0);
    ASSERT_EQ(source.Blt(dest.GetDDSurface(), 95, 2), 0);
    EXPECT_EQ(PixelAt(&dest, 95, 2), PixelAt(&source, 0, 0));
    EXPECT_EQ(PixelAt(&dest, 99, 3), PixelAt(&source, 4, 1));
    EXPECT_EQ(PixelAt(&dest, 94, 2), 0u);
    for (const auto& [x, y] : {std::array{100, 0}, {-100, 0}, {0, -4}})
        EXPECT_EQ(source.Blt(dest.GetDDSurface(), x, y), -1) << x << "," << y;
    EXPECT_EQ(empty.Blt(dest.GetDDSurface(), 0, 0), -1);
}

// The colour key is a raw pixel value. Alpha is d + (s - d) * a / 256 per channel with a clamped to
// 0..256; black source pixels are skipped.
TEST_F(SurfaceTest, ColourKeyAndAlphaBlits) {
    CTavSurface source, dest;
    ASSERT_EQ(source.Create(2, 1), TAVERROR_OK);
    ASSERT_EQ(dest.Create(2, 1), TAVERROR_OK);
    source.GetDDSurface()->Set(0, 0, 0x0000FF);
    source.GetDDSurface()->Set(1, 0, 0xFF0000);
    dest.Fill(0x123456); // RGB(255, 0, 0) is 0x0000FF, which is blue in 0x00RRGGBB
    ASSERT_EQ(source.BltTransparent(dest.GetDDSurface(), 0, 0, RGB(255, 0, 0)), 0);
    EXPECT_EQ(PixelAt(&dest, 0, 0), 0x123456u);
    EXPECT_EQ(PixelAt(&dest, 1, 0), 0xFF0000u);
    EXPECT_EQ(source.BltTransparent(dest.GetDDSurface(), 2, 0, 0), -1);
    EXPECT_EQ(source.BltTransparent(dest.GetDDSurface(), -3, 0, 0), -1);
    source.GetDDSurface()->Set(0, 0, 0);
    source.GetDDSurface()->Set(1, 0, 0xFF8000);
    for (const auto& [alpha, expected] : {std::array{128u, 0x8F6030u}, {0u, 0x204060u}, {300u, 0xFF8000u}}) {
        dest.Fill(0x204060);
        ASSERT_EQ(source.BltAlpha(dest.GetDDSurface(), 0, 0, static_cast<int>(alpha)), 0);
        EXPECT_EQ(PixelAt(&dest, 0, 0), 0x204060u) << alpha;
        EXPECT_EQ(PixelAt(&dest, 1, 0), expected) << alpha;
    }
}

TEST_F(SurfaceTest, FillsFontsAndDeviceContextsCheckTheirArguments) {
    CTavSurface surface;
    EXPECT_EQ(surface.GetDC(), nullptr);
    ASSERT_EQ(surface.Create(4, 3), TAVERROR_OK);
    for (const auto& [x, y, w, h] : {std::array{0, 0, 5, 1}, {-1, 0, 2, 1}, {3, 0, 1, 1}, {0, 2, 1, 1}})
        EXPECT_EQ(surface.FillRect(x, y, w, h, 0xFF), TAVERROR_INVALIDARG) << x << "," << y << " " << w;
    ASSERT_EQ(surface.FillRect(1, 1, 3, 3, 0xABCDEF), TAVERROR_OK); // right and bottom are exclusive
    std::string rows;
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            rows += PixelAt(&surface, x, y) == 0xABCDEFu ? '#' : '.';
    EXPECT_EQ(rows, ".....##..##.");
    EXPECT_EQ(surface.SetFont("", 0, 15, 0), TAVERROR_FONT);
    EXPECT_EQ(surface.SetFont("DejaVu Sans", 0, 0, 0), TAVERROR_FONT);
    EXPECT_STREQ(surface.GetFontName(), "Verdana");
    HDC first = surface.GetDC();
    EXPECT_NE(first, nullptr);
    EXPECT_EQ(surface.GetDC(), first);
    EXPECT_EQ(surface.GetDCCount(), 2);
    for (int i = 0; i < 3; ++i)
        surface.ReleaseDC();
    EXPECT_EQ(surface.GetDCCount(), 0);
}

TEST_F(SurfaceTest, StretchedBlitClipsAfterScaling) {
    CTavSurface source, whole, clipped;
    Numbered(source, 7, 5);
    ASSERT_EQ(whole.Create(40, 30), TAVERROR_OK);
    ASSERT_EQ(clipped.Create(25, 20), TAVERROR_OK);
    ASSERT_EQ(source.BltStretch(whole.GetDDSurface(), 0, 0, 40, 30), 0);
    // The same picture placed partly outside shows exactly the part of it that lies inside.
    ASSERT_EQ(source.BltStretch(clipped.GetDDSurface(), -9, -6, 40, 30), 0);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 25; ++x)
            ASSERT_EQ(PixelAt(&clipped, x, y), PixelAt(&whole, x + 9, y + 6)) << x << "," << y;
    for (const auto& [x, w] : {std::array{0, 0}, {0, -10}, {30, 10}, {-10, 10}, {0x7FFFFFF0, 0x7FFFFFF0}})
        EXPECT_EQ(source.BltStretch(clipped.GetDDSurface(), x, 0, w, 10), -1) << x << " " << w;
}

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
    sub->SetBackColor(RGB(0x40, 0x50, 0x60));
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
    const std::vector<DWORD> sizes = {screen->SetWidth(100), screen->SetHeight(100), popup.SetWidth(21),
                                      popup.SetWidth(0), popup.SetHeight(41)};
    EXPECT_EQ(sizes, (std::vector<DWORD>{TAVERROR_FULLSCREENSIZE, TAVERROR_FULLSCREENSIZE,
                                         TAVERROR_INVALIDARG, TAVERROR_INVALIDARG, TAVERROR_INVALIDARG}));
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

using ControlsTest = ScreenAppTest<>;

TEST_F(ControlsTest, ButtonStatesFollowTheMouse) {
    CTavButton* button = AddButton(screen, 7, 10, 10); // 10..70 x 10..30
    // The state after each step (0 normal, 1 over, 2 down) and the clicks reported so far.
    const std::tuple<std::string, int, int, int, long> steps[] = {
        {"move", 20, 20, 1, 0}, {"move", 200, 200, 0, 0}, {"move", 20, 20, 1, 0},   {"down", 20, 20, 2, 0},
        {"move", 25, 20, 1, 0}, {"move", 200, 20, 0, 0},  {"up", 200, 20, 0, 0},    {"down", 20, 20, 2, 0},
        {"up", 20, 20, 1, 1},   {"down", 20, 20, 2, 1},   {"move", 300, 200, 0, 1}, {"up", 300, 200, 0, 1},
    };
    for (const auto& [what, x, y, state, clicks] : steps) {
        SCOPED_TRACE(what + " " + std::to_string(x) + "," + std::to_string(y));
        if (what == "move")
            screen->MouseMove(x, y);
        else if (what == "down")
            screen->LMouseDown(x, y);
        else
            screen->LMouseUp(x, y);
        EXPECT_EQ(button->GetState(), state);
        EXPECT_EQ(std::count(screen->log.begin(), screen->log.end(), "button 7"), clicks);
    }
    // A popup took the moves while it ran: once it is over, the button learns that the mouse left it.
    screen->MouseMove(20, 20);
    auto* popup = new CTavScreen;
    ASSERT_EQ(popup->Initialize(50, 100, 100, 40, 40, TAVSCREEN_POPUP, screen), TAVERROR_OK);
    display->MouseMove(300, 200);
    display->SetIdleHandler([popup](platform::HeadlessDisplay&) { popup->Close(); });
    ASSERT_EQ(screen->SetChildScreen(popup), TAVERROR_OK);
    display->SetIdleHandler(nullptr);
    EXPECT_EQ(screen->RemoveChildScreen() * 10 + button->GetState(), 1);
    app.PumpMessages();
    EXPECT_EQ(button->GetState(), 0);
    CTavButton bad;
    EXPECT_EQ(bad.Initialize("x", 1, 0, 0, 0, 10, screen, "a", "b", "c"), TAVERROR_INVALIDARG);
    EXPECT_EQ(bad.Initialize("x", 1, 0, 0, 10, 10, screen, "a", "", "c"), TAVERROR_LOADBITMAP);
}

TEST_F(ControlsTest, FailedObjectsStaySafe) {
    auto* object = new CTavObject;
    EXPECT_EQ(object->Initialize(2, 0, 0, "missing.bmp", screen), TAVERROR_INVALIDARG);
    // Generated code adds it all the same: it draws nothing and can be finished twice.
    ASSERT_EQ(screen->AddObject(object), TAVERROR_OK);
    Frame(app, 2);
    object->Finish();
    object->Finish();
    EXPECT_EQ(object->Display(), -1);
    Frame(app);
    auto* button = new CTavButton;
    EXPECT_EQ(button->Initialize("x", 3, 0, 0, 10, 10, screen, "m1.bmp", "m2.bmp", "m3.bmp"), TAVERROR_OK);
    screen->AddObject(button);
    screen->LMouseDown(5, 5);
    screen->LMouseUp(5, 5);
    Frame(app);
    // A clone without screen never reaches for one.
    CTavObject* clone = button->Clone(nullptr, 0);
    EXPECT_EQ(clone->GetScreen(), nullptr);
    clone->SetPosition(4, 4);
    clone->OnLMouseUp(5, 5);
    clone->Display(app.GetBackBuffer());
    clone->Finish();
    delete clone;
}

TEST_F(ControlsTest, CheckBoxTogglesOnReleaseAndSpace) {
    CTavCheckBox* box = AddCheckBox(screen, 3, 10, 50, 120, 20);
    screen->LMouseDown(15, 55);
    EXPECT_FALSE(box->GetValue()); // the press itself does nothing
    screen->LMouseUp(15, 55);
    for (UINT key : {VK_SPACE, VK_RETURN, VK_SPACE}) // only space toggles
        screen->KeyDown(key);
    EXPECT_EQ(screen->log, (std::vector<std::string>{"objectdown 3", "check 3 1", "check 3 0", "check 3 1"}));
    CTavCheckBox bad;
    EXPECT_EQ(bad.Initialize("x", 4, 0, 0, 10, 10, screen, "", "b"), TAVERROR_LOADBITMAP);
}

TEST_F(ControlsTest, MultiLineStaticBreaksBetweenCharacters) {
    auto* text = new CTavStatic;
    ASSERT_EQ(text->Initialize("Incomprehensibilities", 5, 0, 0, 50, 100, screen), TAVERROR_OK);
    screen->AddObject(text);
    const auto& lines = text->GetLines();
    EXPECT_EQ(lines.size(), 1u);
    text->SetMultiline(TRUE);
    ASSERT_GT(lines.size(), 2u);
    std::string joined;
    for (const auto& line : lines) {
        int width = 0;
        text->GetImage()->GetTextExtent(line.c_str(), "Verdana", 0, 15, 0, &width, nullptr);
        EXPECT_LT(width, 45) << line;
        joined += line;
    }
    EXPECT_EQ(joined, "Incomprehensibilities");
    text->SetText("one\ntwo");
    EXPECT_EQ(lines, (std::vector<std::string>{"one ", "two"}));
    text->SetText("");
    EXPECT_EQ(lines, (std::vector<std::string>{""}));
    // A character of several bytes is never split across lines.
    text->SetText("\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9");
    for (const auto& line : lines)
        EXPECT_EQ(line.size() % 2, 0u) << line;
}

TEST_F(ControlsTest, HiddenObjectsAreNotHitOrDrawnButKeepMoving) {
    CTavObject* object = AddPlain(screen, 9, 0, 0, 10, 10);
    object->GetImage()->Fill(0xFFFFFF);
    object->SetVisible(FALSE);
    EXPECT_FALSE(object->HitTest(5, 5));
    object->SetSpeed(30, 0);
    display->SetFrameTime(1.0 / 60);
    Frame(app);
    EXPECT_EQ(display->LastFrame().At(5, 5), 0u);
    Frame(app, 5); // half a pixel each frame, placed on whole pixels
    EXPECT_NEAR(object->GetX(), 2.5f, 0.01f);
    EXPECT_LE(object->GetAppX(), object->GetX());
    EXPECT_GT(object->GetAppX(), object->GetX() - 1.0f);
    object->SetVisible(TRUE);
    Frame(app);
    EXPECT_EQ(display->LastFrame().At(5, 5), 0xFFFFFFu);
}

// Numbers no screen can hold, as generated code passes them on from a project file: positions and
// offsets are clamped, sizes refused; drawing and input over them stay defined.
TEST_F(ControlsTest, NumbersBeyondAnyScreenAreClampedOrRefused) {
    constexpr int kMax = INT32_MAX, kMin = INT32_MIN, kFar = 1 << 20, kLong = 32767;
    CTavObject* far = AddPlain(screen, 1, kMax, kMin);
    auto* text = AddPlain<CTavStatic>(screen, 2, 0, 0, 100, 40);
    text->SetTextExtent(kMin, kMax);
    EXPECT_EQ((std::vector<long>{text->GetTextOffsetX(), far->SetWidth(kLong + 1), far->SetHeight(kMin),
                                 far->SetHeight(kLong)}),
              (std::vector<long>{-kFar, TAVERROR_INVALIDARG, TAVERROR_INVALIDARG, TAVERROR_OK}));
    const float position[] = {far->GetX(), far->GetY()};
    far->SetPosition(NAN, -INFINITY);
    EXPECT_EQ((std::vector<float>{position[0], position[1], far->GetX(), far->GetY()}),
              (std::vector<float>{kFar, -kFar, 0, -kFar}));
    screen->LMouseDown(kMax, kMin);
    Frame(app, 2);
}

// Callbacks that destroy objects, screens or the application while the library is still routing
// the event or drawing the frame. Run under AddressSanitizer, any touch of freed memory fails.
using LifetimeTest = ScreenAppTest<LogScreen, true>;

TEST_F(LifetimeTest, ButtonRemovingItselfWithEitherAnswer) {
    AddButton(screen, 1, 0, 0);
    AddButton(screen, 2, 0, 0); // overlapping: still offered the release after the first is gone
    int calls = 0;
    // The wrong answer: the library must survive it all the same.
    screen->On("button", FALSE, [&](DWORD id) { ++calls, screen->RemoveObject(id); });
    Click(10, 10);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(screen->GetObjectCount(), 0);
    AddButton(screen, 1, 0, 0); // the id is free again at once
    screen->On("button", TRUE, [&](DWORD id) { screen->RemoveObject(id); });
    Click(10, 10);
    EXPECT_FALSE(screen->HasObject(1));
}

TEST_F(LifetimeTest, VoidNotificationsMayDestroyTheirObjectAndOthers) {
    AddCheckBox(screen, 1, 0, 0, 60, 20);
    AddPlain(screen, 2, 0, 0);
    AddPlain(screen, 3, 0, 0);
    screen->On("check", FALSE, [&](DWORD) {
        for (DWORD id : {1u, 2u, 3u})
            screen->RemoveObject(id);
    });
    Click(5, 5);
    EXPECT_EQ(screen->GetObjectCount(), 0);
    AddPlain(screen, 4, 0, 0);
    AddPlain(screen, 5, 0, 0);
    screen->On("got", FALSE, [&](DWORD id) { screen->RemoveObject(id); });
    Click(5, 5);
    EXPECT_EQ(screen->GetObjectCount(), 0);
}

TEST_F(LifetimeTest, DoubleClickOpeningADialogThatRebuildsTheView) {
    for (DWORD id = 1; id <= 3; ++id)
        AddPlain(screen, id, 0, 0);
    int dialogs = 0;
    screen->On("doubleclick", FALSE, [&](DWORD) {
        LogScreen* dialog = NewLogScreen(50, 100, 100, 100, 100, TAVSCREEN_POPUP, screen);
        AddButton(dialog, 9, 0, 0);
        dialog->On("button", TRUE, [&, dialog](DWORD) {
            // Rebuild the view behind the dialog: the same ids, new objects.
            for (DWORD id = 1; id <= 3; ++id)
                screen->RemoveObject(id);
            for (DWORD id = 1; id <= 3; ++id)
                AddPlain(screen, id, 0, 0);
            dialog->Close();
        });
        display->LClick(110, 110);
        ++dialogs;
        screen->SetChildScreen(dialog);
        screen->RemoveChildScreen();
    });
    display->DoubleClick(5, 5);
    Frame(app, 3);
    EXPECT_GE(dialogs, 1);
    EXPECT_EQ(screen->GetObjectCount(), 3);
}

TEST_F(LifetimeTest, ScreensRemovedFromVoidCallbacks) {
    LogScreen* sub = NewLogScreen(7, 0, 0, 100, 100, TAVSCREEN_SUBSCREEN, screen);
    screen->AddSubScreen(sub);
    AddPlain(sub, 1, 0, 0);
    sub->On("after down", FALSE, [&](DWORD id) { screen->RemoveSubScreen(id); });
    Click(5, 5);
    EXPECT_FALSE(screen->HasScreen(7));
    AddPlain(screen, 1, 0, 0);
    // The application's child screen goes; the answer says nothing was destroyed.
    screen->On("objectdown", FALSE, [&](DWORD) { screen->Close(); });
    Click(5, 5);
    EXPECT_EQ(app.GetChildScreen(), nullptr);
    Frame(app, 2);
}

TEST_F(LifetimeTest, ShutdownInsideNestedModalLoopsNeverReturnsIntoThem) {
    bool returned = false;
    screen->On("button", FALSE, [&](DWORD) {
        LogScreen* outer = NewLogScreen(2, 0, 0, 200, 200, TAVSCREEN_POPUP, screen);
        AddButton(outer, 3, 50, 50);
        outer->On("button", FALSE, [&, outer](DWORD) {
            LogScreen* inner = NewLogScreen(4, 10, 10, 100, 100, TAVSCREEN_POPUP, outer);
            display->DestroyWindow();
            outer->SetChildScreen(inner);
            returned = true;
        });
        display->LClick(60, 60);
        screen->SetChildScreen(outer);
        returned = true;
    });
    AddButton(screen, 1, 250, 200);
    display->LClick(260, 210);
    EXPECT_EQ(Run(app), 0);
    EXPECT_FALSE(returned);
}

// ---- drawing only what changed ----

// Adds up the area presented.
struct AreaDisplay : platform::HeadlessDisplay {
    void Present(const platform::PixelBuffer& frame, const platform::DirtyRegion& changed,
                 bool wait) override {
        for (const platform::PixelRect& rect : changed)
            area += rect.Width() * rect.Height();
        HeadlessDisplay::Present(frame, changed, wait);
    }
    int area = 0;
};

// Hooks that draw where the marks say (nothing at 5), as the designer draws selections and dragged images.
int mark = 5, appMark = 5;
struct HookApp : CTavApp {
    void AfterUpdateFrame(CTavSurface* back) override {
        back->FillRect(appMark * 2, appMark, appMark * 2 + appMark % 5 * 2, appMark + 7, 0xFF00FF);
    }
};
struct HookScreen : LogScreen {
    void AfterBackBufferRedrawn() override { GetSurface()->DrawLine(mark, 5, 5, mark, RGB(0, 255, 0)); }
    void AfterDisplay(CTavSurface* on) override {
        on->FillRect(mark, mark / 2, mark + mark % 5, mark / 2 + 4, 0xFFFF);
    }
};

// Random scenes changed step by step, drawn as changes or every frame whole (the reference).
class PartialRedrawTest : public HeadlessAppTest {
protected:
    int Random(int below) { return std::uniform_int_distribution<int>(0, std::max(below, 1) - 1)(random); }
    void AddRandom(CTavScreen* owner) {
        static const char* const pictures[] = {"logo.bmp", "checkyes.bmp", "plus.bmp"};
        const int x = Random(owner->GetWidth()) - 10, y = Random(owner->GetHeight()) - 10, kind = Random(5);
        if (kind == 4)
            return static_cast<void>(AddButton(owner, nextId++, x, y));
        CTavObject* object = kind == 3 ? new CTavStatic : new CTavObject;
        if (auto* text = dynamic_cast<CTavStatic*>(object))
            text->Initialize("Some text", nextId++, float(x), float(y), 70, 18, owner);
        else
            object->Initialize(nextId++, float(x), float(y), ArtPath(pictures[Random(3)]).c_str(), owner);
        kind == 1 ? object->SetTransparent(TRUE, RGB(255, 255, 255)) : object->SetTranslucent(kind == 2, 99);
        owner->AddObject(object);
    }
    void Step() {
        CTavScreen* owner = screens[static_cast<std::size_t>(Random(static_cast<int>(screens.size())))];
        const int count = owner->GetObjectCount();
        CTavObject* object = count > 0 ? owner->GetObjectAt(Random(count)) : nullptr;
        const std::function<void()> steps[] = {
            [&] { display->LClick(Random(Random(2) ? 320 : 40), Random(Random(2) ? 240 : 30)); },
            [&] { display->MouseMove(Random(320), Random(240)); },
            [&] {
                dynamic_cast<CTavScrollBars*>(screens[2]->GetScrollBarsObject())
                    ->SetScrollPosition(Random(200), Random(150));
            },
            [&] { screens[1]->SetPosition(Random(190), Random(140)); },
            [&] { appMark = Random(100); },
            [&] { // a title more, or a new bar
                if (Random(2))
                    return static_cast<void>(
                        dynamic_cast<CTavMenuBar*>(screens[0]->GetMenuBar())->AddMenu("EDIT"));
                auto* bar = new CTavMenuBar;
                bar->Initialize(screens[0]);
                bar->AddMenuItem("Open", bar->AddMenu(Random(2) ? "FILE" : "PROJECT"));
                screens[0]->SetMenuBar(bar);
            },
            [&] { // the screens' hooks follow the mark
                mark = Random(100);
                for (CTavScreen* each : hooked)
                    each->Invalidate(0, 0, 1, 1);
            },
            [&] { object->SetPosition(object->GetX() + Random(7) - 3, object->GetY() + Random(7) - 3); },
            [&] { object->SetPosition(Random(owner->GetWidth() + 40) - 20.0f, Random(240) - 20.0f); },
            [&] { object->SetVisible(!object->IsVisible()); },
            [&] { Random(2) ? object->SetWidth(8 + Random(60)) : object->SetHeight(8 + Random(40)); },
            [&] { owner->SetObjectOrder(object->GetID(), Random(count)); },
            [&] {
                if (auto* text = dynamic_cast<CTavStatic*>(object))
                    return text->SetText(Random(2) ? "Changed" : "A longer text");
                object->SetTranslucent(!object->IsTranslucent(), 99);
            },
            [&] { owner->RemoveObject(object->GetID()), AddRandom(owner); }};
        steps[Random(object != nullptr ? 14 : 7)]();
    }
    // What the frames after each step of scene `seed` showed.
    std::vector<std::size_t> Frames(unsigned seed, bool whole) {
        auto owned = std::make_unique<AreaDisplay>();
        AreaDisplay* shownOn = owned.get();
        owned->SetCloseWhenInputEnds(false);
        display = owned.get();
        platform::SetNextDisplay(std::move(owned));
        TheRuntime().fullRedraw = whole;
        random.seed(seed), mark = appMark = 40;
        std::vector<std::size_t> shown;
        const auto show = [&] {
            const platform::PixelBuffer& frame = display->LastFrame();
            shown.push_back(
                std::hash<std::string_view>{}({reinterpret_cast<const char*>(frame.Row(0)), 4u * 320 * 240}));
        };
        HookApp app;
        EXPECT_EQ(Init(app), TAVERROR_OK);
        app.SetShowFrameRate(TRUE);
        screens = {new HookScreen};
        screens[0]->Initialize(1);
        app.SetChildScreen(screens[0]);
        const int back = Random(4); // stretched, tiled, centred, none
        screens[0]->SetBackgroundImage(
            ArtPath(std::array{"dback.bmp", "mainback.bmp", "logo.bmp", ""}[back]).c_str(), (4 - back) % 3);
        auto* bar = new CTavMenuBar;
        bar->Initialize(screens[0]);
        bar->AddMenuItem("Open", bar->AddMenu("FILE"));
        screens[0]->SetMenuBar(bar);
        for (const std::array<int, 6>& at : {std::array{2, 20, 60, 120, 90, TAVSCREEN_SUBSCREEN},
                                             {3, 160, 100, 140, 120, TAVSCREEN_SUBSCREEN},
                                             {9, 30, 40, 180, 120, TAVSCREEN_POPUP}}) {
            screens.push_back(new HookScreen);
            screens.back()->Initialize(DWORD(at[0]), at[1], at[2], at[3], at[4], at[5], screens[0]);
            if (at[5] == TAVSCREEN_SUBSCREEN)
                screens[0]->AddSubScreen(screens.back());
        }
        screens[1]->SetBackColor(RGB(200, 10, 10));
        screens[2]->SetScrollBars(400, 300, 3);
        hooked = screens; // the popup stays shown once its loop is over
        for (CTavScreen* owner : screens)
            for (int i = 0; i < 4; ++i)
                AddRandom(owner);
        screens.pop_back();
        const auto steps = [&](int count) {
            for (int i = 0; i < count; ++i, Frame(app), show())
                Step();
        };
        steps(60);
        screens.push_back(hooked.back());
        display->SetIdleHandler([&](platform::HeadlessDisplay&) {
            show();
            shown.size() < 90 ? Step() : static_cast<void>(screens.back()->Close());
        });
        screens[0]->SetChildScreen(screens.back());
        display->SetIdleHandler(nullptr);
        screens.pop_back();
        steps(20);
        mark = appMark = 5;
        screens[1]->SetPosition(0, 150); // nothing covers where the object moves
        for (CTavScreen* each : hooked)
            each->Invalidate(0, 0, 1, 1);
        CTavObject* moved = AddPlain(screens[0], nextId++, 150, 20, 20, 20);
        Frame(app);
        shownOn->area = 0;
        Frame(app, 3);
        EXPECT_EQ(shownOn->area, whole ? 3 * 320 * 240 : 0) << "still frames show nothing";
        moved->SetPosition(153, 22);
        Frame(app);
        EXPECT_EQ(shownOn->area, whole ? 4 * 320 * 240 : 23 * 22) << "only where a moved object was and is";
        TheRuntime().fullRedraw = false;
        return shown;
    }

    std::mt19937 random;
    std::vector<CTavScreen*> screens, hooked;
    DWORD nextId = 100;
};

TEST_F(PartialRedrawTest, EveryFrameEqualsAWholeRedrawOfTheSameState) {
    for (unsigned seed = 1; seed <= 6; ++seed) {
        const std::vector<std::size_t> partial = Frames(seed, false), whole = Frames(seed, true);
        ASSERT_EQ(partial.size(), whole.size()) << "seed " << seed;
        const auto differs = std::mismatch(partial.begin(), partial.end(), whole.begin()).first;
        EXPECT_EQ(differs, partial.end()) << "seed " << seed << ", frame " << differs - partial.begin();
    }
}

} // namespace
} // namespace tav::testing
