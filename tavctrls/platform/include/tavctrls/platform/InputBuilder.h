#pragma once

#include "tavctrls/platform/InputScript.h"

#include <string_view>
#include <vector>

namespace tav::platform {

// Writes user actions as the messages a real mouse and keyboard would deliver, with the button and
// shift flags of mouse messages kept up to date. Shared by input scripts and the headless display.
class InputBuilder {
public:
    void Move(int x, int y) { Mouse(msg::kMouseMove, x, y); }
    void LButtonDown(int x, int y);
    void LButtonUp(int x, int y);
    void LClick(int x, int y);
    // The whole gesture: press, release, the second press (the double click) and its release.
    void DoubleClick(int x, int y);
    void RButtonDown(int x, int y);
    void RButtonUp(int x, int y);
    void RClick(int x, int y);
    // A key press: WM_KEYDOWN, and WM_CHAR too for Back, Tab, Return and Escape unless Control or Alt
    // is held. `modifiers` (mod:: flags) are held for this key only, pressed before and released after.
    void KeyDown(unsigned virtualKey, unsigned modifiers = 0);
    // A modifier key (vk::kShift, kControl, kMenu or their left and right keys) goes down or up; mouse
    // messages carry MK_SHIFT and MK_CONTROL meanwhile.
    void Hold(unsigned virtualKey);
    void Release(unsigned virtualKey);
    unsigned Held() const { return held_; }
    // The wheel turned by `notches` (negative towards the user) where the mouse was last.
    void Wheel(int notches);
    void Char(unsigned char byte) { Add({msg::kChar, byte, 0}); }
    // One WM_CHAR per byte of the UTF-8 text.
    void Text(std::string_view utf8);
    void Activate(bool active) { Add({msg::kActivateApp, active ? 1u : 0u, 0}); }
    void Close() { Add({msg::kClose, 0, 0}); }
    void Destroy() { Add({msg::kDestroy, 0, 0}); }
    void Wait(int frames);
    void Add(const WindowMessage& message) { steps_.push_back(InputStep{message, 0}); }

    // Shift held without a message (as the display's own state): mouse messages carry the shift flag.
    void SetShiftDown(bool down) { shiftDown_ = down; }

    // The steps written so far, handed over.
    std::vector<InputStep> Take();

private:
    void Mouse(unsigned message, int x, int y);
    unsigned MouseFlags() const;

    std::vector<InputStep> steps_;
    unsigned heldButtons_ = 0;
    bool shiftDown_ = false;
    unsigned held_ = 0; // mod:: flags
    int mouseX_ = 0;
    int mouseY_ = 0;
};

} // namespace tav::platform
