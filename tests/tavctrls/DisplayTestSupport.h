#pragma once

#include "tavctrls/platform/Display.h"
#include "tavctrls/platform/ProcessEnd.h"

#include <cstdint>
#include <ostream>
#include <vector>

namespace tav::platform {

// A window message as a test writes it: message, wParam and the position packed in lParam. A script's
// pause is {0, frames}.
struct Seen {
    unsigned message;
    std::uintptr_t wParam;
    int x = 0;
    int y = 0;
    bool operator==(const Seen&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const Seen& seen) {
    return out << "{0x" << std::hex << seen.message << std::dec << ", " << seen.wParam << ", " << seen.x
               << ", " << seen.y << "}";
}

inline Seen SeenOf(const WindowMessage& m) {
    return {m.message, m.wParam, PointX(m.lParam), PointY(m.lParam)};
}

// Everything PeekMessage gives now, as the library's pump takes it.
inline std::vector<Seen> Drain(Display& display) {
    std::vector<Seen> seen;
    WindowMessage message;
    while (display.PeekMessage(message))
        seen.push_back(SeenOf(message));
    return seen;
}

inline std::vector<unsigned> MessagesOf(const std::vector<Seen>& seen) {
    std::vector<unsigned> messages;
    for (const Seen& s : seen)
        messages.push_back(s.message);
    return messages;
}

struct ProcessEnded {
    int status;
};

// Turns the end of the process into an exception for the life of the object.
class EndProcessThrows {
public:
    EndProcessThrows() : previous_(SetProcessEndHandler([](int status) { throw ProcessEnded{status}; })) {}
    ~EndProcessThrows() { SetProcessEndHandler(previous_); }

private:
    ProcessEndHandler previous_;
};

} // namespace tav::platform
