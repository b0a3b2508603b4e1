#pragma once

// Timing of whole 1024 x 768 frames beside memcpy of a 24-bit frame
// measured once in the same run. The "of_memcpy" counter is the loop's rate
// over memcpy's.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <vector>

namespace FrameRate {

constexpr int32_t kWidth = 1024;
constexpr int32_t kHeight = 768;

using Clock = std::chrono::steady_clock;

// memcpy's rate on a 24-bit frame, measured once in this run.
inline double MemcpyBytesPerSecond() {
  static const double rate = [] {
    const size_t bytes = static_cast<size_t>(kWidth) * 3 * kHeight;
    std::vector<uint8_t> from(bytes, 1), to(bytes);
    int copies = 0;
    const auto start = Clock::now();
    std::chrono::duration<double> elapsed{};
    do {
      std::memcpy(to.data(), from.data(), bytes);
      benchmark::ClobberMemory();
      ++copies;
      elapsed = Clock::now() - start;
    } while (elapsed.count() < 0.5);
    return static_cast<double>(bytes) * copies / elapsed.count();
  }();
  return rate;
}

// Runs the body once per iteration and reports bytes per second of a frame
// of frameBytes, and the rate over memcpy's.
template <typename Body>
void RunFrames(benchmark::State &state, size_t frameBytes, Body &&body) {
  const double memcpyRate = MemcpyBytesPerSecond();
  const auto start = Clock::now();
  for (auto _ : state) {
    body();
    benchmark::ClobberMemory();
  }
  const std::chrono::duration<double> elapsed = Clock::now() - start;
  const double bytes = static_cast<double>(frameBytes) * static_cast<double>(state.iterations());
  state.SetBytesProcessed(static_cast<int64_t>(bytes));
  state.counters["of_memcpy"] = elapsed.count() > 0 ? bytes / elapsed.count() / memcpyRate : 0;
}

} // namespace FrameRate
