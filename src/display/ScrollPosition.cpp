#include "display/ScrollPosition.h"

#include <algorithm>

namespace ScrollPosition {

namespace {

// The position of the last page, the largest a scroll bar takes: the range
// (0 to maximum, both ends counted) less the page that shows page units at
// once. The view's page is one more than its client size, so this is where
// the client area ends at the page's last row or column. A page at least as
// large as the range leaves nothing to scroll.
int64_t LastPage(int32_t maximum, int32_t page) {
  const int64_t shown = std::max<int64_t>(page, 1);
  return std::max<int64_t>(static_cast<int64_t>(maximum) - shown + 1, 0);
}

} // namespace

int32_t ForRequest(int32_t request, int32_t position, int32_t thumb, int32_t maximum, int32_t page) {
  const int64_t last = LastPage(maximum, page);
  int64_t next = position;
  switch (request) {
  case kLineBack:
    if (next > 0) {
      --next;
    }
    break;
  case kLineForward:
    if (next < last) {
      ++next;
    }
    break;
  case kPageBack:
    next = std::max<int64_t>(next - page, 0);
    break;
  case kPageForward:
    next = std::min<int64_t>(next + page, last);
    break;
  case kThumbTrack:
    next = thumb;
    break;
  case kStart:
    next = 0;
    break;
  case kEnd:
    // The last page, not the range's end: a position past it would scroll
    // the page out of the window.
    next = last;
    break;
  default:
    break;
  }
  return static_cast<int32_t>(next);
}

int32_t ForWheel(int32_t delta, int32_t position, int32_t maximum, int32_t page) {
  const int64_t moved = static_cast<int64_t>(position) + static_cast<int64_t>(delta) * -kPixelsPerNotch / kWheelDelta;
  return static_cast<int32_t>(std::clamp<int64_t>(moved, 0, LastPage(maximum, page)));
}

} // namespace ScrollPosition
