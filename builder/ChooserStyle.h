#pragma once

#include "tavctrls/TavCtrls.h"

namespace tav::builder {

// The look shared by the font dialog and the file and folder choosers: light text on the dark dialog
// art, dark ink on the light buttons and lists, the accent colour for the selected row.
constexpr COLORREF kChooserInk = RGB(24, 32, 40);
constexpr COLORREF kChooserLight = RGB(235, 240, 245);
constexpr COLORREF kChooserWarning = RGB(255, 196, 90);
constexpr const char* kChooserFont = "DejaVu Sans";

// A 50 x 20 button with the dialog art, its caption centred.
CTavButton* AddChooserButton(CTavScreen* screen, DWORD id, const char* caption, int x, int y);
// A transparent label without a back bitmap.
CTavStatic* AddChooserLabel(CTavScreen* screen, DWORD id, const char* text, int x, int y, int width,
                            int height);
CTavEdit* AddChooserEdit(CTavScreen* screen, DWORD id, const char* text, int x, int y, int width, int height);
// A list box on "art//listback.bmp" with one column of the given width.
CTavListBox* AddChooserList(CTavScreen* screen, DWORD id, const char* column, int x, int y, int width,
                            int height, int columnWidth);

} // namespace tav::builder
