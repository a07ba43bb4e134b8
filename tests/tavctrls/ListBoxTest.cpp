#include "HeadlessApp.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

namespace tav::testing {
namespace {

// Records the list-box callbacks as "change 2", "double 2", "right 2", "objectdown 5".
class ListScreen : public CTavScreen {
public:
    std::vector<std::string> events;
    std::function<void(const std::string&)> hook;

    void OnListBoxItemChange(DWORD, int item) override { Record("change", item); }
    void OnListBoxItemDoubleClicked(DWORD, int item) override { Record("double", item); }
    void OnListBoxItemRightClicked(DWORD, int item) override { Record("right", item); }
    BOOL OnObjectLMouseDown(DWORD id) override {
        events.push_back("objectdown " + std::to_string(id));
        return FALSE;
    }

private:
    void Record(const std::string& kind, int item) {
        events.push_back(kind + " " + std::to_string(item));
        if (hook)
            hook(kind);
    }
};

constexpr DWORD kListId = 5;
// The list lies at (20, 30), 200 x 120: header 20 high, rows 20 high, row r at y 50 + 20 r.
constexpr int kLeft = 20, kTop = 30, kWidth = 200, kHeight = 120;
int RowY(int row) {
    return kTop + 20 + 20 * row + 10;
}

class ListBoxTest : public HeadlessAppTest {
protected:
    void SetUp() override {
        HeadlessAppTest::SetUp();
        ASSERT_EQ(Init(app), TAVERROR_OK);
        NewScreen();
    }
    void NewScreen() {
        screen = new ListScreen;
        ASSERT_EQ(screen->Initialize(1), TAVERROR_OK);
        app.SetChildScreen(screen);
        screen->SetFocus(TRUE);
    }
    // A list with the given first-column texts (one column of 100, or the given widths).
    CTavListBox* MakeList(const std::vector<std::string>& rows, const std::vector<int>& widths = {100}) {
        auto* list = new CTavListBox;
        EXPECT_EQ(
            list->Initialize(kListId, kLeft, kTop, kWidth, kHeight, screen, ArtPath("listback.bmp").c_str()),
            TAVERROR_OK);
        for (size_t c = 0; c < widths.size(); ++c)
            list->AddColumn(("C" + std::to_string(c)).c_str(), widths[c]);
        for (const std::string& row : rows)
            list->AddItem(row.c_str());
        EXPECT_EQ(screen->AddObject(list), TAVERROR_OK);
        return list;
    }
    std::vector<std::string> Column(CTavListBox* list, int column) {
        std::vector<std::string> cells;
        for (int r = 0; r < list->GetRowCount(); ++r)
            cells.push_back(list->GetCellText(r, column));
        return cells;
    }
    int ScrollY(CTavListBox* list) {
        int y = 0;
        list->GetScrollPosition(nullptr, &y);
        return y;
    }
    CTavScrollBars* Bars(CTavListBox* list) {
        return dynamic_cast<CTavScrollBars*>(list->GetScrollBarsObject());
    }

