#include "model/Arrange.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <numeric>

namespace tav {

namespace {

std::int32_t Clamped(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    const std::int64_t q = a / b;
    return q * b > a ? q - 1 : q;
}

} // namespace

std::vector<Bounds> Align(const std::vector<Bounds>& items, AlignKind kind) {
    std::vector<Bounds> result = items;
    if (items.empty())
        return result;
    const Bounds& primary = items.front();
    for (Bounds& item : result) {
        switch (kind) {
        case AlignKind::Left:
            item.x = primary.x;
            break;
        case AlignKind::Right:
            item.x = Clamped(std::int64_t{primary.x} + primary.width - item.width);
            break;
        case AlignKind::Top:
            item.y = primary.y;
            break;
        case AlignKind::Bottom:
            item.y = Clamped(std::int64_t{primary.y} + primary.height - item.height);
            break;
        case AlignKind::HorizontalCentres:
            item.x = Clamped(primary.x + FloorDiv(std::int64_t{primary.width} - item.width, 2));
            break;
        case AlignKind::VerticalCentres:
            item.y = Clamped(primary.y + FloorDiv(std::int64_t{primary.height} - item.height, 2));
            break;
        }
    }
    return result;
}

std::vector<Bounds> Distribute(const std::vector<Bounds>& items, DistributeKind kind) {
    std::vector<Bounds> result = items;
    const std::size_t count = items.size();
    if (count < 3)
        return result;
    const bool across = kind == DistributeKind::Horizontally;
    const auto start = [&](const Bounds& b) -> std::int64_t { return across ? b.x : b.y; };
    const auto length = [&](const Bounds& b) -> std::int64_t { return across ? b.width : b.height; };
    std::vector<std::size_t> order(count);
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return start(items[a]) < start(items[b]); });
    const Bounds& first = items[order.front()];
    const Bounds& last = items[order.back()];
    std::int64_t free = start(last) - (start(first) + length(first));
    for (std::size_t i = 1; i + 1 < count; ++i)
        free -= length(items[order[i]]);
    const auto gaps = static_cast<std::int64_t>(count - 1);
    std::int64_t cursor = start(first) + length(first);
    for (std::size_t i = 1; i + 1 < count; ++i) {
        const std::int64_t gap = FloorDiv(free * static_cast<std::int64_t>(i), gaps) -
                                 FloorDiv(free * static_cast<std::int64_t>(i - 1), gaps);
        Bounds& item = result[order[i]];
        (across ? item.x : item.y) = Clamped(cursor + gap);
        cursor += gap + length(item);
    }
    return result;
}

} // namespace tav
