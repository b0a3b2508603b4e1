#include "display/OffscreenBitmap.h"

#include "display/DisplaySettings.h"
#include "display/DrawingContext.h"
#include "display/Palette.h"

OffscreenBitmap::OffscreenBitmap(HDC dc, int width, int height) {
  HDC reference = dc != nullptr ? dc : ::GetDC(nullptr);
  Attach(::CreateCompatibleBitmap(reference, width, height), reference);
  if (dc == nullptr)
    ::ReleaseDC(nullptr, reference);
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
