#include "tavctrls/platform/InputScript.h"
#include "tavctrls/platform/KeyMap.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tav::platform {
namespace {

// A step written the short way: "M wParam x y" for messages, "wait N" for pauses.
std::string Describe(const InputStep& step) {
    if (step.IsWait())
        return "wait " + std::to_string(step.waitFrames);
    std::string text = std::to_string(step.message.message) + " " + std::to_string(step.message.wParam);
    if (step.message.message >= msg::kMouseMove)
        text += " " + std::to_string(PointX(step.message.lParam)) + " " +
                std::to_string(PointY(step.message.lParam));
    return text;
}

std::vector<std::string> Parse(const std::string& script) {
    std::vector<InputStep> steps;
    std::string error;
    EXPECT_TRUE(ParseInputScript(script, "s.txt", steps, &error)) << error;
    std::vector<std::string> described;
    for (const InputStep& step : steps)
        described.push_back(Describe(step));
    return described;
}

std::string M(unsigned message, std::uintptr_t wParam) {
    return std::to_string(message) + " " + std::to_string(wParam);
}
std::string M(unsigned message, std::uintptr_t wParam, int x, int y) {
    return M(message, wParam) + " " + std::to_string(x) + " " + std::to_string(y);
}

TEST(InputScript, EveryCommandBecomesTheMessagesOfThatAction) {
    const std::string script = "# a comment\n"
                               "\n"
                               "move -3 4\r\n"
                               "  down\t10 20  \n"
                               "move 11 21\n"
                               "up 12 22\n"
                               "   # indented comment\n"
                               "click 0 0\n"
                               "dblclick 5 6\n"
                               "rdown 1 1\n"
                               "rup 2 2\n"
                               "rclick -32768 32767\n"
                               "key a\n"
                               "key TAB\n"
                               "key 65\n"
                               "char 255\n"
                               "wait 4\n"
                               "wait 0\n"
                               "activate 0\n"
                               "activate 1\n"
                               "close"; // no newline at the end
    const std::vector<std::string> expected{
        M(msg::kMouseMove, 0, -3, 4),
        M(msg::kLButtonDown, mk::kLButton, 10, 20),
        M(msg::kMouseMove, mk::kLButton, 11, 21),
        M(msg::kLButtonUp, 0, 12, 22),
        M(msg::kLButtonDown, mk::kLButton, 0, 0),
        M(msg::kLButtonUp, 0, 0, 0),
        M(msg::kLButtonDown, mk::kLButton, 5, 6),
        M(msg::kLButtonUp, 0, 5, 6),
        M(msg::kLButtonDblClk, mk::kLButton, 5, 6),
        M(msg::kLButtonUp, 0, 5, 6),
        M(msg::kRButtonDown, mk::kRButton, 1, 1),
        M(msg::kRButtonUp, 0, 2, 2),
        M(msg::kRButtonDown, mk::kRButton, -32768, 32767),
        M(msg::kRButtonUp, 0, -32768, 32767),
        M(msg::kKeyDown, 'A'),
        M(msg::kKeyDown, vk::kTab),
        M(msg::kChar, 9),
        M(msg::kKeyDown, 'A'),
        M(msg::kChar, 255),
        "wait 4",
        M(msg::kActivateApp, 0),
        M(msg::kActivateApp, 1),
        M(msg::kClose, 0),
    };
    EXPECT_EQ(Parse(script), expected);
}

TEST(InputScript, TextIsOneCharPerUtf8ByteWithItsEscapes) {
    const std::string typed = "a \"q\" \\ \xC3\xA9 # not a comment";
    std::vector<std::string> expected;
    for (const char c : typed)
        expected.push_back(M(msg::kChar, static_cast<unsigned char>(c)));
    EXPECT_EQ(Parse("text \"a \\\"q\\\" \\\\ \xC3\xA9 # not a comment\"  \n"), expected);
    EXPECT_TRUE(Parse("text \"\"").empty());
}

TEST(InputScript, ErrorsNameFileAndLineAndKeepNothing) {
    const struct {
        const char* script;
        const char* error;
    } cases[] = {
        {"jump 1 2", "s.txt:1: unknown command 'jump'"},
        {"\nmove 1", "s.txt:2: usage: move X Y"},
        {"click 1 2 3", "s.txt:1: usage: click X Y"},
        {"move 1 32768", "s.txt:1: '32768' is not a coordinate (a whole number from -32768 to 32767)"},
        {"move 1.5 2", "s.txt:1: '1.5' is not a coordinate (a whole number from -32768 to 32767)"},
        {"move +1 2", "s.txt:1: '+1' is not a coordinate (a whole number from -32768 to 32767)"},
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
        {"move 1 2\r\nclose\r\n\r\nmove x 1\r\n",
         "s.txt:4: 'x' is not a coordinate (a whole number from -32768 to 32767)"},
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
    EXPECT_EQ(VirtualKeyFromName("return"), vk::kReturn);
    EXPECT_EQ(VirtualKeyFromName("VK_Escape"), vk::kEscape);
    EXPECT_EQ(VirtualKeyFromName("BACK"), vk::kBack);
    EXPECT_EQ(VirtualKeyFromName("prior"), vk::kPrior);
    EXPECT_EQ(VirtualKeyFromName("NEXT"), vk::kNext);
    EXPECT_EQ(VirtualKeyFromName("z"), 'Z');
    EXPECT_EQ(VirtualKeyFromName("7"), '7');
    EXPECT_EQ(VirtualKeyFromName("F1"), vk::kF1);
    EXPECT_EQ(VirtualKeyFromName("f12"), vk::kF1 + 11);
    EXPECT_EQ(VirtualKeyFromName("NUMPAD0"), vk::kNumpad0);
    EXPECT_EQ(VirtualKeyFromName("numpad9"), vk::kNumpad0 + 9);
    for (const char* unknown : {"", "F0", "F13", "F01", "NUMPAD", "NUMPAD10", "VK_", "AA", "RETURNS", "#"})
        EXPECT_EQ(VirtualKeyFromName(unknown), 0u) << unknown;
}

TEST(InputScript, LoadingReadsTheFileAndNamesItInErrors) {
    test::TempDir dir;
    test::WriteFile(dir / "ok.txt", "key space\n");
    std::vector<InputStep> steps;
    std::string error;
    ASSERT_TRUE(LoadInputScript(dir / "ok.txt", steps, &error)) << error;
    ASSERT_EQ(steps.size(), 1u);
    EXPECT_EQ(steps[0].message.wParam, vk::kSpace);

    EXPECT_FALSE(LoadInputScript(dir / "missing.txt", steps, &error));
    EXPECT_EQ(error.rfind(dir / "missing.txt: cannot read the input script", 0), 0u) << error;
    test::WriteFile(dir / "bad.txt", "key space\nkey nothing\n");
    EXPECT_FALSE(LoadInputScript(dir / "bad.txt", steps, &error));
    EXPECT_EQ(error, dir / "bad.txt:2: unknown key 'nothing'");
    EXPECT_EQ(steps.size(), 1u);
}

} // namespace
} // namespace tav::platform
