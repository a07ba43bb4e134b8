#include "tavctrls/platform/HeadlessDisplay.h"
#include "tavctrls/platform/BitmapFile.h"
#include "tavctrls/platform/EventTranslator.h"
#include "tavctrls/platform/InputScript.h"
#include "tavctrls/platform/KeyMap.h"
#include "tavctrls/platform/ProcessEnd.h"
#include "tests/support/TestSupport.h"
#include "tests/tavctrls/DisplayTestSupport.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace tav::platform {
namespace {

// A message written short: its name and wParam (decimal), and for mouse messages the position.
std::string Describe(const WindowMessage& m) {
    static const std::map<unsigned, std::string> names = {
        {msg::kDestroy, "destroy"},   {msg::kClose, "close"},   {msg::kActivateApp, "activate"},
        {msg::kKeyDown, "key"},       {msg::kChar, "char"},     {msg::kMouseMove, "move"},
        {msg::kLButtonDown, "ldown"}, {msg::kLButtonUp, "lup"}, {msg::kLButtonDblClk, "ldbl"},
        {msg::kRButtonDown, "rdown"}, {msg::kRButtonUp, "rup"}, {msg::kKeyUp, "keyup"},
        {msg::kMouseWheel, "wheel"}};
    std::string text = names.at(m.message) + " " + std::to_string(m.wParam);
    if (m.message == msg::kMouseWheel) // the delta and the flags
        text = "wheel " + std::to_string(static_cast<std::int16_t>(m.wParam >> 16)) + "/" +
               std::to_string(m.wParam & 0xFFFF);
    if (m.message >= msg::kMouseMove)
        text += " " + std::to_string(PointX(m.lParam)) + "," + std::to_string(PointY(m.lParam));
    return text;
}

std::string Describe(const InputStep& step) {
    return step.IsWait() ? "wait " + std::to_string(step.waitFrames) : Describe(step.message);
}

template <typename Range>
std::string Describe(const Range& messages) {
    std::string text;
    for (const auto& m : messages)
        text += (text.empty() ? "" : "; ") + Describe(m);
    return text;
}

// Everything PeekMessage gives now, as the library's pump takes it.
std::string Drain(Display& display) {
    std::string text;
    WindowMessage message;
    while (display.PeekMessage(message))
        text += (text.empty() ? "" : "; ") + Describe(message);
    return text;
}

// A frame of one colour but for its top left pixel.
PixelBuffer Frame(int width, int height, std::uint32_t pixel) {
    PixelBuffer frame;
    EXPECT_TRUE(frame.Allocate(width, height));
    FillRect(frame, frame.Bounds(), pixel);
    frame.Set(0, 0, 0x123456);
    return frame;
}

struct ProcessEnded {
    int status;
};

// Runs `body` with the end of the process thrown: gives its status (-1: none) and what went to stderr.
std::pair<int, std::string> EndStatusOf(const std::function<void()>& body) {
    const ProcessEndHandler previous = SetProcessEndHandler([](int status) { throw ProcessEnded{status}; });
    ::testing::internal::CaptureStderr();
    int status = -1;
    try {
        body();
    } catch (const ProcessEnded& ended) {
        status = ended.status;
    }
    SetProcessEndHandler(previous);
    return {status, ::testing::internal::GetCapturedStderr()};
}

// The library's loop in short: take the messages, show a frame.
std::string RunFrames(Display& display, int frames) {
    const PixelBuffer frame = Frame(4, 3, 0x808080);
    std::string seen;
    for (int i = 0; i < frames; ++i) {
        const std::string messages = Drain(display);
        seen += (seen.empty() || messages.empty() ? "" : "; ") + messages;
        display.Present(frame, frame.Damage(), true);
    }
    return seen;
}

// Each test starts and ends without the TAV_* variables.
class HeadlessDisplayTest : public ::testing::Test {
protected:
    void SetUp() override {
        TearDown();
        ASSERT_TRUE(display.Open({"test", true, 0, 0, 4, 3}, nullptr));
    }
    void TearDown() override {
        for (const char* name : {"TAV_HEADLESS", "TAV_FRAMES", "TAV_SCREENSHOT", "TAV_INPUT"})
            ::unsetenv(name);
    }
    static void Set(const char* name, const std::string& value) { ::setenv(name, value.c_str(), 1); }

