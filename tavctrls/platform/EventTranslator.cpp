#include "tavctrls/platform/EventTranslator.h"

#include "tavctrls/platform/KeyMap.h"

#include <algorithm>
#include <utility>

namespace tav::platform {
namespace {

unsigned ModifierFlags(unsigned modifiers) {
    return ((modifiers & KMOD_SHIFT) != 0 ? mk::kShift : 0u) |
           ((modifiers & KMOD_CTRL) != 0 ? mk::kControl : 0u);
}

unsigned ButtonFlag(Uint8 button) {
    switch (button) {
    case SDL_BUTTON_LEFT:
        return mk::kLButton;
    case SDL_BUTTON_RIGHT:
        return mk::kRButton;
    default:
        return 0;
    }
}

// Control or the left Alt turn a key into a command: it types nothing (the right Alt is AltGr).
bool CommandModifiers(unsigned modifiers) {
    return (modifiers & (KMOD_CTRL | KMOD_LALT)) != 0;
}

WindowMessage Message(unsigned message, std::uintptr_t wParam, std::intptr_t lParam = 0) {
    return WindowMessage{message, wParam, lParam};
}

} // namespace

unsigned ModifiersOfSdl(unsigned sdlModifiers) {
    constexpr std::pair<unsigned, unsigned> kFlags[] = {
        {KMOD_LSHIFT, mod::kLShift},  {KMOD_RSHIFT, mod::kRShift}, {KMOD_LCTRL, mod::kLControl},
        {KMOD_RCTRL, mod::kRControl}, {KMOD_LALT, mod::kLAlt},     {KMOD_RALT, mod::kRAlt}};
    unsigned flags = 0;
    for (const auto& [sdl, flag] : kFlags)
        flags |= (sdlModifiers & sdl) != 0 ? flag : 0u;
    return flags;
}

EventTranslator::EventTranslator(int width, int height, bool dropMovesOutside)
    : width_(width), height_(height), dropMovesOutside_(dropMovesOutside) {}

void EventTranslator::Translate(const SDL_Event& event, unsigned modifiers, std::vector<WindowMessage>& out) {
    switch (event.type) {
    case SDL_MOUSEMOTION:
        TranslateMotion(event.motion, modifiers, out);
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        TranslateButton(event.button, modifiers, out);
        break;
    case SDL_KEYDOWN:
        TranslateKey(event.key, modifiers, out);
        break;
    case SDL_MOUSEWHEEL:
        TranslateWheel(event.wheel, modifiers, out);
        break;
    case SDL_TEXTINPUT:
        if (CommandModifiers(modifiers))
            break;
        for (const char* c = event.text.text; *c != '\0'; ++c)
            out.push_back(Message(msg::kChar, static_cast<unsigned char>(*c)));
        break;
    case SDL_WINDOWEVENT:
        TranslateWindow(event.window, out);
        break;
    case SDL_QUIT:
        out.push_back(Message(msg::kClose, 0));
        break;
    default:
        break;
    }
}

void EventTranslator::TranslateMotion(const SDL_MouseMotionEvent& motion, unsigned modifiers,
                                      std::vector<WindowMessage>& out) {
    const bool inside = motion.x >= 0 && motion.y >= 0 && motion.x < width_ && motion.y < height_;
    if (dropMovesOutside_ && !inside)
        return;
    mouseX_ = motion.x;
    mouseY_ = motion.y;
    const unsigned buttons = ((motion.state & SDL_BUTTON_LMASK) != 0 ? mk::kLButton : 0u) |
                             ((motion.state & SDL_BUTTON_RMASK) != 0 ? mk::kRButton : 0u);
    out.push_back(
        Message(msg::kMouseMove, buttons | ModifierFlags(modifiers), PackPoint(motion.x, motion.y)));
}

void EventTranslator::TranslateButton(const SDL_MouseButtonEvent& button, unsigned modifiers,
                                      std::vector<WindowMessage>& out) {
    const unsigned flag = ButtonFlag(button.button);
    if (flag == 0)
        return;
    const bool down = button.type == SDL_MOUSEBUTTONDOWN;
    mouseX_ = button.x;
    mouseY_ = button.y;
    if (down)
        heldButtons_ |= flag;
    else
        heldButtons_ &= ~flag;
    unsigned message = 0;
    if (flag == mk::kLButton)
        // Every second press of a series is a double click; the third starts a new one.
        message = !down ? msg::kLButtonUp : button.clicks % 2 == 0 ? msg::kLButtonDblClk : msg::kLButtonDown;
    else
        message = down ? msg::kRButtonDown : msg::kRButtonUp;
    out.push_back(Message(message, heldButtons_ | ModifierFlags(modifiers), PackPoint(button.x, button.y)));
}

void EventTranslator::TranslateKey(const SDL_KeyboardEvent& key, unsigned modifiers,
                                   std::vector<WindowMessage>& out) {
    const unsigned virtualKey = VirtualKeyFromSdl(key.keysym.sym);
    if (virtualKey == 0)
        return;
    out.push_back(Message(msg::kKeyDown, virtualKey));
    const unsigned character = ControlCharacterOfKey(virtualKey);
    if (character != 0 && !CommandModifiers(modifiers))
        out.push_back(Message(msg::kChar, character));
}

// A notch is kWheelDelta, positive away from the user, at the mouse position.
void EventTranslator::TranslateWheel(const SDL_MouseWheelEvent& wheel, unsigned modifiers,
                                     std::vector<WindowMessage>& out) {
    const int notches = wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -wheel.y : wheel.y;
    if (notches == 0)
        return;
    const int delta = std::clamp(notches * msg::kWheelDelta, -32768, 32767);
    const auto wParam = static_cast<std::uintptr_t>(static_cast<std::uint16_t>(delta)) << 16 | heldButtons_ |
                        ModifierFlags(modifiers);
    out.push_back(Message(msg::kMouseWheel, wParam, PackPoint(mouseX_, mouseY_)));
}

void EventTranslator::TranslateWindow(const SDL_WindowEvent& window, std::vector<WindowMessage>& out) {
    switch (window.event) {
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        Activate(true, out);
        break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
        Activate(false, out);
        break;
    case SDL_WINDOWEVENT_CLOSE:
        out.push_back(Message(msg::kClose, 0));
        break;
    default:
        break;
    }
}

void EventTranslator::Activate(bool active, std::vector<WindowMessage>& out) {
    // SDL repeats focus events; activation is reported only when it changes.
    if (active == active_)
        return;
    active_ = active;
    out.push_back(Message(msg::kActivateApp, active ? 1u : 0u));
}

} // namespace tav::platform
