#include "CTavApp.h"

#include "CTavObject.h"
#include "CTavScreen.h"
#include "TavRuntime.h"
#include "tavctrls/platform/ProcessEnd.h"

#include <cstdio>
#include <string>
#include <utility>

CTavApp::CTavApp() = default;

CTavApp::~CTavApp() {
    // A program ends inside Shutdown; this only tidies up after an application that never ran.
    tav::Runtime& runtime = tav::TheRuntime();
    if (runtime.app != this)
        return;
    tav::FlushDiscarded();
    if (runtime.frameRate != nullptr) {
        runtime.frameRate->Finish();
        delete runtime.frameRate;
        runtime.frameRate = nullptr;
    }
    if (m_childScreen != nullptr) {
        m_childScreen->Finish();
        delete m_childScreen;
        m_childScreen = nullptr;
    }
    tav::FlushDiscarded();
    ReleaseDisplay();
    runtime.app = nullptr;
}

void CTavApp::AfterProcessMessage(UINT, WPARAM, LPARAM) {}
void CTavApp::AfterUpdateFrame(CTavSurface*) {}
void CTavApp::AfterMouseMove(int, int) {}
void CTavApp::AfterLMouseUp(int, int) {}
void CTavApp::AfterLMouseDown(int, int) {}
void CTavApp::AfterKeyDown(UINT) {}
void CTavApp::AfterDoubleClick(int, int) {}
void CTavApp::AfterChar(char) {}
void CTavApp::AfterRMouseUp(int, int) {}
void CTavApp::AfterRMouseDown(int, int) {}
BOOL CTavApp::OnCloseMessage() {
    return TRUE;
}
void CTavApp::AfterRestore() {}

void CTavApp::ReleaseDisplay() {
    if (m_backBuffer != nullptr) {
        m_backBuffer->Release();
        delete m_backBuffer;
        m_backBuffer = nullptr;
    }
    tav::TheRuntime().display.reset();
    m_window = nullptr;
}

DWORD CTavApp::doInit(HINSTANCE, int, const char* name, int mode, int width, int height, int x, int y,
                      int bpp) {
    tav::Runtime& runtime = tav::TheRuntime();
    m_colorDepth = bpp;
    runtime.app = this;
    // A failure leaves no application behind: later calls report that none exists.
    const auto fail = [&](DWORD code) {
        ReleaseDisplay();
        if (runtime.app == this)
            runtime.app = nullptr;
        return code;
    };
    if (width < 1 || height < 1)
        return fail(TAVERROR_INVALIDARG);
    if (mode != TAVAPP_FULLSCREEN) {
        if (x < 0 || y < 0)
            return fail(TAVERROR_INVALIDARG);
        m_windowX = x;
        m_windowY = y;
    }
    m_width = width;
    m_height = height;
    m_name = name != nullptr ? name : "";
    m_windowed = mode;
    // Memory surfaces hold any depth; full screen accepts the depths a display mode could have.
    if (mode == TAVAPP_FULLSCREEN && bpp != 16 && bpp != 24 && bpp != 32)
        return fail(TAVERROR_DIRECTDRAW);
    if (width > tav::platform::PixelBuffer::kMaxSide || height > tav::platform::PixelBuffer::kMaxSide)
        return fail(TAVERROR_INVALIDARG);

    runtime.display = tav::platform::CreateDisplayFromEnvironment();
    std::string error;
    tav::platform::DisplaySettings settings;
    settings.title = m_name;
    settings.windowed = mode != TAVAPP_FULLSCREEN;
    settings.x = m_windowX;
    settings.y = m_windowY;
    settings.width = width;
    settings.height = height;
    settings.scale = m_windowScale;
    if (!runtime.display || !runtime.display->Open(settings, &error)) {
        std::fprintf(stderr, "%s: cannot open the window: %s\n", m_name.c_str(), error.c_str());
        return fail(TAVERROR_WINDOW);
    }
    runtime.display->SetTitle(settings.title);
    m_window = reinterpret_cast<HWND>(runtime.display.get());

    auto* pixels = new tav::platform::PixelBuffer;
    if (!pixels->Allocate(width, height)) {
        delete pixels;
        return fail(TAVERROR_BACKSURFACE);
    }
    m_backBuffer = new CTavSurface;
    if (m_backBuffer->Attach(pixels) != TAVERROR_OK) {
        delete pixels;
        return fail(TAVERROR_BACKSURFACE);
    }
    if (runtime.display->RefreshRate() > 1)
        m_refreshRate = static_cast<float>(runtime.display->RefreshRate());

    runtime.quit = 0;
    runtime.active = 1;
    runtime.frameCounter = 0;
    runtime.framesPerSecond = 0;
    runtime.secondAccumulator = 0;
    runtime.busy = 0;
    runtime.modalDepth = 0;
    runtime.lastCounter = runtime.display->Counter();
    runtime.composeAll = true;
    runtime.frameRateStale = true;
    runtime.nextFrameDue = 0;
    runtime.hookArea.Clear();
    delete runtime.frameRate;
    runtime.frameRate = new CTavObject;
    runtime.frameRate->Initialize(0, 5, 5, 100, 16, nullptr);
    return TAVERROR_OK;
}

