#include "display/MaskedCopy.h"

#include <cstddef>
#include <cstring>

#include "display/DibImage.h"

namespace {

constexpr int32_t kDeepBits = 24;
constexpr ptrdiff_t kBytesPerPixel = 3;
constexpr int32_t kPixelsPerMaskByte = 8;
constexpr uint8_t kAllSet = 0xFF;
constexpr size_t kPixelBytes = 3;
constexpr size_t kRunBytes = kPixelBytes * kPixelsPerMaskByte;

bool Inside(const VORRect &rect, const DibImage &image) {
  return rect.left >= 0 && rect.top >= 0 && rect.right <= image.GetWidth() && rect.bottom <= image.GetHeight() &&
         !rect.IsEmpty();
}

// One row: runs of covered pixels copied whole. Mask bits are read a byte at
// a time, so that fully covered and fully clear bytes cost one test.
void CopyRow(const uint8_t *from, const uint8_t *maskRow, int32_t maskX, uint8_t *to, int32_t width) {
  int32_t x = 0;
  while (x < width) {
    const int32_t bit = maskX + x;
    const uint8_t byte = maskRow[bit / kPixelsPerMaskByte];
    if (bit % kPixelsPerMaskByte == 0 && x + kPixelsPerMaskByte <= width && (byte == 0 || byte == kAllSet)) {
      if (byte == kAllSet) {
        std::memcpy(to + x * kBytesPerPixel, from + x * kBytesPerPixel, kRunBytes);
      }
      x += kPixelsPerMaskByte;
      continue;
    }
    if ((byte & (0x80 >> (bit % kPixelsPerMaskByte))) != 0) {
      std::memcpy(to + x * kBytesPerPixel, from + x * kBytesPerPixel, kPixelBytes);
    }
    ++x;
  }
}

} // namespace

bool CopyMaskedPixels(const DibImage &source, const DibImage &mask, const VORRect &sourceRect, DibImage &destination,
                      const VORRect &destinationRect) {
  if (source.GetBitsPerPixel() != kDeepBits || destination.GetBitsPerPixel() != kDeepBits ||
      mask.GetBitsPerPixel() != 1 || mask.GetWidth() != source.GetWidth() || mask.GetHeight() != source.GetHeight() ||
      sourceRect.Width() != destinationRect.Width() || sourceRect.Height() != destinationRect.Height() ||
      !Inside(sourceRect, source) || !Inside(destinationRect, destination)) {
    return false;
  }
  const auto width = static_cast<int32_t>(sourceRect.Width());
  for (int32_t row = 0; row < sourceRect.Height(); ++row) {
    const uint8_t *from =
        source.GetRowAddress(sourceRect.top + row) + static_cast<ptrdiff_t>(sourceRect.left) * kBytesPerPixel;
    const uint8_t *maskRow = mask.GetRowAddress(sourceRect.top + row);
    uint8_t *to = destination.GetRowAddress(destinationRect.top + row) +
                  static_cast<ptrdiff_t>(destinationRect.left) * kBytesPerPixel;
    CopyRow(from, maskRow, sourceRect.left, to, width);
  }
  return true;
}
