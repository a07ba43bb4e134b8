#include "tavgen/Tavgen.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <unistd.h>

// A second `tavgen run` of an unchanged project (regenerate keeping the user's code, build nothing,
// start the program for one headless frame) against what it cannot avoid: CMake finding nothing to
// build and the program's own start.

namespace {

struct Prepared {
    std::string project = TAV_SOURCE_DIR "/examples/hello.tvp";
    std::string folder;
    bool built = false;

    Prepared() {
        folder = (std::filesystem::temp_directory_path() / ("tav-run-bench-" + std::to_string(::getpid())))
                     .string();
        ::setenv("TAV_HEADLESS", "1", 1);
        ::setenv("TAV_FRAMES", "1", 1);
        built = Run() == 0;
    }
    ~Prepared() {
        std::error_code error;
        std::filesystem::remove_all(folder, error);
    }
    int Run() const {
        std::ostringstream out, err;
        return tav::RunTavgen({"run", project, folder}, out, err);
    }
};

const Prepared& TheBuild() {
    static const Prepared prepared;
    return prepared;
}

void SecondRun_Ours(benchmark::State& state) {
    const Prepared& prepared = TheBuild();
    if (!prepared.built)
        state.SkipWithError("the first run failed");
    for (auto _ : state)
        if (prepared.Run() != 0)
            state.SkipWithError("tavgen run failed");
}

void SecondRun_Reference_CMakeAndProgram(benchmark::State& state) {
    const Prepared& prepared = TheBuild();
    const std::string command =
        "cmake --build '" + prepared.folder + "/build' > /dev/null && '" + prepared.folder + "/build/Hello'";
    for (auto _ : state)
        if (std::system(command.c_str()) != 0)
            state.SkipWithError("the build or the program failed");
}

} // namespace

BENCHMARK(SecondRun_Ours)->Unit(benchmark::kMillisecond);
BENCHMARK(SecondRun_Reference_CMakeAndProgram)->Unit(benchmark::kMillisecond);
