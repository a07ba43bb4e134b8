#pragma once

#include "tavctrls/platform/Display.h"

#include <deque>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

union SDL_Event;
struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;

namespace tav::platform {

class EventTranslator;

// The display on a desktop: an SDL2 window with a renderer and one streaming texture that each frame
// is uploaded to. A window is resizable; it and full screen show the logical picture scaled by whole
// factors where they fit and letterboxed.
class SdlDisplay : public Display {
public:
    SdlDisplay();
    ~SdlDisplay() override;
    SdlDisplay(const SdlDisplay&) = delete;
    SdlDisplay& operator=(const SdlDisplay&) = delete;

    bool Open(const DisplaySettings& settings, std::string* error) override;
    bool PeekMessage(WindowMessage& message) override;
    void WaitMessage() override;
    bool WaitMessageUntil(std::uint64_t counter) override;
    void Present(const PixelBuffer& frame, const DirtyRegion& changed, bool waitVerticalBlank) override;
    std::uint64_t Counter() override;
    std::uint64_t Frequency() override;
    int RefreshRate() override;
    unsigned Modifiers() override;
    bool SetClipboardText(const std::string& text) override;
    std::string ClipboardText() override;
    void SetTitle(const std::string& title) override;
    void ShowMessageBox(const std::string& title, const std::string& text) override;
    void Close() override;

private:
    void Handle(const SDL_Event& event);
    void FollowWindowSize();
    void Redraw();
    void Release();

    bool videoStarted_ = false;
    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    int textureWidth_ = 0;
    int textureHeight_ = 0;
    int logicalWidth_ = 0;
    int logicalHeight_ = 0;
    int maxFactor_ = 0; // 0: the picture grows with the window; -1: it fills the screen
    std::optional<bool> vsync_;
    bool captured_ = false;
    std::unique_ptr<EventTranslator> translator_;
    std::vector<WindowMessage> translated_;
    // Each message with the modifiers held when its event happened: SDL's own state has moved on to
    // the last event pumped, so a quick Ctrl+C would otherwise read as a plain C.
    std::deque<std::pair<WindowMessage, unsigned>> pending_;
    unsigned heldAtEvent_ = 0; // SDL's modifier state as of the last event handled
    unsigned held_ = 0;        // mod:: flags of the message taken last
};

} // namespace tav::platform
