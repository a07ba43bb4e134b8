#include "HeadlessApp.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace tav::testing {
namespace {

using Ids = std::vector<int>;
using Log = std::vector<std::string>;
constexpr DWORD kTreeId = 3;
// The tree lies at (20, 30), 200 x 150; rows are 15 high and an item's text starts 15 pixels further
// right per level, at 10 for the top level.
constexpr int kLeft = 20, kTop = 30, kWidth = 200, kHeight = 150;
int RowY(int row) { return kTop + 15 * row + 7; }
int TextX(int depth) { return kLeft + 15 * depth + 10 + 5; }

// Pixels of the tree's view, without the scroll bars.
std::vector<std::uint32_t> ViewPixels(CTavTree* tree) {
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < kHeight - 10; ++y)
        for (int x = 0; x < kWidth - 10; ++x)
            pixels.push_back(PixelAt(tree->GetImage(), x, y));
    return pixels;
}
CTavScrollBars* Bars(CTavTree* tree) { return dynamic_cast<CTavScrollBars*>(tree->GetScrollBarsObject()); }

class TreeTest : public ScreenAppTest<> {
protected:
    CTavTree* MakeTree(DWORD id = kTreeId) {
        screen->SetFocus(TRUE);
        auto* tree = new CTavTree;
        EXPECT_EQ(tree->Initialize(kLeft, kTop, id, screen, kWidth, kHeight, ArtPath("treeback.bmp").c_str(),
                                   ArtPath("plus.bmp").c_str(), ArtPath("minus.bmp").c_str()),
                  TAVERROR_OK);
        EXPECT_EQ(screen->AddObject(tree), TAVERROR_OK);
        return tree;
    }
    // A(0) { B(1) { C(2) }, D(3) }, E(4) { F(5) }, all collapsed.
    CTavTree* MakeSample() {
        CTavTree* tree = MakeTree();
        for (const auto& [text, parent] : {std::pair{"A", -1}, {"B", 0}, {"C", 1}, {"D", 0}, {"E", -1}, {"F", 4}})
            tree->AddItem(text, -1, parent);
        return tree;
    }
};

TEST_F(TreeTest, ItemsNeedAFreeIdAndAParent) {
    CTavTree bad;
    EXPECT_EQ(bad.Initialize(0, 0, 1, screen, 0, 10, "a", "", ""), TAVERROR_INVALIDARG);
    EXPECT_EQ(bad.Initialize(0, 0, 1, screen, 10, 10, "", "", ""), TAVERROR_LOADBITMAP);
    EXPECT_EQ(bad.Initialize(0, 0, 1, screen, 10, 10, ArtPath("treeback.bmp").c_str(), "no/such.bmp", ""),
              TAVERROR_LOADBITMAP);
    EXPECT_EQ(bad.GetPlusImage(), nullptr);
    bad.Finish();
    CTavTree* tree = MakeSample();
    EXPECT_EQ(tree->AddItem("x", 9, 42), -1);
    EXPECT_EQ(tree->AddItem("x", -2), -1);
    EXPECT_EQ(tree->AddItem("x", 2), -1);
    tree->SelectItem(2);
    EXPECT_TRUE(tree->DeleteItem(1)); // and C below it, with the selection
    EXPECT_FALSE(tree->HasItem(2));
    EXPECT_EQ(tree->GetSelectedItem(), -1);
    EXPECT_EQ(tree->GetParentID(2), -1);
    EXPECT_FALSE(tree->DeleteItem(1));
    EXPECT_EQ(tree->GetItemRow(5), -1); // under a collapsed item
    tree->ExpandAll();
    EXPECT_EQ(tree->GetVisibleItems(), (Ids{0, 3, 4, 5}));
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
    std::vector<int> Shown() const {
        std::vector<int> shown;
        for (int id : order)
            if (parent.at(id) == -1)
                Show(id, shown);
        return shown;
    }
    int Depth(int id) const { return parent.at(id) == -1 ? 0 : 1 + Depth(parent.at(id)); }
};