    HeadlessDisplay display;
    test::TempDir dir;
};

// Scripts check the other messages; here the buttons and shift held together, then a wait.
TEST_F(HeadlessDisplayTest, InputArrivesInOrderWithTheButtonsAndShiftHeldAndWaitsHoldItBack) {
    display.LButtonDown(300, -2);
    display.MouseMove(32767, -32768);
    display.RButtonDown(1, 2);
    display.LButtonUp(-1, -1);
    display.SetShiftDown(true);
    display.RButtonUp(0, 0);
    display.DoubleClick(9, 8);
    display.KeyDown(vk::kBack);
    display.Text("a\xC3\xA9");
    display.Activate(false);
    display.DestroyWindow();
    EXPECT_EQ(Drain(display),
              "ldown 1 300,-2; move 1 32767,-32768; rdown 3 1,2; lup 2 -1,-1; rup 4 0,0; "
              "ldown 5 9,8; lup 4 9,8; ldbl 5 9,8; lup 4 9,8; key 8; char 8; char 97; char 195; "
              "char 169; activate 0; destroy 0");
    EXPECT_EQ(display.Modifiers(), mod::kLShift);
    display.KeyDown('A');
    display.Wait(3);
    display.KeyDown('B');
    EXPECT_EQ(Drain(display), "key 65");
    EXPECT_TRUE(RunFrames(display, 2).empty());
    // An inactive application waits for messages instead of presenting; that counts as well.
    display.WaitMessage();
    EXPECT_EQ(Drain(display), "key 66");
    display.Hold(vk::kControl);
    display.Hold(vk::kRShift);
    display.Release(vk::kControl);
    EXPECT_EQ(Drain(display), "key 17; key 161; keyup 17");
    EXPECT_EQ(display.Modifiers(), mod::kShift);
}

TEST_F(HeadlessDisplayTest, TheIdleHandlerRunsOnAnEmptyQueueAndMayQueueMoreOrRemoveItself) {
    int calls = 0;
    display.SetIdleHandler([&](HeadlessDisplay& d) {
        if (++calls <= 2)
            d.KeyDown('0' + static_cast<unsigned>(calls));
        else
            d.SetIdleHandler(nullptr);
    });
    display.KeyDown('X');
    EXPECT_EQ(RunFrames(display, 2), "key 88; key 49; key 50; close 0");
    EXPECT_EQ(calls, 3);
}

TEST_F(HeadlessDisplayTest, TheClockAdvancesByTheFrameTimeAtEachPresentWithoutDrift) {
    const auto seconds = [&] { return static_cast<double>(display.Counter()) / display.Frequency(); };
    for (int i = 0; i < 6000; ++i)
        display.Present(PixelBuffer(), {}, false);
    EXPECT_NEAR(seconds(), 100.0, 1e-6);
    display.SetFrameTime(0.25);
    display.WaitMessage();
    RunFrames(display, 2);
    display.AdvanceClock(2.0);
    EXPECT_NEAR(seconds(), 102.5, 1e-6) << "waiting for messages leaves the clock alone";
    EXPECT_EQ(display.FramesPresented(), 6002u);
}

TEST_F(HeadlessDisplayTest, TheEndOfInputClosesAfterAFrameThenDestroysThenFails) {
    display.SetWaitLimit(5);
    display.KeyDown('A');
    EXPECT_EQ(Drain(display), "key 65");
    EXPECT_TRUE(Drain(display).empty()) << "no frame has been shown since the input ended";
    EXPECT_EQ(RunFrames(display, 2), "close 0"); // once
    // The program ignored the close: after the limit comes the destroy.
    EXPECT_TRUE(RunFrames(display, 3).empty());
    EXPECT_EQ(RunFrames(display, 2), "destroy 0");
    const auto [status, error] = EndStatusOf([&] { RunFrames(display, 1000); });
    EXPECT_EQ(status, 3) << "a program that outlives WM_DESTROY is stopped";
    EXPECT_NE(error.find("headless display: "), std::string::npos);
    EXPECT_EQ(display.FramesPresented(), 11u);
}

TEST_F(HeadlessDisplayTest, InputOrALeftModalLoopRestartsTheEndOfInput) {
    display.SetWaitLimit(4);
    RunFrames(display, 1);
    display.KeyDown('A'); // before the close was taken
    EXPECT_EQ(RunFrames(display, 1), "key 65");
    EXPECT_EQ(RunFrames(display, 1), "close 0");
    HeadlessDisplay modal;
    modal.SetWaitLimit(4);
    modal.EnterModalLoop();
    EXPECT_TRUE(RunFrames(modal, 3).empty()) << "no close inside a modal loop";
    modal.LeaveModalLoop();
    EXPECT_EQ(RunFrames(modal, 1), "");
    EXPECT_EQ(RunFrames(modal, 1), "close 0");
}

TEST_F(HeadlessDisplayTest, WithoutClosingAtTheEndOfInputOnlyModalLoopsAreBoundedAndEndWithStatus3) {
    display.SetWaitLimit(4);
    display.SetCloseWhenInputEnds(false);
    EXPECT_TRUE(RunFrames(display, 20).empty());
    display.EnterModalLoop();
    const auto [status, error] = EndStatusOf([&] { RunFrames(display, 1000); });
    EXPECT_EQ(status, 3);
    EXPECT_NE(error.find("headless display: a modal loop waited 4 frames for input that never came"),
              std::string::npos)
        << error;
    EXPECT_EQ(display.FramesPresented(), 24u);
}

TEST_F(HeadlessDisplayTest, TheLastFrameIsACopyThatCanBeSavedAndMessageBoxesGoToStderr) {
    EXPECT_FALSE(display.SaveLastFrame(dir / "none.bmp"));
    PixelBuffer frame = Frame(5, 2, 0x00A0B0C0), loaded;
    display.Present(frame, frame.Damage(), false);
    frame.Set(1, 1, 0);
    EXPECT_EQ(display.LastFrame().At(1, 1), 0x00A0B0C0u);
    display.Present(Frame(3, 4, 0x00010203), Frame(3, 4, 0x00010203).Damage(), false);
    ASSERT_TRUE(display.SaveLastFrame(dir / "last.bmp"));
    ASSERT_TRUE(LoadBitmapFile(dir / "last.bmp", loaded));
    EXPECT_TRUE(SamePixels(Frame(3, 4, 0x00010203), loaded));
    ::testing::internal::CaptureStderr();
    display.ShowMessageBox("Title", "Some text");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "Title: Some text\n");
}

