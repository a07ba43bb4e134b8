#include "tavctrls/platform/HeadlessDisplay.h"

#include "tavctrls/platform/BitmapFile.h"
#include "tavctrls/platform/ProcessEnd.h"

#include <algorithm>
#include <cmath>
#include <iostream>

namespace tav::platform {

HeadlessDisplay::HeadlessDisplay() = default;

bool HeadlessDisplay::Open(const DisplaySettings& settings, std::string* error) {
    if (settings.width < 1 || settings.height < 1) {
        if (error != nullptr)
            *error = "the display needs a size of at least 1 x 1";
        return false;
    }
    settings_ = settings;
    return true;
}

bool HeadlessDisplay::PeekMessage(WindowMessage& message) {
    if (NextInput(message)) {
        inputEndedAt_.reset();
        modifiers_ = ModifiersAfter(modifiers_, message);
        return true;
    }
    if (queue_.Pending(frames_))
        return false; // a pause runs
    return AfterInput(message);
}

bool HeadlessDisplay::NextInput(WindowMessage& message) {
    if (queue_.Next(frames_, message))
        return true;
    if (!idle_ || inIdleHandler_ || queue_.Pending(frames_))
        return false;
    // A copy runs, so that the handler may replace or remove itself.
    const IdleHandler handler = idle_;
    inIdleHandler_ = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{inIdleHandler_};
    handler(*this);
    return queue_.Next(frames_, message);
}

// The input has run out: bound the wait.
bool HeadlessDisplay::AfterInput(WindowMessage& message) {
    if (!inputEndedAt_)
        inputEndedAt_ = frames_;
    const std::uint64_t waited = frames_ - *inputEndedAt_;
    const auto limit = static_cast<std::uint64_t>(waitLimit_);
    if (modalDepth_ > 0) {
        if (waited >= limit)
            Fail("a modal loop waited " + std::to_string(waited) + " frames for input that never came");
        return false;
    }
    if (!closeWhenInputEnds_)
        return false;
    if (!closeSent_ && waited >= 1) {
        closeSent_ = true;
        inputEndedAt_ = frames_;
        message = WindowMessage{msg::kClose, 0, 0};
        return true;
    }
    if (closeSent_ && !destroySent_ && waited >= limit) {
        destroySent_ = true;
        inputEndedAt_ = frames_;
        message = WindowMessage{msg::kDestroy, 0, 0};
        return true;
    }
    if (destroySent_ && waited >= limit)
        Fail("the program still ran " + std::to_string(waited) + " frames after WM_DESTROY");
    return false;
}

void HeadlessDisplay::WaitMessage() {
    ++frames_;
}

void HeadlessDisplay::Present(const PixelBuffer& frame, const DirtyRegion& changed,
                              bool /*waitVerticalBlank*/) {
    if (frame.Empty()) {
        lastFrame_.Reset();
    } else if (lastFrame_.width() == frame.width() && lastFrame_.height() == frame.height()) {
        CopyRegion(lastFrame_, frame, changed);
    } else if (lastFrame_.Allocate(frame.width(), frame.height())) {
        CopyRect(lastFrame_, 0, 0, frame, frame.Bounds());
    }
    ++framesPresented_;
    ++frames_;
    AdvanceClock(frameTime_);
}

void HeadlessDisplay::AdvanceClock(double seconds) {
    elapsedSeconds_ += std::max(0.0, seconds);
    counter_ = static_cast<std::uint64_t>(std::llround(elapsedSeconds_ * static_cast<double>(kFrequency)));
}

void HeadlessDisplay::EnterModalLoop() {
    ++modalDepth_;
    inputEndedAt_.reset();
}

void HeadlessDisplay::LeaveModalLoop() {
    modalDepth_ = std::max(0, modalDepth_ - 1);
    inputEndedAt_.reset();
}

void HeadlessDisplay::ShowMessageBox(const std::string& title, const std::string& text) {
    messagesShown_.push_back({title, text});
    std::cerr << title << ": " << text << std::endl;
}

void HeadlessDisplay::KeyDown(unsigned virtualKey, unsigned modifiers) {
    Queue(&InputBuilder::KeyDown, virtualKey, modifiers);
}
void HeadlessDisplay::Char(unsigned char byte) {
    Queue(&InputBuilder::Char, byte);
}
void HeadlessDisplay::Text(const std::string& utf8) {
    Queue<std::string_view>(&InputBuilder::Text, utf8);
}
void HeadlessDisplay::Activate(bool active) {
    Queue(&InputBuilder::Activate, active);
}
void HeadlessDisplay::CloseWindow() {
    Queue(&InputBuilder::Close);
}
void HeadlessDisplay::DestroyWindow() {
    Queue(&InputBuilder::Destroy);
}
void HeadlessDisplay::Wait(int frames) {
    Queue(&InputBuilder::Wait, frames);
}
void HeadlessDisplay::Post(const WindowMessage& message) {
    queue_.Push(message);
}

void HeadlessDisplay::SetWaitLimit(int frames) {
    waitLimit_ = std::max(1, frames);
}

void HeadlessDisplay::SetFrameTime(double seconds) {
    frameTime_ = std::max(0.0, seconds);
}

void HeadlessDisplay::SetShiftDown(bool down) {
    modifiers_ = down ? modifiers_ | mod::kLShift : modifiers_ & ~mod::kShift;
    input_.SetShiftDown(down);
}

bool HeadlessDisplay::SetClipboardText(const std::string& text) {
    clipboard_ = text;
    return true;
}

bool HeadlessDisplay::SaveLastFrame(const std::string& path, std::string* error) const {
    if (lastFrame_.Empty()) {
        if (error != nullptr)
            *error = "no frame has been presented";
        return false;
    }
    return SaveBitmapFile(path, lastFrame_, error);
}

void HeadlessDisplay::Fail(const std::string& message) {
    std::cerr << "headless display: " << message << std::endl;
    EndProcess(3);
}

} // namespace tav::platform
