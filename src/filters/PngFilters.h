#pragma once

#include <cstdint>

#include "display/DisplaySettings.h"

// The PNG row filters undone in place: 0 None, 1 Sub, 2 Up, 3 Average,
// 4 Paeth. row and previous (the row above, zeros above the first) hold
// count bytes each; bpp, 1 to 8, is the distance to a byte's left neighbour
// (bytes left of the row count as 0). Types above 4 leave the row as it is.
// Both forms of the loops give the same bytes; the vector form turns whole
// pixels of 3 and 4 bytes at a time.
void UnfilterPngRow(uint8_t type, uint8_t *row, const uint8_t *previous, uint32_t count, uint32_t bpp,
                    PixelLoops loops);
