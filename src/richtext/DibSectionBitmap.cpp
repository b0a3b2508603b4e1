#include "richtext/DibSectionBitmap.h"

#include <algorithm>
#include <cstring>

#include "display/DisplaySettings.h"
#include "display/DrawingContext.h"
#include "display/Palette.h"

namespace {

constexpr int32_t kMaxTableBits = 8;
constexpr int32_t kMaxColours = 256;

int32_t ColoursFor(int32_t bitCount) { return bitCount <= kMaxTableBits ? 1 << bitCount : 0; }

} // namespace

DibSectionBitmap::DibSectionBitmap(int32_t width, int32_t height, int32_t bitCount, bool topDown,
                                   const Palette *palette)
    : m_info(sizeof(BITMAPINFOHEADER) + sizeof(RGBQUAD) * static_cast<size_t>(ColoursFor(bitCount)), 0) {
  auto *header = reinterpret_cast<BITMAPINFOHEADER *>(m_info.data());
  header->biSize = sizeof(BITMAPINFOHEADER);
  header->biWidth = width;
  header->biHeight = topDown ? -height : height;
  header->biPlanes = 1;
  header->biBitCount = static_cast<WORD>(bitCount);
  header->biCompression = BI_RGB;
  FillColourTable(bitCount, palette);
  HDC screen = ::GetDC(nullptr);
  HBITMAP bitmap =
      ::CreateDIBSection(screen, reinterpret_cast<BITMAPINFO *>(m_info.data()), DIB_RGB_COLORS, &m_bits, nullptr, 0);
  if (bitmap == nullptr)
    m_bits = nullptr;
  Attach(bitmap, screen);
  ::ReleaseDC(nullptr, screen);
}

void DibSectionBitmap::FillColourTable(int32_t bitCount, const Palette *palette) {
  auto *table = reinterpret_cast<RGBQUAD *>(m_info.data() + sizeof(BITMAPINFOHEADER));
  if (bitCount == 1) {
    table[1] = RGBQUAD{0xFF, 0xFF, 0xFF, 0};
    return;
  }
  if (bitCount != kMaxTableBits)
    return;
  if (palette == nullptr)
    palette = GetDisplaySettings().applicationPalette;
  if (palette == nullptr || palette->GetEntries() == nullptr)
    return;
  const int32_t count = std::clamp(palette->GetCount(), 0, kMaxColours);
  std::memcpy(table, palette->GetEntries(), sizeof(RGBQUAD) * static_cast<size_t>(count));
}
