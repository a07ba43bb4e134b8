#include "tavctrls/platform/EventTranslator.h"
#include "tavctrls/platform/KeyMap.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace tav::platform {
namespace {

SDL_Event Motion(int x, int y, Uint32 buttons = 0) {
    SDL_Event event{};
    event.motion.type = SDL_MOUSEMOTION;
    event.motion.x = x;
    event.motion.y = y;
    event.motion.state = buttons;
    return event;
}

SDL_Event Button(bool down, Uint8 button, int x, int y, Uint8 clicks = 1) {
    SDL_Event event{};
    event.button.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    event.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.button.button = button;
    event.button.clicks = clicks;
    event.button.x = x;
    event.button.y = y;
    return event;
}

SDL_Event Key(SDL_Keycode key, Uint8 repeat = 0) {
    SDL_Event event{};
    event.key.type = SDL_KEYDOWN;
    event.key.state = SDL_PRESSED;
    event.key.repeat = repeat;
    event.key.keysym.sym = key;
    return event;
}

SDL_Event Text(const char* text) {
    SDL_Event event{};
    event.text.type = SDL_TEXTINPUT;
    std::strncpy(event.text.text, text, sizeof event.text.text - 1);
    return event;
}

SDL_Event Window(SDL_WindowEventID id) {
    SDL_Event event{};
    event.window.type = SDL_WINDOWEVENT;
    event.window.event = static_cast<Uint8>(id);
    return event;
}

struct Seen {
    unsigned message;
    std::uintptr_t wParam;
    int x;
    int y;
    bool operator==(const Seen&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Seen& seen) {
    return out << "{0x" << std::hex << seen.message << std::dec << ", " << seen.wParam << ", " << seen.x
               << ", " << seen.y << "}";
}

class Translation {
public:
    explicit Translation(bool fullScreen = false) : translator(320, 240, fullScreen) {}

    std::vector<Seen> operator()(const SDL_Event& event, unsigned modifiers = KMOD_NONE) {
        std::vector<WindowMessage> out;
        translator.Translate(event, modifiers, out);
        std::vector<Seen> seen;
        for (const WindowMessage& m : out)
            seen.push_back({m.message, m.wParam, PointX(m.lParam), PointY(m.lParam)});
        return seen;
    }

