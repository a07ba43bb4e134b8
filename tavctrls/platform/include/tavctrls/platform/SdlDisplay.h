#pragma once

#include "tavctrls/platform/Display.h"

#include <deque>
#include <memory>
#include <optional>
#include <vector>

union SDL_Event;
struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;

namespace tav::platform {

class EventTranslator;

// The display on a desktop: an SDL2 window with a renderer and one streaming texture that each frame
// is uploaded to. Full screen covers the desktop, scaling the logical size and letterboxing it.
class SdlDisplay : public Display {
public:
    SdlDisplay();
    ~SdlDisplay() override;
    SdlDisplay(const SdlDisplay&) = delete;
    SdlDisplay& operator=(const SdlDisplay&) = delete;

    bool Open(const DisplaySettings& settings, std::string* error) override;
    bool PeekMessage(WindowMessage& message) override;
    void WaitMessage() override;
    void Present(const PixelBuffer& frame, bool waitVerticalBlank) override;
    std::uint64_t Counter() override;
    std::uint64_t Frequency() override;
    int RefreshRate() override;
    unsigned Modifiers() override;
    bool SetClipboardText(const std::string& text) override;
    std::string ClipboardText() override;
    void ShowMessageBox(const std::string& title, const std::string& text) override;
    void Close() override;

private:
    void Handle(const SDL_Event& event);
    void Redraw();
    void Release();

    bool videoStarted_ = false;
    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    int textureWidth_ = 0;
    int textureHeight_ = 0;
    std::optional<bool> vsync_;
    bool captured_ = false;
    std::unique_ptr<EventTranslator> translator_;
    std::vector<WindowMessage> translated_;
    std::deque<WindowMessage> pending_;
};

} // namespace tav::platform
