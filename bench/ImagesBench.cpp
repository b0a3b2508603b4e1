// Decoding a 1024 x 768 frame of the internal picture format, beside memcpy
// of the same frame in the same run. Each is reported in bytes per second of
// the decoded frame; the "of_memcpy" counter is the decoder's rate over
// memcpy's.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <vector>

#include "display/DibImage.h"
#include "images/InternalImageDecoder.h"
#include "support/InternalImageWriter.h"

namespace {

constexpr int32_t kWidth = 1024;
constexpr int32_t kHeight = 768;

using Clock = std::chrono::steady_clock;
using namespace InternalImageWriter;

// Rows of smooth gradients: runs of one colour, short raw stretches and
// blocks of a few colours, as a picture's encoder would make them.
std::vector<Block> PackedRows(uint32_t bytesPerPixel) {
  std::vector<Block> blocks;
  for (int32_t y = 0; y < kHeight; ++y) {
    const uint32_t base = static_cast<uint32_t>(y) * 0x010101u;
    blocks.push_back({400, {base}, {}});
    std::vector<uint32_t> raw;
    for (uint32_t i = 0; i < 24; ++i)
      raw.push_back(base + i * 0x30507u);
    blocks.push_back({24, {}, raw});
    std::vector<uint32_t> indices;
    for (uint32_t i = 0; i < 600; ++i)
      indices.push_back((i / 3) % 5);
    blocks.push_back({600, {base, base + 1, base + 2, base + 3, base + 4}, indices});
  }
  static_cast<void>(bytesPerPixel);
  return blocks;
}

std::vector<uint8_t> RawFrame(uint32_t bytesPerPixel) {
  std::vector<uint8_t> pixels(static_cast<size_t>(kWidth) * kHeight * bytesPerPixel);
  for (size_t i = 0; i < pixels.size(); ++i)
    pixels[i] = static_cast<uint8_t>(i * 13 / 7);
  return pixels;
}

// The frame's bytes (after the file's header and index) and a picture to
// decode them into.
struct Fixture {
  std::vector<uint8_t> frame;
  DibImage picture;
};

bool MakeFixture(bool packed, uint16_t depth, Fixture &fixture) {
  const uint32_t bytesPerPixel = depth / 8u;
  Picture picture;
  picture.width = kWidth;
  picture.height = kHeight;
  picture.depth = depth;
  if (depth == 8)
    picture.colours = GreyishTable(256);
  Frame frame;
  frame.parts = {packed ? PackedPart(0, 0, kWidth, kHeight, PackedRows(bytesPerPixel), bytesPerPixel)
                        : RawPart(0, 0, kWidth, kHeight, RawFrame(bytesPerPixel))};
  picture.frames = {frame};
  const std::vector<uint8_t> file = picture.Bytes();
  InternalImageDecoder::Header header;
  std::vector<uint32_t> offsets;
  if (!InternalImageDecoder::ReadHeader(file.data(), static_cast<uint32_t>(file.size()), file.size(), header) ||
      !InternalImageDecoder::ReadIndex(file.data() + header.indexOffset, header.indexLength, header, file.size(),
                                       offsets))
    return false;
  fixture.frame.assign(file.begin() + header.frameBase + offsets[0], file.begin() + header.frameBase + offsets[1]);
  return fixture.picture.Create(header.GetInfo());
}

void DecodeAgainstMemcpy(benchmark::State &state, bool packed, uint16_t depth) {
  Fixture fixture;
  if (!MakeFixture(packed, depth, fixture)) {
    state.SkipWithError("the frame does not read");
    return;
  }
  const size_t frameBytes = static_cast<size_t>(kWidth) * kHeight * (depth / 8u);
  std::vector<uint8_t> source(frameBytes, 7), target(frameBytes);
  double decodeSeconds = 0, copySeconds = 0;
  for (auto _ : state) {
    auto start = Clock::now();
    InternalImageDecoder::FrameInfo info;
    InternalImageDecoder::DecodeFrame(fixture.frame.data(), static_cast<uint32_t>(fixture.frame.size()),
                                      fixture.picture, info);
    benchmark::DoNotOptimize(fixture.picture.GetPixels());
    auto middle = Clock::now();
    std::memcpy(target.data(), source.data(), frameBytes);
    benchmark::DoNotOptimize(target.data());
    benchmark::ClobberMemory();
    auto end = Clock::now();
    decodeSeconds += std::chrono::duration<double>(middle - start).count();
    copySeconds += std::chrono::duration<double>(end - middle).count();
    state.SetIterationTime(std::chrono::duration<double>(middle - start).count());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * frameBytes));
  state.counters["of_memcpy"] = copySeconds > 0 ? copySeconds / decodeSeconds : 0;
  state.counters["input_bytes"] = static_cast<double>(fixture.frame.size());
}

void BM_InternalImageRaw8(benchmark::State &state) { DecodeAgainstMemcpy(state, false, 8); }
void BM_InternalImageRaw24(benchmark::State &state) { DecodeAgainstMemcpy(state, false, 24); }
void BM_InternalImagePacked8(benchmark::State &state) { DecodeAgainstMemcpy(state, true, 8); }
void BM_InternalImagePacked16(benchmark::State &state) { DecodeAgainstMemcpy(state, true, 16); }
void BM_InternalImagePacked24(benchmark::State &state) { DecodeAgainstMemcpy(state, true, 24); }

BENCHMARK(BM_InternalImageRaw8)->UseManualTime();
BENCHMARK(BM_InternalImageRaw24)->UseManualTime();
BENCHMARK(BM_InternalImagePacked8)->UseManualTime();
BENCHMARK(BM_InternalImagePacked16)->UseManualTime();
BENCHMARK(BM_InternalImagePacked24)->UseManualTime();

} // namespace
