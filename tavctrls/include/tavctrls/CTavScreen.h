#pragma once

#include "CTavSurface.h"
#include "TavErrors.h"
#include "TavWindows.h"

#include <memory>
#include <vector>

namespace tav::platform {
class DirtyRegion;
}

class CTavApp;
class CTavObject;
class CTavScrollBarsBase;

// A rectangular area with its own back buffer holding objects, a background, sub screens and at most
// one modal popup. Programs derive one class per screen and override its callbacks.
class CTavScreen {
public:
    CTavScreen();
    CTavScreen(const CTavScreen&) = delete;
    CTavScreen& operator=(const CTavScreen&) = delete;

    virtual void OnPopupMenuItemClicked(const char* item);
    virtual void OnObjectGotFocus(DWORD oID);
    virtual void OnObjectLostFocus(DWORD oID);
    virtual void OnCheckBoxClick(DWORD cID, BOOL newValue);
    virtual BOOL OnMenuItemClicked(const char* topItem, const char* subItem);
    virtual void AfterTreeCntrlDoubleClicked(DWORD tID, int itemID);
    virtual void AfterTreeCntrlSelectionChanged(DWORD tID, int itemID);
    virtual void OnTreeCntrlItemRightClick(DWORD tID, int itemID);
    virtual void OnListBoxItemChange(DWORD lID, int item);
    virtual void OnListBoxItemDoubleClicked(DWORD lID, int item);
    virtual void OnListBoxItemRightClicked(DWORD lID, int item);
    virtual void AfterSetScrollPosition(int oldX, int oldY, int newX, int newY);
    virtual BOOL OnButtonDown(DWORD bID);
    virtual ~CTavScreen();
    virtual void AfterObjectDoubleClick(DWORD oID, int x, int y);
    virtual void AfterInitialize();
    virtual void AfterBackBufferRedrawn();
    virtual void AfterRestore();
    virtual void AfterSetPosition(int x, int y);
    virtual void AfterSetWidth(int w);
    virtual void AfterSetHeight(int h);
    virtual void AfterFinish();
    virtual void AfterDisplay(CTavSurface* sur);
    virtual void AfterMouseMove(int x, int y);
    virtual void AfterLMouseDown(int x, int y);
    virtual void AfterLMouseUp(int x, int y);
    virtual void AfterRMouseDown(int x, int y);
    virtual void AfterRMouseUp(int x, int y);
    virtual void AfterKeyDown(UINT nChar);
    virtual void AfterDoubleClick(int x, int y);
    virtual void AfterChar(char c);
    // The mouse wheel turned over this screen at (x, y); `delta` in WHEEL_DELTA units per notch,
    // positive away from the user (scrolling up).
    virtual void AfterMouseWheel(int x, int y, int delta);
    virtual BOOL OnObjectLMouseDown(DWORD oID);
    virtual BOOL OnObjectLMouseUp(DWORD oID);
    virtual BOOL OnObjectRMouseDown(DWORD oID);
    virtual BOOL OnObjectRMouseUp(DWORD oID);

    // Lifetime and geometry.
    DWORD Initialize(DWORD id, int x = 0, int y = 0, int width = 0, int height = 0,
                     int type = TAVSCREEN_FULLSCREEN, CTavScreen* parent = NULL);
    void Finish();
    void Restore();
    DWORD SetPosition(int x, int y);
    DWORD SetWidth(int w);
    DWORD SetHeight(int h);
    CTavSurface* GetSurface() const { return m_surface; }
    void Display(CTavSurface* dest = NULL);
    void RedrawBackBuffer();
    // Marks the whole screen for redrawing, or only the rectangle given in the screen's own pixels
    // (right and bottom exclusive); the parents redraw the part that shows there.
    void Invalidate();
    void Invalidate(int left, int top, int right, int bottom);
    void ScreenToClient(int x, int y, int* outX, int* outY) const;
    void Update();

