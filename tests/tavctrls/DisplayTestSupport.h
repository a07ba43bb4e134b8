#pragma once

#include "tavctrls/platform/Display.h"
#include "tavctrls/platform/InputScript.h"
#include "tavctrls/platform/ProcessEnd.h"

#include <map>
#include <string>

namespace tav::platform {

// A message written short: its name and wParam (decimal), and for mouse messages the position.
inline std::string Describe(const WindowMessage& m) {
    static const std::map<unsigned, std::string> names = {
        {msg::kDestroy, "destroy"},   {msg::kClose, "close"},   {msg::kActivateApp, "activate"},
        {msg::kKeyDown, "key"},       {msg::kChar, "char"},     {msg::kMouseMove, "move"},
        {msg::kLButtonDown, "ldown"}, {msg::kLButtonUp, "lup"}, {msg::kLButtonDblClk, "ldbl"},
        {msg::kRButtonDown, "rdown"}, {msg::kRButtonUp, "rup"}};
    std::string text = names.at(m.message) + " " + std::to_string(m.wParam);
    if (m.message >= msg::kMouseMove)
        text += " " + std::to_string(PointX(m.lParam)) + "," + std::to_string(PointY(m.lParam));
    return text;
}

inline std::string Describe(const InputStep& step) {
    return step.IsWait() ? "wait " + std::to_string(step.waitFrames) : Describe(step.message);
}

template <typename Range>
std::string Describe(const Range& messages) {
    std::string text;
    for (const auto& m : messages)
        text += (text.empty() ? "" : "; ") + Describe(m);
    return text;
}

// Everything PeekMessage gives now, as the library's pump takes it.
inline std::string Drain(Display& display) {
    std::string text;
    WindowMessage message;
    while (display.PeekMessage(message))
        text += (text.empty() ? "" : "; ") + Describe(message);
    return text;
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