TEST(ProcessEnd, EndsWithTheStatusEvenWhenTheHandlerReturnsAndFlushesBufferedOutput) {
    test::TempDir dir;
    const std::string out = dir / "out.txt";
    EXPECT_EQ(test::RunInChild([&]() -> int {
                  if (std::freopen(out.c_str(), "w", stdout) == nullptr)
                      return 99;
                  std::fputs("buffered, no newline", stdout);
                  SetProcessEndHandler([](int) {});
                  EndProcess(7);
              }),
              7);
    EXPECT_EQ(test::ReadFile(out), "buffered, no newline");
}

// The headless display plays the script; the frame limit keeps the end of the input from closing the
// program, ends it with WM_DESTROY after the Nth frame, and the last frame is saved in Close.
TEST_F(HeadlessDisplayTest, FromTheEnvironmentFramesScreenshotAndInputTogether) {
    const std::string shot = dir / "shot.bmp";
    test::WriteFile(dir / "input.txt", "click 1 2\nwait 1\nkey ESCAPE\n");
    Set("TAV_HEADLESS", "1");
    Set("TAV_FRAMES", "3");
    Set("TAV_SCREENSHOT", shot);
    Set("TAV_INPUT", dir / "input.txt");
    std::unique_ptr<Display> shown = CreateDisplayFromEnvironment();
    ASSERT_TRUE(shown->Open({"", true, 0, 0, 6, 4}, nullptr));
    EXPECT_EQ(Drain(*shown), "ldown 1 1,2; lup 0 1,2");
    shown->Present(Frame(6, 4, 0x00112233), Frame(6, 4, 0x00112233).Damage(), false);
    EXPECT_EQ(Drain(*shown), "key 27; char 27");
    shown->Present(Frame(6, 4, 0x00445566), Frame(6, 4, 0x00445566).Damage(), false);
    EXPECT_EQ(Drain(*shown), "");
    shown->Present(PixelBuffer(), {}, false); // nothing to show keeps the last frame
    EXPECT_EQ(Drain(*shown), "destroy 0");
    EXPECT_FALSE(std::filesystem::exists(shot));
    shown->Close();
    PixelBuffer saved;
    ASSERT_TRUE(LoadBitmapFile(shot, saved));
    EXPECT_TRUE(SamePixels(Frame(6, 4, 0x00445566), saved));
}