    EventTranslator translator;
};

using Messages = std::vector<Seen>;

TEST(EventTranslator, MovesCarryPositionButtonsAndModifiers) {
    Translation translate;
    EXPECT_EQ(translate(Motion(10, 20)), (Messages{{msg::kMouseMove, 0, 10, 20}}));
    EXPECT_EQ(
        translate(Motion(-7, 300, SDL_BUTTON_LMASK | SDL_BUTTON_RMASK), KMOD_LSHIFT | KMOD_RCTRL),
        (Messages{{msg::kMouseMove, mk::kLButton | mk::kRButton | mk::kShift | mk::kControl, -7, 300}}));
    EXPECT_EQ(translate(Motion(0, 0, SDL_BUTTON_MMASK), KMOD_NUM | KMOD_LALT),
              (Messages{{msg::kMouseMove, 0, 0, 0}}));
}

TEST(EventTranslator, FullScreenDropsMovesOverTheLetterboxBars) {
    Translation translate(true);
    for (const auto& [x, y] : {std::pair{-1, 10}, {320, 10}, {10, -1}, {10, 240}})
        EXPECT_TRUE(translate(Motion(x, y)).empty()) << x << "," << y;
    EXPECT_EQ(translate(Motion(319, 239)).size(), 1u);
    EXPECT_EQ(translate(Motion(0, 0)).size(), 1u);
    // Presses and releases still arrive, so that a drag ends wherever the button goes up.
    EXPECT_EQ(translate(Button(false, SDL_BUTTON_LEFT, -50, 10)), (Messages{{msg::kLButtonUp, 0, -50, 10}}));
}

TEST(EventTranslator, SecondPressOfASeriesIsADoubleClickOnlyForTheLeftButton) {
    Translation translate;
    EXPECT_EQ(translate(Button(true, SDL_BUTTON_LEFT, 5, 6, 1)),
              (Messages{{msg::kLButtonDown, mk::kLButton, 5, 6}}));
    EXPECT_TRUE(translate.translator.ButtonHeld());
    EXPECT_EQ(translate(Button(false, SDL_BUTTON_LEFT, 5, 6, 1)), (Messages{{msg::kLButtonUp, 0, 5, 6}}));
    EXPECT_FALSE(translate.translator.ButtonHeld());
    EXPECT_EQ(translate(Button(true, SDL_BUTTON_LEFT, 5, 6, 2)),
              (Messages{{msg::kLButtonDblClk, mk::kLButton, 5, 6}}));
    EXPECT_EQ(translate(Button(false, SDL_BUTTON_LEFT, 5, 6, 2)), (Messages{{msg::kLButtonUp, 0, 5, 6}}));
    EXPECT_EQ(translate(Button(true, SDL_BUTTON_LEFT, 5, 6, 3)),
              (Messages{{msg::kLButtonDown, mk::kLButton, 5, 6}}));
    EXPECT_EQ(translate(Button(true, SDL_BUTTON_LEFT, 5, 6, 4)),
              (Messages{{msg::kLButtonDblClk, mk::kLButton, 5, 6}}));
    translate(Button(false, SDL_BUTTON_LEFT, 5, 6, 4));
    EXPECT_EQ(translate(Button(true, SDL_BUTTON_RIGHT, 7, 8, 2), KMOD_SHIFT),
              (Messages{{msg::kRButtonDown, mk::kRButton | mk::kShift, 7, 8}}));
    EXPECT_EQ(translate(Button(true, SDL_BUTTON_LEFT, 7, 8)),
              (Messages{{msg::kLButtonDown, mk::kLButton | mk::kRButton, 7, 8}}));
    EXPECT_EQ(translate(Button(false, SDL_BUTTON_RIGHT, 7, 8, 2)),
              (Messages{{msg::kRButtonUp, mk::kLButton, 7, 8}}));
    EXPECT_TRUE(translate.translator.ButtonHeld());
    EXPECT_EQ(translate(Button(false, SDL_BUTTON_LEFT, 7, 8)), (Messages{{msg::kLButtonUp, 0, 7, 8}}));
    EXPECT_FALSE(translate.translator.ButtonHeld());
    EXPECT_TRUE(translate(Button(true, SDL_BUTTON_MIDDLE, 1, 1)).empty());
    EXPECT_FALSE(translate.translator.ButtonHeld());
}

TEST(EventTranslator, KeyDownsAndRepeatsBecomeVirtualKeysWithControlCharacters) {
    Translation translate;
    EXPECT_EQ(translate(Key(SDLK_a)), (Messages{{msg::kKeyDown, 'A', 0, 0}}));
    EXPECT_EQ(translate(Key(SDLK_LEFT, 1)), (Messages{{msg::kKeyDown, vk::kLeft, 0, 0}}));
    EXPECT_EQ(translate(Key(SDLK_BACKSPACE, 1)),
              (Messages{{msg::kKeyDown, vk::kBack, 0, 0}, {msg::kChar, 8, 0, 0}}));
    EXPECT_EQ(translate(Key(SDLK_TAB)), (Messages{{msg::kKeyDown, vk::kTab, 0, 0}, {msg::kChar, 9, 0, 0}}));
    EXPECT_EQ(translate(Key(SDLK_KP_ENTER)),
              (Messages{{msg::kKeyDown, vk::kReturn, 0, 0}, {msg::kChar, 13, 0, 0}}));
    EXPECT_EQ(translate(Key(SDLK_ESCAPE)),
              (Messages{{msg::kKeyDown, vk::kEscape, 0, 0}, {msg::kChar, 27, 0, 0}}));
    EXPECT_TRUE(translate(Key(SDLK_F13)).empty());
    EXPECT_TRUE(translate(Key(SDLK_VOLUMEUP)).empty());
    SDL_Event up = Key(SDLK_a);
    up.key.type = SDL_KEYUP;
    EXPECT_TRUE(translate(up).empty());
}

TEST(EventTranslator, TextInputIsOneCharPerByteInOrder) {
    Translation translate;
    EXPECT_EQ(translate(Text("a\xC3\xA9\xF0\x9F\x98\x80")), (Messages{{msg::kChar, 'a', 0, 0},
                                                                      {msg::kChar, 0xC3, 0, 0},
                                                                      {msg::kChar, 0xA9, 0, 0},
                                                                      {msg::kChar, 0xF0, 0, 0},
                                                                      {msg::kChar, 0x9F, 0, 0},
                                                                      {msg::kChar, 0x98, 0, 0},
                                                                      {msg::kChar, 0x80, 0, 0}}));
    EXPECT_TRUE(translate(Text("")).empty());
}

TEST(EventTranslator, FocusChangesActivateOnceAndClosingAsksToClose) {
    Translation translate;
    EXPECT_TRUE(translate(Window(SDL_WINDOWEVENT_FOCUS_GAINED)).empty()) << "the application starts active";
    EXPECT_EQ(translate(Window(SDL_WINDOWEVENT_FOCUS_LOST)), (Messages{{msg::kActivateApp, 0, 0, 0}}));
    EXPECT_TRUE(translate(Window(SDL_WINDOWEVENT_FOCUS_LOST)).empty());
    EXPECT_EQ(translate(Window(SDL_WINDOWEVENT_FOCUS_GAINED)), (Messages{{msg::kActivateApp, 1, 0, 0}}));
    EXPECT_EQ(translate(Window(SDL_WINDOWEVENT_CLOSE)), (Messages{{msg::kClose, 0, 0, 0}}));
    EXPECT_TRUE(translate(Window(SDL_WINDOWEVENT_EXPOSED)).empty());
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    EXPECT_EQ(translate(quit), (Messages{{msg::kClose, 0, 0, 0}}));
}

TEST(KeyMap, SdlKeysMapToTheirVirtualKeys) {
    for (SDL_Keycode key = SDLK_a; key <= SDLK_z; ++key)
        EXPECT_EQ(VirtualKeyFromSdl(key), static_cast<unsigned>('A' + (key - SDLK_a)));
    for (SDL_Keycode key = SDLK_0; key <= SDLK_9; ++key)
        EXPECT_EQ(VirtualKeyFromSdl(key), static_cast<unsigned>(key));
    const SDL_Keycode functionKeys[] = {SDLK_F1, SDLK_F2, SDLK_F3, SDLK_F4,  SDLK_F5,  SDLK_F6,
                                        SDLK_F7, SDLK_F8, SDLK_F9, SDLK_F10, SDLK_F11, SDLK_F12};
    for (unsigned i = 0; i < 12; ++i)
        EXPECT_EQ(VirtualKeyFromSdl(functionKeys[i]), vk::kF1 + i);
    const SDL_Keycode keypad[] = {SDLK_KP_0, SDLK_KP_1, SDLK_KP_2, SDLK_KP_3, SDLK_KP_4,
                                  SDLK_KP_5, SDLK_KP_6, SDLK_KP_7, SDLK_KP_8, SDLK_KP_9};
    for (unsigned i = 0; i < 10; ++i)
        EXPECT_EQ(VirtualKeyFromSdl(keypad[i]), vk::kNumpad0 + i);
    const std::pair<SDL_Keycode, unsigned> named[] = {
        {SDLK_RETURN, vk::kReturn},
        {SDLK_ESCAPE, vk::kEscape},
        {SDLK_SPACE, vk::kSpace},
        {SDLK_PAGEUP, vk::kPrior},
        {SDLK_PAGEDOWN, vk::kNext},
        {SDLK_HOME, vk::kHome},
        {SDLK_END, vk::kEnd},
        {SDLK_UP, vk::kUp},
        {SDLK_DOWN, vk::kDown},
        {SDLK_RIGHT, vk::kRight},
        {SDLK_INSERT, vk::kInsert},
        {SDLK_DELETE, vk::kDelete},
        {SDLK_LSHIFT, vk::kShift},
        {SDLK_RSHIFT, vk::kShift},
        {SDLK_LCTRL, vk::kControl},
        {SDLK_RCTRL, vk::kControl},
        {SDLK_KP_PLUS, vk::kAdd},
        {SDLK_KP_MINUS, vk::kSubtract},
        {SDLK_KP_PERIOD, vk::kDecimal},
        {SDLK_KP_DIVIDE, vk::kDivide},
        {SDLK_KP_MULTIPLY, vk::kMultiply},
    };
    for (const auto& [key, code] : named)
        EXPECT_EQ(VirtualKeyFromSdl(key), code) << SDL_GetKeyName(key);
    // Punctuation has no layout-independent code; it arrives as text.
    for (const SDL_Keycode key : {SDLK_COMMA, SDLK_MINUS, SDLK_SLASH, SDLK_UNKNOWN})
        EXPECT_EQ(VirtualKeyFromSdl(key), 0u) << key;
}

} // namespace
} // namespace tav::platform
