#pragma once

#include "TavWindows.h"

#include <string>

class CTavApp;
class CTavObject;
class CTavScreen;

// The application whose doInit ran last and that still exists (NULL before and after).
CTavApp* TavGetApp();
// TRUE once the shutdown has begun: screens are being finished and no more input or frames are routed.
BOOL TavIsShuttingDown();

// Finishes and deletes an object its owner has already removed: at once when no event or frame is being
// routed, else once the outermost one is over, so that no handler still running sees freed memory.
void TavDeleteObject(CTavObject* object);
// Finishes and deletes a screen its owner has already removed, at the same moment TavDeleteObject would.
void TavDeleteScreen(CTavScreen* screen);

// While one exists, deletions (TavDeleteObject, TavDeleteScreen and the library's own, such as a closed
// popup) wait until the last one ends: a program can keep reading a modal screen after it has closed.
class CTavDeferDelete {
public:
    CTavDeferDelete();
    ~CTavDeferDelete();
    CTavDeferDelete(const CTavDeferDelete&) = delete;
    CTavDeferDelete& operator=(const CTavDeferDelete&) = delete;
};

// Where a relative resource path (a bitmap, say) is found: from the current directory, else beside the
// program, else in the installed "../share/TavCtrls" folder beside it; the path unchanged when nowhere.
std::string TavResolveResourcePath(const char* path);
