#include "engine/VORSystemClock.h"

#include <windows.h>

#include <mmsystem.h>

#include <gtest/gtest.h>

namespace {

// The program's clock is the multimedia millisecond counter, read without
// the multimedia library: it must give what timeGetTime gives.
TEST(VORSystemClockTest, ReadsTheMultimediaCounter) {
  VORSystemClock &clock = VORSystemClock::Instance();
  for (int i = 0; i < 20; ++i) {
    const DWORD before = timeGetTime();
    const uint32_t read = clock.GetMilliseconds();
    const DWORD after = timeGetTime();
    EXPECT_LE(before - 1, read) << i;
    EXPECT_LE(read, after + 1) << i;
    Sleep(3);
  }
}

} // namespace
