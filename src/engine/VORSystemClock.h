#pragma once

#include "engine/VORClock.h"

// The system's clocks: the multimedia millisecond counter (timeGetTime's value) and
// the runtime's local time (time, ctime).
class VORSystemClock : public VORClock {
public:
  // The one the program runs on; it holds nothing, so it is there from the
  // start.
  static VORSystemClock &Instance();

  uint32_t GetMilliseconds() override;
  const char *GetLocalTimeText() override;
};
