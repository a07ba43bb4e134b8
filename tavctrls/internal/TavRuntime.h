#pragma once

#include "TavLifetime.h"
#include "TavWindows.h"
#include "tavctrls/platform/Display.h"

#include <cstdint>
#include <memory>
#include <vector>

class CTavApp;
class CTavObject;
class CTavScreen;

namespace tav {

// What exists once per process: the application and the state of its loop.
struct Runtime {
    CTavApp* app = nullptr;
    int quit = 0;        // set during shutdown: input, frames and callbacks after input stop
    int active = 0;      // frames are drawn only while active
    int closePosted = 0; // TavPostClose: WM_CLOSE goes ahead of the next message
    int hoverStale = 0;  // a modal loop ended: the screens below learn where the mouse is now
    CTavObject* frameRate = nullptr;
    unsigned frameCounter = 0;
    unsigned framesPerSecond = 0;
    float secondAccumulator = 0;
    std::uint64_t lastCounter = 0;
    std::unique_ptr<platform::Display> display;
    int modalDepth = 0;

    // Frames draw only what changed: what the per-frame hooks drew on the back buffer last frame (put
    // back from the screen before they draw again), whether the next frame composes everything, and
    // when the next frame is due after one that showed nothing.
    platform::DirtyRegion hookArea;
    bool composeAll = true;
    bool frameRateShown = false;
    bool frameRateStale = true;
    std::uint64_t nextFrameDue = 0;
    // Every frame redraws every screen whole (the reference that partial redraws are checked against).
    bool fullRedraw = false;

    // Objects and screens removed while an event is routed or a frame drawn wait here until that
    // has finished, so that nothing on the stack points at freed memory.
    int busy = 0;
    std::vector<CTavObject*> discardedObjects;
    std::vector<CTavScreen*> discardedScreens;
};

Runtime& TheRuntime();
inline CTavApp* CurrentApp() {
    return TheRuntime().app;
}

// Marks the library busy (routing an event or drawing a frame) for its lifetime: the public deferral guard.
using BusyScope = CTavDeferDelete;

// Finishes and deletes an object or screen that its owner has already unlinked: at once when the
// library is idle, else once the outermost event or frame is over.
void DiscardObject(CTavObject* object);
void DiscardScreen(CTavScreen* screen);
void FlushDiscarded();

// A text or line colour (0x00BBGGRR) as a pixel (0x00RRGGBB).
inline std::uint32_t PixelOfColour(COLORREF colour) {
    return (colour & 0xFF) << 16 | (colour & 0xFF00) | (colour >> 16 & 0xFF);
}

} // namespace tav
