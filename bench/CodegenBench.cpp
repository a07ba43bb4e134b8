#include "codegen/GenerationUi.h"
#include "codegen/ProjectCodeGenerator.h"
#include "model/Project.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace {

using namespace tav;
namespace fs = std::filesystem;

// Answers every question with Always; a benchmark run replaces the files of the previous one.
class AlwaysUi : public GenerationUi {
public:
    int AskOverwrite(const std::string&) override { return kAnswerAlways; }
    bool AskYesNo(YesNoQuestion, const std::string&) override { return false; }
    void ShowMessage(const std::string&, MessageKind) override {}
    std::optional<std::string> ChooseStartupScreen(const Project&) override { return std::nullopt; }
    std::optional<std::string> ChooseDestination(DestinationRequest) override { return std::nullopt; }
    void Warn(const std::string&) override {}
};

// Merges every file with the user's code instead.
class KeepingUi : public AlwaysUi {
public:
    FileHandling Handling() const override { return {.keepUserCode = true}; }
};

// 30 screens with 40 objects each, every kind, buttons opening the next screen.
void FillProject(Project& project) {
    project.name = "Bench";
    for (int s = 0; s < 30; ++s) {
        auto screen = std::make_unique<ScreenDef>();
        screen->name = "Screen" + std::to_string(s);
        screen->background = "art/background" + std::to_string(s) + ".bmp";
        screen->startup = s == 0 ? 1 : 0;
        project.AddScreen(std::move(screen));
        for (int o = 0; o < 40; ++o) {
            auto object = std::make_unique<ObjectDef>();
            object->screenName = project.screens.back()->name;
            object->SetKind(static_cast<ObjectKind>(o % 8), project, object->screenName);
            object->caption = "Caption of object " + std::to_string(o);
            object->image = "art/image" + std::to_string(o) + ".bmp";
            object->x = o * 7;
            object->y = o * 5;
            if (object->kind == ObjectKind::Button)
                object->clickScreen = "Screen" + std::to_string((s + 1) % 30);
            if (object->kind == ObjectKind::Animation)
                object->frames = {"art/frame1.bmp", "art/frame2.bmp", "art/frame3.bmp"};
            project.AddObject(std::move(object));
        }
    }
}

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

struct Fixture {
    Fixture() {
        char pattern[] = "/tmp/tavbench.XXXXXX";
        folder = ::mkdtemp(pattern);
        FillProject(project);
        AlwaysUi ui;
        GenerateProjectCode(project, folder, ui);
        for (const auto& entry : fs::recursive_directory_iterator(folder)) {
            if (!entry.is_regular_file())
                continue;
            // The generated files and their records of the last generation.
            files.emplace_back(entry.path().string(), ReadAll(entry.path()));
            totalBytes += files.back().second.size();
        }
    }
    ~Fixture() { fs::remove_all(folder); }

    std::string folder;
    Project project;
    std::vector<std::pair<std::string, std::string>> files; // the files and records, with their bytes
    std::size_t totalBytes = 0;
};

Fixture& Shared() {
    static Fixture fixture;
    return fixture;
}

void Generate_Ours(benchmark::State& state) {
    Fixture& fixture = Shared();
    AlwaysUi ui;
    for (auto _ : state) {
        fixture.project.overwriteAnswer = kAnswerYes;
        fixture.project.generatedFiles.clear();
        if (!GenerateProjectCode(fixture.project, fixture.folder, ui).empty())
            state.SkipWithError("generation failed");
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(fixture.totalBytes));
}

// The same bytes, each file and record with one write; with `safe`, as safely as ours: through a new
// file and a rename, so that an interrupted run never leaves half a file (neither is flushed to disk:
// both can be generated again).
void WriteFiles(benchmark::State& state, bool safe) {
    Fixture& fixture = Shared();
    for (auto _ : state) {
        for (const auto& [path, bytes] : fixture.files) {
            const std::string temporary = safe ? path + ".new" : path;
            const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
            if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
                state.SkipWithError("write failed");
            ::close(fd);
            if (safe && ::rename(temporary.c_str(), path.c_str()) != 0)
                state.SkipWithError("rename failed");
        }
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(fixture.totalBytes));
}

void Generate_Reference_WritePerFile(benchmark::State& state) {
    WriteFiles(state, false);
}

void Generate_Reference_WriteAndRenamePerFile(benchmark::State& state) {
    WriteFiles(state, true);
}

// A folder generated once, with a line of the user's in every fifth screen's constructor.
struct EditedFolder {
    EditedFolder() {
        char pattern[] = "/tmp/tavbench.XXXXXX";
        folder = ::mkdtemp(pattern);
        AlwaysUi ui;
        Fixture& fixture = Shared();
        fixture.project.overwriteAnswer = kAnswerYes;
        fixture.project.generatedFiles.clear();
        GenerateProjectCode(fixture.project, folder, ui);
        for (int s = 0; s < 30; s += 5) {
            const std::string name = "Screen" + std::to_string(s);
            const fs::path path = fs::path(folder) / (name + ".cpp");
            std::string text = ReadAll(path);
            const std::string stub = "//" + name + " constructor\r\n";
            text.insert(text.find(stub) + stub.size(), "\tLoadSettings();\r\n");
            std::ofstream(path, std::ios::binary) << text;
        }
    }
    ~EditedFolder() { fs::remove_all(folder); }
    std::string folder;
};

// Regenerating into a folder of edited files, keeping the user's code, against overwriting it all.
void RunInto(benchmark::State& state, GenerationUi& ui) {
    static EditedFolder kept, plain;
    Fixture& fixture = Shared();
    const std::string& folder = ui.Handling().keepUserCode ? kept.folder : plain.folder;
    for (auto _ : state) {
        fixture.project.overwriteAnswer = kAnswerAlways;
        fixture.project.generatedFiles.clear();
        if (!GenerateProjectCode(fixture.project, folder, ui).empty())
            state.SkipWithError("generation failed");
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(fixture.totalBytes));
}

void KeepUserCode_Ours(benchmark::State& state) {
    KeepingUi ui;
    RunInto(state, ui);
}

void KeepUserCode_Reference_Overwrite(benchmark::State& state) {
    AlwaysUi ui;
    RunInto(state, ui);
}

} // namespace

BENCHMARK(KeepUserCode_Ours)->Unit(benchmark::kMillisecond);
BENCHMARK(KeepUserCode_Reference_Overwrite)->Unit(benchmark::kMillisecond);
BENCHMARK(Generate_Ours)->Unit(benchmark::kMillisecond);
BENCHMARK(Generate_Reference_WritePerFile)->Unit(benchmark::kMillisecond);
BENCHMARK(Generate_Reference_WriteAndRenamePerFile)->Unit(benchmark::kMillisecond);
