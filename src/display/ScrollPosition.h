#pragma once

#include <cstdint>

// The new position of a view's scroll bar for a scroll request, kept
// between 0 and the position of the last page: the range's end less the page
// plus one, where the bar itself stops, so that the page's last row and
// column come into view.
namespace ScrollPosition {

// The requests of WM_HSCROLL and WM_VSCROLL (SB_LINELEFT ... SB_ENDSCROLL).
enum Request : int32_t {
  kLineBack = 0,
  kLineForward = 1,
  kPageBack = 2,
  kPageForward = 3,
  kThumbPosition = 4,
  kThumbTrack = 5,
  kStart = 6,
  kEnd = 7,
  kEndScroll = 8,
};

// One wheel notch (WHEEL_DELTA) scrolls this many pixels.
constexpr int32_t kWheelDelta = 120;
constexpr int32_t kPixelsPerNotch = 20;

int32_t ForRequest(int32_t request, int32_t position, int32_t thumb, int32_t maximum, int32_t page);
// delta: the wheel's signed turn, positive away from the user (up).
int32_t ForWheel(int32_t delta, int32_t position, int32_t maximum, int32_t page);

} // namespace ScrollPosition