    CTavApp app;
    ListScreen* screen = nullptr;
};

TEST_F(ListBoxTest, ColumnsAndRowsNeedTheirPrerequisites) {
    CTavListBox unsized;
    EXPECT_EQ(unsized.Initialize(1, 0, 0, 0, 10, screen, ""), TAVERROR_INVALIDARG);
    unsized.Finish();

    CTavListBox* list = MakeList({});
    EXPECT_NE(list->GetBackgroundImage(), nullptr);
    EXPECT_EQ(list->AddColumn("bad", 0), -1);
    EXPECT_EQ(list->GetColumnCount(), 1);
    list->AddColumn("C1", 50);
    EXPECT_EQ(list->AddItem("a"), 0);
    EXPECT_EQ(list->AddItem("b"), 1);
    // A column added later gives every row a cell of its own.
    EXPECT_EQ(list->AddColumn("C2", 40), 2);
    EXPECT_EQ(list->SetItemText(1, 2, "x"), TAVERROR_OK);
    EXPECT_EQ(Column(list, 2), (std::vector<std::string>{"", "x"}));
    EXPECT_EQ(list->SortByColumn(2, CTavListBox::SORT_DESCENDING), TAVERROR_OK);
    EXPECT_EQ(Column(list, 0), (std::vector<std::string>{"b", "a"}));
    EXPECT_EQ(list->SetItemText(2, 0, "x"), TAVERROR_INDEX);
    EXPECT_EQ(list->SetItemText(0, 3, "x"), TAVERROR_INDEX);
    EXPECT_EQ(list->GetItemText(-1), "");

    auto* empty = new CTavListBox;
    ASSERT_EQ(empty->Initialize(9, 0, 0, 50, 50, screen, "no/such.bmp"), TAVERROR_OK);
    EXPECT_EQ(empty->GetBackgroundImage(), nullptr);
    EXPECT_EQ(empty->AddItem("a"), -1); // no columns
    screen->AddObject(empty);
}

TEST_F(ListBoxTest, SelectionPastTheEndAfterRemovalIsNone) {
    struct Case {
        int rows, selected, removed, expected;
    };
    const Case cases[] = {{3, 2, 2, -1}, {3, 2, 0, -1}, {3, 1, 2, 1},
                          {3, 1, 0, 1},  {3, 0, 1, 0},  {1, 0, 0, -1}};
    for (const Case& c : cases) {
        CTavListBox* list = MakeList(std::vector<std::string>(static_cast<size_t>(c.rows), "r"));
        ASSERT_EQ(list->SetSelection(c.selected), TAVERROR_OK);
        EXPECT_EQ(list->RemoveItem(c.removed), TAVERROR_OK);
        EXPECT_EQ(list->GetSelection(), c.expected)
            << c.rows << " rows, " << c.selected << " selected, " << c.removed << " removed";
        EXPECT_EQ(list->RemoveItem(list->GetRowCount()), TAVERROR_INDEX);
        screen->RemoveObject(kListId);
    }
}

TEST_F(ListBoxTest, SetSelectionReportsEveryValidRow) {
    CTavListBox* list = MakeList({"a", "b", "c"});
    EXPECT_EQ(list->SetSelection(1), TAVERROR_OK);
    EXPECT_EQ(list->SetSelection(1), TAVERROR_OK);
    EXPECT_EQ(list->SetSelection(3), TAVERROR_INDEX);
    EXPECT_EQ(list->SetSelection(-1), TAVERROR_INDEX);
    EXPECT_EQ(list->GetSelection(), 1);
    EXPECT_EQ(screen->events, (std::vector<std::string>{"change 1", "change 1"}));
}

TEST_F(ListBoxTest, SortOrders) {
    struct Case {
        std::vector<std::string> cells;
        int order;
        std::vector<std::string> sorted;
    };
    const std::string e = "\xC3\xA9"; // é: its first byte is negative as a signed byte
    const Case cases[] = {
        {{"b", "", "a"}, CTavListBox::SORT_ASCENDING, {"", "a", "b"}},
        {{"b", "", "a"}, CTavListBox::SORT_DESCENDING, {"b", "a", ""}},
        {{"ab", "a", "A", "b"}, CTavListBox::SORT_ASCENDING, {"A", "a", "ab", "b"}},
        {{"z", e, "a"}, CTavListBox::SORT_ASCENDING, {e, "a", "z"}},
        {{"b", "c", "a"}, CTavListBox::SORT_NONE, {"b", "c", "a"}},
    };
    for (const Case& c : cases) {
        CTavListBox* list = MakeList(c.cells);
        EXPECT_EQ(list->SortByColumn(0, c.order), TAVERROR_OK);
        EXPECT_EQ(Column(list, 0), c.sorted) << "order " << c.order;
        screen->RemoveObject(kListId);
    }
}

TEST_F(ListBoxTest, EqualCellsComeOutReversedWhenDescending) {
    CTavListBox* list = MakeList({"k", "k", "j", "k", "", ""}, {60, 60});
    for (int r = 0; r < list->GetRowCount(); ++r)
        list->SetItemText(r, 1, std::to_string(r).c_str());
    list->SortByColumn(0, CTavListBox::SORT_DESCENDING);
    EXPECT_EQ(Column(list, 1), (std::vector<std::string>{"3", "1", "0", "2", "4", "5"}));
    list->SortByColumn(1, CTavListBox::SORT_ASCENDING);
    list->SortByColumn(0, CTavListBox::SORT_ASCENDING);
    EXPECT_EQ(Column(list, 1), (std::vector<std::string>{"5", "4", "2", "0", "1", "3"}));
    EXPECT_EQ(list->GetColumnSortState(0), CTavListBox::SORT_ASCENDING);
    EXPECT_EQ(list->GetColumnSortState(1), CTavListBox::SORT_NONE);
    EXPECT_EQ(list->SortByColumn(2, 1), TAVERROR_INDEX);
    EXPECT_EQ(list->SortByColumn(0, 3), TAVERROR_SORTORDER);
    EXPECT_EQ(list->SortByColumn(0, -1), TAVERROR_SORTORDER);
    EXPECT_EQ(list->GetColumnSortState(0), CTavListBox::SORT_ASCENDING);
}

// The rows, sorted the slow way: an insertion sort in which an empty cell is less than anything.
std::vector<int> InsertionSorted(const std::vector<std::string>& cells, int order) {
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
        for (size_t j = rows.size() - 1; j > 0; --j) {
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
        std::vector<std::string> cells(random() % 30);
        for (std::string& cell : cells)
            cell = alphabet[random() % std::size(alphabet)];
        for (int order : {CTavListBox::SORT_ASCENDING, CTavListBox::SORT_DESCENDING}) {
            CTavListBox* list = MakeList(cells, {60, 60});
            for (int r = 0; r < list->GetRowCount(); ++r)
                list->SetItemText(r, 1, std::to_string(r).c_str());
            list->SortByColumn(0, order);
            std::vector<std::string> expected;
            for (int r : InsertionSorted(cells, order))
                expected.push_back(std::to_string(r));
            ASSERT_EQ(Column(list, 1), expected) << "round " << round << " order " << order;
            screen->RemoveObject(kListId);
        }
    }
}

TEST_F(ListBoxTest, MouseSelectsSortsAndReports) {
    CTavListBox* list = MakeList({"b", "a", "c"}, {60, 60});
    struct Step {
        const char* action;
        int x, y;
        int selection;
        std::vector<std::string> events;
        std::vector<std::string> column;
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
        screen->events.clear();
        const std::string action = step.action;
        if (action == "click")
            display->LClick(step.x, step.y);
        else if (action == "double")
            display->DoubleClick(step.x, step.y);
        else
            display->RClick(step.x, step.y);
        Frame(app);
        EXPECT_EQ(list->GetSelection(), step.selection) << action << " at " << step.x << "," << step.y;
        EXPECT_EQ(screen->events, step.events) << action << " at " << step.x << "," << step.y;
        EXPECT_EQ(Column(list, 0), step.column) << action << " at " << step.x << "," << step.y;
    }
    EXPECT_EQ(list->GetColumnSortState(0), CTavListBox::SORT_ASCENDING);
}

TEST_F(ListBoxTest, KeysMoveTheSelectionAndScrollIt) {
    // Eight rows: 180 pixels of content in a view of 120, so the position runs from 0 to 60.
    CTavListBox* list = MakeList({"0", "1", "2", "3", "4", "5", "6", "7"});
    display->LClick(40, kTop + 5); // the header: focus without a selection
    Frame(app);
    display->KeyDown(VK_DOWN);
    Frame(app);
    EXPECT_EQ(list->GetSelection(), -1);

    display->LClick(40, RowY(0));
    Frame(app);
    struct Step {
        UINT key;
        int selection, scrollY;
        bool reported;
    };
    const Step steps[] = {
        {VK_DOWN, 1, 0, true},  {VK_DOWN, 2, 0, true},  {VK_DOWN, 3, 0, true},  {VK_DOWN, 4, 20, true},
        {VK_DOWN, 5, 40, true}, {VK_DOWN, 6, 60, true}, {VK_DOWN, 7, 60, true}, {VK_DOWN, 7, 60, false},
        {VK_UP, 6, 60, true},   {VK_UP, 5, 60, true},   {VK_UP, 4, 60, true},   {VK_UP, 3, 60, true},
        {VK_UP, 2, 40, true},   {VK_UP, 1, 20, true},   {VK_UP, 0, 0, true},    {VK_UP, 0, 0, false},
        {VK_END, 7, 60, true},  {VK_HOME, 0, 0, true},
    };
    for (const Step& step : steps) {
        screen->events.clear();
        display->KeyDown(step.key);
        Frame(app);
        EXPECT_EQ(list->GetSelection(), step.selection) << "key " << step.key;
        EXPECT_EQ(ScrollY(list), step.scrollY) << "key " << step.key << " to " << step.selection;
        EXPECT_EQ(!screen->events.empty(), step.reported) << "key " << step.key << " to " << step.selection;
    }
}

TEST_F(ListBoxTest, HeightsBelowOneAreIgnoredAndSizeTheContent) {
    CTavListBox* list = MakeList({"a", "b", "c", "d", "e", "f", "g"}, {150, 150});
    list->SetItemHeight(0);
    list->SetColumnHeight(-4);
    EXPECT_EQ(list->GetItemHeight(), 20);
    EXPECT_EQ(list->GetColumnHeight(), 20);
    EXPECT_EQ(list->RowAt(kLeft + 5, RowY(1)), 1);
    CTavScrollBars* bars = Bars(list);
    ASSERT_NE(bars, nullptr);
    EXPECT_EQ(bars->GetContentWidth(), 300);
    EXPECT_EQ(bars->GetContentHeight(), 7 * 20 + 20);
    list->SetItemHeight(30);
    list->SetColumnHeight(25);
    EXPECT_EQ(bars->GetContentHeight(), 7 * 30 + 25);
    EXPECT_EQ(list->RowAt(kLeft + 5, kTop + 25 + 30 + 1), 1);
    bars->SetScrollPosition(0, 1000);
    for (int i = 0; i < 5; ++i)
        list->RemoveItem(0);
    EXPECT_EQ(bars->GetContentHeight(), kHeight);
    EXPECT_EQ(ScrollY(list), 0);
}

TEST_F(ListBoxTest, DrawsCellsHeaderAndLinesInsideTheirPlaces) {
    CTavListBox* list = MakeList({"WWWWWWWWWWWWWWWW", "b", "c"}, {30, 60});
    list->SetBackColor(0x101010);
    list->SetSelectedColor(0x00FF00);
    list->SetColumnBackColor(0x0000AA);
    list->SetLineColor(RGB(255, 0, 0));
    list->SetSelection(1);
    CTavSurface* image = list->GetImage();
    CTavSurface* back = list->GetBackgroundImage()->GetImage();
    // The last column reaches the right edge, in the header and in the rows.
    EXPECT_EQ(PixelAt(image, 150, 5), 0x0000AAu);
    EXPECT_EQ(PixelAt(image, 150, 30), 0x101010u);
    EXPECT_EQ(PixelAt(image, 150, 50), 0x00FF00u);
    EXPECT_EQ(PixelAt(image, 150, 20), 0xFF0000u); // under the header
    EXPECT_EQ(PixelAt(image, 150, 40), 0xFF0000u); // between rows 0 and 1
    EXPECT_EQ(PixelAt(image, 30, 70), 0xFF0000u);  // between the columns
    EXPECT_EQ(PixelAt(image, 150, 100), PixelAt(back, 150, 100));
    // The long text of the first cell stays in its cell.
    for (int y = 21; y < 40; ++y)
        for (int x = 31; x < kWidth; ++x)
            ASSERT_EQ(PixelAt(image, x, y), 0x101010u) << x << "," << y;
    list->RemoveItem(2);
    EXPECT_EQ(PixelAt(image, 150, 70), PixelAt(back, 150, 70));
    for (int i = 0; i < 6; ++i)
        list->AddItem("more");
    Bars(list)->SetScrollPosition(0, 20); // row 1 now sits right under the header
    EXPECT_EQ(PixelAt(image, 150, 30), 0x00FF00u);
    EXPECT_EQ(PixelAt(image, 150, 5), 0x0000AAu);
}

TEST_F(ListBoxTest, ChangesOutOfViewLeaveThePictureAsAFullRedrawWould) {
    CTavListBox* list = MakeList(std::vector<std::string>(20, "row"), {60, 60});
    Bars(list)->SetScrollPosition(0, 5 * 20); // rows 5 to 9 in view
    const auto redrawn = [list] {
        std::vector<std::uint32_t> before, after;
        for (std::vector<std::uint32_t>* pixels : {&before, &after}) {
            for (int y = 0; y < kHeight; ++y)
                for (int x = 0; x < kWidth; ++x)
                    pixels->push_back(PixelAt(list->GetImage(), x, y));
            list->Redraw();
        }
        return before == after;
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

TEST_F(ListBoxTest, ACloneHasTheSameRowsAndLooksTheSame) {
    CTavListBox* list = MakeList({"b", "a", "c"}, {60, 60});
    list->SetItemText(2, 1, "x");
    list->SortByColumn(0, CTavListBox::SORT_ASCENDING);
    list->SetSelection(1);
    auto* copy = dynamic_cast<CTavListBox*>(list->Clone(nullptr, 0));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(Column(copy, 0), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(Column(copy, 1), (std::vector<std::string>{"", "", "x"}));
    EXPECT_EQ(copy->GetSelection(), 1);
    EXPECT_EQ(copy->GetColumnSortState(0), CTavListBox::SORT_ASCENDING);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            ASSERT_EQ(PixelAt(copy->GetImage(), x, y), PixelAt(list->GetImage(), x, y)) << x << "," << y;
    copy->Finish();
    delete copy;
}

TEST_F(ListBoxTest, CallbacksMayRemoveTheListOrTheScreen) {
    struct Case {
        const char* action;
        const char* when;
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
        screen->events.clear();
        ListScreen* current = screen;
        const std::string when = c.when;
        current->hook = [current, when, &c](const std::string& kind) {
            if (kind != when)
                return;
            if (c.wholeScreen)
                current->Close();
            else
                current->RemoveObject(kListId);
        };
        const std::string action = c.action;
        if (action == "click")
            display->LClick(40, RowY(1));
        else if (action == "right")
            display->RClick(40, RowY(1));
        else if (action == "double")
            display->DoubleClick(40, RowY(1));
        else
            display->KeyDown(action == "down" ? VK_DOWN : VK_END);
        Frame(app, 2);
        const std::string what = action + " removing at " + when;
        if (c.wholeScreen) {
            EXPECT_EQ(app.GetChildScreen(), nullptr) << what;
            NewScreen();
            continue;
        }
        EXPECT_FALSE(screen->HasObject(kListId)) << what;
        // Nothing was reported for the list after it went.
        EXPECT_EQ(screen->events.back(), when + " " + std::to_string(c.row)) << what;
        screen->hook = nullptr;
    }
}

} // namespace
} // namespace tav::testing
