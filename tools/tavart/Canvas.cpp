#include "Canvas.h"

#include "PixelFont.h"

#include <algorithm>
#include <stdexcept>

namespace tav::art {
namespace {

int Channel(Colour colour, int shift) {
    return static_cast<int>(colour >> shift & 0xFF);
}

int MixChannel(int a, int b, int t) {
    return a + (b - a) * t / 255;
}

// Twice the signed area of (a, b, p): its sign tells on which side of a-b the point p lies.
double Side(Point a, Point b, Point p) {
    return (b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x);
}

} // namespace

Colour Mix(Colour a, Colour b, int t) {
    t = std::clamp(t, 0, 255);
    return Rgb(MixChannel(Channel(a, 16), Channel(b, 16), t), MixChannel(Channel(a, 8), Channel(b, 8), t),
               MixChannel(Channel(a, 0), Channel(b, 0), t));
}

Canvas::Canvas(int width, int height, Colour background) {
    if (!pixels_.Allocate(width, height))
        throw std::invalid_argument("bad picture size");
    FillRect(0, 0, width, height, background);
}

void Canvas::Plot(int x, int y, Colour colour) {
    if (x >= 0 && y >= 0 && x < width() && y < height())
        pixels_.Set(x, y, colour);
}

void Canvas::FillRect(int x, int y, int w, int h, Colour colour) {
    const platform::PixelRect clipped{std::max(x, 0), std::max(y, 0), std::min(x + w, width()),
                                      std::min(y + h, height())};
    if (!clipped.Empty())
        platform::FillRect(pixels_, clipped, colour);
}

void Canvas::FrameRect(int x, int y, int w, int h, Colour colour) {
    FillRect(x, y, w, 1, colour);
    FillRect(x, y + h - 1, w, 1, colour);
    FillRect(x, y, 1, h, colour);
    FillRect(x + w - 1, y, 1, h, colour);
}

bool Canvas::InRoundRect(int px, int py, int x, int y, int w, int h, int radius) const {
    if (px < x || py < y || px >= x + w || py >= y + h)
        return false;
    radius = std::min({radius, w / 2, h / 2});
    // In doubled units the pixel centre is odd and the corner circle's centre is even.
    const int cx = px < x + radius ? x + radius : (px >= x + w - radius ? x + w - radius : -1);
    const int cy = py < y + radius ? y + radius : (py >= y + h - radius ? y + h - radius : -1);
    if (cx < 0 || cy < 0)
        return true;
    const int dx = 2 * px + 1 - 2 * cx;
    const int dy = 2 * py + 1 - 2 * cy;
    return dx * dx + dy * dy <= 4 * radius * radius;
}

void Canvas::FillRoundRect(int x, int y, int w, int h, int radius, Colour colour) {
    for (int py = std::max(y, 0); py < std::min(y + h, height()); ++py)
        for (int px = std::max(x, 0); px < std::min(x + w, width()); ++px)
            if (InRoundRect(px, py, x, y, w, h, radius))
                pixels_.Set(px, py, colour);
}

void Canvas::FrameRoundRect(int x, int y, int w, int h, int radius, Colour colour) {
    for (int py = std::max(y, 0); py < std::min(y + h, height()); ++py)
        for (int px = std::max(x, 0); px < std::min(x + w, width()); ++px)
            if (InRoundRect(px, py, x, y, w, h, radius) &&
                !InRoundRect(px, py, x + 1, y + 1, w - 2, h - 2, radius - 1))
                pixels_.Set(px, py, colour);
}

void Canvas::VerticalGradient(int x, int y, int w, int h, Colour top, Colour bottom) {
    for (int row = 0; row < h; ++row)
        FillRect(x, y + row, w, 1, Mix(top, bottom, h > 1 ? row * 255 / (h - 1) : 0));
}

void Canvas::FillDisc(int x, int y, int diameter, Colour colour) {
    const int cx = 2 * x + diameter;
    const int cy = 2 * y + diameter;
    for (int py = y; py < y + diameter; ++py)
        for (int px = x; px < x + diameter; ++px) {
            const int dx = 2 * px + 1 - cx;
            const int dy = 2 * py + 1 - cy;
            if (dx * dx + dy * dy <= diameter * diameter)
                Plot(px, py, colour);
        }
}

void Canvas::FillTriangle(Point a, Point b, Point c, Colour colour) {
    const int left = std::max(0, static_cast<int>(std::min({a.x, b.x, c.x})));
    const int top = std::max(0, static_cast<int>(std::min({a.y, b.y, c.y})));
    const int right = std::min(width(), static_cast<int>(std::max({a.x, b.x, c.x})) + 1);
    const int bottom = std::min(height(), static_cast<int>(std::max({a.y, b.y, c.y})) + 1);
    for (int py = top; py < bottom; ++py)
        for (int px = left; px < right; ++px) {
            const Point p{px + 0.5, py + 0.5};
            const double s1 = Side(a, b, p);
            const double s2 = Side(b, c, p);
            const double s3 = Side(c, a, p);
            if ((s1 >= 0 && s2 >= 0 && s3 >= 0) || (s1 <= 0 && s2 <= 0 && s3 <= 0))
                pixels_.Set(px, py, colour);
        }
}

void Canvas::Line(int x0, int y0, int x1, int y1, int thickness, Colour colour) {
    // Bresenham, stamping the pen at every step.
    const int dx = std::abs(x1 - x0);
    const int dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1;
    const int sy = y0 < y1 ? 1 : -1;
    const int offset = (thickness - 1) / 2;
    int error = dx + dy;
    for (;;) {
        FillRect(x0 - offset, y0 - offset, thickness, thickness, colour);
        if (x0 == x1 && y0 == y1)
            break;
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x0 += sx;
        }
        if (twice <= dx) {
            error += dx;
            y0 += sy;
        }
    }
}

void Canvas::Text(int x, int y, std::string_view text, int scale, Colour colour) {
    for (const char c : text) {
        if (const char* pattern = GlyphPattern(c)) {
            for (int row = 0; row < kGlyphHeight; ++row)
                for (int column = 0; column < kGlyphWidth; ++column)
                    if (pattern[row * kGlyphWidth + column] == '#')
                        FillRect(x + column * scale, y + row * scale, scale, scale, colour);
        }
        x += (kGlyphWidth + 1) * scale;
    }
}

int Canvas::TextWidth(std::string_view text, int scale) {
    return text.empty() ? 0 : (static_cast<int>(text.size()) * (kGlyphWidth + 1) - 1) * scale;
}

Canvas Canvas::RotatedClockwise() const {
    Canvas turned(height(), width(), 0);
    for (int y = 0; y < height(); ++y)
        for (int x = 0; x < width(); ++x)
            turned.pixels_.Set(height() - 1 - y, x, At(x, y));
    return turned;
}

Canvas Canvas::Mirrored() const {
    Canvas mirrored(width(), height(), 0);
    for (int y = 0; y < height(); ++y)
        for (int x = 0; x < width(); ++x)
            mirrored.pixels_.Set(width() - 1 - x, y, At(x, y));
    return mirrored;
}

Canvas Canvas::PointedTo(Direction direction) const {
    switch (direction) {
    case Direction::Left:
        return Mirrored();
    case Direction::Down:
        return RotatedClockwise();
    case Direction::Up:
        return RotatedClockwise().RotatedClockwise().RotatedClockwise();
    case Direction::Right:
        break;
    }
    Canvas copy(width(), height(), 0);
    platform::CopyRect(copy.pixels_, 0, 0, pixels_, pixels_.Bounds());
    return copy;
}

} // namespace tav::art
