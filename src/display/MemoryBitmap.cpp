#include "display/MemoryBitmap.h"

#include "display/DrawingContext.h"
#include "display/SystemErrorHook.h"

MemoryBitmap::~MemoryBitmap() {
  m_context.reset();
  if (m_memoryDC != nullptr) {
    if (m_displaced != nullptr)
      ::SelectObject(m_memoryDC, m_displaced);
    ::DeleteDC(m_memoryDC);
  }
  if (m_bitmap != nullptr)
    ::DeleteObject(m_bitmap);
}

bool MemoryBitmap::Attach(HBITMAP bitmap, HDC reference) {
  m_bitmap = bitmap;
  if (m_bitmap == nullptr)
    ReportSystemError(kErrorBitmapNotCreated);
  m_memoryDC = ::CreateCompatibleDC(reference);
  if (m_memoryDC == nullptr) {
    ReportSystemError(kErrorMemoryDCNotCreated);
    return false;
  }
  if (m_bitmap == nullptr)
    return false;
  m_displaced = ::SelectObject(m_memoryDC, m_bitmap);
  return true;
}
