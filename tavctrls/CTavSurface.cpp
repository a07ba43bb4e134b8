#include "CTavSurface.h"

#include "TavRuntime.h"
#include "tavctrls/platform/BitmapFile.h"
#include "tavctrls/platform/Lines.h"
#include "tavctrls/platform/Text.h"

#include <algorithm>
#include <cstdint>

using tav::platform::PixelBuffer;
using tav::platform::PixelRect;

CTavSurface::CTavSurface() = default;

CTavSurface::~CTavSurface() = default;

DWORD CTavSurface::CreateBuffer(int width, int height, std::unique_ptr<IDirectDrawSurface>& out) {
    auto buffer = std::make_unique<PixelBuffer>();
    if (!buffer->Allocate(width, height))
        return TAVERROR_CREATESURFACE;
    out = std::move(buffer);
    return TAVERROR_OK;
}

DWORD CTavSurface::Create(int width, int height) {
    if (width < 1 || height < 1)
        return TAVERROR_INVALIDARG;
    if (tav::CurrentApp() == nullptr)
        return TAVERROR_NOAPP;
    m_app = tav::CurrentApp();
    m_dcCount = 0;
    m_surface.reset();
    m_width = width;
    m_height = height;
    return CreateBuffer(width, height, m_surface);
}

DWORD CTavSurface::LoadBitmap(const char* path) {
    if (tav::CurrentApp() == nullptr)
        return TAVERROR_NOAPP;
    m_app = tav::CurrentApp();
    PixelBuffer picture;
    if (path == nullptr || !tav::platform::LoadBitmapFile(path, picture))
        return TAVERROR_LOADBITMAP;
    m_bitmapPath = path;
    m_dcCount = 0;
    m_width = picture.width();
    m_height = picture.height();
    m_surface = std::make_unique<PixelBuffer>(std::move(picture));
    return TAVERROR_OK;
}

DWORD CTavSurface::LoadBitmap(const char* path, int width, int height) {
    if (width < 1 || height < 1)
        return TAVERROR_INVALIDARG;
    if (tav::CurrentApp() == nullptr)
        return TAVERROR_NOAPP;
    // A failed load leaves the target cleared to black, never undefined.
    const DWORD created = Create(width, height);
    if (created != TAVERROR_OK)
        return created;
    // Stretched straight from the decoded pixels, which are not copied.
    bool stretched = false;
    if (path == nullptr || !tav::platform::ReadBitmapFile(path, [&](const PixelBuffer& picture) {
            stretched =
                tav::platform::StretchRect(*m_surface, m_surface->Bounds(), picture, picture.Bounds());
        }))
        return TAVERROR_LOADBITMAP;
    m_bitmapPath = path;
    return stretched ? TAVERROR_OK : TAVERROR_CREATESURFACE;
}

DWORD CTavSurface::Attach(IDirectDrawSurface* surface) {
    if (surface == nullptr || surface->Empty())
        return TAVERROR_ATTACHSURFACE;
    if (tav::CurrentApp() == nullptr)
        return TAVERROR_NOAPP;
    m_app = tav::CurrentApp();
    m_dcCount = 0;
    m_width = surface->width();
    m_height = surface->height();
    m_surface.reset(surface);
    return TAVERROR_OK;
}

void CTavSurface::Release() {
    m_font.reset();
    m_dcCount = 0;
    m_surface.reset();
}

long CTavSurface::Restore() {
    // Memory surfaces are never lost.
    return m_surface ? 0 : -1;
}

HDC CTavSurface::GetDC() {
    if (!m_surface)
        return nullptr;
    ++m_dcCount;
    return reinterpret_cast<HDC>(m_surface.get());
}

void CTavSurface::ReleaseDC() {
    if (m_dcCount > 0)
        --m_dcCount;
}

DWORD CTavSurface::SetFont(const char* name, int width, int height, int weight) {
    if (name == nullptr || *name == '\0' || height < 1)
        return TAVERROR_FONT;
    auto font = tav::platform::OpenFont({name, width, height, weight});
    if (!font)
        return TAVERROR_FONT;
    m_fontName = name;
    m_fontWidth = width;
    m_fontHeight = height;
    m_fontWeight = weight;
    m_font = std::move(font);
    return TAVERROR_OK;
}

DWORD CTavSurface::DrawText(int x, int y, COLORREF colour, const char* text) {
    if (text == nullptr || *text == '\0')
        return TAVERROR_OK;
    if (GetDC() == nullptr)
        return TAVERROR_TEXTDC;
    // A surface whose font was never set draws with the default settings.
    if (!m_font)
        m_font = tav::platform::OpenFont({m_fontName, m_fontWidth, m_fontHeight, m_fontWeight});
    if (m_font)
        tav::platform::DrawText(*m_surface, *m_font, x, y, tav::PixelOfColour(colour), text);
    ReleaseDC();
    return m_font ? TAVERROR_OK : TAVERROR_FONT;
}

