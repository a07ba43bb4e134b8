#pragma once

// The public header of the TavCtrls library: everything a program built on it includes.
// Every colour of the controls (text, lines, back colours, highlights, colour keys) is a COLORREF
// (0x00BBGGRR, made with RGB(r, g, b)) and is given back as it was set; only CTavSurface's fills and
// keyed blits take raw pixels (0x00RRGGBB).
#include "CTavAnimation.h"
#include "CTavApp.h"
#include "CTavButton.h"
#include "CTavCheckBox.h"
#include "CTavEdit.h"
#include "CTavListBox.h"
#include "CTavMenuBar.h"
#include "CTavMessageBox.h"
#include "CTavObject.h"
#include "CTavPopupMenu.h"
#include "CTavQuestionBox.h"
#include "CTavScreen.h"
#include "CTavScrollBars.h"
#include "CTavStatic.h"
#include "CTavSurface.h"
#include "CTavTree.h"
#include "TavClipboard.h"
#include "TavErrors.h"
#include "TavFonts.h"
#include "TavLifetime.h"
#include "TavWindows.h"
