#pragma once

#include "TavWindows.h"

#include <string>

class CTavSurface;

// Saves the surface's pixels as a PNG file, written whole or not at all (the file is replaced only once
// complete). FALSE, with the reason in `error` when given, if the surface is empty or the file cannot be
// written.
BOOL TavSaveSurfacePng(CTavSurface* surface, const char* path, std::string* error = nullptr);

// The next doInit opens no window, whatever the environment says: frames stay in memory and no input
// arrives. For tools that draw screens into pictures.
void TavUseOffscreenDisplay();
