#include "tavctrls/platform/Text.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

using namespace tav::platform;

// The library's default font and a typical caption of 20 characters.
constexpr std::string_view kText = "Tavrin Controls 2024";

struct Scene {
    PixelBuffer canvas;
    std::shared_ptr<const Font> font;

    Scene() : font(OpenFont({"Verdana", 0, 15, 0})) {
        if (!canvas.Allocate(800, 600) || font == nullptr)
            std::abort();
    }
};

// Text from the glyph cache (filled by the first iteration).
void DrawText20_Ours(benchmark::State& state) {
    Scene scene;
    int row = 0;
    for (auto _ : state) {
        DrawText(scene.canvas, *scene.font, 100, row, 0x00FFFFFF, kText);
        row = (row + 15) % 585;
        benchmark::ClobberMemory();
    }
}
BENCHMARK(DrawText20_Ours);

// The same text with every glyph loaded and rendered by FreeType each time.
void DrawText20_ReferenceUncached(benchmark::State& state) {
    Scene scene;
    int row = 0;
    for (auto _ : state) {
        DrawTextUncached(scene.canvas, *scene.font, 100, row, 0x00FFFFFF, kText);
        row = (row + 15) % 585;
        benchmark::ClobberMemory();
    }
}
BENCHMARK(DrawText20_ReferenceUncached);

} // namespace
