#pragma once

#include <windows.h>

#include <memory>

class DrawingContext;

// A plain one-bit bitmap to draw shapes into: its drawing context has no
// primary device context and the bitmap as its mask, so every primitive
// draws white into the mask only. Transitions and borders use it.
class MaskBitmap {
public:
  // Black at first. Failures are reported (9 bitmap, 10 device context).
  MaskBitmap(int width, int height);
  ~MaskBitmap();

  MaskBitmap(const MaskBitmap &) = delete;
  MaskBitmap &operator=(const MaskBitmap &) = delete;

  // Made on first use; null when the device context could not be made.
  DrawingContext *GetDrawingContext();
  HDC GetDC() const { return m_memoryDC; }
  HBITMAP GetBitmap() const { return m_bitmap; }

private:
  HBITMAP m_bitmap = nullptr;
  HDC m_memoryDC = nullptr;
  HGDIOBJ m_displaced = nullptr;
  std::unique_ptr<DrawingContext> m_context;
};
