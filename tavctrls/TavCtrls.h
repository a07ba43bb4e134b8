#pragma once

// The public header of the TavCtrls library: everything a program built on it includes.
#include "CTavApp.h"
#include "CTavButton.h"
#include "CTavCheckBox.h"
#include "CTavObject.h"
#include "CTavScreen.h"
#include "CTavStatic.h"
#include "CTavSurface.h"
#include "TavErrors.h"
#include "TavFonts.h"
#include "TavWindows.h"
