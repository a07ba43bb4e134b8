#include "tavctrls/platform/Lines.h"

#include "tavctrls/platform/PixelKernels.h"

#include <algorithm>

namespace tav::platform {

namespace {

// The steps i in [first, last] of a line whose positions start + direction * i lie in [0, size).
struct Span {
    std::int64_t first;
    std::int64_t last;
    bool Empty() const { return first > last; }
};

Span Inside(std::int64_t start, int direction, int size) {
    if (direction > 0)
        return {-start, size - 1 - start};
    return {start - (size - 1), start};
}

Span Intersect(Span a, Span b) {
    return {std::max(a.first, b.first), std::min(a.last, b.last)};
}

// The horizontal or vertical line drawn as a run of pixels.
void DrawStraight(PixelBuffer& dest, int x1, int y1, std::int64_t dx, std::int64_t dy, std::uint32_t pixel) {
    const std::int64_t length = std::max(dx < 0 ? -dx : dx, dy < 0 ? -dy : dy);
    const int directionX = dx > 0 ? 1 : dx < 0 ? -1 : 0;
    const int directionY = dy > 0 ? 1 : dy < 0 ? -1 : 0;
    Span steps{0, length - 1};
    if (directionX != 0) {
        if (y1 < 0 || y1 >= dest.height())
            return;
        steps = Intersect(steps, Inside(x1, directionX, dest.width()));
        if (steps.Empty())
            return;
        const std::int64_t a = x1 + directionX * steps.first, b = x1 + directionX * steps.last;
        const int left = static_cast<int>(std::min(a, b));
        ActiveKernels().fill(dest.Row(y1) + left, static_cast<int>(steps.last - steps.first + 1), pixel);
        return;
    }
    if (x1 < 0 || x1 >= dest.width())
        return;
    steps = Intersect(steps, Inside(y1, directionY, dest.height()));
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

} // namespace

void DrawLine(PixelBuffer& dest, int x1, int y1, int x2, int y2, std::uint32_t pixel) {
    const std::int64_t dx = std::int64_t{x2} - x1, dy = std::int64_t{y2} - y1;
    if (dest.Empty() || (dx == 0 && dy == 0))
        return;
    if (dx == 0 || dy == 0) {
        DrawStraight(dest, x1, y1, dx, dy, pixel);
        return;
    }
    const std::int64_t lengthX = dx < 0 ? -dx : dx, lengthY = dy < 0 ? -dy : dy;
    const bool alongX = lengthX >= lengthY;
    const std::int64_t major = alongX ? lengthX : lengthY, minor = alongX ? lengthY : lengthX;
    const int majorStart = alongX ? x1 : y1, minorStart = alongX ? y1 : x1;
    const int majorDirection = (alongX ? dx : dy) > 0 ? 1 : -1;
    const int minorDirection = (alongX ? dy : dx) > 0 ? 1 : -1;
    const int majorSize = alongX ? dest.width() : dest.height();
    const int minorSize = alongX ? dest.height() : dest.width();

    // Clip: the steps inside along the major axis, narrowed to those whose minor offset is inside.
    Span steps = Intersect({0, major - 1}, Inside(majorStart, majorDirection, majorSize));
    const Span offsets = Inside(minorStart, minorDirection, minorSize);
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

} // namespace tav::platform
