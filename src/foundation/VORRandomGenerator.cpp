#include "foundation/VORRandomGenerator.h"

#if defined(__SSE2__)
#include <emmintrin.h>
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

#if defined(__SSE2__)
// Where SSE2 is the processor's baseline (every 64-bit build), sixteen states
// a step apart move sixteen steps at a time, four to a register.
constexpr int kVectorLanes = 16;
constexpr Leap kVectorLeap = LeapOf(kVectorLanes);

// The low 32 bits of each lane's product.
__m128i MultiplyLanes(__m128i a, __m128i b) {
  const __m128i even = _mm_mul_epu32(a, b);
  const __m128i odd = _mm_mul_epu32(_mm_srli_epi64(a, 32), _mm_srli_epi64(b, 32));
  return _mm_unpacklo_epi32(_mm_shuffle_epi32(even, _MM_SHUFFLE(0, 0, 2, 0)),
                            _mm_shuffle_epi32(odd, _MM_SHUFFLE(0, 0, 2, 0)));
}

// Draws whole runs of sixteen numbers; answers how many it drew.
size_t FillVector(int32_t *numbers, size_t count, uint32_t &state) {
  if (count < kVectorLanes) {
    return 0;
  }
  alignas(16) uint32_t first[kVectorLanes];
  for (uint32_t &lane : first) {
    state = state * VORRandomGenerator::kMultiplier + VORRandomGenerator::kIncrement;
    lane = state;
  }
  constexpr int kRegisters = kVectorLanes / 4;
  __m128i lanes[kRegisters];
  for (int r = 0; r < kRegisters; ++r) {
    lanes[r] = _mm_load_si128(reinterpret_cast<const __m128i *>(first + 4 * r));
  }
  const __m128i multiplier = _mm_set1_epi32(static_cast<int>(kVectorLeap.multiplier));
  const __m128i increment = _mm_set1_epi32(static_cast<int>(kVectorLeap.increment));
  const __m128i mask = _mm_set1_epi32(VORRandomGenerator::kMaxNumber);
  size_t i = 0;
  for (;;) {
    for (int r = 0; r < kRegisters; ++r) {
      _mm_storeu_si128(reinterpret_cast<__m128i *>(numbers + i + 4 * r),
                       _mm_and_si128(_mm_srli_epi32(lanes[r], kResultShift), mask));
    }
    i += kVectorLanes;
    if (i + kVectorLanes > count) {
      break;
    }
    for (__m128i &lane : lanes) {
      lane = _mm_add_epi32(MultiplyLanes(lane, multiplier), increment);
    }
  }
  state = static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_shuffle_epi32(lanes[kRegisters - 1], _MM_SHUFFLE(3, 3, 3, 3))));
  return i;
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
