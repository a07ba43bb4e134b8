// Must not compile: the designer cannot reach the platform layer.
#include "tavctrls/platform/PixelBuffer.h"
