#include "CTavObject.h"

#include "CTavApp.h"
#include "CTavScreen.h"
#include "CTavScrollBarsBase.h"
#include "TavRuntime.h"

#include <algorithm>
#include <cmath>
#include <vector>

CTavObject::CTavObject() = default;

float CTavObject::ClampCoordinate(float value) {
    return std::isnan(value) ? 0.0F : std::clamp(value, -kMaxCoordinate, kMaxCoordinate);
}

int CTavObject::ClampCoordinate(int value) {
    constexpr int limit = static_cast<int>(kMaxCoordinate);
    return std::clamp(value, -limit, limit);
}

int CTavObject::ClampLength(int length) {
    return std::clamp(length, -kMaxLength, kMaxLength);
}

CTavObject::~CTavObject() {
    // Owners call Finish first; this only catches what was left (an object never added anywhere).
    delete m_scrollBars;
    delete m_image;
}

CTavObject* CTavObject::Clone(CTavObject* target, int withScreen) {
    if (target == nullptr)
        target = new CTavObject;
    CopyBaseTo(target, withScreen);
    target->CreateImage();
    return target;
}

void CTavObject::CopyBaseTo(CTavObject* target, int withScreen) const {
    target->m_visible = m_visible;
    target->m_specialBlit = m_specialBlit;
    target->m_alphaMode = m_alphaMode;
    target->m_alpha = m_alpha;
    target->m_colourKey = m_colourKey;
    target->m_id = m_id;
    target->m_bitmapPath = m_bitmapPath;
    target->m_width = m_width;
    target->m_height = m_height;
    target->m_app = m_app;
    target->m_screen = withScreen ? m_screen : nullptr;
    target->m_speedX = m_speedX;
    target->m_speedY = m_speedY;
    target->SetPosition(m_x, m_y);
}

void CTavObject::AfterSetScrollPosition(int, int, int, int) {}
BOOL CTavObject::OnMouseMove(int, int, BOOL) {
    return FALSE;
}
BOOL CTavObject::OnLMouseDown(int, int) {
    return FALSE;
}
BOOL CTavObject::OnLMouseUp(int, int) {
    return FALSE;
}
BOOL CTavObject::OnMouseWheel(int, int, int) {
    return FALSE;
}
BOOL CTavObject::OnKeyDown(UINT) {
    return FALSE;
}
BOOL CTavObject::OnDoubleClick(int, int) {
    return FALSE;
}
BOOL CTavObject::OnChar(char) {
    return FALSE;
}
BOOL CTavObject::OnRMouseDown(int, int) {
    return FALSE;
}
BOOL CTavObject::OnRMouseUp(int, int) {
    return FALSE;
}
void CTavObject::AfterDisplay(CTavSurface*) {}
void CTavObject::AfterUpdate() {}
void CTavObject::AfterRestore() {}
void CTavObject::AfterSetPosition(float, float) {}
void CTavObject::AfterSetWidth(int) {}
void CTavObject::AfterSetHeight(int) {}
void CTavObject::AfterInitialize() {}
void CTavObject::AfterFinish() {}
void CTavObject::DrawContent() {}

DWORD CTavObject::Initialize(DWORD id, float x, float y, const char* bitmap, CTavScreen* screen) {
    m_id = id;
    if (tav::CurrentApp() == nullptr)
        return TAVERROR_NOAPP;
    m_app = tav::CurrentApp();
    m_screen = screen;
    m_width = 0;
    m_height = 0;
    SetPosition(x, y);
    m_bitmapPath = bitmap == nullptr ? "" : bitmap;
    CreateImage();
    m_width = m_image->GetWidth();
    m_height = m_image->GetHeight();
    if (m_width < 1 || m_height < 1)
        return TAVERROR_INVALIDARG;
    AfterInitialize();
    return TAVERROR_OK;
}

DWORD CTavObject::Initialize(DWORD id, float x, float y, int width, int height, CTavScreen* screen) {
    return Initialize(id, x, y, "", width, height, screen);
}

DWORD CTavObject::Initialize(DWORD id, float x, float y, const char* bitmap, int width, int height,
                             CTavScreen* screen) {
    m_id = id;
    if (tav::CurrentApp() == nullptr)
        return TAVERROR_NOAPP;
    m_app = tav::CurrentApp();
    m_screen = screen;
    if (!IsValidLength(width) || !IsValidLength(height))
        return TAVERROR_INVALIDARG;
    m_width = width;
    m_height = height;
    SetPosition(x, y);
    m_bitmapPath = bitmap == nullptr ? "" : bitmap;
    CreateImage();
    AfterInitialize();
    return TAVERROR_OK;
}

