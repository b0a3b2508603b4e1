// Decoding a 640 x 480 FLIC delta frame, beside memcpy of the same frame in
// the same run, each reported in bytes per second of the decoded frame.

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "media/MovingBandAnimation.h"
#include "media/XQFlic.h"

namespace {

using MovingBandAnimation::kFrameBytes;
using MovingBandAnimation::kFrames;

const std::vector<uint8_t> &Animation(FlicWriter::Kind kind) {
  static std::vector<uint8_t> files[2];
  std::vector<uint8_t> &file = files[kind == FlicWriter::Kind::kFli ? 0 : 1];
  if (file.empty()) {
    file = MovingBandAnimation::Write(kind);
  }
  return file;
}

// Frames 1 to the last, each a delta of its predecessor, over and over
// (through the ring frame back to the start).
void DecodeDeltaFrames(benchmark::State &state, FlicWriter::Kind kind) {
  const std::vector<uint8_t> &file = Animation(kind);
  XQFlic flic;
  if (!flic.OpenMemory(file.data(), file.data() + file.size())) {
    state.SkipWithError("the animation does not open");
    return;
  }
  uint32_t frame = 0;
  for (auto _ : state) {
    frame = frame + 1 < kFrames ? frame + 1 : 0;
    int32_t delay = 0;
    benchmark::DoNotOptimize(flic.ReadFrame(frame, delay));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(kFrameBytes));
}

void BM_FlcWordDeltaFrame(benchmark::State &state) { DecodeDeltaFrames(state, FlicWriter::Kind::kFlc); }
void BM_FliLineDeltaFrame(benchmark::State &state) { DecodeDeltaFrames(state, FlicWriter::Kind::kFli); }

void BM_MemcpyFrame(benchmark::State &state) {
  std::vector<uint8_t> source(kFrameBytes, 7);
  std::vector<uint8_t> target(kFrameBytes);
  for (auto _ : state) {
    std::memcpy(target.data(), source.data(), kFrameBytes);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(kFrameBytes));
}

} // namespace

BENCHMARK(BM_FlcWordDeltaFrame);
BENCHMARK(BM_FliLineDeltaFrame);
BENCHMARK(BM_MemcpyFrame);
