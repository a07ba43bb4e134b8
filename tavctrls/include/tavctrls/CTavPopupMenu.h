#pragma once

#include "CTavObject.h"

#include <string>
#include <vector>

// A list of text items over a screen (made its popup menu with CTavScreen::SetPopupMenu) until one is
// chosen; the choice reaches the screen's OnPopupMenuItemClicked.
class CTavPopupMenu : public CTavObject {
public:
    CTavPopupMenu();
    ~CTavPopupMenu() override;

    using CTavObject::Initialize;
    virtual DWORD Initialize(float x, float y, int width, int height, CTavScreen* screen,
                             const char* background);

    // Empty texts and texts already present are ignored.
    void AddItem(const char* text);
    BOOL HasItem(const char* text) const;
    int GetItemCount() const { return static_cast<int>(m_items.size()); }
    const char* GetItem(int index) const;
    // The item under an application-area point, or -1.
    int ItemAt(int x, int y);
    int GetHighlightedItem() const { return m_highlighted; }

    // Heights below 1 are ignored.
    void SetItemHeight(int height);
    int GetItemHeight() const { return m_itemHeight; }
    void SetFont(const char* name, int width, int height, int weight);
    void SetTextColor(COLORREF colour);
    COLORREF GetTextColor() const { return m_textColour; }
    void SetHighlightColor(COLORREF colour);
    COLORREF GetHighlightColor() const { return m_highlightColour; }
    CTavObject* GetBackgroundImage() const { return m_background; }

    BOOL OnMouseMove(int x, int y, BOOL inside) override;
    BOOL OnLMouseUp(int x, int y) override;
    void DrawContent() override;
    DWORD SetWidth(int w) override;
    DWORD SetHeight(int h) override;
    void Restore() override;
    void Finish() override;

private:
    CTavObject* m_background = nullptr;
    std::vector<std::string> m_items;
    int m_itemHeight = 15;
    std::string m_fontName = "Verdana";
    int m_fontHeight = 15;
    int m_fontWidth = 0;
    int m_fontWeight = 0;
    COLORREF m_textColour = 0xFF00;
    COLORREF m_highlightColour = RGB(128, 128, 128);
    int m_highlighted = -1;
};