// However the program ends the screenshot is written like a project: through a fresh temporary (a
// planted link beside it is left alone), with the right reason and status 4 when it fails; a
// modal timeout (status 3) still saves the last frame.
TEST_F(HeadlessDisplayTest, ScreenshotsAreSavedOnEveryEndAndFailuresChangeTheStatus) {
    std::filesystem::create_symlink(dir / "victim", dir / "shot.bmp.part");
    Set("TAV_HEADLESS", "1");
    const std::tuple<std::string, bool, int, std::string> cases[] = {
        {dir / "shot.bmp", false, 0, ""},
        {dir / "shot.bmp", true, 3, "a modal loop waited"},
        {dir / "missing/shot.bmp", false, 4,
         "TAV_SCREENSHOT: cannot create a file in '" + dir / "missing" + "': No such file or directory"}};
    for (const auto& [path, modal, expected, said] : cases) {
        std::filesystem::remove(dir / "shot.bmp");
        Set("TAV_SCREENSHOT", path);
        std::unique_ptr<Display> shown = CreateDisplayFromEnvironment();
        ASSERT_TRUE(shown->Open({"", true, 0, 0, 4, 3}, nullptr));
        const bool timesOut = modal; // clang 14 cannot capture a structured binding
        const auto [status, error] = EndStatusOf([&] {
            RunFrames(*shown, 2);
            if (timesOut)
                shown->EnterModalLoop(), RunFrames(*shown, 1000);
            shown->Close();
            EndProcess(0);
        });
        EXPECT_EQ(status, expected) << path;
        EXPECT_NE(error.find(said), std::string::npos) << error;
        PixelBuffer saved;
        EXPECT_EQ(LoadBitmapFile(path, saved) && SamePixels(Frame(4, 3, 0x808080), saved), expected != 4);
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "victim"));
}

TEST_F(HeadlessDisplayTest, BadEnvironmentValuesStopWithStatus2AndSayWhy) {
    test::WriteFile(dir / "bad.txt", "move 1 2\njump 3\n");
    Set("TAV_HEADLESS", "1");
    const std::array<std::string, 3> cases[] = {
        {"TAV_INPUT", dir / "bad.txt", dir / "bad.txt:2: unknown command 'jump'\n"},
        {"TAV_INPUT", dir / "missing.txt", dir / "missing.txt: cannot read the input script: "},
        {"TAV_INPUT", dir.path(), dir.path() + ": cannot read the input script: Is a directory\n"},
        {"TAV_FRAMES", "ten", "TAV_FRAMES: 'ten' is not a number of frames\n"},
        {"TAV_FRAMES", "5x", "TAV_FRAMES: '5x' is not a number of frames\n"}};
    for (const auto& [variable, value, expected] : cases) {
        ::unsetenv("TAV_INPUT");
        Set(variable.c_str(), value);
        const auto [status, error] = EndStatusOf([] { CreateDisplayFromEnvironment(); });
        EXPECT_EQ(status, 2) << value;
        EXPECT_EQ(error.substr(0, expected.size()), expected);
    }
}

