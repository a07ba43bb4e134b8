// The Windows functions programs call besides the library's classes.
#include "TavClipboard.h"
#include "TavFonts.h"
#include "TavRuntime.h"
#include "TavWindows.h"
#include "tavctrls/platform/Text.h"

#include <thread>

#ifndef _WIN32

int MessageBox(HWND, const char* text, const char* caption, UINT) {
    const std::string body = text != nullptr ? text : "";
    const std::string title = caption != nullptr ? caption : "";
    if (tav::TheRuntime().display)
        tav::TheRuntime().display->ShowMessageBox(title, body);
    else
        tav::platform::ShowStandaloneMessageBox(title, body);
    return IDOK;
}

short GetAsyncKeyState(int key) {
    auto& display = tav::TheRuntime().display;
    const bool shift = key == VK_SHIFT || key == VK_LSHIFT || key == VK_RSHIFT;
    if (shift && display && display->ShiftDown())
        return static_cast<short>(0x8000);
    return 0;
}

void Sleep(DWORD milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

#endif

std::vector<std::string> TavGetFontFamilies() {
    return tav::platform::FontFamilies();
}

// Until the display carries the clipboard: kept within the process.
namespace {
std::string& ClipboardText() {
    static std::string text;
    return text;
}
} // namespace

BOOL TavSetClipboardText(const std::string& text) {
    ClipboardText() = text;
    return TRUE;
}

std::string TavGetClipboardText() {
    return ClipboardText();
}
