#include "richtext/GdiTextCanvas.h"

#include "richtext/GdiTextMeasurer.h"

void GdiTextCanvas::SetClip(const VORRect &rect) {
  m_context.SetClipRect(rect);
  m_context.SetBkMode(TRANSPARENT);
}

void GdiTextCanvas::FillRect(const VORRect &rect, RichColor colour) {
  m_context.SetPenColor(colour);
  m_context.SetBrushColor(colour);
  m_context.DrawRectangle(rect);
}

void GdiTextCanvas::DrawText(const RichTextFont &font, int32_t x, int32_t y, const char *text, int32_t length,
                             RichColor colour, int32_t extra, int32_t breaks) {
  if (m_font != &font) {
    m_context.SelectFont(GdiTextMeasurer::HandleOf(font));
    m_font = &font;
  }
  if (!m_hasColor || m_color != colour) {
    m_context.SetTextColor(colour);
    m_color = colour;
    m_hasColor = true;
  }
  m_context.SetTextJustification(extra, breaks);
  m_context.TextOut(x, y, text, length);
  if (extra != 0)
    m_context.SetTextJustification(0, 0);
}

void GdiTextCanvas::FillEllipse(const VORRect &rect, RichColor colour) {
  m_context.SetPenColor(colour);
  m_context.SetBrushColor(colour);
  m_context.DrawEllipse(rect);
}

void GdiTextCanvas::Invert(const VORRect &rect) {
  m_context.PatBlt(rect.left, rect.top, static_cast<int>(rect.Width()), static_cast<int>(rect.Height()), DSTINVERT);
}
