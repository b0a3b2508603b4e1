#include "FakePaintable.h"

#ifdef _WIN32
#include "display/DrawingContext.h"
#endif

void FakePaintable::Paint(const VORRect &update, DrawingContext &context) {
  if (m_log != nullptr) {
    m_log->push_back(m_name);
  }
#ifdef _WIN32
  VORRect part;
  if (colour >= 0 && part.Intersect(update, m_rect)) {
    context.SetPenColor(static_cast<COLORREF>(colour));
    context.SetBrushColor(static_cast<COLORREF>(colour));
    context.DrawRectangle(part);
    context.DeletePen();
    context.DeleteBrush();
  }
#else
  static_cast<void>(update);
  static_cast<void>(context);
#endif
}
