#pragma once

#include "model/Bounds.h"

#include <cstdint>
#include <vector>

namespace tav {

struct SnapSettings {
    bool enabled = true;
    int grid = 10;     // pixels between grid lines; below 2: no grid
    int threshold = 5; // how near, in pixels, a line pulls an edge
};

// A line drawn while a snap holds: x = position from y = from to y = to when vertical, else
// y = position from x = from to x = to.
struct Guide {
    bool vertical = true;
    int position = 0;
    int from = 0;
    int to = 0;
    bool operator==(const Guide&) const = default;
};

struct Snap {
    int dx = 0; // to add to the moving rectangle (or to the moving edges)
    int dy = 0;
    std::vector<Guide> guides; // one per axis that snapped to an object or the screen (not the grid)
};

// Snapping for one drag: built once from the other objects and the screen, asked at every move. On
// each axis the nearest line within the threshold wins: edges and centres of the other objects and of
// the screen before grid lines at equal distance. Asking costs O(log n).
class Snapper {
public:
    enum Edge : int { Left = 1, Top = 2, Right = 4, Bottom = 8 };

    Snapper(const std::vector<Bounds>& others, Bounds screen, SnapSettings settings);
    // A rectangle being moved: its left, centre and right (top, middle, bottom) may snap.
    Snap Move(const Bounds& moving) const;
    // A rectangle being resized by the `edges` given: only those edges snap.
    Snap Resize(const Bounds& resizing, int edges) const;

    struct Line {
        std::int64_t position;
        int item; // index into the other objects; -1: the screen
    };
    struct Pull; // the line that wins on one axis

private:
    Snap Finish(const Bounds& before, const Pull& x, const Pull& y, int edges) const;

    SnapSettings m_settings;
    std::vector<Line> m_xLines; // sorted by position
    std::vector<Line> m_yLines;
    std::vector<Bounds> m_others;
    Bounds m_screen;
};

} // namespace tav
