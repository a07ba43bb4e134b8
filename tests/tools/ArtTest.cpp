#include "tavctrls/platform/BitmapFile.h"
#include "tavctrls/platform/PixelBuffer.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace tav {
namespace {

using platform::PixelBuffer;
using test::ReadFile;
using test::TempDir;

const std::string kArtDir = std::string(TAV_SOURCE_DIR) + "/art";

constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kMagenta = 0xFF00FF;

// What the library and the designer load from the art folder, by the names they use.
// (The pictures of the table in ArtPictures are loaded by their names there.)
const char* const kRequiredNames[] = {"listback.bmp", "treeback.bmp", "mboxback.bmp", "popmenuback.bmp",
                                      "scrollbar.bmp", "mainback.bmp", "viewback.bmp", "dback.bmp"};

struct TavartRun {
    int status;
    std::string output;
};

TavartRun RunTavart(const std::string& args) {
    const std::string command = std::string(TAVART_PATH) + " " + args + " 2>&1";
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr)
        return {-1, "cannot start tavart"};
    std::string output;
    std::array<char, 256> chunk{};
    while (std::fgets(chunk.data(), chunk.size(), pipe) != nullptr)
        output += chunk.data();
    const int status = ::pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

// Every regular file under `root`, as paths relative to it with "/" between parts.
std::set<std::string> FilesUnder(const std::string& root) {
    std::set<std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root))
        if (entry.is_regular_file())
            files.insert(std::filesystem::relative(entry.path(), root).generic_string());
    return files;
}

// The bitmaps the example projects name ("art/..." lines), relative to the art folder.
std::set<std::string> ExampleBitmaps() {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(TAV_EXAMPLES_DIR)) {
        if (entry.path().extension() != ".tvp")
            continue;
        std::ifstream in(entry.path());
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            if (line.rfind("art/", 0) == 0)
                names.insert(line.substr(4));
        }
    }
    return names;
}

PixelBuffer Load(const std::string& name) {
    PixelBuffer pixels;
    std::string error;
    EXPECT_TRUE(platform::LoadBitmapFile(kArtDir + "/" + name, pixels, &error)) << name << ": " << error;
    return pixels;
}

std::uint32_t Colour(const PixelBuffer& pixels, int x, int y) {
    return pixels.At(x, y) & 0xFFFFFF;
}

bool SamePixels(const PixelBuffer& a, const PixelBuffer& b) {
    if (a.width() != b.width() || a.height() != b.height())
        return false;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (Colour(a, x, y) != Colour(b, x, y))
                return false;
    return true;
}

bool HasColourOtherThan(const PixelBuffer& pixels, std::uint32_t colour) {
    for (int y = 0; y < pixels.height(); ++y)
        for (int x = 0; x < pixels.width(); ++x)
            if (Colour(pixels, x, y) != colour)
                return true;
    return false;
}

PixelBuffer Stretched(const PixelBuffer& source, int width, int height) {
    PixelBuffer out;
    EXPECT_TRUE(out.Allocate(width, height));
    EXPECT_TRUE(platform::StretchRect(out, out.Bounds(), source, source.Bounds()));
    return out;
}

// The colours met going down the middle column: the first and last ones that are not black, and
// whether black shows anywhere between them (which alpha drawing would punch through).
struct ColumnScan {
    std::uint32_t first = kBlack;
    std::uint32_t last = kBlack;
    bool hole = false;
};

ColumnScan ScanMiddleColumn(const PixelBuffer& pixels) {
    ColumnScan scan;
    const int x = pixels.width() / 2;
    int top = -1;
    int bottom = -1;
    for (int y = 0; y < pixels.height(); ++y)
        if (Colour(pixels, x, y) != kBlack) {
            top = top < 0 ? y : top;
            bottom = y;
        }
    if (top < 0)
        return scan;
    scan.first = Colour(pixels, x, top);
    scan.last = Colour(pixels, x, bottom);
    for (int y = top; y <= bottom; ++y)
        scan.hole = scan.hole || Colour(pixels, x, y) == kBlack;
    return scan;
}

TEST(ArtFolder, DrawingItAgainGivesTheCommittedFilesByteForByte) {
    TempDir dir;
    const std::string fresh = dir / "art";
    const TavartRun run = RunTavart(fresh);
    ASSERT_EQ(run.status, 0) << run.output;

    const std::set<std::string> drawn = FilesUnder(fresh);
    EXPECT_EQ(drawn, FilesUnder(kArtDir)) << "what tavart draws is what the art folder holds";
    for (const std::string& name : drawn)
        EXPECT_TRUE(ReadFile(fresh + "/" + name) == ReadFile(kArtDir + "/" + name))
            << name << " differs from what tavart draws";
}

TEST(ArtFolder, HoldsEveryBitmapTheLibraryTheDesignerAndTheExamplesLoadWithExactCase) {
    // A set lookup compares case exactly, whatever the file system does.
    const std::set<std::string> committed = FilesUnder(kArtDir);
    for (const char* name : kRequiredNames)
        EXPECT_TRUE(committed.count(name)) << name;
    const std::set<std::string> examples = ExampleBitmaps();
    ASSERT_FALSE(examples.empty());
    for (const std::string& name : examples)
        EXPECT_TRUE(committed.count(name)) << name << " (used by an example project)";
    std::uintmax_t total = 0;
    for (const std::string& name : committed) {
        EXPECT_FALSE(Load(name).Empty()) << name;
        total += std::filesystem::file_size(kArtDir + "/" + name);
    }
    EXPECT_LT(total, 4u * 1024 * 1024);
}

