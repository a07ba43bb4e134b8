#pragma once

#include "Canvas.h"

// Pictures the example projects use, at the sizes they show them.
namespace tav::art {

Canvas DrawLogo();
// Frame 1, 2 or 3 of a turning ring of dots.
Canvas DrawSpinner(int frame);
Canvas DrawLed(bool on);
Canvas DrawEditBack();
Canvas DrawHeaderBar();
Canvas DrawDivider();

} // namespace tav::art
