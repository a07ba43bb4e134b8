#include "HeadlessApp.h"

#include <algorithm>
#include <tuple>

namespace tav::testing {
namespace {

using ControlsTest = ScreenAppTest<>;

TEST_F(ControlsTest, ButtonStatesFollowTheMouse) {
    CTavButton* button = AddButton(screen, 7, 10, 10); // 10..70 x 10..30
    // The state after each step (0 normal, 1 over, 2 down) and the clicks reported so far.
    const std::tuple<std::string, int, int, int, long> steps[] = {
        {"move", 20, 20, 1, 0}, {"move", 200, 200, 0, 0}, {"move", 20, 20, 1, 0},   {"down", 20, 20, 2, 0},
        {"move", 25, 20, 1, 0}, {"move", 200, 20, 0, 0},  {"up", 200, 20, 0, 0},    {"down", 20, 20, 2, 0},
        {"up", 20, 20, 1, 1},   {"down", 20, 20, 2, 1},   {"move", 300, 200, 0, 1}, {"up", 300, 200, 0, 1},
    };
    for (const auto& [what, x, y, state, clicks] : steps) {
        SCOPED_TRACE(what + " " + std::to_string(x) + "," + std::to_string(y));
        Queue(what, x, y);
        Frame(app);
        EXPECT_EQ(button->GetState(), state);
        EXPECT_EQ(std::count(screen->log.begin(), screen->log.end(), "button 7"), clicks);
    }
    CTavButton bad;
    EXPECT_EQ(bad.Initialize("x", 1, 0, 0, 0, 10, screen, "a", "b", "c"), TAVERROR_INVALIDARG);
    EXPECT_EQ(bad.Initialize("x", 1, 0, 0, 10, 10, screen, "a", "", "c"), TAVERROR_LOADBITMAP);
}

TEST_F(ControlsTest, FailedObjectsStaySafe) {
    auto* object = new CTavObject;
    EXPECT_EQ(object->Initialize(2, 0, 0, "missing.bmp", screen), TAVERROR_INVALIDARG);
    // Generated code adds it all the same: it draws nothing and can be finished twice.
    ASSERT_EQ(screen->AddObject(object), TAVERROR_OK);
    Frame(app, 2);
    object->Finish();
    object->Finish();
    EXPECT_EQ(object->Display(), -1);
    Frame(app);
    auto* button = new CTavButton;
    EXPECT_EQ(button->Initialize("x", 3, 0, 0, 10, 10, screen, "m1.bmp", "m2.bmp", "m3.bmp"), TAVERROR_OK);
    screen->AddObject(button);
    screen->LMouseDown(5, 5);
    screen->LMouseUp(5, 5);
    Frame(app);
    // A clone without screen never reaches for one.
    CTavObject* clone = button->Clone(nullptr, 0);
    EXPECT_EQ(clone->GetScreen(), nullptr);
    clone->SetPosition(4, 4);
    clone->OnLMouseUp(5, 5);
    clone->Display(app.GetBackBuffer());
    clone->Finish();
    delete clone;
}

TEST_F(ControlsTest, CheckBoxTogglesOnReleaseAndSpace) {
    CTavCheckBox* box = AddCheckBox(screen, 3, 10, 50, 120, 20);
    screen->LMouseDown(15, 55);
    EXPECT_FALSE(box->GetValue()); // the press itself does nothing
    screen->LMouseUp(15, 55);
    for (UINT key : {VK_SPACE, VK_RETURN, VK_SPACE}) // only space toggles
        screen->KeyDown(key);
    EXPECT_EQ(screen->log, (std::vector<std::string>{"objectdown 3", "check 3 1", "check 3 0", "check 3 1"}));
    CTavCheckBox bad;
    EXPECT_EQ(bad.Initialize("x", 4, 0, 0, 10, 10, screen, "", "b"), TAVERROR_LOADBITMAP);
}

TEST_F(ControlsTest, MultiLineStaticBreaksBetweenCharacters) {
    auto* text = new CTavStatic;
    ASSERT_EQ(text->Initialize("Incomprehensibilities", 5, 0, 0, 50, 100, screen), TAVERROR_OK);
    screen->AddObject(text);
    const auto& lines = text->GetLines();
    EXPECT_EQ(lines.size(), 1u);
    text->SetMultiline(TRUE);
    ASSERT_GT(lines.size(), 2u);
    std::string joined;
    for (const auto& line : lines) {
        int width = 0;
        text->GetImage()->GetTextExtent(line.c_str(), "Verdana", 0, 15, 0, &width, nullptr);
        EXPECT_LT(width, 45) << line;
        joined += line;
    }
    EXPECT_EQ(joined, "Incomprehensibilities");
    text->SetText("one\ntwo");
    EXPECT_EQ(lines, (std::vector<std::string>{"one ", "two"}));
    text->SetText("");
    EXPECT_EQ(lines, (std::vector<std::string>{""}));
    // A character of several bytes is never split across lines.
    text->SetText("\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9");
    for (const auto& line : lines)
        EXPECT_EQ(line.size() % 2, 0u) << line;
}

TEST_F(ControlsTest, HiddenObjectsAreNotHitOrDrawnButKeepMoving) {
    CTavObject* object = AddPlain(screen, 9, 0, 0, 10, 10);
    object->GetImage()->Fill(0xFFFFFF);
    object->SetVisible(FALSE);
    EXPECT_FALSE(object->HitTest(5, 5));
    object->SetSpeed(30, 0);
    display->SetFrameTime(1.0 / 60);
    Frame(app);
    EXPECT_EQ(display->LastFrame().At(5, 5), 0u);
    Frame(app, 5); // half a pixel each frame, placed on whole pixels
    EXPECT_NEAR(object->GetX(), 2.5f, 0.01f);
    EXPECT_LE(object->GetAppX(), object->GetX());
    EXPECT_GT(object->GetAppX(), object->GetX() - 1.0f);
    object->SetVisible(TRUE);
    Frame(app);
    EXPECT_EQ(display->LastFrame().At(5, 5), 0xFFFFFFu);
}

} // namespace
} // namespace tav::testing
