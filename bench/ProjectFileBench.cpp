#include "model/ProjectFile.h"
#include "tavgen/Tavgen.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace {

using namespace tav;

// `screens` screens with 100 objects each, every kind, with relative bitmap paths like real projects.
void FillProject(Project& project, int screens) {
    project.name = "Bench";
    for (int s = 0; s < screens; ++s) {
        auto screen = std::make_unique<ScreenDef>();
        screen->name = "Screen" + std::to_string(s);
        screen->background = "art/background" + std::to_string(s) + ".bmp";
        project.AddScreen(std::move(screen));
        Project screenObjects; // names are unique per screen: only this screen's objects are searched
        for (int o = 0; o < 100; ++o) {
            auto object = std::make_unique<ObjectDef>();
            object->screenName = project.screens.back()->name;
            object->SetKind(static_cast<ObjectKind>(o % 8), screenObjects, object->screenName);
            for (std::string* path :
                 {&object->upBitmap, &object->overBitmap, &object->downBitmap, &object->checkedBitmap,
                  &object->uncheckedBitmap, &object->listBackground, &object->treeBackground,
                  &object->plusBitmap, &object->minusBitmap})
                *path = "art/" + std::filesystem::path(*path).filename().string();
            object->caption = "Caption of object " + std::to_string(o);
            object->x = o * 7;
            object->y = o * 5;
            if (object->kind == ObjectKind::Animation)
                object->frames = {"art/frame1.bmp", "art/frame2.bmp", "art/frame3.bmp"};
            screenObjects.AddObject(std::move(object));
        }
        for (auto& object : screenObjects.objects)
            project.AddObject(std::move(object));
    }
}

struct Fixture {
    explicit Fixture(int screens) {
        char pattern[] = "/tmp/tavbench.XXXXXX";
        folder = ::mkdtemp(pattern);
        FillProject(project, screens);
        bytes = FormatProjectFile(project);
        input = folder + "/input.tvp";
        output = folder + "/output.tvp";
        std::ofstream(input, std::ios::binary) << bytes;
    }
    ~Fixture() { std::filesystem::remove_all(folder); }

    std::string folder, input, output, bytes;
    Project project;
};

Fixture& Shared() {
    static Fixture fixture(100);
    return fixture;
}

// 100,000 objects on 1,000 screens.
Fixture& Large() {
    static Fixture fixture(1000);
    return fixture;
}

void Read_Ours(benchmark::State& state) {
    Shared(); // built outside the timed loop
    for (auto _ : state) {
        auto project = std::make_unique<Project>();
        if (!project->ReadProjectFile(Shared().input))
            state.SkipWithError("read failed");
        benchmark::DoNotOptimize(project->objects.data());
        state.PauseTiming(); // destroying the result is not part of reading it
        project.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(Shared().bytes.size()));
}

void Read_Reference_Getline(benchmark::State& state) {
    for (auto _ : state) {
        std::ifstream in(Shared().input);
        std::string line;
        std::size_t lines = 0;
        while (std::getline(in, line))
            ++lines;
        benchmark::DoNotOptimize(lines);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(Shared().bytes.size()));
}

void Write_Ours(benchmark::State& state) {
    Shared();
    for (auto _ : state)
        if (!Shared().project.WriteProjectFile(Shared().output))
            state.SkipWithError("write failed");
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(Shared().bytes.size()));
}

// The same bytes with one write; with `safe`, also as a safe save must: into a new file, flushed to
// disk, renamed over the old one, and the rename flushed with the folder.
void WriteReference(benchmark::State& state, bool safe) {
    const std::string& bytes = Shared().bytes;
    const std::string temporary = Shared().folder + "/.output.tvp.new";
    for (auto _ : state) {
        const std::string& path = safe ? temporary : Shared().output;
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
            state.SkipWithError("write failed");
        if (safe)
            ::fsync(fd);
        ::close(fd);
        if (!safe)
            continue;
        if (::rename(temporary.c_str(), Shared().output.c_str()) != 0)
            state.SkipWithError("rename failed");
        const int folder = ::open(Shared().folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ::fsync(folder);
        ::close(folder);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
}
void Write_Reference_OneWrite(benchmark::State& state) {
    WriteReference(state, false);
}
void Write_Reference_OneWriteFsyncAndRename(benchmark::State& state) {
    WriteReference(state, true);
}

// What `tavgen validate` does, reading included, against reading the same file alone.
void Validate_Ours(benchmark::State& state) {
    const std::vector<std::string> args{Large().input};
    for (auto _ : state) {
        std::ostringstream out, err;
        if (RunValidateCommand(args, out, err) == kExitUsage)
            state.SkipWithError("validate failed");
        benchmark::DoNotOptimize(out.str().size());
    }
}

void Validate_Reference_Read(benchmark::State& state) {
    Large();
    for (auto _ : state) {
        auto project = std::make_unique<Project>();
        if (!project->ReadProjectFile(Large().input))
            state.SkipWithError("read failed");
        benchmark::DoNotOptimize(project->objects.data());
        project.reset(); // validate destroys its project too
    }
}

BENCHMARK(Read_Ours)->Unit(benchmark::kMillisecond);
BENCHMARK(Read_Reference_Getline)->Unit(benchmark::kMillisecond);
BENCHMARK(Write_Ours)->Unit(benchmark::kMillisecond);
BENCHMARK(Write_Reference_OneWrite)->Unit(benchmark::kMillisecond);
BENCHMARK(Write_Reference_OneWriteFsyncAndRename)->Unit(benchmark::kMillisecond);
BENCHMARK(Validate_Ours)->Unit(benchmark::kMillisecond);
BENCHMARK(Validate_Reference_Read)->Unit(benchmark::kMillisecond);

} // namespace
