#pragma once

#include <windows.h>

#include <memory>

class DrawingContext;

// A bitmap compatible with a device, with its own memory device context and
// drawing context, for composing off screen.
class OffscreenBitmap {
public:
  // dc: the device to be compatible with; null for the screen.
  OffscreenBitmap(HDC dc, int width, int height);
  ~OffscreenBitmap();

  OffscreenBitmap(const OffscreenBitmap &) = delete;
  OffscreenBitmap &operator=(const OffscreenBitmap &) = delete;

  // Made on first use, with the application palette (when there is one)
  // selected; null when the memory device context could not be made.
  DrawingContext *GetDrawingContext();
  HDC GetDC() const { return m_memoryDC; }
  HBITMAP GetBitmap() const { return m_bitmap; }

private:
  HDC m_memoryDC = nullptr;
  HBITMAP m_bitmap = nullptr;
  HGDIOBJ m_displaced = nullptr;
  std::unique_ptr<DrawingContext> m_context;
};
