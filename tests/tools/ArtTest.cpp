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
    ASSERT_EQ(test::Shell(std::string(TAVART_PATH) + " " + fresh + " > " + (dir / "log") + " 2>&1"), 0)
        << ReadFile(dir / "log");

    const std::set<std::string> drawn = FilesUnder(fresh);
    EXPECT_EQ(drawn, FilesUnder(kArtDir)) << "what tavart draws is what the art folder holds";
    for (const std::string& name : drawn)
        EXPECT_TRUE(ReadFile(fresh + "/" + name) == ReadFile(kArtDir + "/" + name))
            << name << " differs from what tavart draws";
}

} // namespace
} // namespace tav
