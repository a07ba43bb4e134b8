#include "tavctrls/platform/InputBuilder.h"

#include "tavctrls/platform/KeyMap.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace tav::platform {

void InputBuilder::LButtonDown(int x, int y) {
    heldButtons_ |= mk::kLButton;
    Mouse(msg::kLButtonDown, x, y);
}

void InputBuilder::LButtonUp(int x, int y) {
    heldButtons_ &= ~mk::kLButton;
    Mouse(msg::kLButtonUp, x, y);
}

void InputBuilder::LClick(int x, int y) {
    LButtonDown(x, y);
    LButtonUp(x, y);
}

void InputBuilder::DoubleClick(int x, int y) {
    LClick(x, y);
    heldButtons_ |= mk::kLButton;
    Mouse(msg::kLButtonDblClk, x, y);
    LButtonUp(x, y);
}

void InputBuilder::RButtonDown(int x, int y) {
    heldButtons_ |= mk::kRButton;
    Mouse(msg::kRButtonDown, x, y);
}

void InputBuilder::RButtonUp(int x, int y) {
    heldButtons_ &= ~mk::kRButton;
    Mouse(msg::kRButtonUp, x, y);
}

void InputBuilder::RClick(int x, int y) {
    RButtonDown(x, y);
    RButtonUp(x, y);
}

void InputBuilder::KeyDown(unsigned virtualKey, unsigned modifiers) {
    std::vector<unsigned> pressed;
    for (const unsigned key : {vk::kShift, vk::kControl, vk::kMenu})
        if ((modifiers & ModifiersOfKey(key)) != 0 && (held_ & ModifiersOfKey(key)) == 0)
            pressed.push_back(key);
    for (const unsigned key : pressed)
        Hold(key);
    Add({msg::kKeyDown, virtualKey, 0});
    const unsigned character = ControlCharacterOfKey(virtualKey);
    if (character != 0 && (held_ & (mod::kControl | mod::kAlt)) == 0)
        Add({msg::kChar, character, 0});
    for (auto key = pressed.rbegin(); key != pressed.rend(); ++key)
        Release(*key);
}

void InputBuilder::Hold(unsigned virtualKey) {
    const WindowMessage down{msg::kKeyDown, virtualKey, 0};
    held_ = ModifiersAfter(held_, down);
    Add(down);
}

void InputBuilder::Release(unsigned virtualKey) {
    const WindowMessage up{msg::kKeyUp, virtualKey, 0};
    held_ = ModifiersAfter(held_, up);
    Add(up);
}

void InputBuilder::Wheel(int notches) {
    if (notches == 0)
        return;
    const int delta = std::clamp(notches * msg::kWheelDelta, -32768, 32767);
    Add({msg::kMouseWheel,
         static_cast<std::uintptr_t>(static_cast<std::uint16_t>(delta)) << 16 | MouseFlags(),
         PackPoint(mouseX_, mouseY_)});
}

void InputBuilder::Text(std::string_view utf8) {
    for (const char c : utf8)
        Char(static_cast<unsigned char>(c));
}

void InputBuilder::Wait(int frames) {
    if (frames > 0)
        steps_.push_back(InputStep{WindowMessage{}, frames});
}

std::vector<InputStep> InputBuilder::Take() {
    return std::exchange(steps_, {});
}

unsigned InputBuilder::MouseFlags() const {
    const bool shift = shiftDown_ || (held_ & mod::kShift) != 0;
    return heldButtons_ | (shift ? mk::kShift : 0u) | ((held_ & mod::kControl) != 0 ? mk::kControl : 0u);
}

void InputBuilder::Mouse(unsigned message, int x, int y) {
    mouseX_ = x;
    mouseY_ = y;
    Add({message, MouseFlags(), PackPoint(x, y)});
}

} // namespace tav::platform
