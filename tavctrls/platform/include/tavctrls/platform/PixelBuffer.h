#pragma once

#include <array>
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
    bool Meets(const PixelRect& other) const {
        return left < other.right && other.left < right && top < other.bottom && other.top < bottom;
    }
    bool Contains(const PixelRect& other) const {
        return other.Empty() ||
               (left <= other.left && top <= other.top && other.right <= right && other.bottom <= bottom);
    }
    bool operator==(const PixelRect&) const = default;
};

// Where both meet (empty when they do not), and the smallest rectangle holding both.
PixelRect Intersection(const PixelRect& a, const PixelRect& b);
PixelRect Union(const PixelRect& a, const PixelRect& b);

// A few rectangles covering an area of a surface (what changed, what to redraw). When more are added
// than it holds, the two whose union grows least are merged: the area only ever grows.
class DirtyRegion {
public:
    static constexpr int kMaxRects = 8;

    void Add(const PixelRect& rect);
    void Add(const DirtyRegion& other);
    void Clear() { count_ = 0; }
    bool Empty() const { return count_ == 0; }
    int Count() const { return count_; }
    const PixelRect* begin() const { return rects_.data(); }
    const PixelRect* end() const { return rects_.data() + count_; }
    PixelRect Bounds() const;
    bool Meets(const PixelRect& rect) const;
    // True when every pixel of `rect` lies in the region.
    bool Covers(const PixelRect& rect) const;
    void Translate(int dx, int dy);
    void ClipTo(const PixelRect& bounds);

private:
    bool CoversFrom(const PixelRect& rect, int first) const;

    std::array<PixelRect, kMaxRects> rects_{};
    int count_ = 0;
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

    // Everything the drawing operations below wrote since the damage was last taken.
    const DirtyRegion& Damage() const { return damage_; }
    DirtyRegion TakeDamage();
    void AddDamage(const PixelRect& rect) { damage_.Add(Intersection(rect, Bounds())); }
    // The drawing operations draw only inside the clip (the whole buffer when none is set), exactly the
    // pixels they would draw there without it.
    void SetClip(const DirtyRegion& clip);
    void ClearClip() { clipped_ = false; }
    // The clip's pieces: rectangles inside the buffer that do not overlap.
    int ClipCount() const { return clipped_ ? clipCount_ : 1; }
    // Calls `draw` with every non-empty part of `rect` inside a piece of the clip.
    template <typename Draw>
    void ForEachClipped(const PixelRect& rect, Draw&& draw) const {
        if (!clipped_) {
            if (const PixelRect part = Intersection(rect, Bounds()); !part.Empty())
                draw(part);
            return;
        }
        for (int i = 0; i < clipCount_; ++i)
            if (const PixelRect part = Intersection(rect, clipRects_[i]); !part.Empty())
                draw(part);
    }
    // The bounds of everything the drawing operations were asked to draw inside the buffer, clip or not:
    // where a piece of drawing reaches is measured by clearing this before and reading it after.
    PixelRect& Reach() { return reach_; }
    // Records an operation on `rect` (inside the buffer): its reach, and its parts inside the clip as damage.
    void Touch(const PixelRect& rect);

private:
    static constexpr int kMaxClipRects = 64;

    DirtyRegion damage_;
    bool clipped_ = false;
    int clipCount_ = 0;
    std::array<PixelRect, kMaxClipRects> clipRects_{};
    PixelRect reach_;
    std::unique_ptr<std::uint32_t[]> pixels_;
    int width_ = 0;
    int height_ = 0;
};

// The pixel operations surfaces are drawn with. Each takes rectangles that the caller has already
// clipped to the buffers; a rectangle that is empty or not inside its buffer draws nothing and gives
// false. They draw only inside the destination's clip and record what they drew as its damage.

// Fills `rect` of `dest` with `pixel`.
bool FillRect(PixelBuffer& dest, const PixelRect& rect, std::uint32_t pixel);

// Copies `from` of `source` to (x, y) of `dest`.
bool CopyRect(PixelBuffer& dest, int x, int y, const PixelBuffer& source, const PixelRect& from);

// The same, skipping source pixels whose colour (the low 24 bits) equals that of `key`.
bool CopyRectKeyed(PixelBuffer& dest, int x, int y, const PixelBuffer& source, const PixelRect& from,
                   std::uint32_t key);

// Scales `from` of `source` into `to` of `dest` (nearest pixel).
bool StretchRect(PixelBuffer& dest, const PixelRect& to, const PixelBuffer& source, const PixelRect& from);
// The same for a `to` that may reach outside `dest`: the part of the scaled picture inside is drawn.
bool StretchRectPart(PixelBuffer& dest, const PixelRect& to, const PixelBuffer& source,
                     const PixelRect& from);

// Blends `from` of `source` onto (x, y) of `dest`: every channel becomes d + (s - d) * alpha / 256
// (the division truncating toward zero), alpha clamped to 0..256. Source pixels whose colour is 0
// (black) leave the destination as it is.
bool BlendRect(PixelBuffer& dest, int x, int y, const PixelBuffer& source, const PixelRect& from, int alpha);

// Copies the pixels of `region` from `source` to the same places of `dest` (where both have them).
void CopyRegion(PixelBuffer& dest, const PixelBuffer& source, const DirtyRegion& region);

} // namespace tav::platform
