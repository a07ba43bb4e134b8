#pragma once

#include "TavWindows.h"

#include <string>

class CTavApp;
class CTavObject;
class CTavScreen;

// The running application (the one whose doInit ran last), or NULL.
CTavApp* TavGetApp();
// TRUE once the shutdown has begun: no more input or frames are routed.
BOOL TavIsShuttingDown();
// Asks the running application to close as its window's close button does (its OnCloseMessage may
// refuse), once the message being handled is over. Callable from any callback; does nothing without one.
void TavPostClose();

// Deletes a removed object: at once when idle, else once the event or frame being routed is over.
void TavDeleteObject(CTavObject* object);
// Deletes a removed screen: at once when idle, else once the event or frame being routed is over.
void TavDeleteScreen(CTavScreen* screen);

// While one exists, every deletion (closed popups included) waits, e.g. to read a popup after it closed.
class CTavDeferDelete {
public:
    CTavDeferDelete();
    ~CTavDeferDelete();
    CTavDeferDelete(const CTavDeferDelete&) = delete;
    CTavDeferDelete& operator=(const CTavDeferDelete&) = delete;
};

// Where a relative resource path is found: here, beside the program, or in its ../share/TavCtrls.
std::string TavResolveResourcePath(const char* path);
