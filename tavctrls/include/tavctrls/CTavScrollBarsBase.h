#pragma once

#include "TavWindows.h"

class CTavSurface;

// What screens and objects ask of the scroll bars they own. The scroll-bar control implements it.
class CTavScrollBarsBase {
public:
    virtual ~CTavScrollBarsBase() = default;

    virtual int GetScrollX() const = 0;
    virtual int GetScrollY() const = 0;
    virtual BOOL HitTest(int x, int y) = 0;
    // Mouse input offered to the bars first; TRUE when they took it.
    virtual BOOL OnMouseMove(int x, int y) = 0;
    virtual BOOL OnLMouseDown(int x, int y) = 0;
    virtual BOOL OnLMouseUp(int x, int y) = 0;
    // The mouse wheel turned by `delta` (WHEEL_DELTA a notch), `notch` pixels a notch; TRUE when the
    // bars scrolled the owner (or could have: the content is larger than the view).
    virtual BOOL Wheel(int /*delta*/, int /*notch*/) { return FALSE; }
    virtual void Update() = 0;
    // Draws the bars onto the owner's surface.
    virtual void Draw(CTavSurface* surface) = 0;
    // The owner moved or changed its size.
    virtual void OwnerMoved() = 0;
    virtual void OwnerResized() = 0;
    virtual void Restore() = 0;
    virtual void Finish() = 0;
};
