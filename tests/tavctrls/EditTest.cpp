#include "HeadlessApp.h"

#include <cstdint>
#include <tuple>
#include <utility>

namespace tav::testing {
namespace {

// One key press or a text typed byte by byte.
struct Input {
    Input(UINT code) : key(code) {}
    Input(std::string typed) : text(std::move(typed)) {}
    Input(const char* typed) : text(typed) {}
    UINT key = 0;
    std::string text;
};

class EditTest : public ScreenAppTest<CTavScreen> {
protected:
    CTavEdit* AddEdit(const std::string& text, int width = 200, int height = 22) {
        screen->SetFocus(TRUE); // as a click on it would
        auto* edit = new CTavEdit;
        EXPECT_EQ(edit->Initialize(text.c_str(), 5, 10, 10, width, height, screen), TAVERROR_OK);
        EXPECT_EQ(screen->AddObject(edit), TAVERROR_OK);
        return edit;
    }
    void Press(const std::vector<Input>& inputs) {
        for (const Input& input : inputs) {
            if (input.key != 0)
                screen->KeyDown(input.key);
            for (char c : input.text)
                screen->Char(c);
        }
    }
};

TEST_F(EditTest, KeysAndCharactersEditTheText) {
    const std::string e = "\xC3\xA9";                                                   // é
    const std::string scripts = "\xD0\x96\xE4\xB8\xAD\xCE\xBB\xF0\xA0\x80\x80";         // Ж 中 λ U+20000
    const std::string symbols = "\xE2\x82\xAC\xF0\x9F\x98\x80\xC2\xA0\xC3\x97\xC2\xAB"; // € emoji nbsp × «
    // Stray, invalid, overlong, surrogate and cut-short sequences around a, b and é.
    const std::string malformed =
        std::string("\xA9\xFF\xC0\xAF\xE0\x80\x80\xED\xA0\x80\xC3") + "a\xE4\xB8" + "b\xC3" + e;
    // text, caret, digits only, maximum length; the inputs; the text and caret after them
    const std::tuple<const char*, std::string, int, int, int, std::vector<Input>, std::string, int> rows[] = {
        {"insert in the middle", "abc", 3, 0, -1, {VK_LEFT, VK_LEFT, "X"}, "aXbc", 2},
        {"left stops at 0", "abc", 1, 0, -1, {VK_LEFT, VK_LEFT}, "abc", 0},
        {"right stops at the end", "abc", 2, 0, -1, {VK_RIGHT, VK_RIGHT}, "abc", 3},
        {"delete at the end", "abc", 3, 0, -1, {VK_DELETE}, "abc", 3},
        {"back at 0", "abc", 0, 0, -1, {VK_BACK}, "abc", 0},
        {"delete takes the character at the caret", "abc", 1, 0, -1, {VK_DELETE}, "ac", 1},
        {"back takes the character before", "abc", 2, 0, -1, {VK_BACK}, "ac", 1},
        {"refused punctuation", "", 0, 0, -1, {"a!b@#$%*+=()\"'~<>[]{}"}, "ab", 2},
        {"accepted punctuation", "", 0, 0, -1, {" ,.?;:\\/_-"}, " ,.?;:\\/_-", 10},
        {"controls", "ab", 2, 0, -1, {VK_RETURN, VK_TAB, VK_ESCAPE, "\r\n\t\x1b\x7f"}, "ab", 2},
        {"back takes both bytes", "a" + e, 3, 0, -1, {VK_BACK}, "a", 1},
        {"left steps over a whole character", "a" + e + "z", 3, 0, -1, {VK_LEFT}, "a" + e + "z", 1},
        {"right steps over a whole character", "a" + e + "z", 1, 0, -1, {VK_RIGHT}, "a" + e + "z", 3},
        {"delete takes both bytes", "a" + e + "z", 1, 0, -1, {VK_DELETE}, "az", 1},
        {"caret inside a character moves to its start", "a" + e, 2, 0, -1, {}, "a" + e, 1},
        {"caret past the end", "abc", 99, 0, -1, {}, "abc", 3},
        {"letters of other scripts", "", 0, 0, -1, {scripts}, scripts, 11},
        {"symbols beyond ASCII", "", 0, 0, -1, {symbols}, "", 0},
        {"malformed bytes are dropped, never inserted", "", 0, 0, -1, {malformed}, "ab" + e, 4},
        {"a key ends an unfinished character", "", 0, 0, -1, {"\xC3", VK_HOME, "\xA9z"}, "z", 1},
        {"digits only takes 7, not a", "", 0, 1, -1, {"a7"}, "7", 1},
        {"digits only stays ASCII digits", "", 0, 1, -1, {e + "-_ .\xD9\xA3" + "5"}, "5", 1},
        {"maximum length 3, back removes", "255", 3, 1, 3, {"1", VK_BACK}, "25", 2},
        {"maximum length counts characters", "", 0, 0, 3, {e + e + e + "a"}, e + e + e, 6},
        {"a maximum below 1 is no limit", "", 0, 0, 0, {"abcd"}, "abcd", 4},
    };
    for (const auto& [what, text, caret, numbersOnly, maxLength, inputs, expectedText, expectedCaret] :
         rows) {
        CTavEdit* edit = AddEdit(text);
        edit->SetNumbersOnly(numbersOnly);
        edit->SetMaxLength(maxLength);
        edit->SetCaretPosition(caret);
        edit->SetFocus(TRUE);
        Press(inputs);
        EXPECT_EQ(std::string(edit->GetText()), expectedText) << what;
        EXPECT_EQ(edit->GetCaretPosition(), expectedCaret) << what;
        screen->RemoveObject(5);
    }
    // New text keeps the caret inside, at the start of a character.
    CTavEdit* edit = AddEdit("hello");
    edit->SetCaretPosition(5);
    edit->SetText("h\xC3\xA9");
    EXPECT_EQ(edit->GetCaretPosition(), 3);
    edit->SetText("\xC3\xA9\xC3\xA9");
    EXPECT_EQ(edit->GetCaretPosition(), 2);
    edit->SetFocus(TRUE);
    display->SetShiftDown(true); // keys are ignored while shift is held, characters still come
    Press({VK_LEFT, VK_BACK, VK_DELETE, VK_HOME, "D"});
    display->SetShiftDown(false);
    EXPECT_EQ(std::string(edit->GetText()), e + "D" + e);
}

TEST_F(EditTest, MultiLineEditingKeepsTheStaticLayout) {
    CTavEdit* edit = AddEdit("The quick brown fox\njumps over\n\nthe lazy dog, twice.", 70, 200);
    edit->SetMultiline(TRUE);
    edit->SetFocus(TRUE);
    auto* reference = new CTavStatic;
    ASSERT_EQ(reference->Initialize("", 6, 100, 10, 70, 200, screen), TAVERROR_OK);
    reference->SetMultiline(TRUE);
    screen->AddObject(reference);
    const std::vector<Input> choices = {"a",     "W",     "i",       " ",     "\xC3\xA9",
                                        "m",     VK_LEFT, VK_RIGHT,  VK_UP,   VK_DOWN,
                                        VK_BACK, VK_BACK, VK_DELETE, VK_HOME, VK_END};
    std::uint32_t seed = 12345;
    for (int step = 0; step < 400; ++step) {
        seed = seed * 1103515245u + 12345u;
        Press({choices[(seed >> 16) % choices.size()]});
        reference->SetText(edit->GetText());
        ASSERT_EQ(edit->GetLines(), reference->GetLines()) << "step " << step << ": " << edit->GetText();
        const std::string text = edit->GetText();
        const auto caret = static_cast<std::size_t>(edit->GetCaretPosition());
        ASSERT_LE(caret, text.size());
        ASSERT_TRUE(caret == text.size() || (static_cast<unsigned char>(text[caret]) & 0xC0) != 0x80) << step;
    }
}

TEST_F(EditTest, SingleLineScrollsWithTheCaret) {
    CTavEdit* edit = AddEdit("", 60);
    edit->SetFocus(TRUE);
    auto* bars = dynamic_cast<CTavScrollBars*>(edit->GetScrollBarsObject());
    ASSERT_NE(bars, nullptr);
    EXPECT_EQ(bars->GetOption(), 5);
    int a = 0;
    app.GetBackBuffer()->GetTextExtent("a", "Verdana", 0, 15, 0, &a, nullptr);
    const int fit = 60 / a; // the content is the text width plus 10
    Press({std::string(fit, 'a')});
    EXPECT_EQ(bars->GetScrollX(), 0);
    Press({"a"}); // the caret passes the right edge: the view jumps to the end
    EXPECT_EQ(bars->GetScrollX(), (fit + 1) * a + 10 - 60);
    Press({std::string(19 - fit, 'a'), VK_HOME});
    EXPECT_EQ(bars->GetScrollX(), 0);
    Press({VK_END, VK_BACK}); // the content shrinks with the text
    const int end = 19 * a + 10 - 60;
    EXPECT_EQ(bars->GetScrollX(), end);
    // Left: the view follows once the caret reaches its left edge, one "a" further.
    int caret = 19;
    for (; (caret - 1) * a > end; --caret)
        Press({VK_LEFT});
    EXPECT_EQ(bars->GetScrollX(), end);
    Press({VK_LEFT});
    EXPECT_EQ(bars->GetScrollX(), (caret - 2) * a);
    // Back moves the view 20 pixels once the caret is left of it.
    bars->SetScrollPosition(5 * a, 0);
    edit->SetCaretPosition(5);
    Press({VK_BACK});
    EXPECT_EQ(bars->GetScrollX(), 5 * a - 20);
}

} // namespace
} // namespace tav::testing
