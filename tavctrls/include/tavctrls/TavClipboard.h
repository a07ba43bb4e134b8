#pragma once

#include "TavWindows.h"

#include <string>

// The system clipboard's text (UTF-8). Setting gives FALSE when the clipboard could not take it;
// reading gives an empty text when it holds no text.
BOOL TavSetClipboardText(const std::string& text);
std::string TavGetClipboardText();
