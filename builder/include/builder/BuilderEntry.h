#pragma once

#include "tavctrls/TavCtrls.h"

namespace tav::builder {

// The designer's entry point: a non-empty command line runs in an 800 x 600 window (the frame rate
// shown when it is longer than five characters), an empty one full screen. Returns 0 when the
// display cannot be opened; otherwise the process ends with the application.
int RunBuilder(HINSTANCE hInstance, const char* commandLine, int nCmdShow);

} // namespace tav::builder
