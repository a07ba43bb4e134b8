// Generated programs, end to end: tavgen writes the sources and a CMakeLists.txt, CMake builds them
// against the build tree's TavCtrls package, and the programs run headless through the library's
// environment variables, from another directory.
#include "tavctrls/platform/BitmapFile.h"
#include "tests/support/Screenshots.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
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
              " -DCMAKE_CXX_COMPILER='" TAV_CXX_COMPILER "' -DTavCtrls_DIR='" TAV_PACKAGE_DIR "'"
              " -DCMAKE_CXX_FLAGS='-Wall -Wextra -Werror -Wno-unused-parameter' > '" +
              log + "' 2>&1 && cmake --build '" + out + "/build' >> '" + log + "' 2>&1");
    const std::string program = status == 0 ? FindProgram(out + "/build") : std::string();
    if (program.empty())
        ADD_FAILURE() << ReadFile(log);
    return program;
}

struct GeneratedProgramsTest : ::testing::Test {
    TempDir folder;
};

// Where the program shows a screen, and the clicks on buttons that get there from the startup screen.
struct Route {
    int x = 0, y = 0;
    std::string clicks;
};
std::map<std::string, Route> RoutesOf(const Project& project) {
    std::map<std::string, Route> routes;
    for (const auto& screen : project.screens)
        if (screen->startup == 1)
            routes[screen->name] = {};
    for (std::size_t found = 0; found != routes.size();) {
        found = routes.size();
        for (const auto& o : project.objects) {
            const auto from = routes.find(o->screenName);
            const ScreenDef* to = project.FindScreen(o->clickScreen);
            if (o->kind != ObjectKind::Button || from == routes.end() || to == nullptr ||
                to->type == ScreenType::SubScreen)
                continue;
            const Route& at = from->second;
            const bool popup = to->type == ScreenType::Popup;
            routes.try_emplace(to->name, popup ? to->x : 0, popup ? to->y : 0,
                               at.clicks + "click " + std::to_string(at.x + o->x + o->width / 2) + " " +
                                   std::to_string(at.y + o->y + o->height / 2) + "\nwait 2\n");
        }
    }
    return routes;
}

// The designer's full-size preview of every screen and the generated program showing it agree pixel for pixel
// inside the screen's rectangle. The preview centres each screen, the program shows a popup at its own place.
// Left out: sub screens, which generated programs do not show; list boxes and trees, which the preview fills
// with sample rows; animations, which run on in the program; the program's frame-rate box.
TEST_F(GeneratedProgramsTest, EveryScreenLooksInTheProgramAsInTheDesigner) {
    for (const std::string name : {"minimal", "hello", "showcase"}) {
        SCOPED_TRACE(name);
        const std::string out = folder / name, project = "examples/" + name + ".tvp";
        const std::string program = GenerateAndBuild(project, out, "--copy-art");
        ASSERT_FALSE(program.empty());
        ASSERT_EQ(
            Shell("cd '" TAV_SOURCE_DIR "' && '" TAVBUILDER_PATH "' --render " + project + " '" + out + "'"),
            0);
        Project loaded;
        ASSERT_TRUE(loaded.ReadProjectFile(std::string(TAV_SOURCE_DIR) + "/" + project));
        const auto routes = RoutesOf(loaded);
        for (const auto& screen : loaded.screens) {
            SCOPED_TRACE(screen->name);
            if (screen->type == ScreenType::SubScreen)
                continue;
            ASSERT_EQ(routes.count(screen->name), 1u);
            const Route& route = routes.at(screen->name);
            const std::string shot = out + "/" + screen->name + ".bmp",
                              drawn = out + "/" + screen->name + "-d.bmp";
            ASSERT_EQ(RunHeadless(program, out, "wait 2\n" + route.clicks + "move -5 -5\n", 80, shot), 0)
                << ReadFile(out + "/output.txt");
            ASSERT_EQ(Shell("convert '" + out + "/" + screen->name + ".png' 'BMP3:" + drawn + "'"), 0);
            platform::PixelBuffer inProgram, inDesigner;
            ASSERT_TRUE(platform::LoadBitmapFile(shot, inProgram) &&
                        platform::LoadBitmapFile(drawn, inDesigner));
            const bool full = screen->type == ScreenType::FullScreen;
            const int width = full ? loaded.width : screen->width,
                      height = full ? loaded.height : screen->height;
            const int left = std::max(0, (800 - width) / 2), top = std::max(0, (600 - height) / 2);
            std::vector<platform::PixelRect> skipped; // and the program's frame-rate box, when shown
            if (loaded.showFrameRate == 1)
                skipped.push_back({5 - route.x, 5 - route.y, 105 - route.x, 21 - route.y});
            for (const auto& o : loaded.objects)
                if (o->screenName == screen->name &&
                    (o->kind == ObjectKind::ListBox || o->kind == ObjectKind::Tree ||
                     o->kind == ObjectKind::Animation))
                    skipped.push_back({o->x, o->y, o->x + o->width, o->y + o->height});
            int differing = 0;
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x)
                    if (inProgram.At(route.x + x, route.y + y) != inDesigner.At(left + x, top + y) &&
                        std::none_of(skipped.begin(), skipped.end(),
                                     [&](const platform::PixelRect& r) {
                                         return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
                                     }) &&
                        differing++ == 0)
                        ADD_FAILURE() << "first difference at (" << x << ", " << y << ") of the screen";
            EXPECT_EQ(differing, 0);
            if (name == "showcase" && screen->startup == 1) // what the preview leaves out, in the program
                ExpectLikeReference(shot, kReferences, "showcase.bmp");
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
    const std::string program = GenerateAndBuild("tests/e2e/clicks.tvp", folder / "clicks", "--copy-art");
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

// tavgen run generates, builds and starts the program in one step, the environment passed through; a
// syntax error written into a stub stops the next run with the compiler's file and line.
TEST_F(GeneratedProgramsTest, RunBuildsAndStartsTheProgramOrShowsTheCompilerError) {
    const std::string out = folder / "hello", shot = folder / "shot.bmp", log = folder / "run.log";
    const std::string run = "cd '" TAV_SOURCE_DIR "' && TAV_HEADLESS=1 TAV_FRAMES=3 TAV_SCREENSHOT='" + shot +
                            "' '" TAVGEN_PATH "' run examples/hello.tvp '" + out + "' > '" + log + "' 2>&1";
    ASSERT_EQ(Shell(run), 0) << ReadFile(log);
    EXPECT_NE(ReadFile(log).find("] Linking Hello\n"), std::string::npos) << ReadFile(log);
    platform::PixelBuffer frame;
    ASSERT_TRUE(platform::LoadBitmapFile(shot, frame));
    std::set<std::uint32_t> colours;
    for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < frame.width(); ++x)
            colours.insert(frame.At(x, y));
    EXPECT_GT(colours.size(), 10u) << "the program drew its screen";

    fs::remove(shot);
    const std::string stub = ReadFile(out + "/Welcome.cpp");
    WriteFile(out + "/Welcome.cpp", stub + "this is not C++\r\n");
    const std::string line = std::to_string(std::count(stub.begin(), stub.end(), '\n') + 1);
    EXPECT_EQ(Shell(run), 1);
    EXPECT_NE(ReadFile(log).find("tavgen: the build failed\n"), std::string::npos) << ReadFile(log);
    EXPECT_NE(ReadFile(log).find("Welcome.cpp:" + line + ": "), std::string::npos) << ReadFile(log);
    EXPECT_FALSE(fs::exists(shot));
}

} // namespace
} // namespace tav::test
