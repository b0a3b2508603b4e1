#include "objects/ScrollbarGeometry.h"

#include <algorithm>
#include <cmath>

namespace ScrollbarGeometry {

double ClampFraction(double value, double fallback) {
  if (std::isnan(value))
    return fallback;
  return std::clamp(value, 0.0, 1.0);
}

int32_t ButtonHeight(int32_t width, int32_t height, int32_t buttonCount) {
  if (buttonCount <= 0)
    return width;
  const int32_t half = height / 2;
  return static_cast<int64_t>(half) < static_cast<int64_t>(width) * buttonCount ? half / buttonCount : width;
}

int32_t AspectHeight(int32_t width, int32_t pictureWidth, int32_t pictureHeight, int32_t fallback) {
  if (pictureHeight <= 0)
    return fallback;
  const int64_t height = static_cast<int64_t>(width) * pictureWidth / pictureHeight;
  return static_cast<int32_t>(std::clamp<int64_t>(height, INT32_MIN, INT32_MAX));
}

int32_t ThumbHeight(const VORRect &track, double thumbSize, bool proportional, int32_t width) {
  if (!proportional)
    return width;
  const double height = static_cast<double>(track.bottom - track.top) * ClampFraction(thumbSize, 0.0);
  return static_cast<int32_t>(height);
}

VORRect PlaceThumb(const VORRect &track, int32_t thumbHeight, double position) {
  // The thumb travels as far as a drag takes it: its bottom at the track's
  // bottom, never past it; a thumb taller than the track stays at its top.
  const int64_t travel = std::max<int64_t>(static_cast<int64_t>(track.bottom) - track.top - thumbHeight, 0);
  const double offset = std::trunc(static_cast<double>(travel) * ClampFraction(position, 0.0) + 0.5);
  const int32_t top = track.top + static_cast<int32_t>(offset);
  return VORRect(track.left, top, track.right, top + thumbHeight);
}

int32_t DraggedThumbTop(int32_t pointerY, int32_t pressY, int32_t thumbTopAtPress, const VORRect &track,
                        int32_t thumbHeight) {
  int64_t top = static_cast<int64_t>(pointerY) + thumbTopAtPress - pressY;
  top = std::max<int64_t>(top, track.top);
  if (top + thumbHeight > track.bottom)
    top = static_cast<int64_t>(track.bottom) - thumbHeight;
  return static_cast<int32_t>(top);
}

double DraggedPosition(int32_t thumbTop, const VORRect &track, int32_t thumbHeight) {
  const int64_t travel = static_cast<int64_t>(track.bottom) - track.top - thumbHeight;
  if (travel <= 0)
    return 0.0;
  return ClampFraction(static_cast<double>(static_cast<int64_t>(thumbTop) - track.top) / static_cast<double>(travel),
                       0.0);
}

} // namespace ScrollbarGeometry
