// The designer's own work: rebuilding the design view, an idle frame of the main screen, opening a
// large project with its tree, showing a screen of 1,000 objects, an undo step, a snap and the history's
// memory, each against a reference measured in the same run.
#include "builder/BuilderApp.h"
#include "builder/DesignView.h"
#include "builder/MainScreen.h"
#include "builder/ProjectViews.h"
#include "model/ProjectFile.h"
#include "model/Snapper.h"
#include "model/edits/History.h"
#include "model/edits/ObjectEdits.h"
#include "tavctrls/platform/BitmapFile.h"
#include "tavctrls/platform/HeadlessDisplay.h"
#include "tavctrls/platform/PixelBuffer.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <malloc.h>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

using namespace tav;
using builder::BuilderApp;
using builder::MainScreen;

constexpr int kWidth = 800;
constexpr int kHeight = 600;

// The art folder lies in the source tree.
bool EnterSourceTree() {
    return ::chdir(TAV_SOURCE_DIR) == 0 && std::filesystem::exists("art/dback.bmp");
}

// One object of every kind in turn, with the designer's bitmaps, laid out in a grid.
std::unique_ptr<ObjectDef> MixedObject(Project& project, const std::string& screen, int index) {
    auto object = std::make_unique<ObjectDef>();
    object->screenName = screen;
    object->SetKind(static_cast<ObjectKind>(index % 8), project, screen);
    object->name += std::to_string(index);
    object->x = index % 10 * 52;
    object->y = index / 10 % 10 * 42;
    object->width = 50;
    object->height = 40;
    object->caption = "Item " + std::to_string(index);
    object->image = "art//logo.bmp";
    object->upBitmap = "art//buttonnormal.bmp";
    object->overBitmap = "art//buttonover.bmp";
    object->downBitmap = "art//buttondown.bmp";
    object->checkedBitmap = "art//checkyes.bmp";
    object->uncheckedBitmap = "art//checkno.bmp";
    object->listBackground = "art//listback.bmp";
    object->treeBackground = "art//treeback.bmp";
    object->plusBitmap = "art//plus.bmp";
    object->minusBitmap = "art//minus.bmp";
    object->frames = {"art//spin1.bmp", "art//spin2.bmp", "art//spin3.bmp"};
    return object;
}

std::unique_ptr<Project> MixedProject(int screens, int objectsPerScreen) {
    auto project = std::make_unique<Project>();
    project->name = "Bench";
    for (int s = 0; s < screens; ++s) {
        auto screen = std::make_unique<ScreenDef>();
        screen->name = "Screen" + std::to_string(s);
        screen->background = "art//dback.bmp";
        screen->backgroundMode = BackgroundMode::Stretch;
        project->AddScreen(std::move(screen));
        for (int o = 0; o < objectsPerScreen; ++o)
            project->AddObject(MixedObject(*project, project->screens.back()->name, o));
    }
    return project;
}

// The headless display without keeping the frames it is shown, so that only the designer's own work
// is measured (as a window's upload is not).
class BenchDisplay : public platform::HeadlessDisplay {
public:
    void Present(const platform::PixelBuffer& frame, const platform::DirtyRegion&, bool) override {
        benchmark::DoNotOptimize(frame.At(0, 0));
        AdvanceClock(1.0 / 60);
    }
};

// The designer as it starts: the application on the headless display with its main screen.
struct Designer {
    Designer() {
        auto display = std::make_unique<BenchDisplay>();
        display->SetCloseWhenInputEnds(false);
        platform::SetNextDisplay(std::move(display));
        ok = app.doInit(nullptr, 1, "Bench", TAVAPP_WINDOW, kWidth, kHeight, 0, 0, 32) == TAVERROR_OK;
        if (!ok)
            return;
        main = new MainScreen;
        ok = main->Initialize(0) == TAVERROR_OK && app.SetChildScreen(main) == TAVERROR_OK;
    }

    BuilderApp app;
    MainScreen* main = nullptr;
    bool ok = false;
};

