// JPEG decoding through the reader (markers searched, a zeroed bottom-up BGR
// DIB made and filled) against plain libjpeg-turbo doing the same work on
// the same file, in the same run: a smooth and a photograph-like picture of
// 1600 x 1200. CGM interpreting of a gnuplot file.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "filters/CgmInterpreter.h"
#include "filters/FilterIo.h"
#include "filters/JpegDecoder.h"

namespace {

std::string Corpus(const char *name) { return std::string(VOR_FILTER_CORPUS_DIR) + "/" + name; }

class HeapMemory : public JpegPictureMemory {
public:
  uint8_t *Allocate(uint64_t bytes) override {
    return static_cast<uint8_t *>(std::calloc(1, static_cast<size_t>(bytes)));
  }
  void Free(uint8_t *block) override { std::free(block); }
};

const char *const kJpegs[] = {"jpeg-corpus/large.jpg", "jpeg-corpus/photo.jpg"};

void JpegThroughReader(benchmark::State &state) {
  const std::string path = Corpus(kJpegs[state.range(0)]);
  state.SetLabel(kJpegs[state.range(0)]);
  uint64_t pixels = 0;
  for (auto _ : state) {
    std::FILE *file = std::fopen(path.c_str(), "rb");
    if (!file) {
      state.SkipWithError("no picture");
      return;
    }
    HeapMemory memory;
    JpegDecodeRequest request;
    JpegDescription description;
    JpegPicture picture;
    if (JpegDecoder::Decode(file, request, memory, description, picture) != JpegDecoder::kSuccess)
      state.SkipWithError("decode failed");
    pixels += uint64_t{description.width} * description.height;
    memory.Free(picture.dib);
    std::fclose(file);
  }
  state.counters["Mpx/s"] = benchmark::Counter(static_cast<double>(pixels) / 1e6, benchmark::Counter::kIsRate);
}
BENCHMARK(JpegThroughReader)->Unit(benchmark::kMillisecond)->DenseRange(0, 1);

// The same work straight through libjpeg-turbo: a zeroed bottom-up DIB with
// a 40-byte header, rows asked for in its blue, green, red order and
// written in place, as many at a time as the library gives.
void JpegPlainLibjpeg(benchmark::State &state) {
  const std::string path = Corpus(kJpegs[state.range(0)]);
  state.SetLabel(kJpegs[state.range(0)]);
  uint64_t pixels = 0;
  for (auto _ : state) {
    std::FILE *file = std::fopen(path.c_str(), "rb");
    if (!file) {
      state.SkipWithError("no picture");
      return;
    }
    jpeg_decompress_struct info{};
    jpeg_error_mgr error{};
    info.err = jpeg_std_error(&error);
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(&info);
    const size_t stride = (size_t{info.output_width} * 3 + 3) / 4 * 4;
    const size_t height = info.output_height;
    auto *dib = static_cast<uint8_t *>(std::calloc(1, 40 + stride * height));
    uint8_t *bits = dib + 40;
    while (info.output_scanline < info.output_height) {
      JSAMPROW rows[4];
      const JDIMENSION wanted = std::min<JDIMENSION>(
          {4, static_cast<JDIMENSION>(info.rec_outbuf_height), info.output_height - info.output_scanline});
      for (JDIMENSION i = 0; i < wanted; ++i)
        rows[i] = bits + (height - 1 - info.output_scanline - i) * stride;
      jpeg_read_scanlines(&info, rows, wanted);
    }
    benchmark::DoNotOptimize(dib);
    pixels += uint64_t{info.output_width} * info.output_height;
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    std::free(dib);
    std::fclose(file);
  }
  state.counters["Mpx/s"] = benchmark::Counter(static_cast<double>(pixels) / 1e6, benchmark::Counter::kIsRate);
}
BENCHMARK(JpegPlainLibjpeg)->Unit(benchmark::kMillisecond)->DenseRange(0, 1);

class NullCanvas : public CgmCanvas {
public:
  void SetWindow(CgmPoint, int32_t, int32_t) override {}
  void SetBackground(uint32_t) override {}
  void PaintBackground(uint32_t) override {}
  void SetClip(bool, CgmPoint, CgmPoint) override {}
  void Polyline(const std::vector<CgmPoint> &points, const CgmPen &) override {
    benchmark::DoNotOptimize(points.data());
  }
  void Polygon(const std::vector<CgmPoint> &, const CgmBrush &, const CgmPen *) override {}
  void PolyPolygon(const std::vector<CgmPoint> &, const std::vector<int32_t> &, const CgmBrush &,
                   const CgmPen *) override {}
  void Rectangle(CgmPoint, CgmPoint, const CgmBrush &, const CgmPen *) override {}
  void Ellipse(CgmPoint, int32_t, const CgmBrush &, const CgmPen *) override {}
  void Arc(CgmPoint, int32_t, CgmPoint, CgmPoint, int, const CgmPen &, const CgmBrush &, const CgmPen *) override {}
  void Text(CgmPoint, const std::string &, const CgmFont &, uint32_t, int32_t, CgmHorizontalAlign,
            CgmVerticalAlign) override {}
};

void CgmInterpretPlot(benchmark::State &state) {
  const std::string path = Corpus("cgm-corpus/gnuplot.cgm");
  uint64_t bytes = 0;
  for (auto _ : state) {
    FilterFile file;
    if (!file.Open(path.c_str())) {
      state.SkipWithError("no gnuplot.cgm");
      return;
    }
    NullCanvas canvas;
    CgmInterpreter interpreter(file, canvas);
    interpreter.Run([](uint64_t) { return false; });
    bytes += interpreter.BytesConsumed();
  }
  state.SetBytesProcessed(static_cast<int64_t>(bytes));
}
BENCHMARK(CgmInterpretPlot);

} // namespace
