#include "foundation/VORRandomGenerator.h"

#if defined(__i386__) || defined(__x86_64__)
#include <immintrin.h>
#endif

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

#if defined(__i386__) || defined(__x86_64__)
// Where the processor and the system run AVX2: thirty-two states a step apart
// move thirty-two steps at a time, eight to a register.
constexpr int kWideLanes = 32;
constexpr size_t kLanesPerRegister = 8;
constexpr Leap kWideLeap = LeapOf(kWideLanes);

bool WideLanesSupported() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2") != 0;
}

// Draws whole runs of thirty-two numbers; answers how many it drew.
__attribute__((target("avx2"))) size_t FillWide(int32_t *numbers, size_t count, uint32_t &state) {
  uint32_t first[kWideLanes];
  for (uint32_t &lane : first) {
    state = state * VORRandomGenerator::kMultiplier + VORRandomGenerator::kIncrement;
    lane = state;
  }
  constexpr size_t kRegisters = kWideLanes / kLanesPerRegister;
  __m256i lanes[kRegisters];
  for (size_t r = 0; r < kRegisters; ++r) {
    lanes[r] = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(first + kLanesPerRegister * r));
  }
  const __m256i multiplier = _mm256_set1_epi32(static_cast<int>(kWideLeap.multiplier));
  const __m256i increment = _mm256_set1_epi32(static_cast<int>(kWideLeap.increment));
  const __m256i mask = _mm256_set1_epi32(VORRandomGenerator::kMaxNumber);
  size_t i = 0;
  for (;;) {
    for (size_t r = 0; r < kRegisters; ++r) {
      _mm256_storeu_si256(reinterpret_cast<__m256i *>(numbers + i + kLanesPerRegister * r),
                          _mm256_and_si256(_mm256_srli_epi32(lanes[r], kResultShift), mask));
    }
    i += kWideLanes;
    if (i + kWideLanes > count) {
      break;
    }
    for (__m256i &lane : lanes) {
      lane = _mm256_add_epi32(_mm256_mullo_epi32(lane, multiplier), increment);
    }
  }
  state = static_cast<uint32_t>(_mm256_extract_epi32(lanes[kRegisters - 1], kLanesPerRegister - 1));
  return i;
}

size_t FillVector(int32_t *numbers, size_t count, uint32_t &state) {
  static const bool wide = WideLanesSupported();
  return wide && count >= kWideLanes ? FillWide(numbers, count, state) : 0;
}
#else
size_t FillVector(int32_t *, size_t, uint32_t &) { return 0; }
#endif

} // namespace

void VORRandomGenerator::Seed(uint32_t seed) { g_state = seed; }

int32_t VORRandomGenerator::Next() {
  // Unsigned arithmetic: the state wraps modulo 2^32 by definition.
  g_state = g_state * kMultiplier + kIncrement;
  return NumberOf(g_state);
}

void VORRandomGenerator::Fill(int32_t *numbers, size_t count) {
  const size_t drawn = FillVector(numbers, count, g_state);
  numbers += drawn;
  count -= drawn;
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
