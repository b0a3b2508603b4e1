#pragma once

#include <cstdint>

// The two clocks of the player: the millisecond counter that times
// everything (it wraps after 49.7 days: compare its values by their
// difference) and the local wall-clock time of the built-in variables.
// The program reads the system's; tests set their own.
class VORClock {
public:
  VORClock() = default;
  VORClock(const VORClock &) = delete;
  VORClock &operator=(const VORClock &) = delete;
  virtual ~VORClock() = default;

  virtual uint32_t GetMilliseconds() = 0;
  // The local time as the runtime's ctime writes it, "Thu Jan  1 09:05:03
  // 1970" and a newline; null when the time cannot be had.
  virtual const char *GetLocalTimeText() = 0;

  // Whether the time a falls before b (or at it), for times less than
  // 24.8 days apart in either direction.
  static bool IsBefore(uint32_t a, uint32_t b) { return static_cast<int32_t>(a - b) < 0; }
  static bool IsAtOrAfter(uint32_t a, uint32_t b) { return !IsBefore(a, b); }
};
