// The Windows functions programs call besides the library's classes.
#include "TavClipboard.h"
#include "TavFonts.h"
#include "TavRuntime.h"
#include "TavWindows.h"
#include "tavctrls/platform/Text.h"

#include <algorithm>
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
    const unsigned modifiers = tav::platform::ModifiersOfKey(static_cast<unsigned>(key));
    if (modifiers != 0 && display && (display->Modifiers() & modifiers) != 0)
        return static_cast<short>(0x8000);
    return 0;
}

BOOL SetWindowText(HWND, const char* text) {
    auto& display = tav::TheRuntime().display;
    if (!display)
        return FALSE;
    display->SetTitle(text != nullptr ? text : "");
    return TRUE;
}

int GetWindowText(HWND, char* text, int size) {
    auto& display = tav::TheRuntime().display;
    if (text == nullptr || size <= 0)
        return 0;
    const std::string title = display ? display->Title() : std::string();
    const std::size_t length = std::min(title.size(), static_cast<std::size_t>(size - 1));
    title.copy(text, length);
    text[length] = '\0';
    return static_cast<int>(length);
}

void Sleep(DWORD milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

#endif

std::vector<std::string> TavGetFontFamilies() {
    return tav::platform::FontFamilies();
}

// The display's clipboard; without a display one kept within the process.
namespace {
std::string& OwnClipboard() {
    static std::string text;
    return text;
}
} // namespace

BOOL TavSetClipboardText(const std::string& text) {
    auto& display = tav::TheRuntime().display;
    if (!display) {
        OwnClipboard() = text;
        return TRUE;
    }
    return display->SetClipboardText(text) ? TRUE : FALSE;
}

std::string TavGetClipboardText() {
    auto& display = tav::TheRuntime().display;
    return display ? display->ClipboardText() : OwnClipboard();
}
