#include "images/VORDIBImage.h"

#include <windows.h>

#include "display/DibImage.h"
#include "display/DrawingContext.h"
#include "display/DrawingContextSaver.h"
#include "images/ImageFit.h"
#include "images/PictureChecks.h"
#include "model/VORApp.h"

bool VORDIBImage::Draw(DrawingContext &context, const VORRect &destination, const VORRect &clip) {
  DibImage *picture = GetDib();
  if (picture == nullptr)
    return false;
  DrawingContextSaver saver(context);
  context.SetClipRect(clip);
  const std::vector<ImageFit::Placement> placements =
      ImageFit::Place(GetSourceRect(), destination, clip, m_layout.fitMode, m_layout.keepAspect != 0);
  for (const ImageFit::Placement &placement : placements)
    DrawPart(context, *picture, placement.destination, placement.source);
  return true;
}

void VORDIBImage::DrawPart(DrawingContext &context, DibImage &picture, const VORRect &destination,
                           const VORRect &source) {
  // GDI counts a bottom-up DIB's source rows from its last row up.
  VORRect rows = source;
  if (!picture.IsTopDown()) {
    rows.top = picture.GetHeight() - source.bottom;
    rows.bottom = picture.GetHeight() - source.top;
  }
  const auto *info = reinterpret_cast<const BITMAPINFO *>(picture.GetInfo());
  DibImage *mask = GetMaskDib();
  if (m_layout.transparencyKind != ImageLayout::kOpaque && mask != nullptr) {
    context.StretchDIBitsMasked(destination, rows, picture.GetPixels(), mask->GetPixels(), info,
                                reinterpret_cast<const BITMAPINFO *>(mask->GetInfo()));
    return;
  }
  context.StretchDIBits(destination, rows, picture.GetPixels(), info, DIB_RGB_COLORS, SRCCOPY);
}

void VORDIBImage::GetSize(int32_t &width, int32_t &height, int32_t &bitsPerPixel) {
  DibImage *picture = GetDib();
  width = picture ? picture->GetWidth() : 0;
  height = picture ? picture->GetHeight() : 0;
  bitsPerPixel = picture ? picture->GetBitsPerPixel() : 0;
}

bool VORDIBImage::HitTest(int32_t x, int32_t y, const VORRect &destination) {
  DibImage *picture = GetDib();
  if (picture == nullptr)
    return false;
  int32_t pictureX = 0, pictureY = 0;
  switch (ImageFit::MapPoint(x, y, GetSourceRect(), destination, m_layout.fitMode, m_layout.keepAspect != 0, pictureX,
                             pictureY)) {
  case ImageFit::PointMapping::kAnywhere:
    return true;
  case ImageFit::PointMapping::kOutside:
    return false;
  case ImageFit::PointMapping::kPixel:
    break;
  }
  return ImageFit::TestMaskPixel(GetMaskDib(), picture->GetWidth(), picture->GetHeight(), pictureX, pictureY);
}

bool VORDIBImage::MatchesAppPalette() {
  DibImage *picture = GetDib();
  if (picture == nullptr)
    return true;
  return PictureChecks::ColorTableMatches(*picture, VORApp::Get() ? VORApp::Get()->GetPalette() : nullptr);
}

const BitmapInfoHeader *VORDIBImage::GetBitmapInfo() {
  DibImage *picture = GetDib();
  return picture ? picture->GetInfo() : nullptr;
}

VORRect VORDIBImage::GetSourceRect() {
  VORRect source(m_layout.left, m_layout.top, m_layout.right, m_layout.bottom);
  DibImage *picture = GetDib();
  if (picture != nullptr) {
    if (source.right == -1)
      source.right = picture->GetWidth();
    if (source.bottom == -1)
      source.bottom = picture->GetHeight();
  }
  return source;
}
