// The import filters' hot loops against the libraries everyone uses, in the
// same run: our inflater against zlib's on the same streams, and our PNG
// reader against libpng on the same files (both from memory, both to 8-bit
// samples), in megapixels a second: Go's 256 x 256 suite and photograph-like
// 1024 x 768 pictures made at build time. Our reader runs its vector loops,
// as the player does on every processor it meets.
#include <benchmark/benchmark.h>

#include <png.h>
#include <zlib.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "display/DisplaySettings.h"
#include "filters/ImportFilters.h"
#include "filters/Inflater.h"
#include "filters/MemoryFilterIo.h"

namespace {

const std::string kGoPng = "/usr/share/go-1.19/src/image/png/testdata/";

std::vector<uint8_t> FileBytes(const std::string &path) {
  std::ifstream file(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), {});
}

// A photograph-like picture: smooth gradients with noise, 1024 x 768 RGB,
// as PNG rows (filter byte 0) compressed by zlib at its default level.
std::vector<uint8_t> PictureStream(std::vector<uint8_t> &raw) {
  constexpr uint32_t kWidth = 1024;
  constexpr uint32_t kHeight = 768;
  uint32_t seed = 1;
  raw.clear();
  for (uint32_t y = 0; y < kHeight; ++y) {
    raw.push_back(0);
    for (uint32_t x = 0; x < kWidth; ++x) {
      seed = seed * 1103515245 + 12345;
      const uint32_t noise = (seed >> 16) & 7;
      raw.push_back(static_cast<uint8_t>(x / 4 + noise));
      raw.push_back(static_cast<uint8_t>(y / 3 + noise));
      raw.push_back(static_cast<uint8_t>((x + y) / 7));
    }
  }
  uLongf size = compressBound(static_cast<uLong>(raw.size()));
  std::vector<uint8_t> stream(size);
  compress2(stream.data(), &size, raw.data(), static_cast<uLong>(raw.size()), Z_DEFAULT_COMPRESSION);
  stream.resize(size);
  return stream;
}

class WholeSource : public InflateSource {
public:
  explicit WholeSource(const std::vector<uint8_t> &data) : m_data(data) {}
  uint32_t Fill(uint8_t *buffer, uint32_t capacity) override {
    const auto count = static_cast<uint32_t>(std::min<size_t>(capacity, m_data.size() - m_offset));
    std::memcpy(buffer, m_data.data() + m_offset, count);
    m_offset += count;
    return count;
  }

private:
  const std::vector<uint8_t> &m_data;
  size_t m_offset = 0;
};

class DiscardSink : public InflateSink {
public:
  bool Write(const uint8_t *data, uint32_t size) override {
    benchmark::DoNotOptimize(data);
    m_total += size;
    return true;
  }
  uint64_t m_total = 0;
};

void BM_InflateOurs(benchmark::State &state) {
  std::vector<uint8_t> raw;
  const std::vector<uint8_t> stream = PictureStream(raw);
  Inflater inflater;
  for (auto _ : state) {
    WholeSource source(stream);
    DiscardSink sink;
    if (inflater.Run(source, sink) != InflateStatus::Done || sink.m_total != raw.size())
      state.SkipWithError("inflate failed");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * raw.size()));
}
BENCHMARK(BM_InflateOurs);

void BM_InflateZlib(benchmark::State &state) {
  std::vector<uint8_t> raw;
  const std::vector<uint8_t> stream = PictureStream(raw);
  std::vector<uint8_t> out(raw.size());
  for (auto _ : state) {
    uLongf size = static_cast<uLongf>(out.size());
    if (uncompress(out.data(), &size, stream.data(), static_cast<uLong>(stream.size())) != Z_OK)
      state.SkipWithError("uncompress failed");
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * raw.size()));
}
BENCHMARK(BM_InflateZlib);

// libpng from memory to 8-bit samples (16-bit stripped, palettes kept as indexes).
struct MemoryRead {
  const std::vector<uint8_t> *bytes;
  size_t offset;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t count) {
  auto *source = static_cast<MemoryRead *>(png_get_io_ptr(png));
  if (count > source->bytes->size() - source->offset)
    png_error(png, "short");
  std::memcpy(out, source->bytes->data() + source->offset, count);
  source->offset += count;
}

uint64_t DecodeWithLibpng(const std::vector<uint8_t> &file, std::vector<uint8_t> &pixels) {
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  MemoryRead source{&file, 0};
  png_set_read_fn(png, &source, ReadFromMemory);
  png_read_info(png, info);
  png_set_strip_16(png);
  png_set_strip_alpha(png);
  png_set_bgr(png);
  const int passes = png_set_interlace_handling(png);
  png_read_update_info(png, info);
  const png_uint_32 height = png_get_image_height(png, info);
  const size_t rowBytes = png_get_rowbytes(png, info);
  pixels.resize(rowBytes * height);
  for (int pass = 0; pass < passes; ++pass)
    for (png_uint_32 y = 0; y < height; ++y)
      png_read_row(png, pixels.data() + rowBytes * y, nullptr);
  const uint64_t count = uint64_t{png_get_image_width(png, info)} * height;
  png_destroy_read_struct(&png, &info, nullptr);
  return count;
}

const std::string kPhotos = VOR_PNG_PHOTOS_DIR "/";

const char *const kFiles[] = {"benchRGB.png",        "benchRGB-interlace.png", "benchNRGBA-gradient.png",
                              "benchGray.png",       "benchPaletted.png",      "photo-rgb.png",
                              "photo-rgb-paeth.png", "photo-paletted.png",     "photo-interlaced.png"};
constexpr int kFileCount = sizeof(kFiles) / sizeof(kFiles[0]);

std::string BenchPath(int index) {
  const std::string name = kFiles[index];
  return (name.rfind("photo", 0) == 0 ? kPhotos : kGoPng) + name;
}

void BM_PngOurs(benchmark::State &state) {
  GetDisplaySettings().mmx = true;
  const std::vector<uint8_t> file = FileBytes(BenchPath(static_cast<int>(state.range(0))));
  MemoryFilterIo io;
  io.AddFile("bench.png", file);
  uint64_t pixels = 0;
  for (auto _ : state) {
    FilterHandle picture = nullptr;
    FilterHandle second = nullptr;
    int16_t value = 0;
    if (ImportPngImage(nullptr, 0, "bench.png", &picture, &second, &value) != kFilterSuccess) {
      state.SkipWithError("decode failed");
      break;
    }
    const auto *header = static_cast<const BitmapInfoHeader *>(io.Lock(picture));
    pixels = uint64_t(header->biWidth) * uint64_t(header->biHeight);
    io.Free(picture);
  }
  state.SetLabel(kFiles[state.range(0)]);
  state.counters["Mpx/s"] =
      benchmark::Counter(static_cast<double>(pixels * state.iterations()) / 1e6, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_PngOurs)->DenseRange(0, kFileCount - 1);

void BM_PngLibpng(benchmark::State &state) {
  const std::vector<uint8_t> file = FileBytes(BenchPath(static_cast<int>(state.range(0))));
  std::vector<uint8_t> out;
  uint64_t pixels = 0;
  for (auto _ : state)
    pixels = DecodeWithLibpng(file, out);
  state.SetLabel(kFiles[state.range(0)]);
  state.counters["Mpx/s"] =
      benchmark::Counter(static_cast<double>(pixels * state.iterations()) / 1e6, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_PngLibpng)->DenseRange(0, kFileCount - 1);

} // namespace
