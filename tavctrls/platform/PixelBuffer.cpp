#include "tavctrls/platform/PixelBuffer.h"

#include "tavctrls/platform/PixelKernels.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

namespace tav::platform {

namespace {

constexpr std::uint32_t kColourBits = 0x00FFFFFF;

// The destination rectangle of a copy of `from` to (x, y), if both lie inside their buffers.
bool CopyFits(const PixelBuffer& dest, int x, int y, const PixelBuffer& source, const PixelRect& from) {
    return source.Holds(from) && dest.Holds({x, y, x + from.Width(), y + from.Height()});
}

bool Overlap(const PixelRect& a, const PixelRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// The source to read from: `source` itself, or, when `from` overlaps `to` in the same buffer, a copy of
// `from` made in `copy`, so that every pixel is read before it is written.
const PixelBuffer& Separate(PixelBuffer& copy, const PixelBuffer& dest, const PixelRect& to,
                            const PixelBuffer& source, const PixelRect& from) {
    if (&dest != &source || !Overlap(to, from) || !copy.Allocate(from.Width(), from.Height()))
        return source;
    CopyRect(copy, 0, 0, source, from);
    return copy;
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

bool PixelBuffer::CopyFrom(const PixelBuffer& other) {
    if (other.Empty()) {
        Reset();
        return true;
    }
    const std::size_t count = std::size_t(other.width_) * other.height_;
    std::unique_ptr<std::uint32_t[]> pixels(new (std::nothrow) std::uint32_t[count]);
    if (pixels == nullptr)
        return false;
    std::memcpy(pixels.get(), other.pixels_.get(), count * sizeof(std::uint32_t));
    pixels_ = std::move(pixels);
    width_ = other.width_;
    height_ = other.height_;
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
    const RowKernels& kernels = ActiveKernels();
    for (int y = rect.top; y < rect.bottom; ++y)
        kernels.fill(dest.Row(y) + rect.left, rect.Width(), pixel);
    return true;
}

bool CopyRect(PixelBuffer& dest, int x, int y, const PixelBuffer& source, const PixelRect& from) {
    if (!CopyFits(dest, x, y, source, from))
        return false;
    const std::size_t bytes = std::size_t(from.Width()) * sizeof(std::uint32_t);
    if (&dest != &source) {
        for (int row = 0; row < from.Height(); ++row)
            std::memcpy(dest.Row(y + row) + x, source.Row(from.top + row) + from.left, bytes);
        return true;
    }
    // A buffer copied onto itself lower down is copied from the bottom up, so that no row is
    // overwritten before it is read; memmove takes care of overlap within a row.
    const bool upwards = y > from.top;
    for (int i = 0; i < from.Height(); ++i) {
        const int row = upwards ? from.Height() - 1 - i : i;
        std::memmove(dest.Row(y + row) + x, source.Row(from.top + row) + from.left, bytes);
    }
    return true;
}

bool CopyRectKeyed(PixelBuffer& dest, int x, int y, const PixelBuffer& source, const PixelRect& from,
                   std::uint32_t key) {
    if (!CopyFits(dest, x, y, source, from))
        return false;
    PixelBuffer copy;
    const PixelBuffer& input =
        Separate(copy, dest, {x, y, x + from.Width(), y + from.Height()}, source, from);
    const PixelRect in = &input == &source ? from : input.Bounds();
    const RowKernels& kernels = ActiveKernels();
    key &= kColourBits;
    for (int row = 0; row < in.Height(); ++row)
        kernels.copyKeyed(dest.Row(y + row) + x, input.Row(in.top + row) + in.left, in.Width(), key);
    return true;
}

bool StretchRect(PixelBuffer& dest, const PixelRect& to, const PixelBuffer& source, const PixelRect& from) {
    if (!dest.Holds(to) || !source.Holds(from))
        return false;
    PixelBuffer copy;
    const PixelBuffer& input = Separate(copy, dest, to, source, from);
    const PixelRect in = &input == &source ? from : input.Bounds();
    // Fixed point 16.16 steps through the source; the centre of each destination pixel is sampled.
    const std::int64_t stepX = (std::int64_t{in.Width()} << 16) / to.Width();
    const std::int64_t stepY = (std::int64_t{in.Height()} << 16) / to.Height();
    std::vector<std::int32_t> columns(static_cast<std::size_t>(to.Width()));
    std::int64_t sx = stepX / 2;
    for (std::int32_t& column : columns) {
        column = static_cast<std::int32_t>(sx >> 16);
        sx += stepX;
    }
    const RowKernels& kernels = ActiveKernels();
    const std::size_t bytes = columns.size() * sizeof(std::uint32_t);
    std::int64_t sy = stepY / 2;
    int lastRow = -1;
    for (int y = to.top; y < to.bottom; ++y, sy += stepY) {
        const int row = static_cast<int>(sy >> 16);
        std::uint32_t* out = dest.Row(y) + to.left;
        // Enlarging repeats source rows: the row just made is copied rather than sampled again.
        if (row == lastRow)
            std::memcpy(out, dest.Row(y - 1) + to.left, bytes);
        else
            kernels.gather(out, input.Row(in.top + row) + in.left, columns.data(), to.Width());
        lastRow = row;
    }
    return true;
}

bool BlendRect(PixelBuffer& dest, int x, int y, const PixelBuffer& source, const PixelRect& from, int alpha) {
    if (!CopyFits(dest, x, y, source, from))
        return false;
    alpha = std::clamp(alpha, 0, 256);
    if (alpha == 0)
        return true;
    PixelBuffer copy;
    const PixelBuffer& input =
        Separate(copy, dest, {x, y, x + from.Width(), y + from.Height()}, source, from);
    const PixelRect in = &input == &source ? from : input.Bounds();
    const RowKernels& kernels = ActiveKernels();
    for (int row = 0; row < in.Height(); ++row)
        kernels.blend(dest.Row(y + row) + x, input.Row(in.top + row) + in.left, in.Width(), alpha);
    return true;
}

} // namespace tav::platform