// ---- rebuilding the view: again, or after one edit, against the first build (bitmaps decoded) -------

enum class Build { Again, AfterEdit, First };

void RebuildView(benchmark::State& state, Build build) {
    if (!EnterSourceTree()) {
        state.SkipWithError("cannot find the art folder");
        return;
    }
    Designer designer;
    if (!designer.ok) {
        state.SkipWithError("the designer did not start");
        return;
    }
    designer.main->TakeProject(MixedProject(1, 100));
    Project* project = designer.main->GetProject();
    builder::DesignView* view = designer.main->View();
    builder::ShowScreenInView(project, view, "Screen0", false);
    for (auto _ : state) {
        if (build == Build::First) {
            state.PauseTiming();
            builder::ShowScreenInView(project, view, "", false);
            platform::ClearBitmapCache();
            state.ResumeTiming();
        } else if (build == Build::AfterEdit) {
            project->Object(50).x ^= 1; // as a move or the object dialog changes one object
        }
        builder::ShowScreenInView(project, view, "Screen0", false);
        benchmark::DoNotOptimize(view->GetObjectCount());
    }
}

void ViewRebuild_Ours(benchmark::State& state) {
    RebuildView(state, Build::Again);
}
void ViewRebuild_ReferenceFirstBuild(benchmark::State& state) {
    RebuildView(state, Build::First);
}
void ViewRebuildAfterEdit_Ours(benchmark::State& state) {
    RebuildView(state, Build::AfterEdit);
}
void ViewRebuildAfterEdit_ReferenceFirstBuild(benchmark::State& state) {
    RebuildView(state, Build::First);
}

// ---- an idle frame of the designer against clearing and copying one buffer --------------------------

// The designer started with `project`, its first screen shown and the object at `selected` chosen, as the
// designer mostly rests; null (the benchmark skipped) when it cannot start.
std::unique_ptr<Designer> RestingDesigner(benchmark::State& state, std::unique_ptr<Project> project,
                                          int selected) {
    if (!EnterSourceTree()) {
        state.SkipWithError("cannot find the art folder");
        return nullptr;
    }
    auto designer = std::make_unique<Designer>();
    if (!designer->ok) {
        state.SkipWithError("the designer did not start");
        return nullptr;
    }
    designer->main->TakeProject(std::move(project));
    designer->main->RefreshTree("Screen0", designer->main->GetProject()->Object(selected).name);
    for (int i = 0; i < 5; ++i)
        designer->app.UpdateFrame();
    return designer;
}

void IdleFrames(benchmark::State& state) {
    const std::unique_ptr<Designer> designer = RestingDesigner(state, MixedProject(2, 30), 3);
    if (designer == nullptr)
        return;
    for (auto _ : state)
        designer->app.UpdateFrame();
}

void DesignerFrameIdle_Ours(benchmark::State& state) {
    IdleFrames(state);
}

void DesignerFrameIdle_ReferenceClearCopy(benchmark::State& state) {
    platform::PixelBuffer back, screen;
    back.Allocate(kWidth, kHeight);
    screen.Allocate(kWidth, kHeight);
    const std::size_t bytes = std::size_t{kWidth} * kHeight * 4;
    for (auto _ : state) {
        std::memset(back.Row(0), 0, bytes);
        std::memcpy(back.Row(0), screen.Row(0), bytes);
        benchmark::ClobberMemory();
    }
}

// ---- opening a large project: reading it and filling the tree, against reading its bytes ------------

struct ProjectFile {
    ProjectFile() {
        char pattern[] = "/tmp/tavdesigner.XXXXXX";
        folder = ::mkdtemp(pattern);
        path = folder + "/large.tvp";
        bytes = FormatProjectFile(*MixedProject(50, 100));
        std::ofstream(path, std::ios::binary) << bytes;
    }
    ~ProjectFile() { std::filesystem::remove_all(folder); }

    std::string folder, path, bytes;
};

ProjectFile& LargeProject() {
    static ProjectFile file;
    return file;
}

