// The display layer's hot pixel loops on a 1024 x 768 frame, each reported
// in bytes per second of the frame it walks, beside memcpy of the same frame
// in the same run (FrameRate.h).

#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

#include "FrameRate.h"
#include "display/BlendRoutines.h"
#include "display/DibImage.h"
#include "display/DisplaySettings.h"
#include "display/DitherEngine.h"
#include "display/Palette.h"

namespace {

using FrameRate::kHeight;
using FrameRate::kWidth;
using FrameRate::RunFrames;

struct FullInfo {
  BitmapInfoHeader header;
  RgbQuad colors[256];
};

FullInfo InfoOf(uint16_t depth) {
  FullInfo info{};
  info.header = BitmapInfoHeader{kBitmapInfoHeaderSize, kWidth, -kHeight, 1, depth, kCompressionRgb, 0, 0, 0, 0, 0};
  return info;
}

// A frame of smooth gradients with some noise: neither flat nor random.
void FillFrame(DibImage &image, uint32_t seed) {
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> noise(-8, 8);
  const int32_t bytesPerPixel = image.GetBitsPerPixel() / 8;
  for (int32_t y = 0; y < image.GetHeight(); ++y) {
    uint8_t *row = image.GetRowAddress(y);
    for (int32_t x = 0; x < image.GetWidth() * bytesPerPixel; ++x) {
      const int value = (x * 255 / (kWidth * bytesPerPixel)) + (y * 255 / kHeight) / 2 + noise(random);
      row[x] = static_cast<uint8_t>(value < 0 ? 0 : value > 255 ? 255 : value);
    }
  }
}

// A mask covering a disc in the middle of the frame: long covered runs, long
// uncovered runs and ragged edges.
void FillDiscMask(DibImage &mask) {
  const int64_t radius = kHeight / 2 - 10;
  for (int32_t y = 0; y < mask.GetHeight(); ++y) {
    uint8_t *row = mask.GetRowAddress(y);
    for (int32_t x = 0; x < mask.GetWidth(); ++x) {
      const int64_t dx = x - kWidth / 2, dy = y - kHeight / 2;
      if (dx * dx + dy * dy <= radius * radius) {
        row[x >> 3] = static_cast<uint8_t>(row[x >> 3] | (0x80 >> (x & 7)));
      }
    }
  }
}

struct Frames {
  FullInfo info24 = InfoOf(24);
  FullInfo info8 = InfoOf(8);
  DibImage source24, destination24, source8, destination8, mask;

