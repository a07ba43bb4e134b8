#pragma once

#include "CTavObject.h"

#include <string>

// A three-state bitmap button (up, over, down) with a caption placed by an offset.
class CTavButton : public CTavObject {
public:
    CTavButton();
    ~CTavButton() override;

    using CTavObject::Initialize;
    virtual DWORD Initialize(const char* caption, DWORD id, float x, float y, int width, int height,
                             CTavScreen* screen, const char* up, const char* over, const char* down);

    CTavObject* Clone(CTavObject* target, int withScreen) override;
    BOOL OnMouseMove(int x, int y, BOOL inside) override;
    BOOL OnLMouseDown(int x, int y) override;
    BOOL OnLMouseUp(int x, int y) override;
    void DrawContent() override;
    DWORD SetWidth(int w) override;
    DWORD SetHeight(int h) override;
    void Restore() override;
    void Finish() override;

    void SetTextColor(COLORREF colour);
    void SetFont(const char* name, int width, int height, int weight);
    void SetTextOffset(int x, int y);
    void SetState(int state);
    int GetState() const { return m_state; }
    const char* GetCaption() const { return m_caption.c_str(); }
    COLORREF GetTextColor() const { return m_textColour; }

private:
    CTavObject* StateImage() const;

    std::string m_fontName = "Verdana";
    int m_fontWidth = 0;
    int m_fontHeight = 15;
    int m_fontWeight = FW_BOLD;
    COLORREF m_textColour = 0xFF;
    int m_textOffsetX = 0;
    int m_textOffsetY = 0;
    std::string m_caption;
    int m_state = 0;
    CTavObject* m_upImage = nullptr;
    CTavObject* m_overImage = nullptr;
    CTavObject* m_downImage = nullptr;
    std::string m_upPath;
    std::string m_overPath;
    std::string m_downPath;
};
