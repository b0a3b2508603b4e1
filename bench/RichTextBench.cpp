// Rich text on a document of about 1 MB of RTF, with the test's fixed font
// metrics: reading it, laying it out whole (with plain and with widened
// blanks), and laying it out again after one character is typed in its
// middle (the incremental path a keystroke takes). memcpy of the RTF text in
// the same run is the baseline.

#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

#include "richtext/XQRichText.h"
#include "support/FakeTextMeasurer.h"

namespace {

constexpr size_t kDocumentBytes = 1 << 20;

// Paragraphs of words with a bold and an italic stretch and a tab each.
std::string MakeRtf() {
  std::string rtf =
      "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1 Times New Roman;}}{\\colortbl;\\red200\\green0\\blue0;}\n";
  size_t paragraph = 0;
  while (rtf.size() < kDocumentBytes) {
    rtf += "\\pard\\qj\\li120\\tx480 ";
    rtf += "Paragraph " + std::to_string(paragraph++) + "\\tab starts with plain words and goes on for a while ";
    rtf += "{\\b bold words in the middle} then {\\i\\cf1 italic red ones} and more plain text to fill ";
    for (int i = 0; i < 4; ++i)
      rtf += "the line several times over so that the paragraph wraps into a handful of lines ";
    rtf += "\\par\n";
  }
  return rtf + "}";
}

const std::string &Rtf() {
  static const std::string rtf = MakeRtf();
  return rtf;
}

void BM_MemcpyBaseline(benchmark::State &state) {
  const std::string &rtf = Rtf();
  std::vector<char> copy(rtf.size());
  for (auto _ : state) {
    std::memcpy(copy.data(), rtf.data(), rtf.size());
    benchmark::DoNotOptimize(copy.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * rtf.size()));
}
BENCHMARK(BM_MemcpyBaseline);

void BM_ReadRtf(benchmark::State &state) {
  FakeTextMeasurer measurer;
  for (auto _ : state) {
    XQRichText text(measurer);
    text.LoadRtf(Rtf());
    benchmark::DoNotOptimize(text.GetLength());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Rtf().size()));
}
BENCHMARK(BM_ReadRtf)->Unit(benchmark::kMillisecond);

void BM_ReadAndLayOut(benchmark::State &state) {
  FakeTextMeasurer measurer;
  for (auto _ : state) {
    XQRichText text(measurer);
    text.SetFrameSize(600, 400);
    text.LoadRtf(Rtf());
    benchmark::DoNotOptimize(text.GetLineCount());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Rtf().size()));
}
BENCHMARK(BM_ReadAndLayOut)->Unit(benchmark::kMillisecond);

// The whole document laid out again; argument 1 widens its blanks.
void BM_LayOut(benchmark::State &state) {
  FakeTextMeasurer measurer;
  XQRichText text(measurer);
  text.SetFrameSize(600, 400);
  text.LoadRtf(Rtf());
  text.SetWidenedBlanks(state.range(0) != 0);
  for (auto _ : state) {
    text.Layout();
    benchmark::DoNotOptimize(text.GetLines().size());
  }
  state.counters["lines"] = text.GetLineCount();
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Rtf().size()));
}
BENCHMARK(BM_LayOut)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// One keystroke in the middle, then the lines asked for again.
void BM_KeystrokeRelayout(benchmark::State &state) {
  FakeTextMeasurer measurer;
  XQRichText text(measurer);
  text.SetFrameSize(600, 400);
  text.LoadRtf(Rtf());
  state.counters["lines"] = text.GetLineCount();
  state.counters["characters"] = text.GetLength();
  const int32_t middle = text.GetLength() / 2;
  bool insert = true;
  for (auto _ : state) {
    if (insert) {
      text.SetCaret(2 * middle);
      text.InsertChar('x');
    } else {
      text.SetCaret(2 * middle);
      text.DeleteNextChar();
    }
    insert = !insert;
    benchmark::DoNotOptimize(text.GetLines().size());
  }
}
BENCHMARK(BM_KeystrokeRelayout)->Unit(benchmark::kMicrosecond);

} // namespace
