#include "model/ProjectFile.h"
#include "model/BitmapPaths.h"
#include "model/Decimal.h"
#include "model/FileIo.h"
#include "model/ProgramFolder.h"
#include "tavctrls/files/AtomicFile.h"
#include "tests/support/TestSupport.h"

#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <random>
#include <set>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tav {
namespace {

using test::MakeObject;
using test::MakeScreen;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

namespace fs = std::filesystem;

// Every kind, screen type and field, with frames, negative numbers, blanks at the ends of texts,
// out-of-list enumeration values and extreme numbers.
const std::string kRichFile = TAV_SOURCE_DIR "/tests/model/golden/rich.tvp";

// A new window-mode project with the project dialog's defaults and one startup screen.
TEST(ProjectFile, DefaultProjectIsTheMinimalExample) {
    Project project;
    project.name = "MyProject";
    project.appMode = AppMode::Window;
    project.AddScreen(std::make_unique<ScreenDef>());
    project.Screen(0).startup = 1;
    TempDir dir;
    ASSERT_TRUE(project.WriteProjectFile(dir / "p.tvp"));
    EXPECT_EQ(ReadFile(TAV_EXAMPLES_DIR "/minimal.tvp"), ReadFile(dir / "p.tvp"));
    EXPECT_EQ(0, project.modified);
}

TEST(ProjectFile, RichProjectRoundTripsByteForByteAndFieldByField) {
    Project original;
    ASSERT_TRUE(ParseProjectFile(original, ReadFile(kRichFile)));
    test::ExpectSameAsGolden(FormatProjectFile(original), kRichFile);
    EXPECT_EQ(FindUnwritableFields(original), std::vector<std::string>{});

    TempDir dir;
    original.modified = 1;
    original.overwriteAnswer = 3;
    original.generatedFiles = {"x.cpp"};
    ASSERT_TRUE(original.WriteProjectFile(dir / "rich.tvp"));
    EXPECT_EQ(0, original.modified);
    Project loaded;
    ASSERT_TRUE(loaded.ReadProjectFile(dir / "rich.tvp"));
    test::ExpectSameStoredProject(original, loaded);
    EXPECT_EQ(0, loaded.modified);
    EXPECT_EQ(1, loaded.overwriteAnswer) << "generation state is not stored";
    EXPECT_TRUE(loaded.generatedFiles.empty());
    loaded.Clear();
    EXPECT_EQ(0, loaded.ScreenCount() + loaded.ObjectCount());
}

// Stored forms: inside the folder relative, the designer's art as art/NAME, else as it is (""); ".."
// and links judged as the system takes them. Stored relative paths found in the folder resolve.
TEST(BitmapPaths, StoredAndResolvedForms) {
    TempDir dir;
    const std::string f = fs::canonical(dir.path()).string() + "/p", art = ProgramArtPath("dback.bmp");
    fs::create_directories(f + "/s");
    fs::create_directories(dir / "other/deep");
    fs::create_directory_symlink(dir / "other/deep", f + "/l");
    WriteFile(f + "/x.bmp", "x");
    // "@" stands for the project's folder, "#" for the designer's dback.bmp.
    const auto at = [&](const std::string& t) { return t[0] == '@' ? f + t.substr(1) : t == "#" ? art : t; };
    const std::pair<const char*, const char*> stored[] = {
        {"@/s/a.bmp", "s/a.bmp"}, {"@/s/../x.bmp", "x.bmp"}, {"@/l/b.bmp", "l/b.bmp"}, {"@/l/../x.bmp", ""},
        {"@x/a.bmp", ""},         {"/else/c.bmp", ""},       {"#", "art/dback.bmp"},   {"art/q.bmp", ""}};
    for (const auto& [path, form] : stored)
        EXPECT_EQ(PortableBitmapPath(at(path), f), *form == '\0' ? at(path) : form) << path;
    WriteFile(f + "/s/dback.bmp", "own"); // the project's own art/dback.bmp would be found first
    fs::create_directory_symlink(f + "/s", f + "/art");
    EXPECT_EQ(PortableBitmapPath(art, f), art);
    EXPECT_EQ(ResolvedBitmapPath("s/../x.bmp", f), f + "/x.bmp");
    EXPECT_EQ(ResolvedBitmapPath("art/dback.bmp", f), f + "/art/dback.bmp");
    EXPECT_EQ(ResolvedBitmapPath("/else/c.bmp", f) + ResolvedBitmapPath("no.bmp", f), "/else/c.bmpno.bmp");
}

TEST(ProjectFile, MarkersCompareTheWholeLineAndOnlyCrLfIsStripped) {
    Project project;
    project.AddScreen(MakeScreen("ENDSCREEN "));
    project.AddScreen(MakeScreen(" ENDSCREEN"));
    auto& object = test::AddObject(project, ObjectKind::Animation, "ENDSCREEN ", "A");
    object.image = "ENDOBJECTS";
    object.caption = "ends with a carriage return\r";
    object.frames = {"ENDFRAMES ", "endframes", "ENDFRAME"};
    EXPECT_TRUE(FindUnwritableFields(project).empty());
    Project loaded;
    ASSERT_TRUE(ParseProjectFile(loaded, FormatProjectFile(project)));
    test::ExpectSameStoredProject(project, loaded);
}

TEST(ProjectFile, EveryTruncationFailsAndLeavesTheProjectUntouched) {
    const std::string text = ReadFile(kRichFile);
    const std::size_t endObject = text.rfind("ENDOBJECT");
    for (std::size_t cut = 0; cut < endObject; cut = text.find('\n', cut) + 1) {
        for (const std::size_t length : {cut, cut + 1}) {
            Project loaded;
            loaded.name = "untouched";
            std::string error;
            EXPECT_FALSE(ParseProjectFile(loaded, std::string_view(text).substr(0, length), &error))
                << length;
            EXPECT_NE(std::string::npos, error.find("the file ends after line")) << error;
            EXPECT_EQ("untouched", loaded.name);
            EXPECT_EQ(0, loaded.ScreenCount());
            EXPECT_EQ(0, loaded.ObjectCount());
            EXPECT_EQ(1, loaded.modified);
        }
    }
    Project loaded;
    EXPECT_TRUE(ParseProjectFile(loaded, std::string_view(text).substr(0, endObject + 9)))
        << "no final line end";
}

TEST(ProjectFile, TruncationMessageNamesWhereTheFileEnds) {
    const std::string text = ReadFile(TAV_EXAMPLES_DIR "/minimal.tvp");
    const std::pair<std::string, const char*> cases[] = {
        {"MyProject\n0\n", "the file ends after line 2, inside the project header"},
        {text.substr(0, text.find("ENDSCREEN")), "the file ends after line 20, inside the screen list"},
        {text.substr(0, text.find("ENDOBJECT")), "the file ends after line 22, inside the object list"},
    };
    for (const auto& [cutText, message] : cases) {
        Project loaded;
        std::string error;
        EXPECT_FALSE(ParseProjectFile(loaded, cutText, &error));
        EXPECT_EQ(message, error);
    }
}

// Many read and write blocks: lines of every length end at every offset, one line is longer than a
// block, and the last line is read with and without its line end.
TEST(ProjectFile, LongLinesAndLargeFilesAreReadWhole) {
    Project project;
    project.AddScreen(MakeScreen("S"));
    for (int i = 0; i < 500; ++i)
        test::AddObject(project, static_cast<ObjectKind>(i % 8), "S", "O" + std::to_string(i)).caption =
            std::string(static_cast<std::size_t>(i % 131), 'c');
    project.Object(250).caption.assign(200000, 'x');
    project.Object(250).caption += "end";
    TempDir dir;
    const std::string path = dir / "big.tvp";
    ASSERT_TRUE(project.WriteProjectFile(path));
    const std::string text = ReadFile(path);
    EXPECT_EQ(FormatProjectFile(project), text);
    Project parsed;
    ASSERT_TRUE(ParseProjectFile(parsed, text));
    test::ExpectSameStoredProject(project, parsed);
    for (const std::size_t cut : {0, 2}) {
        ASSERT_EQ(0, ::truncate(path.c_str(), static_cast<off_t>(text.size() - cut)));
        Project read;
        ASSERT_TRUE(read.ReadProjectFile(path)) << cut;
        test::ExpectSameStoredProject(project, read);
    }
}

TEST(ProjectFile, NumbersFollowThePlainDecimalRuleAndClamp) {
    const std::string text = "P\n 12abc\n\n99999999999\n-99999999999\nx\n-1\n+1\n0\n"
                             "SCREEN\nS\n0\n0\n0\n0\n\n-1\n\n4294967296\n0\nENDSCREEN\nOBJECT\nENDOBJECT\n";
    Project loaded;
    ASSERT_TRUE(ParseProjectFile(loaded, text));
    // As written back: 12, 0, the clamped extremes, 0, enumerations as the bit pattern of -1, 1.
    test::ExpectSameAsGolden(FormatProjectFile(loaded), TAV_SOURCE_DIR "/tests/model/golden/numbers.tvp");
}

// Changes the project `p`: a comma-separated list of assignments.
#define SET(...) [](Project& p) { __VA_ARGS__; }

TEST(ProjectFile, ValuesTheReaderCouldNotGiveBackAreRefused) {
    const std::pair<std::function<void(Project&)>, const char*> cases[] = {
        {SET(p.Object(0).caption = "two\nlines"), "caption holds a line break"},
        {SET(p.Object(0).upBitmap = "a.bmp\n"), "upBitmap holds a line break"},
        {SET(p.Object(0).overBitmap = std::string(40, 'o') + "\n"), "overBitmap holds a line break"},
        {SET(p.name = "P\n"), "project \"P\\n\": name"},
        {SET(p.Screen(0).parent = "\n"), "parent holds a line break"},
        {SET(p.Screen(0).name = "ENDSCREEN"), "name \"ENDSCREEN\" reads back as the end of the screen list"},
        {SET(p.Object(0).image = "ENDOBJECT"),
         "image \"ENDOBJECT\" reads back as the end of the object list"},
        {SET(p.Object(0).frames = {"a", "ENDFRAMES"}),
         "frame \"ENDFRAMES\" reads back as the end of the frame list"},
        {SET(p.Object(0).frames = {"a\nb"}), "frame holds a line break"},
    };
    TempDir dir;
    const std::string path = dir / "p.tvp";
    for (const auto& [change, named] : cases) {
        Project project;
        project.AddScreen(MakeScreen("S"));
        project.AddObject(MakeObject(ObjectKind::Animation, "S", "A"));
        ASSERT_TRUE(project.WriteProjectFile(path));
        const std::string before = ReadFile(path);
        change(project);
        project.modified = 1;
        std::string error;
        EXPECT_FALSE(project.WriteProjectFile(path, &error)) << named;
        EXPECT_NE(std::string::npos, error.find(named)) << error;
        EXPECT_EQ(1, project.modified) << named;
        EXPECT_EQ(before, ReadFile(path)) << named;
        EXPECT_EQ(1u, FindUnwritableFields(project).size()) << named;
    }
    EXPECT_EQ(1, std::distance(fs::directory_iterator(dir.path()), {})) << "no temporary file left";
}

TEST(ProjectFile, FileNamesListsAndReadErrors) {
    const std::pair<const char*, const char*> names[] = {
        {"game", "game.tvp"}, {"game.tvp", "game.tvp"}, {"game.TVP", "game.TVP.tvp"},   {"tvp", "tvp.tvp"},
        {".tvp", ".tvp"},     {"a.tv", "a.tv.tvp"},     {"x.tvp.bak", "x.tvp.bak.tvp"}, {"", ".tvp"},
    };
    for (const auto& [typed, expected] : names)
        EXPECT_EQ(expected, ProjectFileName(typed)) << typed;
    EXPECT_EQ(fs::current_path().string() + "/save/", SaveFolder());

    TempDir dir;
    for (const char* name : {"b.tvp", "a.tvp", "c.TVP", "d.tvp.bak", "with space.tvp", "caf\xc3\xa9.tvp"})
        WriteFile(dir / name, "x");
    fs::create_directory(dir / "folder.tvp");
    fs::create_symlink(dir / "a.tvp", dir / "link.tvp");
    EXPECT_EQ((std::vector<std::string>{"a.tvp", "b.tvp", "caf\xc3\xa9.tvp", "link.tvp", "with space.tvp"}),
              ListProjectFiles(dir.path()));
    EXPECT_TRUE(ListProjectFiles(dir / "missing").empty());
    EXPECT_TRUE(FileExists(dir / "a.tvp"));
    EXPECT_FALSE(FileExists(dir / "missing"));
    EXPECT_FALSE(FileExists(dir / "folder.tvp"));

    WriteFile(dir / "empty.tvp", "");
    // Sparse, all zeros: refused by its size, else it would fail as an overlong line.
    WriteFile(dir / "huge.tvp", "");
    ASSERT_EQ(0, ::truncate((dir / "huge.tvp").c_str(), kMaxProjectFileSize + 1));
    FILE* endless = ::popen("yes $(head -c 100000 /dev/zero | tr '\\0' a) | head -c 300000000", "r");
    const std::pair<std::string, const char*> unreadable[] = {
        {dir / "missing", "No such file"},
        {dir / "folder.tvp", "Is a directory"},
        {dir / "empty.tvp", "empty.tvp"},
        {dir / "huge.tvp", "huge.tvp': the file is larger than 256 MiB, the most a project file may hold"},
        {"/dev/fd/" + std::to_string(::fileno(endless)), "the file is larger than 256 MiB"}};
    for (const auto& [path, named] : unreadable) {
        Project project;
        std::string error;
        EXPECT_FALSE(project.ReadProjectFile(path, &error));
        EXPECT_NE(std::string::npos, error.find(named)) << error;
    }
    ::pclose(endless);
}

// Signed fields take a leading sign and digits and clamp; unsigned ones keep the bit pattern of negatives.
TEST(Decimal, PlainRule) {
    const std::pair<std::int32_t, std::vector<const char*>> cases[] = {
        {0, {"0", "", "abc", "-", "- 5", "--5"}},
        {-17, {"-17"}},
        {8, {"+8"}},
        {12, {"  \t 12", "12abc"}},
        {190, {"190"}},
        {1, {"1 2"}},
        {3, {"3.9"}},
        {5, {"\r\n5"}},
        {INT32_MAX, {"2147483647", "2147483648", "99999999999999999999999999"}},
        {INT32_MIN, {"-2147483648", "-2147483649"}},
    };
    for (const auto& [value, texts] : cases)
        for (const char* text : texts)
            EXPECT_EQ(value, ParseDecimal(text)) << '"' << text << '"';
    const std::pair<const char*, std::uint32_t> unsignedCases[] = {
        {"0", 0u},           {"4294967295", 4294967295u},  {"4294967296", 4294967295u},
        {"-1", 4294967295u}, {"-2147483648", 2147483648u}, {"-99999999999", 2147483648u},
        {"x", 0u},
    };
    for (const auto& [text, value] : unsignedCases)
        EXPECT_EQ(value, ParseUnsignedDecimal(text)) << '"' << text << '"';
}

std::size_t EntriesIn(const std::string& folder) {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

void FillLargeProject(Project& project, int objects, const std::string& caption) {
    project.name = "Large";
    project.AddScreen(test::MakeScreen("S"));
    for (int i = 0; i < objects; ++i)
        test::AddObject(project, ObjectKind::Static, "S", "O" + std::to_string(i)).caption = caption;
}

class SaveFailure : public ::testing::Test {
protected:
    void SetUp() override {
        Project old;
        FillLargeProject(old, 3, "old");
        ASSERT_TRUE(old.WriteProjectFile(path));
        oldBytes = ReadFile(path);
    }
    TempDir dir;
    std::string path = dir / "project.tvp";
    std::string oldBytes;
};

// Each save fails in a child process prepared for it: false, `modified` kept, an error that names
// the cause, the old file and the folder as they were.
TEST_F(SaveFailure, FailedSavesChangeNothing) {
    const std::string folderTarget = dir / "folder.tvp";
    fs::create_directory(folderTarget);
    const struct {
        const char* what;
        std::string target;
        std::function<void()> prepare;
        const char* inError;
    } cases[] = {
        {"missing folder", dir / "save/missing.tvp", [] {}, "No such file or directory"},
        {"target is a folder", folderTarget, [] {}, "it is a folder"},
        {"target is a FIFO", folderTarget + "/fifo",
         [&] { ::mkfifo((folderTarget + "/fifo").c_str(), 0600); }, "not a regular file"},
        {"target is a device (root makes one)", folderTarget + "/null",
         [&] {
             if (::mknod((folderTarget + "/null").c_str(), S_IFCHR | 0666, ::makedev(1, 3)) != 0)
                 ::_exit(0); // not root
         },
         "not a regular file"},
        {"read-only target", path, [this] { ::chmod(path.c_str(), 0444); }, "it is read-only"},
        {"full disk", path,
         [] {
             std::signal(SIGXFSZ, SIG_IGN);      // a write past the limit then fails with EFBIG
             const rlimit limit{700000, 700000}; // past the first blocks
             ::setrlimit(RLIMIT_FSIZE, &limit);
         },
         ""},
        {"read-only folder", path,
         [this] {
             ::chmod(dir.path().c_str(), 0555);
             // Root writes anywhere: act as an ordinary user.
             if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
                 ::_exit(20);
         },
         ""},
    };
    for (const auto& c : cases) {
        const int status = test::RunInChild([&] {
            c.prepare();
            Project project;
            FillLargeProject(project, 5000, "new");
            project.modified = 1;
            std::string error;
            if (project.WriteProjectFile(c.target, &error))
                return 10;
            return project.modified == 1 && !error.empty() && error.find(c.inError) != std::string::npos ? 0
                                                                                                         : 11;
        });
        ::chmod(dir.path().c_str(), 0700);
        ::chmod(path.c_str(), 0600);
        EXPECT_EQ(0, status) << c.what;
        EXPECT_EQ(oldBytes, ReadFile(path)) << c.what;
        EXPECT_EQ(2u, EntriesIn(dir.path())) << c.what << ": a temporary file was left behind";
        EXPECT_TRUE(fs::is_directory(folderTarget));
    }
}

TEST_F(SaveFailure, KillingASaveNeverLeavesATornFile) {
    Project first;
    FillLargeProject(first, 8000, "first version of a long caption");
    Project second;
    FillLargeProject(second, 8000, "second");
    const std::string firstBytes = FormatProjectFile(first);
    const std::string secondBytes = FormatProjectFile(second);
    std::mt19937 random(12345);
    bool torn = false; // a kill hit a save midway: its temporary stays until the next save
    for (int round = 0; round < 8; ++round) {
        const pid_t child = ::fork();
        if (child == 0) {
            for (int i = 0;; ++i)
                (i % 2 == 0 ? first : second).WriteProjectFile(path);
        }
        ::usleep(std::uniform_int_distribution<useconds_t>(1000, 60000)(random));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        const std::string now = ReadFile(path);
        EXPECT_TRUE(now == oldBytes || now == firstBytes || now == secondBytes)
            << "round " << round << ": " << now.size() << " bytes";
        torn = torn || EntriesIn(dir.path()) > 1;
    }
    // Temporaries of killed saves are removed by the next save; those of live processes are kept.
    EXPECT_TRUE(torn);
    const std::string prefix = dir / AtomicFile::TemporaryPrefix("project.tvp");
    const std::string live = prefix + std::to_string(::getpid()) + "-abcdef", reused = prefix + "1-abcdef",
                      malformed = prefix + "x-abcdef"; // pid 1 started long after 1990
    for (const std::string& name : {live, reused, malformed})
        WriteFile(name, "");
    const timeval old[2] = {{631152000, 0}, {631152000, 0}};
    ::utimes(reused.c_str(), old);
    ASSERT_TRUE(first.WriteProjectFile(path));
    std::set<std::string> left;
    for (const auto& entry : fs::directory_iterator(dir.path()))
        left.insert(entry.path());
    EXPECT_EQ(left, (std::set<std::string>{path, live, malformed}));
}

TEST(SaveTarget, KeepsTheModeOfAnExistingFileAndFollowsLinks) {
    TempDir dir;
    const std::string real = dir / "real.tvp";
    Project project;
    project.name = "First";
    ASSERT_TRUE(project.WriteProjectFile(real));
    ::chmod(real.c_str(), 0640);
    fs::create_symlink(real, dir / "link.tvp");

    project.name = "Second";
    ASSERT_TRUE(project.WriteProjectFile(dir / "link.tvp"));
    EXPECT_TRUE(fs::is_symlink(dir / "link.tvp"));
    EXPECT_EQ(0, ReadFile(real).rfind("Second\r\n", 0));
    struct stat info {};
    ASSERT_EQ(0, ::stat(real.c_str(), &info));
    EXPECT_EQ(0640u, info.st_mode & 07777);

    const mode_t mask = ::umask(022);
    ASSERT_TRUE(project.WriteProjectFile(dir / "new.tvp"));
    ::umask(mask);
    ASSERT_EQ(0, ::stat((dir / "new.tvp").c_str(), &info));
    EXPECT_EQ(0644u, info.st_mode & 07777);
}

} // namespace
} // namespace tav
