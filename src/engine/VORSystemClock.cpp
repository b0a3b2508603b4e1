#include "engine/VORSystemClock.h"

#include <windows.h>

#include <ctime>

namespace {

constexpr int64_t kMsPerSecond = 1000;

} // namespace

VORSystemClock &VORSystemClock::Instance() {
  static VORSystemClock clock;
  return clock;
}

// The multimedia millisecond counter, read the way the multimedia library
// reads it (Wine's timeGetTime is exactly this), without loading that library:
// it imports OLE, which would cost the start-up more than a tenth of a second
// before the first page. Milliseconds since the system started, wrapping at
// 2^32 as timeGetTime does.
uint32_t VORSystemClock::GetMilliseconds() {
  static const int64_t frequency = [] {
    LARGE_INTEGER value;
    return QueryPerformanceFrequency(&value) && value.QuadPart > 0 ? value.QuadPart : 1;
  }();
  LARGE_INTEGER count;
  QueryPerformanceCounter(&count);
  // Whole seconds and the rest apart: the count times 1000 would overflow
  // after weeks on a fast counter.
  const int64_t milliseconds =
      count.QuadPart / frequency * kMsPerSecond + count.QuadPart % frequency * kMsPerSecond / frequency;
  return static_cast<uint32_t>(milliseconds);
}

const char *VORSystemClock::GetLocalTimeText() {
  const time_t now = time(nullptr);
  return ctime(&now);
}