constexpr Uint8 kLeft = SDL_BUTTON_LEFT, kRight = SDL_BUTTON_RIGHT;

SDL_Event Motion(int x, int y, Uint32 buttons = 0) {
    SDL_Event event{};
    event.motion = {SDL_MOUSEMOTION, 0, 0, 0, buttons, x, y, 0, 0};
    return event;
}

SDL_Event Button(bool down, Uint8 button, int x, int y, Uint8 clicks = 1) {
    SDL_Event event{};
    event.button = {down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP,        0,      0, 0, button,
                    static_cast<Uint8>(down ? SDL_PRESSED : SDL_RELEASED), clicks, 0, x, y};
    return event;
}

// An event of `type`; `detail` is the key of a key event or the kind of a window event.
SDL_Event Event(Uint32 type, int detail = 0) {
    SDL_Event event{};
    event.type = type;
    if (type == SDL_WINDOWEVENT)
        event.window.event = static_cast<Uint8>(detail);
    else
        event.key.keysym.sym = detail;
    return event;
}
const auto Key = [](SDL_Keycode key, Uint32 type = SDL_KEYDOWN) { return Event(type, key); };
const auto Window = [](SDL_WindowEventID id) { return Event(SDL_WINDOWEVENT, id); };

SDL_Event Wheel(int y, Uint32 direction) {
    SDL_Event event = Event(SDL_MOUSEWHEEL);
    event.wheel.y = y;
    event.wheel.direction = direction;
    return event;
}

SDL_Event Text(const char* text) {
    SDL_Event event = Event(SDL_TEXTINPUT);
    std::strncpy(event.text.text, text, sizeof event.text.text - 1);
    return event;
}

// Events with the modifiers held and the messages they give; the state carries over between rows.
struct Row {
    std::vector<SDL_Event> events;
    std::string expected;
    unsigned modifiers = KMOD_NONE;
};

void ExpectTranslations(EventTranslator& translator, const std::vector<Row>& rows) {
    for (std::size_t i = 0; i < rows.size(); ++i) {
        std::vector<WindowMessage> out;
        for (const SDL_Event& event : rows[i].events)
            translator.Translate(event, rows[i].modifiers, out);
        EXPECT_EQ(Describe(out), rows[i].expected) << "row " << i;
    }
}