void CTavObject::CreateImage() {
    if (m_image != nullptr) {
        m_image->Release();
        delete m_image;
    }
    m_image = new CTavSurface;
    if (!m_bitmapPath.empty()) {
        if (m_width != 0 && m_height != 0)
            m_image->LoadBitmap(m_bitmapPath.c_str(), m_width, m_height);
        else
            m_image->LoadBitmap(m_bitmapPath.c_str());
    } else {
        m_image->Create(m_width, m_height);
    }
    Redraw();
}

void CTavObject::Redraw() {
    if (!m_redrawEnabled || m_image == nullptr)
        return;
    DrawContent();
    if (m_scrollBars != nullptr)
        m_scrollBars->Draw(m_image);
    InvalidateScreen();
}

void CTavObject::SetRedrawEnabled(BOOL enabled) {
    m_redrawEnabled = enabled ? 1 : 0;
    if (m_redrawEnabled)
        Redraw();
}

void CTavObject::InvalidateScreen() {
    if (m_screen != nullptr)
        InvalidateOn(m_screen);
}

void CTavObject::InvalidateOn(CTavScreen* screen) const {
    // Where it drew last time and where it is now, scrolled as Display scrolls it.
    int scrollX = 0, scrollY = 0;
    if (m_screen != nullptr)
        m_screen->GetScrollPosition(&scrollX, &scrollY);
    const int x = static_cast<int>(m_x) - scrollX, y = static_cast<int>(m_y) - scrollY;
    const auto area = tav::platform::Union({m_drawnLeft, m_drawnTop, m_drawnRight, m_drawnBottom},
                                           {x, y, x + m_width, y + m_height});
    screen->Invalidate(area.left, area.top, area.right, area.bottom);
}

void CTavObject::UpdateAppPosition() {
    if (m_screen == nullptr) {
        m_appX = m_x;
        m_appY = m_y;
        return;
    }
    int scrollX = 0, scrollY = 0;
    m_screen->GetScrollPosition(&scrollX, &scrollY);
    m_appX = static_cast<float>(m_screen->GetAppX()) + m_x - static_cast<float>(scrollX);
    m_appY = static_cast<float>(m_screen->GetAppY()) + m_y - static_cast<float>(scrollY);
}

void CTavObject::SetPosition(float x, float y) {
    x = ClampCoordinate(x);
    y = ClampCoordinate(y);
    m_x = x;
    m_y = y;
    UpdateAppPosition();
    InvalidateScreen();
    if (m_scrollBars != nullptr)
        m_scrollBars->OwnerMoved();
    AfterSetPosition(x, y);
}

DWORD CTavObject::SetWidth(int w) {
    if (!IsValidLength(w))
        return TAVERROR_INVALIDARG;
    m_width = w;
    CreateImage();
    if (m_scrollBars != nullptr)
        m_scrollBars->OwnerResized();
    AfterSetWidth(w);
    return TAVERROR_OK;
}

DWORD CTavObject::SetHeight(int h) {
    if (!IsValidLength(h))
        return TAVERROR_INVALIDARG;
    m_height = h;
    CreateImage();
    if (m_scrollBars != nullptr)
        m_scrollBars->OwnerResized();
    AfterSetHeight(h);
    return TAVERROR_OK;
}

long CTavObject::Display(CTavSurface* dest) {
    if (!m_visible)
        return 0;
    if (dest == nullptr) {
        if (m_screen != nullptr)
            dest = m_screen->GetSurface();
        else if (m_app != nullptr)
            dest = m_app->GetBackBuffer();
    }
    if (dest == nullptr || m_image == nullptr)
        return -1;
    int scrollX = 0, scrollY = 0;
    if (m_screen != nullptr)
        m_screen->GetScrollPosition(&scrollX, &scrollY);
    const int x = static_cast<int>(m_x) - scrollX;
    const int y = static_cast<int>(m_y) - scrollY;
    long result;
    if (m_specialBlit == 0)
        result = m_image->Blt(dest->GetDDSurface(), x, y);
    else if (m_alphaMode)
        result = m_image->BltAlpha(dest->GetDDSurface(), x, y, m_alpha);
    else
        result = m_image->BltTransparent(dest->GetDDSurface(), x, y, tav::PixelOfColour(m_colourKey));
    if (result != 0)
        return result;
    AfterDisplay(dest);
    return 0;
}