// As FILE > Open or a recent file: reading with the bitmap lookups, the history reset, the tree filled,
// the recent list written, up to the frame that shows the tree.
void OpenProject_Ours(benchmark::State& state) {
    if (!EnterSourceTree()) {
        state.SkipWithError("cannot find the art folder");
        return;
    }
    // The recent list the designer keeps goes beside the file, never into the real settings.
    const std::string& path = LargeProject().path;
    ::setenv("XDG_CONFIG_HOME", LargeProject().folder.c_str(), 1);
    Designer designer;
    if (!designer.ok) {
        state.SkipWithError("the designer did not start");
        return;
    }
    for (auto _ : state) {
        if (!designer.main->OpenProjectFile(path))
            state.SkipWithError("read failed");
        designer.app.UpdateFrame();
        benchmark::DoNotOptimize(designer.main->Tree()->GetItemCount());
        state.PauseTiming(); // closing the project is not part of opening it
        designer.main->TakeProject(nullptr);
        designer.app.UpdateFrame();
        state.ResumeTiming();
    }
}

// The tree's share of opening, shown on its own (no reference).
void ProjectTreeFill(benchmark::State& state) {
    if (!EnterSourceTree()) {
        state.SkipWithError("cannot find the art folder");
        return;
    }
    Designer designer;
    CTavTree* tree = designer.ok ? designer.main->Tree() : nullptr;
    Project project;
    if (tree == nullptr || !project.ReadProjectFile(LargeProject().path)) {
        state.SkipWithError("the designer did not start");
        return;
    }
    for (auto _ : state) {
        tree->DeleteAllItems();
        builder::FillProjectTree(project, tree, "", "");
        benchmark::DoNotOptimize(tree->GetItemCount());
    }
}

