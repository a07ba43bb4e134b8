// Generated programs, end to end: tavgen writes the sources and a CMakeLists.txt, CMake builds them
// against the build tree's TavCtrls package, and the programs run headless through the library's
// environment variables, from another directory.
#include "tests/support/Screenshots.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace tav::test {
namespace {

namespace fs = std::filesystem;

const std::string kReferences = std::string(TAV_SOURCE_DIR) + "/tests/e2e/reference";

// The executable CMake built in `buildFolder` (the one regular executable file at its top).
std::string FindProgram(const std::string& buildFolder) {
    for (const auto& entry : fs::directory_iterator(buildFolder))
        if (entry.is_regular_file() &&
            (entry.status().permissions() & fs::perms::owner_exec) != fs::perms::none)
            return entry.path().string();
    return {};
}

// Runs tavgen generate PROJECT OUT --cmake from the source tree (the projects' bitmap paths are relative
// to it), then configures and builds the program against the build tree's package. Gives the program's
// path, empty on a failure, whose log is in the failure message.
std::string GenerateAndBuild(const std::string& project, const std::string& out, const std::string& options) {
    if (Shell("cd '" TAV_SOURCE_DIR "' && '" TAVGEN_PATH "' generate '" + project + "' '" + out +
              "' --cmake --overwrite=always --mkdir " + options + " > '" + out + ".log' 2>&1") != 0) {
        ADD_FAILURE() << ReadFile(out + ".log");
        return {};
    }
    const std::string log = out + "/build.log";
    const int status =
        Shell("cmake -S '" + out + "' -B '" + out +
              "/build' -G Ninja -DCMAKE_BUILD_TYPE=Release"
              " -DCMAKE_CXX_COMPILER='" TAV_CXX_COMPILER "' -DTavCtrls_DIR='" TAV_PACKAGE_DIR "' > '" +
              log + "' 2>&1 && cmake --build '" + out + "/build' >> '" + log + "' 2>&1");
    const std::string program = status == 0 ? FindProgram(out + "/build") : std::string();
    if (program.empty())
        ADD_FAILURE() << ReadFile(log);
    return program;
}

struct GeneratedProgramsTest : ::testing::Test {
    TempDir folder;
};

TEST_F(GeneratedProgramsTest, EveryExampleBuildsRunsAndLooksAsExpected) {
    for (const std::string name : {"minimal", "hello", "showcase"}) {
        SCOPED_TRACE(name);
        const std::string out = folder / name;
        const std::string program = GenerateAndBuild("examples/" + name + ".tvp", out, "--copy-art");
        ASSERT_FALSE(program.empty());
        const std::string elsewhere = folder / (name + "-run");
        fs::create_directory(elsewhere);
        const std::string shot = elsewhere + "/frame.bmp";
        ASSERT_EQ(RunHeadless(program, elsewhere, "wait 200\n", 30, shot), 0)
            << ReadFile(elsewhere + "/output.txt");
        ExpectLikeReference(shot, kReferences, name + ".bmp");
        if (name == "showcase") {
            // The About button opens its popup screen.
            const std::string popup = elsewhere + "/about.bmp";
            ASSERT_EQ(RunHeadless(program, elsewhere, "wait 2\nclick 80 215\nwait 200\n", 30, popup), 0)
                << ReadFile(elsewhere + "/output.txt");
            ExpectLikeReference(popup, kReferences, "showcase-about.bmp");
        }
    }
}

TEST_F(GeneratedProgramsTest, MissingBitmapsDrawNothingAndTheProgramKeepsRunning) {
    const std::string out = folder / "bare";
    const std::string program = GenerateAndBuild("examples/showcase.tvp", out, ""); // no art copied
    ASSERT_FALSE(program.empty());
    const std::string elsewhere = folder / "nowhere";
    fs::create_directory(elsewhere);
    // Clicks, keys and text on objects that have no pictures.
    const std::string script = "wait 2\nclick 80 215\nwait 2\nclick 400 300\nkey ESCAPE\ntext \"abc\"\n"
                               "click 200 210\nkey END\nwait 2\nclick 80 255\nwait 5\n";
    ASSERT_EQ(RunHeadless(program, elsewhere, script, 40, elsewhere + "/frame.bmp"), 0)
        << ReadFile(elsewhere + "/output.txt");
}

// Hostile texts build without a warning; a popup that failed to close or reopened after a quit would wait.
TEST_F(GeneratedProgramsTest, HostileTextsBuildCleanAndButtonsCloseAndQuit) {
    ::setenv("CXXFLAGS", "-Wall -Wextra -Werror -Wno-unused-parameter", 1); // CMAKE_CXX_FLAGS
    const std::string program = GenerateAndBuild("tests/e2e/clicks.tvp", folder / "clicks", "--copy-art");
    ::unsetenv("CXXFLAGS");
    ASSERT_FALSE(program.empty());
    const std::string script = "click 70 35\nclick 200 115\nclick 70 255\nclick 70 35\n";
    EXPECT_EQ(RunHeadless(program, folder.path(), script, 0, folder / "s.bmp"), 0)
        << ReadFile(folder / "output.txt");
}

TEST_F(GeneratedProgramsTest, FailedInitialisationShowsItsMessageAndEnds) {
    // The window cannot be made (a negative window position stored in the project).
    std::string project = ReadFile(std::string(TAV_SOURCE_DIR) + "/examples/hello.tvp");
    const auto firstLine = project.find('\n');
    project.replace(firstLine + 1, project.find('\n', firstLine + 1) - firstLine - 1, "-5\r");
    WriteFile(folder / "broken.tvp", project);
    const std::string out = folder / "broken";
    const std::string program = GenerateAndBuild(folder / "broken.tvp", out, "");
    ASSERT_FALSE(program.empty());
    ASSERT_EQ(RunHeadless(program, folder.path(), "", 0, folder / "none.bmp"), 0);
    EXPECT_NE(ReadFile(folder / "output.txt").find("Error Initializing DirectX"), std::string::npos)
        << ReadFile(folder / "output.txt");
}

} // namespace
} // namespace tav::test
