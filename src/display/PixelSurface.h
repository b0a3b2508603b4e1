#pragma once

#include <cstdint>

#include "display/DibTypes.h"
#include "foundation/VORRect.h"

// The part of a drawing surface that a drawing context asks for: its depth
// and direct access to its pixels. Surfaces that own a drawing context
// implement it; a context without one stages the pixels itself.
class PixelSurface {
public:
  virtual ~PixelSurface() = default;

  virtual int32_t GetBitsPerPixel() = 0;
  // Gives the pixels, the one-bit mask pixels (null without a mask) and the
  // header of the block that holds the rectangle, and sets the rectangle (page
  // coordinates) to the area the block covers. An empty result gives null
  // pointers. The mask rows have the header's width and orientation.
  virtual void LockPixels(void **bits, void **maskBits, BitmapInfoHeader **info, VORRect &rect) = 0;
  virtual void LockMaskPixels(void **maskBits, BitmapInfoHeader **info, VORRect &rect) = 0;
  virtual void UnlockPixels(bool copyBack) = 0;
  // The lock hands out the surface's own pixels (a DIB section), not a
  // staged copy: reading and writing them costs no transfer.
  virtual bool HoldsPixelsInPlace() const { return false; }
};
