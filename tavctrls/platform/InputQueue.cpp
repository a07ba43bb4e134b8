#include "tavctrls/platform/InputQueue.h"

namespace tav::platform {

void InputQueue::PushWait(int frames) {
    if (frames > 0)
        steps_.push_back(InputStep{WindowMessage{}, frames});
}

void InputQueue::Append(const std::vector<InputStep>& steps) {
    for (const InputStep& step : steps)
        if (step.IsWait())
            PushWait(step.waitFrames);
        else
            Push(step.message);
}

bool InputQueue::Next(std::uint64_t frame, WindowMessage& message) {
    while (frame >= pauseEnd_ && !steps_.empty()) {
        const InputStep step = steps_.front();
        steps_.pop_front();
        if (!step.IsWait()) {
            message = step.message;
            return true;
        }
        pauseEnd_ = frame + static_cast<std::uint64_t>(step.waitFrames);
    }
    return false;
}

} // namespace tav::platform
