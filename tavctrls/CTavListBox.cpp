#include "CTavListBox.h"

#include "CTavScreen.h"
#include "CTavScrollBars.h"
#include "TavCallbackGuard.h"
#include "TavCellDrawing.h"
#include "TavRuntime.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace {

// Non-empty cells, character by character as signed bytes; a prefix is less than the longer text.
bool TextLess(const std::string& a, const std::string& b) {
    const size_t common = std::min(a.size(), b.size());
    for (size_t i = 0; i < common; ++i) {
        const auto ca = static_cast<signed char>(a[i]);
        const auto cb = static_cast<signed char>(b[i]);
        if (ca != cb)
            return ca < cb;
    }
    return a.size() < b.size();
}

// Ceiling of a / b for b > 0.
int CeilDiv(int a, int b) {
    return a >= 0 ? (a + b - 1) / b : -(-a / b);
}

} // namespace

CTavListBox::CTavListBox() = default;

CTavListBox::~CTavListBox() {
    delete m_background;
}

DWORD CTavListBox::Initialize(DWORD id, float x, float y, int width, int height, CTavScreen* screen,
                              const char* background) {
    if (width < 1 || height < 1)
        return TAVERROR_INVALIDARG;
    const char* path = background != nullptr ? background : "";
    const DWORD result = CTavObject::Initialize(id, x, y, path, width, height, screen);
    if (result != TAVERROR_OK)
        return result;
    FinishPart(m_background);
    if (*path != '\0') {
        m_background = new CTavObject;
        m_background->Initialize(TAVID_LIBRARY, 0, 0, path, width, height, nullptr);
        // A surface remembers its bitmap's path only when the bitmap could be read.
        const CTavSurface* image = m_background->GetImage();
        if (image == nullptr || *image->GetBitmapPath() == '\0')
            FinishPart(m_background);
    }
    SetScrollBars(width, height, 4);
    Redraw();
    return TAVERROR_OK;
}

CTavObject* CTavListBox::Clone(CTavObject* target, int withScreen) {
    auto* copy = target != nullptr ? static_cast<CTavListBox*>(target) : new CTavListBox;
    copy->m_columns = m_columns;
    copy->m_rows = m_rows;
    copy->m_backColour = m_backColour;
    copy->m_columnBackColour = m_columnBackColour;
    copy->m_columnHeight = m_columnHeight;
    copy->m_columnFont = m_columnFont;
    copy->m_columnTextColour = m_columnTextColour;
    copy->m_lineColour = m_lineColour;
    copy->m_itemHeight = m_itemHeight;
    copy->m_textColour = m_textColour;
    copy->m_itemFont = m_itemFont;
    copy->m_selection = m_selection;
    copy->m_selectedColour = m_selectedColour;
    FinishPart(copy->m_background);
    if (m_background != nullptr)
        copy->m_background = m_background->Clone(nullptr, 0);
    CopyBaseTo(copy, withScreen);
    copy->CreateImage();
    return copy;
}

// ---- columns and rows ----

int CTavListBox::AddColumn(const char* name, int width) {
    if (width < 1)
        return -1;
    m_columns.push_back({name != nullptr ? name : "", width, SORT_NONE});
    // Every row keeps one cell per column.
    for (Row& row : m_rows)
        row.resize(m_columns.size());
    UpdateContentSize();
    Redraw();
    return GetColumnCount() - 1;
}

int CTavListBox::AddItem(const char* text) {
    if (m_columns.empty())
        return -1;
    Row row(m_columns.size());
    row[0] = text != nullptr ? text : "";
    m_rows.push_back(std::move(row));
    UpdateContentSize();
    // A row out of view changes nothing that is drawn (the bars repaint themselves).
    if (RowDrawn(GetRowCount() - 1))
        Redraw();
    return GetRowCount() - 1;
}

DWORD CTavListBox::SetItemText(int row, int column, const char* text) {
    if (row < 0 || row >= GetRowCount() || column < 0 || column >= GetColumnCount())
        return TAVERROR_INDEX;
    m_rows[static_cast<size_t>(row)][static_cast<size_t>(column)] = text != nullptr ? text : "";
    if (RowDrawn(row))
        Redraw();
    return TAVERROR_OK;
}

std::string CTavListBox::GetItemText(int row) const {
    return GetCellText(row, 0);
}

std::string CTavListBox::GetCellText(int row, int column) const {
    if (row < 0 || row >= GetRowCount() || column < 0 || column >= GetColumnCount())
        return {};
    return m_rows[static_cast<size_t>(row)][static_cast<size_t>(column)];
}

