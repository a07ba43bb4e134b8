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
        for (const auto& entry : fs::directory_iterator(folder)) {
            files.emplace_back(entry.path().string(), ReadAll(entry.path()));
            totalBytes += files.back().second.size();
        }
    }
    ~Fixture() { fs::remove_all(folder); }

    std::string folder;
    Project project;
    std::vector<std::pair<std::string, std::string>> files; // the generated files and their bytes
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

void Generate_Reference_WritePerFile(benchmark::State& state) {
    Fixture& fixture = Shared();
    for (auto _ : state) {
        for (const auto& [path, bytes] : fixture.files) {
            const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
            if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
                state.SkipWithError("write failed");
            ::close(fd);
        }
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(fixture.totalBytes));
}

} // namespace

BENCHMARK(Generate_Ours)->Unit(benchmark::kMillisecond);
BENCHMARK(Generate_Reference_WritePerFile)->Unit(benchmark::kMillisecond);
