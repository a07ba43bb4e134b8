// Opens a real window and exits with 0 once a left press, a release, a C pressed with Control held (the
// modifiers as they were when the key went down, however fast it was typed) and then WM_CLOSE have come;
// with 1 when the window closes before them or nothing comes within 10 seconds.
#include "tavctrls/platform/ProcessEnd.h"
#include "tavctrls/platform/SdlDisplay.h"

#include <chrono>
#include <iostream>
#include <thread>

using namespace tav::platform;

int main() {
    SdlDisplay display;
    std::string error;
    if (!display.Open({"smoke", true, 0, 0, 320, 240}, &error)) {
        std::cerr << "smoke: " << error << std::endl;
        return 1;
    }
    PixelBuffer frame;
    frame.Allocate(320, 240);
    const std::uint64_t start = display.Counter();
    bool down = false, up = false, chord = false, closed = false;
    for (std::uint32_t shade = 0; !closed && display.Counter() - start < 10 * display.Frequency(); ++shade) {
        WindowMessage message;
        while (!closed && display.PeekMessage(message)) {
            std::cout << "message 0x" << std::hex << message.message << std::dec << std::endl;
            down = down || message.message == msg::kLButtonDown;
            up = up || (down && message.message == msg::kLButtonUp);
            chord = chord || (message.message == msg::kKeyDown && message.wParam == 'C' &&
                              (display.Modifiers() & mod::kControl) != 0);
            closed = message.message == msg::kClose;
        }
        FillRect(frame, frame.Bounds(), (shade & 0xFF) << 8);
        display.Present(frame, frame.TakeDamage(), true);
        std::this_thread::sleep_for(std::chrono::milliseconds(10)); // no vertical blank on a virtual server
    }
    if (!closed || !up || !chord)
        std::cerr << "smoke: " << (closed ? "closed before a click and Ctrl+C arrived" : "no close in 10 s")
                  << std::endl;
    // Ends as the library's shutdown does: SDL's D-Bus connection and the GL driver keep a few allocations
    // to the end of the process, which a normal return would report as leaks.
    display.Close();
    EndProcess(closed && up && chord ? 0 : 1);
}
