#include "display/VORRect.h"

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
