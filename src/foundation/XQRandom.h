#pragma once

#include <cstdint>

// The pseudo-random generator of the Windows C runtime, rebuilt so that the
// same seed gives the same numbers on every platform and in the tests:
// state := state x 214013 + 2531011, result bits 16-30 of the new state.
class XQRandom {
public:
  static constexpr uint32_t kMultiplier = 214013;
  static constexpr uint32_t kIncrement = 2531011;
  // rand() yields 0 to kMax.
  static constexpr uint32_t kMax = 0x7FFF;
  // The runtime's state before the first srand.
  static constexpr uint32_t kDefaultSeed = 1;

  explicit XQRandom(uint32_t seed = kDefaultSeed) : m_state(seed) {}

  void Seed(uint32_t seed) { m_state = seed; }
  uint32_t Next();
  // A number from 0 to bound - 1, as the runtime's callers take it
  // (rand() % bound); 0 for a bound of 0.
  uint32_t Below(uint32_t bound);

private:
  uint32_t m_state;
};
