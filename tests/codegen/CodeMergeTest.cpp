#include "codegen/CodeMerge.h"
#include "codegen/LineDiff.h"
#include "codegen/ProjectCodeGenerator.h"
#include "codegen/ScreenClassGenerator.h"
#include "model/ObjectDef.h"
#include "model/ScreenDef.h"
#include "tests/support/TestSupport.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <map>
#include <random>

namespace tav::test {
namespace {

const std::string kStart =
    "// >>>>>> tavgen: your lines below no longer fit the design; they are kept here, commented out";
const std::string kEnd = "// <<<<<< end of kept lines";

// "a|b|" is "a\r\nb\r\n"; "<" and ">" stand for the markers of a kept block.
std::string Text(const std::string& bars) {
    std::string text;
    for (std::size_t start = 0, end; (end = bars.find('|', start)) != std::string::npos; start = end + 1) {
        const std::string line = bars.substr(start, end - start);
        text += (line == "<" ? kStart : line == ">" ? kEnd : line) + "\r\n";
    }
    return text;
}

TEST(LineDiffTest, UnifiedDiffShowsLinesAsStored) {
    EXPECT_EQ(UnifiedDiff("a\r\nb\n", "a\r\nb\n", "x", "y"), "");
    EXPECT_EQ(UnifiedDiff("", "a\r\n", "old", "new"), "--- old\n+++ new\n@@ -0,0 +1 @@\n+a\r\n");
    const std::string before = "1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11\n12\n13\n14";
    const std::string after = "1\n2\n3\r\n4\n5\n6\n7\n8\n9\n10\n11\n12\n13\n14\n15\n";
    EXPECT_EQ(UnifiedDiff(before, after, "a/Main.cpp", "b/Main.cpp"),
              "--- a/Main.cpp\n+++ b/Main.cpp\n"
              "@@ -1,6 +1,6 @@\n 1\n 2\n-3\n+3\r\n 4\n 5\n 6\n"
              "@@ -11,4 +11,5 @@\n 11\n 12\n 13\n-14\n\\ No newline at end of file\n+14\n+15\n");
    // Changes six lines apart share a hunk.
    EXPECT_EQ(UnifiedDiff("x\n1\n2\n3\n4\n5\n6\nx\n", "y\n1\n2\n3\n4\n5\n6\ny\n", "a", "b"),
              "--- a\n+++ b\n@@ -1,8 +1,8 @@\n-x\n+y\n 1\n 2\n 3\n 4\n 5\n 6\n-x\n+y\n");
}

TEST(LineDiffTest, MatchesKeepRemovedBlocksWhole) {
    // The removed branch takes its own closing brace, not the one of the branch above.
    const auto a = SplitLines("if\n{\nA\n}\nelse\n{\nB\n}\nend"), b = SplitLines("if\n{\nA\n}\nend");
    EXPECT_EQ(MatchLines(a, b),
              (std::vector<std::pair<std::size_t, std::size_t>>{{0, 0}, {1, 1}, {2, 2}, {3, 3}, {8, 4}}));
}

TEST(CodeMergeTest, MergesByTheRules) {
    struct Case {
        const char* rule;
        std::optional<std::string> base;
        std::string mine, theirs, expected;
    };
    const Case cases[] = {
        {"design only", "a|b|c|", "a|b|c|", "a|X|c|", "a|X|c|"},
        {"user only", "a|b|c|", "a|U|c|", "a|b|c|", "a|U|c|"},
        {"same change", "a|b|c|", "a|X|c|", "a|X|c|", "a|X|c|"},
        {"neighbouring lines", "a|b|c|d|", "a|U|c|d|", "a|b|X|d|", "a|U|X|d|"},
        {"user deletes, design keeps", "a|b|c|", "a|c|", "a|b|c|", "a|c|"},
        {"user deletes, design changes", "a|b|c|", "a|c|", "a|X|c|", "a|X|c|"},
        {"both insert", "f|{|}|", "f|{|u|}|", "f|{|x|y|}|", "f|{|x|y|u|}|"},
        {"insert beside a change", "a|b|c|", "a|u|b|c|", "a|X|c|", "a|u|X|c|"},
        {"both change", "a|b|c|", "a|U|c|", "a|X|c|", "a|X|<|// U|>|c|"},
        {"inside a removed block", "a|b|c|d|", "a|b|u|c|d|", "a|d|", "a|<|// b|// u|// c|>|d|"},
        {"changed and grown", "a|b|c|d|", "a|U|c|d|", "a|X|Y|d|", "a|X|Y|<|// U|// c|>|d|"},
        {"no record: insertion", std::nullopt, "a|u|b|", "a|b|", "a|u|b|"},
        {"no record: deletion", std::nullopt, "a|", "a|b|", "a|b|"},
        {"no record: comments", std::nullopt, "f|{|code|}|", "f|{|// stub||}|", "f|{|code|}|"},
        {"no record: designed", std::nullopt, "a|U|c|", "a|b|c|", "a|b|<|// U|>|c|"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rule);
        std::optional<std::string> base;
        if (c.base)
            base = Text(*c.base);
        const MergeResult result = MergeUserCode(base, Text(c.mine), Text(c.theirs));
        EXPECT_EQ(result.text, Text(c.expected));
        EXPECT_EQ(result.unplaced.size(), c.expected.find('<') == std::string::npos ? 0u : 1u);
        EXPECT_EQ(HoldsKeptBlock(result.text), !result.unplaced.empty());
    }
}

TEST(CodeMergeTest, KeptBlocksSayWhereTheyAreAndKeepLineEnds) {
    const MergeResult result =
        MergeUserCode(Text("#x|void S::F(int a)|{|b|}|"), "#x\r\nvoid S::F(int a)\r\n{\r\nU\n}\r\nu",
                      Text("#x|void S::F(int a)|{|X|}|"));
    EXPECT_EQ(result.text, Text("#x|void S::F(int a)|{|X|<|") + "// U\r\n" + kEnd + "\r\n}\r\nu");
    EXPECT_EQ(result.unplaced,
              std::vector<std::string>{
                  "line 5 (S::F): 1 of your lines no longer fits the design; kept, commented out"});
    const MergeResult lost = MergeUserCode(std::nullopt, Text("}|U|V|"), Text("}|b|"));
    EXPECT_EQ(lost.unplaced,
              std::vector<std::string>{"line 3: 2 of your lines replaced designed lines and no record "
                                       "of the last generation is left; kept, commented out"});
    EXPECT_FALSE(HoldsKeptBlock("x " + kStart));
}

} // namespace
} // namespace tav::test
