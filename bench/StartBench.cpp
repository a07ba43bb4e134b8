// The designer's start to its first frame, as a child process on the headless display, against the
// smallest program of the library started the same way (the hello example): what every program pays for
// loading SDL2 and its libraries, fontconfig and a first frame.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

// A folder of its own for the designer's settings and recovery data, removed at the end.
struct Home {
    std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("tav-start-bench-" + std::to_string(::getpid()));

    Home() {
        std::filesystem::create_directories(folder);
        ::setenv("XDG_CONFIG_HOME", (folder / "config").c_str(), 1);
        ::setenv("XDG_STATE_HOME", (folder / "state").c_str(), 1);
        ::setenv("TAV_HEADLESS", "1", 1);
        ::setenv("TAV_FRAMES", "1", 1);
    }
    ~Home() {
        std::error_code error;
        std::filesystem::remove_all(folder, error);
    }
};

// Starts the program with its output discarded and waits for it; true when it ended with status 0.
bool StartAndWait(const char* program) {
    static const Home home;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    char* argv[] = {const_cast<char*>(program), nullptr};
    pid_t child = -1;
    const int failed = posix_spawn(&child, program, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    return failed == 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

void Run(benchmark::State& state, const char* program) {
    for (auto _ : state)
        if (!StartAndWait(program)) {
            state.SkipWithError("the program did not start and end cleanly");
            break;
        }
}

void DesignerStart_Ours(benchmark::State& state) {
    Run(state, TAVBUILDER_PATH);
}

void DesignerStart_Reference_HelloExample(benchmark::State& state) {
    Run(state, HELLO_PATH);
}

} // namespace

BENCHMARK(DesignerStart_Ours)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(DesignerStart_Reference_HelloExample)->Unit(benchmark::kMillisecond)->UseRealTime();
