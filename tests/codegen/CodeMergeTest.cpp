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

// Designs of three screens with objects of every kind, changed at random between two generations.
struct Item {
    std::string screen, name;
    ObjectKind kind;
    int x, y, action;
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
        ObjectDef& object = AddObject(project, item.kind, item.screen, item.name);
        object.x = item.x;
        object.y = item.y;
        object.reservedNumber = item.action;
        object.clickScreen = item.target;
    }
    std::map<std::string, std::string> files = {{"App.h", ApplicationHeaderText(project)},
                                                {"App.cpp", ApplicationSourceText(project, "Main")},
                                                {"main.cpp", EntryPointText(project, "Main")}};
    for (int i = 0; i < 3; ++i) {
        files[project.Screen(i).name + ".h"] = ScreenHeaderText(project, i);
        files[project.Screen(i).name + ".cpp"] = ScreenSourceText(project, i);
    }
    for (auto& [name, text] : files)
        text = WithCrLf(text);
    return files;
}

// The user's edits: lines that name nothing of the design, each tagged "user_N".
std::string Edit(const std::string& base, std::mt19937& rng, int& tag, bool insertOnly, bool header) {
    std::vector<std::string> lines;
    for (std::string_view line : SplitLines(base))
        lines.emplace_back(line);
    for (int n = static_cast<int>(rng() % 4); n-- > 0;) {
        const std::string t = std::to_string(++tag), eol = rng() % 5 ? "\r\n" : "\n";
        const std::size_t at = rng() % lines.size();
        const std::string code = "\tint user_" + t + " = " + t + "; (void)user_" + t + ";" + eol;
        switch (rng() % 5) {
        case 0: // into a function body, at its start or its end
            for (std::size_t i = at; i < lines.size() && !header; ++i)
                if (lines[i].starts_with("{") || lines[i].starts_with("}")) {
                    lines.insert(lines.begin() + static_cast<long>(i + (lines[i][0] == '{')), code);
                    break;
                }
            break;
        case 1:
            lines.insert(lines.begin(), "#include <vector> // user_" + t + eol);
            break;
        case 2:
            if (!lines.back().ends_with("\n"))
                lines.back() += eol;
            lines.push_back("static int user_" + t + "() { return " + t + "; }" + eol);
            break;
        case 3: // a member of the class, or a line at the end of AfterInitialize
            for (std::size_t i = lines.size(); header && i-- > 0;)
                if (lines[i].starts_with("};")) {
                    lines.insert(lines.begin() + static_cast<long>(i), "\tint user_" + t + " = 0;" + eol);
                    break;
                }
            for (std::size_t i = 1; !header && i < lines.size(); ++i)
                if (lines[i - 1].find("::AfterInitialize") != std::string::npos) {
                    while (!lines[i].starts_with("}"))
                        ++i;
                    lines.insert(lines.begin() + static_cast<long>(i), code);
                    break;
                }
            break;
        default: // the constructor's or destructor's comment replaced by code
            for (std::string& line : lines)
                if (!insertOnly &&
                    (line.find(" constructor") != std::string::npos ||
                     line.find(" destructor") != std::string::npos) &&
                    rng() % 2) {
                    line = code;
                    break;
                }
        }
    }
    std::string text;
    for (const std::string& line : lines)
        text += line;
    return text;
}

// Every line of `lines` is in `text`, as it is or commented out in a kept block.
void ExpectKept(const std::vector<std::string_view>& lines, const std::string& text) {
    const auto result = SplitLines(text);
    for (std::string_view line : lines) {
        const std::string commented = "// " + std::string(line.substr(0, line.find_first_of("\r\n")));
        EXPECT_TRUE(std::any_of(result.begin(), result.end(),
                                [&](std::string_view r) {
                                    return r == line || r.substr(0, r.find_first_of("\r\n")) == commented;
                                }))
            << "lost: " << line;
    }
}

TEST(CodeMergeTest, RegeneratedProjectsKeepEveryUserLine) {
    std::mt19937 rng(20240611);
    int tag = 0;
    for (int round = 0; round < 150; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        std::vector<Item> design;
        int names = 0;
        auto add = [&] {
            design.push_back({kScreens[rng() % 3], "O" + std::to_string(++names),
                              static_cast<ObjectKind>(rng() % 8), static_cast<int>(rng() % 400),
                              static_cast<int>(rng() % 300), static_cast<int>(rng() % 3),
                              kScreens[rng() % 3]});
        };
        for (int n = 2 + static_cast<int>(rng() % 10); n-- > 0;)
            add();
        const auto base = Generate(design);
        for (int n = 1 + static_cast<int>(rng() % 4); n-- > 0;) {
            Item& item = design[rng() % design.size()];
            switch (rng() % 5) {
            case 0:
                item.x += 10;
                break;
            case 1:
                item.name = "O" + std::to_string(++names);
                break;
            case 2:
                add();
                break;
            case 3:
                design.erase(design.begin() + static_cast<long>(&item - design.data()));
                break;
            default:
                item.action = static_cast<int>(rng() % 3);
                item.target = kScreens[rng() % 3];
            }
        }
        const auto theirs = Generate(design);
        const bool insertOnly = round % 2 == 0;
        TempDir out;
        for (const auto& [name, baseText] : base) {
            SCOPED_TRACE(name);
            const std::string mine = Edit(baseText, rng, tag, insertOnly, name.ends_with(".h"));
            const std::string& their = theirs.at(name);
            const MergeResult merged = MergeUserCode(baseText, mine, their);
            EXPECT_EQ(MergeUserCode(baseText, mine, baseText).text, mine);
            EXPECT_EQ(MergeUserCode(baseText, baseText, their).text, their);
            EXPECT_EQ(HoldsKeptBlock(merged.text), !merged.unplaced.empty());
            std::vector<std::string_view> userLines, designLines;
            for (std::string_view line : SplitLines(mine))
                if (line.find("user_") != std::string_view::npos)
                    userLines.push_back(line);
            for (std::string_view line : SplitLines(their))
                if (baseText.find(line) == std::string::npos)
                    designLines.push_back(line);
            ExpectKept(userLines, merged.text);
            ExpectKept(designLines, merged.text);
            ExpectKept(userLines, MergeUserCode(std::nullopt, mine, their).text);
            if (insertOnly) {
                std::string designed;
                bool kept = false;
                for (std::string_view line : SplitLines(merged.text)) {
                    kept = kept || line.starts_with(kStart);
                    if (!kept && line.find("user_") == std::string_view::npos)
                        designed += line;
                    kept = kept && !line.starts_with(kEnd);
                }
                // The user's last line may have gained a line end.
                auto trimmed = [](const std::string& text) {
                    return text.substr(0, text.find_last_not_of("\r\n") + 1);
                };
                EXPECT_EQ(trimmed(designed), trimmed(their));
            }
            WriteFile(out / name, merged.text);
        }
        // The merged project still compiles.
        if (round == 1)
            EXPECT_EQ(Shell("cd " + out.path() +
                            " && '" TAV_CXX_COMPILER "' -std=c++20 -fsyntax-only -I'" TAV_SOURCE_DIR
                            "/tavctrls/include/tavctrls' *.cpp"),
                      0);
    }
}

} // namespace
} // namespace tav::test
