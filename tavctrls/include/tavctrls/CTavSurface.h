#pragma once

#include "TavErrors.h"
#include "TavWindows.h"

#include <memory>
#include <string>

namespace tav::platform {
class Font;
class PixelBuffer;
struct PixelRect;
} // namespace tav::platform

// The pixels a surface draws on and blits to: 32-bit 0x00RRGGBB values in memory.
typedef tav::platform::PixelBuffer IDirectDrawSurface;

class CTavApp;

// The library's only drawing target: an image that can be created empty or from a bitmap file, blitted
// onto another surface (plain, stretched, colour-keyed, alpha-blended), filled, and written on with
// text and lines.
class CTavSurface {
public:
    CTavSurface();
    CTavSurface(const CTavSurface&) = delete;
    CTavSurface& operator=(const CTavSurface&) = delete;
    virtual ~CTavSurface();

    DWORD Create(int width, int height);
    DWORD LoadBitmap(const char* path);
    DWORD LoadBitmap(const char* path, int width, int height);
    // Adopts `surface` (the surface owns it from then on).
    DWORD Attach(IDirectDrawSurface* surface);
    void Release();
    long Restore();

    HDC GetDC();
    void ReleaseDC();

    DWORD SetFont(const char* name, int width, int height, int weight);
    DWORD DrawText(int x, int y, COLORREF colour, const char* text);
    DWORD DrawLine(int x1, int y1, int x2, int y2, COLORREF colour);
    // Fills and colour keys here are raw pixels (0x00RRGGBB); text and line colours are COLORREFs.
    void Fill(DWORD pixel);
    DWORD FillRect(int left, int top, int right, int bottom, DWORD pixel);

    // Blits return 0 on success and -1 when there is nothing to draw.
    long Blt(IDirectDrawSurface* dest, int x, int y);
    long BltStretch(IDirectDrawSurface* dest, int x, int y, int width, int height);
    long BltTransparent(IDirectDrawSurface* dest, int x, int y, DWORD colourKey);
    long BltAlpha(IDirectDrawSurface* dest, int x, int y, int alpha);

    // The text's extent (advances and cell height) with a font of these settings, measured on this
    // surface; FALSE with 0 x 0 when the surface has no pixels or the font cannot be had.
    BOOL GetTextExtent(const char* text, const char* fontName, int fontWidth, int fontHeight, int fontWeight,
                       int* width, int* height);

    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    IDirectDrawSurface* GetDDSurface() const { return m_surface.get(); }
    const char* GetBitmapPath() const { return m_bitmapPath.c_str(); }
    const char* GetFontName() const { return m_fontName.c_str(); }
    int GetFontHeight() const { return m_fontHeight; }
    int GetFontWidth() const { return m_fontWidth; }
    int GetFontWeight() const { return m_fontWeight; }
    int GetDCCount() const { return m_dcCount; }

private:
    DWORD CreateBuffer(int width, int height, std::unique_ptr<IDirectDrawSurface>& out);
    // The rectangles of a keyed or alpha blit, clipped; false when nothing is left.
    bool ClipSourceAt(const IDirectDrawSurface& dest, int& x, int& y, tav::platform::PixelRect& from) const;

    int m_width = 0;
    int m_height = 0;
    std::string m_bitmapPath;
    CTavApp* m_app = nullptr;
    std::unique_ptr<IDirectDrawSurface> m_surface;
    std::string m_fontName = "Verdana";
    int m_fontWidth = 0;
    int m_fontHeight = 15;
    int m_fontWeight = 0;
    std::shared_ptr<const tav::platform::Font> m_font;
    int m_dcCount = 0;
};
