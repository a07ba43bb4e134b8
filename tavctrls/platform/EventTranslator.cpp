#include "tavctrls/platform/EventTranslator.h"

#include "tavctrls/platform/KeyMap.h"

#include <algorithm>
#include <cstdint>
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

// Rounds towards minus infinity, so that positions left of or above the picture stay negative.
int FloorDiv(std::int64_t value, std::int64_t divisor) {
    const std::int64_t quotient = value / divisor;
    return static_cast<int>(quotient * divisor > value ? quotient - 1 : quotient);
}

} // namespace

PictureRect FitPicture(int areaWidth, int areaHeight, int logicalWidth, int logicalHeight, int maxFactor) {
    if (areaWidth < 1 || areaHeight < 1 || logicalWidth < 1 || logicalHeight < 1)
        return {};
    int factor = maxFactor < 0 ? 0 : std::min(areaWidth / logicalWidth, areaHeight / logicalHeight);
    if (maxFactor > 0)
        factor = std::min(factor, maxFactor);
    std::int64_t width = logicalWidth, height = logicalHeight;
    if (factor >= 1) {
        width *= factor;
        height *= factor;
    } else if (std::int64_t{areaWidth} * logicalHeight <= std::int64_t{areaHeight} * logicalWidth) {
        width = areaWidth;
        height = std::max<std::int64_t>(1, std::int64_t{areaWidth} * logicalHeight / logicalWidth);
    } else {
        height = areaHeight;
        width = std::max<std::int64_t>(1, std::int64_t{areaHeight} * logicalWidth / logicalHeight);
    }
    return {static_cast<int>((areaWidth - width) / 2), static_cast<int>((areaHeight - height) / 2),
            static_cast<int>(width), static_cast<int>(height)};
}

int StartingScale(int usableWidth, int usableHeight, int logicalWidth, int logicalHeight, int forced) {
    if (forced > 0)
        return forced;
    return usableWidth / 2 >= logicalWidth && usableHeight / 2 >= logicalHeight ? 2 : 1;
}

unsigned ModifiersOfSdl(unsigned sdlModifiers) {
    constexpr std::pair<unsigned, unsigned> kFlags[] = {
        {KMOD_LSHIFT, mod::kLShift},  {KMOD_RSHIFT, mod::kRShift}, {KMOD_LCTRL, mod::kLControl},
        {KMOD_RCTRL, mod::kRControl}, {KMOD_LALT, mod::kLAlt},     {KMOD_RALT, mod::kRAlt}};
    unsigned flags = 0;
    for (const auto& [sdl, flag] : kFlags)
        flags |= (sdlModifiers & sdl) != 0 ? flag : 0u;
    return flags;
}

EventTranslator::EventTranslator(int width, int height)
    : width_(width), height_(height), picture_{0, 0, width, height} {}

void EventTranslator::SetPicture(const PictureRect& picture) {
    picture_ = picture;
}

bool EventTranslator::ToLogical(int windowX, int windowY, int& x, int& y) const {
    x = y = 0;
    if (picture_.width < 1 || picture_.height < 1)
        return false;
    x = FloorDiv(std::int64_t{windowX - picture_.x} * width_, picture_.width);
    y = FloorDiv(std::int64_t{windowY - picture_.y} * height_, picture_.height);
    return x >= 0 && y >= 0 && x < width_ && y < height_;
}

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
    const unsigned buttons = ((motion.state & SDL_BUTTON_LMASK) != 0 ? mk::kLButton : 0u) |
                             ((motion.state & SDL_BUTTON_RMASK) != 0 ? mk::kRButton : 0u);
    int x = 0, y = 0;
    if (!ToLogical(motion.x, motion.y, x, y) && buttons == 0 && heldButtons_ == 0)
        return;
    mouseX_ = x;
    mouseY_ = y;
    out.push_back(Message(msg::kMouseMove, buttons | ModifierFlags(modifiers), PackPoint(x, y)));
}

void EventTranslator::TranslateButton(const SDL_MouseButtonEvent& button, unsigned modifiers,
                                      std::vector<WindowMessage>& out) {
    const unsigned flag = ButtonFlag(button.button);
    if (flag == 0)
        return;
    const bool down = button.type == SDL_MOUSEBUTTONDOWN;
    int x = 0, y = 0;
    if (!ToLogical(button.x, button.y, x, y) && down)
        return; // a press beside the picture goes nowhere
    mouseX_ = x;
    mouseY_ = y;
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
    out.push_back(Message(message, heldButtons_ | ModifierFlags(modifiers), PackPoint(x, y)));
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
