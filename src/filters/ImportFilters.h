#pragma once

#include <cstdint>

#include "filters/FilterContext.h"

// The import filters' entry points, one a format: each reads the named file
// and hands out a packed DIB in a movable block (under Windows an HGLOBAL the
// caller locks and frees), or answers a non-zero code and hands out nothing.
// Each is defined beside its reader.

FilterResult ImportCgmImage(FilterProgressCallback callback, uintptr_t userValue, const char *fileName,
                            FilterHandle *picture);
FilterResult ImportJpegImage(FilterProgressCallback callback, uintptr_t userValue, const char *fileName,
                             FilterHandle *picture);
FilterResult ImportPcxImage(FilterProgressCallback callback, uintptr_t userValue, const char *fileName,
                            FilterHandle *picture);
// second: the alpha picture (never asked for by the player); value: in, the
// context's 16-bit value; out, the transparent palette index (-1 none).
FilterResult ImportPngImage(FilterProgressCallback callback, uintptr_t userValue, const char *fileName,
                            FilterHandle *picture, FilterHandle *second, int16_t *value);
// second: the alpha mask (never asked for by the player).
FilterResult ImportTgaImage(FilterProgressCallback callback, uintptr_t userValue, const char *fileName,
                            FilterHandle *picture, FilterHandle *second);

// The readers behind them, each filling a context prepared as the entry
// points prepare it.
FilterResult ReadCgmFile(FilterContext *context);
FilterResult ReadJpegFile(FilterContext *context);
FilterResult ReadPcxFile(FilterContext *context);
FilterResult ReadPngFile(FilterContext *context);
FilterResult ReadTgaFile(FilterContext *context);
