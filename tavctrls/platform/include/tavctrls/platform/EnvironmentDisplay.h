#pragma once

#include "tavctrls/platform/Display.h"
#include "tavctrls/platform/InputQueue.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace tav::platform {

// What the TAV_* variables ask of a display.
struct DisplayEnvironment {
    bool headless = false;               // TAV_HEADLESS=1
    std::optional<std::uint64_t> frames; // TAV_FRAMES=N: the program ends after N frames
    std::string screenshot;              // TAV_SCREENSHOT=FILE.bmp: the last frame is saved there
    std::string input;                   // TAV_INPUT=FILE: scripted input
};

// Reads the TAV_* variables; false with a reason for a value that makes no sense.
bool ReadDisplayEnvironment(DisplayEnvironment& environment, std::string* error);

// Wraps a display with what the environment asked for: WM_DESTROY after the frame limit (the
// library's shutdown then ends the program with status 0), the last frame saved in Close (or when
// the process ends first, as on a modal timeout), and scripted input delivered before the display's
// own. A screenshot that cannot be written is reported and ends the program with
// kScreenshotFailedStatus instead of 0.
class EnvironmentDisplay : public Display {
public:
    static constexpr int kScreenshotFailedStatus = 4;

    EnvironmentDisplay(std::unique_ptr<Display> inner, std::optional<std::uint64_t> frameLimit,
                       std::string screenshot);

    void AddInput(const std::vector<InputStep>& steps) { script_.Append(steps); }
    Display& Inner() { return *inner_; }

    bool Open(const DisplaySettings& settings, std::string* error) override;
    bool PeekMessage(WindowMessage& message) override;
    void WaitMessage() override;
    bool WaitMessageUntil(std::uint64_t counter) override;
    void Present(const PixelBuffer& frame, const DirtyRegion& changed, bool waitVerticalBlank) override;
    std::uint64_t Counter() override { return inner_->Counter(); }
    std::uint64_t Frequency() override { return inner_->Frequency(); }
    int RefreshRate() override { return inner_->RefreshRate(); }
    unsigned Modifiers() override { return inner_->Modifiers() | scriptModifiers_; }
    bool SetClipboardText(const std::string& text) override { return inner_->SetClipboardText(text); }
    std::string ClipboardText() override { return inner_->ClipboardText(); }
    void EnterModalLoop() override { inner_->EnterModalLoop(); }
    void LeaveModalLoop() override { inner_->LeaveModalLoop(); }
    void ShowMessageBox(const std::string& title, const std::string& text) override;
    void Close() override;
    ~EnvironmentDisplay() override;

private:
    bool FrameLimitReached() const { return frameLimit_ && framesPresented_ >= *frameLimit_; }

    std::unique_ptr<Display> inner_;
    std::optional<std::uint64_t> frameLimit_;
    bool destroySent_ = false;
    struct Screenshot;
    std::shared_ptr<Screenshot> screenshot_; // shared with the step that runs when the process ends
    InputQueue script_;
    unsigned scriptModifiers_ = 0; // held by the script
    std::uint64_t framesPresented_ = 0;
    std::uint64_t frames_ = 0; // presents and waits for messages, which script pauses count
};

} // namespace tav::platform