TEST(EventTranslator, MouseKeysTextAndWindowEventsBecomeWindowMessages) {
    EventTranslator translator(320, 240);
    ExpectTranslations(
        translator,
        {{{Motion(10, 20)}, "move 0 10,20"},
         {{Motion(-7, 300, SDL_BUTTON_LMASK | SDL_BUTTON_RMASK)}, "move 15 -7,300", KMOD_LSHIFT | KMOD_RCTRL},
         {{Motion(0, 0, SDL_BUTTON_MMASK)}, "move 0 0,0", KMOD_NUM | KMOD_LALT},
         // Every second press of a series is a double click, for the left button only.
         {{Button(true, kLeft, 5, 6, 1), Button(false, kLeft, 5, 6, 1), Button(true, kLeft, 5, 6, 2)},
          "ldown 1 5,6; lup 0 5,6; ldbl 1 5,6"},
         {{Button(false, kLeft, 5, 6, 2), Button(true, kLeft, 5, 6, 3), Button(true, kLeft, 5, 6, 4)},
          "lup 0 5,6; ldown 1 5,6; ldbl 1 5,6"},
         {{Button(false, kLeft, 5, 6, 4)}, "lup 0 5,6"},
         {{Button(true, kRight, 7, 8, 2)}, "rdown 6 7,8", KMOD_SHIFT},
         {{Button(true, kLeft, 7, 8), Button(false, kRight, 7, 8, 2), Button(true, SDL_BUTTON_MIDDLE, 1, 1)},
          "ldown 3 7,8; rup 1 7,8"},
         {{Key(SDLK_a), Key(SDLK_LEFT), Key(SDLK_BACKSPACE), Key(SDLK_TAB)},
          "key 65; key 37; key 8; char 8; key 9; char 9"},
         {{Key(SDLK_KP_ENTER), Key(SDLK_ESCAPE), Key(SDLK_F13), Key(SDLK_a, SDL_KEYUP)},
          "key 13; char 13; key 27; char 27"},
         {{Text("a\xC3\xA9"), Text("")}, "char 97; char 195; char 169"},
         // The application starts active; focus changes are reported once.
         {{Window(SDL_WINDOWEVENT_FOCUS_GAINED), Window(SDL_WINDOWEVENT_FOCUS_LOST),
           Window(SDL_WINDOWEVENT_FOCUS_LOST), Window(SDL_WINDOWEVENT_FOCUS_GAINED)},
          "activate 0; activate 1"},
         {{Window(SDL_WINDOWEVENT_CLOSE), Window(SDL_WINDOWEVENT_EXPOSED), Event(SDL_QUIT)},
          "close 0; close 0"},
         // The wheel turns where the mouse was last; Control and the left Alt type nothing.
         {{Wheel(2, SDL_MOUSEWHEEL_NORMAL), Wheel(1, SDL_MOUSEWHEEL_FLIPPED),
           Wheel(0, SDL_MOUSEWHEEL_NORMAL)},
          "wheel 240/1 7,8; wheel -120/1 7,8"},
         {{Key(SDLK_RETURN), Text("z"), Wheel(-1, SDL_MOUSEWHEEL_NORMAL)},
          "key 13; wheel -120/9 7,8",
          KMOD_LCTRL},
         {{Key(SDLK_TAB), Text("f")}, "key 9", KMOD_LALT},
         {{Key(SDLK_TAB), Text("@")}, "key 9; char 9; char 64", KMOD_RALT}});
    EXPECT_EQ(ModifiersOfSdl(KMOD_RSHIFT | KMOD_LCTRL | KMOD_RALT | KMOD_NUM),
              mod::kRShift | mod::kLControl | mod::kRAlt);
    EXPECT_TRUE(translator.ButtonHeld()) << "the left button";
    ExpectTranslations(translator, {{{Button(false, kLeft, 7, 8)}, "lup 0 7,8"}});
    EXPECT_FALSE(translator.ButtonHeld());
    // Twice the size between bars of 40 pixels: moves and presses over the bars are dropped (moves not
    // while a button is held), releases are not; positions map to signed logical pixels.
    EventTranslator scaled(320, 240);
    scaled.SetPicture({40, 0, 640, 480});
    ExpectTranslations(scaled,
                       {{{Motion(39, 10), Motion(680, 10), Motion(10, 480), Motion(41, 479), Motion(679, 0),
                          Button(true, kLeft, 20, 10), Button(false, kLeft, -50, 10)},
                         "move 0 0,239; move 0 319,0; lup 0 -45,5"},
                        {{Button(true, kLeft, 100, 100), Motion(10, 10), Button(false, kLeft, 10, 11)},
                         "ldown 1 30,50; move 0 -15,5; lup 0 -15,5"}});
    scaled.SetPicture({0, 10, 160, 120}); // shrunk to half
    ExpectTranslations(scaled, {{{Motion(159, 129), Motion(0, 9)}, "move 0 318,238"}});
}

TEST(EventTranslator, PictureTakesTheLargestWholeFactorThatFits) {
    const std::tuple<int, int, int, PictureRect> rows[] = {
        {1700, 1300, 0, {50, 50, 1600, 1200}}, {1700, 1300, 1, {450, 350, 800, 600}},
        {2400, 1200, 0, {400, 0, 1600, 1200}}, {800, 600, 3, {0, 0, 800, 600}},
        {400, 600, 0, {0, 150, 400, 300}},     {800, 300, 2, {200, 0, 400, 300}},
        {799, 600, 0, {0, 0, 799, 599}},       {0, 600, 0, {}},
        {1920, 1080, -1, {240, 0, 1440, 1080}}};
    for (const auto& [width, height, most, expected] : rows)
        EXPECT_TRUE(FitPicture(width, height, 800, 600, most) == expected)
            << width << "x" << height << " " << most;
    const std::tuple<int, int, int, int> starts[] = {
        {1600, 1200, 0, 2}, {1599, 1200, 0, 1}, {1600, 1199, 0, 1}, {1024, 768, 3, 3}, {0, 0, 0, 1}};
    for (const auto& [width, height, forced, expected] : starts)
        EXPECT_EQ(StartingScale(width, height, 800, 600, forced), expected) << width << "x" << height;
}

