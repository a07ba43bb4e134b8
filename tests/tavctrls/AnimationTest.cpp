#include "HeadlessApp.h"

#include <tuple>

namespace tav::testing {
namespace {

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
