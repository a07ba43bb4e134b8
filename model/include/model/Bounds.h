#pragma once

#include <cstdint>

namespace tav {

struct ObjectDef;

// A rectangle in screen coordinates: an object's position and size.
struct Bounds {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    bool operator==(const Bounds&) const = default;
};

Bounds BoundsOf(const ObjectDef& object);

} // namespace tav