BOOL CTavObject::HitTest(int x, int y) {
    if (!m_visible)
        return FALSE;
    return m_appX <= static_cast<float>(x) && static_cast<float>(x) <= m_appX + static_cast<float>(m_width) &&
           m_appY <= static_cast<float>(y) && static_cast<float>(y) <= m_appY + static_cast<float>(m_height);
}

void CTavObject::SetTransparent(BOOL on, COLORREF colourKey) {
    if (on) {
        m_specialBlit = 1;
        m_colourKey = colourKey;
        m_alphaMode = 0;
    } else {
        m_specialBlit = 0;
    }
    Redraw();
}

void CTavObject::SetTranslucent(BOOL on, int alpha) {
    const int wanted = on ? 1 : 0;
    if (wanted == m_specialBlit)
        return;
    m_specialBlit = wanted;
    if (on) {
        m_alpha = alpha;
        m_alphaMode = 1;
    } else {
        m_alphaMode = 0;
    }
    InvalidateScreen();
}

void CTavObject::SetVisible(BOOL visible) {
    const int wanted = visible ? 1 : 0;
    if (wanted == m_visible)
        return;
    m_visible = wanted;
    InvalidateScreen();
}

void CTavObject::SetFocus(BOOL focus) {
    if (!focus) {
        m_focus = 0;
        if (m_screen != nullptr)
            m_screen->OnObjectLostFocus(m_id);
        return;
    }
    if (m_screen != nullptr) {
        CTavScreen* screen = m_screen;
        const DWORD id = m_id;
        // Callbacks may remove objects: walk a copy and skip what has gone.
        for (CTavObject* other : screen->ObjectsSnapshot()) {
            if (other == this || !other->m_focus || !screen->Owns(other))
                continue;
            other->m_focus = 0;
            screen->OnObjectLostFocus(other->m_id);
        }
        m_focus = 1;
        screen->OnObjectGotFocus(id);
        return;
    }
    m_focus = 1;
}

void CTavObject::SetSpeed(float x, float y) {
    m_speedX = x;
    m_speedY = y;
    if (x == 0)
        m_velocityX = 0;
    if (y == 0)
        m_velocityY = 0;
}

void CTavObject::Update() {
    if (m_scrollBars != nullptr)
        m_scrollBars->Update();
    if ((m_speedX != 0 || m_speedY != 0) && m_app != nullptr) {
        m_velocityX = m_speedX * m_app->GetFrameTime();
        m_velocityY = m_speedY * m_app->GetFrameTime();
    }
    if (m_velocityX != 0 || m_velocityY != 0) {
        const float x = ClampCoordinate(m_x + m_velocityX);
        const float y = ClampCoordinate(m_y + m_velocityY);
        if (static_cast<int>(x) == static_cast<int>(m_x) && static_cast<int>(y) == static_cast<int>(m_y)) {
            m_x = x;
            m_y = y;
        } else {
            SetPosition(x, y);
        }
    }
    AfterUpdate();
}

void CTavObject::Restore() {
    m_redrawEnabled = 0;
    if (m_image != nullptr)
        m_image->Restore();
    if (m_scrollBars != nullptr)
        m_scrollBars->Restore();
    CreateImage();
    AfterRestore();
    SetRedrawEnabled(TRUE);
}

void CTavObject::Finish() {
    // Safe to call twice, and on an object whose Initialize failed.
    if (m_scrollBars != nullptr) {
        m_scrollBars->Finish();
        delete m_scrollBars;
        m_scrollBars = nullptr;
    }
    if (m_image != nullptr) {
        m_image->Release();
        delete m_image;
        m_image = nullptr;
    }
    AfterFinish();
}

void CTavObject::FinishPart(CTavObject*& part) {
    if (part == nullptr)
        return;
    part->Finish();
    delete part;
    part = nullptr;
}

void CTavObject::SetScrollBarsObject(CTavScrollBarsBase* bars) {
    if (m_scrollBars != nullptr && m_scrollBars != bars) {
        m_scrollBars->Finish();
        delete m_scrollBars;
    }
    m_scrollBars = bars;
}

void CTavObject::GetScrollPosition(int* x, int* y) const {
    if (x != nullptr)
        *x = m_scrollBars != nullptr ? m_scrollBars->GetScrollX() : 0;
    if (y != nullptr)
        *y = m_scrollBars != nullptr ? m_scrollBars->GetScrollY() : 0;
}
