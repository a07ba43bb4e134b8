#include "tavctrls/platform/EventTranslator.h"
#include "tavctrls/platform/KeyMap.h"
#include "tests/tavctrls/DisplayTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace tav::platform {
namespace {

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

SDL_Event Key(SDL_Keycode key, Uint32 type = SDL_KEYDOWN) {
    SDL_Event event{};
    event.key.type = type;
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

// Each event with the modifiers held, and the messages it must give; the translator keeps its state
// from one row to the next.
struct Row {
    SDL_Event event;
    std::string expected;
    unsigned modifiers = KMOD_NONE;
};

void ExpectTranslations(EventTranslator& translator, const std::vector<Row>& rows) {
    for (std::size_t i = 0; i < rows.size(); ++i) {
        std::vector<WindowMessage> out;
        translator.Translate(rows[i].event, rows[i].modifiers, out);
        EXPECT_EQ(Describe(out), rows[i].expected) << "row " << i;
    }
}

TEST(EventTranslator, MouseKeysTextAndWindowEventsBecomeWindowMessages) {
    EventTranslator translator(320, 240, false);
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    ExpectTranslations(
        translator,
        {{Motion(10, 20), "move 0 10,20"},
         {Motion(-7, 300, SDL_BUTTON_LMASK | SDL_BUTTON_RMASK), "move 15 -7,300", KMOD_LSHIFT | KMOD_RCTRL},
         {Motion(0, 0, SDL_BUTTON_MMASK), "move 0 0,0", KMOD_NUM | KMOD_LALT},
         // Every second press of a series is a double click, for the left button only.
         {Button(true, SDL_BUTTON_LEFT, 5, 6, 1), "ldown 1 5,6"},
         {Button(false, SDL_BUTTON_LEFT, 5, 6, 1), "lup 0 5,6"},
         {Button(true, SDL_BUTTON_LEFT, 5, 6, 2), "ldbl 1 5,6"},
         {Button(false, SDL_BUTTON_LEFT, 5, 6, 2), "lup 0 5,6"},
         {Button(true, SDL_BUTTON_LEFT, 5, 6, 3), "ldown 1 5,6"},
         {Button(true, SDL_BUTTON_LEFT, 5, 6, 4), "ldbl 1 5,6"},
         {Button(false, SDL_BUTTON_LEFT, 5, 6, 4), "lup 0 5,6"},
         {Button(true, SDL_BUTTON_RIGHT, 7, 8, 2), "rdown 6 7,8", KMOD_SHIFT},
         {Button(true, SDL_BUTTON_LEFT, 7, 8), "ldown 3 7,8"},
         {Button(false, SDL_BUTTON_RIGHT, 7, 8, 2), "rup 1 7,8"},
         {Button(true, SDL_BUTTON_MIDDLE, 1, 1), ""},
         {Key(SDLK_a), "key 65"},
         {Key(SDLK_LEFT), "key 37"},
         {Key(SDLK_BACKSPACE), "key 8; char 8"},
         {Key(SDLK_TAB), "key 9; char 9"},
         {Key(SDLK_KP_ENTER), "key 13; char 13"},
         {Key(SDLK_ESCAPE), "key 27; char 27"},
         {Key(SDLK_F13), ""},
         {Key(SDLK_a, SDL_KEYUP), ""},
         {Text("a\xC3\xA9"), "char 97; char 195; char 169"},
         {Text(""), ""},
         // The application starts active; focus changes are reported once.
         {Window(SDL_WINDOWEVENT_FOCUS_GAINED), ""},
         {Window(SDL_WINDOWEVENT_FOCUS_LOST), "activate 0"},
         {Window(SDL_WINDOWEVENT_FOCUS_LOST), ""},
         {Window(SDL_WINDOWEVENT_FOCUS_GAINED), "activate 1"},
         {Window(SDL_WINDOWEVENT_CLOSE), "close 0"},
         {Window(SDL_WINDOWEVENT_EXPOSED), ""},
         {quit, "close 0"}});
    EXPECT_TRUE(translator.ButtonHeld()) << "the left button";
    ExpectTranslations(translator, {{Button(false, SDL_BUTTON_LEFT, 7, 8), "lup 0 7,8"}});
    EXPECT_FALSE(translator.ButtonHeld());
}

TEST(EventTranslator, FullScreenDropsMovesOverTheLetterboxBarsButNotReleases) {
    EventTranslator translator(320, 240, true);
    ExpectTranslations(translator, {{Motion(-1, 10), ""},
                                    {Motion(320, 10), ""},
                                    {Motion(10, -1), ""},
                                    {Motion(10, 240), ""},
                                    {Motion(319, 239), "move 0 319,239"},
                                    {Motion(0, 0), "move 0 0,0"},
                                    {Button(false, SDL_BUTTON_LEFT, -50, 10), "lup 0 -50,10"}});
}

TEST(KeyMap, SdlKeysMapToTheirVirtualKeys) {
    for (SDL_Keycode key = SDLK_a; key <= SDLK_z; ++key)
        EXPECT_EQ(VirtualKeyFromSdl(key), static_cast<unsigned>('A' + (key - SDLK_a)));
    for (SDL_Keycode key = SDLK_0; key <= SDLK_9; ++key)
        EXPECT_EQ(VirtualKeyFromSdl(key), static_cast<unsigned>(key));
    for (unsigned i = 0; i < 12; ++i)
        EXPECT_EQ(VirtualKeyFromSdl(SDLK_F1 + static_cast<SDL_Keycode>(i)), vk::kF1 + i);
    for (unsigned i = 1; i < 10; ++i)
        EXPECT_EQ(VirtualKeyFromSdl(SDLK_KP_1 + static_cast<SDL_Keycode>(i) - 1), vk::kNumpad0 + i);
    const std::pair<SDL_Keycode, unsigned> named[] = {
        {SDLK_KP_0, vk::kNumpad0},
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
        // Punctuation has no layout-independent code; it arrives as text.
        {SDLK_COMMA, 0},
        {SDLK_MINUS, 0},
        {SDLK_SLASH, 0},
        {SDLK_UNKNOWN, 0},
        {SDLK_VOLUMEUP, 0}};
    for (const auto& [key, code] : named)
        EXPECT_EQ(VirtualKeyFromSdl(key), code) << SDL_GetKeyName(key);
}

} // namespace
} // namespace tav::platform
