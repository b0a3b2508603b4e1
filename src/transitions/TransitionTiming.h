#pragma once

#include <cstdint>

// When an effect draws which step. Platform-free so that the rules are
// checked with a clock of the test's own.
namespace TransitionTiming {

// The late effect is called again this soon.
constexpr uint32_t kLateRetryMs = 5;
// A due time that is never reached.
constexpr uint32_t kNever = 0xFFFFFFFF;

// A modal run's step after elapsed ms of duration: it follows the clock,
// and a duration of 0 goes straight to the last step. Worked in 64 bits:
// elapsed x total overflows 32 bits on long runs of many steps, and the
// last step would then never come.
int32_t ModalStep(uint32_t elapsed, int32_t total, uint32_t duration);

// A step of a run driven by the update controller.
struct ControllerStep {
  int32_t step = 0;
  bool finished = false;
  // When the next step is due (kNever once finished).
  uint32_t nextDue = kNever;
  // The increment from now on: a late effect takes a tenth more plus one,
  // so that it catches up by skipping steps.
  int32_t increment = 1;
};

// The step after current (-1 before the first), the step's planned time
// from start, and whether it is late at now.
ControllerStep NextControllerStep(int32_t current, int32_t increment, int32_t total, uint32_t duration, uint32_t start,
                                  uint32_t now);

} // namespace TransitionTiming
