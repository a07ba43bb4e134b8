#include "HeadlessApp.h"

#include <algorithm>
#include <array>
#include <map>
#include <numeric>
#include <random>
#include <tuple>

namespace tav::testing {
namespace {

using Cells = std::vector<std::string>;
using Log = Cells;
using Ids = std::vector<int>;
constexpr DWORD kListId = 5, kTreeId = 3;
// The list lies at (20, 30), 200 x 120: header 20 high, rows 20 high, row r at y 50 + 20 r.
// The tree lies there too, 200 x 150; rows are 15 high and an item's text starts 15 pixels further
// right per level, at 10 for the top level.
constexpr int kLeft = 20, kTop = 30, kWidth = 200, kHeight = 150;
int ListRowY(int row) {
    return kTop + 20 + 20 * row + 10;
}
int RowY(int row) {
    return kTop + 15 * row + 7;
}
int TextX(int depth) {
    return kLeft + 15 * depth + 10 + 5;
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
    // action (a key's code in x), x, y, selection, reports, first column
    const std::tuple<std::string, int, int, int, Cells, Cells> steps[] = {
        {"key", VK_DOWN, 0, -1, {}, {"b", "a", "c"}}, // focus without a selection
        {"click", 40, ListRowY(0), 0, {"change 0", "objectdown 5"}, {"b", "a", "c"}},
        {"click", 40, kTop + 5, 0, {"objectdown 5"}, {"c", "b", "a"}},  // first header click: descending
        {"click", 40, kTop + 5, 0, {"objectdown 5"}, {"a", "b", "c"}},  // second: ascending
        {"click", 150, kTop + 5, 0, {"objectdown 5"}, {"a", "b", "c"}}, // no column there
        {"click", 150, ListRowY(2), 2, {"change 2", "objectdown 5"}, {"a", "b", "c"}},
        {"click", 40, ListRowY(3), 2, {"objectdown 5"}, {"a", "b", "c"}}, // below the rows
        {"double", 40, ListRowY(1), 1, {"change 1", "objectdown 5", "double 1"}, {"a", "b", "c"}},
        {"right", 40, ListRowY(0), 0, {"change 0", "right 0"}, {"a", "b", "c"}},
        {"right", 40, ListRowY(4), 0, {}, {"a", "b", "c"}},
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
        screen->On(when, FALSE, [current = screen, whole = wholeScreen](DWORD) {
            if (whole)
                current->Close();
            else
                current->RemoveObject(kListId);
        });
        Queue(action, x, ListRowY(1));
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

class TreeTest : public ListBoxTest {
protected:
    // A(0) { B(1) { C(2) }, D(3) }, E(4) { F(5) }, all collapsed, or no items.
    CTavTree* MakeTree(bool sample = true, const char* plus = "plus.bmp", const char* minus = "minus.bmp") {
        screen->SetFocus(TRUE);
        auto* tree = new CTavTree;
        EXPECT_EQ(tree->Initialize(kLeft, kTop, kTreeId, screen, kWidth, kHeight,
                                   ArtPath("treeback.bmp").c_str(), ArtPath(plus).c_str(),
                                   ArtPath(minus).c_str()),
                  TAVERROR_OK);
        EXPECT_EQ(screen->AddObject(tree), TAVERROR_OK);
        for (const auto& [text, parent] :
             {std::pair{"A", -1}, {"B", 0}, {"C", 1}, {"D", 0}, {"E", -1}, {"F", 4}})
            if (sample)
                tree->AddItem(text, -1, parent);
        return tree;
    }
};

// The tree the slow way: items in the order added, shown items found by walking from the top.
struct TreeModel {
    std::vector<int> order;
    std::map<int, int> parent;
    std::map<int, bool> expanded;

    void Delete(int id) {
        parent.erase(id);
        order.erase(std::find(order.begin(), order.end(), id));
        for (int other : std::vector<int>(order))
            if (parent.count(other) != 0 && parent.at(other) == id)
                Delete(other);
    }
    void Show(int id, std::vector<int>& shown) const {
        shown.push_back(id);
        for (int child : order)
            if (expanded.at(id) && parent.at(child) == id)
                Show(child, shown);
    }
    int Depth(int id) const { return parent.at(id) == -1 ? 0 : 1 + Depth(parent.at(id)); }
};

TEST_F(TreeTest, AgreesWithASimpleModelUnderRandomChanges) {
    CTavTree* tree = MakeTree(false);
    EXPECT_EQ(tree->AddItem("x", 9, 42), -1); // no such parent
    EXPECT_EQ(tree->AddItem("x", -2), -1);
    auto* bars = dynamic_cast<CTavScrollBars*>(tree->GetScrollBarsObject());
    TreeModel model;
    std::mt19937 random(11);
    for (int step = 0; step < 400; ++step) {
        SCOPED_TRACE("step " + std::to_string(step));
        const int choice = static_cast<int>(random() % 10);
        const int some = model.order.empty() ? -1 : model.order[random() % model.order.size()];
        if (choice < 5) {
            // Explicit ids: some low, some far above the rest.
            const int id = random() % 3 == 0 ? static_cast<int>(random() % 40 + (random() % 2) * 5000) : -1;
            const int parent = random() % 4 == 0 ? -1 : some;
            int expected = id != -1 && model.parent.count(id) != 0 ? -2 : id;
            for (int free = 0; expected == -1; ++free) // the lowest free id
                expected = model.parent.count(free) != 0 ? -1 : free;
            ASSERT_EQ(tree->AddItem("item", id, parent), std::max(expected, -1));
            if (expected >= 0) {
                model.order.push_back(expected);
                model.parent[expected] = parent;
                model.expanded[expected] = false;
            }
        } else if (choice < 7 && some != -1) {
            ASSERT_TRUE(tree->DeleteItem(some));
            model.Delete(some);
        } else if (some != -1) {
            model.expanded[some] = !model.expanded[some];
            tree->SetItemExpanded(some, model.expanded[some]);
        }
        std::vector<int> shown;
        for (int id : model.order)
            if (model.parent.at(id) == -1)
                model.Show(id, shown);
        ASSERT_EQ(tree->GetVisibleItems(), shown);
        ASSERT_EQ(tree->GetItemIDs(), model.order);
        for (size_t row = 0; row < shown.size(); ++row) {
            ASSERT_EQ(tree->GetItemRow(shown[row]), static_cast<int>(row));
            const bool reachable = 15 * model.Depth(shown[row]) + 10 <= kWidth - 1;
            ASSERT_EQ(tree->ItemAt(kLeft + kWidth - 1, RowY(static_cast<int>(row))),
                      reachable ? shown[row] : -1)
                << "row " << row;
        }
        ASSERT_EQ(bars->GetContentHeight(), std::max(kHeight, static_cast<int>(shown.size()) * 15 + 10));
    }
}

TEST_F(TreeTest, MouseAndKeysSelectExpandAndReport) {
    CTavTree* tree = MakeTree();
    // action (a key's code in x), x, y, selected item, items shown, reports
    const std::tuple<std::string, int, int, int, Ids, Log> steps[] = {
        {"key", VK_DOWN, 0, -1, {0, 4}, {}}, // nothing selected: nothing happens
        {"click", TextX(0), RowY(1), 4, {0, 4}, {"select 4"}},
        {"click", TextX(0), RowY(5), 4, {0, 4}, {"objectdown 3"}}, // no item: the screen hears of it
        {"double", TextX(0), RowY(0), 0, {0, 1, 3, 4}, {"select 0", "double 0"}},
        {"double", TextX(1), RowY(1), 1, {0, 1, 2, 3, 4}, {"select 1", "double 1"}},
        {"double", TextX(1), RowY(1), 1, {0, 1, 3, 4}, {"double 1"}},
        {"double", TextX(0), RowY(6), 1, {0, 1, 3, 4}, {"objectdown 3"}},
        {"right", TextX(1), RowY(2), 3, {0, 1, 3, 4}, {"select 3", "right 3"}},
        {"key", VK_DOWN, 0, 4, {0, 1, 3, 4}, {"select 4"}},
        {"key", VK_DOWN, 0, 4, {0, 1, 3, 4}, {}},
        {"key", VK_UP, 0, 3, {0, 1, 3, 4}, {"select 3"}},
        {"key", VK_HOME, 0, 0, {0, 1, 3, 4}, {"select 0"}},
        {"key", VK_UP, 0, 0, {0, 1, 3, 4}, {}},
        {"key", VK_END, 0, 4, {0, 1, 3, 4}, {"select 4"}},
    };
    for (const auto& [action, x, y, selected, visible, log] : steps) {
        SCOPED_TRACE(action + " " + std::to_string(x) + "," + std::to_string(y));
        screen->log.clear();
        Queue(action, x, y);
        Frame(app);
        EXPECT_EQ(tree->GetSelectedItem(), selected);
        EXPECT_EQ(tree->GetVisibleItems(), visible);
        EXPECT_EQ(screen->log, log);
    }
    // Rows A, B, D, G, E: on the line between two rows both match and the item added first wins.
    tree->AddItem("G", -1, 0);
    for (const auto& [y, item] : {std::pair{kTop + 15, 0}, {kTop + 59, 6}, {kTop + 60, 4}, {kTop + 61, 4}})
        EXPECT_EQ(tree->ItemAt(TextX(1), y), item) << y;
    // A selection that is hidden by collapsing does not move; deleting it leaves none.
    tree->SelectItem(1);
    tree->SetItemExpanded(0, FALSE);
    display->KeyDown(VK_DOWN);
    Frame(app);
    EXPECT_EQ(tree->GetSelectedItem(), 1);
    EXPECT_TRUE(tree->DeleteItem(0));
    EXPECT_EQ(tree->GetSelectedItem(), -1);
    EXPECT_EQ(tree->GetParentID(2), -1);
}

// The content is as wide as the widest shown row, in the font the tree has when the row shows.
TEST_F(TreeTest, ContentIsAsWideAsTheWidestShownRow) {
    CTavTree* tree = MakeTree();
    const auto* bars = dynamic_cast<CTavScrollBars*>(tree->GetScrollBarsObject());
    tree->AddItem(std::string(30, 'W'), -1, 2); // below C
    for (int item : {0, 1, 2})
        tree->SetItemExpanded(item, TRUE);
    const int wide = bars->GetContentWidth();
    tree->SetFontHeight(30);
    EXPECT_TRUE(wide > kWidth && bars->GetContentWidth() > wide) << wide;
    tree->SetItemExpanded(0, FALSE);
    EXPECT_EQ(bars->GetContentWidth(), kWidth);
}

// Back colours, highlights and keys are COLORREFs shown as typed; unset, the colours of a new object's
// dialog.
TEST_F(TreeTest, ColoursShowAsTyped) {
    constexpr COLORREF kUnset = 0xFFFFFFFF;
    for (const auto& [colour, pixel] : {std::pair<COLORREF, std::uint32_t>{kUnset, 0},
                                        {RGB(0, 0, 255), 0xFF},
                                        {RGB(255, 128, 0), 0xFF8000}}) {
        ShowNewScreen();
        CTavStatic *label = AddPlain<CTavStatic>(screen, 1, 0, 0),
                   *edit = AddPlain<CTavEdit>(screen, 2, 0, 0);
        CTavCheckBox* box = AddCheckBox(screen, 4, 0, 0, 80, 20);
        CTavListBox* list = MakeList({"a", "b"});
        CTavTree* tree = MakeTree(true, "missing.bmp", "plus.bmp/x"); // works without its marks
        auto* bar = new CTavMenuBar;
        auto* menu = new CTavPopupMenu;
        ASSERT_EQ(bar->Initialize(screen), TAVERROR_OK);
        bar->AddMenu("FILE");
        screen->SetMenuBar(bar);
        ASSERT_EQ(menu->Initialize(50, 40, 100, 60, screen, ArtPath("popmenuback.bmp").c_str()), TAVERROR_OK);
        menu->AddItem("Cut");
        screen->SetPopupMenu(menu);
        list->SetSelection(0);
        tree->SelectItem(0);
        bar->OnMouseMove(2, 2, TRUE);
        menu->OnMouseMove(60, 45, TRUE);
        if (colour != kUnset) {
            label->SetBackColor(colour);
            edit->SetBackColor(colour);
            box->SetBackColor(colour);
            list->SetBackColor(colour);
            list->SetColumnBackColor(colour);
            list->SetSelectedColor(colour);
            tree->SetItemBackColor(colour);
            tree->SetSelectedItemColor(colour);
            bar->SetBackColor(colour);
            bar->SetHighlightColor(colour);
            menu->SetHighlightColor(colour);
        }
        const std::tuple<CTavObject*, int, int, std::uint32_t> samples[] = {
            {label, 20, 10, 0x40FF40}, {edit, 20, 10, 0x40FF40},  {edit, 20, 17, 0x40FF40},
            {box, 78, 18, 0xFF},       {list, 150, 10, 0x808080}, {list, 150, 30, 0xFF00},
            {list, 150, 50, 0x808080}, {tree, 190, 7, 0xFFFFC0},  {tree, 190, 22, 0x40FF00},
            {bar, 300, 8, 0x404040},   {bar, 1, 15, 0xFF},        {menu, 90, 14, 0x808080}};
        for (const auto& [object, x, y, unset] : samples)
            EXPECT_EQ(PixelAt(object->GetImage(), x, y), colour == kUnset ? unset : pixel) << x << "," << y;
    }
    // A key keys out the colour it names, and a back colour read back keys out the back.
    ShowNewScreen();
    auto* keyed = AddPlain(screen, 1, 0, 0, 20, 20);
    keyed->GetImage()->Fill(0xFF0000);
    keyed->GetImage()->FillRect(10, 0, 20, 20, 0xFF00);
    keyed->SetTransparent(TRUE, RGB(255, 0, 0));
    auto* label = AddPlain<CTavStatic>(screen, 2, 30, 0, 20, 20);
    label->SetBackColor(RGB(255, 128, 0));
    label->SetTransparent(TRUE, label->GetBackColor());
    screen->SetBackColor(RGB(0, 0, 255));
    Frame(app);
    for (const auto& [x, pixel] : {std::pair{5, 0xFFu}, {15, 0xFF00u}, {40, 0xFFu}})
        EXPECT_EQ(display->LastFrame().At(x, 5), pixel) << x;
}

TEST_F(TreeTest, CallbacksMayRemoveTheTreeTheItemOrTheScreen) {
    // action, the report that removes, what it removes, the last report
    const std::array<std::string, 4> cases[] = {
        {"click", "select", "tree", "select 0"},         {"double", "double", "tree", "double 0"},
        {"direct double", "select", "item", "select 0"}, {"direct double", "select", "tree", "select 0"},
        {"right", "select", "item", "select 0"},         {"right", "right", "tree", "right 0"},
        {"down", "select", "tree", "select 4"},          {"right", "select", "screen", "select 0"},
    };
    for (const auto& [action, when, removes, last] : cases) {
        SCOPED_TRACE(action + " removing the " + removes + " at " + when);
        CTavTree* tree = MakeTree();
        if (action == "down") {
            tree->SelectItem(0);
            tree->SetFocus(TRUE);
        }
        screen->log.clear();
        screen->On(when, FALSE, [current = screen, removes = removes, tree](DWORD item) {
            if (removes == "tree")
                current->RemoveObject(kTreeId);
            else if (removes == "item")
                tree->DeleteItem(static_cast<int>(item));
            else
                current->Close();
        });
        // Called outside any routing, the tree itself keeps what is removed alive until it returns.
        if (action == "direct double")
            EXPECT_EQ(tree->OnDoubleClick(TextX(0), RowY(0)), removes == "tree" ? TRUE : FALSE);
        else
            Queue(action == "down" ? "key" : action, action == "down" ? VK_DOWN : TextX(0), RowY(0));
        Frame(app, 2);
        if (removes == "screen") {
            EXPECT_EQ(app.GetChildScreen(), nullptr);
            ShowNewScreen();
            continue;
        }
        EXPECT_EQ(screen->log.back(), last);
        EXPECT_EQ(screen->HasObject(kTreeId), removes != "tree");
        if (removes == "item") {
            EXPECT_EQ(tree->GetVisibleItems(), (Ids{4}));
            screen->RemoveObject(kTreeId);
        }
        screen->hook = nullptr;
    }
}

} // namespace
} // namespace tav::testing