TEST_F(TreeTest, AgreesWithASimpleModelUnderRandomChanges) {
    CTavTree* tree = MakeTree();
    TreeModel model;
    std::mt19937 random(11);
    for (int step = 0; step < 400; ++step) {
        const int choice = static_cast<int>(random() % 10);
        const int some = model.order.empty() ? -1 : model.order[random() % model.order.size()];
        if (choice < 5) {
            const int id = random() % 3 == 0 ? static_cast<int>(random() % 40) : -1;
            const int parent = random() % 4 == 0 ? -1 : some;
            const int expected = id == -1 ? model.LowestFree() : model.parent.count(id) != 0 ? -1 : id;
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
            model.expanded[some] = !model.expanded[some];
            tree->SetItemExpanded(some, model.expanded[some]);
        }
        const std::vector<int> shown = model.Shown();
        ASSERT_EQ(tree->GetVisibleItems(), shown) << "step " << step;
        ASSERT_EQ(tree->GetItemIDs(), model.order) << "step " << step;
        for (size_t row = 0; row < shown.size(); ++row) {
            ASSERT_EQ(tree->GetItemRow(shown[row]), static_cast<int>(row)) << "step " << step;
            const bool reachable = 15 * model.Depth(shown[row]) + 10 <= kWidth - 1;
            ASSERT_EQ(tree->ItemAt(kLeft + kWidth - 1, RowY(static_cast<int>(row))), reachable ? shown[row] : -1)
                << "step " << step << " row " << row;
        }
        ASSERT_EQ(Bars(tree)->GetContentHeight(), std::max(kHeight, static_cast<int>(shown.size()) * 15 + 10));
    }
}

TEST_F(TreeTest, MouseAndKeysSelectExpandAndReport) {
    CTavTree* tree = MakeSample();
    struct Step {
        const char* action;
        int x, y, selected; // a key's code in x
        Ids visible;
        Log log;
    };
    const Step steps[] = {
        {"key", VK_DOWN, 0, -1, {0, 4}, {}}, // nothing selected: nothing happens
        {"click", TextX(0), RowY(1), 4, {0, 4}, {"select 4"}},
        {"click", TextX(0), RowY(1), 4, {0, 4}, {}},               // already selected
        {"click", TextX(0), RowY(5), 4, {0, 4}, {"objectdown 3"}}, // no item: the screen hears of it
        {"double", TextX(0), RowY(0), 0, {0, 1, 3, 4}, {"select 0", "double 0"}},
        {"double", TextX(1), RowY(1), 1, {0, 1, 2, 3, 4}, {"select 1", "double 1"}},
        {"double", TextX(1), RowY(1), 1, {0, 1, 3, 4}, {"double 1"}},
        {"double", TextX(0), RowY(6), 1, {0, 1, 3, 4}, {"objectdown 3"}},
        {"right", TextX(1), RowY(2), 3, {0, 1, 3, 4}, {"select 3", "right 3"}},
        {"right", TextX(1), RowY(7), 3, {0, 1, 3, 4}, {}},
        {"key", VK_DOWN, 0, 4, {0, 1, 3, 4}, {"select 4"}},
        {"key", VK_DOWN, 0, 4, {0, 1, 3, 4}, {}},
        {"key", VK_UP, 0, 3, {0, 1, 3, 4}, {"select 3"}},
        {"key", VK_HOME, 0, 0, {0, 1, 3, 4}, {"select 0"}},
        {"key", VK_UP, 0, 0, {0, 1, 3, 4}, {}},
        {"key", VK_HOME, 0, 0, {0, 1, 3, 4}, {}},
        {"key", VK_END, 0, 4, {0, 1, 3, 4}, {"select 4"}},
    };
    for (const Step& step : steps) {
        screen->log.clear();
        const std::string action = step.action;
        if (action == "key")
            display->KeyDown(static_cast<unsigned>(step.x));
        else
            Queue(action, step.x, step.y);
        Frame(app);
        const std::string what = action + " " + std::to_string(step.x) + "," + std::to_string(step.y);
        EXPECT_EQ(tree->GetSelectedItem(), step.selected) << what;
        EXPECT_EQ(tree->GetVisibleItems(), step.visible) << what;
        EXPECT_EQ(screen->log, step.log) << what;
    }
    // A selection that is hidden by collapsing does not move.
    tree->SelectItem(1);
    tree->SetItemExpanded(0, FALSE);
    screen->log.clear();
    display->KeyDown(VK_DOWN);
    Frame(app);
    EXPECT_EQ(tree->GetSelectedItem(), 1);
    EXPECT_TRUE(screen->log.empty());
}

