#include "tavctrls/platform/InputBuilder.h"

#include "tavctrls/platform/KeyMap.h"

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

void InputBuilder::KeyDown(unsigned virtualKey) {
    Add({msg::kKeyDown, virtualKey, 0});
    if (const unsigned character = ControlCharacterOfKey(virtualKey))
        Add({msg::kChar, character, 0});
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

void InputBuilder::Mouse(unsigned message, int x, int y) {
    Add({message, heldButtons_ | (shiftDown_ ? mk::kShift : 0u), PackPoint(x, y)});
}

} // namespace tav::platform