// Pictures shown in turn (states, frames, directions) share one size and each looks different; a
// picture drawn on a colour key has it in its corners. `size`: 0 any square, -1 any size.
TEST(ArtPictures, GroupsShareASizeAndDifferAndKeyedPicturesHaveKeyedCorners) {
    const struct {
        std::vector<std::string> names;
        int size;
        std::int64_t key; // -1: none
    } groups[] = {
        {{"buttonnormal", "buttonover", "buttondown"}, -1, -1},
        {{"scrollup", "scrolldown", "scrollleft", "scrollright"}, 0, -1},
        {{"scrollbulb"}, 0, -1},
        {{"drag/dragobj", "drag/dragbutton", "drag/dragstat", "drag/dragCheck", "drag/dragedit",
          "drag/draglist", "drag/dragtree", "drag/draganim"},
         40,
         -1},
        {{"extra/left1", "extra/left2"}, 20, kBlack},
        {{"extra/right1", "extra/right2"}, 20, kBlack},
        {{"extra/up1", "extra/up2"}, 20, kBlack},
        {{"extra/down1", "extra/down2"}, 20, kBlack},
        {{"plus", "minus"}, -1, kWhite},
        {{"checkyes", "checkno"}, -1, kBlack},
        {{"spin1", "spin2", "spin3"}, -1, kMagenta},
        {{"logo"}, -1, kMagenta},
        {{"ledon", "ledoff"}, -1, -1},
    };
    for (const auto& group : groups) {
        std::vector<PixelBuffer> pictures;
        for (const std::string& name : group.names)
            pictures.push_back(Load(name + ".bmp"));
        for (std::size_t i = 0; i < pictures.size(); ++i) {
            SCOPED_TRACE(group.names[i]);
            const PixelBuffer& p = pictures[i];
            EXPECT_TRUE(group.size < 0 || p.width() == p.height()) << "not square";
            EXPECT_TRUE(group.size <= 0 || p.width() == group.size) << p.width();
            for (std::size_t j = i + 1; j < pictures.size(); ++j)
                EXPECT_FALSE(SamePixels(p, pictures[j])) << "and " << group.names[j];
            if (group.key < 0)
                continue;
            const auto key = static_cast<std::uint32_t>(group.key);
            for (const auto& [x, y] : {std::pair{0, 0}, {p.width() - 1, 0}, {0, p.height() - 1},
                                       {p.width() - 1, p.height() - 1}})
                EXPECT_EQ(Colour(p, x, y), key) << x << ", " << y;
            EXPECT_TRUE(HasColourOtherThan(p, key));
        }
        if (group.names.size() > 1 && group.size != 0) {
            EXPECT_EQ(pictures[0].width(), pictures[1].width()) << group.names[0];
            EXPECT_EQ(pictures[0].height(), pictures[1].height()) << group.names[0];
        }
    }
    // Where the tree draws a toggle, 10 x 10, its middle must not vanish into the key.
    for (const char* toggle : {"plus.bmp", "minus.bmp"}) {
        const PixelBuffer shown = Stretched(Load(toggle), 10, 10);
        EXPECT_NE(Colour(shown, 5, 5), kWhite) << toggle;
        EXPECT_NE(Colour(shown, 1, 5), kWhite) << toggle;
    }
}

TEST(ArtPictures, CheckBoxesKeepTheirOutlineAndStaySolidAtEveryHeightTheyAreShownAt) {
    const PixelBuffer yes = Load("checkyes.bmp");
    const PixelBuffer no = Load("checkno.bmp");
    const ColumnScan yesScan = ScanMiddleColumn(yes);
    const ColumnScan noScan = ScanMiddleColumn(no);
    // Box size 20 by the check box's height: 16, 17 and 18 in the dialogs and examples.
    for (const int height : {16, 17, 18, 20}) {
        const PixelBuffer shownYes = Stretched(yes, 20, height);
        const PixelBuffer shownNo = Stretched(no, 20, height);
        for (const auto& [shown, full] : {std::pair{&shownYes, &yesScan}, std::pair{&shownNo, &noScan}}) {
            const ColumnScan scan = ScanMiddleColumn(*shown);
            EXPECT_EQ(scan.first, full->first) << "top outline lost at height " << height;
            EXPECT_EQ(scan.last, full->last) << "bottom outline lost at height " << height;
            EXPECT_FALSE(scan.hole) << "black inside the box at height " << height;
        }
        EXPECT_FALSE(SamePixels(shownYes, shownNo)) << height;
    }
}

TEST(Tavart, RefusesAMissingFolderArgumentAndReportsAnUnwritableFolder) {
    const TavartRun usage = RunTavart("");
    EXPECT_EQ(usage.status, 2);
    EXPECT_NE(usage.output.find("usage: tavart OUTDIR"), std::string::npos) << usage.output;

    // A folder below a regular file cannot be made, not even by root.
    TempDir dir;
    test::WriteFile(dir / "blocker", "not a folder");
    const TavartRun run = RunTavart(dir / "blocker/art");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.output.rfind("tavart: ", 0), 0u) << run.output;
    EXPECT_NE(run.output.find(dir / "blocker"), std::string::npos) << run.output;
}

} // namespace
} // namespace tav
