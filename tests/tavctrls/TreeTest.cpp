#include "HeadlessApp.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace tav::testing {
namespace {

// Records the tree callbacks as "select 4", "double 4", "right 4", "objectdown 3".
class TreeScreen : public CTavScreen {
public:
    std::vector<std::string> events;
    std::function<void(const std::string&, int)> hook;

    void AfterTreeCntrlSelectionChanged(DWORD, int item) override { Record("select", item); }
    void AfterTreeCntrlDoubleClicked(DWORD, int item) override { Record("double", item); }
    void OnTreeCntrlItemRightClick(DWORD, int item) override { Record("right", item); }
    BOOL OnObjectLMouseDown(DWORD id) override {
        events.push_back("objectdown " + std::to_string(id));
        return FALSE;
    }

private:
    void Record(const std::string& kind, int item) {
        events.push_back(kind + " " + std::to_string(item));
        if (hook)
            hook(kind, item);
    }
};

constexpr DWORD kTreeId = 3;
// The tree lies at (20, 30), 200 x 150; rows are 15 high and an item's text starts 15 pixels further
// right per level, at 10 for the top level.
constexpr int kLeft = 20, kTop = 30, kWidth = 200, kHeight = 150;
int RowY(int row) {
    return kTop + 15 * row + 7;
}
int TextX(int depth) {
    return kLeft + 15 * depth + 10 + 5;
}

class TreeTest : public HeadlessAppTest {
protected:
    void SetUp() override {
        HeadlessAppTest::SetUp();
        ASSERT_EQ(Init(app), TAVERROR_OK);
        NewScreen();
    }
    void NewScreen() {
        screen = new TreeScreen;
        ASSERT_EQ(screen->Initialize(1), TAVERROR_OK);
        app.SetChildScreen(screen);
        screen->SetFocus(TRUE);
    }
    CTavTree* MakeTree(DWORD id = kTreeId, int x = kLeft, int y = kTop) {
        auto* tree = new CTavTree;
        EXPECT_EQ(tree->Initialize(static_cast<float>(x), static_cast<float>(y), id, screen, kWidth, kHeight,
                                   ArtPath("treeback.bmp").c_str(), ArtPath("plus.bmp").c_str(),
                                   ArtPath("minus.bmp").c_str()),
                  TAVERROR_OK);
        EXPECT_EQ(screen->AddObject(tree), TAVERROR_OK);
        return tree;
    }
    // A(0) { B(1) { C(2) }, D(3) }, E(4) { F(5) }, all collapsed.
    CTavTree* MakeSample() {
        CTavTree* tree = MakeTree();
        tree->AddItem("A");
        tree->AddItem("B", -1, 0);
        tree->AddItem("C", -1, 1);
        tree->AddItem("D", -1, 0);
        tree->AddItem("E");
        tree->AddItem("F", -1, 4);
        return tree;
    }

