#include "transitions/TransitionTiming.h"

#include <algorithm>

namespace TransitionTiming {

int32_t ModalStep(uint32_t elapsed, int32_t total, uint32_t duration) {
  if (total <= 0)
    return 0;
  if (duration == 0 || elapsed >= duration)
    return total;
  return static_cast<int32_t>(static_cast<uint64_t>(elapsed) * static_cast<uint64_t>(total) / duration);
}

ControllerStep NextControllerStep(int32_t current, int32_t increment, int32_t total, uint32_t duration, uint32_t start,
                                  uint32_t now) {
  ControllerStep next;
  next.increment = std::max(increment, 1);
  const int64_t wanted = static_cast<int64_t>(current) + next.increment;
  next.step = static_cast<int32_t>(std::min<int64_t>(wanted, std::max(total, 0)));
  if (next.step >= total) {
    next.finished = true;
    next.nextDue = kNever;
    return next;
  }
  // Rounded to the nearest millisecond, as the system's MulDiv does.
  const uint64_t planned =
      (static_cast<uint64_t>(duration) * static_cast<uint64_t>(next.step) + static_cast<uint64_t>(total) / 2) /
      static_cast<uint64_t>(total);
  const uint32_t elapsed = now - start;
  if (planned > elapsed) {
    next.nextDue = start + static_cast<uint32_t>(planned);
  } else {
    next.nextDue = now + kLateRetryMs;
    const int64_t grown = static_cast<int64_t>(next.increment) * 11 / 10 + 1;
    next.increment = static_cast<int32_t>(std::min<int64_t>(grown, std::max(total, 1)));
  }
  return next;
}

} // namespace TransitionTiming
