#pragma once

#include "model/Snapper.h"
#include "tavctrls/TavCtrls.h"

#include <optional>
#include <vector>

namespace tav::builder {

// The faint dots of the snapping grid, drawn under every control of a view and never hit.
class GridLayer : public CTavObject {
public:
    static constexpr DWORD kId = 0xFFFFFF00u;
    BOOL HitTest(int, int) override { return FALSE; }
};

// Adds, moves (after a scroll) or removes the grid of `view`: shown while snapping is on.
void UpdateGrid(CTavScreen* view, const SnapSettings& snap, bool shown);

// The resize handle of `r` at point (x, y), all in one coordinate space: its Snapper::Edge bits, 0 for none.
int HandleAt(const Bounds& r, int x, int y);

// What a view draws over its controls; rectangles in the view's content coordinates.
struct Marks {
    std::vector<Bounds> selected; // the primary first
    bool handles = false;         // on the primary
    std::vector<Guide> guides;
    std::optional<Bounds> band;
};
// Draws `marks` on `surface`, whose top-left corner shows content point (originX, originY).
void DrawMarks(CTavSurface* surface, int originX, int originY, const Marks& marks);

// The smallest rectangle holding both.
Bounds United(const Bounds& a, const Bounds& b);
bool Touches(const Bounds& a, const Bounds& b);

} // namespace tav::builder
