// Opens a real window and waits for a click and a close: left button down, left button up, then
// WM_CLOSE give exit status 0; anything else within 10 seconds gives 1.
#include "tavctrls/platform/ProcessEnd.h"
#include "tavctrls/platform/SdlDisplay.h"

#include <chrono>
#include <iostream>
#include <thread>

using namespace tav::platform;

namespace {

// 0 after a click followed by a close, 1 when something else came or nothing within 10 seconds.
int WaitForClickAndClose(Display& display, const DisplaySettings& settings) {
    PixelBuffer frame;
    frame.Allocate(settings.width, settings.height);
    const std::uint64_t start = display.Counter();
    const auto elapsed = [&] { return static_cast<double>(display.Counter() - start) / display.Frequency(); };
    bool down = false, up = false;
    for (std::uint32_t shade = 0; elapsed() < 10; shade = (shade + 1) & 0xFF) {
        WindowMessage message;
        while (display.PeekMessage(message)) {
            std::cout << "message 0x" << std::hex << message.message << std::dec << " " << message.wParam
                      << " (" << PointX(message.lParam) << ", " << PointY(message.lParam) << ")" << std::endl;
            if (message.message == msg::kLButtonDown)
                down = true;
            else if (message.message == msg::kLButtonUp)
                up = down;
            else if (message.message == msg::kClose && down && up)
                return 0;
            else if (message.message == msg::kClose) {
                std::cerr << "smoke: closed before a click arrived" << std::endl;
                return 1;
            }
        }
        FillRect(frame, frame.Bounds(), shade << 8);
        display.Present(frame, true);
        std::this_thread::sleep_for(
            std::chrono::milliseconds(10)); // a virtual X server has no vertical blank
    }
    std::cerr << "smoke: no click and close within 10 seconds" << std::endl;
    return 1;
}

} // namespace

int main() {
    SdlDisplay display;
    DisplaySettings settings;
    settings.title = "smoke";
    settings.width = 320;
    settings.height = 240;
    std::string error;
    if (!display.Open(settings, &error)) {
        std::cerr << "smoke: " << error << std::endl;
        return 1;
    }
    const int status = WaitForClickAndClose(display, settings);
    // Ends as the library's shutdown does. (SDL's D-Bus connection and the GL driver keep a few
    // allocations to the end of the process, which a normal return would report as leaks.)
    display.Close();
    EndProcess(status);
}
