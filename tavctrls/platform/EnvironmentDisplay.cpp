#include "tavctrls/platform/EnvironmentDisplay.h"

#include "tavctrls/platform/BitmapFile.h"
#include "tavctrls/platform/ProcessEnd.h"

#include <charconv>
#include <cstdlib>
#include <iostream>
#include <utility>

namespace tav::platform {
namespace {

std::string Variable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

} // namespace

struct EnvironmentDisplay::Screenshot {
    std::string path;
    PixelBuffer lastFrame;
    bool written = false;
    bool failed = false;

    void Write() {
        if (std::exchange(written, true))
            return;
        std::string error = "no frame was presented, " + path + " not written";
        failed = lastFrame.Empty() || !SaveBitmapFile(path, lastFrame, &error);
        if (failed)
            std::cerr << "TAV_SCREENSHOT: " << error << std::endl;
        lastFrame = PixelBuffer();
    }
};

bool ReadDisplayEnvironment(DisplayEnvironment& environment, std::string* error) {
    const std::string headless = Variable("TAV_HEADLESS");
    environment.headless = !headless.empty() && headless != "0";
    environment.screenshot = Variable("TAV_SCREENSHOT");
    environment.input = Variable("TAV_INPUT");
    environment.frames.reset();
    const std::string frames = Variable("TAV_FRAMES");
    if (frames.empty())
        return true;
    std::uint64_t count = 0;
    const char* end = frames.data() + frames.size();
    const auto [next, status] = std::from_chars(frames.data(), end, count);
    if (status != std::errc() || next != end) {
        if (error != nullptr)
            *error = "TAV_FRAMES: '" + frames + "' is not a number of frames";
        return false;
    }
    environment.frames = count;
    return true;
}

EnvironmentDisplay::EnvironmentDisplay(std::unique_ptr<Display> inner,
                                       std::optional<std::uint64_t> frameLimit, std::string screenshot)
    : inner_(std::move(inner)), frameLimit_(frameLimit) {
    if (screenshot.empty())
        return;
    screenshot_ = std::make_shared<Screenshot>();
    screenshot_->path = std::move(screenshot);
    SetProcessEndStep([shot = screenshot_](int status) {
        shot->Write();
        return shot->failed && status == 0 ? kScreenshotFailedStatus : status;
    });
}

EnvironmentDisplay::~EnvironmentDisplay() {
    // Once written, only a failure has anything left to say when the process ends.
    if (screenshot_ != nullptr && screenshot_->written && !screenshot_->failed)
        SetProcessEndStep({});
}

bool EnvironmentDisplay::Open(const DisplaySettings& settings, std::string* error) {
    return inner_->Open(settings, error);
}

bool EnvironmentDisplay::PeekMessage(WindowMessage& message) {
    if (FrameLimitReached() && !destroySent_) {
        destroySent_ = true;
        message = WindowMessage{msg::kDestroy, 0, 0};
        return true;
    }
    if (script_.Next(frames_, message)) {
        scriptModifiers_ = ModifiersAfter(scriptModifiers_, message);
        return true;
    }
    return inner_->PeekMessage(message);
}

void EnvironmentDisplay::WaitMessage() {
    ++frames_;
    // Only the inner display blocks; scripted input and the frame limit are never waited for.
    if (!script_.Pending(frames_) && !(FrameLimitReached() && !destroySent_))
        inner_->WaitMessage();
}

bool EnvironmentDisplay::WaitMessageUntil(std::uint64_t counter) {
    if (script_.Pending(frames_) || (FrameLimitReached() && !destroySent_))
        return true;
    return inner_->WaitMessageUntil(counter);
}

void EnvironmentDisplay::Present(const PixelBuffer& frame, const DirtyRegion& changed,
                                 bool waitVerticalBlank) {
    inner_->Present(frame, changed, waitVerticalBlank);
    ++framesPresented_;
    ++frames_;
    if (screenshot_ == nullptr || screenshot_->written || frame.Empty())
        return;
    PixelBuffer& last = screenshot_->lastFrame;
    if (last.width() == frame.width() && last.height() == frame.height())
        CopyRegion(last, frame, changed);
    else if (last.Allocate(frame.width(), frame.height()))
        CopyRect(last, 0, 0, frame, frame.Bounds());
}

void EnvironmentDisplay::ShowMessageBox(const std::string& title, const std::string& text) {
    inner_->ShowMessageBox(title, text);
}

void EnvironmentDisplay::Close() {
    if (screenshot_ != nullptr)
        screenshot_->Write();
    inner_->Close();
}

} // namespace tav::platform
