#pragma once

#include <cstdint>

#include "foundation/VORRect.h"

class DibImage;

// The pixels of one 24-bit image copied into another where a one-bit mask
// over the source is set (bit 1 covered), the rest of the destination left
// as it was: what the exclusive-or, and, exclusive-or steps of a transparent
// copy leave with a mask whose set bits become white, done in memory without
// three passes over a scratch bitmap. The rectangles have the same size, are
// in their images' own pixel coordinates and must lie inside them, the mask
// has the source's size. False (nothing copied) when the images are not 24
// bits, the mask is not one bit, or a rectangle does not fit.
bool CopyMaskedPixels(const DibImage &source, const DibImage &mask, const VORRect &sourceRect, DibImage &destination,
                      const VORRect &destinationRect);
