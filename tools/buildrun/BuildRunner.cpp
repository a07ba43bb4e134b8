#include "buildrun/BuildRunner.h"
#include "BuildOutput.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <mutex>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace tav {

namespace {

namespace fs = std::filesystem;

// Signals a child gets back at their defaults, whatever this process does with them.
constexpr int kDefaultSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGPIPE, SIGXFSZ, SIGCHLD};

std::vector<char*> ArgumentVector(std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    return argv;
}

// Starts `args` in a process group of its own, standard output and error into `outFd`, no input.
pid_t SpawnInGroup(std::vector<std::string> args, int outFd, int& error) {
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, outFd, STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, outFd, STDERR_FILENO);
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes,
                             POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
    posix_spawnattr_setpgroup(&attributes, 0);
    sigset_t none, defaults;
    sigemptyset(&none);
    sigemptyset(&defaults);
    for (const int signal : kDefaultSignals)
        sigaddset(&defaults, signal);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    std::vector<char*> argv = ArgumentVector(args);
    pid_t pid = -1;
    error = posix_spawnp(&pid, argv[0], &actions, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    return error == 0 ? pid : -1;
}

std::string BuildFolderOf(const BuildRequest& request) {
    return request.buildFolder.empty() ? request.sourceFolder + "/build" : request.buildFolder;
}

using LineHandler = std::function<void(const std::string&, const BuildProgress&)>;

} // namespace

struct BuildRunner::State {
    mutable std::mutex mutex;
    std::condition_variable finished;
    BuildProgress progress;
    std::string output;
    std::vector<CompilerError> errors;
    bool running = false;
    bool cancelled = false;
    pid_t group = -1; // the running step's process group
    std::thread::id builder;
    std::thread worker;

    // Takes the runner for a new build; false while one runs.
    bool Claim() {
        std::lock_guard lock(mutex);
        if (running)
            return false;
        running = true;
        cancelled = false;
        builder = {};
        progress = {};
        output.clear();
        errors.clear();
        return true;
    }

    void SetProgress(BuildState state, const std::string& step) {
        std::lock_guard lock(mutex);
        progress = {state, 0, step};
    }

    void TakeLine(const std::string& line, const LineHandler& onLine) {
        BuildProgress now;
        {
            std::lock_guard lock(mutex);
            output += line;
            output += '\n';
            if (progress.state == BuildState::Building)
                ReadProgressLine(line, progress);
            now = progress;
        }
        if (onLine)
            onLine(line, now);
    }

    // Runs one CMake command to its end; true when it succeeded.
    bool Step(const std::vector<std::string>& args, const LineHandler& onLine) {
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) != 0) {
            TakeLine(std::string("cannot make a pipe: ") + std::strerror(errno), onLine);
            return false;
        }
        int error = 0;
        pid_t pid = -1;
        {
            std::lock_guard lock(mutex);
            if (!cancelled)
                pid = group = SpawnInGroup(args, fds[1], error);
        }
        ::close(fds[1]);
        if (pid < 0) {
            ::close(fds[0]);
            if (error != 0)
                TakeLine("cannot start " + args.front() + ": " + std::strerror(error), onLine);
            return false;
        }
        std::string pending;
        char buffer[4096];
        for (;;) {
            const ssize_t count = ::read(fds[0], buffer, sizeof buffer);
            if (count < 0 && errno == EINTR)
                continue;
            if (count <= 0)
                break;
            pending.append(buffer, static_cast<std::size_t>(count));
            for (auto end = pending.find('\n'); end != std::string::npos; end = pending.find('\n')) {
                const std::size_t length = end > 0 && pending[end - 1] == '\r' ? end - 1 : end;
                TakeLine(pending.substr(0, length), onLine);
                pending.erase(0, end + 1);
            }
        }
        ::close(fds[0]);
        if (!pending.empty())
            TakeLine(pending, onLine);
        // The group stays valid for Cancel until the child is reaped.
        siginfo_t info{};
        while (::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOWAIT) != 0 && errno == EINTR) {
        }
        {
            std::lock_guard lock(mutex);
            group = -1;
        }
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }

    BuildState Finish(BuildState state) {
        std::lock_guard lock(mutex);
        if (cancelled)
            state = BuildState::Cancelled;
        progress.state = state;
        if (state == BuildState::Succeeded)
            progress.percent = 100;
        if (state == BuildState::Failed) {
            errors = ParseCompilerErrors(output);
            if (errors.empty())
                errors.push_back(
                    {"", 0, 0, output.empty() ? "CMake printed nothing" : LastLines(output, 10)});
        }
        running = false;
        finished.notify_all();
        return state;
    }

    BuildState Execute(const BuildRequest& request, const LineHandler& onLine) {
        {
            std::lock_guard lock(mutex);
            builder = std::this_thread::get_id();
        }
        const std::string folder = BuildFolderOf(request);
        const std::string cache = folder + "/CMakeCache.txt";
        std::error_code ignored;
        if (!fs::exists(cache, ignored)) {
            SetProgress(BuildState::Configuring, "Configuring");
            std::vector<std::string> configure = {"cmake",
                                                  "-S",
                                                  request.sourceFolder,
                                                  "-B",
                                                  folder,
                                                  "-DTavCtrls_DIR=" + request.packageDir,
                                                  "-DCMAKE_BUILD_TYPE=Release"};
            if (OnPath("ninja"))
                configure.insert(configure.end(), {"-G", "Ninja"});
            if (!Step(configure, onLine)) {
                fs::remove(cache, ignored); // configure again next time
                return Finish(BuildState::Failed);
            }
        }
        SetProgress(BuildState::Building, "Building");
        const unsigned jobs = std::max(1u, std::thread::hardware_concurrency());
        if (!Step({"cmake", "--build", folder, "--parallel", std::to_string(jobs)}, onLine))
            return Finish(BuildState::Failed);
        return Finish(BuildState::Succeeded);
    }
};

