#pragma once

#include "model/ModelTypes.h"

#include <cstdint>
#include <string>

namespace tav {

// One screen of a project. Plain data; the project owns it.
struct ScreenDef {
    std::string name = "MyScreen";
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 100;
    std::int32_t height = 100;
    std::string parent;
    ScreenType type = ScreenType::FullScreen;
    std::string background;
    BackgroundMode backgroundMode = BackgroundMode::Center;
    Flag startup = 0;

    bool operator==(const ScreenDef&) const = default;
};

} // namespace tav