    CTavApp app;
    TreeScreen* screen = nullptr;
};

using Ids = std::vector<int>;

TEST_F(TreeTest, InitializeNeedsASizeAndABackground) {
    CTavTree tree;
    EXPECT_EQ(tree.Initialize(0, 0, 1, screen, 0, 10, "a", "", ""), TAVERROR_INVALIDARG);
    EXPECT_EQ(tree.Initialize(0, 0, 1, screen, 10, 10, "", "", ""), TAVERROR_LOADBITMAP);
    EXPECT_EQ(tree.Initialize(0, 0, 1, screen, 10, 10, ArtPath("treeback.bmp").c_str(), "no/such.bmp", ""),
              TAVERROR_LOADBITMAP);
    EXPECT_EQ(tree.GetPlusImage(), nullptr);
    tree.Finish();
}

TEST_F(TreeTest, IdsAreExplicitOrTheLowestFree) {
    CTavTree* tree = MakeTree();
    struct Step {
        const char* text;
        int id, parent, result;
    };
    const Step steps[] = {
        {"a", -1, -1, 0}, {"b", 2, -1, 2},   {"c", -1, -1, 1}, {"d", -1, 2, 3},  {"e", 2, -1, -1},
        {"f", 9, 42, -1}, {"g", -2, -1, -1}, {"h", 10, 3, 10}, {"i", -1, -1, 4},
    };
    for (const Step& step : steps)
        EXPECT_EQ(tree->AddItem(step.text, step.id, step.parent), step.result) << step.text;
    EXPECT_FALSE(tree->HasItem(9));
    EXPECT_EQ(tree->GetItemCount(), 6);
    EXPECT_TRUE(tree->DeleteItem(1));
    EXPECT_TRUE(tree->DeleteItem(3)); // and 10 below it
    EXPECT_FALSE(tree->DeleteItem(10));
    const Ids expected = {1, 3, 5, 6, 7, 8, 9, 10, 11};
    for (int id : expected)
        EXPECT_EQ(tree->AddItem("x"), id);
    EXPECT_EQ(tree->GetItemIDs(), (Ids{0, 2, 4, 1, 3, 5, 6, 7, 8, 9, 10, 11}));
}

TEST_F(TreeTest, DeletingAnItemTakesItsSubtreeAndSelection) {
    CTavTree* tree = MakeSample();
    tree->SelectItem(2);
    EXPECT_EQ(tree->GetParentID(2), 1);
    EXPECT_TRUE(tree->DeleteItem(1));
    for (int id : {1, 2})
        EXPECT_FALSE(tree->HasItem(id)) << id;
    EXPECT_EQ(tree->GetSelectedItem(), -1);
    EXPECT_EQ(tree->GetParentID(2), -1);
    EXPECT_FALSE(tree->DeleteItem(1));
    EXPECT_TRUE(tree->DeleteItem(0));
    EXPECT_EQ(tree->GetItemIDs(), (Ids{4, 5}));
    tree->ExpandAll();
    EXPECT_EQ(tree->GetVisibleItems(), (Ids{4, 5}));
}

TEST_F(TreeTest, ShownItemsFollowExpansion) {
    CTavTree* tree = MakeSample();
    struct Step {
        int id;
        BOOL expanded;
        Ids visible;
    };
    const Step steps[] = {
        {-1, FALSE, {0, 4}},         {0, TRUE, {0, 1, 3, 4}},    {1, TRUE, {0, 1, 2, 3, 4}},
        {0, FALSE, {0, 4}},          {0, TRUE, {0, 1, 2, 3, 4}}, {4, TRUE, {0, 1, 2, 3, 4, 5}},
        {1, FALSE, {0, 1, 3, 4, 5}}, {9, TRUE, {0, 1, 3, 4, 5}},
    };
    for (const Step& step : steps) {
        tree->SetItemExpanded(step.id, step.expanded);
        EXPECT_EQ(tree->GetVisibleItems(), step.visible) << step.id;
    }
    EXPECT_EQ(tree->GetItemRow(2), -1);
    EXPECT_EQ(tree->GetItemRow(5), 4);
    EXPECT_EQ(tree->AddItem("G", -1, 0), 6); // last child of an expanded item in the middle
    EXPECT_EQ(tree->GetVisibleItems(), (Ids{0, 1, 3, 6, 4, 5}));
    tree->ExpandAll();
    EXPECT_EQ(tree->GetVisibleItems(), (Ids{0, 1, 2, 3, 6, 4, 5}));
}

// The tree the slow way: items in the order added, shown items found by walking from the top.
struct TreeModel {
    std::vector<int> order;
    std::map<int, int> parent;
    std::map<int, bool> expanded;

