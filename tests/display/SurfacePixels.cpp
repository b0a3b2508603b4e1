#include "SurfacePixels.h"

#include <cstdlib>

namespace {

constexpr int32_t kRowAlignmentBits = 32;
constexpr int32_t kRowAlignmentBytes = 4;

size_t Stride(const BitmapInfoHeader &info) {
  return static_cast<size_t>((info.biWidth * info.biBitCount + kRowAlignmentBits - 1) / kRowAlignmentBits *
                             kRowAlignmentBytes);
}

// Top-down blocks (negative height) keep row 0 first.
size_t RowOffset(const BitmapInfoHeader &info, int32_t row) {
  const int32_t height = std::abs(info.biHeight);
  return Stride(info) * static_cast<size_t>(info.biHeight < 0 ? row : height - 1 - row);
}

} // namespace

uint32_t SurfacePixel(PixelSurface &surface, int32_t x, int32_t y) {
  void *bits = nullptr, *maskBits = nullptr;
  BitmapInfoHeader *info = nullptr;
  VORRect rect(x, y, x + 1, y + 1);
  surface.LockPixels(&bits, &maskBits, &info, rect);
  uint32_t colour = 0xDEADBEEF;
  if (bits != nullptr && info != nullptr) {
    const auto *row = static_cast<const uint8_t *>(bits) + RowOffset(*info, y - rect.top);
    const int32_t column = x - rect.left;
    if (info->biBitCount == 24) {
      const uint8_t *p = row + column * 3;
      colour = static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[1]) << 8 | p[0];
    } else if (info->biBitCount == 8) {
      const auto *colours = reinterpret_cast<const RgbQuad *>(info + 1);
      const RgbQuad &entry = colours[row[column]];
      colour = static_cast<uint32_t>(entry.red) << 16 | static_cast<uint32_t>(entry.green) << 8 | entry.blue;
    }
  }
  surface.UnlockPixels(false);
  return colour;
}

bool SurfaceMaskBit(PixelSurface &surface, int32_t x, int32_t y) {
  void *maskBits = nullptr;
  BitmapInfoHeader *info = nullptr;
  VORRect rect(x, y, x + 1, y + 1);
  surface.LockMaskPixels(&maskBits, &info, rect);
  bool white = false;
  if (maskBits != nullptr && info != nullptr) {
    BitmapInfoHeader maskInfo = *info;
    maskInfo.biBitCount = 1;
    const auto *row = static_cast<const uint8_t *>(maskBits) + RowOffset(maskInfo, y - rect.top);
    const int32_t column = x - rect.left;
    white = (row[column / 8] & (0x80 >> (column % 8))) != 0;
  }
  surface.UnlockPixels(false);
  return white;
}
