#pragma once

#include <cstdint>

// The window messages the display hands to the library, with the values and parameter layout of the
// Windows messages they stand for: mouse positions are packed into lParam as two signed 16-bit
// logical coordinates (x in the low word), keys carry virtual-key codes, characters one byte each.
namespace tav::platform {

struct WindowMessage {
    unsigned message = 0;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
};

namespace msg {
constexpr unsigned kDestroy = 0x0002;
constexpr unsigned kClose = 0x0010;
constexpr unsigned kActivateApp = 0x001C;
constexpr unsigned kSetCursor = 0x0020;
constexpr unsigned kKeyDown = 0x0100;
constexpr unsigned kKeyUp = 0x0101;
constexpr unsigned kChar = 0x0102;
constexpr unsigned kMouseMove = 0x0200;
constexpr unsigned kLButtonDown = 0x0201;
constexpr unsigned kLButtonUp = 0x0202;
constexpr unsigned kLButtonDblClk = 0x0203;
constexpr unsigned kRButtonDown = 0x0204;
constexpr unsigned kRButtonUp = 0x0205;
// wParam: the delta (kWheelDelta a notch, positive away from the user) in its high word, the mk flags
// in its low word; lParam: the mouse position.
constexpr unsigned kMouseWheel = 0x020A;
constexpr int kWheelDelta = 120;
} // namespace msg

// Mouse-button state flags in wParam of mouse messages.
namespace mk {
constexpr unsigned kLButton = 0x0001;
constexpr unsigned kRButton = 0x0002;
constexpr unsigned kShift = 0x0004;
constexpr unsigned kControl = 0x0008;
} // namespace mk

// Virtual-key codes (Windows values). Letters and digits are their upper-case ASCII codes.
namespace vk {
constexpr unsigned kBack = 0x08;
constexpr unsigned kTab = 0x09;
constexpr unsigned kReturn = 0x0D;
constexpr unsigned kShift = 0x10;
constexpr unsigned kControl = 0x11;
constexpr unsigned kMenu = 0x12;
constexpr unsigned kPause = 0x13;
constexpr unsigned kCapital = 0x14;
constexpr unsigned kEscape = 0x1B;
constexpr unsigned kSpace = 0x20;
constexpr unsigned kPrior = 0x21;
constexpr unsigned kNext = 0x22;
constexpr unsigned kEnd = 0x23;
constexpr unsigned kHome = 0x24;
constexpr unsigned kLeft = 0x25;
constexpr unsigned kUp = 0x26;
constexpr unsigned kRight = 0x27;
constexpr unsigned kDown = 0x28;
constexpr unsigned kInsert = 0x2D;
constexpr unsigned kDelete = 0x2E;
constexpr unsigned kNumpad0 = 0x60; // ... kNumpad0 + 9
constexpr unsigned kMultiply = 0x6A;
constexpr unsigned kAdd = 0x6B;
constexpr unsigned kSubtract = 0x6D;
constexpr unsigned kDecimal = 0x6E;
constexpr unsigned kDivide = 0x6F;
constexpr unsigned kF1 = 0x70; // ... kF1 + 11 for F12
constexpr unsigned kLShift = 0xA0;
constexpr unsigned kRShift = 0xA1;
constexpr unsigned kLControl = 0xA2;
constexpr unsigned kRControl = 0xA3;
constexpr unsigned kLMenu = 0xA4;
constexpr unsigned kRMenu = 0xA5;
} // namespace vk

// Modifier keys held, left and right apart: what the key state query answers.
namespace mod {
constexpr unsigned kLShift = 0x01;
constexpr unsigned kRShift = 0x02;
constexpr unsigned kLControl = 0x04;
constexpr unsigned kRControl = 0x08;
constexpr unsigned kLAlt = 0x10;
constexpr unsigned kRAlt = 0x20;
constexpr unsigned kShift = kLShift | kRShift;
constexpr unsigned kControl = kLControl | kRControl;
constexpr unsigned kAlt = kLAlt | kRAlt;
} // namespace mod

// The modifiers a virtual key stands for (VK_SHIFT both shift keys, VK_LSHIFT the left one), 0 for
// other keys.
constexpr unsigned ModifiersOfKey(unsigned virtualKey) {
    switch (virtualKey) {
    case vk::kShift:
        return mod::kShift;
    case vk::kControl:
        return mod::kControl;
    case vk::kMenu:
        return mod::kAlt;
    case vk::kLShift:
        return mod::kLShift;
    case vk::kRShift:
        return mod::kRShift;
    case vk::kLControl:
        return mod::kLControl;
    case vk::kRControl:
        return mod::kRControl;
    case vk::kLMenu:
        return mod::kLAlt;
    case vk::kRMenu:
        return mod::kRAlt;
    default:
        return 0;
    }
}

// The modifiers held after `message`, given those held before: a key down of a modifier key holds it
// (the generic keys stand for the left one), its key up releases it.
constexpr unsigned ModifiersAfter(unsigned held, const WindowMessage& message) {
    const unsigned keys = ModifiersOfKey(static_cast<unsigned>(message.wParam));
    if (message.message == msg::kKeyDown) {
        const unsigned left = keys & (mod::kLShift | mod::kLControl | mod::kLAlt);
        return held | (left != 0 ? left : keys);
    }
    if (message.message == msg::kKeyUp)
        return held & ~keys;
    return held;
}

constexpr std::intptr_t PackPoint(int x, int y) {
    return static_cast<std::intptr_t>(static_cast<std::uint32_t>(static_cast<std::uint16_t>(x)) |
                                      static_cast<std::uint32_t>(static_cast<std::uint16_t>(y)) << 16);
}
constexpr int PointX(std::intptr_t lParam) {
    return static_cast<std::int16_t>(lParam & 0xFFFF);
}
constexpr int PointY(std::intptr_t lParam) {
    return static_cast<std::int16_t>((lParam >> 16) & 0xFFFF);
}

} // namespace tav::platform
