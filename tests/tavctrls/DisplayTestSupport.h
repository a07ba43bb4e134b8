#pragma once

#include "tavctrls/platform/Display.h"
#include "tavctrls/platform/InputScript.h"
#include "tavctrls/platform/PixelBuffer.h"
#include "tavctrls/platform/ProcessEnd.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>

namespace tav::platform {

// A message written short: its name and wParam (decimal), and for mouse messages the position.
inline std::string Describe(const WindowMessage& m) {
    static const std::map<unsigned, std::string> names = {
        {msg::kDestroy, "destroy"},   {msg::kClose, "close"},   {msg::kActivateApp, "activate"},
        {msg::kKeyDown, "key"},       {msg::kChar, "char"},     {msg::kMouseMove, "move"},
        {msg::kLButtonDown, "ldown"}, {msg::kLButtonUp, "lup"}, {msg::kLButtonDblClk, "ldbl"},
        {msg::kRButtonDown, "rdown"}, {msg::kRButtonUp, "rup"}};
    std::string text = names.at(m.message) + " " + std::to_string(m.wParam);
    if (m.message >= msg::kMouseMove)
        text += " " + std::to_string(PointX(m.lParam)) + "," + std::to_string(PointY(m.lParam));
    return text;
}

inline std::string Describe(const InputStep& step) {
    return step.IsWait() ? "wait " + std::to_string(step.waitFrames) : Describe(step.message);
}

template <typename Range>
std::string Describe(const Range& messages) {
    std::string text;
    for (const auto& m : messages)
        text += (text.empty() ? "" : "; ") + Describe(m);
    return text;
}

// Everything PeekMessage gives now, as the library's pump takes it.
inline std::string Drain(Display& display) {
    std::string text;
    WindowMessage message;
    while (display.PeekMessage(message))
        text += (text.empty() ? "" : "; ") + Describe(message);
    return text;
}

// A frame of one colour but for its top left pixel.
inline PixelBuffer Frame(int width, int height, std::uint32_t pixel) {
    PixelBuffer frame;
    EXPECT_TRUE(frame.Allocate(width, height));
    FillRect(frame, frame.Bounds(), pixel);
    frame.Set(0, 0, 0x123456);
    return frame;
}

inline ::testing::AssertionResult SamePixels(const PixelBuffer& expected, const PixelBuffer& actual) {
    if (expected.width() != actual.width() || expected.height() != actual.height())
        return ::testing::AssertionFailure() << "sizes differ";
    for (int y = 0; y < expected.height(); ++y)
        for (int x = 0; x < expected.width(); ++x)
            if (expected.At(x, y) != actual.At(x, y))
                return ::testing::AssertionFailure()
                       << "differs at " << x << "," << y << ": expected " << std::hex << expected.At(x, y)
                       << ", got " << actual.At(x, y);
    return ::testing::AssertionSuccess();
}

struct ProcessEnded {
    int status;
};

// Runs `body` with the end of the process turned into an exception: the status it ended with (-1 when
// it did not end) and what it wrote to stderr.
inline std::pair<int, std::string> EndStatusOf(const std::function<void()>& body) {
    const ProcessEndHandler previous = SetProcessEndHandler([](int status) { throw ProcessEnded{status}; });
    ::testing::internal::CaptureStderr();
    int status = -1;
    try {
        body();
    } catch (const ProcessEnded& ended) {
        status = ended.status;
    }
    SetProcessEndHandler(previous);
    return {status, ::testing::internal::GetCapturedStderr()};
}

} // namespace tav::platform
