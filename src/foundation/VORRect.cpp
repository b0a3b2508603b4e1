#include "foundation/VORRect.h"

#include <algorithm>
#include <limits>

namespace {

// Moved edges saturate instead of overflowing: the values may come from a file.
int32_t Saturate(int64_t value) {
  return static_cast<int32_t>(
      std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

} // namespace

bool VORRect::Intersect(const VORRect &a, const VORRect &b) {
  VORRect result(std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                 std::min(a.bottom, b.bottom));
  if (result.IsEmpty()) {
    *this = VORRect(0, 0, 0, 0);
    return false;
  }
  *this = result;
  return true;
}

void VORRect::Union(const VORRect &a, const VORRect &b) {
  *this = VORRect(std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                  std::max(a.bottom, b.bottom));
}

void VORRect::Inflate(int32_t dx, int32_t dy) {
  left = Saturate(static_cast<int64_t>(left) - dx);
  right = Saturate(static_cast<int64_t>(right) + dx);
  top = Saturate(static_cast<int64_t>(top) - dy);
  bottom = Saturate(static_cast<int64_t>(bottom) + dy);
}

VORRect VORRect::Offset(int32_t dx, int32_t dy) const {
  return VORRect(Saturate(static_cast<int64_t>(left) + dx), Saturate(static_cast<int64_t>(top) + dy),
                 Saturate(static_cast<int64_t>(right) + dx), Saturate(static_cast<int64_t>(bottom) + dy));
}

VORRect VORRect::MovedTo(int32_t x, int32_t y) const {
  return VORRect(x, y, Saturate(x + Width()), Saturate(y + Height()));
}

void VORRect::SubtractOffset(int32_t x, int32_t y) {
  *this = VORRect(Saturate(static_cast<int64_t>(left) - x), Saturate(static_cast<int64_t>(top) - y),
                  Saturate(static_cast<int64_t>(right) - x), Saturate(static_cast<int64_t>(bottom) - y));
}

void VORRect::FitInside(const VORRect &reference, bool centre) {
  const int64_t width = Width(), height = Height();
  const int64_t referenceWidth = reference.Width(), referenceHeight = reference.Height();
  // Both sizes come from before either edge moves.
  const int64_t fittedWidth = referenceHeight == 0 ? 0 : height * referenceWidth / referenceHeight;
  const int64_t fittedHeight = referenceWidth == 0 ? 0 : width * referenceHeight / referenceWidth;
  if (fittedWidth < width) {
    if (centre) {
      left = Saturate(left + (width - fittedWidth) / 2);
    }
    right = Saturate(left + fittedWidth);
  }
  if (fittedHeight < height) {
    if (centre) {
      top = Saturate(top + (height - fittedHeight) / 2);
    }
    bottom = Saturate(top + fittedHeight);
  }
}
