#include "GdiCanvas.h"

#include <cstring>

#include "display/Palette.h"

GdiCanvas::GdiCanvas(int width, int height, int depth, const RgbQuad *colours, int count)
    : m_width(width), m_height(height), m_depth(depth) {
  m_info.header = BitmapInfoHeader{
      kBitmapInfoHeaderSize, width, -height, 1, static_cast<uint16_t>(depth), kCompressionRgb, 0, 0, 0, 0, 0};
  if (depth == 8) {
    if (colours == nullptr) {
      colours = Palette::Default().GetEntries();
      count = 256;
    }
    std::memcpy(m_info.colors, colours, static_cast<size_t>(count) * sizeof(RgbQuad));
  } else if (depth == 1) {
    m_info.colors[1] = RgbQuad{255, 255, 255, 0};
  }
  HDC screen = ::GetDC(nullptr);
  m_bitmap = ::CreateDIBSection(screen, reinterpret_cast<BITMAPINFO *>(&m_info), DIB_RGB_COLORS, &m_bits, nullptr, 0);
  m_dc = ::CreateCompatibleDC(screen);
  ::ReleaseDC(nullptr, screen);
  m_displaced = ::SelectObject(m_dc, m_bitmap);
}

GdiCanvas::~GdiCanvas() {
  ::SelectObject(m_dc, m_displaced);
  ::DeleteDC(m_dc);
  ::DeleteObject(m_bitmap);
}

void GdiCanvas::Fill(COLORREF colour) { FillRect(RECT{0, 0, m_width, m_height}, colour); }

void GdiCanvas::FillRect(const RECT &rect, COLORREF colour) {
  HBRUSH brush = ::CreateSolidBrush(colour);
  ::FillRect(m_dc, &rect, brush);
  ::DeleteObject(brush);
  ::GdiFlush();
}

uint32_t GdiCanvas::Pixel(int x, int y) const {
  ::GdiFlush();
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = m_width;
  info.bmiHeader.biHeight = -m_height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  std::vector<uint32_t> pixels(static_cast<size_t>(m_width) * m_height);
  // GetDIBits wants the bitmap out of its device context.
  ::SelectObject(m_dc, m_displaced);
  ::GetDIBits(m_dc, m_bitmap, 0, static_cast<UINT>(m_height), pixels.data(), &info, DIB_RGB_COLORS);
  ::SelectObject(m_dc, m_bitmap);
  return pixels[static_cast<size_t>(y) * m_width + x] & 0x00FFFFFF;
}

uint8_t GdiCanvas::Index(int x, int y) const {
  ::GdiFlush();
  const int stride = (m_width * m_depth + 31) / 32 * 4;
  return bits()[y * stride + x];
}

void GdiCanvas::SetIndex(int x, int y, uint8_t index) {
  ::GdiFlush();
  const int stride = (m_width * m_depth + 31) / 32 * 4;
  bits()[y * stride + x] = index;
}

void CanvasSurface::LockPixels(void **bits, void **maskBits, BitmapInfoHeader **info, VORRect &rect) {
  ++locks;
  ::GdiFlush();
  *bits = m_pixels.bits();
  *maskBits = m_mask != nullptr ? m_mask->bits() : nullptr;
  *info = m_pixels.info();
  rect = m_bounds;
}

void CanvasSurface::LockMaskPixels(void **maskBits, BitmapInfoHeader **info, VORRect &rect) {
  ++locks;
  ::GdiFlush();
  *maskBits = m_mask != nullptr ? m_mask->bits() : nullptr;
  *info = m_pixels.info();
  rect = m_bounds;
}

void CanvasSurface::UnlockPixels(bool copyBack) {
  ++unlocks;
  copiedBack += copyBack ? 1 : 0;
}
