#include "DesignerArt.h"

#include "Theme.h"

namespace tav::art {

using namespace theme;

namespace {

constexpr int kIcon = 40;

void DrawPictureIcon(Canvas& c) {
    c.FillRect(8, 10, 24, 20, kPaperDim);
    c.FillRect(10, 12, 20, 16, kAccentDeep);
    c.FillDisc(23, 14, 5, kWarm);
    c.FillTriangle({10, 28}, {17, 17}, {24, 28}, kAccent);
    c.FillTriangle({19, 28}, {24, 21}, {30, 28}, kAccentLight);
}

void DrawButtonIcon(Canvas& c) {
    c.FillRoundRect(6, 12, 28, 16, 4, kAccentDark);
    c.FillRoundRect(7, 13, 26, 14, 3, kAccent);
    c.Text(15, 16, "OK", 1, kPaperHi);
}

void DrawStaticIcon(Canvas& c) {
    c.Text(8, 7, "AB", 2, kPaper);
    c.FillRect(8, 25, 24, 2, kMuted);
    c.FillRect(8, 30, 17, 2, kMuted);
}

void DrawCheckBoxIcon(Canvas& c) {
    c.FillRoundRect(6, 13, 14, 14, 3, kAccent);
    c.Line(9, 20, 11, 22, 2, kPaperHi);
    c.Line(11, 22, 16, 17, 2, kPaperHi);
    c.FillRect(23, 19, 11, 2, kMuted);
}

void DrawEditIcon(Canvas& c) {
    c.FillRoundRect(5, 12, 30, 16, 3, kAccent);
    c.FillRoundRect(6, 13, 28, 14, 2, kPaper);
    c.Text(9, 17, "AB", 1, kInk);
    c.FillRect(22, 15, 1, 10, kAccentDark);
}

void DrawListIcon(Canvas& c) {
    c.FillRect(6, 7, 28, 26, kPaper);
    c.FillRect(6, 7, 28, 6, kAccentDark);
    c.FillRect(7, 20, 26, 5, kAccentLight);
    for (const int y : {19, 25})
        c.FillRect(6, y, 28, 1, kPaperEdge);
    c.FillRect(19, 7, 1, 26, kPaperEdge);
    c.FrameRect(6, 7, 28, 26, kMuted);
}

void DrawTreeIcon(Canvas& c) {
    c.FillRect(10, 12, 1, 19, kMuted);
    c.FillRect(10, 20, 8, 1, kMuted);
    c.FillRect(10, 30, 8, 1, kMuted);
    c.FillRect(7, 7, 7, 7, kAccent);
    c.FillRect(8, 10, 5, 1, kAccentDeep);
    for (const int y : {17, 27}) {
        c.FillRect(18, y, 7, 7, kPaperDim);
        c.FillRect(27, y + 2, 7, 3, kMuted);
    }
    c.FillRect(17, 9, 16, 3, kPaperDim);
}

void DrawAnimationIcon(Canvas& c) {
    c.FillRect(5, 9, 30, 22, kInk);
    for (int x = 7; x < 34; x += 5) {
        c.FillRect(x, 11, 3, 2, kPaperDim);
        c.FillRect(x, 27, 3, 2, kPaperDim);
    }
    c.FillTriangle({16, 14.5}, {25, 20}, {16, 25.5}, kAccent);
}

// A right-pointing arrow with its tip `shift` pixels short of the right edge.
Canvas DrawArrowRight(int shift, Colour fill) {
    Canvas c(20, 20, kKeyBlack);
    const double tip = 19.5 - shift;
    c.FillTriangle({tip - 9, 3}, {tip + 0.5, 10}, {tip - 9, 17}, kShadow);
    c.FillRect(static_cast<int>(tip) - 15, 7, 7, 6, kShadow);
    c.FillTriangle({tip - 8, 5.5}, {tip - 1, 10}, {tip - 8, 14.5}, fill);
    c.FillRect(static_cast<int>(tip) - 14, 8, 7, 4, fill);
    return c;
}

} // namespace

// Tiled under the whole main screen: a quiet dot grid.
Canvas DrawMainBack() {
    Canvas canvas(16, 16, kBase);
    canvas.Plot(0, 0, Rgb(33, 41, 52));
    return canvas;
}

// The design surface, made at the size of the view so that its grid stays even there.
Canvas DrawViewBack() {
    constexpr int kWidth = 550;
    constexpr int kHeight = 450;
    Canvas canvas(kWidth, kHeight, kCanvas);
    for (int y = 10; y < kHeight; y += 10)
        for (int x = 10; x < kWidth; x += 10)
            canvas.Plot(x, y, (x % 50 == 0 && y % 50 == 0) ? kMuted : kLine);
    canvas.FrameRect(0, 0, kWidth, kHeight, kLine);
    return canvas;
}

// Dialogs are stretched from here; 300 x 300 is the most common size.
Canvas DrawDialogBack() {
    constexpr int kSide = 300;
    Canvas canvas(kSide, kSide, kPanel);
    canvas.VerticalGradient(0, 0, kSide, kSide, Rgb(35, 44, 57), kPanelLow);
    canvas.FrameRect(0, 0, kSide, kSide, kLine);
    canvas.FillRect(0, 0, kSide, 3, kAccent);
    return canvas;
}

// Palette tiles sit on the tree-coloured panel and are dragged around as they are.
Canvas DrawPaletteIcon(PaletteKind kind) {
    Canvas canvas(kIcon, kIcon, kRaised);
    canvas.FillRoundRect(0, 0, kIcon, kIcon, 6, kLine);
    canvas.FillRoundRect(1, 1, kIcon - 2, kIcon - 2, 5, kRaisedHi);
    switch (kind) {
    case PaletteKind::Object:
        DrawPictureIcon(canvas);
        break;
    case PaletteKind::Button:
        DrawButtonIcon(canvas);
        break;
    case PaletteKind::Static:
        DrawStaticIcon(canvas);
        break;
    case PaletteKind::CheckBox:
        DrawCheckBoxIcon(canvas);
        break;
    case PaletteKind::Edit:
        DrawEditIcon(canvas);
        break;
    case PaletteKind::List:
        DrawListIcon(canvas);
        break;
    case PaletteKind::Tree:
        DrawTreeIcon(canvas);
        break;
    case PaletteKind::Animation:
        DrawAnimationIcon(canvas);
        break;
    }
    return canvas;
}

// Drawn colour-keyed on black; the second frame leans toward the control and brightens.
Canvas DrawSelectionArrow(Direction direction, int frame) {
    const Canvas right = frame == 1 ? DrawArrowRight(3, kAccent) : DrawArrowRight(0, kAccentLight);
    return right.PointedTo(direction);
}

} // namespace tav::art
