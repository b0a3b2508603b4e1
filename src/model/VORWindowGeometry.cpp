#include "model/VORWindowGeometry.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace {

constexpr double kPercent = 0.01;

int32_t Clamp(double value) {
  if (value >= static_cast<double>(std::numeric_limits<int32_t>::max()))
    return std::numeric_limits<int32_t>::max();
  if (value <= static_cast<double>(std::numeric_limits<int32_t>::min()))
    return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(value);
}

// The share of the free space before the window, truncated towards zero.
int32_t Offset(int32_t screen, int32_t size, int32_t percent) {
  const double free = static_cast<double>(screen) - static_cast<double>(size);
  return Clamp(std::trunc(free * kPercent * static_cast<double>(percent)));
}

} // namespace

VORWindowRect VORWindowPlacement::Place(const VORWindowMetrics &metrics, int32_t frameX, int32_t frameY) const {
  double width = clientWidth;
  double height = static_cast<double>(clientHeight) + (titleBar ? metrics.captionHeight : 0);
  if (border == kThickFrameBorder || border == kThinBorder) {
    width += 2.0 * frameX;
    height += 2.0 * frameY;
  }
  VORWindowRect rect;
  rect.width = Clamp(width);
  rect.height = Clamp(height);
  rect.left = Offset(metrics.screenWidth, rect.width, xPercent);
  rect.top = Offset(metrics.screenHeight, rect.height, yPercent);
  return rect;
}
