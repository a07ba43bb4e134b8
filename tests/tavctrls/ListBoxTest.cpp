#include "HeadlessApp.h"

#include <array>
#include <numeric>
#include <random>
#include <tuple>

namespace tav::testing {
namespace {

using Cells = std::vector<std::string>;
constexpr DWORD kListId = 5;
// The list lies at (20, 30), 200 x 120: header 20 high, rows 20 high, row r at y 50 + 20 r.
constexpr int kTop = 30;
int RowY(int row) {
    return kTop + 20 + 20 * row + 10;
}

class ListBoxTest : public ScreenAppTest<> {
protected:
    // A list with the given first-column texts (one column of 100, or the given widths).
    CTavListBox* MakeList(const Cells& rows, const std::vector<int>& widths = {100}) {
        screen->SetFocus(TRUE);
        auto* list = new CTavListBox;
        EXPECT_EQ(list->Initialize(kListId, 20, kTop, 200, 120, screen, ArtPath("listback.bmp").c_str()),
                  TAVERROR_OK);
        for (int width : widths)
            list->AddColumn("C", width);
        for (const std::string& row : rows)
            list->AddItem(row.c_str());
        EXPECT_EQ(screen->AddObject(list), TAVERROR_OK);
        return list;
    }
    static Cells Column(CTavListBox* list, int column) {
        Cells cells;
        for (int r = 0; r < list->GetRowCount(); ++r)
            cells.push_back(list->GetCellText(r, column));
        return cells;
    }
};

TEST_F(ListBoxTest, ColumnsRowsAndSelectionKeepTheirRules) {
    CTavListBox* list = MakeList({}, {});
    EXPECT_EQ(list->AddItem("a"), -1); // no columns
    EXPECT_EQ(list->AddColumn("bad", 0), -1);
    list->AddColumn("C0", 40);
    EXPECT_EQ(list->AddItem("a"), 0);
    EXPECT_EQ(list->AddItem("b"), 1);
    // A column added later gives every row a cell of its own.
    EXPECT_EQ(list->AddColumn("C1", 40), 1);
    EXPECT_EQ(list->SetItemText(1, 1, "x"), TAVERROR_OK);
    EXPECT_EQ(Column(list, 1), (Cells{"", "x"}));
    const std::vector<DWORD> refused = {list->SetItemText(2, 0, "x"), list->SetItemText(0, 2, "x"),
                                        list->SortByColumn(2, 1),     list->SortByColumn(0, 3),
                                        list->SortByColumn(0, -1),    list->SetSelection(2),
                                        list->SetSelection(-1)};
    EXPECT_EQ(refused, (std::vector<DWORD>{TAVERROR_INDEX, TAVERROR_INDEX, TAVERROR_INDEX, TAVERROR_SORTORDER,
                                           TAVERROR_SORTORDER, TAVERROR_INDEX, TAVERROR_INDEX}));
    EXPECT_EQ(list->SetSelection(1), TAVERROR_OK);
    EXPECT_EQ(list->SetSelection(1), TAVERROR_OK); // reported again
    EXPECT_EQ(screen->log, (Cells{"change 1", "change 1"}));
    screen->RemoveObject(kListId);
    // Of three rows: selected, removed, selection after (past the end becomes none).
    for (const auto& [selected, removed, expected] :
         {std::array{2, 2, -1}, {2, 0, -1}, {1, 2, 1}, {1, 0, 1}, {0, 1, 0}}) {
        list = MakeList({"r", "r", "r"});
        list->SetSelection(selected);
        EXPECT_EQ(list->RemoveItem(removed), TAVERROR_OK);
        EXPECT_EQ(list->GetSelection(), expected) << selected << " selected, " << removed << " removed";
        EXPECT_EQ(list->RemoveItem(list->GetRowCount()), TAVERROR_INDEX);
        screen->RemoveObject(kListId);
    }
}

// Rows sorted the slow way: a stable insertion sort in which an empty cell is less than anything and
// bytes compare signed; descending keeps equal cells in reversed order.
std::vector<int> InsertionSorted(const Cells& cells, int order) {
    const auto less = [](const std::string& a, const std::string& b) {
        for (size_t i = 0; i < a.size() && i < b.size(); ++i)
            if (a[i] != b[i])
                return static_cast<signed char>(a[i]) < static_cast<signed char>(b[i]);
        return a.empty() || a.size() < b.size();
    };
    std::vector<int> rows;
    for (int i = 0; i < static_cast<int>(cells.size()); ++i) {
        rows.push_back(i);
        for (size_t j = rows.size() - 1; j > 0 && order != CTavListBox::SORT_NONE; --j) {
            const bool isLess =
                less(cells[static_cast<size_t>(rows[j])], cells[static_cast<size_t>(rows[j - 1])]);
            if (order == CTavListBox::SORT_ASCENDING ? !isLess : isLess)
                break;
            std::swap(rows[j], rows[j - 1]);
        }
    }
    return rows;
}

TEST_F(ListBoxTest, SortingAgreesWithAnInsertionSortOnRandomTables) {
    const std::string alphabet[] = {"", "a", "b", "ab", "ba", "B", "\xE9", "a\xE9"};
    std::mt19937 random(7);
    for (int round = 0; round < 40; ++round) {
        Cells cells(random() % 30);
        for (std::string& cell : cells)
            cell = alphabet[random() % std::size(alphabet)];
        CTavListBox* list = MakeList(cells, {60, 60});
        for (int r = 0; r < list->GetRowCount(); ++r)
            list->SetItemText(r, 1, std::to_string(r).c_str());
        // Each sort sorts what the last one left.
        std::vector<int> now(cells.size());
        std::iota(now.begin(), now.end(), 0);
        for (int order :
             {CTavListBox::SORT_ASCENDING, CTavListBox::SORT_NONE, CTavListBox::SORT_DESCENDING}) {
            ASSERT_EQ(list->SortByColumn(0, order), TAVERROR_OK);
            Cells current, expected;
            for (int r : now)
                current.push_back(cells[static_cast<size_t>(r)]);
            std::vector<int> next;
            for (int r : InsertionSorted(current, order)) {
                next.push_back(now[static_cast<size_t>(r)]);
                expected.push_back(std::to_string(next.back()));
            }
            now = next;
            ASSERT_EQ(Column(list, 1), expected) << "round " << round << " order " << order;
            EXPECT_EQ(list->GetColumnSortState(0), order);
            EXPECT_EQ(list->GetColumnSortState(1), CTavListBox::SORT_NONE);
        }
        screen->RemoveObject(kListId);
    }
}

TEST_F(ListBoxTest, MouseAndKeysSelectSortScrollAndReport) {
    CTavListBox* list = MakeList({"b", "a", "c"}, {60, 60});
    const int header = kTop + 5;
    // action (a key's code in x), x, y, selection, reports, first column
    const std::tuple<std::string, int, int, int, Cells, Cells> steps[] = {
        {"key", VK_DOWN, 0, -1, {}, {"b", "a", "c"}}, // focus without a selection
        {"click", 40, RowY(0), 0, {"change 0", "objectdown 5"}, {"b", "a", "c"}},
        {"click", 40, header, 0, {"objectdown 5"}, {"c", "b", "a"}},  // first header click: descending
        {"click", 40, header, 0, {"objectdown 5"}, {"a", "b", "c"}},  // second: ascending
        {"click", 150, header, 0, {"objectdown 5"}, {"a", "b", "c"}}, // no column there
        {"click", 150, RowY(2), 2, {"change 2", "objectdown 5"}, {"a", "b", "c"}},
        {"click", 40, RowY(3), 2, {"objectdown 5"}, {"a", "b", "c"}}, // below the rows
        {"double", 40, RowY(1), 1, {"change 1", "objectdown 5", "double 1"}, {"a", "b", "c"}},
        {"right", 40, RowY(0), 0, {"change 0", "right 0"}, {"a", "b", "c"}},
        {"right", 40, RowY(4), 0, {}, {"a", "b", "c"}},
    };
    for (const auto& [action, x, y, selection, log, column] : steps) {
        SCOPED_TRACE(action + " at " + std::to_string(x) + "," + std::to_string(y));
        screen->log.clear();
        Queue(action, x, y);
        Frame(app);
        EXPECT_EQ(list->GetSelection(), selection);
        EXPECT_EQ(screen->log, log);
        EXPECT_EQ(Column(list, 0), column);
    }
    // Eight rows: 180 pixels of content in a view of 120, so the position runs from 0 to 60.
    for (const char* row : {"d", "e", "f", "g", "h"})
        list->AddItem(row);
    // key, selection, scroll position, reports
    const std::array<int, 4> keys[] = {
        {VK_DOWN, 1, 0, 1}, {VK_DOWN, 2, 0, 1},  {VK_DOWN, 3, 0, 1}, {VK_DOWN, 4, 20, 1},
        {VK_END, 7, 60, 1}, {VK_DOWN, 7, 60, 0}, {VK_UP, 6, 60, 1},  {VK_UP, 3, 60, 3},
        {VK_UP, 2, 40, 1},  {VK_HOME, 0, 0, 1},  {VK_UP, 0, 0, 0},
    };
    for (const auto& [key, selection, scrollY, reports] : keys) {
        SCOPED_TRACE("key " + std::to_string(key) + " to " + std::to_string(selection));
        screen->log.clear();
        for (int i = 0; i < std::max(reports, 1); ++i)
            display->KeyDown(static_cast<unsigned>(key));
        Frame(app);
        int y = 0;
        list->GetScrollPosition(nullptr, &y);
        EXPECT_EQ(list->GetSelection(), selection);
        EXPECT_EQ(y, scrollY);
        EXPECT_EQ(static_cast<int>(screen->log.size()), reports);
    }
}

TEST_F(ListBoxTest, CallbacksMayRemoveTheListOrTheScreen) {
    // action (a key's code in x), the report that removes, whether the whole screen goes, the last row
    const std::tuple<std::string, int, std::string, bool, int> cases[] = {
        {"click", 40, "change", false, 1},   {"right", 40, "change", false, 1},
        {"right", 40, "right", false, 1},    {"double", 40, "double", false, 1},
        {"key", VK_END, "change", false, 7}, {"click", 40, "change", true, 1},
        {"key", VK_DOWN, "change", true, 1},
    };
    for (const auto& [action, x, when, wholeScreen, row] : cases) {
        SCOPED_TRACE(action + " removing at " + when);
        CTavListBox* list = MakeList({"a", "b", "c", "d", "e", "f", "g", "h"});
        list->SetSelection(0);
        list->SetFocus(TRUE);
        screen->log.clear();
        LogScreen* current = screen;
        current->On(when, FALSE, [current, whole = wholeScreen](DWORD) {
            if (whole)
                current->Close();
            else
                current->RemoveObject(kListId);
        });
        Queue(action, x, RowY(1));
        Frame(app, 2);
        if (wholeScreen) {
            EXPECT_EQ(app.GetChildScreen(), nullptr);
            ShowNewScreen();
            continue;
        }
        EXPECT_FALSE(screen->HasObject(kListId));
        // Nothing was reported for the list after it went.
        EXPECT_EQ(screen->log.back(), when + " " + std::to_string(row));
        screen->hook = nullptr;
    }
}

} // namespace
} // namespace tav::testing
