#include "printing/PageFitting.h"

#include <algorithm>

namespace PageFitting {

namespace {

int32_t Proportion(int64_t value, int64_t numerator, int64_t denominator) {
  return denominator > 0 ? static_cast<int32_t>(value * numerator / denominator) : 0;
}

} // namespace

int32_t ScaleSide(int32_t side, int32_t screen, int32_t printer) {
  if (screen <= 0 || printer <= 0)
    return side;
  return Proportion(side, std::max(screen, printer), std::min(screen, printer));
}

Placement PlaceOnSheet(int32_t sourceWidth, int32_t sourceHeight, Resolution screen, Resolution printer,
                       int32_t printableWidth, int32_t printableHeight) {
  Placement placement;
  placement.width = ScaleSide(sourceWidth, screen.x, printer.x);
  placement.height = ScaleSide(sourceHeight, screen.y, printer.y);
  if (placement.width > printableWidth) {
    placement.height = Proportion(printableWidth, placement.height, placement.width);
    placement.width = printableWidth;
  }
  if (placement.height > printableHeight) {
    placement.width = Proportion(printableHeight, placement.width, placement.height);
    placement.height = printableHeight;
  }
  placement.x = CentredStart(printableWidth, placement.width);
  placement.y = CentredStart(printableHeight, placement.height);
  return placement;
}

int32_t CentredStart(int32_t extent, int32_t size) { return std::max(extent / 2 - size / 2, 0); }

} // namespace PageFitting
