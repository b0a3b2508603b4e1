#pragma once

#include <cstdint>

#include "foundation/VORRect.h"
#include "richtext/RichTextFont.h"
#include "richtext/TextStyle.h"

// What drawing rich text needs of a device: a drawing context in the
// program, a recorder in tests. Coordinates are the device's.
class RichTextCanvas {
public:
  virtual ~RichTextCanvas() = default;
  virtual void SetClip(const VORRect &rect) = 0;
  virtual void FillRect(const VORRect &rect, RichColor colour) = 0;
  // extra pixels spread over breaks blanks, as measuring did.
  virtual void DrawText(const RichTextFont &font, int32_t x, int32_t y, const char *text, int32_t length,
                        RichColor colour, int32_t extra, int32_t breaks) = 0;
  virtual void FillEllipse(const VORRect &rect, RichColor colour) = 0;
  virtual void Invert(const VORRect &rect) = 0;
};
