#pragma once

#include <windows.h>

#include "display/MemoryBitmap.h"

// A bitmap compatible with a device, with its own memory device context and
// drawing context, for composing off screen.
class OffscreenBitmap : public MemoryBitmap {
public:
  // dc: the device to be compatible with; null for the screen.
  OffscreenBitmap(HDC dc, int width, int height);

  // Made on first use, with the application palette (when there is one)
  // selected; null when the memory device context could not be made.
  DrawingContext *GetDrawingContext();

protected:
  // No bitmap yet: a subclass makes one of another form and attaches it.
  OffscreenBitmap() = default;
};
