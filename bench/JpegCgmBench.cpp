// JPEG decoding through the reader (markers searched, rows converted into a
// bottom-up DIB) against plain libjpeg decoding of the same file into one
// row buffer, in the same run; CGM interpreting of a plotutils file.
#include <benchmark/benchmark.h>

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

void JpegThroughReader(benchmark::State &state) {
  const std::string path = Corpus("jpeg-corpus/large.jpg");
  uint64_t pixels = 0;
  for (auto _ : state) {
    std::FILE *file = std::fopen(path.c_str(), "rb");
    if (!file) {
      state.SkipWithError("no large.jpg");
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
BENCHMARK(JpegThroughReader)->Unit(benchmark::kMillisecond);

void JpegPlainLibjpeg(benchmark::State &state) {
  const std::string path = Corpus("jpeg-corpus/large.jpg");
  uint64_t pixels = 0;
  for (auto _ : state) {
    std::FILE *file = std::fopen(path.c_str(), "rb");
    if (!file) {
      state.SkipWithError("no large.jpg");
      return;
    }
    jpeg_decompress_struct info{};
    jpeg_error_mgr error{};
    info.err = jpeg_std_error(&error);
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    jpeg_start_decompress(&info);
    std::vector<JSAMPLE> row(size_t{info.output_width} * info.output_components);
    JSAMPROW rows[1] = {row.data()};
    while (info.output_scanline < info.output_height)
      jpeg_read_scanlines(&info, rows, 1);
    pixels += uint64_t{info.output_width} * info.output_height;
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    std::fclose(file);
  }
  state.counters["Mpx/s"] = benchmark::Counter(static_cast<double>(pixels) / 1e6, benchmark::Counter::kIsRate);
}
BENCHMARK(JpegPlainLibjpeg)->Unit(benchmark::kMillisecond);

class NullCanvas : public CgmCanvas {
public:
  void SetWindow(CgmPoint, int32_t, int32_t) override {}
  void SetBackground(uint32_t) override {}
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
