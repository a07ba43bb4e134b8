#include "tavctrls/platform/BitmapFile.h"
#include "tavctrls/platform/PixelBuffer.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
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

TEST(ArtFolder, HoldsEveryBitmapTheLibraryAndTheDesignerLoadWithExactCaseAndAllLoad) {
    // A set lookup compares case exactly, whatever the file system does.
    const std::set<std::string> committed = FilesUnder(kArtDir);
    for (const char* name : kRequiredNames)
        EXPECT_TRUE(committed.count(name)) << name;
    std::uintmax_t total = 0;
    for (const std::string& name : committed) {
        EXPECT_FALSE(Load(name).Empty()) << name;
        total += std::filesystem::file_size(kArtDir + "/" + name);
    }
    EXPECT_LT(total, 4u * 1024 * 1024);
}

TEST(ArtPictures, TreeTogglesStayVisibleWhereTheTreeDrawsThem) {
    // At 10 x 10 on their white key the middle must not vanish into the key.
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