TEST_F(TreeTest, AScrolledTreeLooksLikeOneHoldingOnlyTheShownRows) {
    // Rows 20 to 30 of a long tree, scrolled by 7 more pixels, against a tree of just those rows.
    CTavTree* whole = MakeTree();
    CTavTree* part = MakeTree(kTreeId + 1);
    std::vector<int> ids; // of the whole tree's top items
    for (int i = 0; i < 60; ++i)
        for (CTavTree* tree : {whole, part}) {
            if (tree == part && (i < 20 || i > 30))
                continue;
            const int id = tree->AddItem("item " + std::to_string(i));
            if (tree == whole)
                ids.push_back(id);
            if (i % 3 == 0)
                tree->AddItem("child", -1, id); // collapsed: a plus mark
            if (i == 24)
                tree->SelectItem(id);
        }
    // A clone has the same items and looks the same.
    auto* copy = dynamic_cast<CTavTree*>(whole->Clone(nullptr, 0));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->GetItemIDs(), whole->GetItemIDs());
    EXPECT_EQ(copy->GetVisibleItems(), whole->GetVisibleItems());
    EXPECT_EQ(copy->GetSelectedItem(), whole->GetSelectedItem());
    EXPECT_EQ(copy->GetParentID(1), ids[0]);
    EXPECT_EQ(ViewPixels(copy), ViewPixels(whole));
    copy->Finish();
    delete copy;
    Bars(whole)->SetScrollPosition(0, 20 * 15 + 7);
    Bars(part)->SetScrollPosition(0, 7);
    EXPECT_EQ(ViewPixels(whole), ViewPixels(part));
    // Items added out of view leave the picture as a full redraw would.
    const auto redrawn = [whole] {
        const std::vector<std::uint32_t> before = ViewPixels(whole);
        whole->Redraw();
        return before == ViewPixels(whole);
    };
    for (const auto& [text, parent] : {std::pair{"below", -1}, {"first child in view", 22}, {"child above", 4}}) {
        whole->AddItem(text, -1, parent < 0 ? -1 : ids[static_cast<size_t>(parent)]);
        EXPECT_TRUE(redrawn()) << text;
    }
    whole->SetItemExpanded(ids[22], TRUE);
    whole->AddItem("child shown in view", -1, ids[22]);
    EXPECT_TRUE(redrawn());
}

TEST_F(TreeTest, CallbacksMayRemoveTheTreeTheItemOrTheScreen) {
    // action, the report that removes, what it removes, the last report
    const std::array<std::string, 4> cases[] = {
        {"click", "select", "tree", "select 0"},         {"double", "select", "tree", "select 0"},
        {"direct double", "select", "item", "select 0"}, {"double", "double", "tree", "double 0"},
        {"direct double", "select", "tree", "select 0"}, {"right", "select", "item", "select 0"},
        {"right", "right", "tree", "right 0"},           {"down", "select", "tree", "select 4"},
        {"click", "select", "screen", "select 0"},       {"double", "double", "screen", "double 0"},
        {"right", "select", "screen", "select 0"},
    };
    for (const auto& [action, when, removes, last] : cases) {
        CTavTree* tree = MakeSample();
        if (action == "down") {
            tree->SelectItem(0);
            tree->SetFocus(TRUE);
        }
        LogScreen* current = screen;
        current->log.clear();
        current->hook = [current, when = when, removes = removes, tree](const std::string& entry) {
            if (entry.rfind(when, 0) != 0)
                return FALSE;
            if (removes == "tree")
                current->RemoveObject(kTreeId);
            else if (removes == "item")
                tree->DeleteItem(std::stoi(entry.substr(when.size() + 1)));
            else
                current->Close();
            return FALSE;
        };
        if (action == "direct double") {
            // Called outside any routing: the tree itself keeps what is removed alive until it returns.
            EXPECT_EQ(tree->OnDoubleClick(TextX(0), RowY(0)), removes == "tree" ? TRUE : FALSE);
        } else if (action == "down") {
            display->KeyDown(VK_DOWN);
        } else {
            Queue(action, TextX(0), RowY(0));
        }
        Frame(app, 2);
        const std::string what = action + " removing the " + removes + " at " + when;
        if (removes == "screen") {
            EXPECT_EQ(app.GetChildScreen(), nullptr) << what;
            ShowNewScreen();
            continue;
        }
        EXPECT_EQ(screen->log.back(), last) << what;
        EXPECT_EQ(screen->HasObject(kTreeId), removes != "tree") << what;
        if (removes == "item") {
            EXPECT_EQ(tree->GetVisibleItems(), (Ids{4})) << what;
            screen->RemoveObject(kTreeId);
        }
        screen->hook = nullptr;
    }
}

} // namespace
} // namespace tav::testing