    int LowestFree() const {
        int id = 0;
        while (parent.count(id) != 0)
            ++id;
        return id;
    }
    void Delete(int id) {
        parent.erase(id);
        expanded.erase(id);
        order.erase(std::find(order.begin(), order.end(), id));
        for (int other : std::vector<int>(order))
            if (parent.count(other) != 0 && parent.at(other) == id)
                Delete(other);
    }
    void Show(int id, std::vector<int>& shown) const {
        shown.push_back(id);
        if (expanded.at(id))
            for (int child : order)
                if (parent.at(child) == id)
                    Show(child, shown);
    }
    std::vector<int> Shown() const {
        std::vector<int> shown;
        for (int id : order)
            if (parent.at(id) == -1)
                Show(id, shown);
        return shown;
    }
    int Depth(int id) const {
        int depth = 0;
        for (int up = parent.at(id); up != -1; up = parent.at(up))
            ++depth;
        return depth;
    }
};

TEST_F(TreeTest, AgreesWithASimpleModelUnderRandomChanges) {
    CTavTree* tree = MakeTree();
    auto* bars = dynamic_cast<CTavScrollBars*>(tree->GetScrollBarsObject());
    ASSERT_NE(bars, nullptr);
    TreeModel model;
    std::mt19937 random(11);
    for (int step = 0; step < 400; ++step) {
        const int choice = static_cast<int>(random() % 10);
        const int some = model.order.empty() ? -1 : model.order[random() % model.order.size()];
        if (choice < 5) {
            const int id = random() % 3 == 0 ? static_cast<int>(random() % 40) : -1;
            const int parent = random() % 4 == 0 ? -1 : some;
            const int expected = id != -1 && model.parent.count(id) != 0 ? -1
                                 : id == -1                              ? model.LowestFree()
                                                                         : id;
            ASSERT_EQ(tree->AddItem("item", id, parent), expected) << "step " << step;
            if (expected != -1) {
                model.order.push_back(expected);
                model.parent[expected] = parent;
                model.expanded[expected] = false;
            }
        } else if (choice < 7 && some != -1) {
            ASSERT_TRUE(tree->DeleteItem(some));
            model.Delete(some);
        } else if (some != -1) {
            const bool expand = !model.expanded[some];
            tree->SetItemExpanded(some, expand);
            model.expanded[some] = expand;
        }
        const std::vector<int> shown = model.Shown();
        ASSERT_EQ(tree->GetVisibleItems(), shown) << "step " << step;
        for (size_t row = 0; row < shown.size(); ++row) {
            ASSERT_EQ(tree->GetItemRow(shown[row]), static_cast<int>(row)) << "step " << step;
            const bool reachable = 15 * model.Depth(shown[row]) + 10 <= kWidth - 1;
            ASSERT_EQ(tree->ItemAt(kLeft + kWidth - 1, RowY(static_cast<int>(row))),
                      reachable ? shown[row] : -1)
                << "step " << step << " row " << row;
        }
        ASSERT_EQ(bars->GetContentHeight(), std::max(kHeight, static_cast<int>(shown.size()) * 15 + 10));
    }
}

TEST_F(TreeTest, HitTestsSeeOnlyShownItems) {
    CTavTree* tree = MakeSample();
    tree->SetItemExpanded(0, TRUE);
    EXPECT_EQ(tree->ItemAt(TextX(1), RowY(1)), 1);
    tree->SetItemExpanded(0, FALSE); // B's old row now shows E
    EXPECT_EQ(tree->ItemAt(TextX(1), RowY(1)), 4);
    EXPECT_EQ(tree->ItemAt(TextX(0), RowY(2)), -1);  // below the last row
    EXPECT_EQ(tree->ItemAt(kLeft + 9, RowY(0)), -1); // left of the text (on the mark)
    EXPECT_EQ(tree->ItemAt(kLeft + 10, RowY(0)), 0);
    // On the boundary between two rows both match; the item added first wins.
    tree->SetItemExpanded(4, TRUE); // rows: A, E, F
    EXPECT_EQ(tree->ItemAt(TextX(1), kTop + 15), 0);
    EXPECT_EQ(tree->ItemAt(TextX(1), kTop + 30), 4);
    tree->SetItemExpanded(0, TRUE);
    tree->AddItem("G", -1, 0); // rows: A, B, D, G, E, F; E (4) was added before G (6)
    EXPECT_EQ(tree->ItemAt(TextX(1), kTop + 60), 4);
    EXPECT_EQ(tree->ItemAt(TextX(1), kTop + 60 + 1), 4);
    EXPECT_EQ(tree->ItemAt(TextX(1), kTop + 60 - 1), 6);
}

TEST_F(TreeTest, MouseSelectsExpandsAndReports) {
    CTavTree* tree = MakeSample();
    struct Step {
        const char* action;
        int x, y;
        int selected;
        Ids visible;
        std::vector<std::string> events;
    };
    const Step steps[] = {
        {"click", TextX(0), RowY(1), 4, {0, 4}, {"select 4"}},
        {"click", TextX(0), RowY(1), 4, {0, 4}, {}},               // already selected
        {"click", TextX(0), RowY(5), 4, {0, 4}, {"objectdown 3"}}, // no item: the screen hears of it
        {"double", TextX(0), RowY(0), 0, {0, 1, 3, 4}, {"select 0", "double 0"}},
        {"double", TextX(1), RowY(1), 1, {0, 1, 2, 3, 4}, {"select 1", "double 1"}},
        {"double", TextX(1), RowY(1), 1, {0, 1, 3, 4}, {"double 1"}},
        {"double", TextX(0), RowY(6), 1, {0, 1, 3, 4}, {"objectdown 3"}},
        {"right", TextX(1), RowY(2), 3, {0, 1, 3, 4}, {"select 3", "right 3"}},
        {"right", TextX(1), RowY(7), 3, {0, 1, 3, 4}, {}},
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
        EXPECT_EQ(tree->GetSelectedItem(), step.selected) << action << " at " << step.x << "," << step.y;
        EXPECT_EQ(tree->GetVisibleItems(), step.visible) << action << " at " << step.x << "," << step.y;
        EXPECT_EQ(screen->events, step.events) << action << " at " << step.x << "," << step.y;
    }
}

TEST_F(TreeTest, KeysWalkTheShownItems) {
    CTavTree* tree = MakeSample();
    tree->SetItemExpanded(0, TRUE); // rows: A, B, D, E (C is under the collapsed B)
    display->KeyDown(VK_DOWN);      // nothing selected: nothing happens
    display->LClick(TextX(0), RowY(0));
    Frame(app);
    struct Step {
        UINT key;
        int selected;
        bool reported;
    };
    const Step steps[] = {
        {VK_DOWN, 1, true}, {VK_DOWN, 3, true}, {VK_DOWN, 4, true},  {VK_DOWN, 4, false}, {VK_UP, 3, true},
        {VK_HOME, 0, true}, {VK_UP, 0, false},  {VK_HOME, 0, false}, {VK_END, 4, true},
    };
    for (const Step& step : steps) {
        screen->events.clear();
        display->KeyDown(step.key);
        Frame(app);
        EXPECT_EQ(tree->GetSelectedItem(), step.selected) << "key " << step.key;
        EXPECT_EQ(!screen->events.empty(), step.reported) << "key " << step.key << " to " << step.selected;
    }
    // A selection that is hidden by collapsing does not move.
    tree->SelectItem(1);
    tree->SetItemExpanded(0, FALSE);
    screen->events.clear();
    display->KeyDown(VK_DOWN);
    Frame(app);
    EXPECT_EQ(tree->GetSelectedItem(), 1);
    EXPECT_TRUE(screen->events.empty());
}

TEST_F(TreeTest, ContentGrowsWithRowsAndFonts) {
    CTavTree* tree = MakeTree();
    auto* bars = dynamic_cast<CTavScrollBars*>(tree->GetScrollBarsObject());
    ASSERT_NE(bars, nullptr);
    EXPECT_EQ(bars->GetThickness(), 10);
    const int root = tree->AddItem(std::string(30, 'W'));
    const int narrow = bars->GetContentWidth();
    EXPECT_GT(narrow, kWidth);
    tree->SetFontHeight(30); // existing items follow the tree's font height
    EXPECT_GT(bars->GetContentWidth(), narrow);
    tree->SetFontHeight(15);
    EXPECT_EQ(bars->GetContentWidth(), narrow);
    tree->AddItem(std::string(30, 'W'), -1, root); // hidden under a collapsed item
    EXPECT_EQ(bars->GetContentWidth(), narrow);
    tree->SetTabSpace(20);
    tree->ExpandAll();
    EXPECT_EQ(bars->GetContentWidth(), narrow + 25);
    tree->SetItemHeight(0);
    EXPECT_EQ(tree->GetItemHeight(), 15);
    for (int i = 0; i < 20; ++i)
        tree->AddItem("row");
    EXPECT_EQ(bars->GetContentHeight(), 22 * 15 + 10);
    tree->SetItemHeight(20);
    EXPECT_EQ(bars->GetContentHeight(), 22 * 20 + 10);
}

// Pixels of the tree's view, without the scroll bars.
std::vector<std::uint32_t> ViewPixels(CTavTree* tree) {
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < kHeight - 10; ++y)
        for (int x = 0; x < kWidth - 10; ++x)
            pixels.push_back(PixelAt(tree->GetImage(), x, y));
    return pixels;
}

