#include "display/PixelStaging.h"

#include <cstring>

#include "display/DisplaySettings.h"
#include "display/Palette.h"
#include "display/SystemErrorHook.h"

bool PixelStaging::StageSide(Side &side, HDC source, const BITMAPINFO *info, const RECT &device) {
  side.dib = ::CreateDIBSection(source, info, DIB_RGB_COLORS, &side.bits, nullptr, 0);
  if (side.dib == nullptr) {
    ReportSystemError(kErrorBitmapNotCreated);
    side.bits = nullptr;
    return false;
  }
  side.dc = ::CreateCompatibleDC(source);
  if (side.dc == nullptr) {
    ReportSystemError(kErrorMemoryDCNotCreated);
    side.bits = nullptr; // pixels that are not the device's are no use
    return false;
  }
  side.displaced = ::SelectObject(side.dc, side.dib);
  if (info->bmiHeader.biBitCount == kPaletteDepth) {
    HPALETTE palette = Palette::ForEightBit(GetDisplaySettings().applicationPalette).GetHPalette();
    if (palette != nullptr) {
      ::SelectPalette(side.dc, palette, FALSE);
    }
  }
  if (!::BitBlt(side.dc, 0, 0, device.right - device.left, device.bottom - device.top, source, device.left, device.top,
                SRCCOPY)) {
    ReportSystemError(kErrorBitBltFailed);
  }
  ::GdiFlush();
  return true;
}

bool PixelStaging::Stage(HDC dc, HDC maskDC, const RECT &device, int depth) {
  Release();
  const int32_t width = device.right - device.left, height = device.bottom - device.top;
  if (width <= 0 || height <= 0) {
    return false;
  }
  m_device = device;
  bool staged = false;
  if (dc != nullptr) {
    m_info = BitmapInfo256{};
    m_info.header = BitmapInfoHeader{
        kBitmapInfoHeaderSize, width, -height, 1, static_cast<uint16_t>(depth), kCompressionRgb, 0, 0, 0, 0, 0};
    if (depth == kPaletteDepth) {
      const Palette &palette = Palette::ForEightBit(GetDisplaySettings().applicationPalette);
      std::memcpy(m_info.colors, palette.GetEntries(), static_cast<size_t>(palette.GetCount()) * sizeof(RgbQuad));
    }
    staged = StageSide(m_pixels, dc, reinterpret_cast<const BITMAPINFO *>(&m_info), device);
  }
  if (maskDC != nullptr) {
    m_maskInfo.header = BitmapInfoHeader{kBitmapInfoHeaderSize, width, -height, 1, 1, kCompressionRgb, 0, 0, 0, 0, 0};
    m_maskInfo.colors[0] = RgbQuad{0, 0, 0, 0};
    m_maskInfo.colors[1] = RgbQuad{255, 255, 255, 0};
    staged = StageSide(m_mask, maskDC, reinterpret_cast<const BITMAPINFO *>(&m_maskInfo), device) || staged;
  }
  return staged;
}

void PixelStaging::CopyBack(HDC dc, HDC maskDC) {
  ::GdiFlush();
  const RECT &r = m_device;
  const int width = r.right - r.left, height = r.bottom - r.top;
  if (m_pixels.dc != nullptr && dc != nullptr &&
      !::BitBlt(dc, r.left, r.top, width, height, m_pixels.dc, 0, 0, SRCCOPY)) {
    ReportSystemError(kErrorBitBltFailed);
  }
  if (m_mask.dc != nullptr && maskDC != nullptr &&
      !::BitBlt(maskDC, r.left, r.top, width, height, m_mask.dc, 0, 0, SRCCOPY)) {
    ReportSystemError(kErrorBitBltFailed);
  }
}

void PixelStaging::ReleaseSide(Side &side) {
  if (side.dc != nullptr) {
    if (side.displaced != nullptr) {
      ::SelectObject(side.dc, side.displaced);
    }
    ::DeleteDC(side.dc);
  }
  if (side.dib != nullptr) {
    ::DeleteObject(side.dib);
  }
  side = Side();
}

void PixelStaging::Release() {
  ReleaseSide(m_pixels);
  ReleaseSide(m_mask);
  m_device = RECT{0, 0, 0, 0};
}