DWORD CTavApp::SetWindowScale(int factor) {
    constexpr int kLargestFactor = 8;
    if (factor < 0 || factor > kLargestFactor)
        return TAVERROR_INVALIDARG;
    m_windowScale = factor;
    return TAVERROR_OK;
}

DWORD CTavApp::SetChildScreen(CTavScreen* screen) {
    if (m_childScreen != nullptr)
        RemoveChildScreen();
    if (screen == nullptr)
        return TAVERROR_OK;
    if (screen->GetType() != TAVSCREEN_FULLSCREEN)
        return TAVERROR_NOTFULLSCREEN;
    m_childScreen = screen;
    tav::TheRuntime().composeAll = true;
    return TAVERROR_OK;
}

DWORD CTavApp::RemoveChildScreen() {
    if (m_childScreen == nullptr)
        return TAVERROR_NOCHILDSCREEN;
    tav::DiscardScreen(std::exchange(m_childScreen, nullptr));
    tav::TheRuntime().composeAll = true;
    return TAVERROR_OK;
}

void CTavApp::MyWinMain() {
    tav::Runtime& runtime = tav::TheRuntime();
    if (runtime.display)
        runtime.lastCounter = runtime.display->Counter();
    while (runtime.app == this && PumpMessages() && runtime.quit == 0)
        RunFrameOrWait();
    Shutdown();
}

BOOL CTavApp::PumpMessages() {
    tav::Runtime& runtime = tav::TheRuntime();
    tav::platform::WindowMessage message;
    while (runtime.quit == 0) {
        if (runtime.closePosted != 0) {
            runtime.closePosted = 0;
            WindowProc(WM_CLOSE, 0, 0);
        } else if (runtime.hoverStale != 0) {
            // Mouse moves went to the popup while it ran: what it opened from may still look hovered.
            runtime.hoverStale = 0;
            tav::BusyScope busy;
            if (m_childScreen != nullptr)
                m_childScreen->MouseMove(m_mouseX, m_mouseY);
        } else if (runtime.display && runtime.display->PeekMessage(message)) {
            WindowProc(message.message, message.wParam, message.lParam);
        } else {
            break;
        }
    }
    return runtime.quit == 0;
}

void CTavApp::RunFrameOrWait() {
    tav::Runtime& runtime = tav::TheRuntime();
    if (runtime.quit != 0 || !runtime.display)
        return;
    if (!runtime.active && !m_runWhileInactive) {
        runtime.display->WaitMessage();
        return;
    }
    // After a frame that showed nothing the loop sleeps until the next one is due or input comes;
    // input is handled at once, the frame still waits for its time.
    if (runtime.nextFrameDue != 0 && runtime.display->Counter() < runtime.nextFrameDue &&
        !runtime.display->WaitMessageUntil(runtime.nextFrameDue))
        return;
    const std::uint64_t start = runtime.display->Counter();
    runtime.nextFrameDue = 0;
    if (UpdateFrameRegion())
        return;
    const float rate = m_refreshRate > 1 ? m_refreshRate : 60.0f;
    if (runtime.display)
        runtime.nextFrameDue =
            start + static_cast<std::uint64_t>(static_cast<double>(runtime.display->Frequency()) / rate);
}

