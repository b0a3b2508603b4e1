#pragma once

#include <cstdint>

// Called with the millisecond time whenever queued work may have fallen
// due: after every message of the main loop, and from the timer window.
class VORTimerTickReceiver {
public:
  VORTimerTickReceiver() = default;
  VORTimerTickReceiver(const VORTimerTickReceiver &) = default;
  VORTimerTickReceiver &operator=(const VORTimerTickReceiver &) = default;
  virtual ~VORTimerTickReceiver() = default;

  virtual int OnTick(uint32_t now) = 0;
};