    // Objects.
    DWORD AddObject(CTavObject* obj);
    DWORD RemoveObject(DWORD id);
    CTavObject* GetObjectByID(DWORD id) const;
    BOOL HasObject(DWORD id) const;
    DWORD SetObjectOrder(DWORD id, int position);
    int GetObjectCount() const { return static_cast<int>(m_objects.size()); }
    CTavObject* GetObjectAt(int index) const;
    // The objects as they are now, for loops that call out and may see objects removed meanwhile.
    std::vector<CTavObject*> ObjectsSnapshot() const { return m_objects; }
    BOOL Owns(const CTavObject* obj) const;
    DWORD SetBackgroundImage(const char* path, int mode);
    void RemoveBackgroundImage();
    CTavObject* GetBackground() const { return m_background; }
    int GetBackgroundMode() const { return m_backgroundMode; }
    void SetBackColor(COLORREF colour);
    COLORREF GetBackColor() const { return m_backColour; }

    // Menu bar and popup menu (the menu controls are objects the screen owns and routes input to).
    DWORD SetMenuBar(CTavObject* menuBar);
    void RemoveMenuBar();
    CTavObject* GetMenuBar() const { return m_menuBar; }
    DWORD SetPopupMenu(CTavObject* popupMenu);
    void ClosePopupMenu();
    CTavObject* GetPopupMenu() const { return m_popupMenu; }

    // Replaces the screen's scroll bars (option 0 only removes them).
    DWORD SetScrollBars(int contentWidth, int contentHeight, int option);
    // The scroll bars of this screen; position 0, 0 without.
    void SetScrollBarsObject(CTavScrollBarsBase* bars);
    CTavScrollBarsBase* GetScrollBarsObject() const { return m_scrollBars; }
    void GetScrollPosition(int* x, int* y) const;
    // Re-positions sub screens and objects after the scroll offset changed.
    void ScrollPositionChanged(int oldX, int oldY, int newX, int newY);

    // Screens.
    DWORD SetChildScreen(CTavScreen* popup);
    DWORD RemoveChildScreen();
    CTavScreen* GetChildScreen() const { return m_modalChild; }
    BOOL IsModalRunning() const { return m_modalRunning; }
    DWORD AddSubScreen(CTavScreen* sub);
    DWORD RemoveSubScreen(DWORD id);
    CTavScreen* GetScreenByID(DWORD id) const;
    BOOL HasScreen(DWORD id) const;
    int GetSubScreenCount() const { return static_cast<int>(m_subScreens.size()); }
    CTavScreen* GetSubScreenAt(int index) const;
    DWORD Close();
    void SetFocus(BOOL focus);
    BOOL HasFocus() const { return m_focus; }
    // Modal boxes shown over this screen: OK, and Yes / No (TRUE for Yes).
    void MessageBox(const char* text);
    BOOL QuestionBox(const char* text);
    void SetFrozen(BOOL frozen) { m_frozen = frozen ? 1 : 0; }
    BOOL IsFrozen() const { return m_frozen; }
    // The innermost modal popup shown over this screen (this screen when none).
    CTavScreen* GetInnermostScreen();

    // Event entry points, in application-area coordinates.
    void MouseMove(int x, int y);
    void LMouseDown(int x, int y);
    void LMouseUp(int x, int y);
    void RMouseDown(int x, int y);
    void RMouseUp(int x, int y);
    void DoubleClick(int x, int y);
    void KeyDown(UINT key);
    void Char(char c);
    // To the innermost modal screen when the pointer is over it: a list, tree or multi-line edit under
    // the pointer scrolls, else the screen's own scroll bars, else AfterMouseWheel is called.
    void MouseWheel(int x, int y, int delta);

