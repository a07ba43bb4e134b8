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
    return a.Meets(b);
}

std::int64_t Area(const PixelRect& r) {
    return r.Empty() ? 0 : std::int64_t{r.Width()} * r.Height();
}

// Narrows a copy of `from` to (x, y) to the part whose destination lies in `visible`.
void NarrowCopy(int& x, int& y, PixelRect& from, const PixelRect& visible) {
    from.left += visible.left - x;
    from.top += visible.top - y;
    from.right = from.left + visible.Width();
    from.bottom = from.top + visible.Height();
    x = visible.left;
    y = visible.top;
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

PixelRect Intersection(const PixelRect& a, const PixelRect& b) {
    const PixelRect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                      std::min(a.bottom, b.bottom)};
    return r.Empty() ? PixelRect{} : r;
}

PixelRect Union(const PixelRect& a, const PixelRect& b) {
    if (a.Empty())
        return b.Empty() ? PixelRect{} : b;
    if (b.Empty())
        return a;
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

void DirtyRegion::Add(const PixelRect& rect) {
    if (rect.Empty())
        return;
    PixelRect added = rect;
    for (;;) {
        int kept = 0;
        for (int i = 0; i < count_; ++i) {
            if (rects_[i].Contains(added))
                return;
            if (!added.Contains(rects_[i]))
                rects_[kept++] = rects_[i];
        }
        count_ = kept;
        if (count_ < kMaxRects) {
            rects_[count_++] = added;
            return;
        }
        // Full: the new rectangle joins the one whose union with it grows least, and that union is added.
        int best = 0;
        std::int64_t bestGrowth = INT64_MAX;
        for (int i = 0; i < count_; ++i) {
            const std::int64_t growth = Area(Union(rects_[i], added)) - Area(rects_[i]) - Area(added);
            if (growth < bestGrowth) {
                bestGrowth = growth;
                best = i;
            }
        }
        added = Union(rects_[best], added);
        rects_[best] = rects_[--count_];
    }
}

void DirtyRegion::Add(const DirtyRegion& other) {
    for (const PixelRect& rect : other)
        Add(rect);
}

PixelRect DirtyRegion::Bounds() const {
    PixelRect bounds;
    for (const PixelRect& rect : *this)
        bounds = Union(bounds, rect);
    return bounds;
}

bool DirtyRegion::Meets(const PixelRect& rect) const {
    return std::any_of(begin(), end(), [&rect](const PixelRect& r) { return r.Meets(rect); });
}

bool DirtyRegion::Covers(const PixelRect& rect) const {
    return CoversFrom(rect, 0);
}

bool DirtyRegion::CoversFrom(const PixelRect& rect, int first) const {
    if (rect.Empty())
        return true;
    for (int i = first; i < count_; ++i) {
        const PixelRect& r = rects_[i];
        if (!r.Meets(rect))
            continue;
        // What r leaves of `rect`: above, below, left and right of it.
        const PixelRect pieces[] = {
            {rect.left, rect.top, rect.right, r.top},
            {rect.left, r.bottom, rect.right, rect.bottom},
            {rect.left, std::max(rect.top, r.top), r.left, std::min(rect.bottom, r.bottom)},
            {r.right, std::max(rect.top, r.top), rect.right, std::min(rect.bottom, r.bottom)}};
        return std::all_of(std::begin(pieces), std::end(pieces),
                           [this, i](const PixelRect& piece) { return CoversFrom(piece, i + 1); });
    }
    return false;
}

void DirtyRegion::Translate(int dx, int dy) {
    for (int i = 0; i < count_; ++i)
        rects_[i] = {rects_[i].left + dx, rects_[i].top + dy, rects_[i].right + dx, rects_[i].bottom + dy};
}

void DirtyRegion::ClipTo(const PixelRect& bounds) {
    DirtyRegion clipped;
    for (const PixelRect& rect : *this)
        clipped.Add(Intersection(rect, bounds));
    *this = clipped;
}

DirtyRegion PixelBuffer::TakeDamage() {
    DirtyRegion taken = damage_;
    damage_.Clear();
    return taken;
}

PixelRect PixelBuffer::Touch(const PixelRect& rect) {
    reach_ = Union(reach_, rect);
    const PixelRect visible = Intersection(rect, Clip());
    damage_.Add(visible);
    return visible;
}

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
    damage_.Add(Bounds());
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
    damage_.Add(Bounds());
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

bool FillRect(PixelBuffer& dest, const PixelRect& whole, std::uint32_t pixel) {
    if (!dest.Holds(whole))
        return false;
    const PixelRect rect = dest.Touch(whole);
    const RowKernels& kernels = ActiveKernels();
    for (int y = rect.top; y < rect.bottom; ++y)
        kernels.fill(dest.Row(y) + rect.left, rect.Width(), pixel);
    return true;
}

bool CopyRect(PixelBuffer& dest, int x, int y, const PixelBuffer& source, const PixelRect& whole) {
    if (!CopyFits(dest, x, y, source, whole))
        return false;
    PixelRect from = whole;
    const PixelRect visible = dest.Touch({x, y, x + from.Width(), y + from.Height()});
    if (visible.Empty())
        return true;
    NarrowCopy(x, y, from, visible);
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

bool CopyRectKeyed(PixelBuffer& dest, int x, int y, const PixelBuffer& source, const PixelRect& whole,
                   std::uint32_t key) {
    if (!CopyFits(dest, x, y, source, whole))
        return false;
    PixelRect from = whole;
    const PixelRect visible = dest.Touch({x, y, x + from.Width(), y + from.Height()});
    if (visible.Empty())
        return true;
    NarrowCopy(x, y, from, visible);
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
    return dest.Holds(to) && StretchRectPart(dest, to, source, from);
}

bool StretchRectPart(PixelBuffer& dest, const PixelRect& to, const PixelBuffer& source,
                     const PixelRect& from) {
    if (to.Empty() || !source.Holds(from) || dest.Empty())
        return false;
    const PixelRect inside = Intersection(to, dest.Bounds());
    if (inside.Empty())
        return false;
    const PixelRect visible = dest.Touch(inside);
    if (visible.Empty())
        return true;
    PixelBuffer copy;
    const PixelBuffer& input = Separate(copy, dest, visible, source, from);
    const PixelRect in = &input == &source ? from : input.Bounds();
    // Fixed point 16.16 steps through the source; the centre of each destination pixel of `to` is
    // sampled, whatever part of it is drawn.
    const std::int64_t stepX = (std::int64_t{in.Width()} << 16) / to.Width();
    const std::int64_t stepY = (std::int64_t{in.Height()} << 16) / to.Height();
    std::vector<std::int32_t> columns(static_cast<std::size_t>(visible.Width()));
    std::int64_t sx = stepX / 2 + stepX * (visible.left - to.left);
    for (std::int32_t& column : columns) {
        column = static_cast<std::int32_t>(sx >> 16);
        sx += stepX;
    }
    const RowKernels& kernels = ActiveKernels();
    const std::size_t bytes = columns.size() * sizeof(std::uint32_t);
    std::int64_t sy = stepY / 2 + stepY * (visible.top - to.top);
    int lastRow = -1;
    for (int y = visible.top; y < visible.bottom; ++y, sy += stepY) {
        const int row = static_cast<int>(sy >> 16);
        std::uint32_t* out = dest.Row(y) + visible.left;
        // Enlarging repeats source rows: the row just made is copied rather than sampled again.
        if (row == lastRow)
            std::memcpy(out, dest.Row(y - 1) + visible.left, bytes);
        else
            kernels.gather(out, input.Row(in.top + row) + in.left, columns.data(), visible.Width());
        lastRow = row;
    }
    return true;
}

bool BlendRect(PixelBuffer& dest, int x, int y, const PixelBuffer& source, const PixelRect& whole,
               int alpha) {
    if (!CopyFits(dest, x, y, source, whole))
        return false;
    alpha = std::clamp(alpha, 0, 256);
    if (alpha == 0)
        return true;
    PixelRect from = whole;
    const PixelRect visible = dest.Touch({x, y, x + from.Width(), y + from.Height()});
    if (visible.Empty())
        return true;
    NarrowCopy(x, y, from, visible);
    PixelBuffer copy;
    const PixelBuffer& input =
        Separate(copy, dest, {x, y, x + from.Width(), y + from.Height()}, source, from);
    const PixelRect in = &input == &source ? from : input.Bounds();
    const RowKernels& kernels = ActiveKernels();
    for (int row = 0; row < in.Height(); ++row)
        kernels.blend(dest.Row(y + row) + x, input.Row(in.top + row) + in.left, in.Width(), alpha);
    return true;
}

void CopyRegion(PixelBuffer& dest, const PixelBuffer& source, const DirtyRegion& region) {
    const PixelRect both = Intersection(dest.Bounds(), source.Bounds());
    for (const PixelRect& rect : region) {
        const PixelRect part = Intersection(rect, both);
        if (!part.Empty())
            CopyRect(dest, part.left, part.top, source, part);
    }
}

} // namespace tav::platform
