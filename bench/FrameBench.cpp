// The cost of a frame of the hello example against clearing and copying one buffer of its size.
#include "examples/hello/HelloScreens.h"
#include "tavctrls/platform/Display.h"
#include "tavctrls/platform/PixelBuffer.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <unistd.h>

namespace {

// A display that shows nothing, so that only the library's own work is measured.
class NullDisplay : public tav::platform::Display {
public:
    bool Open(const tav::platform::DisplaySettings&, std::string*) override { return true; }
    bool PeekMessage(tav::platform::WindowMessage&) override { return false; }
    void WaitMessage() override {}
    void Present(const tav::platform::PixelBuffer& frame, const tav::platform::DirtyRegion& changed,
                 bool) override {
        benchmark::DoNotOptimize(frame.At(0, 0));
        benchmark::DoNotOptimize(changed.Count());
    }
    std::uint64_t Counter() override { return ticks_ += 1000000 / 60; }
    std::uint64_t Frequency() override { return 1000000; }
    void ShowMessageBox(const std::string&, const std::string&) override {}

private:
    std::uint64_t ticks_ = 0;
};

void RunFrames(benchmark::State& state, bool moving, int width = 800, int height = 600) {
    if (::chdir(TAV_SOURCE_DIR) != 0) {
        state.SkipWithError("cannot find the art folder");
        return;
    }
    tav::platform::SetNextDisplay(std::make_unique<NullDisplay>());
    CTavApp app;
    if (app.doInit(nullptr, 1, "Bench", TAVAPP_WINDOW, width, height, 0, 0, 32) != TAVERROR_OK) {
        state.SkipWithError("doInit failed");
        return;
    }
    auto* screen = new HelloScreen;
    screen->Initialize(0);
    app.SetChildScreen(screen);
    app.SetShowFrameRate(TRUE);
    CTavObject* ball = nullptr;
    if (moving) {
        ball = new CTavObject;
        ball->Initialize(100, 0, 300, "art/checkyes.bmp", 32, 32, screen);
        ball->SetSpeed(120, 0);
        screen->AddObject(ball);
    }
    for (int i = 0; i < 3; ++i)
        app.UpdateFrame();
    for (auto _ : state) {
        app.UpdateFrame();
        // The ball starts again at the left before it leaves the screen.
        if (ball != nullptr && ball->GetX() > static_cast<float>(width - 64))
            ball->SetPosition(0, 300);
    }
}

void FrameUnchanged_Ours(benchmark::State& state) {
    RunFrames(state, false);
}
void FrameMoving_Ours(benchmark::State& state) {
    RunFrames(state, true);
}
void FrameMovingLarge_Ours(benchmark::State& state) {
    RunFrames(state, true, 1920, 1080);
}

void ClearAndCopy(benchmark::State& state, int width = 800, int height = 600) {
    tav::platform::PixelBuffer back, screen;
    back.Allocate(width, height);
    screen.Allocate(width, height);
    const std::size_t bytes = std::size_t(width) * height * 4;
    for (auto _ : state) {
        std::memset(back.Row(0), 0, bytes);
        std::memcpy(back.Row(0), screen.Row(0), bytes);
        benchmark::ClobberMemory();
    }
}

void FrameUnchanged_ReferenceClearCopy(benchmark::State& state) {
    ClearAndCopy(state);
}
void FrameMoving_ReferenceClearCopy(benchmark::State& state) {
    ClearAndCopy(state);
}
void FrameMovingLarge_ReferenceClearCopy(benchmark::State& state) {
    ClearAndCopy(state, 1920, 1080);
}

BENCHMARK(FrameUnchanged_Ours);
BENCHMARK(FrameUnchanged_ReferenceClearCopy);
BENCHMARK(FrameMoving_Ours);
BENCHMARK(FrameMoving_ReferenceClearCopy);
BENCHMARK(FrameMovingLarge_Ours);
BENCHMARK(FrameMovingLarge_ReferenceClearCopy);

} // namespace
