#pragma once

#include "CTavObject.h"

#include <string>
#include <vector>

// Titles along the top of a screen (made its menu bar with CTavScreen::SetMenuBar), each opening a
// drop-down list; a chosen item reaches the screen's OnMenuItemClicked (title, item). The bar is as
// wide as the screen and works in the screen's coordinates without scrolling with it.
class CTavMenuBar : public CTavObject {
public:
    CTavMenuBar();
    ~CTavMenuBar() override;

    using CTavObject::Initialize;
    virtual DWORD Initialize(CTavScreen* screen);

    // The new menu's index, or -1 for an empty title.
    int AddMenu(const char* title);
    // The new item's index in that menu, or -1 for an invalid menu.
    int AddMenuItem(const char* text, int menu);
    void CloseMenus();

    int GetMenuCount() const { return static_cast<int>(m_menus.size()); }
    const char* GetMenuTitle(int menu) const;
    int GetMenuItemCount(int menu) const;
    const char* GetMenuItem(int menu, int item) const;
    // The title's place on the bar, as last laid out.
    int GetTitleX(int menu) const;
    int GetTitleWidth(int menu) const;
    // The width of `text` in the bar's font (0 before the bar is initialized).
    int TextWidth(const std::string& text) const;
    BOOL IsMenuOpen(int menu) const;
    BOOL IsTitleHighlighted(int menu) const;
    int GetHighlightedItem(int menu) const;
    // The open menu's index, or -1.
    int GetOpenMenu() const;
    // The open menu's list (in the screen's coordinates), or NULL.
    CTavObject* GetDropDown() const { return m_dropDown; }
    CTavScreen* GetOwnerScreen() const { return m_owner; }

    void SetBackColor(COLORREF colour);
    COLORREF GetBackColor() const { return m_backColour; }
    void SetTextColor(COLORREF colour);
    COLORREF GetTextColor() const { return m_textColour; }
    void SetHighlightColor(COLORREF colour);
    COLORREF GetHighlightColor() const { return m_highlightColour; }
    // The height is also a drop-down row's; heights below 1 are ignored.
    void SetFont(const char* name, int width, int height, int weight);
    int GetFontHeight() const { return m_fontHeight; }

    // On the bar or inside the open drop-down.
    BOOL HitTest(int x, int y) override;
    BOOL OnMouseMove(int x, int y, BOOL inside) override;
    BOOL OnLMouseUp(int x, int y) override;
    void DrawContent() override;
    // Draws the open drop-down over what lies below the bar.
    void AfterDisplay(CTavSurface* dest) override;
    void Restore() override;
    void Finish() override;

private:
    struct Menu {
        std::string title;
        std::vector<std::string> items;
        int x = 0;
        int width = 0;
        int highlighted = 0;
        int open = 0;
        int highlightedItem = -1;
    };

    // Application-area point to the screen's coordinates.
    void ToScreen(int& x, int& y) const;
    bool OnBar(int x, int y) const;
    bool InDropDown(int x, int y) const;
    int TitleAt(int x) const;
    int RowAt(int y) const;
    void LayoutTitles();
    void UpdateDropDown();
    void PaintDropDown(const Menu& menu);
    // Redraws the bar and its drop-down and has the screen show them.
    void Refresh();

    CTavScreen* m_owner = nullptr;
    std::vector<Menu> m_menus;
    COLORREF m_backColour = RGB(64, 64, 64);
    COLORREF m_textColour = 0xFF00;
    COLORREF m_highlightColour = RGB(0, 0, 255);
    std::string m_fontName = "Verdana";
    int m_fontWidth = 0;
    int m_fontHeight = 15;
    int m_fontWeight = 0;
    CTavObject* m_dropDown = nullptr;
};
