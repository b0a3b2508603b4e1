#include "foundation/StartupTrace.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr double kTicksPerMs = 10000.0; // FILETIME counts 100 ns

uint64_t AsTicks(const FILETIME &time) {
  return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

uint64_t ProcessCreationTicks() {
  FILETIME created = {}, exited = {}, kernel = {}, user = {};
  if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user))
    return 0;
  return AsTicks(created);
}

uint64_t NowTicks() {
  FILETIME now = {};
  GetSystemTimeAsFileTime(&now);
  return AsTicks(now);
}

struct TraceState {
  bool decided = false;
  bool on = false;
  uint64_t created = 0;
  uint64_t last = 0;
};

TraceState &State() {
  static TraceState state;
  if (!state.decided) {
    state.decided = true;
    const char *value = std::getenv(StartupTrace::kVariable);
    state.on = value != nullptr && *value != '\0' && std::strcmp(value, "0") != 0;
    if (state.on) {
      state.created = ProcessCreationTicks();
      state.last = state.created;
    }
  }
  return state;
}

} // namespace

bool StartupTrace::IsOn() { return State().on; }

void StartupTrace::Mark(const char *what) {
  TraceState &state = State();
  if (!state.on)
    return;
  const uint64_t now = NowTicks();
  const double sinceCreation = static_cast<double>(now - state.created) / kTicksPerMs;
  const double sinceLast = static_cast<double>(now - state.last) / kTicksPerMs;
  state.last = now;
  std::fprintf(stderr, "startup: %8.1f ms (+%7.1f) %s\n", sinceCreation, sinceLast, what);
  std::fflush(stderr);
}

// Before every other static object of the program: what came before is the
// system's loading of the program and its libraries.
__attribute__((constructor(101))) static void MarkRuntimeStart() { StartupTrace::Mark("runtime start-up"); }
