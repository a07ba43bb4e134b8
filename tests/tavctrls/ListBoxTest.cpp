#include "HeadlessApp.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <numeric>
#include <random>
#include <string>
#include <vector>

namespace tav::testing {
namespace {

using Cells = std::vector<std::string>;
constexpr DWORD kListId = 5;
// The list lies at (20, 30), 200 x 120: header 20 high, rows 20 high, row r at y 50 + 20 r.
constexpr int kLeft = 20, kTop = 30, kWidth = 200, kHeight = 120;
int RowY(int row) { return kTop + 20 + 20 * row + 10; }

class ListBoxTest : public ScreenAppTest<> {
protected:
    // A list with the given first-column texts (one column of 100, or the given widths).
    CTavListBox* MakeList(const Cells& rows, const std::vector<int>& widths = {100}) {
        screen->SetFocus(TRUE);
        auto* list = new CTavListBox;
        EXPECT_EQ(list->Initialize(kListId, kLeft, kTop, kWidth, kHeight, screen, ArtPath("listback.bmp").c_str()),
                  TAVERROR_OK);
        for (size_t c = 0; c < widths.size(); ++c)
            list->AddColumn(("C" + std::to_string(c)).c_str(), widths[c]);
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
    static int ScrollY(CTavListBox* list) {
        int y = 0;
        list->GetScrollPosition(nullptr, &y);
        return y;
    }
    static CTavScrollBars* Bars(CTavListBox* list) {
        return dynamic_cast<CTavScrollBars*>(list->GetScrollBarsObject());
    }
    static std::vector<std::uint32_t> Pixels(CTavListBox* list) {
        std::vector<std::uint32_t> pixels;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                pixels.push_back(PixelAt(list->GetImage(), x, y));
        return pixels;
    }
};

TEST_F(ListBoxTest, ColumnsRowsAndSelectionKeepTheirRules) {
    CTavListBox unsized;
    EXPECT_EQ(unsized.Initialize(1, 0, 0, 0, 10, screen, ""), TAVERROR_INVALIDARG);
    unsized.Finish();
    auto* empty = new CTavListBox;
    ASSERT_EQ(empty->Initialize(9, 0, 0, 50, 50, screen, "no/such.bmp"), TAVERROR_OK);
    EXPECT_EQ(empty->GetBackgroundImage(), nullptr);
    EXPECT_EQ(empty->AddItem("a"), -1); // no columns
    screen->AddObject(empty);

    CTavListBox* list = MakeList({});
    EXPECT_EQ(list->AddColumn("bad", 0), -1);
    EXPECT_EQ(list->AddItem("a"), 0);
    EXPECT_EQ(list->AddItem("b"), 1);
    // A column added later gives every row a cell of its own.
    EXPECT_EQ(list->AddColumn("C1", 40), 1);
    EXPECT_EQ(list->SetItemText(1, 1, "x"), TAVERROR_OK);
    EXPECT_EQ(Column(list, 1), (Cells{"", "x"}));
    EXPECT_EQ(list->SetItemText(2, 0, "x"), TAVERROR_INDEX);
    EXPECT_EQ(list->SetItemText(0, 2, "x"), TAVERROR_INDEX);
    EXPECT_EQ(list->GetItemText(-1), "");
    EXPECT_EQ(list->SortByColumn(2, 1), TAVERROR_INDEX);
    EXPECT_EQ(list->SortByColumn(0, 3), TAVERROR_SORTORDER);
    EXPECT_EQ(list->SortByColumn(0, -1), TAVERROR_SORTORDER);
    EXPECT_EQ(list->SetSelection(1), TAVERROR_OK);
    EXPECT_EQ(list->SetSelection(1), TAVERROR_OK);
    EXPECT_EQ(list->SetSelection(2), TAVERROR_INDEX);
    EXPECT_EQ(list->SetSelection(-1), TAVERROR_INDEX);
    EXPECT_EQ(screen->log, (Cells{"change 1", "change 1"}));
    screen->RemoveObject(kListId);
    // rows, selected, removed, selection after
    for (const auto& [rows, selected, removed, expected] :
         {std::array{3, 2, 2, -1}, {3, 2, 0, -1}, {3, 1, 2, 1}, {3, 1, 0, 1}, {3, 0, 1, 0}, {1, 0, 0, -1}}) {
        list = MakeList(Cells(static_cast<size_t>(rows), "r"));
        ASSERT_EQ(list->SetSelection(selected), TAVERROR_OK);
        EXPECT_EQ(list->RemoveItem(removed), TAVERROR_OK);
        EXPECT_EQ(list->GetSelection(), expected) << rows << " rows, " << selected << " selected, " << removed;
        EXPECT_EQ(list->RemoveItem(list->GetRowCount()), TAVERROR_INDEX);
        screen->RemoveObject(kListId);
    }
}

// The rows, sorted the slow way: a stable insertion sort in which an empty cell is less than anything
// and bytes compare signed; descending keeps equal cells in reversed order.
std::vector<int> InsertionSorted(const Cells& cells, int order) {
    const auto less = [](const std::string& a, const std::string& b) {
        if (a.empty())
            return true;
        for (size_t i = 0; i < a.size() && i < b.size(); ++i)
            if (a[i] != b[i])
                return static_cast<signed char>(a[i]) < static_cast<signed char>(b[i]);
        return a.size() < b.size();
    };
    std::vector<int> rows;
    for (int i = 0; i < static_cast<int>(cells.size()); ++i) {
        rows.push_back(i);
        for (size_t j = rows.size() - 1; j > 0 && order != CTavListBox::SORT_NONE; --j) {
            const bool isLess = less(cells[static_cast<size_t>(rows[j])], cells[static_cast<size_t>(rows[j - 1])]);
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
        // Sorting again sorts what the last sort left.
        std::vector<int> now(cells.size());
        std::iota(now.begin(), now.end(), 0);
        for (int order : {CTavListBox::SORT_ASCENDING, CTavListBox::SORT_NONE, CTavListBox::SORT_DESCENDING}) {
            ASSERT_EQ(list->SortByColumn(0, order), TAVERROR_OK);
            Cells current, expected;
            for (int r : now)
                current.push_back(cells[static_cast<size_t>(r)]);
            const std::vector<int> sorted = InsertionSorted(current, order);
            std::vector<int> next;
            for (int r : sorted)
                next.push_back(now[static_cast<size_t>(r)]);
            now = next;
            for (int r : now)
                expected.push_back(std::to_string(r));
            ASSERT_EQ(Column(list, 1), expected) << "round " << round << " order " << order;
            EXPECT_EQ(list->GetColumnSortState(0), order);
            EXPECT_EQ(list->GetColumnSortState(1), CTavListBox::SORT_NONE);
        }
        screen->RemoveObject(kListId);
    }
}

TEST_F(ListBoxTest, MouseSelectsSortsAndReports) {
    CTavListBox* list = MakeList({"b", "a", "c"}, {60, 60});
    struct Step {
        const char* action;
        int x, y, selection;
        Cells log, column;
    };
    const int header = kTop + 5;
    const Step steps[] = {
        {"click", 40, RowY(0), 0, {"change 0", "objectdown 5"}, {"b", "a", "c"}},
        {"click", 40, header, 0, {"objectdown 5"}, {"c", "b", "a"}},  // first header click: descending
        {"click", 40, header, 0, {"objectdown 5"}, {"a", "b", "c"}},  // second: ascending
        {"click", 150, header, 0, {"objectdown 5"}, {"a", "b", "c"}}, // no column there
        {"click", 150, RowY(2), 2, {"change 2", "objectdown 5"}, {"a", "b", "c"}},
        {"click", 40, RowY(3), 2, {"objectdown 5"}, {"a", "b", "c"}}, // below the rows
        {"double", 40, RowY(1), 1, {"change 1", "objectdown 5", "double 1"}, {"a", "b", "c"}},
        {"right", 40, RowY(0), 0, {"change 0", "right 0"}, {"a", "b", "c"}},
        {"right", 40, RowY(4), 0, {}, {"a", "b", "c"}},
        {"right", 40, header, 0, {}, {"a", "b", "c"}},
    };
    for (const Step& step : steps) {
        screen->log.clear();
        Queue(step.action, step.x, step.y);
        Frame(app);
        const std::string what = step.action + (" at " + std::to_string(step.x) + "," + std::to_string(step.y));
        EXPECT_EQ(list->GetSelection(), step.selection) << what;
        EXPECT_EQ(screen->log, step.log) << what;
        EXPECT_EQ(Column(list, 0), step.column) << what;
    }
}

TEST_F(ListBoxTest, KeysMoveTheSelectionAndScrollIt) {
    // Eight rows: 180 pixels of content in a view of 120, so the position runs from 0 to 60.
    CTavListBox* list = MakeList({"0", "1", "2", "3", "4", "5", "6", "7"});
    Click(40, kTop + 5); // the header: focus without a selection
    display->KeyDown(VK_DOWN);
    Frame(app);
    EXPECT_EQ(list->GetSelection(), -1);
    Click(40, RowY(0));
    // key, selection, scroll position, reported
    const std::array<int, 4> steps[] = {
        {VK_DOWN, 1, 0, 1},  {VK_DOWN, 2, 0, 1},  {VK_DOWN, 3, 0, 1},  {VK_DOWN, 4, 20, 1}, {VK_DOWN, 5, 40, 1},
        {VK_DOWN, 6, 60, 1}, {VK_DOWN, 7, 60, 1}, {VK_DOWN, 7, 60, 0}, {VK_UP, 6, 60, 1},   {VK_UP, 5, 60, 1},
        {VK_UP, 4, 60, 1},   {VK_UP, 3, 60, 1},   {VK_UP, 2, 40, 1},   {VK_UP, 1, 20, 1},   {VK_UP, 0, 0, 1},
        {VK_UP, 0, 0, 0},    {VK_END, 7, 60, 1},  {VK_HOME, 0, 0, 1},
    };
    for (const auto& [key, selection, scrollY, reported] : steps) {
        screen->log.clear();
        display->KeyDown(static_cast<unsigned>(key));
        Frame(app);
        EXPECT_EQ(list->GetSelection(), selection) << "key " << key;
        EXPECT_EQ(ScrollY(list), scrollY) << "key " << key << " to " << selection;
        EXPECT_EQ(static_cast<int>(screen->log.size()), reported) << "key " << key << " to " << selection;
    }
}

TEST_F(ListBoxTest, TextStaysInItsCellAndAClonesLooksTheSame) {
    CTavListBox* list = MakeList({"WWWWWWWWWWWWWWWW", "b", "c"}, {30, 60});
    list->SetBackColor(0x101010);
    list->SetSelectedColor(0x00FF00);
    list->SetSelection(1);
    list->SortByColumn(0, CTavListBox::SORT_ASCENDING); // the order stays
    // The last column reaches the right edge; the long text of the first cell stays in its cell.
    EXPECT_EQ(PixelAt(list->GetImage(), 150, 50), 0x00FF00u);
    for (int y = 21; y < 40; ++y)
        for (int x = 31; x < kWidth; ++x)
            ASSERT_EQ(PixelAt(list->GetImage(), x, y), 0x101010u) << x << "," << y;
    auto* copy = dynamic_cast<CTavListBox*>(list->Clone(nullptr, 0));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(Column(copy, 0), Column(list, 0));
    EXPECT_EQ(copy->GetSelection(), 1);
    EXPECT_EQ(copy->GetColumnSortState(0), CTavListBox::SORT_ASCENDING);
    EXPECT_EQ(Pixels(copy), Pixels(list));
    copy->Finish();
    delete copy;
}

TEST_F(ListBoxTest, ChangesOutOfViewLeaveThePictureAsAFullRedrawWould) {
    CTavListBox* list = MakeList(Cells(20, "row"), {60, 60});
    Bars(list)->SetScrollPosition(0, 5 * 20); // rows 5 to 9 in view
    const auto redrawn = [list] {
        const auto before = Pixels(list);
        list->Redraw();
        return before == Pixels(list);
    };
    for (int row : {2, 4, 5, 9, 10, 19}) {
        list->SetItemText(row, 1, "changed");
        EXPECT_TRUE(redrawn()) << row;
    }
    list->AddItem("added");
    EXPECT_TRUE(redrawn());
    Bars(list)->SetScrollPosition(0, 1000);
    list->AddItem("added at the end");
    EXPECT_TRUE(redrawn());
}

TEST_F(ListBoxTest, CallbacksMayRemoveTheListOrTheScreen) {
    struct Case {
        const char* action;
        std::string when;
        bool wholeScreen;
        int row; // the row of the last report
    };
    const Case cases[] = {
        {"click", "change", false, 1},  {"right", "change", false, 1}, {"right", "right", false, 1},
        {"double", "double", false, 1}, {"down", "change", false, 1},  {"end", "change", false, 7},
        {"click", "change", true, 1},   {"right", "right", true, 1},   {"down", "change", true, 1},
    };
    for (const Case& c : cases) {
        CTavListBox* list = MakeList({"a", "b", "c", "d", "e", "f", "g", "h"});
        list->SetSelection(0);
        list->SetFocus(TRUE);
        screen->log.clear();
        LogScreen* current = screen;
        current->hook = [current, &c](const std::string& entry) {
            if (entry.rfind(c.when, 0) == 0 && c.wholeScreen)
                current->Close();
            else if (entry.rfind(c.when, 0) == 0)
                current->RemoveObject(kListId);
            return FALSE;
        };
        const std::string action = c.action;
        if (action == "down" || action == "end")
            display->KeyDown(action == "down" ? VK_DOWN : VK_END);
        else
            Queue(action, 40, RowY(1));
        Frame(app, 2);
        const std::string what = action + " removing at " + c.when;
        if (c.wholeScreen) {
            EXPECT_EQ(app.GetChildScreen(), nullptr) << what;
            ShowNewScreen();
            continue;
        }
        EXPECT_FALSE(screen->HasObject(kListId)) << what;
        // Nothing was reported for the list after it went.
        EXPECT_EQ(screen->log.back(), c.when + " " + std::to_string(c.row)) << what;
        screen->hook = nullptr;
    }
}

} // namespace
} // namespace tav::testing
