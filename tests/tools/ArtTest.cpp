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
const char* const kRequiredNames[] = {
    "buttonnormal.bmp",  "buttonover.bmp",      "buttondown.bmp",    "checkyes.bmp",
    "checkno.bmp",       "listback.bmp",        "treeback.bmp",      "plus.bmp",
    "minus.bmp",         "mboxback.bmp",        "popmenuback.bmp",   "scrollbar.bmp",
    "scrollbulb.bmp",    "scrollup.bmp",        "scrolldown.bmp",    "scrollleft.bmp",
    "scrollright.bmp",   "mainback.bmp",        "viewback.bmp",      "dback.bmp",
    "drag/dragobj.bmp",  "drag/dragbutton.bmp", "drag/dragstat.bmp", "drag/dragCheck.bmp",
    "drag/dragedit.bmp", "drag/draglist.bmp",   "drag/dragtree.bmp", "drag/draganim.bmp",
    "extra/left1.bmp",   "extra/left2.bmp",     "extra/right1.bmp",  "extra/right2.bmp",
    "extra/up1.bmp",     "extra/up2.bmp",       "extra/down1.bmp",   "extra/down2.bmp",
};

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

void ExpectCornersAre(const PixelBuffer& pixels, std::uint32_t key, const std::string& name) {
    const int right = pixels.width() - 1;
    const int bottom = pixels.height() - 1;
    EXPECT_EQ(Colour(pixels, 0, 0), key) << name;
    EXPECT_EQ(Colour(pixels, right, 0), key) << name;
    EXPECT_EQ(Colour(pixels, 0, bottom), key) << name;
    EXPECT_EQ(Colour(pixels, right, bottom), key) << name;
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
    const std::set<std::string> committed = FilesUnder(kArtDir);
    for (const std::string& name : drawn)
        EXPECT_TRUE(committed.count(name)) << name << " is drawn but not in the art folder";
    for (const std::string& name : committed)
        EXPECT_TRUE(drawn.count(name)) << name << " is in the art folder but no longer drawn";
    for (const std::string& name : drawn) {
        if (!committed.count(name))
            continue;
        EXPECT_TRUE(ReadFile(fresh + "/" + name) == ReadFile(kArtDir + "/" + name))
            << name << " differs from what tavart draws";
    }
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
}

TEST(ArtFolder, EveryFileLoadsAndTheWholeFolderStaysSmall) {
    std::uintmax_t total = 0;
    for (const std::string& name : FilesUnder(kArtDir)) {
        EXPECT_FALSE(Load(name).Empty()) << name;
        total += std::filesystem::file_size(kArtDir + "/" + name);
    }
    EXPECT_LT(total, 4u * 1024 * 1024);
}

TEST(ArtPictures, ButtonStatesShareOneSizeAndLookDifferent) {
    const PixelBuffer normal = Load("buttonnormal.bmp");
    const PixelBuffer over = Load("buttonover.bmp");
    const PixelBuffer down = Load("buttondown.bmp");
    EXPECT_EQ(normal.width(), over.width());
    EXPECT_EQ(normal.width(), down.width());
    EXPECT_EQ(normal.height(), over.height());
    EXPECT_EQ(normal.height(), down.height());
    EXPECT_FALSE(SamePixels(normal, over));
    EXPECT_FALSE(SamePixels(normal, down));
    EXPECT_FALSE(SamePixels(over, down));
}

TEST(ArtPictures, ScrollArrowsAreSquaresOfOneSizeAndEachPointsItsOwnWay) {
    const std::vector<std::string> names = {"scrollup.bmp", "scrolldown.bmp", "scrollleft.bmp",
                                            "scrollright.bmp"};
    std::vector<PixelBuffer> arrows;
    for (const std::string& name : names)
        arrows.push_back(Load(name));
    for (std::size_t i = 0; i < arrows.size(); ++i) {
        EXPECT_EQ(arrows[i].width(), arrows[i].height()) << names[i];
        EXPECT_EQ(arrows[i].width(), arrows[0].width()) << names[i];
        for (std::size_t j = i + 1; j < arrows.size(); ++j)
            EXPECT_FALSE(SamePixels(arrows[i], arrows[j])) << names[i] << " and " << names[j];
    }
    const PixelBuffer bulb = Load("scrollbulb.bmp");
    EXPECT_EQ(bulb.width(), bulb.height());
}

