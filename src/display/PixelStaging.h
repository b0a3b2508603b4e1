#pragma once

#include <windows.h>

#include <cstdint>

#include "display/DibTypes.h"

// Direct pixel access to a device context that has no pixels of its own to
// give: a rectangle of it (and of its one-bit mask) is copied into top-down
// DIB sections, changed there, and copied back when asked.
class PixelStaging {
public:
  static constexpr int kPaletteDepth = 8;
  static constexpr int kDeepDepth = 24;

  PixelStaging() = default;
  ~PixelStaging() { Release(); }
  PixelStaging(const PixelStaging &) = delete;
  PixelStaging &operator=(const PixelStaging &) = delete;

  // Stages the device rectangle of dc (pixels, at depth 8 with the
  // application palette's colours or at 24) and of maskDC; either may be
  // null. Anything staged before is released first, without copying back.
  // False when nothing could be staged.
  bool Stage(HDC dc, HDC maskDC, const RECT &device, int depth);
  // Copies what is staged back to where it came from.
  void CopyBack(HDC dc, HDC maskDC);
  void Release();

  void *GetBits() const { return m_pixels.bits; }
  void *GetMaskBits() const { return m_mask.bits; }
  BitmapInfoHeader *GetInfo() { return &m_info.header; }
  BitmapInfoHeader *GetMaskInfo() { return &m_maskInfo.header; }

private:
  struct Side {
    HBITMAP dib = nullptr;
    HDC dc = nullptr;
    HGDIOBJ displaced = nullptr;
    void *bits = nullptr;
  };

  static bool StageSide(Side &side, HDC source, const BITMAPINFO *info, const RECT &device);
  static void ReleaseSide(Side &side);

  Side m_pixels;
  Side m_mask;
  BitmapInfo256 m_info = {};
  struct {
    BitmapInfoHeader header;
    RgbQuad colors[2];
  } m_maskInfo = {};
  RECT m_device = {0, 0, 0, 0};
};
