#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tav {

// One compiler error found in a build's output ("FILE:LINE:COLUMN: error: MESSAGE").
struct CompilerError {
    std::string file;
    int line = 0;
    int column = 0;
    std::string message;
};

// The errors in `output`, in order, without duplicates.
std::vector<CompilerError> ParseCompilerErrors(std::string_view output);

enum class BuildState { Idle, Configuring, Building, Succeeded, Failed, Cancelled };

// A generated program to configure and build with CMake.
struct BuildRequest {
    std::string sourceFolder; // holds the generated CMakeLists.txt
    std::string buildFolder;  // empty: sourceFolder + "/build"
    std::string packageDir;   // the folder of TavCtrlsConfig.cmake
    std::string target;       // the executable's target name
};

// Where a build stands: a percentage (0..100), the step being done ("Configuring",
// "Building Main.cpp", "Linking hello", ...), and the state.
struct BuildProgress {
    BuildState state = BuildState::Idle;
    int percent = 0;
    std::string step;
};

// Configures a generated program once (again when its build folder has no cache) and builds it,
// running CMake as child processes and reading progress from their output. One build at a time.
// `Start` returns at once and the build goes on in the background; `Run` waits for it. `Cancel` and
// the destructor stop the child processes and wait for them.
class BuildRunner {
public:
    BuildRunner();
    ~BuildRunner();
    BuildRunner(const BuildRunner&) = delete;
    BuildRunner& operator=(const BuildRunner&) = delete;

    // False (and nothing started) while a build is running.
    bool Start(const BuildRequest& request);
    // Builds and waits; `onLine` gets every output line and the progress after it, on this thread.
    BuildState Run(const BuildRequest& request,
                   const std::function<void(const std::string& line, const BuildProgress&)>& onLine = {});
    void Cancel();

    bool Running() const;
    BuildProgress Progress() const;
    // Everything CMake and the compiler printed so far.
    std::string Output() const;
    std::vector<CompilerError> Errors() const;

    // The executable the build makes.
    static std::string ExecutablePath(const BuildRequest& request);

private:
    struct State;
    std::unique_ptr<State> m_state;
};

// The folder of the TavCtrls package this program belongs to: the build tree it was built in, or
// the prefix it is installed in; empty when neither holds one.
std::string FindTavCtrlsPackage();

// True when an executable `program` is in one of the folders of $PATH.
bool OnPath(const std::string& program);

// Starts `program` with `args` as a process of its own, with this process's environment; gives its
// process id, or -1. The child is reaped in the background.
int LaunchProgram(const std::string& program, const std::vector<std::string>& args);

} // namespace tav