TEST_F(TreeTest, AScrolledTreeLooksLikeOneHoldingOnlyTheShownRows) {
    // Rows 20 to 30 of a long tree, scrolled by 7 more pixels, against a tree of just those rows.
    CTavTree* whole = MakeTree();
    CTavTree* part = MakeTree(kTreeId + 1);
    for (CTavTree* tree : {whole, part}) {
        tree->SetItemBackColor(0x203040);
        tree->SetSelectedItemColor(0xFFFF00);
    }
    for (int i = 0; i < 60; ++i) {
        const std::string text = "item " + std::to_string(i);
        const bool inPart = i >= 20 && i <= 30;
        for (CTavTree* tree : {whole, part}) {
            if (tree == part && !inPart)
                continue;
            const int id = tree->AddItem(text);
            if (i % 3 == 0)
                tree->AddItem("child", -1, id); // collapsed: a plus mark
            if (i == 24)
                tree->SelectItem(id);
        }
    }
    dynamic_cast<CTavScrollBars*>(whole->GetScrollBarsObject())->SetScrollPosition(0, 20 * 15 + 7);
    dynamic_cast<CTavScrollBars*>(part->GetScrollBarsObject())->SetScrollPosition(0, 7);
    EXPECT_EQ(ViewPixels(whole), ViewPixels(part));

    // Row 24 (selected, with a child) sits at y 4 * 15 - 7 = 53: plus mark, then the selected strip.
    CTavSurface* plus = whole->GetPlusImage()->GetImage();
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x) {
            if (PixelAt(plus, x, y) != 0xFFFFFF) {
                ASSERT_EQ(PixelAt(whole->GetImage(), x, 53 + y), PixelAt(plus, x, y)) << x << "," << y;
            }
        }
    }
    EXPECT_EQ(PixelAt(whole->GetImage(), kWidth - 20, 60), 0xFFFF00u);
    EXPECT_EQ(PixelAt(whole->GetImage(), kWidth - 20, 45), 0x203040u);
    // The rows cut by the top and bottom edges are drawn too.
    EXPECT_EQ(PixelAt(whole->GetImage(), kWidth - 20, 2), 0x203040u);
    EXPECT_EQ(PixelAt(whole->GetImage(), kWidth - 20, kHeight - 2), 0x203040u);
}

