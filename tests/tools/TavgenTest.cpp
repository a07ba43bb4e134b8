#include "tavgen/Tavgen.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <sstream>
#include <sys/stat.h>
#include <tuple>

namespace tav {
namespace {

using test::MakeObject;
using test::MakeScreen;
using test::ReadFile;
using test::TempDir;

const std::string kGolden = TAV_SOURCE_DIR "/tests/tools/golden/";

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

// tavgen in this process; with `typed`, on a terminal that types it and whose prompts go to `prompts`.
Outcome Tavgen(const std::vector<std::string>& args, const char* typed = nullptr,
               std::string* prompts = nullptr) {
    std::ostringstream out, err, prompt;
    std::istringstream in(typed == nullptr ? "" : typed);
    Terminal terminal{in, prompt};
    const int status = RunTavgen(args, out, err, typed == nullptr ? nullptr : &terminal);
    if (prompts != nullptr)
        *prompts = prompt.str();
    return {status, out.str(), err.str()};
}

// The installed program, for what only a real process shows: its exit status.
int TavgenProcess(const std::string& args) {
    return test::Shell(std::string(TAVGEN_PATH) + " " + args + " >/dev/null 2>&1");
}

void WriteFailingProject(const std::string& path) {
    Project project;
    project.name = "CTavApp";
    test::AddScreen(project, "Main").startup = 1;
    for (const char* name : {"CTavScreen", "RGB", "TRUE", "WinMain", "A", "A_B", "MAIN"})
        project.AddScreen(MakeScreen(name));
    for (const char* name : {"my-edit", "X/*", "Y*/", "H", "3D"})
        test::AddObject(project, ObjectKind::Static, "Main", name).caption = "x";
    project.AddObject(MakeObject(ObjectKind::Object, "A", "B_C"));
    project.AddObject(MakeObject(ObjectKind::Object, "A_B", "C"));
    project.AddScreen(MakeScreen("Bad Name"));
    project.AddScreen(MakeScreen("Pop", ScreenType::Popup, "Ghost"));
    project.AddScreen(MakeScreen("Twin"));
    project.AddScreen(MakeScreen("Twin"));
    project.AddObject(MakeObject(ObjectKind::Object, "Main", "Fine"));
    test::AddObject(project, ObjectKind::Object, "Main", "Wide").width = 0;
    test::AddObject(project, ObjectKind::Button, "Main", "Go").clickScreen = "Nowhere";
    project.AddObject(MakeObject(ObjectKind::Object, "Ghost", "Lost"));
    project.AddObject(MakeObject(ObjectKind::Object, "Main", "x-y"));
    ASSERT_TRUE(project.WriteProjectFile(path));
}

// A project whose full screen is not marked as startup screen.
std::string WriteUnmarkedProject(const TempDir& dir) {
    Project project;
    project.name = "Game";
    project.AddScreen(MakeScreen("Menu"));
    project.AddScreen(MakeScreen("Pop", ScreenType::Popup, "Menu"));
    test::AddObject(project, ObjectKind::Object, "Menu", "Back").image = dir / "missing.bmp";
    const std::string path = dir / "game.tvp";
    EXPECT_TRUE(project.WriteProjectFile(path));
    return path;
}

TEST(Tavgen, UsageHelpAndErrors) {
    TempDir dir;
    const std::string game = WriteUnmarkedProject(dir);
    test::WriteFile(dir / "cut.tvp", "P\n0\n0\n10\n10\n24\n1\n0\n0\nSCREEN\nM\n0\n");
    // Arguments split at blanks, "$g" being the project and "$d" the folder. A status of kExitOk
    // expects the text on the output and nothing on the error output; any other the reverse.
    const struct {
        const char* args;
        int status;
        const char* text;
    } cases[] = {
        {"", kExitUsage, "Usage: tavgen COMMAND"},
        {"--help", kExitOk, "Usage: tavgen COMMAND"},
        {"frobnicate", kExitUsage, "unknown command 'frobnicate'"},
        {"validate --help", kExitOk, "Usage: tavgen validate PROJECT.tvp"},
        {"resave -h", kExitOk, "Usage: tavgen resave IN.tvp OUT.tvp"},
        {"validate", kExitUsage, "expected one project file"},
        {"validate a.tvp b.tvp", kExitUsage, "expected one project file"},
        {"validate --strict a.tvp", kExitUsage, "unknown option '--strict'"},
        {"resave a.tvp", kExitUsage, "expected an input and an output project file"},
        {"validate /nonexistent/p.tvp", kExitUsage, "cannot open '/nonexistent/p.tvp'"},
        {"resave $g $d/no/such/out.tvp", kExitUsage, "No such file or directory"},
        {"resave $d/cut.tvp $d/out.tvp", kExitUsage, "the file ends after line 12, inside the screen list"},
        {"generate $g $d/out", kExitUsage, "output folder '"},
        {"generate $g $d/no/out --mkdir", kExitFailures, "Error creating directory"},
        {"generate $g $d --overwrite=sometimes", kExitUsage, "--overwrite takes always"},
        {"generate $g $d --screen", kExitUsage, "option '--screen' needs a value"},
        {"generate $g $d --screen Nope", kExitUsage, "no screen named 'Nope'"},
        {"generate $g $d --startup=Pop", kExitUsage, "'Pop' is not one"},
        {"generate $g $g", kExitUsage, "is a file, not a folder"},
        {"generate $g", kExitUsage, "expected a project file and an output folder"},
        {"generate $g $d/one --mkdir --screen Menu --cmake", kExitUsage,
         "--cmake writes the CMakeLists.txt of the entire project"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args;
        std::istringstream words(c.args);
        for (std::string word; words >> word;)
            args.push_back(word.starts_with("$g")   ? game
                           : word.starts_with("$d") ? dir.path() + word.substr(2)
                                                    : word);
        const Outcome run = Tavgen(args);
        EXPECT_EQ(c.status, run.status) << c.args;
        const bool ok = c.status == kExitOk;
        EXPECT_NE(std::string::npos, (ok ? run.out : run.err).find(c.text))
            << c.args << ": " << run.out << run.err;
        EXPECT_EQ("", ok ? run.err : run.out) << c.args;
    }
    for (const char* unwritten : {"out", "out.tvp", "one", "no"})
        EXPECT_FALSE(std::filesystem::exists(dir / unwritten)) << unwritten;
}

TEST(Tavgen, ValidateListsEveryFailingItemInOrder) {
    TempDir dir;
    WriteFailingProject(dir / "bad.tvp");
    const Outcome run = Tavgen({"validate", dir / "bad.tvp"});
    EXPECT_EQ(kExitFailures, run.status);
    test::ExpectSameAsGolden(run.out + "--- error output\n" + run.err, kGolden + "validate-failing.txt");
    // generate refuses the same problems of the whole project, for one screen too, and writes nothing.
    for (const char* only : {"--cmake", "--screen=A"}) {
        const Outcome made =
            Tavgen({"generate", dir / "bad.tvp", dir / "out", "--mkdir", "--overwrite=always", only});
        EXPECT_EQ(kExitFailures, made.status);
        test::ExpectSameAsGolden(made.err, kGolden + "generate-refused.txt");
        EXPECT_FALSE(std::filesystem::exists(dir / "out"));
    }
    // Such a project still opens and resaves (with portable bitmap paths, then unchanged), to be repaired.
    ASSERT_EQ(kExitOk, Tavgen({"resave", dir / "bad.tvp", dir / "again.tvp"}).status);
    ASSERT_EQ(kExitOk, Tavgen({"resave", dir / "again.tvp", dir / "twice.tvp"}).status);
    EXPECT_EQ(ReadFile(dir / "again.tvp"), ReadFile(dir / "twice.tvp"));
    // The program itself gives the same statuses.
    EXPECT_EQ(kExitFailures, TavgenProcess("validate " + dir / "bad.tvp"));
    EXPECT_EQ(kExitOk, TavgenProcess("validate " TAV_EXAMPLES_DIR "/showcase.tvp"));
    EXPECT_EQ(kExitUsage, TavgenProcess(""));
}

TEST(Tavgen, ResaveNormalisesAHandEditedFile) {
    TempDir dir;
    // LF line ends, no final line end, a popup marked as startup screen.
    test::WriteFile(dir / "in.tvp", "P\n0\n0\n10\n10\n24\n1\n0\n0\nSCREEN\nM\n0\n0\n5\n5\n\n0\n\n0\n1\n"
                                    "Pop\n0\n0\n1\n1\n\n0\nM\n1\n1\nENDSCREEN\nOBJECT\nENDOBJECT");
    ASSERT_EQ(kExitOk, Tavgen({"resave", dir / "in.tvp", dir / "out.tvp"}).status);
    test::ExpectSameAsGolden(ReadFile(dir / "out.tvp"), kGolden + "resaved.tvp");
}

// Past a file-size limit, or before a FIFO named like a generated file, the programs fail with a
// message: no kill, no hang, no temporary left.
TEST(Tavgen, LimitsAndSpecialFilesAreErrors) {
    TempDir dir;
    const std::string game = WriteUnmarkedProject(dir);
    const std::string tavgen = std::string(TAVGEN_PATH) + " ";
    const std::string limited = "ulimit -f 1; exec " + tavgen;
    std::filesystem::create_directory(dir / "big");
    std::filesystem::create_directory(dir / "fifo");
    ::mkfifo((dir / "fifo/Game.h").c_str(), 0600);
    const std::tuple<std::string, int, std::string> runs[] = {
        {"sh -c '" + limited + "resave " + game + " " + dir / "big/out.tvp" + "'", kExitUsage,
         "File too large"},
        {"sh -c '" + limited + "generate " + game + " " + dir / "big" + " --startup Menu'", kExitFailures,
         "Error Writing " + dir / "big/Game.h"},
        {"timeout 60 " + tavgen + "generate " + game + " " + dir / "fifo" + " --startup Menu", kExitUsage,
         dir / "fifo/Game.h already exists"},
        {tavgen + "resave " + game + " /dev/stdout", kExitOk, ""}}; // a stream: written, not replaced
    test::WriteFile(dir / "out", "before\n");
    for (const auto& [command, status, said] : runs) {
        EXPECT_EQ(status, test::Shell(command + " >>" + dir / "out" + " 2>" + dir / "err")) << command;
        EXPECT_NE(std::string::npos, ReadFile(dir / "err").find(said)) << ReadFile(dir / "err");
    }
    // A stream holds the paths as a file beside IN.tvp does; a file in another folder rebases them.
    test::WriteFile(dir / "missing.bmp", "now there");
    ASSERT_EQ(kExitOk, test::Shell(tavgen + "resave " + game + " " + dir / "same.tvp"));
    EXPECT_EQ(ReadFile(dir / "out"), "before\n" + ReadFile(dir / "same.tvp"));
    ASSERT_EQ(kExitOk, Tavgen({"resave", dir / "same.tvp", dir / "big/moved.tvp"}).status);
    EXPECT_NE(ReadFile(dir / "big/moved.tvp").find("\n" + dir / "missing.bmp\r"), std::string::npos);
    EXPECT_EQ(1, std::distance(std::filesystem::directory_iterator(dir / "fifo"), {}));
    for (const auto& entry : std::filesystem::directory_iterator(dir / "big"))
        EXPECT_EQ(std::string::npos, entry.path().filename().string().find(".tav-")) << entry.path();
}

TEST(TavgenGenerate, OptionsAndQuestionsWithoutATerminal) {
    TempDir dir;
    const std::string game = WriteUnmarkedProject(dir);
    const Outcome made = Tavgen({"generate", game, dir / "out/", "--mkdir", "--startup", "Menu", "--cmake"});
    EXPECT_EQ(kExitOk, made.status) << made.err;
    EXPECT_TRUE(std::filesystem::exists(dir / "out/CMakeLists.txt"));
    EXPECT_NE(std::string::npos, made.out.find("Code generation complete."));
    EXPECT_NE(std::string::npos, ReadFile(dir / "out/main.cpp").find("\tMenu *scr = new Menu;"));
    Project reread;
    ASSERT_TRUE(reread.ReadProjectFile(game));
    EXPECT_EQ(0, reread.Screen(0).startup) << "the project file is never rewritten";

    const Outcome one = Tavgen({"generate", game, dir / "one", "--mkdir", "--screen=Pop"});
    EXPECT_EQ(kExitOk, one.status) << one.err;
    EXPECT_EQ("Code generation complete\n", one.out);
    EXPECT_TRUE(std::filesystem::exists(dir / "one/Pop.h"));
    EXPECT_EQ(3, std::distance(std::filesystem::directory_iterator(dir / "one"), {})) << "and .tavgen";
    ASSERT_EQ(kExitOk, Tavgen({"generate", game, dir / "plain", "--mkdir", "--startup=Menu"}).status);
    EXPECT_TRUE(std::filesystem::exists(dir / "plain/Game.dsp"));
    EXPECT_FALSE(std::filesystem::exists(dir / "plain/CMakeLists.txt"));

    const Outcome first = Tavgen({"generate", game, dir.path(), "--copy-art"});
    EXPECT_EQ(kExitOk, first.status);
    test::ExpectSameAsGolden(std::regex_replace(first.err, std::regex(dir.path()), "DIR"),
                             kGolden + "warnings.txt");
    EXPECT_NE(std::string::npos, ReadFile(dir / "Menu.cpp").find("\"art//missing.bmp\""));

    // The first existing file is a question nobody can answer: stop there, keep what was written.
    std::filesystem::remove(dir / "main.cpp");
    test::WriteFile(dir / "Game.cpp", "mine");
    std::filesystem::remove(dir / "Game.h");
    const Outcome asked = Tavgen({"generate", game, dir.path(), "--startup", "Menu"});
    EXPECT_EQ(kExitUsage, asked.status);
    EXPECT_NE(std::string::npos, asked.err.find(dir / "Game.cpp" + " already exists.")) << asked.err;
    EXPECT_TRUE(std::filesystem::exists(dir / "Game.h"));
    EXPECT_EQ("mine", ReadFile(dir / "Game.cpp"));
    EXPECT_FALSE(std::filesystem::exists(dir / "main.cpp"));

    EXPECT_EQ(kExitOk,
              Tavgen({"generate", game, dir.path(), "--overwrite=never", "--startup", "Menu"}).status);
    EXPECT_EQ("mine", ReadFile(dir / "Game.cpp"));
    EXPECT_FALSE(std::filesystem::exists(dir / "main.cpp")) << "Never also skips the files after it";
    EXPECT_EQ(kExitOk,
              Tavgen({"generate", game, dir.path(), "--overwrite", "always", "--startup", "Menu"}).status);
    EXPECT_NE("mine", ReadFile(dir / "Game.cpp"));
    EXPECT_TRUE(std::filesystem::exists(dir / "main.cpp"));
}

// Dry runs print what a run would do and write nothing; --check fails while anything would change;
// --keep-user-code keeps an edit and warns about code it had to set aside.
TEST(TavgenGenerate, DryRunsChecksAndKeptCode) {
    TempDir dir;
    const std::string game = WriteUnmarkedProject(dir), out = "out";
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.path()); // paths as the user types them
    const auto generate = [&](std::vector<std::string> options) {
        options.insert(options.begin(), {"generate", game, out, "--startup=Menu"});
        Outcome run = Tavgen(options);
        run.out = std::regex_replace(run.out, std::regex(dir.path()), "DIR");
        return run;
    };
    const Outcome fresh = generate({"--mkdir", "--check"});
    EXPECT_EQ(kExitFailures, fresh.status);
    EXPECT_TRUE(fresh.out.starts_with("new out/Game.h\nnew out/Game.cpp\n")) << fresh.out;
    EXPECT_FALSE(std::filesystem::exists(out));
    ASSERT_EQ(kExitOk, generate({"--mkdir"}).status);
    EXPECT_EQ(generate({"--check"}).out, "");
    test::WriteFile(out + "/Menu.cpp", std::regex_replace(ReadFile(out + "/Menu.cpp"),
                                                          std::regex("Menu_Back, 0, 0"), "Menu_Back, 1, 1"));
    const Outcome dry = generate({"--dry-run", "--screen=Menu"}),
                  never = generate({"--dry-run", "--overwrite=never", "--screen", "Menu"});
    EXPECT_EQ(dry.out + never.out,
              "unchanged out/Menu.h\nchanged out/Menu.cpp\nunchanged out/Menu.h\nunchanged out/Menu.cpp\n");
    test::ExpectSameAsGolden(generate({"--diff", "--check"}).out, kGolden + "diff.txt");
    EXPECT_EQ(kExitOk, generate({"--check", "--keep-user-code"}).status) << "the edit is kept";
    std::filesystem::remove(out + "/Pop.h");
    EXPECT_TRUE(
        generate({"--diff", "--screen=Pop"}).out.starts_with("--- /dev/null\n+++ b/out/Pop.h\n@@ -0,0 +1,"));

    // The design moves the edited object: the user's line is set aside.
    Project project;
    ASSERT_TRUE(project.ReadProjectFile(game));
    project.Object(0).x = 5;
    ASSERT_TRUE(project.WriteProjectFile(game));
    const Outcome kept = generate({"--keep-user-code"});
    EXPECT_EQ(kExitOk, kept.status);
    EXPECT_TRUE(kept.err.ends_with("warning: your code in 1 place no longer fitted the design; it is kept, "
                                   "commented out, in: Menu.cpp\n"))
        << kept.err;
    const std::string merged = ReadFile(out + "/Menu.cpp");
    EXPECT_TRUE(merged.find("Menu_Back, 1, 1") != merged.npos &&
                merged.find("Menu_Back, 5, 0") != merged.npos);
    std::filesystem::current_path(previous);
}

TEST(TavgenGenerate, QuestionsOnATerminal) {
    TempDir dir;
    const std::string game = WriteUnmarkedProject(dir);
    test::WriteFile(dir / "Game.h", "mine");
    std::string prompts;
    // Startup question: yes, then a wrong name and the right one; overwrite: "maybe", then No.
    const Outcome run = Tavgen({"generate", game, dir.path()}, "y\nPop\nMenu\nmaybe\nn\n", &prompts);
    EXPECT_EQ(kExitOk, run.status) << run.err;
    test::ExpectSameAsGolden(std::regex_replace(prompts, std::regex(dir.path()), "DIR"),
                             kGolden + "prompts.txt");
    EXPECT_EQ("mine", ReadFile(dir / "Game.h"));
    EXPECT_FALSE(std::filesystem::exists(dir / "main.cpp")) << "No governs the files after it";

    const Outcome ended = Tavgen({"generate", game, dir.path(), "--startup=Menu"}, "", &prompts);
    EXPECT_EQ(kExitUsage, ended.status);
    EXPECT_NE(std::string::npos, ended.err.find("no answer")) << ended.err;
}

} // namespace
} // namespace tav
