#pragma once

#include <cstddef>
#include <cstdint>

// The process-wide random number generator: the C runtime's linear
// congruential generator, written out so that a seed gives the same sequence
// in every build. The shuffled index sequence reseeds it from the clock each
// time it shuffles; the expression language's random function draws from it.
class VORRandomGenerator {
public:
  static constexpr uint32_t kMultiplier = 214013u;
  static constexpr uint32_t kIncrement = 2531011u;
  static constexpr uint32_t kInitialSeed = 1u;
  static constexpr int32_t kMaxNumber = 0x7FFF;

  static void Seed(uint32_t seed);
  // The next number, 0 to kMaxNumber.
  static int32_t Next();
  // The next count numbers, as count calls of Next would give them, for
  // loops that draw one number per pixel.
  static void Fill(int32_t *numbers, size_t count);
};
