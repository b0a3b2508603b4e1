#pragma once

#include <cstdint>

#include "display/DibTypes.h"
#include "filters/FilterIo.h"
#include "filters/FilterResult.h"

// A packed DIB under construction in a movable block: the 40-byte header,
// the colour table and the rows, bottom-up, each padded to 4 bytes. Sizes are
// worked out in 64 bits before anything is allocated.
class FilterDib {
public:
  // Pictures larger than the player's one limit are refused as out of
  // memory, whatever the allocator would give.
  static constexpr uint64_t kMaxImageBytes = kMaxPictureBytes;

  // Bytes per row of width pixels at bits per pixel, padded to 4.
  static uint64_t RowBytes(uint32_t width, uint16_t bits);

  // A zero-filled DIB with colours table entries (biClrUsed = colours);
  // 101 for zero sizes, bits other than 1, 4, 8, 24 or a table larger than
  // 2 to the bits, 102 when it is too large or cannot be allocated.
  FilterResult Create(uint32_t width, uint32_t height, uint16_t bits, uint32_t colours);

  BitmapInfoHeader *Header() const { return reinterpret_cast<BitmapInfoHeader *>(m_block.Data()); }
  RgbQuad *Colours() const { return reinterpret_cast<RgbQuad *>(m_block.Data() + kBitmapInfoHeaderSize); }
  uint32_t ColourCount() const { return m_colours; }
  uint32_t Width() const { return m_width; }
  uint32_t Height() const { return m_height; }
  uint32_t Stride() const { return m_stride; }
  // Row y counted from the top of the picture.
  uint8_t *Row(uint32_t y) const { return m_bits + static_cast<uint64_t>(m_height - 1 - y) * m_stride; }
  // Fills the table with the grey ramp of entries levels from black to white.
  void SetGreyRamp(uint32_t entries);

  // Gives up the block: the caller owns the packed DIB.
  FilterHandle Release() { return m_block.Release(); }

private:
  FilterBlock m_block;
  uint8_t *m_bits = nullptr;
  uint32_t m_width = 0;
  uint32_t m_height = 0;
  uint32_t m_stride = 0;
  uint32_t m_colours = 0;
};
