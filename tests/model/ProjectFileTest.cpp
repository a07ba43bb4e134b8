#include "model/ProjectFile.h"
#include "model/FileIo.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <unistd.h>

namespace tav {
namespace {

using test::MakeObject;
using test::MakeScreen;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

std::string ToLf(const std::string& text) {
    std::string lf;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n'))
            lf += text[i];
    return lf;
}

// Every kind, screen type and field, with frames, negative numbers, blanks at the ends of texts,
// out-of-list enumeration values and extreme numbers.
const std::string kRichFile = TAV_SOURCE_DIR "/tests/model/golden/rich.tvp";

void LoadRich(Project& project) {
    ASSERT_TRUE(ParseProjectFile(project, ReadFile(kRichFile)));
}

// A new window-mode project with the project dialog's defaults and one startup screen.
void FillDefaultProject(Project& project) {
    project.name = "MyProject";
    project.appMode = AppMode::Window;
    auto screen = std::make_unique<ScreenDef>();
    screen->startup = 1;
    project.AddScreen(std::move(screen));
}

TEST(ProjectFile, DefaultProjectIsTheTwentyThreeLineFile) {
    const std::string expected = ReadFile(TAV_EXAMPLES_DIR "/minimal.tvp");
    EXPECT_EQ(23, std::count(expected.begin(), expected.end(), '\n'));
    Project project;
    FillDefaultProject(project);
    TempDir dir;
    ASSERT_TRUE(project.WriteProjectFile(dir / "p.tvp"));
    EXPECT_EQ(expected, ReadFile(dir / "p.tvp"));
    EXPECT_EQ(0, project.modified);
}

TEST(ProjectFile, ObjectRecordFieldOrder) {
    Project project;
    auto object = MakeObject(ObjectKind::CheckBox, "S", "Box");
    object->image = "img";
    object->downBitmap = "down";
    object->overBitmap = "over";
    object->upBitmap = "up";
    object->caption = "cap";
    object->checkedBitmap = "yes";
    object->checkValue = 1;
    object->frames = {"f1"};
    object->height = 11;
    object->interval = 12;
    object->listBackground = "list";
    object->multiline = 1;
    object->designId = 4000000000u;
    object->treeBackground = "tree";
    object->uncheckedBitmap = "no";
    object->width = 13;
    object->x = -14;
    object->y = 15;
    object->transparent = 1;
    object->transparentColor = {1, 2, 3};
    object->backColor = {4, 5, 6};
    object->textColor = {7, 8, 9};
    object->fontName = "font";
    object->fontSize = 16;
    object->bold = 1;
    object->columnFontName = "cfont";
    object->columnFontSize = 17;
    object->columnBold = 1;
    object->columnTextColor = {10, 11, 12};
    object->selectedColor = {13, 14, 15};
    object->lineColor = {16, 17, 18};
    object->columnHeight = 19;
    object->itemHeight = 20;
    object->columnBackColor = {21, 22, 23};
    object->plusBitmap = "plus";
    object->minusBitmap = "minus";
    object->tabSpace = 24;
    object->textOffsetX = 25;
    object->textOffsetY = -26;
    object->clickScreen = "click";
    project.AddObject(std::move(object));

    const std::string expected =
        "OBJECT\nimg\ndown\nover\nup\ncap\nyes\n1\nFRAMES\nf1\nENDFRAMES\n11\n12\nlist\n1\n"
        "Box\nS\n4000000000\ntree\n3\nno\n\n13\n-14\n15\n1\n1\n2\n3\n4\n5\n6\n7\n8\n9\n"
        "font\n16\n1\ncfont\n17\n1\n10\n11\n12\n13\n14\n15\n16\n17\n18\n19\n20\n21\n22\n"
        "23\nplus\nminus\n24\n25\n-26\nclick\n0\nENDOBJECT\n";
    const std::string text = ToLf(FormatProjectFile(project));
    EXPECT_EQ(expected, text.substr(text.find("OBJECT\n")));
}

TEST(ProjectFile, RichProjectRoundTripsByteForByteAndFieldByField) {
    Project original;
    LoadRich(original);
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

TEST(ProjectFile, ReaderTakesLfNoFinalLineEndAndAnyOpeningMarker) {
    Project rich;
    LoadRich(rich);
    std::string text = ToLf(ReadFile(kRichFile));
    text.pop_back();
    for (const std::string marker : {"\nSCREEN\n", "\nOBJECT\n", "\nFRAMES\n"})
        text.replace(text.find(marker), marker.size(), "\nsomething else\n");
    Project loaded;
    ASSERT_TRUE(ParseProjectFile(loaded, text));
    test::ExpectSameStoredProject(rich, loaded);
}

TEST(ProjectFile, MarkersCompareTheWholeLineAndOnlyCrLfIsStripped) {
    Project project;
    project.AddScreen(MakeScreen("ENDSCREEN "));
    project.AddScreen(MakeScreen(" ENDSCREEN"));
    auto object = MakeObject(ObjectKind::Animation, "ENDSCREEN ", "A");
    object->image = "ENDOBJECTS";
    object->caption = "ends with a carriage return\r";
    object->frames = {"ENDFRAMES ", "endframes", "ENDFRAME"};
    project.AddObject(std::move(object));
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
    const std::string text = ToLf(ReadFile(TAV_EXAMPLES_DIR "/minimal.tvp"));
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

TEST(ProjectFile, LongLinesAreReadWhole) {
    Project project;
    project.AddScreen(MakeScreen("S"));
    auto object = MakeObject(ObjectKind::Static, "S", "Long");
    object->caption.assign(200000, 'x');
    object->caption += "end";
    project.AddObject(std::move(object));
    Project loaded;
    ASSERT_TRUE(ParseProjectFile(loaded, FormatProjectFile(project)));
    EXPECT_EQ(project.Object(0).caption, loaded.Object(0).caption);
}

TEST(ProjectFile, NumbersFollowThePlainDecimalRuleAndClamp) {
    const std::string text = "P\n 12abc\n\n99999999999\n-99999999999\nx\n-1\n+1\n0\n"
                             "SCREEN\nS\n0\n0\n0\n0\n\n-1\n\n4294967296\n0\nENDSCREEN\nOBJECT\nENDOBJECT\n";
    Project loaded;
    ASSERT_TRUE(ParseProjectFile(loaded, text));
    EXPECT_EQ(12, loaded.x);
    EXPECT_EQ(0, loaded.y);
    EXPECT_EQ(2147483647, loaded.width);
    EXPECT_EQ(-2147483647 - 1, loaded.height);
    EXPECT_EQ(0, loaded.bitsPerPixel);
    EXPECT_EQ(static_cast<AppMode>(4294967295u), loaded.appMode);
    EXPECT_EQ(1, loaded.showFrameRate);
    EXPECT_EQ(static_cast<BackgroundMode>(4294967295u), loaded.Screen(0).backgroundMode);
    EXPECT_EQ(static_cast<ScreenType>(4294967295u), loaded.Screen(0).type);
}

TEST(ProjectFile, ValuesTheReaderCouldNotGiveBackAreRefused) {
    const struct {
        const char* what;
        std::function<void(Project&)> change;
        const char* named;
    } cases[] = {
        {"line feed in a caption", [](Project& p) { p.Object(0).caption = "two\nlines"; },
         "caption holds a line break"},
        {"line feed in a path", [](Project& p) { p.Object(0).upBitmap = "a.bmp\n"; },
         "upBitmap holds a line break"},
        {"line break in the project name", [](Project& p) { p.name = "P\n"; }, "project \"P\\n\": name"},
        {"line break in a parent", [](Project& p) { p.Screen(0).parent = "\n"; },
         "parent holds a line break"},
        {"a screen named like the end marker", [](Project& p) { p.Screen(0).name = "ENDSCREEN"; },
         "name \"ENDSCREEN\" reads back as the end of the screen list"},
        {"an image named like the end marker", [](Project& p) { p.Object(0).image = "ENDOBJECT"; },
         "image \"ENDOBJECT\" reads back as the end of the object list"},
        {"a frame named like the end marker",
         [](Project& p) {
             p.Object(0).frames = {"a", "ENDFRAMES"};
         },
         "frame \"ENDFRAMES\" reads back as the end of the frame list"},
        {"a line break in a frame", [](Project& p) { p.Object(0).frames = {"a\nb"}; },
         "frame holds a line break"},
    };
    TempDir dir;
    const std::string path = dir / "p.tvp";
    for (const auto& c : cases) {
        Project project;
        project.AddScreen(MakeScreen("S"));
        project.AddObject(MakeObject(ObjectKind::Animation, "S", "A"));
        ASSERT_TRUE(project.WriteProjectFile(path));
        const std::string before = ReadFile(path);
        c.change(project);
        project.modified = 1;
        std::string error;
        EXPECT_FALSE(project.WriteProjectFile(path, &error)) << c.what;
        EXPECT_NE(std::string::npos, error.find(c.named)) << c.what << ": " << error;
        EXPECT_EQ(1, project.modified) << c.what;
        EXPECT_EQ(before, ReadFile(path)) << c.what;
        const auto found = FindUnwritableFields(project);
        ASSERT_EQ(1u, found.size()) << c.what;
    }
    EXPECT_EQ(1, std::distance(std::filesystem::directory_iterator(dir.path()), {}))
        << "no temporary file left";
}

TEST(ProjectFile, TypedNamesGetTheExtension) {
    const std::pair<const char*, const char*> cases[] = {
        {"game", "game.tvp"}, {"game.tvp", "game.tvp"}, {"game.TVP", "game.TVP.tvp"},   {"tvp", "tvp.tvp"},
        {".tvp", ".tvp"},     {"a.tv", "a.tv.tvp"},     {"x.tvp.bak", "x.tvp.bak.tvp"}, {"", ".tvp"},
    };
    for (const auto& [typed, expected] : cases)
        EXPECT_EQ(expected, ProjectFileName(typed)) << typed;
}

TEST(ProjectFile, SaveFolderAndTheListOfProjectFiles) {
    EXPECT_EQ(std::filesystem::current_path().string() + "/save/", SaveFolder());

    TempDir dir;
    for (const char* name : {"b.tvp", "a.tvp", "c.TVP", "d.tvp.bak", "with space.tvp", "caf\xc3\xa9.tvp"})
        WriteFile(dir / name, "x");
    std::filesystem::create_directory(dir / "folder.tvp");
    std::filesystem::create_symlink(dir / "a.tvp", dir / "link.tvp");
    EXPECT_EQ((std::vector<std::string>{"a.tvp", "b.tvp", "caf\xc3\xa9.tvp", "link.tvp", "with space.tvp"}),
              ListProjectFiles(dir.path()));
    EXPECT_TRUE(ListProjectFiles(dir / "missing").empty());
}

TEST(ProjectFile, FileExistsAndReadErrors) {
    TempDir dir;
    WriteFile(dir / "f", "x");
    EXPECT_TRUE(FileExists(dir / "f"));
    EXPECT_FALSE(FileExists(dir / "missing"));
    EXPECT_FALSE(FileExists(dir.path()));
    WriteFile(dir / "empty.tvp", "");
    const std::pair<std::string, const char*> cases[] = {
        {dir / "missing", "No such file"}, {dir.path(), "Is a directory"}, {dir / "empty.tvp", "empty.tvp"}};
    for (const auto& [path, named] : cases) {
        Project project;
        std::string error;
        EXPECT_FALSE(project.ReadProjectFile(path, &error));
        EXPECT_NE(std::string::npos, error.find(named)) << error;
    }
}

} // namespace
} // namespace tav
