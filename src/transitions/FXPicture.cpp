#include "transitions/FXPicture.h"

#include <cstring>

FXPicture::~FXPicture() {
  if (m_dc != nullptr) {
    if (m_displaced != nullptr)
      ::SelectObject(m_dc, m_displaced);
    ::DeleteDC(m_dc);
  }
  if (m_bitmap != nullptr)
    ::DeleteObject(m_bitmap);
}

bool FXPicture::Make(int32_t width, int32_t height) {
  if (width <= 0 || height <= 0 || static_cast<uint64_t>(width) * static_cast<uint64_t>(height) > FXImage::kMaxPixels)
    return false;
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void *bits = nullptr;
  m_bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  m_dc = ::CreateCompatibleDC(nullptr);
  if (m_bitmap == nullptr || m_dc == nullptr || bits == nullptr)
    return false;
  m_displaced = ::SelectObject(m_dc, m_bitmap);
  m_bits = static_cast<uint32_t *>(bits);
  m_width = width;
  m_height = height;
  Use(width, height);
  return true;
}

void FXPicture::Use(int32_t width, int32_t height) { image.Attach(m_bits, width, height, m_width); }

void FXPicture::Touch() {
  if (m_bits != nullptr)
    std::memset(m_bits, 0, static_cast<size_t>(Area()) * sizeof(uint32_t));
}
