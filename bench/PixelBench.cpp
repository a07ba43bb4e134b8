// Our pixel operations against memcpy of the same rows and against SDL2's software blitters, on the
// same 800x600 XRGB8888 picture.
#include "tavctrls/platform/PixelBuffer.h"
#include "tavctrls/platform/PixelKernels.h"

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <random>
#include <stdexcept>
#include <string>

namespace {

using tav::platform::PixelBuffer;
using tav::platform::PixelRect;

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr std::uint32_t kBlack = 0;

// A colourful gradient with black discs over about 30 % of it, the way sprites and masks look.
PixelBuffer Picture(int width, int height) {
    PixelBuffer picture;
    if (!picture.Allocate(width, height))
        throw std::runtime_error("cannot allocate");
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.Set(x, y,
                        static_cast<std::uint32_t>((x * 255 / width) << 16 | (y * 255 / height) << 8 |
                                                   (((x + y) & 127) + 1)));
    std::mt19937 random(7);
    std::int64_t black = 0;
    while (black * 10 < std::int64_t{width} * height * 3) {
        const int cx = static_cast<int>(random() % width), cy = static_cast<int>(random() % height);
        const int radius = static_cast<int>(random() % (width / 20)) + width / 40;
        for (int y = std::max(0, cy - radius); y < std::min(height, cy + radius); ++y)
            for (int x = std::max(0, cx - radius); x < std::min(width, cx + radius); ++x)
                if ((x - cx) * (x - cx) + (y - cy) * (y - cy) < radius * radius &&
                    picture.At(x, y) != kBlack) {
                    picture.Set(x, y, kBlack);
                    ++black;
                }
    }
    return picture;
}

// An XRGB8888 SDL surface holding `pixels`.
SDL_Surface* SurfaceOf(const PixelBuffer& pixels) {
    SDL_Surface* surface =
        SDL_CreateRGBSurfaceWithFormat(0, pixels.width(), pixels.height(), 32, SDL_PIXELFORMAT_RGB888);
    if (surface == nullptr)
        throw std::runtime_error(SDL_GetError());
    for (int y = 0; y < pixels.height(); ++y)
        std::memcpy(static_cast<std::uint8_t*>(surface->pixels) + std::ptrdiff_t{y} * surface->pitch,
                    pixels.Row(y), std::size_t(pixels.width()) * 4);
    return surface;
}

struct Surfaces {
    explicit Surfaces(int sourceWidth = kWidth, int sourceHeight = kHeight)
        : source(Picture(sourceWidth, sourceHeight)), dest(Picture(kWidth, kHeight)),
          sdlSource(SurfaceOf(source)), sdlDest(SurfaceOf(dest)) {}
    ~Surfaces() {
        SDL_FreeSurface(sdlSource);
        SDL_FreeSurface(sdlDest);
    }
    Surfaces(const Surfaces&) = delete;
    Surfaces& operator=(const Surfaces&) = delete;

