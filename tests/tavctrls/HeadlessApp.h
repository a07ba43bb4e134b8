#pragma once

#include "tavctrls/TavCtrls.h"
#include "tavctrls/platform/HeadlessDisplay.h"
#include "tavctrls/platform/ProcessEnd.h"

#include <gtest/gtest.h>

#include <string>

namespace tav::testing {

// Thrown by the intercepted end of the process, so that a test can run a program's loop to its end.
struct ProcessEnded {
    int status;
};

// A test with a headless display waiting for the next application, and the process end intercepted.
class HeadlessAppTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // doInit in window mode with the headless display; the display pointer is valid until shutdown.
    DWORD Init(CTavApp& app, int width = 320, int height = 240);
    // Runs the application's loop until the process would end; gives the exit status.
    int Run(CTavApp& app);
    // One frame as the loop draws it (after the pending input).
    void Frame(CTavApp& app, int count = 1);

    platform::HeadlessDisplay* display = nullptr;
    platform::ProcessEndHandler previousEnd;
};

// The art folder of the source tree ("art/NAME").
std::string ArtPath(const std::string& name);

// Pixel of a surface (0x00RRGGBB).
std::uint32_t PixelAt(CTavSurface* surface, int x, int y);

} // namespace tav::testing