  Frames() {
    source24.Create(&info24.header);
    destination24.Create(&info24.header);
    source8.Create(&info8.header);
    destination8.Create(&info8.header);
    mask.CreateMask(&info24.header);
    FillFrame(source24, 1);
    FillFrame(destination24, 2);
    FillFrame(source8, 3);
    FillFrame(destination8, 4);
    FillDiscMask(mask);
    Palette::Default().GetInverseTable(); // built once, outside the timings
  }
};

Frames &GetFrames() {
  static Frames frames;
  return frames;
}

// Argument 0: the plain loops; 1: the vector loops the MMX flag selects (the
// widest the processor runs); 2: the vector loops in their SSE2 forms.
PixelLoops LoopsOf(const benchmark::State &state) {
  GetDisplaySettings().wideVectors = state.range(0) != 2;
  return state.range(0) != 0 ? PixelLoops::kVector : PixelLoops::kPlain;
}

void BM_Memcpy24(benchmark::State &state) {
  Frames &f = GetFrames();
  RunFrames(state, f.source24.GetImageSize(),
            [&] { std::memcpy(f.destination24.GetPixels(), f.source24.GetPixels(), f.source24.GetImageSize()); });
}

void BM_Dither24To8(benchmark::State &state) {
  Frames &f = GetFrames();
  DitherEngine *engine = Palette::Default().GetDitherEngine();
  const PixelLoops loops = LoopsOf(state);
  RunFrames(state, f.source24.GetImageSize(), [&] {
    engine->Convert(f.source24.GetInfo(), f.destination8.GetInfo(), f.source24.GetPixels(), f.destination8.GetPixels(),
                    nullptr, nullptr, loops);
  });
}

void BM_BlendColorRect24(benchmark::State &state) {
  Frames &f = GetFrames();
  const PixelLoops loops = LoopsOf(state);
  RunFrames(state, f.destination24.GetImageSize(), [&] {
    BlendColorRect24(f.destination24.GetPixels(), f.destination24.GetImageSize(), 0x00336699, 0, 0, kWidth, kWidth,
                     kHeight, 128, loops);
  });
}

void BM_BlendColorMaskedRect24(benchmark::State &state) {
  Frames &f = GetFrames();
  const PixelLoops loops = LoopsOf(state);
  RunFrames(state, f.destination24.GetImageSize(), [&] {
    BlendColorMaskedRect24(f.mask.GetPixels(), f.mask.GetImageSize(), kWidth, 0, 0, 0x00336699, kWidth, 0, 0, kWidth,
                           kHeight, f.destination24.GetPixels(), f.destination24.GetImageSize(), 128, loops);
  });
}

void BM_BlendImage24(benchmark::State &state) {
  Frames &f = GetFrames();
  const PixelLoops loops = LoopsOf(state);
  const VORRect frame(0, 0, kWidth, kHeight);
  RunFrames(state, f.destination24.GetImageSize(),
            [&] { BlendImage(f.source24, frame, nullptr, 0, f.destination24, frame, 128, nullptr, loops); });
}

void BM_BlendImage24Masked(benchmark::State &state) {
  Frames &f = GetFrames();
  const PixelLoops loops = LoopsOf(state);
  const VORRect frame(0, 0, kWidth, kHeight);
  const MaskPlacement mask = {&f.mask, 0, 0};
  RunFrames(state, f.destination24.GetImageSize(),
            [&] { BlendImage(f.source24, frame, &mask, 1, f.destination24, frame, 128, nullptr, loops); });
}

void BM_BlendImage24Scaled(benchmark::State &state) {
  Frames &f = GetFrames();
  const PixelLoops loops = LoopsOf(state);
  const VORRect half(0, 0, kWidth / 2, kHeight / 2), frame(0, 0, kWidth, kHeight);
  RunFrames(state, f.destination24.GetImageSize(),
            [&] { BlendImage(f.source24, half, nullptr, 0, f.destination24, frame, 128, nullptr, loops); });
}

void BM_BlendFill24(benchmark::State &state) {
  Frames &f = GetFrames();
  const PixelLoops loops = LoopsOf(state);
  const VORRect frame(0, 0, kWidth, kHeight);
  RunFrames(state, f.destination24.GetImageSize(),
            [&] { BlendColorImage(f.destination24, frame, 0x00336699, 128, nullptr, 0, nullptr, loops); });
}

// The 8-bit blend has one form: a table look-up per pixel.
void BM_BlendImage8(benchmark::State &state) {
  Frames &f = GetFrames();
  const VORRect frame(0, 0, kWidth, kHeight);
  RunFrames(state, f.destination8.GetImageSize(),
            [&] { BlendImage(f.source8, frame, nullptr, 0, f.destination8, frame, 128, nullptr, PixelLoops::kPlain); });
}

void BM_Memcpy8(benchmark::State &state) {
  Frames &f = GetFrames();
  RunFrames(state, f.source8.GetImageSize(),
            [&] { std::memcpy(f.destination8.GetPixels(), f.source8.GetPixels(), f.source8.GetImageSize()); });
}

// The inverse table of a full palette, made when a page is first drawn on a
// palette display: 32,768 slots, each the nearest of 256 colours.
void BM_InverseTable(benchmark::State &state) {
  const Palette &model = Palette::Default();
  GetDisplaySettings().mmx = LoopsOf(state) == PixelLoops::kVector;
  for (auto _ : state) {
    Palette palette(model.GetEntries(), model.GetCount());
    benchmark::DoNotOptimize(palette.GetInverseTable());
  }
}

BENCHMARK(BM_Memcpy24)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Dither24To8)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BlendColorRect24)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BlendColorMaskedRect24)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BlendImage24)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BlendImage24Masked)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BlendImage24Scaled)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BlendFill24)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Memcpy8)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BlendImage8)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_InverseTable)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace
