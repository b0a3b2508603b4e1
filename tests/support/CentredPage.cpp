#include "support/CentredPage.h"

#include <cstdint>

POINT CentredPage::Origin() const {
  const SIZE client = ProgramDriver::ClientSize(m_window);
  return POINT{(client.cx - m_size.cx) / 2, (client.cy - m_size.cy) / 2};
}

COLORREF CentredPage::Pixel(int x, int y) const {
  const POINT origin = Origin();
  return ProgramDriver::ClientPixel(m_window, origin.x + x, origin.y + y) & 0xFFFFFF;
}

bool CentredPage::WaitForPixel(int x, int y, COLORREF colour) const {
  constexpr DWORD kPollMs = 20;
  const DWORD start = GetTickCount();
  do {
    if (Pixel(x, y) == colour)
      return true;
    Sleep(kPollMs);
  } while (GetTickCount() - start < m_waitMs);
  return false;
}

std::vector<COLORREF> CentredPage::SampleUntil(int x, int y, COLORREF last, DWORD periodMs) const {
  std::vector<COLORREF> samples;
  const DWORD start = GetTickCount();
  do {
    samples.push_back(Pixel(x, y));
    if (samples.back() == last)
      break;
    Sleep(periodMs);
  } while (GetTickCount() - start < m_waitMs);
  return samples;
}

bool CentredPage::IsBetween(COLORREF colour, COLORREF from, COLORREF to) {
  bool differs = false;
  for (const int shift : {0, 8, 16}) {
    const int value = static_cast<int>(colour >> shift & 0xFF);
    const int a = static_cast<int>(from >> shift & 0xFF);
    const int b = static_cast<int>(to >> shift & 0xFF);
    if (value < (a < b ? a : b) || value > (a < b ? b : a))
      return false;
    differs = differs || (a != b && value != a && value != b);
  }
  return differs;
}

std::set<COLORREF> CentredPage::MixedColours(const std::vector<COLORREF> &samples, COLORREF from, COLORREF to) {
  std::set<COLORREF> mixed;
  for (const COLORREF sample : samples)
    if (IsBetween(sample, from, to))
      mixed.insert(sample);
  return mixed;
}

std::vector<COLORREF> CentredPage::Screenshot() const {
  const POINT corner = ScreenPoint(0, 0);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = m_size.cx;
  info.bmiHeader.biHeight = -m_size.cy; // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void *bits = nullptr;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ displaced = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, m_size.cx, m_size.cy, screen, corner.x, corner.y, SRCCOPY);
  GdiFlush();
  const auto count = static_cast<size_t>(m_size.cx) * static_cast<size_t>(m_size.cy);
  std::vector<COLORREF> pixels;
  pixels.reserve(count);
  // The section's pixels are 0x??RRGGBB.
  const auto *shown = static_cast<const uint32_t *>(bits);
  for (size_t i = 0; shown != nullptr && i < count; ++i)
    pixels.push_back(RGB(shown[i] >> 16 & 0xFF, shown[i] >> 8 & 0xFF, shown[i] & 0xFF));
  pixels.resize(count, 0);
  SelectObject(memory, displaced);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixels;
}

POINT CentredPage::ScreenPoint(int x, int y) const {
  const POINT origin = Origin();
  POINT point{origin.x + x, origin.y + y};
  ClientToScreen(m_window, &point);
  return point;
}

std::string CentredPage::MouseMove(int x, int y) const {
  const POINT point = ScreenPoint(x, y);
  return "mousemove " + std::to_string(point.x) + " " + std::to_string(point.y);
}