TEST(ArtPictures, PaletteIconsAreFortyPixelTilesAllDifferent) {
    const std::vector<std::string> names = {"dragobj",  "dragbutton", "dragstat", "dragCheck",
                                            "dragedit", "draglist",   "dragtree", "draganim"};
    std::vector<PixelBuffer> icons;
    for (const std::string& name : names) {
        icons.push_back(Load("drag/" + name + ".bmp"));
        EXPECT_EQ(icons.back().width(), 40) << name;
        EXPECT_EQ(icons.back().height(), 40) << name;
    }
    for (std::size_t i = 0; i < icons.size(); ++i)
        for (std::size_t j = i + 1; j < icons.size(); ++j)
            EXPECT_FALSE(SamePixels(icons[i], icons[j])) << names[i] << " and " << names[j];
}

TEST(ArtPictures, SelectionArrowsAreTwentyPixelFramesOnTheirBlackKeyThatMove) {
    for (const std::string side : {"left", "right", "up", "down"}) {
        const PixelBuffer first = Load("extra/" + side + "1.bmp");
        const PixelBuffer second = Load("extra/" + side + "2.bmp");
        for (const PixelBuffer* frame : {&first, &second}) {
            EXPECT_EQ(frame->width(), 20) << side;
            EXPECT_EQ(frame->height(), 20) << side;
            ExpectCornersAre(*frame, kBlack, side);
            EXPECT_TRUE(HasColourOtherThan(*frame, kBlack)) << side;
        }
        EXPECT_FALSE(SamePixels(first, second)) << side << ": the animation would stand still";
    }
}

TEST(ArtPictures, TreeTogglesAreOpaqueBoxesOnTheirWhiteKey) {
    const PixelBuffer plus = Load("plus.bmp");
    const PixelBuffer minus = Load("minus.bmp");
    EXPECT_FALSE(SamePixels(plus, minus));
    for (const PixelBuffer* toggle : {&plus, &minus}) {
        ExpectCornersAre(*toggle, kWhite, "toggle");
        // Where the tree draws it, 10 x 10, the middle must not vanish into the key.
        const PixelBuffer shown = Stretched(*toggle, 10, 10);
        EXPECT_NE(Colour(shown, 5, 5), kWhite);
        EXPECT_NE(Colour(shown, 1, 5), kWhite);
    }
}

TEST(ArtPictures, CheckBoxesKeepTheirOutlineAndStaySolidAtEveryHeightTheyAreShownAt) {
    const PixelBuffer yes = Load("checkyes.bmp");
    const PixelBuffer no = Load("checkno.bmp");
    ExpectCornersAre(yes, kBlack, "checkyes.bmp");
    ExpectCornersAre(no, kBlack, "checkno.bmp");
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

TEST(ArtPictures, MagentaKeyedExamplePicturesHaveKeyedCornersAndSpinnerFramesDiffer) {
    for (const std::string name : {"logo.bmp", "spin1.bmp", "spin2.bmp", "spin3.bmp"}) {
        const PixelBuffer pixels = Load(name);
        ExpectCornersAre(pixels, kMagenta, name);
        EXPECT_TRUE(HasColourOtherThan(pixels, kMagenta)) << name;
    }
    EXPECT_FALSE(SamePixels(Load("spin1.bmp"), Load("spin2.bmp")));
    EXPECT_FALSE(SamePixels(Load("spin2.bmp"), Load("spin3.bmp")));
    EXPECT_FALSE(SamePixels(Load("ledon.bmp"), Load("ledoff.bmp")));
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
