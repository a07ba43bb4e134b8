#include "CTavMenuBar.h"

#include "CTavScreen.h"
#include "TavRuntime.h"

#include <algorithm>

namespace {

// Space left and right of an item's text in the drop-down.
constexpr int kItemPadding = 3;
constexpr int kTitleGap = 5;
constexpr int kBarHeight = 16;

} // namespace

CTavMenuBar::CTavMenuBar() = default;

CTavMenuBar::~CTavMenuBar() {
    delete m_dropDown;
}

DWORD CTavMenuBar::Initialize(CTavScreen* screen) {
    if (screen == nullptr || screen->GetType() == TAVSCREEN_SUBSCREEN)
        return TAVERROR_NOPARENT;
    m_owner = screen;
    // No screen of its own: the bar is drawn at its place on the screen's surface, unscrolled.
    return CTavObject::Initialize(TAVID_LIBRARY, 0, 0, screen->GetWidth(), kBarHeight, nullptr);
}

int CTavMenuBar::AddMenu(const char* title) {
    if (title == nullptr || *title == '\0')
        return -1;
    Menu menu;
    menu.title = title;
    m_menus.push_back(std::move(menu));
    Refresh();
    return GetMenuCount() - 1;
}

int CTavMenuBar::AddMenuItem(const char* text, int menu) {
    if (menu < 0 || menu >= GetMenuCount())
        return -1;
    std::vector<std::string>& items = m_menus[static_cast<size_t>(menu)].items;
    items.emplace_back(text != nullptr ? text : "");
    if (m_menus[static_cast<size_t>(menu)].open)
        Refresh();
    return static_cast<int>(items.size()) - 1;
}

void CTavMenuBar::CloseMenus() {
    bool changed = false;
    for (Menu& menu : m_menus) {
        changed = changed || menu.open || menu.highlightedItem != -1;
        menu.open = 0;
        menu.highlightedItem = -1;
    }
    if (changed)
        Refresh();
}

const char* CTavMenuBar::GetMenuTitle(int menu) const {
    return menu >= 0 && menu < GetMenuCount() ? m_menus[static_cast<size_t>(menu)].title.c_str() : nullptr;
}

int CTavMenuBar::GetMenuItemCount(int menu) const {
    return menu >= 0 && menu < GetMenuCount()
               ? static_cast<int>(m_menus[static_cast<size_t>(menu)].items.size())
               : 0;
}

const char* CTavMenuBar::GetMenuItem(int menu, int item) const {
    if (item < 0 || item >= GetMenuItemCount(menu))
        return nullptr;
    return m_menus[static_cast<size_t>(menu)].items[static_cast<size_t>(item)].c_str();
}

int CTavMenuBar::GetTitleX(int menu) const {
    return menu >= 0 && menu < GetMenuCount() ? m_menus[static_cast<size_t>(menu)].x : 0;
}

int CTavMenuBar::GetTitleWidth(int menu) const {
    return menu >= 0 && menu < GetMenuCount() ? m_menus[static_cast<size_t>(menu)].width : 0;
}

BOOL CTavMenuBar::IsMenuOpen(int menu) const {
    return menu >= 0 && menu < GetMenuCount() && m_menus[static_cast<size_t>(menu)].open ? TRUE : FALSE;
}

BOOL CTavMenuBar::IsTitleHighlighted(int menu) const {
    return menu >= 0 && menu < GetMenuCount() && m_menus[static_cast<size_t>(menu)].highlighted ? TRUE
                                                                                                : FALSE;
}

int CTavMenuBar::GetHighlightedItem(int menu) const {
    return menu >= 0 && menu < GetMenuCount() ? m_menus[static_cast<size_t>(menu)].highlightedItem : -1;
}

int CTavMenuBar::GetOpenMenu() const {
    for (int i = 0; i < GetMenuCount(); ++i)
        if (m_menus[static_cast<size_t>(i)].open)
            return i;
    return -1;
}

void CTavMenuBar::SetBackColor(COLORREF colour) {
    m_backColour = colour;
    Refresh();
}

void CTavMenuBar::SetTextColor(COLORREF colour) {
    m_textColour = colour;
    Refresh();
}

