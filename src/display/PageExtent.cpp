#include "display/PageExtent.h"

#include <algorithm>
#include <limits>

namespace {

int32_t Clamp32(int64_t value) {
  return static_cast<int32_t>(
      std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

// Centred when smaller than the client area; otherwise a centring origin
// goes back to the edge, a scrolled one stays.
int32_t PlaceOrigin(int32_t origin, int32_t clientSize, int32_t extent) {
  if (extent < clientSize) {
    return static_cast<int32_t>((static_cast<int64_t>(clientSize) - extent) / 2);
  }
  return origin > 0 ? 0 : origin;
}

} // namespace

PageExtent PageExtent::Compute(const Input &input) {
  const int32_t pageWidth = Clamp32(input.pageRect.Width());
  const int32_t pageHeight = Clamp32(input.pageRect.Height());
  int32_t a = input.clientWidth;
  int32_t b = input.clientHeight;
  if (input.chapterPageRect.left < input.chapterPageRect.right) {
    a = std::min(a, input.chapterPageRect.right);
    b = std::min(b, input.chapterPageRect.bottom);
  }
  a = std::max(a, pageWidth);
  b = std::max(b, pageHeight);
  if (input.hasProperties) {
    if (input.neededHeight) {
      b = std::max(b, input.neededHeight(a));
    }
  } else {
    if (!input.stretchesHorizontally) {
      a = pageWidth;
    }
    if (!input.stretchesVertically) {
      b = pageHeight;
    }
  }
  // A page of no width has no aspect to keep.
  if (input.keepAspect && pageWidth != 0) {
    b = Clamp32(static_cast<int64_t>(a) * pageHeight / pageWidth);
  }

  PageExtent extent;
  extent.width = a;
  extent.height = b;
  int32_t originX = std::max(input.originX, Clamp32(static_cast<int64_t>(input.clientWidth) - a));
  int32_t originY = std::max(input.originY, Clamp32(static_cast<int64_t>(input.clientHeight) - b));
  extent.scrollX = std::max(Clamp32(-static_cast<int64_t>(originX)), 0);
  extent.scrollY = std::max(Clamp32(-static_cast<int64_t>(originY)), 0);
  extent.originX = PlaceOrigin(originX, input.clientWidth, a);
  extent.originY = PlaceOrigin(originY, input.clientHeight, b);
  return extent;
}
