#pragma once

#include "tavctrls/platform/PixelBuffer.h"

#include <span>

// The designer's icon for the desktop: a design surface holding a button, a check box and a selected
// picture.
namespace tav::art {

// The sides the icon theme gets a picture for, smallest first.
std::span<const int> AppIconSizes();

// The icon at `size` x `size`, smoothed, its corners clear: each pixel's high byte is its opacity.
platform::PixelBuffer DrawAppIcon(int size);

} // namespace tav::art
