#include "tavctrls/platform/SdlDisplay.h"

#include "tavctrls/platform/EventTranslator.h"

#include <SDL.h>

#include <algorithm>
#include <iostream>
#include <string_view>

namespace tav::platform {
namespace {

// How long WaitMessage blocks at most, so that the caller's own checks still run now and then.
constexpr int kWaitMilliseconds = 100;

void SetDefaultHints() {
    // One WM_CLOSE per close of the window, not a second one from SDL_QUIT.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    // The click that focuses the window is a click like any other.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    // A double click is two presses close together, as on a desktop (SDL's default is 32 pixels).
    SDL_SetHint(SDL_HINT_MOUSE_DOUBLE_CLICK_RADIUS, "4");
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
}

// SDL falls back to drivers without a screen when no desktop is found; a window there would be
// invisible, with no input ever, unless somebody asked for such a driver.
bool HasScreen() {
    const std::string driver = SDL_GetCurrentVideoDriver() != nullptr ? SDL_GetCurrentVideoDriver() : "";
    const char* requested = SDL_getenv("SDL_VIDEODRIVER");
    return (requested != nullptr && *requested != '\0') || (driver != "offscreen" && driver != "dummy");
}

// Whether the renderer draws with Mesa's software GL, which renders the whole window again at every
// present. SDL's own software renderer, on the window's shared-memory surface, costs a fraction of it.
bool OnSoftwareGl(SDL_Renderer* renderer) {
    SDL_RendererInfo info;
    if (SDL_GetRendererInfo(renderer, &info) != 0 || std::string_view(info.name).rfind("opengl", 0) != 0)
        return false;
    using GetString = const unsigned char* (*)(unsigned);
    const auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
    constexpr unsigned kGlRenderer = 0x1F01;
    const unsigned char* name = getString != nullptr ? getString(kGlRenderer) : nullptr;
    if (name == nullptr)
        return false;
    const std::string_view text(reinterpret_cast<const char*>(name));
    return text.find("llvmpipe") != std::string_view::npos ||
           text.find("softpipe") != std::string_view::npos ||
           text.find("Software Rasterizer") != std::string_view::npos;
}

// The renderer for the window: SDL's choice, unless that is software GL and nobody chose a driver.
SDL_Renderer* CreateRenderer(SDL_Window* window) {
    SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, 0);
    if (renderer == nullptr || SDL_GetHint(SDL_HINT_RENDER_DRIVER) != nullptr || !OnSoftwareGl(renderer))
        return renderer;
    SDL_DestroyRenderer(renderer);
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
    return renderer != nullptr ? renderer : SDL_CreateRenderer(window, -1, 0);
}

} // namespace

SdlDisplay::SdlDisplay() = default;

SdlDisplay::~SdlDisplay() {
    Release();
}

bool SdlDisplay::Open(const DisplaySettings& settings, std::string* error) {
    Release();
    // A failure leaves nothing open behind it.
    const auto failed = [&](const char* what) {
        if (error != nullptr)
            *error = std::string(what) + ": " + SDL_GetError();
        Release();
        return false;
    };
    SetDefaultHints();
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        return failed("cannot start SDL's video");
    videoStarted_ = true;
    if (!HasScreen()) {
        if (error != nullptr)
            *error = "there is no screen to show a window on (TAV_HEADLESS=1 runs without one)";
        Release();
        return false;
    }
    logicalWidth_ = settings.width;
    logicalHeight_ = settings.height;
    maxFactor_ = settings.windowed ? settings.scale : -1;
    SDL_Rect place{settings.x, settings.y, settings.width, settings.height};
    Uint32 flags = SDL_WINDOW_SHOWN;
    if (settings.windowed) {
        flags |= SDL_WINDOW_RESIZABLE;
        SDL_Rect usable{0, 0, 0, 0};
        SDL_GetDisplayUsableBounds(0, &usable); // unknown: stays empty, which starts at 1
        const int factor = StartingScale(usable.w, usable.h, settings.width, settings.height, settings.scale);
        place.w = settings.width * factor;
        place.h = settings.height * factor;
    } else {
        flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
        // The desktop's own rectangle, so that the window covers it even without a window manager.
        if (SDL_GetDisplayBounds(0, &place) != 0)
            place = {static_cast<int>(SDL_WINDOWPOS_UNDEFINED), static_cast<int>(SDL_WINDOWPOS_UNDEFINED),
                     settings.width, settings.height};
    }
    window_ = SDL_CreateWindow(settings.title.c_str(), place.x, place.y, place.w, place.h, flags);
    if (window_ == nullptr)
        return failed("cannot create the window");
    renderer_ = CreateRenderer(window_);
    if (renderer_ == nullptr)
        return failed("cannot create a renderer");
    translator_ = std::make_unique<EventTranslator>(settings.width, settings.height);
    FollowWindowSize();
    SDL_StartTextInput();
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    SDL_RenderPresent(renderer_);
    return true;
}

