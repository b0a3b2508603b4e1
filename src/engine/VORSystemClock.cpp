#include "engine/VORSystemClock.h"

#include <windows.h>

#include <mmsystem.h>

#include <ctime>

VORSystemClock &VORSystemClock::Instance() {
  static VORSystemClock clock;
  return clock;
}

uint32_t VORSystemClock::GetMilliseconds() { return timeGetTime(); }

const char *VORSystemClock::GetLocalTimeText() {
  const time_t now = time(nullptr);
  return ctime(&now);
}