LRESULT CTavApp::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    tav::Runtime& runtime = tav::TheRuntime();
    switch (message) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_KEYDOWN:
    case WM_CHAR:
    case WM_MOUSEWHEEL:
        if (runtime.quit == 0)
            RouteInput(message, wParam, lParam);
        break;
    case WM_ACTIVATEAPP:
        runtime.active = static_cast<int>(wParam);
        if (wParam == 1) {
            // Memory surfaces survive losing the display; only the program's own hook runs. The frame
            // timer restarts so that nothing jumps by the time spent inactive.
            AfterRestore();
            if (runtime.display)
                runtime.lastCounter = runtime.display->Counter();
        }
        break;
    case WM_SETCURSOR:
        return 1;
    case WM_CLOSE:
        if (OnCloseMessage() != 1)
            return 0;
        break;
    case WM_DESTROY:
        if (runtime.quit == 0)
            Shutdown();
        break;
    default:
        break;
    }
    AfterProcessMessage(message, wParam, lParam);
    // Closing that was not refused destroys the window.
    if (message == WM_CLOSE)
        WindowProc(WM_DESTROY, 0, 0);
    return 0;
}

void CTavApp::RouteInput(UINT message, WPARAM wParam, LPARAM lParam) {
    tav::Runtime& runtime = tav::TheRuntime();
    tav::BusyScope busy;
    const int x = GET_X_LPARAM(lParam);
    const int y = GET_Y_LPARAM(lParam);
    CTavScreen* child = m_childScreen;
    switch (message) {
    case WM_MOUSEMOVE:
        m_mouseX = x;
        m_mouseY = y;
        if (child != nullptr)
            child->MouseMove(x, y);
        if (runtime.quit == 0)
            AfterMouseMove(x, y);
        break;
    case WM_LBUTTONDOWN:
        m_mouseX = x;
        m_mouseY = y;
        m_mouseButtonDown = 1;
        if (child != nullptr)
            child->LMouseDown(x, y);
        if (runtime.quit == 0)
            AfterLMouseDown(x, y);
        break;
    case WM_LBUTTONUP:
        m_mouseX = x;
        m_mouseY = y;
        m_mouseButtonDown = 0;
        if (child != nullptr)
            child->LMouseUp(x, y);
        if (runtime.quit == 0)
            AfterLMouseUp(x, y);
        break;
    case WM_LBUTTONDBLCLK:
        if (child != nullptr)
            child->DoubleClick(x, y);
        AfterDoubleClick(x, y);
        break;
    case WM_RBUTTONDOWN:
        m_mouseX = x;
        m_mouseY = y;
        m_mouseButtonDown = 1;
        if (child != nullptr)
            child->RMouseDown(x, y);
        if (runtime.quit == 0)
            AfterRMouseDown(x, y);
        break;
    case WM_RBUTTONUP:
        m_mouseX = x;
        m_mouseY = y;
        m_mouseButtonDown = 0;
        if (child != nullptr)
            child->RMouseUp(x, y);
        if (runtime.quit == 0)
            AfterRMouseUp(x, y);
        break;
    case WM_KEYDOWN:
        if (child != nullptr)
            child->KeyDown(static_cast<UINT>(wParam));
        AfterKeyDown(static_cast<UINT>(wParam));
        break;
    case WM_CHAR:
        if (child != nullptr)
            child->Char(static_cast<char>(wParam));
        AfterChar(static_cast<char>(wParam));
        break;
    case WM_MOUSEWHEEL:
        if (child != nullptr)
            child->MouseWheel(x, y, static_cast<short>(HIWORD(wParam)));
        break;
    default:
        break;
    }
}

void CTavApp::UpdateFrame() {
    UpdateFrameRegion();
}

