#include "tavctrls/platform/InputScript.h"
#include "tavctrls/platform/KeyMap.h"
#include "tests/tavctrls/DisplayTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tav::platform {
namespace {

std::string Parse(const std::string& script) {
    std::vector<InputStep> steps;
    std::string error;
    EXPECT_TRUE(ParseInputScript(script, "s.txt", steps, &error)) << error;
    return Describe(steps);
}

TEST(InputScript, EveryCommandBecomesTheMessagesOfThatAction) {
    const std::string script =
        "\xEF\xBB\xBF# a comment after a byte order mark\n\nmove -3 4\r\n  down\t10 20  \n"
        "move 11 21\nup 12 22\n   # indented comment\nclick 0 0\ndblclick 5 6\n"
        "rdown 1 1\nrup 2 2\nrclick -32768 32767\nkey a\nkey TAB\nkey 65\nchar 255\n"
        "wait 4\nwait 0\nactivate 0\nactivate 1\n"
        "text \"a \\\"q\\\" \\\\ \xC3\xA9 #x\"  \ntext \"\"\n"
        "close"; // no newline at the end
    EXPECT_EQ(Parse(script),
              "move 0 -3,4; ldown 1 10,20; move 1 11,21; lup 0 12,22; ldown 1 0,0; lup 0 0,0; "
              "ldown 1 5,6; lup 0 5,6; ldbl 1 5,6; lup 0 5,6; rdown 2 1,1; rup 0 2,2; "
              "rdown 2 -32768,32767; rup 0 -32768,32767; key 65; key 9; char 9; key 65; char 255; "
              "wait 4; activate 0; activate 1; char 97; char 32; char 34; char 113; char 34; char 32; "
              "char 92; char 32; char 195; char 169; char 32; char 35; char 120; close 0");
}

TEST(InputScript, ErrorsNameFileAndLineAndKeepNothing) {
    const std::string coordinate = "' is not a coordinate (a whole number from -32768 to 32767)";
    const struct {
        const char* script;
        std::string error;
    } cases[] = {
        {"jump 1 2", "s.txt:1: unknown command 'jump'"},
        {"\nmove 1", "s.txt:2: usage: move X Y"},
        {"click 1 2 3", "s.txt:1: usage: click X Y"},
        {"move 1 32768", "s.txt:1: '32768" + coordinate},
        {"move -32769 0", "s.txt:1: '-32769" + coordinate},
        {"move 1.5 2", "s.txt:1: '1.5" + coordinate},
        {"move +1 2", "s.txt:1: '+1" + coordinate},
        {"key\n", "s.txt:1: usage: key NAME or key NUMBER"},
        {"key F13", "s.txt:1: unknown key 'F13'"},
        {"key 256", "s.txt:1: unknown key '256'"},
        {"key 00", "s.txt:1: unknown key '00'"},
        {"char 256", "s.txt:1: usage: char N (a byte value from 0 to 255)"},
        {"char -1", "s.txt:1: usage: char N (a byte value from 0 to 255)"},
        {"wait -1", "s.txt:1: usage: wait N (a number of frames)"},
        {"wait", "s.txt:1: usage: wait N (a number of frames)"},
        {"activate 2", "s.txt:1: usage: activate 0 or activate 1"},
        {"close now", "s.txt:1: usage: close"},
        {"MOVE 1 2", "s.txt:1: unknown command 'MOVE'"},
        {"text abc", "s.txt:1: usage: text \"...\""},
        {"text \"abc", "s.txt:1: the text has no closing quote"},
        {"text \"abc\\\"", "s.txt:1: the text has no closing quote"},
        {"text \"a\\nb\"", "s.txt:1: unknown escape '\\n' (only \\\" and \\\\ are allowed)"},
        {"text \"a\" b", "s.txt:1: unexpected 'b' after the text"},
        {"move 1 2\r\nclose\r\n\r\nmove x 1\r\n", "s.txt:4: 'x" + coordinate},
    };
    for (const auto& c : cases) {
        std::vector<InputStep> steps(1);
        std::string error;
        EXPECT_FALSE(ParseInputScript(c.script, "s.txt", steps, &error)) << c.script;
        EXPECT_EQ(error, c.error) << c.script;
        EXPECT_EQ(steps.size(), 1u) << c.script;
    }
}

TEST(InputScript, KeyNamesInAnyCaseWithOrWithoutThePrefix) {
    std::string keys;
    for (const char* name : {"return", "VK_Escape", "BACK",    "prior",   "NEXT",    "z",  "7",   "space",
                             "F1",     "f12",       "NUMPAD0", "numpad9", "",        "F0", "F13", "F01",
                             "NUMPAD", "NUMPAD10",  "VK_",     "AA",      "RETURNS", "#"})
        keys += std::to_string(VirtualKeyFromName(name)) + " ";
    EXPECT_EQ(keys, "13 27 8 33 34 90 55 32 112 123 96 105 0 0 0 0 0 0 0 0 0 0 ");
}

} // namespace
} // namespace tav::platform