bool SdlDisplay::PeekMessage(WindowMessage& message) {
    SDL_Event event;
    while (pending_.empty() && videoStarted_ && SDL_PollEvent(&event) == 1)
        Handle(event);
    if (pending_.empty())
        return false;
    message = pending_.front().first;
    held_ = pending_.front().second;
    pending_.pop_front();
    return true;
}

void SdlDisplay::WaitMessage() {
    SDL_Event event;
    if (pending_.empty() && videoStarted_ && SDL_WaitEventTimeout(&event, kWaitMilliseconds) == 1)
        Handle(event);
}

void SdlDisplay::Handle(const SDL_Event& event) {
    if (translator_ == nullptr)
        return;
    if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)
        FollowWindowSize();
    if (event.type == SDL_WINDOWEVENT &&
        (event.window.event == SDL_WINDOWEVENT_EXPOSED || event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED))
        Redraw();
    if (event.type == SDL_KEYDOWN || event.type == SDL_KEYUP)
        heldAtEvent_ = event.key.keysym.mod;
    else if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED)
        heldAtEvent_ = SDL_GetModState();
    translated_.clear();
    translator_->Translate(event, heldAtEvent_, translated_);
    for (const WindowMessage& message : translated_)
        pending_.emplace_back(message, ModifiersOfSdl(heldAtEvent_));
    // Held buttons keep the mouse captured, so that a release outside the window still arrives.
    if (translator_->ButtonHeld() != captured_) {
        captured_ = translator_->ButtonHeld();
        SDL_CaptureMouse(captured_ ? SDL_TRUE : SDL_FALSE);
    }
}

void SdlDisplay::SetTitle(const std::string& title) {
    Display::SetTitle(title);
    if (window_ != nullptr)
        SDL_SetWindowTitle(window_, title.c_str());
}

bool SdlDisplay::WaitMessageUntil(std::uint64_t counter) {
    const std::uint64_t now = SDL_GetPerformanceCounter();
    if (!pending_.empty())
        return false;
    if (!videoStarted_ || now >= counter)
        return true;
    const std::uint64_t milliseconds = (counter - now) * 1000 / SDL_GetPerformanceFrequency();
    SDL_Event event;
    if (SDL_WaitEventTimeout(&event,
                             static_cast<int>(std::min<std::uint64_t>(milliseconds, kWaitMilliseconds))) != 1)
        return true;
    Handle(event);
    return false;
}

void SdlDisplay::Present(const PixelBuffer& frame, const DirtyRegion& changed, bool waitVerticalBlank) {
    if (renderer_ == nullptr || frame.Empty() || (changed.Empty() && texture_ != nullptr))
        return;
    if (vsync_ != waitVerticalBlank) {
        vsync_ = waitVerticalBlank;
        SDL_RenderSetVSync(renderer_, waitVerticalBlank ? 1 : 0); // unsupported: frames go unsynchronised
    }
    if (texture_ == nullptr || textureWidth_ != frame.width() || textureHeight_ != frame.height()) {
        if (texture_ != nullptr)
            SDL_DestroyTexture(texture_);
        texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING,
                                     frame.width(), frame.height());
        textureWidth_ = texture_ != nullptr ? frame.width() : 0;
        textureHeight_ = texture_ != nullptr ? frame.height() : 0;
        if (texture_ == nullptr)
            return; // a failed presentation is skipped; the next frame tries again
        SDL_UpdateTexture(texture_, nullptr, frame.Row(0), frame.width() * 4);
    } else {
        for (const PixelRect& rect : changed) {
            const PixelRect part = Intersection(rect, frame.Bounds());
            const SDL_Rect area{part.left, part.top, part.Width(), part.Height()};
            if (!part.Empty())
                SDL_UpdateTexture(texture_, &area, frame.Row(part.top) + part.left, frame.width() * 4);
        }
    }
    Redraw();
}

