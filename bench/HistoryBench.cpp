// The model's side of editing: an undo and a redo step, a snap during a drag, and the memory of many
// moves in the history, against the designer's idle frame and the project's own memory.
#include "builder/BuilderApp.h"
#include "builder/MainScreen.h"
#include "model/Snapper.h"
#include "model/edits/History.h"
#include "model/edits/ObjectEdits.h"
#include "tavctrls/platform/HeadlessDisplay.h"
#include "tavctrls/platform/PixelBuffer.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <malloc.h>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

using namespace tav;

std::unique_ptr<Project> ProjectOf(int screens, int objectsPerScreen) {
    auto project = std::make_unique<Project>();
    project->name = "Bench";
    for (int s = 0; s < screens; ++s) {
        auto screen = std::make_unique<ScreenDef>();
        screen->name = "Screen" + std::to_string(s);
        screen->background = "art//dback.bmp";
        project->AddScreen(std::move(screen));
        for (int o = 0; o < objectsPerScreen; ++o) {
            auto object = std::make_unique<ObjectDef>();
            object->screenName = project->screens.back()->name;
            object->SetKind(static_cast<ObjectKind>(o % 8), *project, object->screenName);
            object->name += std::to_string(o);
            object->x = o % 10 * 52;
            object->y = o / 10 % 10 * 42;
            object->caption = "Item " + std::to_string(o);
            object->upBitmap = "art//buttonnormal.bmp";
            object->frames = {"art//spin1.bmp", "art//spin2.bmp"};
            project->AddObject(std::move(object));
        }
    }
    return project;
}

// ---- the reference: an idle frame of the designer, as bench_designer measures it --------------------

class BenchDisplay : public platform::HeadlessDisplay {
public:
    void Present(const platform::PixelBuffer& frame, bool) override {
        benchmark::DoNotOptimize(frame.At(0, 0));
        AdvanceClock(1.0 / 60);
    }
};

// Starts the designer on the headless display with `project` shown; null (and the benchmark skipped) when
// it cannot start.
builder::MainScreen* StartDesigner(benchmark::State& state, builder::BuilderApp& app,
                                   std::unique_ptr<Project> project, int selected) {
    if (::chdir(TAV_SOURCE_DIR) != 0 || !std::filesystem::exists("art/dback.bmp")) {
        state.SkipWithError("cannot find the art folder");
        return nullptr;
    }
    auto display = std::make_unique<BenchDisplay>();
    display->SetCloseWhenInputEnds(false);
    platform::SetNextDisplay(std::move(display));
    auto* main = new builder::MainScreen;
    if (app.doInit(nullptr, 1, "Bench", TAVAPP_WINDOW, 800, 600, 0, 0, 32) != TAVERROR_OK ||
        main->Initialize(0) != TAVERROR_OK || app.SetChildScreen(main) != TAVERROR_OK) {
        state.SkipWithError("the designer did not start");
        return nullptr;
    }
    main->TakeProject(std::move(project));
    main->RefreshTree("Screen0", main->GetProject()->Object(selected).name);
    for (int i = 0; i < 5; ++i)
        app.UpdateFrame();
    return main;
}

void DesignerFrameIdle(benchmark::State& state) {
    builder::BuilderApp app;
    if (StartDesigner(state, app, ProjectOf(2, 30), 3) == nullptr)
        return;
    for (auto _ : state)
        app.UpdateFrame();
}

// ---- one undo or redo of a move on a screen of 1,000 objects, in the designer ----------------------

// The tree and the view brought up to date: one undo or one redo an iteration.
void UndoInDesigner_Ours(benchmark::State& state) {
    builder::BuilderApp app;
    builder::MainScreen* main = StartDesigner(state, app, ProjectOf(1, 1000), 500);
    if (main == nullptr)
        return;
    main->ApplyEdit(
        std::make_unique<edits::MoveObjects>(std::vector<edits::MoveObjects::Shift>{{500, 3, 4}}));
    bool undo = true;
    for (auto _ : state) {
        if (undo)
            main->OnUndo();
        else
            main->OnRedo();
        undo = !undo;
    }
}
void UndoInDesigner_ReferenceDesignerFrameIdle(benchmark::State& state) {
    DesignerFrameIdle(state);
}

// ---- building a snapper among 1,000 objects and asking it once --------------------------------------

void SnapMove_Ours(benchmark::State& state) {
    std::vector<Bounds> others;
    for (int i = 0; i < 1000; ++i)
        others.push_back({i * 37 % 790, i * 53 % 590, 20 + i % 40, 10 + i % 30});
    int step = 0;
    for (auto _ : state) {
        const Snapper snapper(others, {0, 0, 800, 600}, SnapSettings{});
        ++step;
        const Snap snap = snapper.Move({step % 700, step * 7 % 500, 50, 20});
        benchmark::DoNotOptimize(snap.dx + snap.dy);
    }
}
void SnapMove_ReferenceDesignerFrameIdle(benchmark::State& state) {
    DesignerFrameIdle(state);
}

// ---- memory: 10,000 moves in a history against the project of 1,000 objects --------------------------
// Bytes are reported as the manual time of one iteration (a nanosecond a byte), so that the printed
// ratio is the ratio of the bytes.

std::size_t BytesInUse() {
    return mallinfo2().uordblks;
}

void HistoryMemory_Ours(benchmark::State& state) {
    auto project = ProjectOf(1, 1000);
    for (auto _ : state) {
        auto history = std::make_unique<edits::History>();
        history->Reset(*project);
        const std::size_t before = BytesInUse();
        for (int i = 0; i < 10000; ++i)
            history->Do(*project, std::make_unique<edits::MoveObjects>(
                                      std::vector<edits::MoveObjects::Shift>{{i % 1000, 1, 0}}));
        const double bytes = static_cast<double>(BytesInUse() - before);
        state.SetIterationTime(bytes * 1e-9);
        state.counters["bytes"] = bytes;
    }
}
void HistoryMemory_ReferenceProject(benchmark::State& state) {
    for (auto _ : state) {
        const std::size_t before = BytesInUse();
        auto project = ProjectOf(1, 1000);
        const double bytes = static_cast<double>(BytesInUse() - before);
        state.SetIterationTime(bytes * 1e-9);
        state.counters["bytes"] = bytes;
    }
}

BENCHMARK(UndoInDesigner_Ours)->Unit(benchmark::kMicrosecond);
BENCHMARK(UndoInDesigner_ReferenceDesignerFrameIdle)->Unit(benchmark::kMicrosecond);
BENCHMARK(SnapMove_Ours)->Unit(benchmark::kMicrosecond);
BENCHMARK(SnapMove_ReferenceDesignerFrameIdle)->Unit(benchmark::kMicrosecond);
BENCHMARK(HistoryMemory_Ours)->UseManualTime()->Iterations(3)->Unit(benchmark::kMicrosecond);
BENCHMARK(HistoryMemory_ReferenceProject)->UseManualTime()->Iterations(3)->Unit(benchmark::kMicrosecond);

} // namespace
