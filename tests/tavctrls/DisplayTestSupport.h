#pragma once

#include "tavctrls/platform/PixelBuffer.h"

#include <gtest/gtest.h>

namespace tav::platform {

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

} // namespace tav::platform
