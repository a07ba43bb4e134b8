#pragma once

#include <cstdint>
#include <string_view>

namespace tav::platform {

// The virtual-key code of an SDL key code (SDL_Keycode), 0 for keys without one.
unsigned VirtualKeyFromSdl(std::int32_t sdlKey);

// The virtual-key code of a key name as input scripts write it ("RETURN", "PRIOR", "F5", "A", "7"),
// in any case and with or without "VK_"; 0 for an unknown name.
unsigned VirtualKeyFromName(std::string_view name);

// The modifier key of a name in a chord or a hold: SHIFT, CONTROL (CTRL) or ALT (MENU), in any case;
// 0 for another name.
unsigned ModifierKeyFromName(std::string_view name);

// The character a press of the key also delivers (Back 8, Tab 9, Return 13, Escape 27), 0 for none:
// keyboard text covers printable characters only.
unsigned ControlCharacterOfKey(unsigned virtualKey);

} // namespace tav::platform
