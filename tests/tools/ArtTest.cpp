#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

namespace tav {
namespace {

using test::ReadFile;
using test::TempDir;

const std::string kArtDir = std::string(TAV_SOURCE_DIR) + "/art";

struct TavartRun {
    int status;
    std::string output;
};

TavartRun RunTavart(const std::string& args) {
    TempDir log;
    const int status = test::Shell(std::string(TAVART_PATH) + " " + args + " > " + (log / "out") + " 2>&1");
    return {status, ReadFile(log / "out")};
}

// Every regular file under `root`, as paths relative to it with "/" between parts.
std::set<std::string> FilesUnder(const std::string& root) {
    std::set<std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root))
        if (entry.is_regular_file())
            files.insert(std::filesystem::relative(entry.path(), root).generic_string());
    return files;
}

TEST(ArtFolder, DrawingItAgainGivesTheCommittedFilesByteForByte) {
    TempDir dir;
    const std::string fresh = dir / "art";
    const TavartRun run = RunTavart(fresh);
    ASSERT_EQ(run.status, 0) << run.output;

    const std::set<std::string> drawn = FilesUnder(fresh);
    EXPECT_EQ(drawn, FilesUnder(kArtDir)) << "what tavart draws is what the art folder holds";
    for (const std::string& name : drawn) {
        EXPECT_TRUE(ReadFile(fresh + "/" + name) == ReadFile(kArtDir + "/" + name))
            << name << " differs from what tavart draws";
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
