#pragma once

#include "Canvas.h"

// The one palette every picture is drawn from: dark slate surfaces, one teal accent, light paper for
// the places that hold text.
namespace tav::art::theme {

constexpr Colour kBase = Rgb(21, 27, 35);     // behind everything
constexpr Colour kCanvas = Rgb(25, 31, 40);   // the design surface
constexpr Colour kPanel = Rgb(30, 38, 49);    // dialogs and boxes
constexpr Colour kPanelLow = Rgb(25, 32, 42); // lower end of a panel's shading
constexpr Colour kRaised = Rgb(40, 50, 64);   // trees, menus, tool panels
constexpr Colour kRaisedHi = Rgb(52, 64, 81); // tiles and knobs on raised panels
constexpr Colour kLine = Rgb(66, 80, 100);    // borders on dark surfaces
constexpr Colour kMuted = Rgb(124, 140, 160); // secondary strokes
constexpr Colour kShadow = Rgb(14, 18, 24);   // outlines on dark surfaces (never pure black)

constexpr Colour kAccent = Rgb(38, 190, 170);
constexpr Colour kAccentDark = Rgb(22, 128, 116);
constexpr Colour kAccentDeep = Rgb(17, 84, 80);
constexpr Colour kAccentLight = Rgb(150, 228, 218);
constexpr Colour kWarm = Rgb(244, 172, 64); // a second colour for small details only

constexpr Colour kPaper = Rgb(233, 237, 242);   // light areas that hold text
constexpr Colour kPaperHi = Rgb(246, 248, 250); // never pure white: white is a transparent colour
constexpr Colour kPaperDim = Rgb(210, 218, 227);
constexpr Colour kPaperEdge = Rgb(160, 174, 191);
constexpr Colour kInk = Rgb(36, 44, 56);

// Colour keys: the colour a picture leaves transparent where it is drawn colour-keyed. Pictures drawn
// with alpha skip black as well.
constexpr Colour kKeyBlack = Rgb(0, 0, 0);
constexpr Colour kKeyWhite = Rgb(255, 255, 255);
constexpr Colour kKeyMagenta = Rgb(255, 0, 255);

} // namespace tav::art::theme
