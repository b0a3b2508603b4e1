// The background's dithered gradient loops on a 1024 x 768 frame, beside
// memcpy of the same frame in the same run; "of_memcpy" is the loop's rate
// over memcpy's.

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "display/DibImage.h"
#include "display/Palette.h"
#include "foundation/VORRandomGenerator.h"
#include "objects/BackgroundGradient.h"

namespace {

constexpr int32_t kWidth = 1024;
constexpr int32_t kHeight = 768;

struct Frame {
  struct {
    BitmapInfoHeader header;
    RgbQuad colors[256];
  } info{};
  DibImage image;

  explicit Frame(uint16_t depth) {
    info.header = BitmapInfoHeader{kBitmapInfoHeaderSize, kWidth, -kHeight, 1, depth, kCompressionRgb, 0, 0, 0, 0, 0};
    if (depth == 8) {
      std::memcpy(info.colors, Palette::Default().GetEntries(), sizeof info.colors);
      info.header.biClrUsed = 256;
    }
    image.Create(&info.header);
  }
  size_t Bytes() const { return image.GetImageSize(); }
};

const BackgroundGradient::Gradient kGradient{0x00A05030, 0x0020A0D0, BackgroundGradient::kFromTopLeft,
                                             VORRect(0, 0, kWidth, kHeight)};

void Report(benchmark::State &state, size_t bytes) {
  state.SetBytesProcessed(static_cast<int64_t>(bytes) * state.iterations());
}

void BM_Memcpy24(benchmark::State &state) {
  Frame from(24), to(24);
  for (auto _ : state) {
    std::memcpy(to.image.GetPixels(), from.image.GetPixels(), from.Bytes());
    benchmark::ClobberMemory();
  }
  Report(state, from.Bytes());
}

void BM_GradientFill16(benchmark::State &state) {
  Frame frame(24);
  for (auto _ : state) {
    BackgroundGradient::Fill16(frame.image, kGradient.object, kGradient);
    benchmark::ClobberMemory();
  }
  Report(state, frame.Bytes());
}

void BM_GradientFill8(benchmark::State &state) {
  Frame frame(8);
  Palette &palette = Palette::Default();
  palette.GetInverseTable(); // built once, outside the timings
  const BackgroundGradient::RandomSource random = [](int32_t *numbers, size_t count) {
    VORRandomGenerator::Fill(numbers, count);
  };
  for (auto _ : state) {
    BackgroundGradient::Fill8(frame.image, kGradient.object, kGradient, palette, random);
    benchmark::ClobberMemory();
  }
  Report(state, frame.Bytes());
}

} // namespace

BENCHMARK(BM_Memcpy24)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GradientFill16)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GradientFill8)->Unit(benchmark::kMicrosecond);