DWORD CTavListBox::RemoveItem(int row) {
    if (row < 0 || row >= GetRowCount())
        return TAVERROR_INDEX;
    m_rows.erase(m_rows.begin() + row);
    // A selection that no longer names a row is none.
    if (m_selection >= GetRowCount())
        m_selection = -1;
    UpdateContentSize();
    Redraw();
    return TAVERROR_OK;
}

void CTavListBox::RemoveAllItems() {
    m_rows.clear();
    m_selection = -1;
    UpdateContentSize();
    Redraw();
}

std::string CTavListBox::GetColumnName(int column) const {
    return column >= 0 && column < GetColumnCount() ? m_columns[static_cast<size_t>(column)].name : "";
}

int CTavListBox::GetColumnWidth(int column) const {
    return column >= 0 && column < GetColumnCount() ? m_columns[static_cast<size_t>(column)].width : 0;
}

int CTavListBox::GetColumnSortState(int column) const {
    return column >= 0 && column < GetColumnCount() ? m_columns[static_cast<size_t>(column)].sortState : 0;
}

DWORD CTavListBox::SetSelection(int row) {
    if (row < 0 || row >= GetRowCount())
        return TAVERROR_INDEX;
    m_selection = row;
    Redraw();
    // Last: the screen may remove this list box.
    if (m_screen != nullptr)
        m_screen->OnListBoxItemChange(m_id, row);
    return TAVERROR_OK;
}

// ---- sorting ----

DWORD CTavListBox::SortByColumn(int column, int order) {
    if (column < 0 || column >= GetColumnCount())
        return TAVERROR_INDEX;
    if (order < SORT_NONE || order > SORT_ASCENDING)
        return TAVERROR_SORTORDER;
    for (Column& each : m_columns)
        each.sortState = SORT_NONE;
    m_columns[static_cast<size_t>(column)].sortState = order;
    if (order != SORT_NONE)
        SortRows(column, order);
    Redraw();
    return TAVERROR_OK;
}

// The order is that of an insertion sort in which an empty cell compares less than any cell, another
// empty one included; ascending moves a row up while it is less than the row above, descending while it
// is not. So ascending puts the empty cells first in reverse order and keeps equal cells in order;
// descending puts the empty cells last in their order and reverses equal cells.
void CTavListBox::SortRows(int column, int order) {
    const auto c = static_cast<size_t>(column);
    std::vector<Row> empty, filled;
    for (Row& row : m_rows)
        (row[c].empty() ? empty : filled).push_back(std::move(row));
    m_rows.clear();
    if (order == SORT_ASCENDING) {
        std::stable_sort(filled.begin(), filled.end(),
                         [c](const Row& a, const Row& b) { return TextLess(a[c], b[c]); });
        m_rows.insert(m_rows.end(), std::make_move_iterator(empty.rbegin()),
                      std::make_move_iterator(empty.rend()));
        m_rows.insert(m_rows.end(), std::make_move_iterator(filled.begin()),
                      std::make_move_iterator(filled.end()));
    } else {
        std::reverse(filled.begin(), filled.end());
        std::stable_sort(filled.begin(), filled.end(),
                         [c](const Row& a, const Row& b) { return TextLess(b[c], a[c]); });
        m_rows.insert(m_rows.end(), std::make_move_iterator(filled.begin()),
                      std::make_move_iterator(filled.end()));
        m_rows.insert(m_rows.end(), std::make_move_iterator(empty.begin()),
                      std::make_move_iterator(empty.end()));
    }
}

// ---- geometry ----

bool CTavListBox::RowDrawn(int row) const {
    int scrollY = 0;
    GetScrollPosition(nullptr, &scrollY);
    const int top = row * m_itemHeight - scrollY + m_columnHeight;
    return top >= 0 && top < m_height;
}

int CTavListBox::ColumnLeft(int column) const {
    int left = 0;
    for (int c = 0; c < column; ++c)
        left += m_columns[static_cast<size_t>(c)].width;
    return left;
}

int CTavListBox::ContentWidth() const {
    return ColumnLeft(GetColumnCount());
}

void CTavListBox::UpdateContentSize() {
    if (auto* bars = dynamic_cast<CTavScrollBars*>(GetScrollBarsObject()))
        bars->SetContentSize(ContentWidth(), GetRowCount() * m_itemHeight + m_columnHeight);
}

void CTavListBox::ScrollTo(int x, int y) {
    if (auto* bars = dynamic_cast<CTavScrollBars*>(GetScrollBarsObject()))
        bars->SetScrollPosition(x, y);
}

int CTavListBox::RowAt(int, int y) const {
    const int inside = y - static_cast<int>(m_appY);
    if (inside < m_columnHeight)
        return -1; // the header covers the rows scrolled under it
    int scrollY = 0;
    GetScrollPosition(nullptr, &scrollY);
    const int numerator = inside - m_columnHeight + scrollY;
    if (numerator < 0)
        return -1;
    const int row = numerator / m_itemHeight;
    return row < GetRowCount() ? row : -1;
}

