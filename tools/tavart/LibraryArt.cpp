#include "LibraryArt.h"

#include "Theme.h"

namespace tav::art {

using namespace theme;

namespace {

constexpr Colour kTrack = Rgb(46, 57, 72);
constexpr Colour kArrowFace = Rgb(60, 74, 93);

struct ButtonLook {
    Colour border;
    Colour face;
    Colour topRow;
    Colour bottomRow;
};

ButtonLook LookOf(ButtonState state) {
    switch (state) {
    case ButtonState::Over:
        return {kAccent, kPaperHi, kPaperHi, kAccentLight};
    case ButtonState::Down:
        return {kAccentDark, kAccentLight, Rgb(118, 202, 191), kAccentLight};
    case ButtonState::Normal:
        break;
    }
    return {kPaperEdge, kPaperDim, kPaper, Rgb(188, 198, 210)};
}

} // namespace

// Buttons are stretched to any size, most often 50 x 20; the corners take the colour of the dialogs
// behind them.
Canvas DrawButton(ButtonState state) {
    const ButtonLook look = LookOf(state);
    Canvas canvas(50, 20, kPanel);
    canvas.FillRoundRect(0, 0, 50, 20, 4, look.border);
    canvas.FillRoundRect(1, 1, 48, 18, 3, look.face);
    canvas.FillRect(3, 1, 44, 1, look.topRow);
    canvas.FillRect(3, 18, 44, 1, look.bottomRow);
    return canvas;
}

// Check boxes are drawn with alpha, so black is the transparent surround. The outline is two pixels
// wide so that squeezing the box to the check box's height never drops all of it.
Canvas DrawCheckBox(bool checked) {
    Canvas canvas(20, 20, kKeyBlack);
    if (!checked) {
        canvas.FillRoundRect(1, 1, 18, 18, 4, kPaperEdge);
        canvas.FillRoundRect(3, 3, 14, 14, 2, kPaperHi);
        return canvas;
    }
    canvas.FillRoundRect(1, 1, 18, 18, 4, kAccentDark);
    canvas.FillRoundRect(3, 3, 14, 14, 2, kAccent);
    canvas.Line(5, 10, 8, 13, 3, kPaperHi);
    canvas.Line(8, 13, 14, 6, 3, kPaperHi);
    return canvas;
}

// Tracks and bulbs serve both bars, stretched along the bar, so they are drawn without a direction.
Canvas DrawScrollTrack() {
    return Canvas(20, 20, kTrack);
}

Canvas DrawScrollBulb() {
    Canvas canvas(20, 20, kTrack);
    canvas.FillRoundRect(3, 3, 14, 14, 4, kAccent);
    canvas.FillRoundRect(5, 5, 10, 10, 3, Rgb(58, 204, 185));
    return canvas;
}

Canvas DrawScrollArrow(Direction direction) {
    // Symmetric about the middle of a pixel row, so that it stays symmetric when halved.
    Canvas canvas(20, 20, kArrowFace);
    canvas.FillTriangle({7.5, 5.5}, {14, 10.5}, {7.5, 15.5}, kPaperDim);
    return canvas.PointedTo(direction);
}

// Drawn at the 10 x 10 the tree uses, on white, the colour the tree leaves out.
Canvas DrawTreeToggle(bool expanded) {
    Canvas canvas(10, 10, kKeyWhite);
    canvas.FillRoundRect(0, 0, 10, 10, 2, kMuted);
    canvas.FillRoundRect(1, 1, 8, 8, 1, kRaisedHi);
    canvas.FillRect(2, 4, 6, 2, kPaperHi);
    if (!expanded)
        canvas.FillRect(4, 2, 2, 6, kPaperHi);
    return canvas;
}

// Plain surfaces: they are stretched to any shape and tiled over whole screens.
Canvas DrawListBack() {
    return Canvas(32, 32, kPaper);
}

Canvas DrawTreeBack() {
    return Canvas(32, 32, kRaised);
}

Canvas DrawPopupMenuBack() {
    Canvas canvas(100, 45, kRaised);
    canvas.FillRect(1, 1, 98, 1, kRaisedHi);
    canvas.FrameRect(0, 0, 100, 45, kLine);
    return canvas;
}

// Made at the size of a box over an 800 x 600 screen; the band at the bottom holds the buttons.
Canvas DrawMessageBoxBack() {
    constexpr int kWidth = 400;
    constexpr int kHeight = 300;
    constexpr int kBandTop = 248;
    Canvas canvas(kWidth, kHeight, kPanel);
    canvas.VerticalGradient(0, 0, kWidth, kBandTop, Rgb(35, 44, 57), kPanel);
    canvas.FillRect(0, kBandTop, kWidth, kHeight - kBandTop, kPanelLow);
    canvas.FillRect(0, kBandTop, kWidth, 1, kLine);
    canvas.FrameRect(0, 0, kWidth, kHeight, kLine);
    canvas.FillRect(0, 0, kWidth, 4, kAccent);
    return canvas;
}

} // namespace tav::art