void CTavMenuBar::SetHighlightColor(COLORREF colour) {
    m_highlightColour = colour;
    Refresh();
}

void CTavMenuBar::SetFont(const char* name, int width, int height, int weight) {
    if (height < 1)
        return;
    m_fontName = name != nullptr ? name : "";
    m_fontWidth = ClampLength(width);
    m_fontHeight = ClampLength(height);
    m_fontWeight = weight;
    Refresh();
}

// ---- geometry ----

void CTavMenuBar::ToScreen(int& x, int& y) const {
    if (m_owner == nullptr)
        return;
    x -= m_owner->GetAppX();
    y -= m_owner->GetAppY();
}

bool CTavMenuBar::OnBar(int x, int y) const {
    const int left = static_cast<int>(m_x), top = static_cast<int>(m_y);
    return left <= x && x < left + m_width && top <= y && y < top + m_height;
}

bool CTavMenuBar::InDropDown(int x, int y) const {
    if (m_dropDown == nullptr)
        return false;
    const int left = static_cast<int>(m_dropDown->GetX()), top = static_cast<int>(m_dropDown->GetY());
    return left <= x && x < left + m_dropDown->GetWidth() && top <= y && y < top + m_dropDown->GetHeight();
}

int CTavMenuBar::TitleAt(int x) const {
    const int local = x - static_cast<int>(m_x);
    for (int i = 0; i < GetMenuCount(); ++i) {
        const Menu& menu = m_menus[static_cast<size_t>(i)];
        if (menu.x <= local && local < menu.x + menu.width)
            return i;
    }
    return -1;
}

int CTavMenuBar::RowAt(int y) const {
    const int open = GetOpenMenu();
    if (m_dropDown == nullptr || open < 0)
        return -1;
    const int row = (y - static_cast<int>(m_dropDown->GetY())) / m_fontHeight;
    return row >= 0 && row < GetMenuItemCount(open) ? row : -1;
}

int CTavMenuBar::TextWidth(const std::string& text) const {
    int width = 0;
    if (m_image != nullptr)
        m_image->GetTextExtent(text.c_str(), m_fontName.c_str(), m_fontWidth, m_fontHeight, m_fontWeight,
                               &width, nullptr);
    return width;
}

void CTavMenuBar::LayoutTitles() {
    int x = 0;
    for (Menu& menu : m_menus) {
        menu.x = x;
        menu.width = TextWidth(menu.title);
        x += menu.width + kTitleGap;
    }
}

// ---- drawing ----

void CTavMenuBar::Refresh() {
    Redraw();
    if (m_owner != nullptr)
        InvalidateOn(m_owner);
}

void CTavMenuBar::DrawContent() {
    if (m_image == nullptr || m_image->GetDDSurface() == nullptr)
        return;
    LayoutTitles();
    m_image->Fill(tav::PixelOfColour(m_backColour));
    m_image->SetFont(m_fontName.c_str(), m_fontWidth, m_fontHeight, m_fontWeight);
    for (const Menu& menu : m_menus) {
        if (menu.highlighted) {
            const int left = std::clamp(menu.x, 0, m_width);
            m_image->FillRect(left, 0, std::clamp(menu.x + menu.width, left, m_width), m_height,
                              tav::PixelOfColour(m_highlightColour));
        }
        m_image->DrawText(menu.x, 0, m_textColour, menu.title.c_str());
    }
    UpdateDropDown();
}

void CTavMenuBar::UpdateDropDown() {
    const int open = GetOpenMenu();
    if (open < 0 || GetMenuItemCount(open) == 0) {
        FinishPart(m_dropDown);
        return;
    }
    const Menu& menu = m_menus[static_cast<size_t>(open)];
    int widest = 0;
    for (const std::string& item : menu.items)
        widest = std::max(widest, TextWidth(item));
    const int width = std::max(widest + 2 * kItemPadding, menu.width);
    const int height = static_cast<int>(menu.items.size()) * m_fontHeight;
    // Under its title, moved left where it would pass the bar's right end.
    const float x = m_x + static_cast<float>(std::max(0, std::min(menu.x, m_width - width)));
    const float y = m_y + static_cast<float>(m_height);
    if (m_dropDown == nullptr || m_dropDown->GetWidth() != width || m_dropDown->GetHeight() != height) {
        FinishPart(m_dropDown);
        m_dropDown = new CTavObject;
        if (m_dropDown->Initialize(TAVID_LIBRARY, x, y, width, height, nullptr) != TAVERROR_OK) {
            FinishPart(m_dropDown);
            return;
        }
    } else if (m_dropDown->GetX() != x || m_dropDown->GetY() != y) {
        m_dropDown->SetPosition(x, y);
    }
    PaintDropDown(menu);
}

