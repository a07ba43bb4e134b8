#pragma once

#include "model/Bounds.h"

#include <vector>

namespace tav {

enum class AlignKind { Left, Right, Top, Bottom, HorizontalCentres, VerticalCentres };
enum class DistributeKind { Horizontally, Vertically };

// New bounds for `items` (the first is the primary selected object, which stays where it is): the
// others take its left edge, right edge, ... or centre. Sizes never change.
std::vector<Bounds> Align(const std::vector<Bounds>& items, AlignKind kind);

// New bounds for `items`: the outermost two stay, the others are placed between them in the order of
// their positions so that the gaps between neighbours are equal (within a pixel). Fewer than three
// items stay as they are.
std::vector<Bounds> Distribute(const std::vector<Bounds>& items, DistributeKind kind);

} // namespace tav
