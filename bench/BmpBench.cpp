// Reading 1024 x 768 BMP files (24 bits, bottom-up and top-down, and 8 bits
// run-length encoded) into a packed DIB, beside memcpy of the decoded bytes
// in the same run. Each is reported in bytes per second of the decoded
// picture; "of_memcpy" is the reader's rate over memcpy's.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <vector>

#include "images/BmpReader.h"
#include "support/BmpFileWriter.h"

namespace {

constexpr int32_t kWidth = 1024;
constexpr int32_t kHeight = 768;

using Clock = std::chrono::steady_clock;
using BmpFileWriter::Picture;

std::vector<uint8_t> TrueColorFile(bool topDown) {
  Picture picture;
  picture.width = kWidth;
  picture.height = topDown ? -kHeight : kHeight;
  picture.bitCount = 24;
  picture.pixels.resize(static_cast<size_t>(BmpFileWriter::Stride(kWidth, 24)) * kHeight);
  for (size_t i = 0; i < picture.pixels.size(); ++i)
    picture.pixels[i] = static_cast<uint8_t>(i * 13 / 7);
  return BmpFileWriter::Write(picture);
}

// Stretches of one colour from 1 to 40 pixels long, as a picture reduced to
// a palette has them: runs, and literals where the stretches are short.
std::vector<uint8_t> RunLengthFile() {
  std::vector<uint8_t> pixels(static_cast<size_t>(kWidth) * kHeight);
  uint32_t seed = 12345;
  for (size_t i = 0; i < pixels.size();) {
    seed = seed * 1103515245u + 12345u;
    const size_t length = 1 + (seed >> 16) % 40;
    const auto value = static_cast<uint8_t>(seed >> 8);
    for (size_t end = std::min(pixels.size(), i + length); i < end; ++i)
      pixels[i] = value;
  }
  Picture picture;
  picture.width = kWidth;
  picture.height = kHeight;
  picture.bitCount = 8;
  picture.compression = 1;
  picture.colors = BmpFileWriter::GreyRamp(256);
  picture.pixels = BmpFileWriter::EncodeRle8(pixels, kWidth, kHeight);
  return BmpFileWriter::Write(picture);
}

void ReadAgainstMemcpy(benchmark::State &state, const std::vector<uint8_t> &file) {
  BmpReader reader;
  if (!reader.Parse(file.data(), file.size())) {
    state.SkipWithError("the file does not read");
    return;
  }
  const size_t size = reader.GetPackedSize();
  std::vector<uint8_t> dib(size), source(size, 7), target(size);
  double readSeconds = 0, copySeconds = 0;
  for (auto _ : state) {
    auto start = Clock::now();
    reader.Parse(file.data(), file.size());
    reader.Decode(dib.data());
    benchmark::DoNotOptimize(dib.data());
    auto middle = Clock::now();
    std::memcpy(target.data(), source.data(), size);
    benchmark::DoNotOptimize(target.data());
    benchmark::ClobberMemory();
    auto end = Clock::now();
    readSeconds += std::chrono::duration<double>(middle - start).count();
    copySeconds += std::chrono::duration<double>(end - middle).count();
    state.SetIterationTime(std::chrono::duration<double>(middle - start).count());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * size));
  state.counters["of_memcpy"] = readSeconds > 0 ? copySeconds / readSeconds : 0;
  state.counters["file_bytes"] = static_cast<double>(file.size());
}

void BM_Bmp24(benchmark::State &state) { ReadAgainstMemcpy(state, TrueColorFile(false)); }
void BM_Bmp24TopDown(benchmark::State &state) { ReadAgainstMemcpy(state, TrueColorFile(true)); }
void BM_BmpRle8(benchmark::State &state) { ReadAgainstMemcpy(state, RunLengthFile()); }

BENCHMARK(BM_Bmp24)->UseManualTime();
BENCHMARK(BM_Bmp24TopDown)->UseManualTime();
BENCHMARK(BM_BmpRle8)->UseManualTime();

} // namespace
