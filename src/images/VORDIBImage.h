#pragma once

#include <cstdint>

#include "display/DibTypes.h"
#include "images/VORGfxImage.h"

class DibImage;

// A picture held as a DIB with an optional one-bit mask: drawn by the
// layout's fit mode, through the mask when the layout has a key colour, and
// hit where the mask covers it.
class VORDIBImage : public VORGfxImage {
public:
  using VORGfxImage::VORGfxImage;

  // Clipped to clip; false when there is no picture.
  bool Draw(DrawingContext &context, const VORRect &destination, const VORRect &clip) override;
  // Width, height and depth of the picture; zeros without one.
  void GetSize(int32_t &width, int32_t &height, int32_t &bitsPerPixel) override;
  bool HitTest(int32_t x, int32_t y, const VORRect &destination) override;
  bool MatchesAppPalette() override;

  // The picture and its mask while locked; null otherwise.
  virtual DibImage *GetDib() = 0;
  virtual DibImage *GetMaskDib() = 0;
  // The picture's header and colour table, as GDI takes a BITMAPINFO.
  const BitmapInfoHeader *GetBitmapInfo();

  // The layout's source rectangle with -1 right and bottom taken as the
  // picture's width and height.
  VORRect GetSourceRect();

private:
  void DrawPart(DrawingContext &context, DibImage &picture, const VORRect &destination, const VORRect &source);
};
