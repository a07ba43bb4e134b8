#include "HeadlessApp.h"

#include <array>
#include <tuple>

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
            if (interval > 0)
                EXPECT_EQ(Shown(id), previous) << name << ", half of step " << step;
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

} // namespace
} // namespace tav::testing
