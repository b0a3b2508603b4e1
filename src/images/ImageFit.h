#pragma once

#include <cstdint>
#include <vector>

#include "foundation/VORRect.h"

class DibImage;

// Where a picture's source rectangle lands in a destination by the layout's
// fit mode, and which picture pixel a point of the destination shows.
namespace ImageFit {

// One stretch of the source rectangle onto a destination rectangle.
struct Placement {
  VORRect destination;
  VORRect source;
};

// The stretches that draw the source into the destination:
// corner: the part of the source inside (0, 0, destination size), unscaled
//   at the destination's corner (picture pixels keep their place);
// stretch: the source onto the destination, or onto its aspect fit of the
//   source's proportions (at its top-left) with keep aspect;
// tile: the source repeated unscaled from the destination's corner, only
//   the tiles that meet the destination within clip (a clip whose right is
//   -1 is none); none for an empty source or destination;
// centre: the source unscaled, centred (half the size difference, truncated
//   toward zero, may be negative);
// other modes: nothing.
std::vector<Placement> Place(const VORRect &source, const VORRect &destination, const VORRect &clip, int32_t fitMode,
                             bool keepAspect);

enum class PointMapping { kPixel, kAnywhere, kOutside };

// The picture pixel under the point (kPixel), or that the mode does not map
// points (kAnywhere: other modes, a tiled point in no tile), or that the
// point lies on nothing (kOutside: a stretch onto an empty destination).
PointMapping MapPoint(int32_t x, int32_t y, const VORRect &source, const VORRect &destination, int32_t fitMode,
                      bool keepAspect, int32_t &pictureX, int32_t &pictureY);

// A picture pixel hits when it lies in the picture and, with a mask, its
// mask bit is set.
bool TestMaskPixel(const DibImage *mask, int32_t width, int32_t height, int32_t x, int32_t y);

} // namespace ImageFit
