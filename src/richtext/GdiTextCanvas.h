#pragma once

#include "display/DrawingContext.h"
#include "richtext/RichTextCanvas.h"

// Draws rich text through a drawing context, selecting fonts and colours
// only when they change.
class GdiTextCanvas : public RichTextCanvas {
public:
  explicit GdiTextCanvas(DrawingContext &context) : m_context(context) {}

  void SetClip(const VORRect &rect) override;
  void FillRect(const VORRect &rect, RichColor colour) override;
  void DrawText(const RichTextFont &font, int32_t x, int32_t y, const char *text, int32_t length, RichColor colour,
                int32_t extra, int32_t breaks) override;
  void FillEllipse(const VORRect &rect, RichColor colour) override;
  void Invert(const VORRect &rect) override;

private:
  DrawingContext &m_context;
  const RichTextFont *m_font = nullptr;
  bool m_hasColor = false;
  RichColor m_color = 0;
};
