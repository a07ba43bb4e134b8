#include "buildrun/BuildRunner.h"
#include "tavgen/Tavgen.h"
#include "tests/support/TestSupport.h"
#include "tools/buildrun/BuildOutput.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <sys/wait.h>
#include <thread>

namespace tav {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;
using Clock = std::chrono::steady_clock;

TEST(BuildOutput, CompilerErrorsOfGccClangAndTheLinker) {
    const std::string output = "/p/Welcome.h:9:5: error: expected ';' after class definition\n"
                               "/p/Welcome.cpp:40:12: warning: unused variable 'x'\n"
                               "/p/Welcome.cpp:41:3: error: use of undeclared identifier 'foo'\r\n"
                               "/p/Welcome.h:9:5: error: expected ';' after class definition\n"
                               "/p/main.cpp:3:10: fatal error: Missing.h: No such file or directory\n"
                               "gen.y:12: error: odd token\n"
                               "/usr/bin/ld: CMakeFiles/Hello.dir/Hello.cpp.o: in function `main':\n"
                               "/usr/bin/ld: Hello.cpp:(.text+0x2a): undefined reference to `Gone()'\n"
                               "Greeting.cpp:(.text+0x9): undefined reference to `Lost'\n"
                               "collect2: error: ld returned 1 exit status\n";
    const std::vector<CompilerError> errors = ParseCompilerErrors(output);
    const std::vector<std::tuple<std::string, int, int, std::string>> expected = {
        {"/p/Welcome.h", 9, 5, "expected ';' after class definition"},
        {"/p/Welcome.cpp", 41, 3, "use of undeclared identifier 'foo'"},
        {"/p/main.cpp", 3, 10, "Missing.h: No such file or directory"},
        {"gen.y", 12, 0, "odd token"},
        {"Hello.cpp", 0, 0, "undefined reference to `Gone()'"},
        {"Greeting.cpp", 0, 0, "undefined reference to `Lost'"},
    };
    ASSERT_EQ(expected.size(), errors.size());
    for (std::size_t i = 0; i < errors.size(); ++i)
        EXPECT_EQ(expected[i], std::tie(errors[i].file, errors[i].line, errors[i].column, errors[i].message));
}

TEST(BuildOutput, ProgressOfMakefilesAndNinja) {
    const std::tuple<const char*, bool, int, const char*> cases[] = {
        {"[ 42%] Building CXX object CMakeFiles/hello.dir/Main.cpp.o", true, 42, "Building Main.cpp"},
        {"[100%] Linking CXX executable hello", true, 100, "Linking hello"},
        {"[3/7] Building CXX object CMakeFiles/Hello.dir/Welcome.cpp.o", true, 42, "Building Welcome.cpp"},
        {"[ 50%] Built target hello", true, 50, "before"},
        {"Scanning dependencies of target hello", false, 7, "before"},
        {"[1/0] Building CXX object a.o", false, 7, "before"},
        {"[x%] Building CXX object a.o", false, 7, "before"},
        {"[12] Linking CXX executable a", false, 7, "before"},
    };
    for (const auto& [line, read, percent, step] : cases) {
        BuildProgress progress{BuildState::Building, 7, "before"};
        EXPECT_EQ(read, ReadProgressLine(line, progress)) << line;
        EXPECT_EQ(percent, progress.percent) << line;
        EXPECT_EQ(step, progress.step) << line;
    }
    EXPECT_EQ("b\nc", LastLines("a\nb\nc\n\n", 2));
    EXPECT_EQ("a\nb", LastLines("a\nb", 5));
}

TEST(BuildOutput, PackageOfTheBuildTreeThePrefixOrTheEnvironment) {
    TempDir dir;
    for (const char* config : {"build/TavCtrls", "usr/lib/cmake/TavCtrls", "usr/bin"}) {
        std::filesystem::create_directories(dir / config);
        WriteFile(dir / config + "/TavCtrlsConfig.cmake", "");
    }
    std::filesystem::remove(dir / "usr/bin/TavCtrlsConfig.cmake");
    const std::string tree = dir / "build";
    EXPECT_EQ(dir / "build/TavCtrls", FindPackageFor(dir / "build/tools/tavgen/tavgen", tree, nullptr));
    EXPECT_EQ(dir / "build/TavCtrls", FindPackageFor(dir / "build/tools/tavgen/tavgen", tree + "/", ""));
    EXPECT_EQ(dir / "usr/lib/cmake/TavCtrls", FindPackageFor(dir / "usr/bin/tavgen", tree, nullptr));
    EXPECT_EQ("", FindPackageFor(dir / "build-2/bin/tavgen", tree, nullptr));
    EXPECT_EQ("/elsewhere", FindPackageFor(dir / "build/tavgen", tree, "/elsewhere"));
}

// fake-cmake.sh as "cmake" (and "ninja") alone on PATH; FAKE_CMAKE chooses what it does.
struct BuildRunnerTest : ::testing::Test {
    TempDir dir;
    std::string path = std::getenv("PATH");
    BuildRequest request{dir / "src", "", "/pkg", "Hello"};

