#include "AppIcon.h"

#include "Canvas.h"
#include "Theme.h"

#include <algorithm>
#include <cmath>

namespace tav::art {

using namespace theme;

namespace {

constexpr int kSizes[] = {16, 24, 32, 48, 64, 128, 256};
constexpr int kSamples = 4;    // drawn this many times larger per side, then averaged down
constexpr double kGrid = 64.0; // the units the picture is laid out in, across the whole icon
constexpr Colour kClear = kKeyMagenta;

// Draws in layout units on a canvas `kSamples` times the icon's side.
class Layout {
public:
    explicit Layout(int size)
        : size_(size), scale_(size * kSamples / kGrid), canvas_(size * kSamples, size * kSamples, kClear) {}

    int U(double units) const { return static_cast<int>(std::lround(units * scale_)); }
    // The finer details show from this side on.
    bool Shows(int fromSize) const { return size_ >= fromSize; }
    const Canvas& canvas() const { return canvas_; }

    void Rect(double x, double y, double w, double h, Colour colour) {
        canvas_.FillRect(U(x), U(y), U(w), U(h), colour);
    }
    void Round(double x, double y, double w, double h, double radius, Colour colour) {
        canvas_.FillRoundRect(U(x), U(y), U(w), U(h), U(radius), colour);
    }
    void Triangle(Point a, Point b, Point c, Colour colour) {
        canvas_.FillTriangle({a.x * scale_, a.y * scale_}, {b.x * scale_, b.y * scale_},
                             {c.x * scale_, c.y * scale_}, colour);
    }
    // An outline `thickness` units wide inside the rectangle.
    void Frame(double x, double y, double w, double h, double thickness, Colour colour) {
        for (int ring = 0; ring < std::max(1, U(thickness)); ++ring)
            canvas_.FrameRect(U(x) + ring, U(y) + ring, U(w) - 2 * ring, U(h) - 2 * ring, colour);
    }
    void Stroke(double x0, double y0, double x1, double y1, double width, Colour colour) {
        canvas_.Line(U(x0), U(y0), U(x1), U(y1), std::max(1, U(width)), colour);
    }

private:
    int size_;
    double scale_;
    Canvas canvas_;
};

// The window: a rounded slate surface under a teal title bar.
void DrawSurface(Layout& l) {
    l.Round(3, 5, 58, 54, 8, kShadow);
    l.Round(4, 6, 56, 52, 7, kAccent);
    l.Round(4, 16, 56, 42, 7, kRaised);
    l.Rect(4, 16, 56, 8, kRaised);
    l.Rect(4, 15, 56, 1, kAccentDark);
    if (l.Shows(32)) {
        for (const double x : {46.0, 52.0})
            l.Round(x, 9, 4, 4, 2, kAccentLight);
    }
    if (l.Shows(48)) {
        l.Rect(9, 10, 14, 2, kAccentLight);
        for (double y = 21; y < 56; y += 6)
            for (double x = 9; x < 58; x += 6)
                l.Rect(x, y, 1, 1, kLine);
    }
}

void DrawControls(Layout& l) {
    // A button.
    l.Round(9, 21, 24, 11, 3, kAccentDark);
    l.Round(9, 21, 24, 10, 3, kAccent);
    if (l.Shows(48))
        l.Rect(15, 25.5, 12, 2, kPaperHi);
    // A check box, ticked, with its label.
    l.Round(9, 38, 9, 9, 2, kPaper);
    l.Stroke(11, 42.5, 13, 44.5, 1.5, kAccentDark);
    l.Stroke(13, 44.5, 16, 40, 1.5, kAccentDark);
    l.Rect(21, 41, 12, 3, kMuted);
    // An edit box.
    if (l.Shows(32)) {
        l.Round(9, 50, 24, 5, 1, kPaper);
        l.Rect(11, 51, 1, 3, kInk);
    }
}

// A picture on the right, selected: a warm frame with a handle at each corner.
void DrawSelectedPicture(Layout& l) {
    l.Rect(38, 22, 17, 30, kAccentDeep);
    l.Round(44, 26, 6, 6, 3, kWarm);
    l.Triangle({38, 52}, {44, 36}, {51, 52}, kAccent);
    l.Triangle({46, 52}, {51, 42}, {55, 52}, kAccentLight);
    l.Frame(36, 20, 21, 34, l.Shows(48) ? 1 : 1.5, kWarm);
    if (l.Shows(32)) {
        for (const double x : {34.5, 54.5})
            for (const double y : {18.5, 51.5})
                l.Rect(x, y, 4, 4, kWarm);
    }
}

} // namespace

std::span<const int> AppIconSizes() {
    return kSizes;
}

platform::PixelBuffer DrawAppIcon(int size) {
    Layout layout(size);
    DrawSurface(layout);
    DrawControls(layout);
    DrawSelectedPicture(layout);

    // Each pixel averages the colours of its samples that were drawn on; its opacity is their share.
    const Canvas& big = layout.canvas();
    platform::PixelBuffer icon;
    icon.Allocate(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            int drawn = 0;
            int sum[3] = {0, 0, 0};
            for (int sy = 0; sy < kSamples; ++sy)
                for (int sx = 0; sx < kSamples; ++sx) {
                    const Colour colour = big.At(x * kSamples + sx, y * kSamples + sy);
                    if (colour == kClear)
                        continue;
                    ++drawn;
                    for (int channel = 0; channel < 3; ++channel)
                        sum[channel] += static_cast<int>(colour >> (16 - 8 * channel) & 0xFF);
                }
            if (drawn == 0)
                continue;
            const auto opacity = static_cast<std::uint32_t>(drawn * 255 / (kSamples * kSamples));
            icon.Set(x, y, opacity << 24 | Rgb(sum[0] / drawn, sum[1] / drawn, sum[2] / drawn));
        }
    return icon;
}

} // namespace tav::art
