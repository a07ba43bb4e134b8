#include "HeadlessApp.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace tav::testing {
namespace {

// One key press or a text typed byte by byte.
struct Input {
    UINT key = 0;
    std::string text;
};
Input K(UINT key) {
    return {key, {}};
}
Input T(std::string text) {
    return {0, std::move(text)};
}

class EditTest : public ScreenAppTest<CTavScreen> {
protected:
    void SetUp() override {
        ScreenAppTest::SetUp();
        screen->SetFocus(TRUE); // as a click on it would
    }
    CTavEdit* AddEdit(const std::string& text, int width = 200, int height = 22, DWORD id = 5, int y = 10) {
        auto* edit = new CTavEdit;
        EXPECT_EQ(edit->Initialize(text.c_str(), id, 10, static_cast<float>(y), width, height, screen),
                  TAVERROR_OK);
        edit->SetBackColor(0xFFFFFF);
        edit->SetTextColor(RGB(255, 0, 0));
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
    int Width(const std::string& text) {
        int width = 0;
        app.GetBackBuffer()->GetTextExtent(text.c_str(), "Verdana", 0, 15, 0, &width, nullptr);
        return width;
    }
    static CTavScrollBars* Bars(CTavEdit* edit) {
        return dynamic_cast<CTavScrollBars*>(edit->GetScrollBarsObject());
    }
};

TEST_F(EditTest, KeysAndCharactersEditTheText) {
    struct Row {
        const char* what;
        std::string text;
        int caret, numbersOnly, maxLength;
        std::vector<Input> inputs;
        std::string expectedText;
        int expectedCaret;
    };
    const std::string e = "\xC3\xA9";                                                   // é
    const std::string scripts = "\xD0\x96\xE4\xB8\xAD\xCE\xBB\xF0\xA0\x80\x80";         // Ж 中 λ U+20000
    const std::string symbols = "\xE2\x82\xAC\xF0\x9F\x98\x80\xC2\xA0\xC3\x97\xC2\xAB"; // € emoji nbsp × «
    // Stray, invalid, overlong, surrogate and cut-short sequences around a, b and é.
    const std::string malformed =
        std::string("\xA9\xFF\xC0\xAF\xE0\x80\x80\xED\xA0\x80\xC3") + "a\xE4\xB8" + "b\xC3" + e;
    const Row rows[] = {
        {"insert in the middle", "abc", 3, 0, -1, {K(VK_LEFT), K(VK_LEFT), T("X")}, "aXbc", 2},
        {"left stops at 0", "abc", 1, 0, -1, {K(VK_LEFT), K(VK_LEFT)}, "abc", 0},
        {"right stops at the end", "abc", 2, 0, -1, {K(VK_RIGHT), K(VK_RIGHT)}, "abc", 3},
        {"delete at the end", "abc", 3, 0, -1, {K(VK_DELETE)}, "abc", 3},
        {"back at 0", "abc", 0, 0, -1, {K(VK_BACK)}, "abc", 0},
        {"delete takes the character at the caret", "abc", 1, 0, -1, {K(VK_DELETE)}, "ac", 1},
        {"back takes the character before", "abc", 2, 0, -1, {K(VK_BACK)}, "ac", 1},
        {"refused punctuation", "", 0, 0, -1, {T("a!b@#$%*+=()\"'~<>[]{}")}, "ab", 2},
        {"accepted punctuation", "", 0, 0, -1, {T(" ,.?;:\\/_-")}, " ,.?;:\\/_-", 10},
        {"controls", "ab", 2, 0, -1, {K(VK_RETURN), K(VK_TAB), K(VK_ESCAPE), T("\r\n\t\x1b\x7f")}, "ab", 2},
        {"back takes both bytes", "a" + e, 3, 0, -1, {K(VK_BACK)}, "a", 1},
        {"left steps over a whole character", "a" + e + "z", 3, 0, -1, {K(VK_LEFT)}, "a" + e + "z", 1},
        {"right steps over a whole character", "a" + e + "z", 1, 0, -1, {K(VK_RIGHT)}, "a" + e + "z", 3},
        {"delete takes both bytes", "a" + e + "z", 1, 0, -1, {K(VK_DELETE)}, "az", 1},
        {"caret inside a character moves to its start", "a" + e, 2, 0, -1, {}, "a" + e, 1},
        {"caret past the end", "abc", 99, 0, -1, {}, "abc", 3},
        {"letters of other scripts", "", 0, 0, -1, {T(scripts)}, scripts, 11},
        {"symbols beyond ASCII", "", 0, 0, -1, {T(symbols)}, "", 0},
        {"malformed bytes are dropped, never inserted", "", 0, 0, -1, {T(malformed)}, "ab" + e, 4},
        {"a key ends an unfinished character", "", 0, 0, -1, {T("\xC3"), K(VK_HOME), T("\xA9z")}, "z", 1},
        {"digits only takes 7, not a", "", 0, 1, -1, {T("a7")}, "7", 1},
        {"digits only stays ASCII digits", "", 0, 1, -1, {T(e + "-_ .\xD9\xA3" + "5")}, "5", 1},
        {"maximum length 3, back removes", "255", 3, 1, 3, {T("1"), K(VK_BACK)}, "25", 2},
        {"maximum length counts characters", "", 0, 0, 3, {T(e + e + e + "a")}, e + e + e, 6},
        {"a maximum below 1 is no limit", "", 0, 0, 0, {T("abcd")}, "abcd", 4},
    };
    for (const Row& row : rows) {
        CTavEdit* edit = AddEdit(row.text);
        edit->SetNumbersOnly(row.numbersOnly);
        edit->SetMaxLength(row.maxLength);
        edit->SetCaretPosition(row.caret);
        edit->SetFocus(TRUE);
        Press(row.inputs);
        EXPECT_EQ(std::string(edit->GetText()), row.expectedText) << row.what;
        EXPECT_EQ(edit->GetCaretPosition(), row.expectedCaret) << row.what;
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
    Press({K(VK_LEFT), K(VK_BACK), K(VK_DELETE), K(VK_HOME), T("D")});
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
    const std::vector<Input> choices = {T("a"),     T("W"),     T("i"),       T(" "),     T("\xC3\xA9"),
                                        T("m"),     K(VK_LEFT), K(VK_RIGHT),  K(VK_UP),   K(VK_DOWN),
                                        K(VK_BACK), K(VK_BACK), K(VK_DELETE), K(VK_HOME), K(VK_END)};
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
    CTavScrollBars* bars = Bars(edit);
    ASSERT_NE(bars, nullptr);
    EXPECT_EQ(bars->GetOption(), 5);
    const int a = Width("a"), fit = 60 / a; // the content is the text width plus 10
    Press({T(std::string(fit, 'a'))});
    EXPECT_EQ(bars->GetScrollX(), 0);
    Press({T("a")}); // the caret passes the right edge: the view jumps to the end
    EXPECT_EQ(bars->GetScrollX(), (fit + 1) * a + 10 - 60);
    Press({T(std::string(19 - fit, 'a')), K(VK_HOME)});
    EXPECT_EQ(bars->GetScrollX(), 0);
    Press({K(VK_END), K(VK_BACK)}); // the content shrinks with the text
    const int end = 19 * a + 10 - 60;
    EXPECT_EQ(bars->GetScrollX(), end);
    // Left: the view follows once the caret reaches its left edge, one "a" further.
    int caret = 19;
    for (; (caret - 1) * a > end; --caret)
        Press({K(VK_LEFT)});
    EXPECT_EQ(bars->GetScrollX(), end);
    Press({K(VK_LEFT)});
    EXPECT_EQ(bars->GetScrollX(), (caret - 2) * a);
    // Back moves the view 20 pixels once the caret is left of it.
    bars->SetScrollPosition(5 * a, 0);
    edit->SetCaretPosition(5);
    Press({K(VK_BACK)});
    EXPECT_EQ(bars->GetScrollX(), 5 * a - 20);
}

} // namespace
} // namespace tav::testing
