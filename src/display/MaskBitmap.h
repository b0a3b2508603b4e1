#pragma once

#include <windows.h>

#include "display/MemoryBitmap.h"

// A plain one-bit bitmap to draw shapes into: its drawing context has no
// primary device context and the bitmap as its mask, so every primitive
// draws white into the mask only. Transitions and borders use it.
class MaskBitmap : public MemoryBitmap {
public:
  // Black at first. Failures are reported (9 bitmap, 10 device context).
  MaskBitmap(int width, int height);

  // Made on first use; null when the device context could not be made.
  DrawingContext *GetDrawingContext();
};
