#pragma once

#include <windows.h>

#include <cstdint>

// The screen modes a publication may ask to play in, by index. The change
// is tried first and made only when the system says it would work; the
// registry is never written, so the old mode comes back with the run's end
// (or with Restore).
class VORDisplayMode {
public:
  struct Size {
    int32_t width;
    int32_t height;
  };

  // The mode an index selects: above the last counts as the last, below 0
  // as the first.
  static Size ForIndex(int32_t index);

  // Index -1 restores the mode of the registry; any other changes to the
  // index's mode when a test change reports success.
  static void Set(int32_t index);
  // On the way out of a crashed process: restores the registry's mode when
  // a change is in force. Touches only a flag and the system call.
  static void RestoreAfterFault();

  static constexpr int32_t kRestore = -1;

  // The system call, replaceable for tests.
  using ChangeFunction = LONG(WINAPI *)(DEVMODEA *mode, DWORD flags);
  static ChangeFunction SetChangeFunction(ChangeFunction change);
};
