#pragma once

#include "CTavObject.h"

#include <string>
#include <vector>

// A table: a header row of columns, text rows below it, one selected row, sorting by a column and
// vertical scrolling. Row actions are reported to the screen's list-box callbacks.
class CTavListBox : public CTavObject {
public:
    // Sort states of a column.
    enum SortState { SORT_NONE = 0, SORT_DESCENDING = 1, SORT_ASCENDING = 2 };

    CTavListBox();
    ~CTavListBox() override;

    using CTavObject::Initialize;
    virtual DWORD Initialize(DWORD id, float x, float y, int width, int height, CTavScreen* screen,
                             const char* background);

    // Column index, or -1 when the width is below 1. Rows that exist get an empty cell for it.
    int AddColumn(const char* name, int width);
    // Row index, or -1 without columns; the text goes into the first column.
    int AddItem(const char* text);
    DWORD SetItemText(int row, int column, const char* text);
    // The first cell of a row; empty for a row that does not exist.
    std::string GetItemText(int row) const;
    std::string GetCellText(int row, int column) const;
    DWORD RemoveItem(int row);
    void RemoveAllItems();
    DWORD SetSelection(int row);
    int GetSelection() const { return m_selection; }
    DWORD SortByColumn(int column, int order);

    void SetFont(const char* name, int width, int height, int weight);
    void SetTextColor(COLORREF colour);
    void SetBackColor(COLORREF colour);
    void SetColumnFont(const char* name, int width, int height, int weight);
    void SetColumnTextColor(COLORREF colour);
    void SetColumnBackColor(COLORREF colour);
    void SetSelectedColor(COLORREF colour);
    void SetLineColor(COLORREF colour);
    void SetColumnHeight(int height);
    void SetItemHeight(int height);

    int GetRowCount() const { return static_cast<int>(m_rows.size()); }
    int GetColumnCount() const { return static_cast<int>(m_columns.size()); }
    std::string GetColumnName(int column) const;
    int GetColumnWidth(int column) const;
    int GetColumnSortState(int column) const;
    int GetColumnHeight() const { return m_columnHeight; }
    int GetItemHeight() const { return m_itemHeight; }
    COLORREF GetBackColor() const { return m_backColour; }
    COLORREF GetSelectedColor() const { return m_selectedColour; }
    COLORREF GetColumnBackColor() const { return m_columnBackColour; }
    COLORREF GetTextColor() const { return m_textColour; }
    COLORREF GetColumnTextColor() const { return m_columnTextColour; }
    COLORREF GetLineColor() const { return m_lineColour; }
    CTavObject* GetBackgroundImage() const { return m_background; }
    // The row under an application-area point, or -1 (the header and the space below the rows are none).
    int RowAt(int x, int y) const;
    // The column whose header lies under an application-area point, or -1.
    int ColumnAt(int x, int y) const;

    CTavObject* Clone(CTavObject* target, int withScreen) override;
    BOOL OnLMouseDown(int x, int y) override;
    BOOL OnDoubleClick(int x, int y) override;
    // Three rows a notch.
    BOOL OnMouseWheel(int x, int y, int delta) override;
    BOOL OnRMouseDown(int x, int y) override;
    BOOL OnKeyDown(UINT key) override;
    void DrawContent() override;
    DWORD SetWidth(int w) override;
    DWORD SetHeight(int h) override;
    void Restore() override;
    void Finish() override;

private:
    struct Column {
        std::string name;
        int width = 0;
        int sortState = SORT_NONE;
    };
    using Row = std::vector<std::string>;

    struct Font {
        std::string name = "Verdana";
        int width = 0;
        int height = 15;
        int weight = 0;
    };

    // Whether the row's top lies in the view (only such rows are drawn).
    bool RowDrawn(int row) const;
    int ColumnLeft(int column) const;
    int ContentWidth() const;
    // Tells the scroll bars how large the table is.
    void UpdateContentSize();
    void ScrollTo(int x, int y);
    void SortRows(int column, int order);
    // A cell of the table: filled, with its text at its top-left corner, clipped to the cell and image.
    void DrawCell(CTavSurface& scratch, int x, int y, int width, int height, COLORREF fill, COLORREF colour,
                  const std::string& text);
    // TRUE when a screen callback has removed this list box or its screen (the caller then stops).
    BOOL Destroyed() const;

    std::vector<Column> m_columns;
    std::vector<Row> m_rows;
    COLORREF m_backColour = RGB(128, 128, 128);
    COLORREF m_columnBackColour = RGB(128, 128, 128);
    int m_columnHeight = 20;
    Font m_columnFont;
    COLORREF m_columnTextColour = RGB(255, 255, 255);
    COLORREF m_lineColour = RGB(0, 0, 255);
    int m_itemHeight = 20;
    COLORREF m_textColour = 0;
    Font m_itemFont;
    int m_selection = -1;
    COLORREF m_selectedColour = RGB(0, 255, 0);
    CTavObject* m_background = nullptr;
};
