#pragma once

#include "Messages.h"
#include "PixelBuffer.h"

#include <cstdint>
#include <memory>
#include <string>

namespace tav::platform {

struct DisplaySettings {
    std::string title;    // window title (the application's name)
    bool windowed = true; // false: the desktop's full screen, the logical size scaled and letterboxed
    int x = 0;            // window position (window mode only)
    int y = 0;
    int width = 800; // logical size in pixels
    int height = 600;
    // Whole multiples of the logical size: the window starts at this factor and the picture never grows
    // beyond it. 0 starts a window at 2 when the desktop's usable area holds twice the logical size in
    // both directions (else at 1) and lets the picture grow with the window.
    int scale = 0;
};

// Where frames go and where input comes from: an SDL2 window, or the headless display of tests and
// tools. One display exists per running application.
class Display {
public:
    virtual ~Display() = default;

    // Opens the window (or its headless stand-in). False with a reason when that is impossible.
    virtual bool Open(const DisplaySettings& settings, std::string* error) = 0;
    // Takes the next pending message without waiting; false when there is none.
    virtual bool PeekMessage(WindowMessage& message) = 0;
    // Blocks until a message may be pending (used while the application is inactive).
    virtual void WaitMessage() = 0;
    // Blocks until a message may be pending or the clock reaches `counter` (an idle frame's rest): true
    // when the time has come, false when a message came first.
    virtual bool WaitMessageUntil(std::uint64_t /*counter*/) { return true; }
    // Shows a finished frame of the logical size in which only `changed` differs from the frame shown
    // before; waits for the vertical blank when asked. Nothing changed shows nothing and does not wait.
    virtual void Present(const PixelBuffer& frame, const DirtyRegion& changed, bool waitVerticalBlank) = 0;

    // The high-resolution clock (ticks and ticks per second).
    virtual std::uint64_t Counter() = 0;
    virtual std::uint64_t Frequency() = 0;
    // Display refresh rate in hertz, 0 when unknown.
    virtual int RefreshRate() { return 0; }
    // The modifier keys held now (mod:: flags; what the library's key state query reports).
    virtual unsigned Modifiers() { return 0; }

    // The clipboard's text (UTF-8): false when it could not be set, empty when it holds no text.
    virtual bool SetClipboardText(const std::string& /*text*/) { return false; }
    virtual std::string ClipboardText() { return {}; }

    // The library tells the display when a modal loop starts and ends waiting for input; the headless
    // display bounds such waits.
    virtual void EnterModalLoop() {}
    virtual void LeaveModalLoop() {}

    // The window's title; a display without a window only keeps it.
    virtual void SetTitle(const std::string& title) { title_ = title; }
    const std::string& Title() const { return title_; }

    // A message box for the user (the start-up failure); the headless display writes to stderr.
    virtual void ShowMessageBox(const std::string& title, const std::string& text) = 0;

    // Called by the library's shutdown just before the process ends: the last chance to save what the
    // environment asked for (the last frame).
    virtual void Close() {}

private:
    std::string title_;
};

// The display the environment selects: the headless display when TAV_HEADLESS=1, otherwise an SDL2
// window. TAV_FRAMES, TAV_SCREENSHOT and TAV_INPUT are read here too.
std::unique_ptr<Display> CreateDisplayFromEnvironment();

// Lets a test decide the next display that CreateDisplayFromEnvironment returns (once).
void SetNextDisplay(std::unique_ptr<Display> display);

// A message box shown without a display (before or instead of the application's window).
void ShowStandaloneMessageBox(const std::string& title, const std::string& text);

} // namespace tav::platform
