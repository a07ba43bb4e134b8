#include "CTavPopupMenu.h"

#include "CTavScreen.h"
#include "TavRuntime.h"

#include <algorithm>
#include <cmath>

CTavPopupMenu::CTavPopupMenu() = default;

CTavPopupMenu::~CTavPopupMenu() {
    delete m_background;
}

DWORD CTavPopupMenu::Initialize(float x, float y, int width, int height, CTavScreen* screen,
                                const char* background) {
    if (width < 1 || height < 1)
        return TAVERROR_INVALIDARG;
    if (screen == nullptr)
        return TAVERROR_NOPARENT;
    if (background == nullptr || *background == '\0')
        return TAVERROR_LOADBITMAP;
    const DWORD result = CTavObject::Initialize(TAVID_LIBRARY, x, y, width, height, screen);
    if (result != TAVERROR_OK)
        return result;
    FinishPart(m_background);
    m_background = new CTavObject;
    const DWORD loaded = m_background->Initialize(TAVID_LIBRARY, 0, 0, background, width, height, nullptr);
    if (loaded != TAVERROR_OK) {
        Finish();
        return loaded;
    }
    Redraw();
    return TAVERROR_OK;
}

void CTavPopupMenu::AddItem(const char* text) {
    if (text == nullptr || *text == '\0' || HasItem(text))
        return;
    m_items.emplace_back(text);
    Redraw();
}

BOOL CTavPopupMenu::HasItem(const char* text) const {
    return text != nullptr && std::find(m_items.begin(), m_items.end(), text) != m_items.end();
}

const char* CTavPopupMenu::GetItem(int index) const {
    return index >= 0 && index < GetItemCount() ? m_items[static_cast<size_t>(index)].c_str() : nullptr;
}

int CTavPopupMenu::ItemAt(int x, int y) {
    if (!HitTest(x, y))
        return -1;
    // Rounded down, so that a point just above the first row is no item.
    const auto row =
        static_cast<int>(std::floor((static_cast<float>(y) - m_appY) / static_cast<float>(m_itemHeight)));
    return row >= 0 && row < GetItemCount() ? row : -1;
}

void CTavPopupMenu::SetItemHeight(int height) {
    if (height < 1)
        return;
    m_itemHeight = ClampLength(height);
    Redraw();
}

void CTavPopupMenu::SetFont(const char* name, int width, int height, int weight) {
    m_fontName = name != nullptr ? name : "";
    m_fontWidth = ClampLength(width);
    m_fontHeight = ClampLength(height);
    m_fontWeight = weight;
    Redraw();
}

void CTavPopupMenu::SetTextColor(COLORREF colour) {
    m_textColour = colour;
    Redraw();
}

void CTavPopupMenu::SetHighlightColor(COLORREF colour) {
    m_highlightColour = colour;
    Redraw();
}

BOOL CTavPopupMenu::OnMouseMove(int x, int y, BOOL) {
    const int item = ItemAt(x, y);
    if (item != m_highlighted) {
        m_highlighted = item;
        Redraw();
    }
    return FALSE;
}

BOOL CTavPopupMenu::OnLMouseUp(int x, int y) {
    const int item = ItemAt(x, y);
    if (item < 0 || m_screen == nullptr)
        return FALSE;
    // The menu is closed before the screen hears of the choice, so the handler may open another one;
    // closing may delete this menu, so only copies are used afterwards.
    CTavScreen* screen = m_screen;
    const std::string chosen = m_items[static_cast<size_t>(item)];
    if (screen->GetPopupMenu() == this)
        screen->ClosePopupMenu();
    screen->OnPopupMenuItemClicked(chosen.c_str());
    return FALSE;
}

void CTavPopupMenu::DrawContent() {
    if (m_image == nullptr || m_image->GetDDSurface() == nullptr)
        return;
    if (m_background != nullptr && m_background->GetImage() != nullptr &&
        m_background->GetImage()->GetDDSurface() != nullptr)
        m_background->Display(m_image);
    else
        m_image->Fill(0);
    m_image->SetFont(m_fontName.c_str(), m_fontWidth, m_fontHeight, m_fontWeight);
    for (int i = 0; i < GetItemCount(); ++i) {
        const int top = i * m_itemHeight;
        if (top >= m_height)
            break;
        if (i == m_highlighted)
            m_image->FillRect(0, top, m_width, std::min(top + m_itemHeight, m_height),
                              tav::PixelOfColour(m_highlightColour));
        m_image->DrawText(0, top, m_textColour, m_items[static_cast<size_t>(i)].c_str());
    }
}

DWORD CTavPopupMenu::SetWidth(int w) {
    if (w < 1)
        return TAVERROR_INVALIDARG;
    if (m_background != nullptr)
        m_background->SetWidth(w);
    return CTavObject::SetWidth(w);
}

DWORD CTavPopupMenu::SetHeight(int h) {
    if (h < 1)
        return TAVERROR_INVALIDARG;
    if (m_background != nullptr)
        m_background->SetHeight(h);
    return CTavObject::SetHeight(h);
}

void CTavPopupMenu::Restore() {
    if (m_background != nullptr)
        m_background->Restore();
    CTavObject::Restore();
}

void CTavPopupMenu::Finish() {
    FinishPart(m_background);
    CTavObject::Finish();
}
