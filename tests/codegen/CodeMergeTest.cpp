#include "codegen/CodeMerge.h"
#include "codegen/GeneratedFile.h"
#include "codegen/LineDiff.h"
#include "codegen/ProjectCodeGenerator.h"
#include "codegen/ScreenClassGenerator.h"
#include "model/ObjectDef.h"
#include "model/ScreenDef.h"
#include "tests/support/TestSupport.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <map>
#include <numeric>
#include <random>
#include <tuple>

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

// Random designs of three screens with objects of every kind, generated as stored.
struct Item {
    std::string screen, name;
    int kind, x, action;
    std::string target;
};
const char* const kScreens[] = {"Main", "Other", "Pop"};

std::map<std::string, std::string> Generate(const std::vector<Item>& items) {
    Project project;
    project.name = "App";
    AddScreen(project, "Main").startup = 1;
    AddScreen(project, "Other");
    AddScreen(project, "Pop", ScreenType::Popup, "Main");
    for (const Item& item : items) {
        ObjectDef& object = AddObject(project, static_cast<ObjectKind>(item.kind), item.screen, item.name);
        std::tie(object.x, object.reservedNumber, object.clickScreen) =
            std::tie(item.x, item.action, item.target);
    }
    std::map<std::string, std::string> files = {{"App.h", WithCrLf(ApplicationHeaderText(project))},
                                                {"App.cpp", WithCrLf(ApplicationSourceText(project, "Main"))},
                                                {"main.cpp", WithCrLf(EntryPointText(project, "Main"))}};
    for (int i = 0; i < 3; ++i) {
        files[project.Screen(i).name + ".h"] = WithCrLf(ScreenHeaderText(project, i));
        files[project.Screen(i).name + ".cpp"] = WithCrLf(ScreenSourceText(project, i));
    }
    return files;
}

// The user's edits, each line tagged "user_N" and naming nothing of the design: code at the start or
// end of function bodies (AfterInitialize's too), includes, functions at the end, class members, and
// (unless `insertOnly`) constructor and destructor comments replaced by code.
std::string Edit(const std::string& base, std::mt19937& rng, int& tag, bool insertOnly, bool header) {
    std::vector<std::string> lines(1, "");
    for (std::string_view line : SplitLines(base))
        lines.emplace_back(line);
    for (int n = static_cast<int>(rng() % 4); n-- > 0;) {
        const std::string t = std::to_string(++tag), eol = rng() % 5 ? "\r\n" : "\n";
        const std::string code = "\tint user_" + t + " = " + t + "; (void)user_" + t + ";" + eol;
        std::size_t at = 1 + rng() % (lines.size() - 1);
        while (at < lines.size() && !lines[at].starts_with(header ? "};" : "}") &&
               !(!header && lines[at - 1][0] == '{'))
            ++at;
        if (rng() % 3 == 0) {
            lines[0] += "#include <vector> // user_" + t + eol;
        } else if (rng() % 2 && lines.back().ends_with("\n")) {
            lines.push_back("static int user_" + t + "() { return " + t + "; }" + eol);
        } else if (!insertOnly && !header && rng() % 2) {
            for (std::string& line : lines)
                if (line.find("constructor") + line.find("destructor") < std::string::npos && rng() % 2)
                    line = code;
        } else if (at < lines.size()) {
            lines.insert(lines.begin() + static_cast<long>(at),
                         header ? "\tint user_" + t + " = 0;" + eol : code);
        }
    }
    return std::accumulate(lines.begin(), lines.end(), std::string());
}

TEST(CodeMergeTest, RegeneratedProjectsKeepEveryUserLine) {
    std::mt19937 rng(20240611);
    int tag = 0, names = 0;
    for (int round = 0; round < 150; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        std::vector<Item> design;
        auto add = [&] {
            design.push_back({kScreens[rng() % 3], "O" + std::to_string(++names), static_cast<int>(rng() % 8),
                              static_cast<int>(rng() % 400), static_cast<int>(rng() % 3),
                              kScreens[rng() % 3]});
        };
        for (int n = 2 + static_cast<int>(rng() % 10); n-- > 0;)
            add();
        const auto base = Generate(design);
        for (int n = 1 + static_cast<int>(rng() % 4); n-- > 0;) {
            Item& item = design[rng() % design.size()];
            const int change = static_cast<int>(rng() % 5);
            item.x += change == 0 ? 10 : 0;
            item.name = change == 1 ? "O" + std::to_string(++names) : item.name;
            item.action = change == 2 ? static_cast<int>(rng() % 3) : item.action;
            if (change == 3)
                add();
            else if (change == 4 && design.size() > 1)
                design.erase(design.begin() + (&item - design.data()));
        }
        const auto theirs = Generate(design);
        TempDir out;
        for (const auto& [name, was] : base) {
            SCOPED_TRACE(name);
            const std::string mine = Edit(was, rng, tag, round % 2 == 0, name.ends_with(".h")),
                              &now = theirs.at(name);
            const MergeResult merged = MergeUserCode(was, mine, now);
            EXPECT_EQ(MergeUserCode(was, mine, was).text, mine);
            EXPECT_EQ(MergeUserCode(was, was, now).text, now);
            EXPECT_EQ(HoldsKeptBlock(merged.text), !merged.unplaced.empty());
            // Every line of the user is kept, as it is or commented out, and every new designed line is in.
            const std::string noRecord = MergeUserCode(std::nullopt, mine, now).text;
            const auto result = SplitLines(merged.text), lost = SplitLines(noRecord);
            std::string designed;
            for (std::string_view line : result)
                if (line.find("user_") == std::string_view::npos)
                    designed += line;
            auto holds = [](const std::vector<std::string_view>& text, std::string_view line) {
                const std::string commented =
                    "// " + std::string(line.substr(0, line.find_first_of("\r\n"))) + "\r\n";
                return std::count(text.begin(), text.end(), line) +
                           std::count(text.begin(), text.end(), commented) >
                       0;
            };
            for (std::string_view line : SplitLines(mine))
                if (line.find("user_") != std::string_view::npos) {
                    EXPECT_TRUE(holds(result, line) && holds(lost, line)) << line;
                }
            for (std::string_view line : SplitLines(now))
                EXPECT_TRUE(was.find(line) != std::string::npos || holds(result, line)) << line;
            // Insertions only: without them (and without a final line end added before them) it is the
            // design.
            auto trimmed = [](const std::string& text) {
                return text.substr(0, text.find_last_not_of("\r\n") + 1);
            };
            EXPECT_TRUE(round % 2 || !merged.unplaced.empty() || trimmed(designed) == trimmed(now));
            WriteFile(out / name, merged.text);
        }
        if (round == 1) { // the merged project still compiles
            EXPECT_EQ(Shell("cd " + out.path() +
                            " && '" TAV_CXX_COMPILER "' -std=c++20 -fsyntax-only -I'" TAV_SOURCE_DIR
                            "/tavctrls/include/tavctrls' *.cpp"),
                      0);
        }
    }
}

} // namespace
} // namespace tav::test
