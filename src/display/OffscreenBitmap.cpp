#include "display/OffscreenBitmap.h"

#include "display/DisplaySettings.h"
#include "display/DrawingContext.h"
#include "display/Palette.h"
#include "display/SystemErrorHook.h"

OffscreenBitmap::OffscreenBitmap(HDC dc, int width, int height) {
  HDC reference = dc != nullptr ? dc : ::GetDC(nullptr);
  m_bitmap = ::CreateCompatibleBitmap(reference, width, height);
  if (m_bitmap == nullptr) {
    ReportSystemError(kErrorBitmapNotCreated);
  }
  m_memoryDC = ::CreateCompatibleDC(reference);
  if (m_memoryDC == nullptr) {
    ReportSystemError(kErrorMemoryDCNotCreated);
  } else if (m_bitmap != nullptr) {
    m_displaced = ::SelectObject(m_memoryDC, m_bitmap);
  }
  if (dc == nullptr) {
    ::ReleaseDC(nullptr, reference);
  }
}

OffscreenBitmap::~OffscreenBitmap() {
  m_context.reset();
  if (m_memoryDC != nullptr) {
    if (m_displaced != nullptr) {
      ::SelectObject(m_memoryDC, m_displaced);
    }
    ::DeleteDC(m_memoryDC);
  }
  if (m_bitmap != nullptr) {
    ::DeleteObject(m_bitmap);
  }
}

DrawingContext *OffscreenBitmap::GetDrawingContext() {
  if (!m_context && m_memoryDC != nullptr) {
    m_context = std::make_unique<DrawingContext>(m_memoryDC, nullptr);
    Palette *palette = GetDisplaySettings().applicationPalette;
    if (palette != nullptr && palette->GetHPalette() != nullptr) {
      m_context->SelectPalette(palette->GetHPalette());
    }
  }
  return m_context.get();
}