bool CTavApp::UpdateFrameRegion() {
    using tav::platform::DirtyRegion;
    tav::Runtime& runtime = tav::TheRuntime();
    if (runtime.quit != 0 || (!runtime.active && !m_runWhileInactive) || m_backBuffer == nullptr)
        return false;
    DirtyRegion shown;
    {
        tav::BusyScope busy;
        ++runtime.frameCounter;
        tav::platform::PixelBuffer& pixels = *m_backBuffer->GetDDSurface();
        CTavScreen* child = m_childScreen;
        CTavSurface* surface = child != nullptr ? child->GetSurface() : nullptr;
        const tav::platform::PixelBuffer* screen = surface != nullptr ? surface->GetDDSurface() : nullptr;
        // Only a full screen that covers the back buffer exactly keeps it up to date piece by piece.
        const bool covers = screen != nullptr && child->GetX() == 0 && child->GetY() == 0 &&
                            screen->width() == m_width && screen->height() == m_height;
        const bool whole = runtime.composeAll || runtime.fullRedraw || !covers;
        const tav::platform::PixelRect box{5, 5, 105, 21};
        if (runtime.fullRedraw && child != nullptr)
            InvalidateAll(child);
        if (!covers)
            m_backBuffer->Fill(0);
        else if (!whole) {
            // What the hooks (and the frame-rate box, now hidden) drew last frame goes back to the screen's.
            if (runtime.frameRateShown && !m_showFrameRate)
                runtime.hookArea.Add(box);
            tav::platform::CopyRegion(pixels, *screen, runtime.hookArea);
        }
        if (child != nullptr) {
            child->Update();
            if (!child->IsDiscarded() && child->GetSurface() != nullptr) {
                child->RedrawBackBuffer();
                tav::platform::PixelBuffer& now = *child->GetSurface()->GetDDSurface();
                const DirtyRegion changed = now.TakeDamage();
                if (whole)
                    child->GetSurface()->Blt(&pixels, child->GetX(), child->GetY());
                else
                    tav::platform::CopyRegion(pixels, now, changed);
            }
        }
        DirtyRegion composed = pixels.TakeDamage();
        if (whole)
            composed.Add(pixels.Bounds());
        if (child != nullptr && !child->IsDiscarded())
            child->AfterDisplay(m_backBuffer);
        DirtyRegion hooks = pixels.TakeDamage();
        const bool boxDue =
            runtime.frameRateStale || !runtime.frameRateShown || composed.Meets(box) || hooks.Meets(box);
        if (m_showFrameRate && runtime.frameRate != nullptr && boxDue) {
            runtime.frameRate->Display(m_backBuffer);
            runtime.frameRateStale = false;
        }
        runtime.frameRateShown = m_showFrameRate && runtime.frameRate != nullptr;
        composed.Add(pixels.TakeDamage());
        AfterUpdateFrame(m_backBuffer);
        hooks.Add(pixels.TakeDamage());
        shown = composed;
        shown.Add(hooks);
        runtime.hookArea = hooks;
        runtime.composeAll = false;
    }
    if (runtime.quit != 0 || !runtime.display || m_backBuffer == nullptr)
        return false;
    runtime.display->Present(*m_backBuffer->GetDDSurface(), shown, m_waitBlank);

    const std::uint64_t now = runtime.display->Counter();
    const std::uint64_t frequency = runtime.display->Frequency();
    m_frameTime = frequency == 0 ? 0
                                 : static_cast<float>(static_cast<double>(now - runtime.lastCounter) /
                                                      static_cast<double>(frequency));
    runtime.lastCounter = now;
    runtime.secondAccumulator += m_frameTime;
    if (runtime.secondAccumulator >= 1.0f) {
        runtime.secondAccumulator = 0;
        if (runtime.active && runtime.quit == 0) {
            runtime.framesPerSecond = runtime.frameCounter;
            runtime.frameCounter = 0;
            UpdateFrameRateText();
        }
    }
    return !shown.Empty();
}

void CTavApp::InvalidateAll(CTavScreen* screen) {
    screen->Invalidate();
    for (int i = 0; i < screen->GetSubScreenCount(); ++i)
        InvalidateAll(screen->GetSubScreenAt(i));
    if (screen->GetChildScreen() != nullptr)
        InvalidateAll(screen->GetChildScreen());
}

void CTavApp::UpdateFrameRateText() {
    CTavObject* box = tav::TheRuntime().frameRate;
    if (box == nullptr || !m_showFrameRate || box->GetImage() == nullptr)
        return;
    CTavSurface* image = box->GetImage();
    image->Fill(0xFF00);
    image->SetFont("Verdana", 0, 15, 0);
    const std::string text = "FPS: " + std::to_string(tav::TheRuntime().framesPerSecond);
    image->DrawText(0, 0, RGB(255, 0, 0), text.c_str());
    tav::TheRuntime().frameRateStale = true;
}

void CTavApp::Shutdown() {
    tav::Runtime& runtime = tav::TheRuntime();
    if (runtime.frameRate != nullptr) {
        runtime.frameRate->Finish();
        delete runtime.frameRate;
        runtime.frameRate = nullptr;
    }
    // Nothing on the stack runs again (the process ends), so everything can go now.
    runtime.busy = 0;
    if (m_childScreen != nullptr) {
        CTavScreen* child = std::exchange(m_childScreen, nullptr);
        child->Finish();
        delete child;
    }
    tav::FlushDiscarded();
    runtime.quit = 1;
    if (runtime.display)
        runtime.display->Close();
    ReleaseDisplay();
    if (runtime.app == this)
        runtime.app = nullptr;
    tav::platform::EndProcess(0);
}
