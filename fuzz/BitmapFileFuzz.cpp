// Feeds arbitrary bytes to the bitmap decoder: it must never crash, whatever it accepts must be of a sane
// size, and when SDL reads the same file too the pixels must be the ones SDL gives.
#include "tavctrls/platform/BitmapFile.h"

#include <SDL.h>

#include <cstdint>
#include <cstdlib>

namespace {

using tav::platform::PixelBuffer;

// False when SDL reads the file and its pixels (as XRGB8888) differ from `ours`.
bool SameAsSdl(const std::uint8_t* data, std::size_t size, const PixelBuffer& ours) {
    SDL_Surface* read = SDL_LoadBMP_RW(SDL_RWFromConstMem(data, static_cast<int>(size)), 1);
    SDL_Surface* surface =
        read != nullptr ? SDL_ConvertSurfaceFormat(read, SDL_PIXELFORMAT_XRGB8888, 0) : nullptr;
    SDL_FreeSurface(read);
    bool same = true;
    if (surface != nullptr) {
        same = surface->w == ours.width() && surface->h == ours.height();
        for (int y = 0; same && y < surface->h; ++y) {
            const auto* row = static_cast<const std::uint32_t*>(surface->pixels) + y * (surface->pitch / 4);
            for (int x = 0; x < surface->w; ++x)
                same = same && (row[x] & 0xFFFFFF) == ours.At(x, y);
        }
    }
    SDL_FreeSurface(surface);
    return same;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    PixelBuffer pixels;
    if (!tav::platform::DecodeBitmap(data, size, pixels))
        return 0;
    if (pixels.Empty() || pixels.width() > tav::platform::kMaxBitmapSide ||
        pixels.height() > tav::platform::kMaxBitmapSide ||
        std::int64_t{pixels.width()} * pixels.height() > tav::platform::kMaxBitmapPixels)
        std::abort();
    // Only files we accept reach SDL, which is not built for fuzzing.
    if (size <= INT32_MAX && !SameAsSdl(data, size, pixels))
        std::abort();
    return 0;
}