BuildRunner::BuildRunner() : m_state(std::make_unique<State>()) {}

BuildRunner::~BuildRunner() {
    Cancel();
    if (m_state->worker.joinable())
        m_state->worker.join();
}

bool BuildRunner::Start(const BuildRequest& request) {
    if (!m_state->Claim())
        return false;
    if (m_state->worker.joinable())
        m_state->worker.join();
    m_state->worker = std::thread([state = m_state.get(), request] { state->Execute(request, {}); });
    return true;
}

BuildState BuildRunner::Run(const BuildRequest& request, const LineHandler& onLine) {
    if (!m_state->Claim())
        return BuildState::Failed;
    return m_state->Execute(request, onLine);
}

void BuildRunner::Cancel() {
    State& state = *m_state;
    std::unique_lock lock(state.mutex);
    if (!state.running)
        return;
    state.cancelled = true;
    if (state.group > 0)
        ::kill(-state.group, SIGTERM);
    if (state.builder == std::this_thread::get_id())
        return; // called from onLine: the build ends when the callback returns
    if (!state.finished.wait_for(lock, std::chrono::seconds(2), [&] { return !state.running; })) {
        if (state.group > 0)
            ::kill(-state.group, SIGKILL);
        state.finished.wait(lock, [&] { return !state.running; });
    }
}

bool BuildRunner::Running() const {
    std::lock_guard lock(m_state->mutex);
    return m_state->running;
}

BuildProgress BuildRunner::Progress() const {
    std::lock_guard lock(m_state->mutex);
    return m_state->progress;
}

std::string BuildRunner::Output() const {
    std::lock_guard lock(m_state->mutex);
    return m_state->output;
}

std::vector<CompilerError> BuildRunner::Errors() const {
    std::lock_guard lock(m_state->mutex);
    return m_state->errors;
}

std::string BuildRunner::ExecutablePath(const BuildRequest& request) {
    return BuildFolderOf(request) + "/" + request.target;
}

int LaunchProgram(const std::string& program, const std::vector<std::string>& args) {
    std::vector<std::string> all{program};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv = ArgumentVector(all);
    sigset_t none;
    sigemptyset(&none);
    int pidPipe[2], errorPipe[2];
    if (::pipe2(pidPipe, O_CLOEXEC) != 0)
        return -1;
    if (::pipe2(errorPipe, O_CLOEXEC) != 0) {
        ::close(pidPipe[0]);
        ::close(pidPipe[1]);
        return -1;
    }
    // Fork twice: the program's parent ends at once, so init reaps it and no zombie stays here.
    const pid_t middle = ::fork();
    if (middle == 0) {
        ::setsid();
        const pid_t child = ::fork();
        if (child == 0) {
            for (const int signal : kDefaultSignals)
                ::signal(signal, SIG_DFL);
            ::sigprocmask(SIG_SETMASK, &none, nullptr);
            ::execvp(argv[0], argv.data());
            const int error = errno;
            [[maybe_unused]] const auto written = ::write(errorPipe[1], &error, sizeof error);
            ::_exit(127);
        }
        [[maybe_unused]] const auto written = ::write(pidPipe[1], &child, sizeof child);
        ::_exit(0);
    }
    ::close(pidPipe[1]);
    ::close(errorPipe[1]);
    pid_t pid = -1;
    int error = 0;
    if (middle > 0) {
        while (::waitpid(middle, nullptr, 0) < 0 && errno == EINTR) {
        }
        if (::read(pidPipe[0], &pid, sizeof pid) != static_cast<ssize_t>(sizeof pid))
            pid = -1;
        // Closed without a word when the program started; its errno when it could not.
        if (pid > 0 && ::read(errorPipe[0], &error, sizeof error) != 0)
            pid = -1;
    }
    ::close(pidPipe[0]);
    ::close(errorPipe[0]);
    return pid;
}

bool OnPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::string_view folders = path == nullptr ? "" : path;
    while (!folders.empty()) {
        const auto end = std::min(folders.find(':'), folders.size());
        const std::string folder(folders.substr(0, end));
        folders.remove_prefix(std::min(end + 1, folders.size()));
        if (!folder.empty() && ::access((folder + "/" + program).c_str(), X_OK) == 0)
            return true;
    }
    return false;
}

} // namespace tav
