#include "foundation/VORRandomGenerator.h"

namespace {

constexpr int kResultShift = 16;

uint32_t g_state = VORRandomGenerator::kInitialSeed;

} // namespace

void VORRandomGenerator::Seed(uint32_t seed) { g_state = seed; }

int32_t VORRandomGenerator::Next() {
  // Unsigned arithmetic: the state wraps modulo 2^32 by definition.
  g_state = g_state * kMultiplier + kIncrement;
  return static_cast<int32_t>((g_state >> kResultShift) & static_cast<uint32_t>(kMaxNumber));
}
