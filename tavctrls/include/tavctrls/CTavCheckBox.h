#pragma once

#include "CTavObject.h"

#include <string>

// A check box: a caption beside a box drawn from a checked and an unchecked bitmap.
class CTavCheckBox : public CTavObject {
public:
    CTavCheckBox();
    ~CTavCheckBox() override;

    using CTavObject::Initialize;
    virtual DWORD Initialize(const char* caption, DWORD id, float x, float y, int width, int height,
                             CTavScreen* screen, const char* checkedBitmap, const char* uncheckedBitmap);

    CTavObject* Clone(CTavObject* target, int withScreen) override;
    BOOL OnLMouseUp(int x, int y) override;
    BOOL OnKeyDown(UINT key) override;
    void DrawContent() override;
    DWORD SetWidth(int w) override;
    DWORD SetHeight(int h) override;
    void Restore() override;
    void Finish() override;

    void SetValue(BOOL value);
    BOOL GetValue() const { return m_value; }
    void SetBoxSide(int side);
    int GetBoxSide() const { return m_boxSide; }
    void SetFont(const char* name, int width, int height, int weight);
    void SetTextColor(COLORREF colour);
    COLORREF GetTextColor() const { return m_textColour; }
    void SetBackColor(COLORREF colour);
    COLORREF GetBackColor() const { return m_backColour; }
    const char* GetCaption() const { return m_caption.c_str(); }

private:
    // Flips the value and tells the screen.
    void Toggle();

    std::string m_fontName = "Verdana";
    int m_fontWidth = 0;
    int m_fontHeight = 15;
    int m_fontWeight = 0;
    COLORREF m_textColour = RGB(255, 255, 0);
    COLORREF m_backColour = RGB(0, 0, 255);
    std::string m_caption;
    std::string m_checkedPath;
    std::string m_uncheckedPath;
    CTavObject* m_checkedImage = nullptr;
    CTavObject* m_uncheckedImage = nullptr;
    BOOL m_value = FALSE;
    int m_boxSide = 1;
    int m_boxSize = 20;
};
