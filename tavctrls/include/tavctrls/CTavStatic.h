#pragma once

#include "CTavObject.h"

#include <cstddef>
#include <string>
#include <vector>

// A text label, single- or multi-line, on a back colour or a background bitmap.
class CTavStatic : public CTavObject {
public:
    CTavStatic();
    ~CTavStatic() override;

    using CTavObject::Initialize;
    virtual DWORD Initialize(const char* text, DWORD id, float x, float y, int width, int height,
                             CTavScreen* screen, const char* backBitmap = "");

    CTavObject* Clone(CTavObject* target, int withScreen) override;
    void DrawContent() override;
    DWORD SetWidth(int w) override;
    DWORD SetHeight(int h) override;
    void Restore() override;
    void Finish() override;

    void SetText(const char* text);
    void SetMultiline(BOOL multiline);
    void SetFont(const char* name, int width, int height, int weight);
    void SetTextColor(COLORREF colour);
    void SetBackColor(COLORREF colour);
    COLORREF GetBackColor() const { return m_backColour; }
    void SetTextExtent(int x, int y);

    const char* GetText() const { return m_text.c_str(); }
    BOOL IsMultiline() const { return m_multiline; }
    COLORREF GetTextColor() const { return m_textColour; }
    const std::vector<std::string>& GetLines() const { return m_lines; }
    const char* GetFontName() const { return m_fontName.c_str(); }
    int GetFontHeight() const { return m_fontHeight; }
    int GetFontWidth() const { return m_fontWidth; }
    int GetFontWeight() const { return m_fontWeight; }
    int GetTextOffsetX() const { return m_textOffsetX; }
    int GetTextOffsetY() const { return m_textOffsetY; }
    CTavObject* GetBackgroundImage() const { return m_background; }

protected:
    // Fills the image with the back colour or covers it with the background bitmap.
    void PaintBack();
    // A strip of the static's width and one line's height, in its font; false when it cannot be made.
    bool MakeStrip(CTavSurface& strip) const;
    // Draws the display line that starts at byte `from` of the text into the strip.
    virtual void DrawLineStrip(CTavSurface& strip, std::size_t from, const std::string& line);
    // Puts a drawn strip onto the image at (x, y).
    void BlitStrip(CTavSurface& strip, int x, int y);
    // Breaks the text into display lines.
    virtual void Layout();
    // The width of `text` in pixels with the static's font.
    int MeasureWidth(const std::string& text);

    std::vector<std::string> m_lines;
    std::string m_text;
    std::string m_fontName = "Verdana";
    int m_fontWidth = 0;
    int m_fontHeight = 15;
    int m_fontWeight = 0;
    COLORREF m_textColour = RGB(255, 0, 0);
    COLORREF m_backColour = RGB(64, 255, 64);
    BOOL m_multiline = FALSE;
    CTavObject* m_background = nullptr;
    int m_textOffsetX = 0;
    int m_textOffsetY = 0;
};
