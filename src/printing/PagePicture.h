#pragma once

#include <cstdint>
#include <vector>

#include "display/DibTypes.h"

// A captured page: a device-independent bitmap whose header (with its
// colour table or channel masks) and pixel rows are copies of what the
// page's screen buffer held, so that they outlive the buffer.
struct PagePicture {
  // The header and what follows it up to the pixels.
  std::vector<uint8_t> info;
  std::vector<uint8_t> bits;

  bool IsEmpty() const { return info.size() < sizeof(BitmapInfoHeader) || bits.empty(); }
  const BitmapInfoHeader &Header() const { return *reinterpret_cast<const BitmapInfoHeader *>(info.data()); }
  int32_t Width() const { return IsEmpty() ? 0 : Header().biWidth; }
  int32_t Height() const;
  void Clear();

  // Copies a locked block of pixels; an empty picture when there is none.
  static PagePicture Copy(const void *pixels, const BitmapInfoHeader *header);
  // Bytes of one row of pixels, padded to 4.
  static uint32_t RowBytes(const BitmapInfoHeader &header);
  // Bytes between the header's start and the pixels.
  static uint32_t InfoBytes(const BitmapInfoHeader &header);
};
