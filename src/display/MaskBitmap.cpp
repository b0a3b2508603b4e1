#include "display/MaskBitmap.h"

#include "display/DrawingContext.h"
#include "display/SystemErrorHook.h"

MaskBitmap::MaskBitmap(int width, int height) {
  m_bitmap = ::CreateBitmap(width, height, 1, 1, nullptr);
  if (m_bitmap == nullptr) {
    ReportSystemError(kErrorBitmapNotCreated);
  }
  m_memoryDC = ::CreateCompatibleDC(nullptr);
  if (m_memoryDC == nullptr) {
    ReportSystemError(kErrorMemoryDCNotCreated);
    return;
  }
  if (m_bitmap != nullptr) {
    m_displaced = ::SelectObject(m_memoryDC, m_bitmap);
    ::PatBlt(m_memoryDC, 0, 0, width, height, BLACKNESS);
  }
}

MaskBitmap::~MaskBitmap() {
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

DrawingContext *MaskBitmap::GetDrawingContext() {
  if (!m_context && m_memoryDC != nullptr && m_bitmap != nullptr) {
    m_context = std::make_unique<DrawingContext>(nullptr, nullptr);
    m_context->SetMaskDC(m_memoryDC);
  }
  return m_context.get();
}
