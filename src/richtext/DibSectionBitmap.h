#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "display/OffscreenBitmap.h"

class Palette;

// An off-screen DIB section with a memory device context of its own: the
// text object draws its smoothed text into one, over a copy of what lies
// under it. Colour tables: 8 bits take the palette given (the application's
// when none is), at most 256 entries; 1 bit is black and white.
class DibSectionBitmap : public OffscreenBitmap {
public:
  DibSectionBitmap(int32_t width, int32_t height, int32_t bitCount, bool topDown, const Palette *palette = nullptr);

  // The pixels, rows as the header says; null when not made.
  void *GetBits() const { return m_bits; }
  const BITMAPINFO *GetInfo() const { return reinterpret_cast<const BITMAPINFO *>(m_info.data()); }

private:
  void FillColourTable(int32_t bitCount, const Palette *palette);

  std::vector<uint8_t> m_info;
  void *m_bits = nullptr;
};