void OpenProject_ReferenceReadBytes(benchmark::State& state) {
    const std::string& path = LargeProject().path;
    for (auto _ : state) {
        std::ifstream in(path, std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        benchmark::DoNotOptimize(bytes.data());
    }
}

void OpenProject_ReferenceGetline(benchmark::State& state) {
    const std::string& path = LargeProject().path;
    for (auto _ : state) {
        std::ifstream in(path);
        std::string line;
        std::size_t lines = 0;
        while (std::getline(in, line))
            ++lines;
        benchmark::DoNotOptimize(lines);
    }
}

// ---- one undo or redo of a move on a screen of 1,000 objects, the tree and the view kept up to date ---

void UndoInDesigner_Ours(benchmark::State& state) {
    const std::unique_ptr<Designer> designer = RestingDesigner(state, MixedProject(1, 1000), 500);
    if (designer == nullptr)
        return;
    MainScreen* main = designer->main;
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
    IdleFrames(state);
}

// ---- picking a screen of 1,000 objects in the tree, up to the frame that shows it ---------------------

// The tree item of the named screen, or -1.
int ScreenItem(CTavTree* tree, const std::string& name) {
    for (int id = 0; id < tree->GetItemCount(); ++id)
        if (tree->GetParentID(id) == 0 && tree->GetItemText(id) == name)
            return id;
    return -1;
}

// Each time as the first time after opening: an empty view before, no bitmap decoded yet.
void ShowLargeScreen_Ours(benchmark::State& state) {
    const std::unique_ptr<Designer> designer = RestingDesigner(state, MixedProject(2, 1000), 0);
    if (designer == nullptr)
        return;
    CTavTree* tree = designer->main->Tree();
    const int screen = ScreenItem(tree, "Screen0");
    if (screen < 0) {
        state.SkipWithError("no tree item for the screen");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        tree->SelectItem(0);
        platform::ClearBitmapCache();
        designer->app.UpdateFrame();
        state.ResumeTiming();
        tree->SelectItem(screen);
        designer->app.UpdateFrame();
        benchmark::DoNotOptimize(designer->main->View()->GetObjectCount());
    }
}

// The goal: shown within three frames of a 60 Hz display. Nothing to run, so the three periods are
// given as the manual time of each iteration.
void ShowLargeScreen_ReferenceThreeFrames(benchmark::State& state) {
    for (auto _ : state)
        state.SetIterationTime(3.0 / 60);
}

// ---- building a snapper among 1,000 objects and asking it once --------------------------------------

void SnapMove_Ours(benchmark::State& state) {
    std::vector<Bounds> others;
    for (int i = 0; i < 1000; ++i)
        others.push_back({i * 37 % 790, i * 53 % 590, 20 + i % 40, 10 + i % 30});
    int step = 0;
    for (auto _ : state) {
        const Snapper snapper(others, {0, 0, kWidth, kHeight}, SnapSettings{});
        ++step;
        const Snap snap = snapper.Move({step % 700, step * 7 % 500, 50, 20});
        benchmark::DoNotOptimize(snap.dx + snap.dy);
    }
}
void SnapMove_ReferenceDesignerFrameIdle(benchmark::State& state) {
    IdleFrames(state);
}

// ---- memory: 10,000 moves in a history against the project of 1,000 objects --------------------------
// Bytes are reported as the manual time of one iteration (a nanosecond a byte), so that the printed
// ratio is the ratio of the bytes.

std::size_t BytesInUse() {
    return mallinfo2().uordblks;
}

void ReportBytes(benchmark::State& state, std::size_t before) {
    const double bytes = static_cast<double>(BytesInUse() - before);
    state.SetIterationTime(bytes * 1e-9);
    state.counters["bytes"] = bytes;
}

void HistoryMemory_Ours(benchmark::State& state) {
    auto project = MixedProject(1, 1000);
    for (auto _ : state) {
        auto history = std::make_unique<edits::History>();
        history->Reset(*project);
        const std::size_t before = BytesInUse();
        for (int i = 0; i < 10000; ++i)
            history->Do(*project, std::make_unique<edits::MoveObjects>(
                                      std::vector<edits::MoveObjects::Shift>{{i % 1000, 1, 0}}));
        ReportBytes(state, before);
    }
}
void HistoryMemory_ReferenceProject(benchmark::State& state) {
    for (auto _ : state) {
        const std::size_t before = BytesInUse();
        auto project = MixedProject(1, 1000);
        ReportBytes(state, before);
    }
}

BENCHMARK(ViewRebuild_Ours)->Unit(benchmark::kMillisecond);
BENCHMARK(ViewRebuild_ReferenceFirstBuild)->Unit(benchmark::kMillisecond);
BENCHMARK(ViewRebuildAfterEdit_Ours)->Unit(benchmark::kMillisecond);
BENCHMARK(ViewRebuildAfterEdit_ReferenceFirstBuild)->Unit(benchmark::kMillisecond);
BENCHMARK(DesignerFrameIdle_Ours)->Unit(benchmark::kMicrosecond);
BENCHMARK(DesignerFrameIdle_ReferenceClearCopy)->Unit(benchmark::kMicrosecond);
BENCHMARK(OpenProject_Ours)->Unit(benchmark::kMillisecond);
BENCHMARK(ProjectTreeFill)->Unit(benchmark::kMillisecond);
BENCHMARK(OpenProject_ReferenceReadBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(OpenProject_ReferenceGetline)->Unit(benchmark::kMillisecond);
BENCHMARK(UndoInDesigner_Ours)->Unit(benchmark::kMicrosecond);
BENCHMARK(UndoInDesigner_ReferenceDesignerFrameIdle)->Unit(benchmark::kMicrosecond);
BENCHMARK(ShowLargeScreen_Ours)->Unit(benchmark::kMillisecond);
BENCHMARK(ShowLargeScreen_ReferenceThreeFrames)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(SnapMove_Ours)->Unit(benchmark::kMicrosecond);
BENCHMARK(SnapMove_ReferenceDesignerFrameIdle)->Unit(benchmark::kMicrosecond);
BENCHMARK(HistoryMemory_Ours)->UseManualTime()->Iterations(3)->Unit(benchmark::kMicrosecond);
BENCHMARK(HistoryMemory_ReferenceProject)->UseManualTime()->Iterations(3)->Unit(benchmark::kMicrosecond);

} // namespace
