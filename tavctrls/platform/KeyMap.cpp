#include "tavctrls/platform/KeyMap.h"

#include "tavctrls/platform/Messages.h"

#include <SDL.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <string>

namespace tav::platform {
namespace {

struct NamedKey {
    std::string_view name;
    unsigned key;
};

constexpr std::array kNamedKeys{
    NamedKey{"BACK", vk::kBack},         NamedKey{"BACKSPACE", vk::kBack},
    NamedKey{"TAB", vk::kTab},           NamedKey{"RETURN", vk::kReturn},
    NamedKey{"ENTER", vk::kReturn},      NamedKey{"SHIFT", vk::kShift},
    NamedKey{"CONTROL", vk::kControl},   NamedKey{"MENU", vk::kMenu},
    NamedKey{"ALT", vk::kMenu},          NamedKey{"CTRL", vk::kControl},
    NamedKey{"PAUSE", vk::kPause},       NamedKey{"CAPITAL", vk::kCapital},
    NamedKey{"ESCAPE", vk::kEscape},     NamedKey{"SPACE", vk::kSpace},
    NamedKey{"PRIOR", vk::kPrior},       NamedKey{"NEXT", vk::kNext},
    NamedKey{"END", vk::kEnd},           NamedKey{"HOME", vk::kHome},
    NamedKey{"LEFT", vk::kLeft},         NamedKey{"UP", vk::kUp},
    NamedKey{"RIGHT", vk::kRight},       NamedKey{"DOWN", vk::kDown},
    NamedKey{"INSERT", vk::kInsert},     NamedKey{"DELETE", vk::kDelete},
    NamedKey{"MULTIPLY", vk::kMultiply}, NamedKey{"ADD", vk::kAdd},
    NamedKey{"SUBTRACT", vk::kSubtract}, NamedKey{"DECIMAL", vk::kDecimal},
    NamedKey{"DIVIDE", vk::kDivide},
};

// "F1" .. "F24" and "NUMPAD0" .. "NUMPAD9": a prefix and a number in a range.
unsigned NumberedKey(std::string_view name, std::string_view prefix, int first, int last, unsigned base) {
    if (!name.starts_with(prefix) || name.size() == prefix.size() || name.size() > prefix.size() + 2)
        return 0;
    int number = 0;
    for (const char c : name.substr(prefix.size())) {
        if (c < '0' || c > '9')
            return 0;
        number = number * 10 + (c - '0');
    }
    if (number < first || number > last || (name[prefix.size()] == '0' && name.size() > prefix.size() + 1))
        return 0;
    return base + static_cast<unsigned>(number - first);
}

unsigned KeypadKey(SDL_Keycode key) {
    switch (key) {
    case SDLK_KP_0:
        return vk::kNumpad0;
    case SDLK_KP_1:
    case SDLK_KP_2:
    case SDLK_KP_3:
    case SDLK_KP_4:
    case SDLK_KP_5:
    case SDLK_KP_6:
    case SDLK_KP_7:
    case SDLK_KP_8:
    case SDLK_KP_9:
        return vk::kNumpad0 + 1 + static_cast<unsigned>(key - SDLK_KP_1);
    case SDLK_KP_MULTIPLY:
        return vk::kMultiply;
    case SDLK_KP_PLUS:
        return vk::kAdd;
    case SDLK_KP_MINUS:
        return vk::kSubtract;
    case SDLK_KP_PERIOD:
        return vk::kDecimal;
    case SDLK_KP_DIVIDE:
        return vk::kDivide;
    case SDLK_KP_ENTER:
        return vk::kReturn;
    default:
        return 0;
    }
}

unsigned EditingKey(SDL_Keycode key) {
    switch (key) {
    case SDLK_BACKSPACE:
        return vk::kBack;
    case SDLK_TAB:
        return vk::kTab;
    case SDLK_RETURN:
        return vk::kReturn;
    case SDLK_ESCAPE:
        return vk::kEscape;
    case SDLK_SPACE:
        return vk::kSpace;
    case SDLK_PAGEUP:
        return vk::kPrior;
    case SDLK_PAGEDOWN:
        return vk::kNext;
    case SDLK_END:
        return vk::kEnd;
    case SDLK_HOME:
        return vk::kHome;
    case SDLK_LEFT:
        return vk::kLeft;
    case SDLK_UP:
        return vk::kUp;
    case SDLK_RIGHT:
        return vk::kRight;
    case SDLK_DOWN:
        return vk::kDown;
    case SDLK_INSERT:
        return vk::kInsert;
    case SDLK_DELETE:
        return vk::kDelete;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT:
        return vk::kShift;
    case SDLK_LCTRL:
    case SDLK_RCTRL:
        return vk::kControl;
    case SDLK_LALT:
    case SDLK_RALT:
        return vk::kMenu;
    case SDLK_PAUSE:
        return vk::kPause;
    case SDLK_CAPSLOCK:
        return vk::kCapital;
    default:
        return 0;
    }
}

} // namespace

unsigned VirtualKeyFromSdl(std::int32_t sdlKey) {
    const auto key = static_cast<SDL_Keycode>(sdlKey);
    if (key >= SDLK_a && key <= SDLK_z)
        return 'A' + static_cast<unsigned>(key - SDLK_a);
    if (key >= SDLK_0 && key <= SDLK_9)
        return '0' + static_cast<unsigned>(key - SDLK_0);
    if (key >= SDLK_F1 && key <= SDLK_F12)
        return vk::kF1 + static_cast<unsigned>(key - SDLK_F1);
    if (const unsigned keypad = KeypadKey(key))
        return keypad;
    return EditingKey(key);
}

unsigned VirtualKeyFromName(std::string_view name) {
    std::string upper(name);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    std::string_view key = upper;
    if (key.starts_with("VK_"))
        key.remove_prefix(3);
    if (key.size() == 1 && ((key[0] >= 'A' && key[0] <= 'Z') || (key[0] >= '0' && key[0] <= '9')))
        return static_cast<unsigned char>(key[0]);
    for (const NamedKey& named : kNamedKeys)
        if (named.name == key)
            return named.key;
    if (const unsigned function = NumberedKey(key, "F", 1, 12, vk::kF1))
        return function;
    return NumberedKey(key, "NUMPAD", 0, 9, vk::kNumpad0);
}

unsigned ModifierKeyFromName(std::string_view name) {
    const unsigned key = VirtualKeyFromName(name);
    return key == vk::kShift || key == vk::kControl || key == vk::kMenu ? key : 0;
}

unsigned ControlCharacterOfKey(unsigned virtualKey) {
    switch (virtualKey) {
    case vk::kBack:
    case vk::kTab:
    case vk::kReturn:
    case vk::kEscape:
        return virtualKey; // these virtual-key codes equal their characters
    default:
        return 0;
    }
}

} // namespace tav::platform
