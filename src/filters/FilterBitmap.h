#pragma once

#include <windows.h>

#include "filters/FilterResult.h"

// Converts a device-dependent bitmap into a packed DIB in movable global
// memory. The colours come from the palette given, or, when none is given
// and the screen has a 256-entry palette, from the system palette.
// 102 when memory fails, 801 when the conversion fails.
FilterResult BitmapToDib(HBITMAP bitmap, HPALETTE palette, HGLOBAL *picture);
