#include "display/MaskBitmap.h"

#include "display/DrawingContext.h"

MaskBitmap::MaskBitmap(int width, int height) {
  if (Attach(::CreateBitmap(width, height, 1, 1, nullptr), nullptr))
    ::PatBlt(m_memoryDC, 0, 0, width, height, BLACKNESS);
}

DrawingContext *MaskBitmap::GetDrawingContext() {
  if (!m_context && m_memoryDC != nullptr && m_bitmap != nullptr) {
    m_context = std::make_unique<DrawingContext>(nullptr, nullptr);
    m_context->SetMaskDC(m_memoryDC);
  }
  return m_context.get();
}
