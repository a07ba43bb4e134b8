#include "HeadlessApp.h"

#include <algorithm>
#include <array>
#include <map>
#include <random>
#include <tuple>

namespace tav::testing {
namespace {

using Ids = std::vector<int>;
using Log = std::vector<std::string>;
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

class TreeTest : public ScreenAppTest<> {
protected:
    // A(0) { B(1) { C(2) }, D(3) }, E(4) { F(5) }, all collapsed, or no items.
    CTavTree* MakeTree(bool sample = true) {
        screen->SetFocus(TRUE);
        auto* tree = new CTavTree;
        EXPECT_EQ(tree->Initialize(kLeft, kTop, kTreeId, screen, kWidth, kHeight,
                                   ArtPath("treeback.bmp").c_str(), ArtPath("plus.bmp").c_str(),
                                   ArtPath("minus.bmp").c_str()),
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
            const int id = random() % 3 == 0 ? static_cast<int>(random() % 40) : -1;
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
        LogScreen* current = screen;
        current->log.clear();
        current->On(when, FALSE, [current, removes = removes, tree](DWORD item) {
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
