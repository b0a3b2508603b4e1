#pragma once

#include <cstddef>
#include <cstdint>

// Expanders of the run-length BMP encodings into zero-filled, bottom-up rows
// of 8 or 4 bits a pixel. The first row the data describes is the bottom
// row; an end-of-row escape goes up one row to column 0, a delta moves right
// and up, end of picture or of the data stops. Pixels that fall outside the
// picture (a run past the end of its row, rows above the top) are dropped:
// the rows around them are never touched.
void DecodeBmpRle8(const uint8_t *data, size_t size, uint8_t *pixels, uint32_t stride, int32_t width, int32_t height);
// As DecodeBmpRle8, the pixels of a run alternating between the value's two
// nibbles, high first, and literal pixels packed two a byte, high first.
void DecodeBmpRle4(const uint8_t *data, size_t size, uint8_t *pixels, uint32_t stride, int32_t width, int32_t height);
