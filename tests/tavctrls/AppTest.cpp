#include "HeadlessApp.h"

#include <array>

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

} // namespace
} // namespace tav::testing
