#include "images/ImageFit.h"

#include <algorithm>

#include "display/DibImage.h"
#include "images/ImageLayout.h"

namespace ImageFit {

namespace {

int64_t FloorDivide(int64_t value, int64_t divisor) {
  const int64_t quotient = value / divisor;
  return (value % divisor != 0 && (value < 0) != (divisor < 0)) ? quotient - 1 : quotient;
}

int32_t Clamp32(int64_t value) { return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX)); }

VORRect StretchTarget(const VORRect &source, const VORRect &destination, bool keepAspect) {
  VORRect target = destination;
  if (keepAspect)
    target.FitInside(source, false);
  return target;
}

// Top-left corner of the centred source.
VORPoint CentredCorner(const VORRect &source, const VORRect &destination) {
  VORPoint corner;
  corner.x = Clamp32(destination.left + (destination.Width() - source.Width()) / 2);
  corner.y = Clamp32(destination.top + (destination.Height() - source.Height()) / 2);
  return corner;
}

VORRect SourceAt(const VORRect &source, int64_t x, int64_t y) {
  return VORRect(Clamp32(x), Clamp32(y), Clamp32(x + source.Width()), Clamp32(y + source.Height()));
}

void PlaceTiles(const VORRect &source, const VORRect &destination, const VORRect &clip,
                std::vector<Placement> &placements) {
  VORRect visible = destination;
  if (clip.right != -1 && !visible.Intersect(destination, clip))
    return;
  const int64_t width = source.Width(), height = source.Height();
  // Only the columns and rows that meet what is visible.
  const int64_t firstColumn = (visible.left - static_cast<int64_t>(destination.left)) / width;
  const int64_t firstRow = (visible.top - static_cast<int64_t>(destination.top)) / height;
  for (int64_t y = destination.top + firstRow * height; y < visible.bottom; y += height)
    for (int64_t x = destination.left + firstColumn * width; x < visible.right; x += width)
      placements.push_back({SourceAt(source, x, y), source});
}

} // namespace

std::vector<Placement> Place(const VORRect &source, const VORRect &destination, const VORRect &clip, int32_t fitMode,
                             bool keepAspect) {
  std::vector<Placement> placements;
  if (source.IsEmpty())
    return placements;
  switch (fitMode) {
  case ImageLayout::kCorner: {
    VORRect part;
    const VORRect reach(0, 0, Clamp32(destination.Width()), Clamp32(destination.Height()));
    if (part.Intersect(reach, source))
      placements.push_back({part.Offset(destination.left, destination.top), part});
    break;
  }
  case ImageLayout::kStretch: {
    const VORRect target = StretchTarget(source, destination, keepAspect);
    if (!target.IsEmpty())
      placements.push_back({target, source});
    break;
  }
  case ImageLayout::kTile:
    if (!destination.IsEmpty())
      PlaceTiles(source, destination, clip, placements);
    break;
  case ImageLayout::kCentre: {
    const VORPoint corner = CentredCorner(source, destination);
    placements.push_back({SourceAt(source, corner.x, corner.y), source});
    break;
  }
  default:
    break;
  }
  return placements;
}

PointMapping MapPoint(int32_t x, int32_t y, const VORRect &source, const VORRect &destination, int32_t fitMode,
                      bool keepAspect, int32_t &pictureX, int32_t &pictureY) {
  pictureX = 0;
  pictureY = 0;
  switch (fitMode) {
  case ImageLayout::kCorner:
    pictureX = Clamp32(static_cast<int64_t>(x) - destination.left);
    pictureY = Clamp32(static_cast<int64_t>(y) - destination.top);
    return PointMapping::kPixel;
  case ImageLayout::kStretch: {
    const VORRect target = StretchTarget(source, destination, keepAspect);
    // Nothing is drawn onto an empty destination, so nothing is hit there.
    if (target.IsEmpty())
      return PointMapping::kOutside;
    pictureX =
        Clamp32(source.left + FloorDivide((x - static_cast<int64_t>(target.left)) * source.Width(), target.Width()));
    pictureY =
        Clamp32(source.top + FloorDivide((y - static_cast<int64_t>(target.top)) * source.Height(), target.Height()));
    return PointMapping::kPixel;
  }
  case ImageLayout::kTile: {
    if (source.IsEmpty() || !destination.Contains(x, y))
      return PointMapping::kAnywhere;
    pictureX = Clamp32(source.left + (x - static_cast<int64_t>(destination.left)) % source.Width());
    pictureY = Clamp32(source.top + (y - static_cast<int64_t>(destination.top)) % source.Height());
    return PointMapping::kPixel;
  }
  case ImageLayout::kCentre: {
    const VORPoint corner = CentredCorner(source, destination);
    pictureX = Clamp32(source.left + static_cast<int64_t>(x) - corner.x);
    pictureY = Clamp32(source.top + static_cast<int64_t>(y) - corner.y);
    return PointMapping::kPixel;
  }
  default:
    return PointMapping::kAnywhere;
  }
}

bool TestMaskPixel(const DibImage *mask, int32_t width, int32_t height, int32_t x, int32_t y) {
  if (x < 0 || y < 0 || x >= width || y >= height)
    return false;
  return mask == nullptr || mask->IsMaskBitSet(x, y);
}

} // namespace ImageFit
