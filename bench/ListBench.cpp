// Filling a list box and a tree with 10,000 entries against 1,000 (the cost should grow tenfold, not a
// hundredfold), and redrawing them scrolled to the middle against holding only the rows in view.
#include "tavctrls/TavCtrls.h"
#include "tavctrls/platform/HeadlessDisplay.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

namespace {

constexpr int kWidth = 280;
constexpr int kHeight = 180;

// An application on the headless display with one screen, started from the source tree so that the
// controls find their art.
class Bench {
public:
    explicit Bench(benchmark::State& state) {
        std::error_code error;
        std::filesystem::current_path(std::filesystem::path(__FILE__).parent_path().parent_path(), error);
        tav::platform::SetNextDisplay(std::make_unique<tav::platform::HeadlessDisplay>());
        if (error || app.doInit(nullptr, 1, "Bench", TAVAPP_WINDOW, 640, 480, 0, 0, 32) != TAVERROR_OK) {
            state.SkipWithError("no application");
            return;
        }
        screen = new CTavScreen;
        screen->Initialize(1);
        app.SetChildScreen(screen);
    }

    CTavListBox* NewList(int rows) {
        auto* list = new CTavListBox;
        list->Initialize(10, 20, 20, kWidth, kHeight, screen, "art/listback.bmp");
        list->AddColumn("Name", 140);
        list->AddColumn("Type", 140);
        for (int i = 0; i < rows; ++i) {
            const int row = list->AddItem(("Screen " + std::to_string(i)).c_str());
            list->SetItemText(row, 1, i % 2 != 0 ? "Popup" : "Full Screen");
        }
        screen->AddObject(list);
        return list;
    }

    // A project outline: one root, `screens` items under it, `objects` under each; all expanded.
    CTavTree* NewTree(int screens, int objects) {
        auto* tree = new CTavTree;
        tree->Initialize(320, 20, 11, screen, kWidth, kHeight, "art/treeback.bmp", "art/plus.bmp",
                         "art/minus.bmp");
        const int root = tree->AddItem("Project");
        tree->SetItemExpanded(root, TRUE);
        for (int s = 0; s < screens; ++s) {
            const int item = tree->AddItem("Screen " + std::to_string(s), -1, root);
            tree->SetItemExpanded(item, TRUE);
            for (int o = 0; o < objects; ++o)
                tree->AddItem("Object " + std::to_string(o), -1, item);
        }
        screen->AddObject(tree);
        return tree;
    }

    void Remove(DWORD id) { screen->RemoveObject(id); }

    CTavApp app;
    CTavScreen* screen = nullptr;
};

void ScrollTo(CTavObject* control, int y) {
    if (auto* bars = dynamic_cast<CTavScrollBars*>(control->GetScrollBarsObject()))
        bars->SetScrollPosition(0, y);
}

void AddRows(benchmark::State& state, int rows) {
    Bench bench(state);
    for (auto _ : state) {
        CTavListBox* list = bench.NewList(rows);
        benchmark::DoNotOptimize(list->GetRowCount());
        state.PauseTiming();
        bench.Remove(10);
        state.ResumeTiming();
    }
}

void ListAdd_Ours(benchmark::State& state) {
    AddRows(state, 10000);
}
void ListAdd_Reference1000(benchmark::State& state) {
    AddRows(state, 1000);
}

void AddItems(benchmark::State& state, int screens) {
    Bench bench(state);
    for (auto _ : state) {
        CTavTree* tree = bench.NewTree(screens, 99);
        benchmark::DoNotOptimize(tree->GetItemCount());
        state.PauseTiming();
        bench.Remove(11);
        state.ResumeTiming();
    }
}

// 1 + 100 + 9,900 items against 1 + 10 + 990.
void TreeAdd_Ours(benchmark::State& state) {
    AddItems(state, 100);
}
void TreeAdd_Reference1000(benchmark::State& state) {
    AddItems(state, 10);
}

// The list shows eight rows under its header: 10,000 rows scrolled to the middle against nine rows
// (the ninth keeps the scroll bar, as in the long list).
void RedrawList(benchmark::State& state, int rows, int scrollY) {
    Bench bench(state);
    CTavListBox* list = bench.NewList(rows);
    ScrollTo(list, scrollY);
    for (auto _ : state)
        list->Redraw();
}

void ListRedraw_Ours(benchmark::State& state) {
    RedrawList(state, 10000, 5000 * 20);
}
void ListRedraw_ReferenceVisible(benchmark::State& state) {
    RedrawList(state, 9, 0);
}

// The tree shows twelve rows: 10,001 items scrolled to the middle against a root with thirteen items.
void RedrawTree(benchmark::State& state, int screens, int objects, int scrollY) {
    Bench bench(state);
    CTavTree* tree = bench.NewTree(screens, objects);
    ScrollTo(tree, scrollY);
    for (auto _ : state)
        tree->Redraw();
}

void TreeRedraw_Ours(benchmark::State& state) {
    RedrawTree(state, 100, 99, 5000 * 15);
}
void TreeRedraw_ReferenceVisible(benchmark::State& state) {
    RedrawTree(state, 1, 12, 0);
}

BENCHMARK(ListAdd_Ours)->Unit(benchmark::kMillisecond);
BENCHMARK(ListAdd_Reference1000)->Unit(benchmark::kMillisecond);
BENCHMARK(TreeAdd_Ours)->Unit(benchmark::kMillisecond);
BENCHMARK(TreeAdd_Reference1000)->Unit(benchmark::kMillisecond);
BENCHMARK(ListRedraw_Ours);
BENCHMARK(ListRedraw_ReferenceVisible);
BENCHMARK(TreeRedraw_Ours);
BENCHMARK(TreeRedraw_ReferenceVisible);

} // namespace
