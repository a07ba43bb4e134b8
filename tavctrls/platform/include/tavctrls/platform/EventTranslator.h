#pragma once

#include "tavctrls/platform/Messages.h"

#include <SDL.h>

#include <vector>

namespace tav::platform {

// The mod:: flags of SDL's modifier state (SDL_Keymod).
unsigned ModifiersOfSdl(unsigned sdlModifiers);

// Turns SDL events into the window messages of the library, keeping the little state that needs:
// which mouse buttons are held and whether the application is active. Mouse positions are expected
// in logical pixels already (the renderer's logical size makes SDL scale them).
class EventTranslator {
public:
    // With `dropMovesOutside`, moves outside the logical width x height (over the letterbox bars of
    // full screen) are dropped.
    EventTranslator(int width, int height, bool dropMovesOutside);

    // Appends the messages `event` stands for to `out`; `modifiers` is SDL's keyboard modifier state
    // (SDL_Keymod) at the time of the event.
    void Translate(const SDL_Event& event, unsigned modifiers, std::vector<WindowMessage>& out);

    // True while a mouse button that went down here is held; the mouse stays captured meanwhile.
    bool ButtonHeld() const { return heldButtons_ != 0; }

private:
    void TranslateMotion(const SDL_MouseMotionEvent& motion, unsigned modifiers,
                         std::vector<WindowMessage>& out);
    void TranslateButton(const SDL_MouseButtonEvent& button, unsigned modifiers,
                         std::vector<WindowMessage>& out);
    void TranslateKey(const SDL_KeyboardEvent& key, unsigned modifiers, std::vector<WindowMessage>& out);
    void TranslateWheel(const SDL_MouseWheelEvent& wheel, unsigned modifiers,
                        std::vector<WindowMessage>& out);
    void TranslateWindow(const SDL_WindowEvent& window, std::vector<WindowMessage>& out);
    void Activate(bool active, std::vector<WindowMessage>& out);

    int width_;
    int height_;
    bool dropMovesOutside_;
    unsigned heldButtons_ = 0; // mk::kLButton | mk::kRButton
    bool active_ = true;       // the application starts active
    int mouseX_ = 0;           // where the mouse was last seen, for wheel messages
    int mouseY_ = 0;
};

} // namespace tav::platform
