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

// The source to read from: `source` itself, or, when `from` overlaps `to` in the same buffer, a copy of
// `from` made in `copy`, so that every pixel is read before it is written.
const PixelBuffer& Separate(PixelBuffer& copy, const PixelBuffer& dest, const PixelRect& to,
                            const PixelBuffer& source, const PixelRect& from) {
    if (&dest != &source || !Overlap(to, from) || !copy.Allocate(from.Width(), from.Height()))
        return source;
    CopyRect(copy, 0, 0, source, from);
    return copy;
}

// The region's bounds as a region of one rectangle (a clip too fragmented to keep).
DirtyRegion Bounded(const DirtyRegion& region) {
    DirtyRegion bounded;
    bounded.Add(region.Bounds());
    return bounded;
}

// Calls `rows(piece, input, in)` for every piece of the copy of `from` to (x, y) inside the clip, `in`
// being where the piece's pixels are read in `input`: the source, or a copy of `from` when `separate`
// and the source overlaps the destination in the same buffer.
template <typename Rows>
void CopyPieces(PixelBuffer& dest, int x, int y, const PixelBuffer& source, const PixelRect& from,
                bool separate, Rows&& rows) {
    const PixelRect to{x, y, x + from.Width(), y + from.Height()};
    dest.Touch(to);
    PixelBuffer copy;
    const PixelBuffer& input = separate ? Separate(copy, dest, to, source, from) : source;
    const int dx = (&input == &source ? from.left : 0) - x, dy = (&input == &source ? from.top : 0) - y;
    dest.ForEachClipped(to, [&](const PixelRect& piece) {
        rows(piece, input, PixelRect{piece.left + dx, piece.top + dy, piece.right + dx, piece.bottom + dy});
    });
}

