#pragma once

// A trace of the start-up with timestamps, for finding where the time to the
// first page goes. Off unless the environment variable "VOR_STARTUP_TRACE"
// is set (to anything but "0"); then each mark prints one line to stderr:
//
//   startup: <ms since the process was created> (+<ms since the last mark>) <what>
//
// Marking costs one flag test when the trace is off.
class StartupTrace {
public:
  static constexpr const char *kVariable = "VOR_STARTUP_TRACE";

  static void Mark(const char *what);
  static bool IsOn();
};
