#pragma once

#include "model/Bounds.h"
#include "tavctrls/TavCtrls.h"

#include <string>

namespace tav::builder {

// The main screen's status line, below the palette: the pointer's position over the design view, or
// the selection's bounds while it is dragged or resized; or, for a few seconds, a notice such as
// "Saved hello.tvp".
inline constexpr DWORD kStatusLineId = 11;
inline constexpr float kNoticeSeconds = 4.0f;

void AddStatusLine(CTavScreen* main);
// "X: 10  Y: 20" for a point; with " W: 30  H: 40" for bounds.
std::string PointText(int x, int y);
std::string BoundsText(const Bounds& bounds);
void ShowStatus(CTavScreen* main, const std::string& text);
// Shown for kNoticeSeconds over what ShowStatus shows meanwhile, then cleared; a later notice replaces it.
void ShowNotice(CTavScreen* main, const std::string& text);

} // namespace tav::builder
