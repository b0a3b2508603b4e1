#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "display/DibTypes.h"
#include "display/PixelSurface.h"

// A memory device context over a top-down DIB section, for drawing tests:
// what was drawn is read back with GetDIBits.
class GdiCanvas {
public:
  // depth 32, 24, 8 or 1; an 8-bit canvas takes the given colours (or the
  // default palette's), a 1-bit canvas is black and white.
  GdiCanvas(int width, int height, int depth, const RgbQuad *colours = nullptr, int count = 0);
  ~GdiCanvas();

  GdiCanvas(const GdiCanvas &) = delete;
  GdiCanvas &operator=(const GdiCanvas &) = delete;

  HDC dc() const { return m_dc; }
  HBITMAP bitmap() const { return m_bitmap; }
  int width() const { return m_width; }
  int height() const { return m_height; }
  BitmapInfoHeader *info() { return &m_info.header; }
  uint8_t *bits() const { return static_cast<uint8_t *>(m_bits); }

  void Fill(COLORREF colour);
  void FillRect(const RECT &rect, COLORREF colour);
  // The colour at (x, y) as 0xRRGGBB, read back through GetDIBits.
  uint32_t Pixel(int x, int y) const;
  // An 8-bit canvas's index at (x, y).
  uint8_t Index(int x, int y) const;
  void SetIndex(int x, int y, uint8_t index);

private:
  int m_width, m_height, m_depth;
  HDC m_dc = nullptr;
  HBITMAP m_bitmap = nullptr;
  HGDIOBJ m_displaced = nullptr;
  void *m_bits = nullptr;
  BitmapInfo256 m_info = {};
};

// A drawing surface whose pixels are a canvas (and its mask canvas): locks
// give the whole block, as a DIB surface does.
class CanvasSurface : public PixelSurface {
public:
  CanvasSurface(GdiCanvas &pixels, GdiCanvas *mask, VORRect bounds)
      : m_pixels(pixels), m_mask(mask), m_bounds(bounds) {}

  int32_t GetBitsPerPixel() override { return m_pixels.info()->biBitCount; }
  void LockPixels(void **bits, void **maskBits, BitmapInfoHeader **info, VORRect &rect) override;
  void LockMaskPixels(void **maskBits, BitmapInfoHeader **info, VORRect &rect) override;
  void UnlockPixels(bool copyBack) override;
  bool HoldsPixelsInPlace() const override { return inPlace; }

  // Whether the surface says its locks give its own pixels (they always do).
  bool inPlace = false;
  int locks = 0;
  int unlocks = 0;
  int copiedBack = 0;

private:
  GdiCanvas &m_pixels;
  GdiCanvas *m_mask;
  VORRect m_bounds;
};