TEST(KeyMap, SdlKeysMapToTheirVirtualKeys) {
    // Punctuation (comma, minus, slash) has no layout-independent code: it arrives as text.
    const SDL_Keycode keys[] = {
        SDLK_a,           SDLK_m,      SDLK_z,        SDLK_0,        SDLK_9,         SDLK_F1,
        SDLK_F12,         SDLK_KP_0,   SDLK_KP_1,     SDLK_KP_9,     SDLK_RETURN,    SDLK_ESCAPE,
        SDLK_SPACE,       SDLK_PAGEUP, SDLK_PAGEDOWN, SDLK_HOME,     SDLK_END,       SDLK_UP,
        SDLK_DOWN,        SDLK_RIGHT,  SDLK_INSERT,   SDLK_DELETE,   SDLK_LSHIFT,    SDLK_RSHIFT,
        SDLK_LCTRL,       SDLK_RCTRL,  SDLK_KP_PLUS,  SDLK_KP_MINUS, SDLK_KP_PERIOD, SDLK_KP_DIVIDE,
        SDLK_KP_MULTIPLY, SDLK_COMMA,  SDLK_MINUS,    SDLK_SLASH,    SDLK_UNKNOWN,   SDLK_VOLUMEUP};
    std::string codes;
    for (const SDL_Keycode key : keys)
        codes += std::to_string(VirtualKeyFromSdl(key)) + " ";
    EXPECT_EQ(codes,
              "65 77 90 48 57 112 123 96 97 105 13 27 32 33 34 36 35 38 40 39 45 46 16 16 17 17 107 109 "
              "110 111 106 0 0 0 0 0 ");
}

std::string Parse(const std::string& script) {
    std::vector<InputStep> steps;
    std::string error;
    EXPECT_TRUE(ParseInputScript(script, "s.txt", steps, &error)) << error;
    return Describe(steps);
}

TEST(InputScript, EveryCommandBecomesTheMessagesOfThatAction) {
    const std::string script =
        "\xEF\xBB\xBF# a comment after a byte order mark\n\nmove -3 4\r\n  down\t10 20  \n"
        "move 11 21\nup 12 22\n   # indented comment\nclick 0 0\ndblclick 5 6\n"
        "rdown 1 1\nrup 2 2\nrclick -32768 32767\nkey a\nkey TAB\nkey 65\nchar 255\n"
        "key vk_Escape\nkey prior\nkey F1\nkey f12\nkey NUMPAD0\nkey numpad9\nkey 7\n"
        "wait 4\nwait 0\nactivate 0\nactivate 1\n"
        "text \"a \\\"q\\\" \\\\ \xC3\xA9 #x\"  \ntext \"\"\n"
        "close"; // no newline at the end
    EXPECT_EQ(Parse(script),
              "move 0 -3,4; ldown 1 10,20; move 1 11,21; lup 0 12,22; ldown 1 0,0; lup 0 0,0; "
              "ldown 1 5,6; lup 0 5,6; ldbl 1 5,6; lup 0 5,6; rdown 2 1,1; rup 0 2,2; "
              "rdown 2 -32768,32767; rup 0 -32768,32767; key 65; key 9; char 9; key 65; char 255; "
              "key 27; char 27; key 33; key 112; key 123; key 96; key 105; key 55; "
              "wait 4; activate 0; activate 1; char 97; char 32; char 34; char 113; char 34; char 32; "
              "char 92; char 32; char 195; char 169; char 32; char 35; char 120; close 0");
}