// The mouse maps through the picture's place in the window's own coordinates.
void SdlDisplay::FollowWindowSize() {
    int width = 0, height = 0;
    SDL_GetWindowSize(window_, &width, &height);
    translator_->SetPicture(FitPicture(width, height, logicalWidth_, logicalHeight_, maxFactor_));
}

// Shows the texture, which still holds the last frame, scaled and centred between black bars: whole
// factors with crisp pixels, a picture shrunk below its size smoothed.
void SdlDisplay::Redraw() {
    if (renderer_ == nullptr)
        return;
    SDL_RenderClear(renderer_);
    int width = 0, height = 0;
    if (texture_ != nullptr && SDL_GetRendererOutputSize(renderer_, &width, &height) == 0) {
        const PictureRect picture = FitPicture(width, height, logicalWidth_, logicalHeight_, maxFactor_);
        const SDL_Rect place{picture.x, picture.y, picture.width, picture.height};
        SDL_SetTextureScaleMode(texture_,
                                picture.width >= logicalWidth_ ? SDL_ScaleModeNearest : SDL_ScaleModeLinear);
        SDL_RenderCopy(renderer_, texture_, nullptr, &place);
    }
    SDL_RenderPresent(renderer_);
}

std::uint64_t SdlDisplay::Counter() {
    return SDL_GetPerformanceCounter();
}

std::uint64_t SdlDisplay::Frequency() {
    return SDL_GetPerformanceFrequency();
}

int SdlDisplay::RefreshRate() {
    const int index = window_ != nullptr ? SDL_GetWindowDisplayIndex(window_) : 0;
    SDL_DisplayMode mode;
    if (!videoStarted_ || index < 0 || SDL_GetCurrentDisplayMode(index, &mode) != 0)
        return 0;
    return mode.refresh_rate;
}

unsigned SdlDisplay::Modifiers() {
    return held_;
}

// SDL's clipboard is the desktop's, shared with other programs.
bool SdlDisplay::SetClipboardText(const std::string& text) {
    return videoStarted_ && SDL_SetClipboardText(text.c_str()) == 0;
}

std::string SdlDisplay::ClipboardText() {
    if (!videoStarted_ || SDL_HasClipboardText() != SDL_TRUE)
        return {};
    char* text = SDL_GetClipboardText();
    std::string result = text != nullptr ? text : "";
    SDL_free(text);
    return result;
}

void SdlDisplay::ShowMessageBox(const std::string& title, const std::string& text) {
    if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, title.c_str(), text.c_str(), window_) != 0)
        std::cerr << title << ": " << text << std::endl;
}

void SdlDisplay::Close() {
    Release();
}

void SdlDisplay::Release() {
    if (captured_)
        SDL_CaptureMouse(SDL_FALSE);
    captured_ = false;
    if (texture_ != nullptr)
        SDL_DestroyTexture(texture_);
    if (renderer_ != nullptr)
        SDL_DestroyRenderer(renderer_);
    if (window_ != nullptr)
        SDL_DestroyWindow(window_);
    texture_ = nullptr;
    renderer_ = nullptr;
    window_ = nullptr;
    textureWidth_ = textureHeight_ = 0;
    vsync_.reset();
    translator_.reset();
    pending_.clear();
    if (videoStarted_)
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    videoStarted_ = false;
}

} // namespace tav::platform
