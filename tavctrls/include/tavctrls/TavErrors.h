#pragma once

#include "TavWindows.h"

// Result codes of the library's operations.
inline constexpr DWORD TAVERROR_OK = 0;
inline constexpr DWORD TAVERROR_INVALIDARG = 1;
inline constexpr DWORD TAVERROR_WINDOW = 2;
inline constexpr DWORD TAVERROR_DIRECTDRAW = 3;
inline constexpr DWORD TAVERROR_PRIMARYSURFACE = 4;
inline constexpr DWORD TAVERROR_BACKSURFACE = 5;
inline constexpr DWORD TAVERROR_NOCHILDSCREEN = 7;
inline constexpr DWORD TAVERROR_NOTFULLSCREEN = 8;
inline constexpr DWORD TAVERROR_NOAPP = 10;
inline constexpr DWORD TAVERROR_LOADBITMAP = 11;
inline constexpr DWORD TAVERROR_NOPARENT = 12;
inline constexpr DWORD TAVERROR_INDEX = 13;
inline constexpr DWORD TAVERROR_SORTORDER = 14;
inline constexpr DWORD TAVERROR_NULLPOINTER = 15;
inline constexpr DWORD TAVERROR_DUPLICATEID = 17;
inline constexpr DWORD TAVERROR_FULLSCREENSIZE = 18;
inline constexpr DWORD TAVERROR_CHILDEXISTS = 19;
inline constexpr DWORD TAVERROR_NOTSUBSCREEN = 20;
inline constexpr DWORD TAVERROR_SCREENNOTFOUND = 21;
inline constexpr DWORD TAVERROR_NOTPOPUP = 22;
inline constexpr DWORD TAVERROR_OBJECTNOTFOUND = 23;
inline constexpr DWORD TAVERROR_CREATESURFACE = 24;
inline constexpr DWORD TAVERROR_SURFACEDC = 25;
inline constexpr DWORD TAVERROR_ATTACHSURFACE = 26;
inline constexpr DWORD TAVERROR_TEXTDC = 27;
inline constexpr DWORD TAVERROR_FONT = 28;
inline constexpr DWORD TAVERROR_LINEDC = 29;
inline constexpr DWORD TAVERROR_DRAW = 30;

// Mode of CTavApp::doInit.
inline constexpr int TAVAPP_FULLSCREEN = 0;
inline constexpr int TAVAPP_WINDOW = 1;

// Screen types.
inline constexpr int TAVSCREEN_FULLSCREEN = 0;
inline constexpr int TAVSCREEN_POPUP = 1;
inline constexpr int TAVSCREEN_SUBSCREEN = 2;

// Background modes.
inline constexpr int TAVBACK_CENTER = 0;
inline constexpr int TAVBACK_STRETCH = 1;
inline constexpr int TAVBACK_TILE = 2;

// The id of the objects the library makes for its own use.
inline constexpr DWORD TAVID_LIBRARY = 99;
