#include "foundation/VORRandomGenerator.h"

namespace {

constexpr int kResultShift = 16;

uint32_t g_state = VORRandomGenerator::kInitialSeed;

// Four states a step apart move four steps at a time: each chain of
// multiplications then waits on itself only, not on the one before it.
constexpr int kLanes = 4;

struct Leap {
  uint32_t multiplier;
  uint32_t increment;
};

// state(n + steps) = multiplier x state(n) + increment, modulo 2^32.
constexpr Leap LeapOf(int steps) {
  Leap leap{1u, 0u};
  for (int i = 0; i < steps; ++i) {
    leap = {leap.multiplier * VORRandomGenerator::kMultiplier,
            leap.increment * VORRandomGenerator::kMultiplier + VORRandomGenerator::kIncrement};
  }
  return leap;
}

constexpr Leap kLaneLeap = LeapOf(kLanes);

int32_t NumberOf(uint32_t state) {
  return static_cast<int32_t>((state >> kResultShift) & static_cast<uint32_t>(VORRandomGenerator::kMaxNumber));
}

} // namespace

void VORRandomGenerator::Seed(uint32_t seed) { g_state = seed; }

int32_t VORRandomGenerator::Next() {
  // Unsigned arithmetic: the state wraps modulo 2^32 by definition.
  g_state = g_state * kMultiplier + kIncrement;
  return NumberOf(g_state);
}

void VORRandomGenerator::Fill(int32_t *numbers, size_t count) {
  size_t i = 0;
  if (count >= kLanes) {
    uint32_t lanes[kLanes];
    for (uint32_t &lane : lanes) {
      g_state = g_state * kMultiplier + kIncrement;
      lane = g_state;
    }
    for (;;) {
      for (int lane = 0; lane < kLanes; ++lane) {
        numbers[i + lane] = NumberOf(lanes[lane]);
      }
      i += kLanes;
      if (i + kLanes > count) {
        break;
      }
      for (uint32_t &lane : lanes) {
        lane = lane * kLaneLeap.multiplier + kLaneLeap.increment;
      }
    }
    g_state = lanes[kLanes - 1];
  }
  for (; i < count; ++i) {
    numbers[i] = Next();
  }
}