// What `b` leaves of `a`: the parts above, below, left and right of it (some may be empty).
std::array<PixelRect, 4> Remainder(const PixelRect& a, const PixelRect& b) {
    return {PixelRect{a.left, a.top, a.right, b.top}, PixelRect{a.left, b.bottom, a.right, a.bottom},
            PixelRect{a.left, std::max(a.top, b.top), b.left, std::min(a.bottom, b.bottom)},
            PixelRect{b.right, std::max(a.top, b.top), a.right, std::min(a.bottom, b.bottom)}};
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
        const std::array<PixelRect, 4> pieces = Remainder(rect, r);
        return std::all_of(pieces.begin(), pieces.end(),
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

void PixelBuffer::Touch(const PixelRect& rect) {
    reach_ = Union(reach_, rect);
    ForEachClipped(rect, [this](const PixelRect& part) { damage_.Add(part); });
}

void PixelBuffer::SetClip(const DirtyRegion& clip) {
    // Each rectangle less the pieces already taken, so that no pixel is drawn twice.
    clipped_ = true;
    clipCount_ = 0;
    for (const PixelRect& rect : clip) {
        std::array<PixelRect, kMaxClipRects> parts{};
        int count = 0;
        if (const PixelRect inside = Intersection(rect, Bounds()); !inside.Empty())
            parts[count++] = inside;
        for (int i = 0; i < clipCount_ && count > 0; ++i) {
            std::array<PixelRect, kMaxClipRects> left{};
            int kept = 0;
            for (int j = 0; j < count; ++j) {
                const PixelRect& a = parts[j];
                const PixelRect& b = clipRects_[i];
                if (!a.Meets(b)) {
                    if (kept == kMaxClipRects)
                        return SetClip(Bounded(clip));
                    left[kept++] = a;
                    continue;
                }
                for (const PixelRect& piece : Remainder(a, b)) {
                    if (piece.Empty())
                        continue;
                    if (kept == kMaxClipRects)
                        return SetClip(Bounded(clip));
                    left[kept++] = piece;
                }
            }
            parts = left;
            count = kept;
        }
        if (clipCount_ + count > kMaxClipRects)
            return SetClip(Bounded(clip));
        for (int j = 0; j < count; ++j)
            clipRects_[clipCount_++] = parts[j];
    }
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

bool FillRect(PixelBuffer& dest, const PixelRect& rect, std::uint32_t pixel) {
    if (!dest.Holds(rect))
        return false;
    dest.Touch(rect);
    const RowKernels& kernels = ActiveKernels();
    dest.ForEachClipped(rect, [&](const PixelRect& part) {
        for (int y = part.top; y < part.bottom; ++y)
            kernels.fill(dest.Row(y) + part.left, part.Width(), pixel);
    });
    return true;
}

bool CopyRect(PixelBuffer& dest, int x, int y, const PixelBuffer& source, const PixelRect& from) {
    if (!CopyFits(dest, x, y, source, from))
        return false;
    // Pieces copied one by one could read what an earlier piece wrote: those read from a copy.
    CopyPieces(dest, x, y, source, from, dest.ClipCount() > 1,
               [&dest](const PixelRect& to, const PixelBuffer& input, const PixelRect& in) {
                   const std::size_t bytes = std::size_t(in.Width()) * sizeof(std::uint32_t);
                   // A buffer copied onto itself lower down is copied from the bottom up, so that no row is
                   // overwritten before it is read; memmove takes care of overlap within a row.
                   const bool upwards = &input == &dest && to.top > in.top;
                   for (int i = 0; i < in.Height(); ++i) {
                       const int row = upwards ? in.Height() - 1 - i : i;
                       std::memmove(dest.Row(to.top + row) + to.left, input.Row(in.top + row) + in.left,
                                    bytes);
                   }
               });
    return true;
}

bool CopyRectKeyed(PixelBuffer& dest, int x, int y, const PixelBuffer& source, const PixelRect& from,
                   std::uint32_t key) {
    if (!CopyFits(dest, x, y, source, from))
        return false;
    const RowKernels& kernels = ActiveKernels();
    key &= kColourBits;
    CopyPieces(dest, x, y, source, from, true,
               [&](const PixelRect& to, const PixelBuffer& input, const PixelRect& in) {
                   for (int row = 0; row < in.Height(); ++row)
                       kernels.copyKeyed(dest.Row(to.top + row) + to.left, input.Row(in.top + row) + in.left,
                                         in.Width(), key);
               });
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
    dest.Touch(inside);
    PixelBuffer copy;
    const PixelBuffer& input = Separate(copy, dest, inside, source, from);
    const PixelRect in = &input == &source ? from : input.Bounds();
    // Fixed point 16.16 steps through the source; the centre of each destination pixel of `to` is
    // sampled, whatever part of it is drawn.
    const std::int64_t stepX = (std::int64_t{in.Width()} << 16) / to.Width();
    const std::int64_t stepY = (std::int64_t{in.Height()} << 16) / to.Height();
    const RowKernels& kernels = ActiveKernels();
    std::vector<std::int32_t> columns;
    dest.ForEachClipped(inside, [&](const PixelRect& part) {
        columns.resize(static_cast<std::size_t>(part.Width()));
        std::int64_t sx = stepX / 2 + stepX * (part.left - to.left);
        for (std::int32_t& column : columns) {
            column = static_cast<std::int32_t>(sx >> 16);
            sx += stepX;
        }
        const std::size_t bytes = columns.size() * sizeof(std::uint32_t);
        std::int64_t sy = stepY / 2 + stepY * (part.top - to.top);
        int lastRow = -1;
        for (int y = part.top; y < part.bottom; ++y, sy += stepY) {
            const int row = static_cast<int>(sy >> 16);
            std::uint32_t* out = dest.Row(y) + part.left;
            // Enlarging repeats source rows: the row just made is copied rather than sampled again.
            if (row == lastRow)
                std::memcpy(out, dest.Row(y - 1) + part.left, bytes);
            else
                kernels.gather(out, input.Row(in.top + row) + in.left, columns.data(), part.Width());
            lastRow = row;
        }
    });
    return true;
}

bool BlendRect(PixelBuffer& dest, int x, int y, const PixelBuffer& source, const PixelRect& from, int alpha) {
    if (!CopyFits(dest, x, y, source, from))
        return false;
    alpha = std::clamp(alpha, 0, 256);
    if (alpha == 0)
        return true;
    const RowKernels& kernels = ActiveKernels();
    CopyPieces(dest, x, y, source, from, true,
               [&](const PixelRect& to, const PixelBuffer& input, const PixelRect& in) {
                   for (int row = 0; row < in.Height(); ++row)
                       kernels.blend(dest.Row(to.top + row) + to.left, input.Row(in.top + row) + in.left,
                                     in.Width(), alpha);
               });
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
