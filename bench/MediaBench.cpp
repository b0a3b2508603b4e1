// Decoding a 640 x 480 FLIC delta frame, beside memcpy of the same frame in
// the same run. The animation's frames each move a band across a still
// picture, as a typical animation changes a part of the screen; each is
// reported in bytes per second of the decoded frame.

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "media/XQFlic.h"
#include "support/FlicWriter.h"

namespace {

constexpr uint16_t kWidth = 640;
constexpr uint16_t kHeight = 480;
constexpr int kFrames = 8;
constexpr size_t kFrameBytes = static_cast<size_t>(kWidth) * kHeight;

FlicWriter::Picture Pattern(int step) {
  FlicWriter::Picture picture(kFrameBytes);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const bool band = ((x + y + step * 24) / 32) % 6 == 0;
      picture[static_cast<size_t>(y) * kWidth + x] =
          static_cast<uint8_t>(band ? 200 + step : (x / 40) * 8 + y / 60 + (x * y % 7 == 0 ? 1 : 0));
    }
  }
  return picture;
}

const std::vector<uint8_t> &Animation(FlicWriter::Kind kind) {
  static std::vector<uint8_t> files[2];
  std::vector<uint8_t> &file = files[kind == FlicWriter::Kind::kFli ? 0 : 1];
  if (file.empty()) {
    std::vector<FlicWriter::Picture> pictures;
    for (int step = 0; step < kFrames; ++step) {
      pictures.push_back(Pattern(step));
    }
    std::vector<uint8_t> palette(256 * 3);
    for (size_t i = 0; i < palette.size(); ++i) {
      palette[i] = static_cast<uint8_t>(i);
    }
    file = FlicWriter::Encode(kind, kWidth, kHeight, 40, palette, pictures);
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
