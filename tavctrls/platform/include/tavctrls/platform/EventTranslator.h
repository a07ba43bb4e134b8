#pragma once

#include "tavctrls/platform/Messages.h"

#include <SDL.h>

#include <vector>

namespace tav::platform {

// The mod:: flags of SDL's modifier state (SDL_Keymod).
unsigned ModifiersOfSdl(unsigned sdlModifiers);

// Where the logical picture lies in a window or screen area (in the area's pixels).
struct PictureRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const PictureRect&) const = default;
};

// The picture scaled by the largest whole factor that fits the area (at most `maxFactor` when that is
// above 0) and centred; an area smaller than the logical size gets the picture shrunk to fit, its
// proportions kept. A `maxFactor` below 0 fills the area, proportions kept (a full screen, as a
// display mode of the logical size would).
PictureRect FitPicture(int areaWidth, int areaHeight, int logicalWidth, int logicalHeight, int maxFactor);

// The factor a window starts at: `forced` when above 0, else 2 when twice the logical size fits the
// usable area in both directions, else 1.
int StartingScale(int usableWidth, int usableHeight, int logicalWidth, int logicalHeight, int forced);

// Turns SDL events into the window messages of the library, keeping the little state that needs:
// which mouse buttons are held and whether the application is active. Mouse positions arrive in the
// window's pixels and leave in logical pixels, mapped through the picture's place in the window.
// Moves and presses over the bars beside the picture are dropped (moves not while a button is held,
// so that drags follow the mouse); releases always arrive.
class EventTranslator {
public:
    // The logical size; the picture fills the window until SetPicture says otherwise.
    EventTranslator(int width, int height);

    void SetPicture(const PictureRect& picture);

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
    // Maps a window position to logical pixels; false when it lies beside the picture.
    bool ToLogical(int windowX, int windowY, int& x, int& y) const;

    int width_;
    int height_;
    PictureRect picture_;
    unsigned heldButtons_ = 0; // mk::kLButton | mk::kRButton
    bool active_ = true;       // the application starts active
    int mouseX_ = 0;           // where the mouse was last seen, for wheel messages
    int mouseY_ = 0;
};

} // namespace tav::platform