int CTavListBox::ColumnAt(int x, int y) const {
    const int inside = y - static_cast<int>(m_appY);
    if (inside < 0 || inside >= m_columnHeight)
        return -1;
    int scrollX = 0;
    GetScrollPosition(&scrollX, nullptr);
    // The header is drawn shifted by the horizontal scroll position; so is the point.
    const int point = x - static_cast<int>(m_appX) + scrollX;
    int right = 0;
    for (int c = 0; c < GetColumnCount(); ++c) {
        right += m_columns[static_cast<size_t>(c)].width;
        if (right > point)
            return c;
    }
    return -1;
}

BOOL CTavListBox::Destroyed() const {
    return tav::RemovedDuringCallback(this);
}

// ---- mouse and keys ----

BOOL CTavListBox::OnLMouseDown(int x, int y) {
    tav::BusyScope busy;
    if (y - static_cast<int>(m_appY) < m_columnHeight) {
        const int column = ColumnAt(x, y);
        if (column >= 0) {
            const int state = m_columns[static_cast<size_t>(column)].sortState;
            SortByColumn(column, state == SORT_DESCENDING ? SORT_ASCENDING : SORT_DESCENDING);
        }
        return FALSE;
    }
    const int row = RowAt(x, y);
    if (row < 0)
        return FALSE;
    SetSelection(row);
    return Destroyed();
}

BOOL CTavListBox::OnDoubleClick(int x, int y) {
    tav::BusyScope busy;
    const int row = RowAt(x, y);
    if (row < 0 || m_screen == nullptr)
        return FALSE;
    m_screen->OnListBoxItemDoubleClicked(m_id, row);
    return Destroyed();
}

BOOL CTavListBox::OnRMouseDown(int x, int y) {
    tav::BusyScope busy;
    const int row = RowAt(x, y);
    if (row < 0)
        return FALSE;
    SetSelection(row);
    if (Destroyed())
        return TRUE;
    // The selection's handler may have removed rows.
    if (m_screen == nullptr || row >= GetRowCount())
        return FALSE;
    m_screen->OnListBoxItemRightClicked(m_id, row);
    return Destroyed();
}

BOOL CTavListBox::OnKeyDown(UINT key) {
    if (m_selection < 0 || m_selection >= GetRowCount())
        return FALSE;
    const int last = GetRowCount() - 1;
    int target;
    switch (key) {
    case VK_DOWN:
        target = m_selection + 1;
        break;
    case VK_UP:
        target = m_selection - 1;
        break;
    case VK_HOME:
        target = 0;
        break;
    case VK_END:
        target = last;
        break;
    default:
        return FALSE;
    }
    if (target < 0 || target > last)
        return FALSE;
    tav::BusyScope busy;
    SetSelection(target);
    if (Destroyed())
        return TRUE;
    int scrollX = 0, scrollY = 0;
    GetScrollPosition(&scrollX, &scrollY);
    switch (key) {
    case VK_DOWN:
        if ((target + 1) * m_itemHeight + m_columnHeight >= m_height + scrollY)
            ScrollTo(scrollX, scrollY + m_itemHeight);
        break;
    case VK_UP:
        if (target <= 1)
            ScrollTo(scrollX, scrollY - m_itemHeight);
        else if (target * m_itemHeight < scrollY)
            ScrollTo(scrollX, target * m_itemHeight); // keep the selected row in view
        break;
    case VK_HOME:
        ScrollTo(scrollX, 0);
        break;
    default:
        ScrollTo(scrollX, GetRowCount() * m_itemHeight + m_columnHeight);
        break;
    }
    return FALSE;
}

// ---- drawing ----