    PixelBuffer source;
    PixelBuffer dest;
    SDL_Surface* sdlSource;
    SDL_Surface* sdlDest;
};

void CountBytes(benchmark::State& state, std::int64_t pixels) {
    state.SetBytesProcessed(state.iterations() * pixels * 4);
}

void Blit_Ours(benchmark::State& state) {
    Surfaces s;
    for (auto _ : state) {
        tav::platform::CopyRect(s.dest, 0, 0, s.source, s.source.Bounds());
        benchmark::ClobberMemory();
    }
    CountBytes(state, kWidth * kHeight);
}

// The row size is left to run time so that the C library's memcpy runs, not an inline expansion.
void Blit_ReferenceMemcpy(benchmark::State& state) {
    Surfaces s;
    for (auto _ : state) {
        for (int y = 0; y < s.source.height(); ++y)
            std::memcpy(s.dest.Row(y), s.source.Row(y), std::size_t(s.source.width()) * 4);
        benchmark::ClobberMemory();
    }
    CountBytes(state, kWidth * kHeight);
}

void Blit_ReferenceSdl(benchmark::State& state) {
    Surfaces s;
    for (auto _ : state)
        SDL_BlitSurface(s.sdlSource, nullptr, s.sdlDest, nullptr);
    CountBytes(state, kWidth * kHeight);
}

void Fill_Ours(benchmark::State& state) {
    Surfaces s;
    std::uint32_t colour = 0x00102030;
    for (auto _ : state) {
        tav::platform::FillRect(s.dest, s.dest.Bounds(), colour++);
        benchmark::ClobberMemory();
    }
    CountBytes(state, kWidth * kHeight);
}

void Fill_ReferenceMemcpy(benchmark::State& state) {
    Surfaces s;
    for (auto _ : state) {
        for (int y = 0; y < s.dest.height(); ++y)
            std::memcpy(s.dest.Row(y), s.source.Row(0), std::size_t(s.dest.width()) * 4);
        benchmark::ClobberMemory();
    }
    CountBytes(state, kWidth * kHeight);
}

void Fill_ReferenceSdl(benchmark::State& state) {
    Surfaces s;
    std::uint32_t colour = 0x00102030;
    for (auto _ : state)
        SDL_FillRect(s.sdlDest, nullptr, colour++);
    CountBytes(state, kWidth * kHeight);
}

void KeyedBlit_Ours(benchmark::State& state) {
    Surfaces s;
    for (auto _ : state) {
        tav::platform::CopyRectKeyed(s.dest, 0, 0, s.source, s.source.Bounds(), kBlack);
        benchmark::ClobberMemory();
    }
    CountBytes(state, kWidth * kHeight);
}

void KeyedBlit_ReferenceSdl(benchmark::State& state) {
    Surfaces s;
    SDL_SetColorKey(s.sdlSource, SDL_TRUE, kBlack);
    for (auto _ : state)
        SDL_BlitSurface(s.sdlSource, nullptr, s.sdlDest, nullptr);
    CountBytes(state, kWidth * kHeight);
}

void AlphaBlit_Ours(benchmark::State& state) {
    Surfaces s;
    for (auto _ : state) {
        tav::platform::BlendRect(s.dest, 0, 0, s.source, s.source.Bounds(), 128);
        benchmark::ClobberMemory();
    }
    CountBytes(state, kWidth * kHeight);
}

void AlphaBlit_ReferenceSdl(benchmark::State& state) {
    Surfaces s;
    SDL_SetSurfaceAlphaMod(s.sdlSource, 128);
    SDL_SetSurfaceBlendMode(s.sdlSource, SDL_BLENDMODE_BLEND);
    SDL_SetColorKey(s.sdlSource, SDL_TRUE, kBlack);
    for (auto _ : state)
        SDL_BlitSurface(s.sdlSource, nullptr, s.sdlDest, nullptr);
    CountBytes(state, kWidth * kHeight);
}

void StretchBlit_Ours(benchmark::State& state) {
    Surfaces s(kWidth / 2, kHeight / 2);
    for (auto _ : state) {
        tav::platform::StretchRect(s.dest, s.dest.Bounds(), s.source, s.source.Bounds());
        benchmark::ClobberMemory();
    }
    CountBytes(state, kWidth * kHeight);
}

void StretchBlit_ReferenceSdl(benchmark::State& state) {
    Surfaces s(kWidth / 2, kHeight / 2);
    SDL_Rect to{0, 0, kWidth, kHeight};
    for (auto _ : state)
        SDL_BlitScaled(s.sdlSource, nullptr, s.sdlDest, &to);
    CountBytes(state, kWidth * kHeight);
}

// Each kernel set on its own, to see what the vector code gains (no ratio is printed for these).
void Kernels(benchmark::State& state) {
    const auto set = static_cast<tav::platform::KernelSet>(state.range(0));
    const int operation = static_cast<int>(state.range(1));
    const tav::platform::KernelSet previous = tav::platform::ActiveKernelSet();
    if (!tav::platform::UseKernelSet(set)) {
        state.SkipWithError("not supported here");
        return;
    }
    state.SetLabel(std::string(tav::platform::ActiveKernels().name));
    Surfaces s;
    Surfaces small(kWidth / 2, kHeight / 2);
    for (auto _ : state) {
        switch (operation) {
        case 0:
            tav::platform::FillRect(s.dest, s.dest.Bounds(), 0x00123456);
            break;
        case 1:
            tav::platform::CopyRectKeyed(s.dest, 0, 0, s.source, s.source.Bounds(), kBlack);
            break;
        case 2:
            tav::platform::BlendRect(s.dest, 0, 0, s.source, s.source.Bounds(), 128);
            break;
        default:
            tav::platform::StretchRect(s.dest, s.dest.Bounds(), small.source, small.source.Bounds());
        }
        benchmark::ClobberMemory();
    }
    tav::platform::UseKernelSet(previous);
    CountBytes(state, kWidth * kHeight);
}

} // namespace

BENCHMARK(Blit_Ours);
BENCHMARK(Blit_ReferenceMemcpy);
BENCHMARK(Blit_ReferenceSdl);
BENCHMARK(Fill_Ours);
BENCHMARK(Fill_ReferenceMemcpy);
BENCHMARK(Fill_ReferenceSdl);
BENCHMARK(KeyedBlit_Ours);
BENCHMARK(KeyedBlit_ReferenceSdl);
BENCHMARK(AlphaBlit_Ours);
BENCHMARK(AlphaBlit_ReferenceSdl);
BENCHMARK(StretchBlit_Ours);
BENCHMARK(StretchBlit_ReferenceSdl);
// Sets: 0 scalar, 1 SSE2, 2 AVX2; operations: 0 fill, 1 keyed, 2 blend, 3 stretch.
BENCHMARK(Kernels)->ArgNames({"set", "operation"})->ArgsProduct({{0, 1, 2}, {0, 1, 2, 3}});
