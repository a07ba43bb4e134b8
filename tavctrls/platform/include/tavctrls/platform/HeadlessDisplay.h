#pragma once

#include "tavctrls/platform/Display.h"
#include "tavctrls/platform/InputBuilder.h"
#include "tavctrls/platform/InputQueue.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tav::platform {

// A display without a window, for tests and tools: frames are kept in memory, input comes from a
// queue that the test fills, and the clock is virtual (it advances by a fixed frame time at every
// Present).
//
// Waits are bounded. When the queue is empty and the idle handler adds nothing:
//  - inside a modal loop, after the wait limit of frames the process ends with status 3 and a message;
//  - otherwise WM_CLOSE comes once at least one more frame has gone by, and if the program still runs
//    after the wait limit, WM_DESTROY follows.
// Frames count Present calls and WaitMessage calls (the frames an inactive application skips).
class HeadlessDisplay : public Display {
public:
    using IdleHandler = std::function<void(HeadlessDisplay&)>;

    struct ShownMessage {
        std::string title;
        std::string text;
    };

    static constexpr int kDefaultWaitLimit = 300;

    HeadlessDisplay();

    bool Open(const DisplaySettings& settings, std::string* error) override;
    bool PeekMessage(WindowMessage& message) override;
    void WaitMessage() override;
    void Present(const PixelBuffer& frame, const DirtyRegion& changed, bool waitVerticalBlank) override;
    std::uint64_t Counter() override { return counter_; }
    std::uint64_t Frequency() override { return kFrequency; }
    int RefreshRate() override { return 60; }
    unsigned Modifiers() override { return modifiers_; }
    // An in-process clipboard.
    bool SetClipboardText(const std::string& text) override;
    std::string ClipboardText() override { return clipboard_; }
    void EnterModalLoop() override;
    void LeaveModalLoop() override;
    void ShowMessageBox(const std::string& title, const std::string& text) override;

    // Input, delivered in the order queued.
    void MouseMove(int x, int y) { Queue(&InputBuilder::Move, x, y); }
    void LButtonDown(int x, int y) { Queue(&InputBuilder::LButtonDown, x, y); }
    void LButtonUp(int x, int y) { Queue(&InputBuilder::LButtonUp, x, y); }
    void LClick(int x, int y) { Queue(&InputBuilder::LClick, x, y); }
    // The whole gesture: press, release, WM_LBUTTONDBLCLK, release.
    void DoubleClick(int x, int y) { Queue(&InputBuilder::DoubleClick, x, y); }
    void RButtonDown(int x, int y) { Queue(&InputBuilder::RButtonDown, x, y); }
    void RButtonUp(int x, int y) { Queue(&InputBuilder::RButtonUp, x, y); }
    void RClick(int x, int y) { Queue(&InputBuilder::RClick, x, y); }
    // WM_KEYDOWN, followed by WM_CHAR for Back, Tab, Return and Escape as a keyboard gives it;
    // `modifiers` (mod:: flags) are held for this key only (see InputBuilder::KeyDown).
    void KeyDown(unsigned virtualKey, unsigned modifiers = 0);
    // A modifier key goes down / up (vk::kShift, kControl, kMenu): the key state follows once the
    // message is taken.
    void Hold(unsigned virtualKey) { Queue(&InputBuilder::Hold, virtualKey); }
    void Release(unsigned virtualKey) { Queue(&InputBuilder::Release, virtualKey); }
    // WM_MOUSEWHEEL at the last mouse position, `notches` negative towards the user.
    void Wheel(int notches) { Queue(&InputBuilder::Wheel, notches); }
    void Char(unsigned char byte);
    // One WM_CHAR per byte of the UTF-8 text.
    void Text(const std::string& utf8);
    void Activate(bool active);
    // WM_CLOSE and WM_DESTROY (named apart from Display::Close, which the shutdown calls).
    void CloseWindow();
    void DestroyWindow();
    // No input for `frames` frames.
    void Wait(int frames);
    // Any message, as it is.
    void Post(const WindowMessage& message);
    // Steps of an input script.
    void QueueScript(const std::vector<InputStep>& steps) { queue_.Append(steps); }

    // Runs whenever the queue is empty and the program looks for input; it may queue more.
    void SetIdleHandler(IdleHandler handler) { idle_ = std::move(handler); }
    // Frames to wait before the bounds above apply (at least 1).
    void SetWaitLimit(int frames);
    // False: the end of the input outside modal loops closes nothing (for tests that step frames
    // themselves); modal loops stay bounded.
    void SetCloseWhenInputEnds(bool close) { closeWhenInputEnds_ = close; }
    void SetFrameTime(double seconds);
    // Lets time pass without a frame (as while the application is inactive).
    void AdvanceClock(double seconds);
    void SetShiftDown(bool down);
    // The modifiers held now (mod:: flags), without a message.
    void SetModifiers(unsigned held) { modifiers_ = held; }

    const DisplaySettings& Settings() const { return settings_; }
    const PixelBuffer& LastFrame() const { return lastFrame_; }
    std::uint64_t FramesPresented() const { return framesPresented_; }
    bool SaveLastFrame(const std::string& path, std::string* error = nullptr) const;
    const std::vector<ShownMessage>& MessagesShown() const { return messagesShown_; }
    int ModalDepth() const { return modalDepth_; }
    bool InModalLoop() const { return modalDepth_ > 0; }

private:
    static constexpr std::uint64_t kFrequency = 1'000'000'000; // nanoseconds

    template <typename... Args>
    void Queue(void (InputBuilder::*action)(Args...), Args... args) {
        (input_.*action)(args...);
        queue_.Append(input_.Take());
    }
    bool NextInput(WindowMessage& message);
    bool AfterInput(WindowMessage& message);
    [[noreturn]] void Fail(const std::string& message);

    DisplaySettings settings_;
    InputBuilder input_;
    InputQueue queue_;
    IdleHandler idle_;
    bool inIdleHandler_ = false;
    int waitLimit_ = kDefaultWaitLimit;
    bool closeWhenInputEnds_ = true;

    std::uint64_t frames_ = 0; // presents and waits for messages
    std::optional<std::uint64_t> inputEndedAt_;
    bool closeSent_ = false;
    bool destroySent_ = false;
    int modalDepth_ = 0;

    double elapsedSeconds_ = 0; // the virtual clock; Counter() is it in ticks
    std::uint64_t counter_ = 0;
    double frameTime_ = 1.0 / 60;

    PixelBuffer lastFrame_;
    std::uint64_t framesPresented_ = 0;
    unsigned modifiers_ = 0;
    std::string clipboard_;
    std::vector<ShownMessage> messagesShown_;
};

} // namespace tav::platform
