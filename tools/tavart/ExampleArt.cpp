#include "ExampleArt.h"

#include "Theme.h"

namespace tav::art {

using namespace theme;

namespace {

// Twelve places on a circle of radius 24, clockwise from the top (whole pixels, so no library maths
// can change a picture from one machine to the next).
constexpr int kRing[12][2] = {{0, -24}, {12, -21}, {21, -12}, {24, 0},  {21, 12},   {12, 21},
                              {0, 24},  {-12, 21}, {-21, 12}, {-24, 0}, {-21, -12}, {-12, -21}};

Colour DotColour(int behindHead) {
    switch (behindHead) {
    case 0:
        return kAccentLight;
    case 1:
        return kAccent;
    case 2:
        return kAccentDark;
    case 3:
        return kAccentDeep;
    default:
        return kLine;
    }
}

} // namespace

// Shown colour-keyed on magenta at 120 x 90.
Canvas DrawLogo() {
    Canvas canvas(120, 90, kKeyMagenta);
    canvas.FillRoundRect(0, 0, 120, 90, 14, kAccentDark);
    canvas.FillRoundRect(2, 2, 116, 86, 12, kAccent);
    const int titleWidth = Canvas::TextWidth("TAV", 5);
    canvas.Text((120 - titleWidth) / 2 + 2, 17, "TAV", 5, kAccentDeep);
    canvas.Text((120 - titleWidth) / 2, 15, "TAV", 5, kPaperHi);
    canvas.FillRect(20, 59, 80, 2, kAccentDeep);
    canvas.Text((120 - Canvas::TextWidth("CONTROLS", 1)) / 2, 67, "CONTROLS", 1, kAccentDeep);
    return canvas;
}

// Shown colour-keyed on magenta at 64 x 64; each frame moves the bright head a third of the way round.
Canvas DrawSpinner(int frame) {
    Canvas canvas(64, 64, kKeyMagenta);
    const int head = ((frame - 1) % 3) * 4;
    for (int i = 0; i < 12; ++i) {
        const int behind = (head - i + 12) % 12;
        const int diameter = behind == 0 ? 10 : 8;
        canvas.FillDisc(32 + kRing[i][0] - diameter / 2, 32 + kRing[i][1] - diameter / 2, diameter,
                        DotColour(behind));
    }
    return canvas;
}

// A lamp in a small housing, 32 x 32.
Canvas DrawLed(bool on) {
    Canvas canvas(32, 32, kPanel);
    canvas.FillRoundRect(0, 0, 32, 32, 6, kRaised);
    canvas.FillDisc(4, 4, 24, kShadow);
    if (on) {
        canvas.FillDisc(6, 6, 20, Rgb(60, 214, 120));
        canvas.FillDisc(9, 9, 14, Rgb(112, 236, 160));
        canvas.FillDisc(10, 9, 6, Rgb(214, 252, 228));
    } else {
        canvas.FillDisc(6, 6, 20, Rgb(28, 66, 46));
        canvas.FillDisc(10, 9, 6, Rgb(46, 92, 68));
    }
    return canvas;
}

// An edit field's background at the 200 x 22 of the example.
Canvas DrawEditBack() {
    Canvas canvas(200, 22, kPanel);
    canvas.FillRoundRect(0, 0, 200, 22, 3, kPaperEdge);
    canvas.FillRoundRect(1, 1, 198, 20, 2, kPaperHi);
    canvas.FillRect(2, 19, 196, 2, kAccent);
    return canvas;
}

// The header strip across the top of a screen; its upper 10 rows may sit off screen.
Canvas DrawHeaderBar() {
    Canvas canvas(820, 40, kPanel);
    canvas.VerticalGradient(0, 0, 820, 36, Rgb(40, 50, 64), kPanel);
    canvas.FillRect(0, 36, 820, 3, kAccent);
    canvas.FillRect(0, 39, 820, 1, kAccentDark);
    return canvas;
}

// A groove between tools on a tree-coloured panel.
Canvas DrawDivider() {
    Canvas canvas(4, 40, kRaised);
    canvas.FillRect(1, 3, 1, 34, kShadow);
    canvas.FillRect(2, 3, 1, 34, kLine);
    return canvas;
}

} // namespace tav::art
