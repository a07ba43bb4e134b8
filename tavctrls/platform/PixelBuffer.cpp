#include "PixelBuffer.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace tav::platform {

namespace {

constexpr std::uint32_t kColourBits = 0x00FFFFFF;

// The destination rectangle of a copy of `from` to (x, y), if both lie inside their buffers.
bool CopyFits(const PixelBuffer& dest, int x, int y, const PixelBuffer& source, const PixelRect& from) {
    return source.Holds(from) && dest.Holds({x, y, x + from.Width(), y + from.Height()});
}

std::uint32_t BlendChannel(std::uint32_t d, std::uint32_t s, int alpha) {
    const int channel = static_cast<int>(d) + (static_cast<int>(s) - static_cast<int>(d)) * alpha / 256;
    return static_cast<std::uint32_t>(channel);
}

} // namespace

bool PixelBuffer::Allocate(int width, int height) {
    if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide ||
        std::int64_t{width} * height > kMaxPixels)
        return false;
    std::unique_ptr<std::uint32_t[]> pixels(new (std::nothrow) std::uint32_t[std::size_t(width) * height]());
    if (pixels == nullptr)
        return false;
    pixels_ = std::move(pixels);
    width_ = width;
    height_ = height;
    return true;
}

void PixelBuffer::Reset() {
    pixels_.reset();
    width_ = height_ = 0;
}

bool PixelBuffer::Holds(const PixelRect& rect) const {
    return !Empty() && !rect.Empty() && rect.left >= 0 && rect.top >= 0 && rect.right <= width_ &&
           rect.bottom <= height_;
}

bool FillRect(PixelBuffer& dest, const PixelRect& rect, std::uint32_t pixel) {
    if (!dest.Holds(rect))
        return false;
    for (int y = rect.top; y < rect.bottom; ++y)
        std::fill(dest.Row(y) + rect.left, dest.Row(y) + rect.right, pixel);
    return true;
}

bool CopyRect(PixelBuffer& dest, int x, int y, const PixelBuffer& source, const PixelRect& from) {
    if (!CopyFits(dest, x, y, source, from))
        return false;
    const std::size_t bytes = std::size_t(from.Width()) * sizeof(std::uint32_t);
    // memmove: a buffer may be copied onto itself.
    for (int row = 0; row < from.Height(); ++row)
        std::memmove(dest.Row(y + row) + x, source.Row(from.top + row) + from.left, bytes);
    return true;
}

bool CopyRectKeyed(PixelBuffer& dest, int x, int y, const PixelBuffer& source, const PixelRect& from,
                   std::uint32_t key) {
    if (!CopyFits(dest, x, y, source, from))
        return false;
    key &= kColourBits;
    const int width = from.Width();
    for (int row = 0; row < from.Height(); ++row) {
        const std::uint32_t* in = source.Row(from.top + row) + from.left;
        std::uint32_t* out = dest.Row(y + row) + x;
        for (int i = 0; i < width; ++i)
            if ((in[i] & kColourBits) != key)
                out[i] = in[i];
    }
    return true;
}

bool StretchRect(PixelBuffer& dest, const PixelRect& to, const PixelBuffer& source, const PixelRect& from) {
    if (!dest.Holds(to) || !source.Holds(from))
        return false;
    // Fixed point 16.16 steps through the source; the centre of each destination pixel is sampled.
    const std::int64_t stepX = (std::int64_t{from.Width()} << 16) / to.Width();
    const std::int64_t stepY = (std::int64_t{from.Height()} << 16) / to.Height();
    std::int64_t sy = stepY / 2;
    for (int y = to.top; y < to.bottom; ++y, sy += stepY) {
        const std::uint32_t* in = source.Row(from.top + static_cast<int>(sy >> 16)) + from.left;
        std::uint32_t* out = dest.Row(y);
        std::int64_t sx = stepX / 2;
        for (int x = to.left; x < to.right; ++x, sx += stepX)
            out[x] = in[sx >> 16];
    }
    return true;
}

bool BlendRect(PixelBuffer& dest, int x, int y, const PixelBuffer& source, const PixelRect& from, int alpha) {
    if (!CopyFits(dest, x, y, source, from))
        return false;
    alpha = std::clamp(alpha, 0, 256);
    const int width = from.Width();
    for (int row = 0; row < from.Height(); ++row) {
        const std::uint32_t* in = source.Row(from.top + row) + from.left;
        std::uint32_t* out = dest.Row(y + row) + x;
        for (int i = 0; i < width; ++i) {
            const std::uint32_t s = in[i];
            if ((s & kColourBits) == 0)
                continue;
            const std::uint32_t d = out[i];
            out[i] = (d & ~kColourBits) | BlendChannel(d >> 16 & 0xFF, s >> 16 & 0xFF, alpha) << 16 |
                     BlendChannel(d >> 8 & 0xFF, s >> 8 & 0xFF, alpha) << 8 |
                     BlendChannel(d & 0xFF, s & 0xFF, alpha);
        }
    }
    return true;
}

} // namespace tav::platform
