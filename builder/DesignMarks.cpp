#include "builder/DesignMarks.h"

#include <algorithm>

namespace tav::builder {
namespace {

constexpr DWORD kGridDot = 0x707070;
constexpr DWORD kGridKey = 0xFF00FF;
constexpr DWORD kPrimary = 0x1E78FF;
constexpr DWORD kSecondary = 0x60C0FF;
constexpr DWORD kHandleFill = 0xFFFFFF;
constexpr DWORD kGuide = 0xFF3090;
constexpr DWORD kBand = 0x3399FF;
constexpr int kHandleHalf = 3;

// FillRect clipped to the surface.
void Fill(CTavSurface* s, int left, int top, int right, int bottom, DWORD pixel) {
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, s->GetWidth());
    bottom = std::min(bottom, s->GetHeight());
    if (left < right && top < bottom)
        s->FillRect(left, top, right, bottom, pixel);
}

void Outline(CTavSurface* s, int x, int y, int w, int h, DWORD pixel) {
    Fill(s, x, y, x + w, y + 1, pixel);
    Fill(s, x, y + h - 1, x + w, y + h, pixel);
    Fill(s, x, y, x + 1, y + h, pixel);
    Fill(s, x + w - 1, y, x + w, y + h, pixel);
}

// Centres of the eight handles with their edges, corners first.
struct Handle {
    int x, y, edges;
};
std::vector<Handle> HandlesOf(const Bounds& r) {
    const int l = r.x, t = r.y, rt = r.x + r.width, b = r.y + r.height;
    const int mx = r.x + r.width / 2, my = r.y + r.height / 2;
    using E = Snapper::Edge;
    return {{l, t, E::Left | E::Top},
            {rt, t, E::Right | E::Top},
            {l, b, E::Left | E::Bottom},
            {rt, b, E::Right | E::Bottom},
            {mx, t, E::Top},
            {mx, b, E::Bottom},
            {l, my, E::Left},
            {rt, my, E::Right}};
}

} // namespace

void UpdateGrid(CTavScreen* view, const SnapSettings& snap, bool shown) {
    const int step = snap.grid;
    if (!shown || !snap.enabled || step < 2) {
        if (view->HasObject(GridLayer::kId))
            view->RemoveObject(GridLayer::kId);
        return;
    }
    int scrollX = 0, scrollY = 0;
    view->GetScrollPosition(&scrollX, &scrollY);
    const int width = view->GetWidth() + step, height = view->GetHeight() + step;
    auto* grid = dynamic_cast<GridLayer*>(view->GetObjectByID(GridLayer::kId));
    const bool fits = grid != nullptr && grid->GetWidth() == width && grid->GetHeight() == height &&
                      grid->GetImage() != nullptr && grid->GetImage()->GetHeight() == height;
    if (!fits) {
        if (grid != nullptr)
            view->RemoveObject(GridLayer::kId);
        grid = new GridLayer;
        if (grid->Initialize(GridLayer::kId, 0, 0, width, height, view) != TAVERROR_OK ||
            grid->GetImage() == nullptr) {
            TavDeleteObject(grid);
            return;
        }
        CTavSurface* image = grid->GetImage();
        image->Fill(kGridKey);
        for (int y = 0; y < height; y += step)
            for (int x = 0; x < width; x += step)
                image->FillRect(x, y, x + 1, y + 1, kGridDot);
        grid->SetTransparent(TRUE, RGB(255, 0, 255));
        if (view->AddObject(grid) != TAVERROR_OK) {
            TavDeleteObject(grid);
            return;
        }
    }
    // Under every control, at the grid line before the scrolled corner.
    view->SetObjectOrder(GridLayer::kId, 0);
    grid->SetPosition(static_cast<float>(scrollX / step * step), static_cast<float>(scrollY / step * step));
}

int HandleAt(const Bounds& r, int x, int y) {
    for (const Handle& h : HandlesOf(r))
        if (std::abs(x - h.x) <= kHandleHalf && std::abs(y - h.y) <= kHandleHalf)
            return h.edges;
    return 0;
}

void DrawMarks(CTavSurface* s, int originX, int originY, const Marks& marks) {
    if (s == nullptr)
        return;
    for (size_t i = marks.selected.size(); i-- > 0;) {
        const Bounds& r = marks.selected[i];
        // Two pixels wide, outside the object: visible on any art.
        for (int ring = 1; ring <= 2; ++ring)
            Outline(s, r.x - originX - ring, r.y - originY - ring, r.width + 2 * ring, r.height + 2 * ring,
                    i == 0 ? kPrimary : kSecondary);
    }
    if (marks.handles && !marks.selected.empty())
        for (const Handle& h : HandlesOf(marks.selected.front())) {
            const int x = h.x - originX - kHandleHalf, y = h.y - originY - kHandleHalf;
            Fill(s, x, y, x + 2 * kHandleHalf + 1, y + 2 * kHandleHalf + 1, kPrimary);
            Fill(s, x + 1, y + 1, x + 2 * kHandleHalf, y + 2 * kHandleHalf, kHandleFill);
        }
    for (const Guide& g : marks.guides) {
        if (g.vertical)
            Fill(s, g.position - originX, g.from - originY, g.position - originX + 1, g.to - originY + 1,
                 kGuide);
        else
            Fill(s, g.from - originX, g.position - originY, g.to - originX + 1, g.position - originY + 1,
                 kGuide);
    }
    if (marks.band)
        Outline(s, marks.band->x - originX, marks.band->y - originY, marks.band->width, marks.band->height,
                kBand);
}

Bounds United(const Bounds& a, const Bounds& b) {
    const int left = std::min(a.x, b.x), top = std::min(a.y, b.y);
    const int right = std::max(a.x + a.width, b.x + b.width),
              bottom = std::max(a.y + a.height, b.y + b.height);
    return {left, top, right - left, bottom - top};
}

bool Touches(const Bounds& a, const Bounds& b) {
    return a.x <= b.x + b.width && b.x <= a.x + a.width && a.y <= b.y + b.height && b.y <= a.y + a.height;
}

} // namespace tav::builder
