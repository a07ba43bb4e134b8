#pragma once

#include "Canvas.h"

#include <span>
#include <string_view>

namespace tav::art {

// One file of the art folder: its path under the folder ("/" between parts) and how it is drawn.
struct ArtPiece {
    std::string_view path;
    Canvas (*draw)();
};

// Every picture, in a fixed order.
std::span<const ArtPiece> ArtPieces();

} // namespace tav::art
