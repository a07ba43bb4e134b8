#pragma once

#include <cstdint>
#include <memory>

namespace tav::platform {

// A rectangle of pixels, right and bottom exclusive.
struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool Empty() const { return right <= left || bottom <= top; }
};

// Pixels of one surface in memory: 32-bit XRGB8888 values (0x00RRGGBB), row after row.
class PixelBuffer {
public:
    // Larger surfaces are refused rather than allocated: no display needs them.
    static constexpr int kMaxSide = 32767;
    static constexpr std::int64_t kMaxPixels = std::int64_t{1} << 26;

    PixelBuffer() = default;

    // Gives the buffer a new size, every pixel 0. A side below 1 or an absurd size gives false and
    // leaves the buffer as it was, without allocating.
    bool Allocate(int width, int height);
    void Reset();
    // Becomes a copy of `other` (false, unchanged, when the memory cannot be had).
    bool CopyFrom(const PixelBuffer& other);

    int width() const { return width_; }
    int height() const { return height_; }
    bool Empty() const { return pixels_ == nullptr; }
    PixelRect Bounds() const { return {0, 0, width_, height_}; }
    // True when `rect` is not empty and lies wholly inside the buffer.
    bool Holds(const PixelRect& rect) const;

    std::uint32_t* Row(int y) { return pixels_.get() + static_cast<std::ptrdiff_t>(y) * width_; }
    const std::uint32_t* Row(int y) const { return pixels_.get() + static_cast<std::ptrdiff_t>(y) * width_; }
    std::uint32_t At(int x, int y) const { return Row(y)[x]; }
    void Set(int x, int y, std::uint32_t pixel) { Row(y)[x] = pixel; }

private:
    std::unique_ptr<std::uint32_t[]> pixels_;
    int width_ = 0;
    int height_ = 0;
};

// The pixel operations surfaces are drawn with. Each takes rectangles that the caller has already
// clipped; a rectangle that is empty or not inside its buffer draws nothing and gives false.

// Fills `rect` of `dest` with `pixel`.
bool FillRect(PixelBuffer& dest, const PixelRect& rect, std::uint32_t pixel);

// Copies `from` of `source` to (x, y) of `dest`.
bool CopyRect(PixelBuffer& dest, int x, int y, const PixelBuffer& source, const PixelRect& from);

// The same, skipping source pixels whose colour (the low 24 bits) equals that of `key`.
bool CopyRectKeyed(PixelBuffer& dest, int x, int y, const PixelBuffer& source, const PixelRect& from,
                   std::uint32_t key);

// Scales `from` of `source` into `to` of `dest` (nearest pixel).
bool StretchRect(PixelBuffer& dest, const PixelRect& to, const PixelBuffer& source, const PixelRect& from);

// Blends `from` of `source` onto (x, y) of `dest`: every channel becomes d + (s - d) * alpha / 256
// (the division truncating toward zero), alpha clamped to 0..256. Source pixels whose colour is 0
// (black) leave the destination as it is.
bool BlendRect(PixelBuffer& dest, int x, int y, const PixelBuffer& source, const PixelRect& from, int alpha);

} // namespace tav::platform
