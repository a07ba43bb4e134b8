#include "tavctrls/platform/Lines.h"

#include "tavctrls/platform/PixelKernels.h"

#include <algorithm>

namespace tav::platform {

namespace {

// The steps i in [first, last] of a line whose positions start + direction * i lie in [low, high).
struct Span {
    std::int64_t first;
    std::int64_t last;
    bool Empty() const { return first > last; }
};

Span Inside(std::int64_t start, int direction, int low, int high) {
    if (direction > 0)
        return {low - start, high - 1 - start};
    return {start - (high - 1), start - low};
}

// Records the line's box on `dest` (the end point included, which is never drawn: a little more is fine).
void TouchLine(PixelBuffer& dest, std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2) {
    const std::int64_t left = std::max<std::int64_t>(std::min(x1, x2), 0);
    const std::int64_t top = std::max<std::int64_t>(std::min(y1, y2), 0);
    const std::int64_t right = std::min<std::int64_t>(std::max(x1, x2) + 1, dest.width());
    const std::int64_t bottom = std::min<std::int64_t>(std::max(y1, y2) + 1, dest.height());
    if (left < right && top < bottom)
        dest.Touch({static_cast<int>(left), static_cast<int>(top), static_cast<int>(right),
                    static_cast<int>(bottom)});
}

Span Intersect(Span a, Span b) {
    return {std::max(a.first, b.first), std::min(a.last, b.last)};
}

// The horizontal or vertical line drawn as a run of pixels.
void DrawStraight(PixelBuffer& dest, const PixelRect& clip, int x1, int y1, std::int64_t dx, std::int64_t dy,
                  std::uint32_t pixel) {
    const std::int64_t length = std::max(dx < 0 ? -dx : dx, dy < 0 ? -dy : dy);
    const int directionX = dx > 0 ? 1 : dx < 0 ? -1 : 0;
    const int directionY = dy > 0 ? 1 : dy < 0 ? -1 : 0;
    Span steps{0, length - 1};
    if (directionX != 0) {
        if (y1 < clip.top || y1 >= clip.bottom)
            return;
        steps = Intersect(steps, Inside(x1, directionX, clip.left, clip.right));
        if (steps.Empty())
            return;
        const std::int64_t a = x1 + directionX * steps.first, b = x1 + directionX * steps.last;
        const int left = static_cast<int>(std::min(a, b));
        ActiveKernels().fill(dest.Row(y1) + left, static_cast<int>(steps.last - steps.first + 1), pixel);
        return;
    }
    if (x1 < clip.left || x1 >= clip.right)
        return;
    steps = Intersect(steps, Inside(y1, directionY, clip.top, clip.bottom));
    for (std::int64_t i = steps.first; i <= steps.last; ++i)
        dest.Set(x1, static_cast<int>(y1 + directionY * i), pixel);
}

// Bresenham along the longer (major) axis: at step i the shorter (minor) axis has moved
// minor * i / major, rounded to the nearest position with halves rounded back toward the start.
// Every product stays below 2^64: both lengths and i are below 2^32.
class Slope {
public:
    Slope(std::uint64_t major, std::uint64_t minor) : major_(major), minor_(minor) {}

    std::int64_t At(std::int64_t i) const {
        const std::uint64_t product = minor_ * static_cast<std::uint64_t>(i);
        return static_cast<std::int64_t>(product / major_ + (2 * (product % major_) > major_));
    }

    // The first step in [first, last + 1] at which the minor offset reaches `offset`.
    std::int64_t FirstReaching(std::int64_t first, std::int64_t last, std::int64_t offset) const {
        std::int64_t low = first, high = last + 1;
        while (low < high) {
            const std::int64_t middle = low + (high - low) / 2;
            if (At(middle) >= offset)
                high = middle;
            else
                low = middle + 1;
        }
        return low;
    }

private:
    std::uint64_t major_;
    std::uint64_t minor_;
};

// The pixels of the line inside `clip` (a rectangle inside the buffer).
void DrawLineIn(PixelBuffer& dest, const PixelRect& clip, int x1, int y1, int x2, int y2,
                std::uint32_t pixel) {
    const std::int64_t dx = std::int64_t{x2} - x1, dy = std::int64_t{y2} - y1;
    if (dx == 0 || dy == 0) {
        DrawStraight(dest, clip, x1, y1, dx, dy, pixel);
        return;
    }
    const std::int64_t lengthX = dx < 0 ? -dx : dx, lengthY = dy < 0 ? -dy : dy;
    const bool alongX = lengthX >= lengthY;
    const std::int64_t major = alongX ? lengthX : lengthY, minor = alongX ? lengthY : lengthX;
    const int majorStart = alongX ? x1 : y1, minorStart = alongX ? y1 : x1;
    const int majorDirection = (alongX ? dx : dy) > 0 ? 1 : -1;
    const int minorDirection = (alongX ? dy : dx) > 0 ? 1 : -1;
    const int majorLow = alongX ? clip.left : clip.top, majorHigh = alongX ? clip.right : clip.bottom;
    const int minorLow = alongX ? clip.top : clip.left, minorHigh = alongX ? clip.bottom : clip.right;

    // Clip: the steps inside along the major axis, narrowed to those whose minor offset is inside.
    Span steps = Intersect({0, major - 1}, Inside(majorStart, majorDirection, majorLow, majorHigh));
    const Span offsets = Inside(minorStart, minorDirection, minorLow, minorHigh);
    if (steps.Empty() || offsets.Empty())
        return;
    const Slope slope(static_cast<std::uint64_t>(major), static_cast<std::uint64_t>(minor));
    steps.first = slope.FirstReaching(steps.first, steps.last, offsets.first);
    steps.last = slope.FirstReaching(steps.first, steps.last, offsets.last + 1) - 1;

    // Walk the steps inside with the remainder kept incrementally.
    const std::uint64_t product = static_cast<std::uint64_t>(minor) * static_cast<std::uint64_t>(steps.first);
    std::int64_t whole = static_cast<std::int64_t>(product / static_cast<std::uint64_t>(major));
    std::int64_t rest = static_cast<std::int64_t>(product % static_cast<std::uint64_t>(major));
    for (std::int64_t i = steps.first; i <= steps.last; ++i) {
        const std::int64_t offset = whole + (2 * rest > major);
        const int a = static_cast<int>(majorStart + majorDirection * i);
        const int b = static_cast<int>(minorStart + minorDirection * offset);
        if (alongX)
            dest.Set(a, b, pixel);
        else
            dest.Set(b, a, pixel);
        rest += minor;
        if (rest >= major) {
            rest -= major;
            ++whole;
        }
    }
}

} // namespace

void DrawLine(PixelBuffer& dest, int x1, int y1, int x2, int y2, std::uint32_t pixel) {
    if (dest.Empty() || (x1 == x2 && y1 == y2))
        return;
    TouchLine(dest, x1, y1, x2, y2);
    dest.ForEachClipped(dest.Bounds(),
                        [&](const PixelRect& clip) { DrawLineIn(dest, clip, x1, y1, x2, y2, pixel); });
}

} // namespace tav::platform
