#pragma once

#include "tavctrls/platform/PixelBuffer.h"

#include <cstdint>
#include <string_view>

namespace tav::art {

// A raw pixel value, 0x00RRGGBB.
using Colour = std::uint32_t;

constexpr Colour Rgb(int r, int g, int b) {
    return static_cast<Colour>((r & 0xFF) << 16 | (g & 0xFF) << 8 | (b & 0xFF));
}

// `a` moved toward `b` by t / 255 per channel.
Colour Mix(Colour a, Colour b, int t);

enum class Direction { Left, Right, Up, Down };

// A point with sub-pixel precision; (0, 0) is the top-left corner of the first pixel.
struct Point {
    double x;
    double y;
};

// Drawing on a picture: every shape is aliased (a pixel belongs to a shape when its centre does) and
// clipped to the picture, so the same calls always give the same pixels.
class Canvas {
public:
    Canvas(int width, int height, Colour background);

    int width() const { return pixels_.width(); }
    int height() const { return pixels_.height(); }
    const platform::PixelBuffer& pixels() const { return pixels_; }
    Colour At(int x, int y) const { return pixels_.At(x, y) & 0xFFFFFF; }

    void Plot(int x, int y, Colour colour);
    void FillRect(int x, int y, int w, int h, Colour colour);
    // A one-pixel outline inside the rectangle.
    void FrameRect(int x, int y, int w, int h, Colour colour);
    void FillRoundRect(int x, int y, int w, int h, int radius, Colour colour);
    // A one-pixel outline along the edge of the rounded rectangle.
    void FrameRoundRect(int x, int y, int w, int h, int radius, Colour colour);
    // Rows blend from `top` to `bottom`.
    void VerticalGradient(int x, int y, int w, int h, Colour top, Colour bottom);
    // The disc inscribed in the square of side `diameter` at (x, y).
    void FillDisc(int x, int y, int diameter, Colour colour);
    void FillTriangle(Point a, Point b, Point c, Colour colour);
    // A line drawn with a square pen of side `thickness`.
    void Line(int x0, int y0, int x1, int y1, int thickness, Colour colour);
    // Capital letters, digits and a few signs in a 5 x 7 cell, each pixel a square of side `scale`;
    // letters advance by 6 cells.
    void Text(int x, int y, std::string_view text, int scale, Colour colour);
    static int TextWidth(std::string_view text, int scale);

    // The picture turned a quarter clockwise, and mirrored left to right.
    Canvas RotatedClockwise() const;
    Canvas Mirrored() const;
    // A picture of something that points right, turned to point toward `direction`.
    Canvas PointedTo(Direction direction) const;

private:
    bool InRoundRect(int px, int py, int x, int y, int w, int h, int radius) const;

    platform::PixelBuffer pixels_;
};

} // namespace tav::art