void CTavListBox::DrawContent() {
    if (m_image == nullptr || m_image->GetDDSurface() == nullptr)
        return;
    if (m_background != nullptr)
        m_background->Display(m_image);
    else
        m_image->Fill(tav::PixelOfColour(m_backColour));
    int scrollX = 0, scrollY = 0;
    GetScrollPosition(&scrollX, &scrollY);
    CTavSurface scratch;
    if (scratch.Create(m_width, std::max(m_itemHeight, m_columnHeight)) != TAVERROR_OK)
        return;
    const int columns = GetColumnCount();
    std::vector<int> left(static_cast<size_t>(columns) + 1, 0);
    for (int c = 0; c < columns; ++c)
        left[static_cast<size_t>(c) + 1] =
            left[static_cast<size_t>(c)] + m_columns[static_cast<size_t>(c)].width;
    // The width of a column's cells: the last one reaches the right edge.
    auto cellWidth = [&](int c, int x) {
        return c == columns - 1 ? m_width - x : m_columns[static_cast<size_t>(c)].width;
    };

    // Only the rows whose top lies inside the list box are drawn.
    const int firstRow = std::max(0, CeilDiv(scrollY - m_columnHeight, m_itemHeight));
    auto rowTop = [&](int r) { return r * m_itemHeight - scrollY + m_columnHeight; };
    scratch.SetFont(m_itemFont.name.c_str(), m_itemFont.width, m_itemFont.height, m_itemFont.weight);
    for (int r = firstRow; r < GetRowCount() && rowTop(r) < m_height; ++r) {
        const COLORREF fill = r == m_selection ? m_selectedColour : m_backColour;
        const Row& row = m_rows[static_cast<size_t>(r)];
        for (int c = 0; c < columns; ++c) {
            const int x = left[static_cast<size_t>(c)] - scrollX;
            tav::DrawCell(*m_image, scratch, x, rowTop(r), cellWidth(c, x), m_itemHeight, fill, m_textColour,
                          row[static_cast<size_t>(c)]);
        }
    }

    // The header stays at the top.
    scratch.SetFont(m_columnFont.name.c_str(), m_columnFont.width, m_columnFont.height, m_columnFont.weight);
    for (int c = 0; c < columns; ++c) {
        const int x = left[static_cast<size_t>(c)] - scrollX;
        tav::DrawCell(*m_image, scratch, x, 0, cellWidth(c, x), m_columnHeight, m_columnBackColour,
                      m_columnTextColour, m_columns[static_cast<size_t>(c)].name);
    }

    m_image->DrawLine(0, m_columnHeight, m_width, m_columnHeight, m_lineColour);
    for (int c = 1; c < columns; ++c) {
        const int x = left[static_cast<size_t>(c)] - scrollX;
        m_image->DrawLine(x, 0, x, m_height, m_lineColour);
    }
    for (int r = std::max(1, firstRow); r < GetRowCount() && rowTop(r) < m_height; ++r)
        if (rowTop(r) > m_columnHeight)
            m_image->DrawLine(0, rowTop(r), m_width, rowTop(r), m_lineColour);
}

// ---- appearance ----

void CTavListBox::SetFont(const char* name, int width, int height, int weight) {
    m_itemFont = {name != nullptr ? name : "", ClampLength(width), ClampLength(height), weight};
    Redraw();
}

void CTavListBox::SetTextColor(COLORREF colour) {
    m_textColour = colour;
    Redraw();
}

void CTavListBox::SetBackColor(COLORREF colour) {
    m_backColour = colour;
    Redraw();
}

void CTavListBox::SetColumnFont(const char* name, int width, int height, int weight) {
    m_columnFont = {name != nullptr ? name : "", ClampLength(width), ClampLength(height), weight};
    Redraw();
}

void CTavListBox::SetColumnTextColor(COLORREF colour) {
    m_columnTextColour = colour;
    Redraw();
}

void CTavListBox::SetColumnBackColor(COLORREF colour) {
    m_columnBackColour = colour;
    Redraw();
}

void CTavListBox::SetSelectedColor(COLORREF colour) {
    m_selectedColour = colour;
    Redraw();
}

void CTavListBox::SetLineColor(COLORREF colour) {
    m_lineColour = colour;
    Redraw();
}

void CTavListBox::SetColumnHeight(int height) {
    if (height < 1)
        return;
    m_columnHeight = ClampLength(height);
    UpdateContentSize();
    Redraw();
}

void CTavListBox::SetItemHeight(int height) {
    if (height < 1)
        return;
    m_itemHeight = ClampLength(height);
    UpdateContentSize();
    Redraw();
}

// ---- size and lifetime ----

DWORD CTavListBox::SetWidth(int w) {
    if (w < 1)
        return TAVERROR_INVALIDARG;
    if (m_background != nullptr)
        m_background->SetWidth(w);
    return CTavObject::SetWidth(w);
}

DWORD CTavListBox::SetHeight(int h) {
    if (h < 1)
        return TAVERROR_INVALIDARG;
    if (m_background != nullptr)
        m_background->SetHeight(h);
    return CTavObject::SetHeight(h);
}

void CTavListBox::Restore() {
    if (m_background != nullptr)
        m_background->Restore();
    CTavObject::Restore();
}

void CTavListBox::Finish() {
    FinishPart(m_background);
    CTavObject::Finish();
}

BOOL CTavListBox::OnMouseWheel(int, int, int delta) {
    return m_scrollBars != nullptr && m_scrollBars->Wheel(delta, 3 * m_itemHeight) ? TRUE : FALSE;
}
