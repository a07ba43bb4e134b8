#include "HeadlessApp.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace tav::testing {
namespace {

using ControlsTest = ScreenAppTest<>;

TEST_F(ControlsTest, ButtonStatesFollowTheMouse) {
    CTavButton* button = AddButton(screen, 7, 10, 10); // 10..70 x 10..30
    struct Step {
        const char* what;
        int x, y;
        int state;
        long clicks;
    };
    const Step steps[] = {
        {"move", 20, 20, 1, 0}, {"move", 200, 200, 0, 0}, {"move", 20, 20, 1, 0},   {"down", 20, 20, 2, 0},
        {"move", 25, 20, 1, 0}, {"move", 200, 20, 0, 0},  {"up", 200, 20, 0, 0},    {"down", 20, 20, 2, 0},
        {"up", 20, 20, 1, 1},   {"down", 20, 20, 2, 1},   {"move", 300, 200, 0, 1}, {"up", 300, 200, 0, 1},
    };
    for (const Step& step : steps) {
        const std::string what = step.what;
        if (what == "move")
            screen->MouseMove(step.x, step.y);
        else if (what == "down")
            screen->LMouseDown(step.x, step.y);
        else
            screen->LMouseUp(step.x, step.y);
        EXPECT_EQ(button->GetState(), step.state) << what << " " << step.x << "," << step.y;
        EXPECT_EQ(std::count(screen->log.begin(), screen->log.end(), "button 7"), step.clicks)
            << what << " " << step.x << "," << step.y;
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

} // namespace
} // namespace tav::testing
