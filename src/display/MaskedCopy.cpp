#include "display/MaskedCopy.h"

#include <cstddef>
#include <cstring>

#include "display/DibImage.h"

namespace {

constexpr int32_t kDeepBits = 24;
constexpr int32_t kPaletteBits = 8;
constexpr int32_t kPixelsPerMaskByte = 8;
constexpr uint8_t kAllSet = 0xFF;

bool Inside(const VORRect &rect, const DibImage &image) {
  return rect.left >= 0 && rect.top >= 0 && rect.right <= image.GetWidth() && rect.bottom <= image.GetHeight() &&
         !rect.IsEmpty();
}

// 8-bit pixels are indexes: they mean the same colours in both images only
// when the two colour tables are the same.
bool SameColours(const DibImage &a, const DibImage &b) {
  const uint32_t entries = a.GetColorTableEntries();
  return entries == b.GetColorTableEntries() &&
         (entries == 0 || std::memcmp(a.GetColorTable(), b.GetColorTable(), entries * sizeof(RgbQuad)) == 0);
}

bool CopiesBetween(const DibImage &source, const DibImage &destination) {
  const int32_t depth = source.GetBitsPerPixel();
  if (depth != destination.GetBitsPerPixel()) {
    return false;
  }
  return depth == kDeepBits || (depth == kPaletteBits && SameColours(source, destination));
}

// One row: runs of covered pixels copied whole. Mask bits are read a byte at
// a time, so that fully covered and fully clear bytes cost one test.
template <size_t kPixelBytes>
void CopyRow(const uint8_t *from, const uint8_t *maskRow, int32_t maskX, uint8_t *to, int32_t width) {
  constexpr ptrdiff_t kStep = static_cast<ptrdiff_t>(kPixelBytes);
  constexpr size_t kRunBytes = kPixelBytes * kPixelsPerMaskByte;
  int32_t x = 0;
  while (x < width) {
    const int32_t bit = maskX + x;
    const uint8_t byte = maskRow[bit / kPixelsPerMaskByte];
    if (bit % kPixelsPerMaskByte == 0 && x + kPixelsPerMaskByte <= width && (byte == 0 || byte == kAllSet)) {
      if (byte == kAllSet) {
        std::memcpy(to + x * kStep, from + x * kStep, kRunBytes);
      }
      x += kPixelsPerMaskByte;
      continue;
    }
    if ((byte & (0x80 >> (bit % kPixelsPerMaskByte))) != 0) {
      std::memcpy(to + x * kStep, from + x * kStep, kPixelBytes);
    }
    ++x;
  }
}

} // namespace

bool CopyMaskedPixels(const DibImage &source, const DibImage &mask, const VORRect &sourceRect, DibImage &destination,
                      const VORRect &destinationRect) {
  if (!CopiesBetween(source, destination) || mask.GetBitsPerPixel() != 1 || mask.GetWidth() != source.GetWidth() ||
      mask.GetHeight() != source.GetHeight() || sourceRect.Width() != destinationRect.Width() ||
      sourceRect.Height() != destinationRect.Height() || !Inside(sourceRect, source) ||
      !Inside(destinationRect, destination)) {
    return false;
  }
  const auto width = static_cast<int32_t>(sourceRect.Width());
  const bool deep = source.GetBitsPerPixel() == kDeepBits;
  const ptrdiff_t pixelBytes = deep ? 3 : 1;
  for (int32_t row = 0; row < sourceRect.Height(); ++row) {
    const uint8_t *from = source.GetRowAddress(sourceRect.top + row) + sourceRect.left * pixelBytes;
    const uint8_t *maskRow = mask.GetRowAddress(sourceRect.top + row);
    uint8_t *to = destination.GetRowAddress(destinationRect.top + row) + destinationRect.left * pixelBytes;
    if (deep) {
      CopyRow<3>(from, maskRow, sourceRect.left, to, width);
    } else {
      CopyRow<1>(from, maskRow, sourceRect.left, to, width);
    }
  }
  return true;
}