    void SetUp() override {
        std::filesystem::create_directory(dir / "bin");
        std::filesystem::copy_file(TAV_SOURCE_DIR "/tests/tools/fake-cmake.sh", dir / "bin/cmake");
        setenv("FAKE_CMAKE_LOG", (dir / "calls").c_str(), 1);
        setenv("PATH", (dir / "bin").c_str(), 1);
    }
    void TearDown() override { setenv("PATH", path.c_str(), 1); }
    BuildState Run(const char* mode, BuildRunner& runner, std::vector<std::string>* steps = nullptr) {
        setenv("FAKE_CMAKE", mode, 1);
        return runner.Run(request, [&](const std::string&, const BuildProgress& progress) {
            if (steps != nullptr)
                steps->push_back(std::to_string(progress.percent) + " " + progress.step);
        });
    }
};

TEST_F(BuildRunnerTest, ConfiguresOnceBuildsAndReportsFailures) {
    BuildRunner runner;
    std::vector<std::string> steps;
    EXPECT_EQ(BuildState::Succeeded, Run("ok", runner, &steps));
    EXPECT_EQ((std::vector<std::string>{"50 Building Main.cpp", "100 Linking Hello"}), steps);
    EXPECT_EQ(100, runner.Progress().percent);
    EXPECT_EQ(dir / "src/build/Hello", BuildRunner::ExecutablePath(request));
    EXPECT_EQ(BuildState::Failed, Run("error", runner));
    EXPECT_EQ("Main.cpp:3", runner.Errors().at(0).file + ":" + std::to_string(runner.Errors().at(0).line));
    EXPECT_EQ(BuildState::Failed, Run("quiet", runner));
    EXPECT_EQ("line 1\nline 2", runner.Errors().at(0).message);
    EXPECT_EQ("line 1\nline 2\n", runner.Output());
    const std::string build = dir / "src/build";
    const std::string calls = ReadFile(dir / "calls"),
                      jobs = std::to_string(std::max(1u, std::thread::hardware_concurrency()));
    EXPECT_EQ(0u, calls.find("-S " + dir / "src" + " -B " + build +
                             " -DTavCtrls_DIR=/pkg -DCMAKE_BUILD_TYPE=Release\n--build " + build +
                             " --parallel " + jobs + "\n"))
        << calls;
    EXPECT_EQ(calls.find("-S "), calls.rfind("-S ")) << "configured once";

    // A failed configure is done again next time, with Ninja when it is on PATH.
    std::filesystem::remove_all(build);
    std::filesystem::copy_file(dir / "bin/cmake", dir / "bin/ninja");
    EXPECT_EQ(BuildState::Failed, Run("bad-configure", runner));
    EXPECT_FALSE(std::filesystem::exists(build + "/CMakeCache.txt"));
    EXPECT_EQ("CMake Error", runner.Errors().at(0).message);
    EXPECT_EQ(BuildState::Succeeded, Run("ok", runner));
    EXPECT_NE(std::string::npos, ReadFile(dir / "calls").find("Release -G Ninja\n--build"));

    setenv("PATH", "/nowhere", 1);
    EXPECT_EQ(BuildState::Failed, Run("ok", runner));
    EXPECT_NE(std::string::npos, runner.Errors().at(0).message.find("cannot start cmake"));
}

TEST_F(BuildRunnerTest, CancelAndTheDestructorStopTheBuild) {
    // TERM ends the first at once; the second ignores it and gets KILL.
    for (const auto& [mode, seconds] : {std::pair{"sleep", 1}, std::pair{"stubborn", 4}}) {
        setenv("FAKE_CMAKE", mode, 1);
        for (const bool destroy : {false, true}) {
            const auto start = Clock::now();
            {
                BuildRunner runner;
                ASSERT_TRUE(runner.Start(request));
                EXPECT_FALSE(runner.Start(request));
                while (runner.Progress().percent != 50)
                    std::this_thread::sleep_for(std::chrono::milliseconds(10));
                if (!destroy) {
                    runner.Cancel();
                    EXPECT_FALSE(runner.Running());
                    EXPECT_EQ(BuildState::Cancelled, runner.Progress().state);
                }
            }
            EXPECT_LT(Clock::now() - start, std::chrono::seconds(seconds)) << mode;
        }
    }
}

// tavgen run with the fake: the first full screen when none is marked, the program's status passed on.
TEST_F(BuildRunnerTest, TavgenRunStartsTheProgramOnlyWhenBuilt) {
    Project project;
    project.name = "Hello";
    project.AddScreen(test::MakeScreen("Menu"));
    ASSERT_TRUE(project.WriteProjectFile(dir / "hello.tvp"));
    setenv("TavCtrls_DIR", "/pkg", 1);
    std::ostringstream out, err;
    // The default folder is left alone while it holds files that were not generated there.
    std::filesystem::create_directory(dir / "hello");
    test::WriteFile(dir / "hello/main.cpp", "int main() {}\n");
    EXPECT_EQ(2, RunTavgen({"run", dir / "hello.tvp"}, out, err));
    EXPECT_EQ("int main() {}\n", ReadFile(dir / "hello/main.cpp"));
    std::filesystem::remove(dir / "hello/main.cpp");
    for (const auto& [mode, status, last] :
         {std::tuple{"program", 3, "3"}, {"program", 137, "9"}, {"error", 1, "0"}})
        EXPECT_EQ(status, (setenv("FAKE_CMAKE", mode, 1),
                           RunTavgen({"run", dir / "hello.tvp", "--", last}, out, err)));
    setenv("PATH", "/nowhere", 1);
    EXPECT_EQ(2, RunTavgen({"run", dir / "hello.tvp"}, out, err)) << "no cmake";
    unsetenv("TavCtrls_DIR");
    EXPECT_NE(std::string::npos, err.str().find("this run starts with Menu")) << err.str();
    EXPECT_NE(std::string::npos, ReadFile(dir / "hello/main.cpp").find("new Menu"));
    EXPECT_NE(std::string::npos, err.str().find("tavgen: the build failed\nMain.cpp:3: bad\n")) << err.str();
}

TEST(LaunchProgram, StartsDetachedInTheSameFolder) {
    TempDir dir;
    const int pid =
        LaunchProgram("/bin/sh", {"-c", "echo $(cut -d' ' -f6 /proc/$$/stat) $$ $(pwd) >'" + dir / "out.tmp" +
                                            "' && mv '" + dir / "out.tmp" + "' '" + dir / "out" + "'"});
    ASSERT_GT(pid, 0);
    EXPECT_EQ(-1, waitpid(pid, nullptr, WNOHANG)) << "not a child of ours";
    for (int i = 0; i < 500 && !std::filesystem::exists(dir / "out"); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    int session = 0, id = 0;
    std::string folder;
    std::istringstream(ReadFile(dir / "out")) >> session >> id >> folder;
    EXPECT_NE(getsid(0), session);
    EXPECT_EQ(pid, id);
    EXPECT_EQ(std::filesystem::current_path(), folder);
    EXPECT_EQ(-1, LaunchProgram(dir / "missing", {}));
}

} // namespace
} // namespace tav
