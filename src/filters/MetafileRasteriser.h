#pragma once

#include <windows.h>

#include "filters/FilterResult.h"

// Renders a Windows metafile into a packed DIB of width x height pixels,
// the source bounds (metafile units) filling it. Without the ask flag a size
// of 0 or less becomes 100. The size dialog ("WMFsize") is no resource of
// the player: asking answers 101.
FilterResult RasteriseMetafile(HWND owner, HINSTANCE instance, HMETAFILE metafile, HGLOBAL *picture, int32_t left,
                               int32_t top, int32_t right, int32_t bottom, int32_t width, int32_t height, bool ask);

// Plays every record of a metafile once into dc and answers a copy of the
// palette it last selected and realised (see CopyRealisedPalette); null when
// it realised none. The caller deletes the copy.
HPALETTE PlayMetafileCapturingPalette(HDC dc, HMETAFILE metafile);

// The copy of a palette that a metafile realised: 256 entries, those the
// palette lacks zero-filled. Null when it cannot be made.
HPALETTE CopyRealisedPalette(HPALETTE palette);