TEST(InputScript, ChordsHoldReleaseAndTheWheel) {
    EXPECT_EQ(
        Parse("key CONTROL+z\nkey Shift+TAB\nkey ctrl+shift+Z\nkey ALT+F\nkey CONTROL+RETURN\n"
              "move 3 4\nwheel 2\nwheel -1\nhold SHIFT\n"
              "click 1 1\nhold control\nkey CONTROL+A\nkey return\nwheel 1\nrelease shift\n"
              "release CONTROL\nhold ALT\nkey BACK\n"),
        "key 17; key 90; keyup 17; key 16; key 9; char 9; keyup 16; key 16; key 17; key 90; keyup 17; "
        "keyup 16; key 18; key 70; keyup 18; key 17; key 13; keyup 17; "
        "move 0 3,4; wheel 240/0 3,4; wheel -120/0 3,4; key 16; ldown 5 1,1; lup 4 1,1; key 17; key 65; "
        "key 13; wheel 120/12 1,1; keyup 16; keyup 17; key 18; key 8");
}

TEST(InputScript, ErrorsNameFileAndLineAndKeepNothing) {
    const std::string coordinate = "' is not a coordinate (a whole number from -32768 to 32767)";
    const std::pair<const char*, std::string> cases[] = {
        {"jump 1 2", "s.txt:1: unknown command 'jump'"},
        {"\nmove 1", "s.txt:2: usage: move X Y"},
        {"click 1 2 3", "s.txt:1: usage: click X Y"},
        {"move 1 32768", "s.txt:1: '32768" + coordinate},
        {"move -32769 0", "s.txt:1: '-32769" + coordinate},
        {"move 1.5 2", "s.txt:1: '1.5" + coordinate},
        {"key\n", "s.txt:1: usage: key NAME, key NUMBER or key MODIFIER+...+NAME"},
        {"key Z+A", "s.txt:1: 'Z' is no modifier (SHIFT, CONTROL or ALT)"},
        {"hold TAB", "s.txt:1: usage: hold SHIFT, CONTROL or ALT"},
        {"hold ALT\nrelease SHIFT", "s.txt:2: 'SHIFT' is not held"},
        {"hold Ctrl\nhold CONTROL", "s.txt:2: 'CONTROL' is held already"},
        {"wheel 101", "s.txt:1: usage: wheel N (notches from -100 to 100, negative towards the user)"},
        {"key F13", "s.txt:1: unknown key 'F13'"},
        {"key 256", "s.txt:1: unknown key '256'"},
        {"key 00", "s.txt:1: unknown key '00'"},
        {"char 256", "s.txt:1: usage: char N (a byte value from 0 to 255)"},
        {"char -1", "s.txt:1: usage: char N (a byte value from 0 to 255)"},
        {"wait -1", "s.txt:1: usage: wait N (a number of frames)"},
        {"wait", "s.txt:1: usage: wait N (a number of frames)"},
        {"activate 2", "s.txt:1: usage: activate 0 or activate 1"},
        {"close now", "s.txt:1: usage: close"},
        {"text abc", "s.txt:1: usage: text \"...\""},
        {"text \"abc", "s.txt:1: the text has no closing quote"},
        {"text \"abc\\\"", "s.txt:1: the text has no closing quote"},
        {"text \"a\\nb\"", "s.txt:1: unknown escape '\\n' (only \\\" and \\\\ are allowed)"},
        {"text \"a\" b", "s.txt:1: unexpected 'b' after the text"},
        {"move 1 2\r\nclose\r\n\r\nmove x 1\r\n", "s.txt:4: 'x" + coordinate},
    };
    for (const auto& [script, expected] : cases) {
        std::vector<InputStep> steps(1);
        std::string error;
        EXPECT_FALSE(ParseInputScript(script, "s.txt", steps, &error)) << script;
        EXPECT_EQ(error, expected) << script;
        EXPECT_EQ(steps.size(), 1u) << script;
    }
}

} // namespace
} // namespace tav::platform
