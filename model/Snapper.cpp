#include "model/Snapper.h"

#include <algorithm>
#include <cstdlib>

namespace tav {

struct Snapper::Pull {
    bool found = false;
    bool grid = false;
    std::int64_t delta = 0;
    std::int64_t position = 0;
};

namespace {

// The edges of the moving rectangle on one axis that may snap, and whether grid lines pull each.
struct Edges {
    std::int64_t at[3] = {};
    bool grid[3] = {};
    int count = 0;
    void Add(std::int64_t position, bool byGrid) {
        at[count] = position;
        grid[count++] = byGrid;
    }
};

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    const std::int64_t q = a / b;
    return q * b > a ? q - 1 : q;
}

void AddLines(std::vector<Snapper::Line>& lines, std::int64_t start, std::int64_t length, int item) {
    lines.push_back({start, item});
    lines.push_back({start + length / 2, item});
    lines.push_back({start + length, item});
}

bool Before(const Snapper::Line& line, std::int64_t position) {
    return line.position < position;
}

// Keeps `best` unless `line` is strictly nearer to `edge` and within the threshold.
void Consider(Snapper::Pull& best, std::int64_t line, std::int64_t edge, int threshold, bool grid) {
    const std::int64_t delta = line - edge;
    if (std::llabs(delta) <= threshold && (!best.found || std::llabs(delta) < std::llabs(best.delta)))
        best = {true, grid, delta, line};
}

Snapper::Pull Nearest(const std::vector<Snapper::Line>& lines, const Edges& edges,
                      const SnapSettings& settings) {
    Snapper::Pull best;
    for (int i = 0; i < edges.count; ++i) {
        const auto next = std::lower_bound(lines.begin(), lines.end(), edges.at[i], Before);
        if (next != lines.end())
            Consider(best, next->position, edges.at[i], settings.threshold, false);
        if (next != lines.begin())
            Consider(best, std::prev(next)->position, edges.at[i], settings.threshold, false);
    }
    if (settings.grid >= 2)
        for (int i = 0; i < edges.count; ++i)
            if (edges.grid[i])
                Consider(best, FloorDiv(edges.at[i] + settings.grid / 2, settings.grid) * settings.grid,
                         edges.at[i], settings.threshold, true);
    return best;
}

// The guide along `position`, spanning the snapped span [from, to) and the nearest item on that line.
Guide GuideTo(const std::vector<Snapper::Line>& lines, std::int64_t position, bool vertical,
              std::int64_t from, std::int64_t to, const std::vector<Bounds>& others, const Bounds& screen) {
    std::int64_t bestFrom = from, bestTo = to, bestGap = -1;
    for (auto line = std::lower_bound(lines.begin(), lines.end(), position, Before);
         line != lines.end() && line->position == position; ++line) {
        const Bounds& item = line->item < 0 ? screen : others[static_cast<std::size_t>(line->item)];
        const std::int64_t start = vertical ? item.y : item.x;
        const std::int64_t end = start + (vertical ? item.height : item.width);
        const std::int64_t gap = std::max<std::int64_t>({0, start - to, from - end});
        if (bestGap < 0 || gap < bestGap) {
            bestGap = gap;
            bestFrom = std::min(from, start);
            bestTo = std::max(to, end);
        }
    }
    return {vertical, static_cast<int>(position), static_cast<int>(bestFrom), static_cast<int>(bestTo)};
}

} // namespace

Snapper::Snapper(const std::vector<Bounds>& others, Bounds screen, SnapSettings settings)
    : m_settings(settings), m_others(others), m_screen(screen) {
    m_xLines.reserve(3 * (others.size() + 1));
    m_yLines.reserve(3 * (others.size() + 1));
    for (std::size_t i = 0; i < others.size(); ++i) {
        AddLines(m_xLines, others[i].x, others[i].width, static_cast<int>(i));
        AddLines(m_yLines, others[i].y, others[i].height, static_cast<int>(i));
    }
    AddLines(m_xLines, screen.x, screen.width, -1);
    AddLines(m_yLines, screen.y, screen.height, -1);
    const auto byPosition = [](const Line& a, const Line& b) { return a.position < b.position; };
    std::stable_sort(m_xLines.begin(), m_xLines.end(), byPosition);
    std::stable_sort(m_yLines.begin(), m_yLines.end(), byPosition);
}

Snap Snapper::Move(const Bounds& moving) const {
    return Resize(moving, Left | Top | Right | Bottom);
}

Snap Snapper::Resize(const Bounds& resizing, int edges) const {
    if (!m_settings.enabled)
        return {};
    const bool moving = edges == (Left | Top | Right | Bottom);
    Edges x, y;
    if (edges & Left)
        x.Add(resizing.x, true);
    if (moving)
        x.Add(resizing.x + std::int64_t{resizing.width} / 2, false);
    if (edges & Right)
        x.Add(resizing.x + std::int64_t{resizing.width}, !moving);
    if (edges & Top)
        y.Add(resizing.y, true);
    if (moving)
        y.Add(resizing.y + std::int64_t{resizing.height} / 2, false);
    if (edges & Bottom)
        y.Add(resizing.y + std::int64_t{resizing.height}, !moving);
    return Finish(resizing, Nearest(m_xLines, x, m_settings), Nearest(m_yLines, y, m_settings), edges);
}

Snap Snapper::Finish(const Bounds& before, const Pull& x, const Pull& y, int edges) const {
    Snap snap;
    snap.dx = static_cast<int>(x.delta);
    snap.dy = static_cast<int>(y.delta);
    std::int64_t left = before.x, right = left + before.width, top = before.y, bottom = top + before.height;
    left += edges & Left ? x.delta : 0;
    right += edges & Right ? x.delta : 0;
    top += edges & Top ? y.delta : 0;
    bottom += edges & Bottom ? y.delta : 0;
    if (x.found && !x.grid)
        snap.guides.push_back(GuideTo(m_xLines, x.position, true, top, bottom, m_others, m_screen));
    if (y.found && !y.grid)
        snap.guides.push_back(GuideTo(m_yLines, y.position, false, left, right, m_others, m_screen));
    return snap;
}

} // namespace tav
