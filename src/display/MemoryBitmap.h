#pragma once

#include <windows.h>

#include <memory>

class DrawingContext;

// A bitmap selected into a memory device context of its own, with a drawing
// context made on first use: the common part of the off-screen and the mask
// bitmaps. Going, it hands the device context back as it came.
class MemoryBitmap {
public:
  virtual ~MemoryBitmap();

  MemoryBitmap(const MemoryBitmap &) = delete;
  MemoryBitmap &operator=(const MemoryBitmap &) = delete;

  HDC GetDC() const { return m_memoryDC; }
  HBITMAP GetBitmap() const { return m_bitmap; }
  // The bitmap is selected into the device context: both were made.
  bool IsReady() const { return m_displaced != nullptr; }

protected:
  MemoryBitmap() = default;

  // Takes bitmap (null when it could not be made) and selects it into a new
  // memory device context compatible with reference. Failures are reported
  // (9 bitmap, 10 device context); answers whether the bitmap is selected.
  bool Attach(HBITMAP bitmap, HDC reference);

  HBITMAP m_bitmap = nullptr;
  HDC m_memoryDC = nullptr;
  std::unique_ptr<DrawingContext> m_context;

private:
  HGDIOBJ m_displaced = nullptr;
};

// A bitmap for the steps of one drawing operation, gone with its scope.
class ScratchBitmap : public MemoryBitmap {
public:
  // Takes bitmap (null when it could not be made) into a memory device
  // context compatible with reference; check IsReady before drawing.
  ScratchBitmap(HBITMAP bitmap, HDC reference) { Attach(bitmap, reference); }
};
