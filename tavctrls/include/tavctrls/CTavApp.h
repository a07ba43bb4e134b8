#pragma once

#include "CTavSurface.h"
#include "TavErrors.h"
#include "TavWindows.h"

#include <string>
#include <vector>

class CTavScreen;

// The program's arguments as the library's main received them, the program's name first: unlike
// WinMain's joined command line they keep arguments with spaces whole.
const std::vector<std::string>& TavCommandLineArguments();

// Everything that exists once per program: the window, the back buffer, the message and frame loop
// with its timing and frame-rate box, and the one full screen that is shown.
class CTavApp {
public:
    CTavApp();
    CTavApp(const CTavApp&) = delete;
    CTavApp& operator=(const CTavApp&) = delete;
    virtual ~CTavApp();
    virtual void AfterProcessMessage(UINT message, WPARAM wParam, LPARAM lParam);
    virtual void AfterUpdateFrame(CTavSurface* backSurface);
    virtual void AfterMouseMove(int x, int y);
    virtual void AfterLMouseUp(int x, int y);
    virtual void AfterLMouseDown(int x, int y);
    virtual void AfterKeyDown(UINT nChar);
    virtual void AfterDoubleClick(int x, int y);
    virtual void AfterChar(char c);
    virtual void AfterRMouseUp(int x, int y);
    virtual void AfterRMouseDown(int x, int y);
    virtual BOOL OnCloseMessage();
    virtual void AfterRestore();

    DWORD doInit(HINSTANCE hInstance, int nCmdShow, const char* name, int mode, int width, int height,
                 int x = 0, int y = 0, int bpp = 24);
    // A window's size in whole multiples of the logical size, set before doInit: it starts at that
    // factor and its picture never grows beyond it. 0 (the default) starts a window at 2 when the
    // desktop has room for twice the size, else at 1, and lets the picture grow with the window.
    // Factors above 8 or below 0 give TAVERROR_INVALIDARG.
    DWORD SetWindowScale(int factor);
    int GetWindowScale() const { return m_windowScale; }
    DWORD SetChildScreen(CTavScreen* screen);
    DWORD RemoveChildScreen();
    void SetShowFrameRate(BOOL show) { m_showFrameRate = show ? TRUE : FALSE; }
    void SetWaitBlank(BOOL wait) { m_waitBlank = wait ? TRUE : FALSE; }
    // Keeps frames running while the window is inactive, for work that must go on in the background.
    void SetRunWhileInactive(BOOL run) { m_runWhileInactive = run ? TRUE : FALSE; }
    HWND GetHWND() const { return m_window; }
    // Runs the message and frame loop; the process ends in the shutdown, so this never returns.
    [[noreturn]] void MyWinMain();

    // One pass of the message pump; false once the loop is to end.
    BOOL PumpMessages();
    // One frame while active (or running while inactive); otherwise waits for the next message.
    void RunFrameOrWait();
    void UpdateFrame();
    // The window procedure: every message the display delivers passes here.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Starts the shutdown as if the window were destroyed (the process ends).
    [[noreturn]] void Shutdown();

    float GetFrameTime() const { return m_frameTime; }
    CTavSurface* GetBackBuffer() const { return m_backBuffer; }
    CTavScreen* GetChildScreen() const { return m_childScreen; }
    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    int GetColorDepth() const { return m_colorDepth; }
    const char* GetName() const { return m_name.c_str(); }
    BOOL IsWindowed() const { return m_windowed != 0; }
    BOOL GetShowFrameRate() const { return m_showFrameRate; }
    BOOL GetWaitBlank() const { return m_waitBlank; }
    int GetMouseX() const { return m_mouseX; }
    int GetMouseY() const { return m_mouseY; }
    int IsMouseButtonDown() const { return m_mouseButtonDown; }
    float GetRefreshRate() const { return m_refreshRate; }
    int GetWindowX() const { return m_windowX; }
    int GetWindowY() const { return m_windowY; }

private:
    void RouteInput(UINT message, WPARAM wParam, LPARAM lParam);
    void UpdateFrameRateText();
    // The frame; true when it showed something.
    bool UpdateFrameRegion();
    static void InvalidateAll(CTavScreen* screen);
    void ReleaseDisplay();

    float m_frameTime = 0;
    CTavScreen* m_childScreen = nullptr;
    std::string m_name;
    int m_colorDepth = 24;
    int m_height = 0;
    HWND m_window = nullptr;
    float m_refreshRate = 0;
    BOOL m_showFrameRate = FALSE;
    int m_windowed = 0;
    BOOL m_waitBlank = TRUE;
    BOOL m_runWhileInactive = FALSE;
    int m_width = 0;
    int m_windowX = 0;
    int m_windowY = 0;
    int m_mouseX = 0;
    int m_mouseY = 0;
    int m_mouseButtonDown = 0;
    CTavSurface* m_backBuffer = nullptr;
    int m_windowScale = 0;
};