TEST_F(TreeTest, ItemsAddedOutOfViewLeaveThePictureAsAFullRedrawWould) {
    CTavTree* tree = MakeTree();
    for (int i = 0; i < 40; ++i)
        tree->AddItem("item " + std::to_string(i));
    dynamic_cast<CTavScrollBars*>(tree->GetScrollBarsObject())->SetScrollPosition(0, 10 * 15);
    const auto redrawn = [tree] {
        const std::vector<std::uint32_t> before = ViewPixels(tree);
        tree->Redraw();
        return before == ViewPixels(tree);
    };
    struct Step {
        const char* text;
        int parent;
    };
    const Step steps[] = {
        {"below the view", -1}, {"first child in view", 12}, {"second child", 12},
        {"child below", 30},    {"child above", 3},          {"root", -1},
    };
    for (const Step& step : steps) {
        tree->AddItem(step.text, -1, step.parent);
        EXPECT_TRUE(redrawn()) << step.text;
    }
    tree->SetItemExpanded(12, TRUE);
    tree->AddItem("child shown in view", -1, 12);
    EXPECT_TRUE(redrawn());
}

TEST_F(TreeTest, ACloneHasTheSameItemsAndLooksTheSame) {
    CTavTree* tree = MakeSample();
    tree->SetItemExpanded(0, TRUE);
    tree->SelectItem(3);
    auto* copy = dynamic_cast<CTavTree*>(tree->Clone(nullptr, 0));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->GetItemIDs(), tree->GetItemIDs());
    EXPECT_EQ(copy->GetVisibleItems(), tree->GetVisibleItems());
    EXPECT_EQ(copy->GetSelectedItem(), 3);
    EXPECT_EQ(copy->GetParentID(2), 1);
    EXPECT_EQ(ViewPixels(copy), ViewPixels(tree));
    copy->Finish();
    delete copy;
}