void CTavMenuBar::PaintDropDown(const Menu& menu) {
    CTavSurface* image = m_dropDown->GetImage();
    if (image == nullptr || image->GetDDSurface() == nullptr)
        return;
    image->Fill(tav::PixelOfColour(m_backColour));
    image->SetFont(m_fontName.c_str(), m_fontWidth, m_fontHeight, m_fontWeight);
    for (size_t i = 0; i < menu.items.size(); ++i) {
        const int top = static_cast<int>(i) * m_fontHeight;
        if (static_cast<int>(i) == menu.highlightedItem)
            image->FillRect(0, top, image->GetWidth(), top + m_fontHeight,
                            tav::PixelOfColour(m_highlightColour));
        image->DrawText(kItemPadding, top, m_textColour, menu.items[i].c_str());
    }
}

void CTavMenuBar::AfterDisplay(CTavSurface* dest) {
    if (m_dropDown != nullptr && dest != nullptr)
        m_dropDown->Display(dest);
}

// ---- input ----

BOOL CTavMenuBar::HitTest(int x, int y) {
    if (!m_visible)
        return FALSE;
    ToScreen(x, y);
    return OnBar(x, y) || InDropDown(x, y) ? TRUE : FALSE;
}

BOOL CTavMenuBar::OnMouseMove(int x, int y, BOOL) {
    ToScreen(x, y);
    const bool onBar = OnBar(x, y);
    const int title = onBar ? TitleAt(x) : -1;
    const int open = GetOpenMenu();
    const int row = InDropDown(x, y) ? RowAt(y) : -1;
    bool changed = false;
    for (int i = 0; i < GetMenuCount(); ++i) {
        Menu& menu = m_menus[static_cast<size_t>(i)];
        // Only the title under the mouse is highlighted, and only the open menu's row under it.
        const int highlighted = i == title ? 1 : 0;
        const int item = i == open ? row : -1;
        changed = changed || menu.highlighted != highlighted || menu.highlightedItem != item;
        menu.highlighted = highlighted;
        menu.highlightedItem = item;
    }
    if (changed)
        Refresh();
    return FALSE;
}

BOOL CTavMenuBar::OnLMouseUp(int x, int y) {
    ToScreen(x, y);
    if (InDropDown(x, y)) {
        const int open = GetOpenMenu();
        const int row = RowAt(y);
        if (open < 0 || row < 0)
            return FALSE;
        // The menu closes before the screen hears of the choice: the handler may remove or replace the
        // bar, or destroy the screen, so only copies are used from here on.
        const std::string title = m_menus[static_cast<size_t>(open)].title;
        const std::string item = m_menus[static_cast<size_t>(open)].items[static_cast<size_t>(row)];
        CTavScreen* owner = m_owner;
        CloseMenus();
        return owner != nullptr ? owner->OnMenuItemClicked(title.c_str(), item.c_str()) : FALSE;
    }
    if (!OnBar(x, y)) {
        CloseMenus();
        return FALSE;
    }
    const int title = TitleAt(x);
    for (int i = 0; i < GetMenuCount(); ++i) {
        Menu& menu = m_menus[static_cast<size_t>(i)];
        menu.open = i == title ? !menu.open : 0;
        menu.highlightedItem = -1;
    }
    Refresh();
    return FALSE;
}

void CTavMenuBar::Restore() {
    FinishPart(m_dropDown); // made again when the bar redraws
    CTavObject::Restore();
}

void CTavMenuBar::Finish() {
    FinishPart(m_dropDown);
    CTavObject::Finish();
}
