#pragma once

#include "CTavSurface.h"
#include "TavErrors.h"
#include "TavWindows.h"

#include <string>

class CTavApp;
class CTavScreen;
class CTavScrollBarsBase;

// The base of every control: a rectangle on a screen with an image, an id, visibility, focus, a blit
// mode (plain, colour-keyed or alpha), optional scroll bars and a simple per-frame motion.
class CTavObject {
public:
    // Every rectangle enters an object here, whatever its source (a project file, generated code, a
    // program): positions are clamped to -kMaxCoordinate..kMaxCoordinate, far beyond any surface, and
    // widths and heights above kMaxLength (a surface's largest side) are refused like those below 1,
    // so that a position plus a size always fits an int and every position converts to one exactly.
    // The other numbers that place or size something inside a control (text offsets, font, row and
    // column heights, indents) are clamped by their setters the same way.
    static constexpr float kMaxCoordinate = 1 << 20;
    static constexpr int kMaxLength = 32767;
    // The lengths an object accepts; a coordinate or a length within its range (NaN becomes 0).
    static bool IsValidLength(int length) { return length >= 1 && length <= kMaxLength; }
    static float ClampCoordinate(float value);
    static int ClampCoordinate(int value);
    static int ClampLength(int length);

    CTavObject();
    CTavObject(const CTavObject&) = delete;
    CTavObject& operator=(const CTavObject&) = delete;

    virtual CTavObject* Clone(CTavObject* target, int withScreen);
    virtual void AfterSetScrollPosition(int oldX, int oldY, int newX, int newY);
    virtual BOOL OnMouseMove(int x, int y, BOOL inside);
    virtual BOOL OnLMouseDown(int x, int y);
    virtual BOOL OnLMouseUp(int x, int y);
    virtual BOOL OnKeyDown(UINT key);
    virtual BOOL OnDoubleClick(int x, int y);
    virtual BOOL OnChar(char c);
    virtual BOOL OnRMouseDown(int x, int y);
    virtual BOOL OnRMouseUp(int x, int y);
    // The mouse wheel over the object (see CTavScreen::AfterMouseWheel); TRUE when it scrolled.
    virtual BOOL OnMouseWheel(int x, int y, int delta);
    virtual DWORD Initialize(DWORD id, float x, float y, const char* bitmap, CTavScreen* screen);
    virtual DWORD Initialize(DWORD id, float x, float y, int width, int height, CTavScreen* screen);
    virtual DWORD Initialize(DWORD id, float x, float y, const char* bitmap, int width, int height,
                             CTavScreen* screen);
    virtual ~CTavObject();
    virtual void AfterDisplay(CTavSurface* dest);
    virtual void AfterUpdate();
    virtual void AfterRestore();
    virtual void AfterSetPosition(float x, float y);
    virtual void AfterSetWidth(int w);
    virtual void AfterSetHeight(int h);
    virtual void AfterInitialize();
    virtual void AfterFinish();
    virtual void DrawContent();

    void SetPosition(float x, float y);
    virtual DWORD SetWidth(int w);
    virtual DWORD SetHeight(int h);
    long Display(CTavSurface* dest = NULL);
    // Virtual so that controls with parts outside their rectangle (a menu's drop-down) are hit there.
    virtual BOOL HitTest(int x, int y);
    // The key is a COLORREF (RGB): pixels of that colour are not drawn.
    void SetTransparent(BOOL on, COLORREF colourKey);
    void SetTranslucent(BOOL on, int alpha);
    void SetVisible(BOOL visible);
    void SetFocus(BOOL focus);
    void SetSpeed(float x, float y);
    void Update();
    void Redraw();
    void SetRedrawEnabled(BOOL enabled);
    void CreateImage();
    virtual void Restore();
    virtual void Finish();

    // Replaces the object's scroll bars (option 0 only removes them).
    DWORD SetScrollBars(int contentWidth, int contentHeight, int option);
    // The scroll bars of this object; position 0, 0 without.
    void SetScrollBarsObject(CTavScrollBarsBase* bars);
    CTavScrollBarsBase* GetScrollBarsObject() const { return m_scrollBars; }
    void GetScrollPosition(int* x, int* y) const;
    int GetViewWidth() const { return m_width; }
    int GetViewHeight() const { return m_height; }

    DWORD GetID() const { return m_id; }
    float GetX() const { return m_x; }
    float GetY() const { return m_y; }
    float GetAppX() const { return m_appX; }
    float GetAppY() const { return m_appY; }
    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    BOOL IsVisible() const { return m_visible; }
    BOOL HasFocus() const { return m_focus; }
    BOOL IsTransparent() const { return m_specialBlit != 0 && !m_alphaMode; }
    BOOL IsTranslucent() const { return m_specialBlit != 0 && m_alphaMode; }
    COLORREF GetColourKey() const { return m_colourKey; }
    int GetAlpha() const { return m_alpha; }
    float GetSpeedX() const { return m_speedX; }
    float GetSpeedY() const { return m_speedY; }
    const char* GetBitmapPath() const { return m_bitmapPath.c_str(); }
    CTavScreen* GetScreen() const { return m_screen; }
    CTavSurface* GetImage() const { return m_image; }
    // The screen the object belongs to; cleared when the screen gives it up.
    void SetScreen(CTavScreen* screen) { m_screen = screen; }

protected:
    // Finishes, deletes and forgets a part the object owns (nothing when there is none).
    static void FinishPart(CTavObject*& part);
    // Marks the object's screen and its ancestors for redrawing (nothing without a screen).
    void InvalidateScreen();
    // Recomputes the application position from the screen's position and scroll offset.
    void UpdateAppPosition();
    // Copies the base settings into `target` (used by Clone of every class).
    void CopyBaseTo(CTavObject* target, int withScreen) const;

    int m_focus = 0;
    int m_visible = 1;
    int m_specialBlit = 0;
    int m_alphaMode = 0;
    int m_alpha = 255;
    COLORREF m_colourKey = 0;
    DWORD m_id = 0;
    std::string m_bitmapPath;
    float m_x = 0;
    float m_y = 0;
    float m_appX = 0;
    float m_appY = 0;
    int m_width = 0;
    int m_height = 0;
    CTavApp* m_app = nullptr;
    CTavScreen* m_screen = nullptr;
    CTavSurface* m_image = nullptr;
    CTavScrollBarsBase* m_scrollBars = nullptr;
    float m_velocityX = 0;
    float m_velocityY = 0;
    float m_speedX = 0;
    float m_speedY = 0;
    int m_redrawEnabled = 1;

    // Marks where the object drew last time and where it is now on `screen`, which draws it.
    void InvalidateOn(CTavScreen* screen) const;

private:
    friend class CTavScreen;
    // Where the object drew on its screen's surface when the screen last drew it.
    int m_drawnLeft = 0;
    int m_drawnTop = 0;
    int m_drawnRight = 0;
    int m_drawnBottom = 0;
};