DWORD CTavSurface::DrawLine(int x1, int y1, int x2, int y2, COLORREF colour) {
    if (GetDC() == nullptr)
        return TAVERROR_LINEDC;
    tav::platform::DrawLine(*m_surface, x1, y1, x2, y2, tav::PixelOfColour(colour));
    ReleaseDC();
    return TAVERROR_OK;
}

void CTavSurface::Fill(DWORD pixel) {
    if (m_surface)
        tav::platform::FillRect(*m_surface, m_surface->Bounds(), pixel);
}

DWORD CTavSurface::FillRect(int left, int top, int right, int bottom, DWORD pixel) {
    if (left < 0 || top < 0 || right > m_width || bottom > m_height || right < left || bottom < top)
        return TAVERROR_INVALIDARG;
    if (!m_surface)
        return TAVERROR_DRAW;
    if (right == left || bottom == top)
        return TAVERROR_OK;
    return tav::platform::FillRect(*m_surface, {left, top, right, bottom}, pixel) ? TAVERROR_OK
                                                                                  : TAVERROR_DRAW;
}

long CTavSurface::Blt(IDirectDrawSurface* dest, int x, int y) {
    if (dest == nullptr || !m_surface || dest->Empty())
        return -1;
    if (std::int64_t{x} + m_width < 1 || std::int64_t{y} + m_height < 1)
        return -1;
    PixelRect from{0, 0, m_width, m_height};
    if (x < 0) {
        from.left = -x;
        x = 0;
    }
    if (y < 0) {
        from.top = -y;
        y = 0;
    }
    from.right =
        static_cast<int>(std::min<std::int64_t>(from.right, from.left + std::int64_t{dest->width()} - x));
    from.bottom =
        static_cast<int>(std::min<std::int64_t>(from.bottom, from.top + std::int64_t{dest->height()} - y));
    if (from.Empty())
        return -1;
    return tav::platform::CopyRect(*dest, x, y, *m_surface, from) ? 0 : -1;
}

long CTavSurface::BltStretch(IDirectDrawSurface* dest, int x, int y, int width, int height) {
    // Empty and flipping sizes scale nothing.
    if (dest == nullptr || !m_surface || dest->Empty() || width < 1 || height < 1)
        return -1;
    const std::int64_t right = std::int64_t{x} + width;
    const std::int64_t bottom = std::int64_t{y} + height;
    if (right < 1 || bottom < 1 || x >= dest->width() || y >= dest->height() || right > INT32_MAX ||
        bottom > INT32_MAX)
        return -1;
    const PixelRect to{x, y, static_cast<int>(right), static_cast<int>(bottom)};
    return tav::platform::StretchRectPart(*dest, to, *m_surface, m_surface->Bounds()) ? 0 : -1;
}

bool CTavSurface::ClipSourceAt(const IDirectDrawSurface& dest, int& x, int& y, PixelRect& from) const {
    from = {0, 0, m_width, m_height};
    if (x < 0) {
        if (std::int64_t{m_width} + x < 0)
            return false;
        from.left = -x;
        x = 0;
    }
    if (y < 0) {
        if (std::int64_t{m_height} + y < 0)
            return false;
        from.top = -y;
        y = 0;
    }
    if (x >= dest.width() || y >= dest.height())
        return false;
    from.right =
        static_cast<int>(std::min<std::int64_t>(from.right, from.left + std::int64_t{dest.width()} - x));
    from.bottom =
        static_cast<int>(std::min<std::int64_t>(from.bottom, from.top + std::int64_t{dest.height()} - y));
    return !from.Empty();
}

long CTavSurface::BltTransparent(IDirectDrawSurface* dest, int x, int y, DWORD colourKey) {
    if (dest == nullptr || !m_surface || dest->Empty())
        return -1;
    PixelRect from;
    if (!ClipSourceAt(*dest, x, y, from))
        return -1;
    return tav::platform::CopyRectKeyed(*dest, x, y, *m_surface, from, colourKey) ? 0 : -1;
}

long CTavSurface::BltAlpha(IDirectDrawSurface* dest, int x, int y, int alpha) {
    if (dest == nullptr || !m_surface || dest->Empty())
        return -1;
    PixelRect from;
    if (!ClipSourceAt(*dest, x, y, from))
        return -1;
    return tav::platform::BlendRect(*dest, x, y, *m_surface, from, alpha) ? 0 : -1;
}

BOOL CTavSurface::GetTextExtent(const char* text, const char* fontName, int fontWidth, int fontHeight,
                                int fontWeight, int* width, int* height) {
    int cx = 0, cy = 0;
    BOOL ok = FALSE;
    if (GetDC() != nullptr) {
        auto font = tav::platform::OpenFont(
            {fontName == nullptr ? std::string() : std::string(fontName), fontWidth, fontHeight, fontWeight});
        if (font) {
            const auto extent = tav::platform::MeasureText(*font, text == nullptr ? "" : text);
            cx = extent.width;
            cy = extent.height;
            ok = TRUE;
        }
        ReleaseDC();
    }
    if (width != nullptr)
        *width = cx;
    if (height != nullptr)
        *height = cy;
    return ok;
}