TEST_F(TreeTest, CallbacksMayRemoveTheTreeTheItemOrTheScreen) {
    struct Case {
        const char* action;
        const char* when;
        const char* removes; // "tree", "item" or "screen"
        const char* last;    // the last report
    };
    const Case cases[] = {
        {"click", "select", "tree", "select 0"},         {"double", "select", "tree", "select 0"},
        {"direct double", "select", "item", "select 0"}, {"double", "double", "tree", "double 0"},
        {"direct double", "select", "tree", "select 0"}, {"right", "select", "item", "select 0"},
        {"right", "right", "tree", "right 0"},           {"down", "select", "tree", "select 4"},
        {"click", "select", "screen", "select 0"},       {"double", "double", "screen", "double 0"},
        {"right", "select", "screen", "select 0"},
    };
    for (const Case& c : cases) {
        CTavTree* tree = MakeSample();
        const std::string removes = c.removes;
        if (std::string(c.action) == "down") {
            tree->SelectItem(0);
            tree->SetFocus(TRUE);
        }
        TreeScreen* current = screen;
        const std::string when = c.when;
        current->events.clear();
        current->hook = [current, when, removes, tree](const std::string& kind, int item) {
            if (kind != when)
                return;
            if (removes == "tree")
                current->RemoveObject(kTreeId);
            else if (removes == "item")
                tree->DeleteItem(item);
            else
                current->Close();
        };
        const std::string action = c.action;
        if (action == "click")
            display->LClick(TextX(0), RowY(0));
        else if (action == "double")
            display->DoubleClick(TextX(0), RowY(0));
        else if (action == "right")
            display->RClick(TextX(0), RowY(0));
        else if (action == "direct double") {
            // Called outside any routing: the tree itself keeps what is removed alive until it returns.
            EXPECT_EQ(tree->OnDoubleClick(TextX(0), RowY(0)), removes == "tree" ? TRUE : FALSE);
        } else
            display->KeyDown(VK_DOWN);
        Frame(app, 2);
        const std::string what = action + " removing the " + removes + " at " + when;
        if (removes == "screen") {
            EXPECT_EQ(app.GetChildScreen(), nullptr) << what;
            NewScreen();
            continue;
        }
        EXPECT_EQ(screen->events.back(), c.last) << what;
        if (removes == "tree") {
            EXPECT_FALSE(screen->HasObject(kTreeId)) << what;
        } else {
            EXPECT_FALSE(tree->HasItem(0)) << what;
            EXPECT_EQ(tree->GetVisibleItems(), (Ids{4})) << what;
            screen->RemoveObject(kTreeId);
        }
        screen->hook = nullptr;
    }
}

} // namespace
} // namespace tav::testing
