#include "filters/FilterBitmap.h"

#include <vector>

#include "filters/FilterDib.h"

namespace {

constexpr int kSystemPaletteSize = 256;
constexpr WORD kPaletteVersion = 0x300;

uint16_t DibBitsFor(const BITMAP &bitmap) {
  const int bits = bitmap.bmBitsPixel * bitmap.bmPlanes;
  if (bits <= 1)
    return 1;
  if (bits <= 4)
    return 4;
  if (bits <= 8)
    return 8;
  return 24;
}

// A palette of the 256 system palette entries; null when the screen has none.
HPALETTE SystemPaletteCopy(HDC screen) {
  if (GetDeviceCaps(screen, SIZEPALETTE) != kSystemPaletteSize)
    return nullptr;
  std::vector<BYTE> storage(sizeof(LOGPALETTE) + kSystemPaletteSize * sizeof(PALETTEENTRY), 0);
  auto *logical = reinterpret_cast<LOGPALETTE *>(storage.data());
  logical->palVersion = kPaletteVersion;
  logical->palNumEntries = kSystemPaletteSize;
  GetSystemPaletteEntries(screen, 0, kSystemPaletteSize, logical->palPalEntry);
  return CreatePalette(logical);
}

} // namespace

FilterResult BitmapToDib(HBITMAP bitmap, HPALETTE palette, HGLOBAL *picture) {
  if (picture == nullptr)
    return kFilterBadArgument;
  *picture = nullptr;
  BITMAP info{};
  if (bitmap == nullptr || GetObjectA(bitmap, sizeof(info), &info) == 0 || info.bmWidth <= 0 || info.bmHeight <= 0)
    return kFilterBitmapConversion;
  const uint16_t bits = DibBitsFor(info);
  FilterDib dib;
  const FilterResult created = dib.Create(static_cast<uint32_t>(info.bmWidth), static_cast<uint32_t>(info.bmHeight),
                                          bits, bits <= 8 ? 1U << bits : 0U);
  if (created != kFilterSuccess)
    return created == kFilterBadArgument ? kFilterBitmapConversion : created;

  HDC screen = GetDC(nullptr);
  if (screen == nullptr)
    return kFilterBitmapConversion;
  HPALETTE made = palette == nullptr ? SystemPaletteCopy(screen) : nullptr;
  HPALETTE used = palette != nullptr ? palette : made;
  HPALETTE previous = nullptr;
  if (used != nullptr) {
    previous = SelectPalette(screen, used, FALSE);
    RealizePalette(screen);
  }
  const int rows = GetDIBits(screen, bitmap, 0, static_cast<UINT>(info.bmHeight), dib.Row(dib.Height() - 1),
                             reinterpret_cast<BITMAPINFO *>(dib.Header()), DIB_RGB_COLORS);
  if (previous != nullptr)
    SelectPalette(screen, previous, FALSE);
  ReleaseDC(nullptr, screen);
  if (made != nullptr)
    DeleteObject(made);
  if (rows == 0)
    return kFilterBitmapConversion;
  *picture = static_cast<HGLOBAL>(dib.Release());
  return kFilterSuccess;
}
