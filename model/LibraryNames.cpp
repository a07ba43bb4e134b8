#include "model/CodeNames.h"

#include <iterator>

namespace tav {

namespace {

// Kept in step with tavctrls/include/tavctrls by a test that reads the headers.
// clang-format off
constexpr std::string_view kLibraryNames[] = {
    "APIENTRY", "AddObject", "AddSubScreen", "AfterBackBufferRedrawn", "AfterChar", "AfterDisplay",
    "AfterDoubleClick", "AfterFinish", "AfterInitialize", "AfterKeyDown", "AfterLMouseDown", "AfterLMouseUp",
    "AfterMouseMove", "AfterObjectDoubleClick", "AfterProcessMessage", "AfterRMouseDown", "AfterRMouseUp",
    "AfterRestore", "AfterSetHeight", "AfterSetPosition", "AfterSetScrollPosition", "AfterSetWidth",
    "AfterTreeCntrlDoubleClicked", "AfterTreeCntrlSelectionChanged", "AfterUpdateFrame", "BOOL", "BYTE",
    "CALLBACK", "COLORREF", "CTavAnimation", "CTavApp", "CTavButton", "CTavCheckBox", "CTavDeferDelete",
    "CTavEdit", "CTavListBox", "CTavMenuBar", "CTavMessageBox", "CTavObject", "CTavPopupMenu",
    "CTavQuestionBox", "CTavScreen", "CTavScrollBars", "CTavScrollBarsBase", "CTavStatic", "CTavSurface",
    "CTavTree", "Char", "Close", "ClosePopupMenu", "ComputeAppPosition", "ContainsPoint", "DWORD", "Descend",
    "Display", "DoubleClick", "DrawBackground", "DropStretchedBackground", "FALSE", "FW_BOLD", "FW_DONTCARE",
    "FW_NORMAL", "Finish", "GET_X_LPARAM", "GET_Y_LPARAM", "GetAppX", "GetAppY", "GetAsyncKeyState",
    "GetBValue", "GetBackBuffer", "GetBackColor", "GetBackground", "GetBackgroundMode", "GetChildScreen",
    "GetColorDepth", "GetFrameTime", "GetGValue", "GetHWND", "GetHeight", "GetID", "GetInnermostScreen",
    "GetMenuBar", "GetMouseX", "GetMouseY", "GetName", "GetObjectAt", "GetObjectByID", "GetObjectCount",
    "GetParent", "GetPopupMenu", "GetRValue", "GetRefreshRate", "GetScreenByID", "GetScrollBarsObject",
    "GetScrollPosition", "GetShowFrameRate", "GetSubScreenAt", "GetSubScreenCount", "GetSurface", "GetType",
    "GetWaitBlank", "GetWidth", "GetWindowScale", "GetWindowText", "GetWindowX", "GetWindowY", "GetX", "GetY", "Gone", "HDC", "HINSTANCE",
    "HIWORD", "HRESULT", "HWND", "HasFocus", "HasObject", "HasScreen", "IDCANCEL", "IDNO", "IDOK", "IDYES",
    "IDirectDrawSurface", "Initialize", "Invalidate", "IsDirty", "IsDiscarded", "IsFrozen", "IsModalRunning",
    "IsMouseButtonDown", "IsWindowed", "KeyDown", "LMouseDown", "LMouseUp", "LONG", "LOWORD", "LPARAM",
    "LPCSTR", "LPSTR", "LRESULT", "MB_ICONERROR", "MB_ICONINFORMATION", "MB_ICONWARNING", "MB_OK",
    "MB_OKCANCEL", "MB_YESNO", "MessageBox", "MouseMove", "MouseWheel", "MoveChildren", "MyWinMain", "ObjectHidden",
    "ObjectsSnapshot", "OnButtonDown", "OnCheckBoxClick", "OnCloseMessage", "OnListBoxItemChange",
    "OnListBoxItemDoubleClicked", "OnListBoxItemRightClicked", "OnMenuItemClicked", "OnObjectGotFocus",
    "OnObjectLMouseDown", "OnObjectLMouseUp", "OnObjectLostFocus", "OnObjectRMouseDown", "OnObjectRMouseUp",
    "OnPopupMenuItemClicked", "OnTreeCntrlItemRightClick", "Owns", "PumpMessages", "QuestionBox", "RGB",
    "RMouseDown", "RMouseUp", "RedrawBackBuffer", "ReleaseDisplay", "RemoveBackgroundImage",
    "RemoveChildScreen", "RemoveMenuBar", "RemoveObject", "RemoveSubScreen", "Resize", "Restore", "RouteChar",
    "RouteDoubleClick", "RouteFrom", "RouteInput", "RouteKeyDown", "RouteLMouseDown", "RouteLMouseUp",
    "RouteMouseMove", "RouteMouseWheel", "RouteRMouseDown", "RouteRMouseUp", "RunFrameOrWait", "SW_SHOW", "SW_SHOWNORMAL",
    "ScreenToClient", "ScrollPositionChanged", "SetBackColor", "SetBackgroundImage", "SetChildScreen",
    "SetFocus", "SetFrozen", "SetHeight", "SetMenuBar", "SetObjectOrder", "SetPopupMenu", "SetPosition",
    "SetScrollBars", "SetScrollBarsObject", "SetRunWhileInactive", "SetShowFrameRate", "SetWaitBlank", "SetWidth", "SetWindowScale", "SetWindowText", "Shutdown",
    "Sleep", "SubScreenAt", "TAVAPP_FULLSCREEN", "TAVAPP_WINDOW", "TAVBACK_CENTER", "TAVBACK_STRETCH",
    "TAVBACK_TILE", "TAVERROR_ATTACHSURFACE", "TAVERROR_BACKSURFACE", "TAVERROR_CHILDEXISTS",
    "TAVERROR_CREATESURFACE", "TAVERROR_DIRECTDRAW", "TAVERROR_DRAW", "TAVERROR_DUPLICATEID", "TAVERROR_FONT",
    "TAVERROR_FULLSCREENSIZE", "TAVERROR_INDEX", "TAVERROR_INVALIDARG", "TAVERROR_LINEDC",
    "TAVERROR_LOADBITMAP", "TAVERROR_NOAPP", "TAVERROR_NOCHILDSCREEN", "TAVERROR_NOPARENT",
    "TAVERROR_NOTFULLSCREEN", "TAVERROR_NOTPOPUP", "TAVERROR_NOTSUBSCREEN", "TAVERROR_NULLPOINTER",
    "TAVERROR_OBJECTNOTFOUND", "TAVERROR_OK", "TAVERROR_PRIMARYSURFACE", "TAVERROR_SCREENNOTFOUND",
    "TAVERROR_SORTORDER", "TAVERROR_SURFACEDC", "TAVERROR_TEXTDC", "TAVERROR_WINDOW", "TAVID_LIBRARY",
    "TAVSCREEN_FULLSCREEN", "TAVSCREEN_POPUP", "TAVSCREEN_SUBSCREEN", "TRUE", "TavCommandLineArguments", "TavDeleteObject",
    "TavDeleteScreen", "TavGetApp", "TavGetFontFamilies", "TavIsShuttingDown", "TavPostClose", "TavResolveResourcePath",
    "TavSaveSurfacePng", "TavUseOffscreenDisplay",
    "UINT", "Update", "UpdateFrame", "UpdateFrameRateText", "VK_ADD", "VK_BACK", "VK_CAPITAL", "VK_CONTROL",
    "VK_DECIMAL", "VK_DELETE", "VK_DIVIDE", "VK_DOWN", "VK_END", "VK_ESCAPE", "VK_F1", "VK_F10", "VK_F11",
    "VK_F12", "VK_F2", "VK_F3", "VK_F4", "VK_F5", "VK_F6", "VK_F7", "VK_F8", "VK_F9", "VK_HOME", "VK_INSERT",
    "VK_LBUTTON", "VK_LCONTROL", "VK_LEFT", "VK_LMENU", "VK_LSHIFT", "VK_MENU", "VK_MULTIPLY", "VK_NEXT", "VK_NUMPAD0",
    "VK_NUMPAD1", "VK_NUMPAD2", "VK_NUMPAD3", "VK_NUMPAD4", "VK_NUMPAD5", "VK_NUMPAD6", "VK_NUMPAD7",
    "VK_NUMPAD8", "VK_NUMPAD9", "VK_PAUSE", "VK_PRIOR", "VK_RBUTTON", "VK_RCONTROL", "VK_RETURN", "VK_RMENU", "VK_RIGHT",
    "VK_RSHIFT", "VK_SHIFT", "VK_SPACE", "VK_SUBTRACT", "VK_TAB", "VK_UP", "WINAPI", "WM_ACTIVATEAPP",
    "WM_CHAR", "WM_CLOSE", "WM_DESTROY", "WM_KEYDOWN", "WM_KEYUP", "WM_LBUTTONDBLCLK", "WM_LBUTTONDOWN",
    "WM_LBUTTONUP", "WM_MOUSEMOVE", "WM_QUIT", "WM_RBUTTONDOWN", "WM_RBUTTONUP", "WM_SETCURSOR", "WORD",
    "WPARAM", "WinMain", "WindowProc", "doInit", "m_app", "m_appX", "m_appY", "m_backBuffer", "m_backColour",
    "m_background", "m_backgroundMode", "m_childScreen", "m_colorDepth", "m_dirty", "m_discarded", "m_focus",
    "m_frameTime", "m_frozen", "m_height", "m_id", "m_menuBar", "m_modalChild", "m_modalRunning",
    "m_mouseButtonDown", "m_mouseX", "m_mouseY", "m_name", "m_objects", "m_parent", "m_popupMenu",
    "m_redrawing", "m_refreshRate", "m_scrollBars", "m_showFrameRate", "m_stretchedBackground",
    "m_subScreens", "m_surface", "m_runWhileInactive", "m_type", "m_waitBlank", "m_width", "m_window", "m_windowScale", "m_windowX", "m_windowY",
    "m_windowed", "m_x", "m_y", "tav",
    "AfterMouseWheel", "BlitStrip", "CloseOpenMenu", "DrawLineStrip", "MakeStrip", "PaintBack", "GetSelectedText", "HasSelection", "SelectAll", "SetSelection", "TavGetClipboardText",
    "TavSetClipboardText", "WHEEL_DELTA", "WM_MOUSEWHEEL",
    "DisplayPart", "HookArea", "InvalidateAll", "InvalidateArea", "OffsetXOnParent", "OffsetYOnParent", "RedrawArea",
    "UpdateFrameRegion", "m_dirtyRegion", "m_midHooks", "m_topHooks",
};
// clang-format on

} // namespace

const std::vector<std::string_view>& LibraryNames() {
    static const std::vector<std::string_view> names(std::begin(kLibraryNames), std::end(kLibraryNames));
    return names;
}

} // namespace tav
