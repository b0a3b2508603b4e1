#include "display/DrawingContextSaver.h"

#include "display/DrawingContext.h"

DrawingContextSaver::DrawingContextSaver(DrawingContext &context)
    : m_context(context), m_origin(context.GetOrigin()), m_clip(context.GetClipRect()) {}

DrawingContextSaver::~DrawingContextSaver() {
  m_context.RemoveClip();
  m_context.SetOrigin(m_origin.x, m_origin.y);
  m_context.SetClipRect(m_clip); // a remembered right edge of -1 leaves no clip
}
