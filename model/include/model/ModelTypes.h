#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tav {

// Stored as unsigned 32-bit numbers; a project file may hold values outside the named ones.
enum class AppMode : std::uint32_t { FullScreen = 0, Window = 1 };
enum class ScreenType : std::uint32_t { FullScreen = 0, Popup = 1, SubScreen = 2 };
enum class BackgroundMode : std::uint32_t { Center = 0, Stretch = 1, Tile = 2 };
enum class ObjectKind : std::uint32_t {
    Button = 0,
    Static = 1,
    Edit = 2,
    CheckBox = 3,
    ListBox = 4,
    Tree = 5,
    Animation = 6,
    Object = 7,
};

// What a button does when clicked, stored in the object's reserved number: 0, the value of every
// project without the choice, opens its click screen (if it names one).
enum class ClickAction : std::int32_t { OpenScreen = 0, ClosePopup = 1, Quit = 2 };

// A boolean stored as a 32-bit integer; only 1 counts as true where a rule tests it.
using Flag = std::int32_t;

struct RgbTriple {
    std::int32_t red = 0;
    std::int32_t green = 0;
    std::int32_t blue = 0;

    // Only the upper bound is checked; negative components pass.
    bool AnyAbove255() const { return red > 255 || green > 255 || blue > 255; }
    bool operator==(const RgbTriple&) const = default;
};

using FrameList = std::vector<std::string>;

// How a stored value is shown: unknown screen types count as sub screens, unknown modes as tiled.
inline ScreenType ShownScreenType(ScreenType type) {
    return type == ScreenType::FullScreen || type == ScreenType::Popup ? type : ScreenType::SubScreen;
}
inline BackgroundMode ShownBackgroundMode(BackgroundMode mode) {
    return mode == BackgroundMode::Center || mode == BackgroundMode::Stretch ? mode : BackgroundMode::Tile;
}

} // namespace tav