    DWORD GetID() const { return m_id; }
    int GetType() const { return m_type; }
    int GetX() const { return m_x; }
    int GetY() const { return m_y; }
    int GetAppX() const { return m_appX; }
    int GetAppY() const { return m_appY; }
    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    CTavScreen* GetParent() const { return m_parent; }
    BOOL IsDirty() const { return m_dirty; }
    BOOL ContainsPoint(int x, int y) const;
    // TRUE once the screen has been removed from its owner (it is deleted when the library is idle).
    BOOL IsDiscarded() const { return m_discarded; }

private:
    // A rectangle of the screen's surface, right and bottom exclusive.
    struct HookArea {
        int left = 0;
        int top = 0;
        int right = 0;
        int bottom = 0;
    };
    void InvalidateArea(const tav::platform::PixelRect& rect);
    // Redraws what lies in `clip`; false when something drew outside it where the surface may be stale.
    bool RedrawArea(const tav::platform::DirtyRegion& clip);
    // Displays a menu or object clipped, remembering where it drew; false as RedrawArea.
    bool DisplayPart(CTavObject* part, const tav::platform::DirtyRegion& clip);
    // Where the screen's own surface shows on its parent's surface.
    int OffsetXOnParent() const;
    int OffsetYOnParent() const;

    // Each routing returns TRUE when it must stop at once (something was destroyed).
    CTavScreen* Descend(bool followFocus);
    // Hands an event to the screen the routing descends to from `start`, if any.
    template <typename... Args>
    static BOOL RouteFrom(CTavScreen* start, bool followFocus, BOOL (CTavScreen::*route)(Args...),
                          Args... args);
    BOOL RouteMouseMove(int x, int y);
    BOOL RouteLMouseDown(int x, int y);
    BOOL RouteLMouseUp(int x, int y);
    BOOL RouteRMouseDown(int x, int y);
    BOOL RouteRMouseUp(int x, int y);
    BOOL RouteDoubleClick(int x, int y);
    BOOL RouteKeyDown(UINT key);
    // Closes the open popup menu or menu bar menu nearest the focus; false when none is open.
    bool CloseOpenMenu();
    BOOL RouteChar(char c);
    BOOL RouteMouseWheel(int x, int y, int delta);
    CTavScreen* SubScreenAt(int x, int y) const;
    BOOL ObjectHidden(const CTavObject* obj) const;
    void DrawBackground(const tav::platform::PixelRect& area);
    void DropStretchedBackground();
    // The common part of SetWidth and SetHeight: checks, a new surface, owners told.
    DWORD Resize(int width, int height);
    void MoveChildren();
    void ComputeAppPosition();
    BOOL Gone() const;

    std::vector<CTavScreen*> m_subScreens;
    int m_frozen = 0;
    CTavScrollBarsBase* m_scrollBars = nullptr;
    CTavScreen* m_modalChild = nullptr;
    int m_modalRunning = 0;
    int m_dirty = 1;
    // What needs redrawing while dirty; where the hooks that draw after everything (the redrawn
    // notification, a modal child's AfterDisplay) and the sub screens' AfterDisplay drew last time.
    std::unique_ptr<tav::platform::DirtyRegion> m_dirtyRegion;
    HookArea m_topHooks;
    HookArea m_midHooks;
    std::vector<CTavObject*> m_objects;
    CTavSurface* m_surface = nullptr;
    CTavScreen* m_parent = nullptr;
    CTavApp* m_app = nullptr;
    int m_type = TAVSCREEN_FULLSCREEN;
    DWORD m_id = 0;
    int m_x = 0;
    int m_y = 0;
    int m_appX = 0;
    int m_appY = 0;
    int m_width = 0;
    int m_height = 0;
    int m_focus = 0;
    CTavObject* m_menuBar = nullptr;
    CTavObject* m_background = nullptr;
    int m_backgroundMode = TAVBACK_CENTER;
    COLORREF m_backColour = RGB(0, 0, 0);
    CTavObject* m_popupMenu = nullptr;
    int m_discarded = 0;
    int m_redrawing = 0;
    // The stretched background at the screen's size, so that a redraw copies instead of scaling.
    CTavSurface* m_stretchedBackground = nullptr;
};
