#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "display/DibTypes.h"

// Bitmaps of surfaces that went, kept for surfaces of the same format that
// come next. A page change deletes the surfaces of one page and makes those
// of the next, many of the same sizes (a full-page background, the same
// buttons). Memory fresh from the system costs a page fault per page on its
// first touch, on some machines tens of milliseconds for one page's
// surfaces; a kept bitmap's memory has been touched already, and keeping it
// also saves giving it back. A bitmap taken holds what its last user left.
// GUI thread only.
namespace SurfaceBitmapPool {

struct Bitmap {
  HBITMAP handle = nullptr;
  void *bits = nullptr; // a DIB section's pixels, else null
};

// What a bitmap is: only a bitmap of the same format is taken for another.
struct Format {
  // A DIB section made from a header and its colour table (count entries).
  static Format Dib(const BitmapInfoHeader &header, const RgbQuad *colours, uint32_t count);
  // A bitmap of the screen's format at the given depth.
  static Format Compatible(int32_t width, int32_t height, int32_t depth);
  // A monochrome bitmap.
  static Format Monochrome(int32_t width, int32_t height);

  bool operator==(const Format &other) const { return key == other.key; }

  std::vector<uint8_t> key;
  uint64_t bytes = 0; // of pixels
};

// The most pixel bytes kept: the bitmaps kept longest go first beyond it.
constexpr uint64_t kKeptBytes = uint64_t{48} << 20;

// A kept bitmap of the format, or an empty one.
Bitmap Take(const Format &format);
// Keeps a bitmap of the format (an empty one is ignored); deletes the oldest
// kept ones beyond kKeptBytes.
void Give(const Bitmap &bitmap, const Format &format);
// Deletes every kept bitmap: a page whose surfaces have been made took what
// it could use.
void Trim();
uint64_t KeptBytes();
size_t KeptCount();

} // namespace SurfaceBitmapPool
