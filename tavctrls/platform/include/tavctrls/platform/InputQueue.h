#pragma once

#include "tavctrls/platform/InputScript.h"

#include <cstdint>
#include <deque>
#include <vector>

namespace tav::platform {

// Input waiting to be delivered, in order, with pauses counted in frames. The caller counts the
// frames and passes the current count in.
class InputQueue {
public:
    void Push(const WindowMessage& message) { steps_.push_back(InputStep{message, 0}); }
    void PushWait(int frames);
    void Append(const std::vector<InputStep>& steps);

    // Takes the next message when one is due at `frame`; false while a pause runs or nothing is left.
    bool Next(std::uint64_t frame, WindowMessage& message);
    // True while there are steps left or a pause still runs at `frame`.
    bool Pending(std::uint64_t frame) const { return !steps_.empty() || frame < pauseEnd_; }

private:
    std::deque<InputStep> steps_;
    std::uint64_t pauseEnd_ = 0; // the frame count at which the running pause ends
};

} // namespace tav::platform
