#pragma once

#include <cstdint>

#include "foundation/VORRect.h"

class DibImage;

// The pixels of one image copied into another where a one-bit mask
// over the source is set (bit 1 covered), the rest of the destination left
// as it was: what the exclusive-or, and, exclusive-or steps of a transparent
// copy are there to leave, done in memory without
// three passes over a scratch bitmap. The rectangles have the same size, are
// in their images' own pixel coordinates and must lie inside them, the mask
// has the source's size. Both images 24 bits, or both 8 bits with the same
// colour table (an index means the same colour in both); false (nothing
// copied) otherwise, when the mask is not one bit, or when a rectangle does
// not fit.
bool CopyMaskedPixels(const DibImage &source, const DibImage &mask, const VORRect &sourceRect, DibImage &destination,
                      const VORRect &destinationRect);
