#include "HeadlessApp.h"

#include <array>
#include <cstdint>
#include <tuple>
#include <utility>

namespace tav::testing {
namespace {

using Move = std::array<int, 4>;
using At = std::array<int, 2>;

// Records scroll notifications and presses.
template <typename Base>
class Recorder : public Base {
public:
    void AfterSetScrollPosition(int oldX, int oldY, int newX, int newY) override {
        moves.push_back({oldX, oldY, newX, newY});
        if (onScroll)
            onScroll();
    }
    std::vector<Move> moves;
    std::function<void()> onScroll;
    int presses = 0;
};
class Pane : public Recorder<CTavObject> {
public:
    BOOL OnLMouseDown(int, int) override {
        ++presses;
        return FALSE;
    }
};

class ScrollBarsTest : public ScreenAppTest<Recorder<CTavScreen>> {
protected:
    void SetUp() override {
        ScreenAppTest::SetUp();
        display->SetFrameTime(0.05);
        Frame(app); // from here on every frame lasts 0.05 s
    }
    Pane* AddPane(int x, int y, int contentWidth, int contentHeight, int option) {
        auto* pane = AddPlain<Pane>(screen, 1, x, y, 100, 100);
        EXPECT_EQ(pane->SetScrollBars(contentWidth, contentHeight, option), TAVERROR_OK);
        return pane;
    }
    template <typename T>
    static CTavScrollBars* Bars(T* o) {
        return dynamic_cast<CTavScrollBars*>(o->GetScrollBarsObject());
    }
    static At Position(const CTavObject* object) {
        At at{};
        object->GetScrollPosition(&at[0], &at[1]);
        return at;
    }
};

TEST_F(ScrollBarsTest, PositionStaysInsideTheContent) {
    Pane* pane = AddPane(10, 10, 300, 400, 1);
    const std::array<Move, 4> rows{{{-5, 1000, 0, 300}, {50, 60, 50, 60}, {1000, -1, 200, 0}, {5, 5, 5, 5}}};
    At before{0, 0};
    for (const Move& row : rows) {
        Bars(pane)->SetScrollPosition(row[0], row[1]);
        EXPECT_EQ(Position(pane), (At{row[2], row[3]})) << row[0] << "," << row[1];
        EXPECT_EQ(pane->moves.back(), (Move{before[0], before[1], row[2], row[3]}));
        before = {row[2], row[3]};
    }
    // A content smaller than the view is raised to it; shrinking pulls the position back.
    Bars(pane)->SetScrollPosition(0, 300);
    Bars(pane)->SetContentSize(10, 150);
    EXPECT_EQ(Bars(pane)->GetContentWidth(), 100);
    EXPECT_EQ(pane->moves.back(), (Move{0, 300, 0, 50}));
    // Views too small for three thicknesses get thinner bars, never thinner than 1, as the size changes.
    for (const auto& [width, thickness] : {std::pair{45, 14}, {59, 18}, {60, 20}, {3, 1}}) {
        pane->SetWidth(width);
        EXPECT_EQ(Bars(pane)->GetThickness(), thickness) << width;
    }
    pane->SetScrollBars(0, 0, 0); // option 0 only removes them
    EXPECT_EQ(pane->GetScrollBarsObject(), nullptr);
    EXPECT_EQ(pane->moves.back(), (Move{0, 50, 0, 0}));
}

TEST_F(ScrollBarsTest, AHeldArrowRepeatsEveryFifthOfASecond) {
    Pane* pane = AddPane(20, 20, 100, 400, 3);
    const int down = CTavScrollBars::ARROW_DOWN, none = CTavScrollBars::ARROW_NONE;
    // The down arrow is the square above the corner: (100..119, 80..99) on the application area. It
    // steps at the press and at every 0.2 s; the mouse is looked at when the time is up.
    // input, frames after it, position, arrow held
    const std::tuple<std::string, int, int, int> rows[] = {
        {"down", 1, 10, down}, {"", 2, 10, down},     {"", 1, 20, down},     {"", 3, 20, down},
        {"", 1, 30, down},     {"up", 8, 30, none},   {"down", 1, 40, down}, {"leave", 2, 40, down},
        {"", 1, 40, none},     {"move", 8, 40, none}, {"up", 1, 40, none},   {"down", 120, 300, down},
    };
    for (const auto& [input, frames, y, held] : rows) {
        SCOPED_TRACE(input + " +" + std::to_string(frames));
        if (!input.empty())
            Queue(input == "leave" ? "move" : input, input == "leave" ? 200 : 110, 90);
        Frame(app, frames);
        EXPECT_EQ(Position(pane)[1], y);
        EXPECT_EQ(Bars(pane)->GetHeldArrow(), held);
    }
    EXPECT_EQ(pane->presses, 0); // the bars took every press
}

TEST_F(ScrollBarsTest, ArrowsStepAndTracksJumpInProportion) {
    Pane* pane = AddPane(0, 0, 300, 300, 1);
    // Arrows: left (0..19, 80..99), right (60..79, 80..99), up (80..99, 0..19), down (80..99, 60..79),
    // the far edge included. Between the arrows a track stands for positions 0 to 200.
    const Move rows[] = {{5, 100, 90, 100},   {70, 90, 110, 100}, {90, 5, 100, 90},   {90, 70, 100, 110},
                         {100, 70, 100, 110}, {90, 20, 100, 0},   {90, 50, 100, 150}, {30, 95, 50, 100}};
    for (const Move& row : rows) {
        Bars(pane)->SetScrollPosition(100, 100);
        Click(row[0], row[1]);
        EXPECT_EQ(Position(pane), (At{row[2], row[3]})) << row[0] << "," << row[1];
    }
    // Views smaller than their arrows (no track, or a negative one): presses keep the position in range.
    for (const auto& [width, height] : {std::pair{1, 1}, {2, 2}, {3, 100}, {100, 3}, {8, 8}, {45, 45}}) {
        pane->SetWidth(width);
        pane->SetHeight(height);
        for (int y = 0; y <= height; y += height > 20 ? 11 : 1)
            for (int x = 0; x <= width; x += width > 20 ? 11 : 1)
                Click(x, y);
        const At at = Position(pane);
        EXPECT_TRUE(at[0] >= 0 && at[0] <= 300 - width && at[1] >= 0 && at[1] <= 300 - height) << width;
    }
}

TEST_F(ScrollBarsTest, BarsReplacedFromTheirOwnNotification) {
    screen->SetScrollBars(640, 480, 1);
    int calls = 0;
    // Removed by the press that moved them, then replaced during an auto-repeat.
    screen->onScroll = [&] {
        ++calls;
        if (calls == 1)
            screen->SetScrollBars(0, 0, 0);
        if (calls == 4)
            screen->SetScrollBars(640, 480, 1);
    };
    display->LButtonDown(305, 205);
    Frame(app, 10);
    EXPECT_EQ(screen->GetScrollBarsObject(), nullptr);
    display->LButtonUp(305, 205);
    screen->SetScrollBars(640, 480, 1);
    display->LButtonDown(305, 205);
    Frame(app, 10);
    ASSERT_NE(Bars(screen), nullptr);
    EXPECT_EQ(Bars(screen)->GetHeldArrow(), CTavScrollBars::ARROW_NONE);
    Pane* pane = AddPane(100, 0, 100, 400, 3);
    pane->onScroll = [&] { pane->SetScrollBars(100, 800, 3); };
    display->LClick(190, 40); // a track press
    Frame(app);
    EXPECT_EQ(Bars(pane)->GetContentHeight(), 800);
}

// Animations on the virtual clock.
class AnimationTest : public ScreenAppTest<CTavScreen> {
protected:
    void SetUp() override {
        ScreenAppTest::SetUp();
        display->SetFrameTime(0.125);
        Frame(app); // from here on every frame lasts 0.125 s
    }
    CTavAnimation* Add(DWORD id, int frames, float interval, int mode, int repeat) {
        auto* animation = new CTavAnimation;
        EXPECT_EQ(animation->Initialize(id, 10, 10, 64, 64, screen), TAVERROR_OK);
        for (int i = 1; i <= frames; ++i)
            EXPECT_EQ(animation->AddFrame(ArtPath("spin" + std::to_string(i) + ".bmp").c_str()), TAVERROR_OK);
        animation->SetFrameFrequency(interval);
        animation->SetPlayMode(mode);
        animation->SetRepeatCount(repeat);
        EXPECT_EQ(screen->AddObject(animation), TAVERROR_OK);
        return animation;
    }
    // The frame shown, or -1 once the animation is gone from the screen.
    int Shown(DWORD id) const {
        auto* animation = dynamic_cast<CTavAnimation*>(screen->GetObjectByID(id));
        return animation != nullptr ? animation->GetCurrentFrame() : -1;
    }
};

TEST_F(AnimationTest, EachPlayModeShowsItsSequence) {
    // frames, interval, mode, repeat count, first frame; the frame shown after each interval of 0.25 s
    const std::tuple<const char*, int, float, int, int, int, std::vector<int>> rows[] = {
        {"loop", 3, 0.25f, 0, 0, 0, {1, 2, 0, 1, 2, 0}},
        {"interval 0", 3, 0.0f, 0, 0, 2, {0, 0, 0}},
        {"repeat twice", 3, 0.25f, 1, 2, 0, {1, 2, 0, 1, 2, 0, 0, 0}},
        {"repeat twice, mode 2", 3, 0.25f, 2, 2, 0, {1, 2, 0, 1, 2, 0, 0}},
        {"remove after one", 3, 0.25f, 3, 1, 0, {1, 2, -1, -1}},
        {"remove after two", 3, 0.25f, 3, 2, 0, {1, 2, 0, 1, 2, -1}},
        {"unknown mode", 3, 0.25f, 9, 5, 0, {0, 0}},
        {"no frames, remove", 0, 0.25f, 3, 2, 0, {0, -1}},
    };
    DWORD id = 1;
    for (const auto& [name, frames, interval, mode, repeat, start, shown] : rows) {
        Add(id, frames, interval, mode, repeat)->SetCurrentFrame(start);
        int previous = start;
        for (size_t step = 0; step < shown.size(); ++step) {
            Frame(app); // half an interval: nothing moves yet
            if (interval > 0) {
                EXPECT_EQ(Shown(id), previous) << name << ", half of step " << step;
            }
            Frame(app);
            EXPECT_EQ(Shown(id), shown[step]) << name << ", step " << step;
            previous = shown[step];
        }
        screen->RemoveObject(id++);
    }
}

TEST_F(AnimationTest, RemovingItselfDuringTheFrameIsDeferredAndSafe) {
    for (DWORD id = 1; id <= 3; ++id)
        Add(id, 2, 0.25f, 3, 1);
    CTavObject* mover = AddPlain(screen, 9, 0, 200, 10, 10);
    mover->SetSpeed(8, 0); // one pixel per frame
    Frame(app, 4);         // the last step removes all three in one frame
    EXPECT_EQ(screen->GetObjectCount(), 1);
    EXPECT_EQ(mover->GetX(), 4);
    // Updated outside a frame the removal deletes at once, and the update returns without a touch.
    CTavAnimation* animation = Add(5, 2, 0.25f, 3, 1);
    animation->SetCurrentFrame(1);
    animation->Update();
    animation->Update();
    EXPECT_FALSE(screen->HasObject(5));
}

// One key press or a text typed byte by byte.
struct Input {
    Input(UINT code, unsigned held = 0) : key(code), modifiers(held) {}
    Input(std::string typed) : text(std::move(typed)) {}
    Input(const char* typed) : text(typed) {}
    UINT key = 0;
    unsigned modifiers = 0; // held during the key
    std::string text;
};

class EditTest : public ScreenAppTest<CTavScreen> {
protected:
    CTavEdit* AddEdit(const std::string& text, int width = 200, int height = 22) {
        screen->SetFocus(TRUE); // as a click on it would
        auto* edit = new CTavEdit;
        EXPECT_EQ(edit->Initialize(text.c_str(), 5, 10, 10, width, height, screen), TAVERROR_OK);
        EXPECT_EQ(screen->AddObject(edit), TAVERROR_OK);
        edit->SetFocus(TRUE);
        return edit;
    }
    void Press(const std::vector<Input>& inputs) {
        for (const Input& input : inputs) {
            display->SetModifiers(input.modifiers);
            if (input.key != 0)
                screen->KeyDown(input.key);
            display->SetModifiers(0);
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
}

constexpr unsigned kS = platform::mod::kLShift, kC = platform::mod::kRControl;

TEST_F(EditTest, ShiftSelectsTypingReplacesAndControlGoesThroughTheClipboard) {
    const std::string e = "\xC3\xA9"; // é
    struct Row {
        const char* what;
        std::string text;
        int caret, numbersOnly, maxLength;
        std::vector<Input> inputs;
        std::string expectedText;
        int expectedCaret;
        std::string selected, clipboard = "old";
    };
    const Row rows[] = {
        {"shift+left selects backwards", "abcd", 4, 0, -1, {{VK_LEFT, kS}, {VK_LEFT, kS}}, "abcd", 2, "cd"},
        {"typing replaces it", "abcd", 4, 0, -1, {{VK_LEFT, kS}, {VK_LEFT, kS}, "X"}, "abX", 3, ""},
        {"back removes only it", "abcd", 1, 0, -1, {{VK_RIGHT, kS}, {VK_RIGHT, kS}, VK_BACK}, "ad", 1, ""},
        {"delete removes only it", "abcd", 3, 0, -1, {{VK_HOME, kS}, VK_DELETE}, "d", 0, ""},
        {"left collapses to its start", "abcd", 1, 0, -1, {{VK_END, kS}, VK_LEFT}, "abcd", 1, ""},
        {"right collapses to its end", "abcd", 3, 0, -1, {{VK_HOME, kS}, VK_RIGHT}, "abcd", 3, ""},
        {"a move without shift drops it", "abcd", 3, 0, -1, {{VK_HOME, kS}, VK_END}, "abcd", 4, ""},
        {"whole characters", "a" + e + "b", 1, 0, -1, {{VK_RIGHT, kS}}, "a" + e + "b", 3, e},
        {"control+A selects all", "abc", 1, 0, -1, {{'A', kC}, "z"}, "z", 1, ""},
        {"control+A in the middle", "abc", 1, 0, -1, {{'A', kC}}, "abc", 3, "abc"},
        {"copy keeps the text",
         "abcd",
         0,
         0,
         -1,
         {{VK_RIGHT, kS}, {VK_RIGHT, kS}, {'C', kC}},
         "abcd",
         2,
         "ab",
         "ab"},
        {"copy of nothing keeps the clipboard", "abc", 1, 0, -1, {{'C', kC}, {'X', kC}}, "abc", 1, ""},
        {"cut", "abcd", 0, 0, -1, {{VK_END, kS}, {VK_LEFT, kS}, {'X', kC}}, "d", 0, "", "abc"},
        {"paste replaces the selection", "abcd", 4, 0, -1, {{VK_LEFT, kS}, {'V', kC}}, "abcold", 6, ""},
        {"max length counts the selection", "abc", 3, 0, 3, {{VK_LEFT, kS}, "zy"}, "abz", 3, ""},
        {"paste is cut at the max length", "ab", 2, 0, 4, {{'V', kC}}, "abol", 4, ""},
        {"control+other letters type nothing", "ab", 2, 0, -1, {{'Z', kC}, {'B', kC}}, "ab", 2, ""},
    };
    for (const Row& row : rows) {
        ASSERT_TRUE(TavSetClipboardText("old"));
        CTavEdit* edit = AddEdit(row.text);
        edit->SetNumbersOnly(row.numbersOnly);
        edit->SetMaxLength(row.maxLength);
        edit->SetCaretPosition(row.caret);
        Press(row.inputs);
        EXPECT_EQ(std::string(edit->GetText()), row.expectedText) << row.what;
        EXPECT_EQ(edit->GetCaretPosition(), row.expectedCaret) << row.what;
        EXPECT_EQ(edit->GetSelectedText(), row.selected) << row.what;
        EXPECT_EQ(edit->HasSelection(), !row.selected.empty()) << row.what;
        EXPECT_EQ(TavGetClipboardText(), row.clipboard) << row.what;
        screen->RemoveObject(5);
    }
    // Pasted text is filtered as typed text is.
    const std::pair<int, std::string> pastes[] = {{0, "a!b\n\tc" + e + "\xFF\xE2\x82\xAC 1"},
                                                  {1, "1a!\n2" + e + "3"}};
    for (const auto& [numbersOnly, pasted] : pastes) {
        CTavEdit* edit = AddEdit("");
        edit->SetNumbersOnly(numbersOnly);
        TavSetClipboardText(pasted);
        Press({{'V', kC}});
        EXPECT_EQ(std::string(edit->GetText()), numbersOnly ? "123" : "abc" + e + " 1");
        screen->RemoveObject(5);
    }
}

// Pixels of the selection's colour in the edit, and of its text's white.
std::pair<int, int> SelectionPixels(CTavEdit* edit) {
    std::pair<int, int> count;
    for (int y = 0; y < edit->GetHeight(); ++y)
        for (int x = 0; x < edit->GetWidth(); ++x) {
            count.first += PixelAt(edit->GetImage(), x, y) == 0x3584E4;
            count.second += PixelAt(edit->GetImage(), x, y) == 0xFFFFFF;
        }
    return count;
}

TEST_F(EditTest, APressPlacesTheCaretTheSelectionShowsWhileFocusedAndModifiersAreKeptApart) {
    int a = 0;
    app.GetBackBuffer()->GetTextExtent("a", "Verdana", 0, 15, 0, &a, nullptr);
    CTavEdit* edit = AddEdit("aaaa\naaaa", 200, 60);
    edit->SetMultiline(TRUE);
    edit->SelectAll();
    const auto [highlight, white] = SelectionPixels(edit);
    EXPECT_GT(highlight, 8 * a * 10) << "both lines";
    EXPECT_GT(white, 8) << "the selected text";
    const int left = 10 + edit->GetTextOffsetX(), top = 10 + edit->GetTextOffsetY();
    // x, y; the caret: nearest boundary, on the second line, never after a line's break
    const std::array<int, 3> presses[] = {{left + 2 * a - a / 2 + 1, top + 1, 2},
                                          {left + 2 * a - a / 2 - 1, top + 1, 1},
                                          {left + 1, top + 16, 5},
                                          {left + 190, top + 1, 4},
                                          {left + 190, top + 59, 9}};
    for (const auto& [x, y, caret] : presses) {
        edit->SelectAll();
        Click(x, y);
        EXPECT_EQ(edit->GetCaretPosition(), caret) << x << "," << y;
        EXPECT_FALSE(edit->HasSelection());
    }
    edit->SelectAll();
    edit->SetFocus(FALSE);
    Frame(app, 20); // the blink redraws it
    EXPECT_EQ(SelectionPixels(edit).first, 0);
    // Held modifiers answer the key state query for the generic key and their own side only.
    const std::tuple<unsigned, int, bool> keys[] = {
        {platform::mod::kLControl, VK_CONTROL, true},  {platform::mod::kLControl, VK_RCONTROL, false},
        {platform::mod::kRControl, VK_RCONTROL, true}, {platform::mod::kRControl, VK_SHIFT, false},
        {platform::mod::kLAlt, VK_MENU, true},         {platform::mod::kRShift, VK_LSHIFT, false},
        {platform::mod::kRShift, VK_SHIFT, true},      {platform::mod::kAlt, 'A', false}};
    for (const auto& [held, key, down] : keys) {
        display->SetModifiers(held);
        EXPECT_EQ(GetAsyncKeyState(key) != 0, down) << held << " " << key;
    }
}

TEST_F(EditTest, MultiLineEditingKeepsTheStaticLayout) {
    CTavEdit* edit = AddEdit("The quick brown fox\njumps over\n\nthe lazy dog, twice.", 70, 200);
    edit->SetMultiline(TRUE);
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

TEST_F(EditTest, UpAndDownKeepTheColumnAndEndGoesToTheLastLine) {
    CTavEdit* edit = AddEdit("aaaa\naa\naaaaaa", 200, 100);
    edit->SetMultiline(TRUE);
    // caret, key (0 for none); the caret after it, its line and column
    const std::array<int, 5> rows[] = {{14, VK_UP, 7, 1, 2},   {7, VK_UP, 2, 0, 2},     {2, VK_DOWN, 7, 1, 2},
                                       {7, VK_DOWN, 10, 2, 2}, {10, VK_DOWN, 10, 2, 2}, {0, VK_UP, 0, 0, 0},
                                       {4, VK_END, 14, 2, 6},  {5, 0, 5, 1, 0},         {4, 0, 4, 0, 4}};
    for (const auto& [caret, key, expected, line, column] : rows) {
        edit->SetCaretPosition(caret);
        Press({static_cast<UINT>(key)});
        std::array<int, 3> at{edit->GetCaretPosition(), -1, -1};
        edit->GetCaretLineColumn(&at[1], &at[2]);
        EXPECT_EQ(at, (std::array{expected, line, column})) << caret << " key " << key;
    }
}

TEST_F(EditTest, SingleLineScrollsWithTheCaret) {
    CTavEdit* edit = AddEdit("", 60);
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
