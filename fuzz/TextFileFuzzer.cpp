// An external text resource as the text object loads it: the kind its file
// name gives, then for plain text the line ends folded and the text laid
// out in a frame, paged at its empty lines and scrolled step by step; for
// RTF the bytes read as the document.
//   8-bit length, then the file name; the rest: the file's bytes
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "FuzzBytes.h"
#include "objects/TextScrolling.h"
#include "richtext/XQRichText.h"
#include "support/FakeTextMeasurer.h"

namespace {

using TextScrolling::ExternalTextKind;

void CheckLineEnds(const std::string &bytes, const std::string &text) {
  if (text.find('\r') != std::string::npos)
    std::abort(); // every line end becomes one LF
  if (TextScrolling::NormalizeLineEnds(text) != text)
    std::abort(); // folding twice changes nothing
  if (text.size() > bytes.size())
    std::abort();
}

void ScrollThrough(const std::vector<TextLine> &lines, int32_t height) {
  const TextScrolling::Pages pages = TextScrolling::ComputePages(lines);
  if (pages.tops.size() != pages.heights.size() || pages.tops.empty())
    std::abort();
  int32_t offset = 0;
  for (int step = 0; step < 64; ++step) {
    const int32_t down = TextScrolling::PageDownTarget(lines, offset, height / 2);
    const int32_t next = down != TextScrolling::kNoLine ? down : TextScrolling::LineDownTarget(lines, offset);
    if (next == TextScrolling::kNoLine || next < 0 || static_cast<size_t>(next) >= lines.size())
      break;
    offset = lines[static_cast<size_t>(next)].top;
    TextScrolling::FindTopLine(lines, offset);
    TextScrolling::ParagraphDownTarget(lines, offset);
    TextScrolling::ParagraphUpTarget(lines, offset);
    TextScrolling::LineUpTarget(lines, offset);
    TextScrolling::PageUpTarget(lines, offset, height);
  }
  const int32_t content = lines.empty() ? 0 : lines.back().Bottom();
  const int32_t clamped = TextScrolling::ClampOffset(offset, content, 2, height);
  const double position = TextScrolling::PositionFraction(clamped, content, height);
  const double size = TextScrolling::SizeFraction(content, height);
  if (!(position >= 0 && position <= 1 && size >= 0 && size <= 1))
    std::abort(); // the scrollbar's fractions stay within the bar
  TextScrolling::OffsetForFraction(position, content, height);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  FuzzBytes input(data, size);
  const std::vector<uint8_t> nameBytes = input.Take(input.Take<uint8_t>());
  const std::vector<uint8_t> fileBytes = input.Rest();
  const std::string name(nameBytes.begin(), nameBytes.end());
  const std::string bytes(fileBytes.begin(), fileBytes.end());
  FakeTextMeasurer measurer;
  XQRichText document(measurer);
  constexpr int32_t kHeight = 60;
  document.SetFrameSize(120, kHeight);
  switch (TextScrolling::KindOfTextFile(name)) {
  case ExternalTextKind::kRtf:
    // Read only: laying out RTF of any font size is the known fault kept as
    // fuzz/textfile/fixtures/rtf-huge-font-size-layout-overflow, whose bound
    // is being built apart (the rtf target lays RTF out).
    document.ReadRtf(bytes);
    return 0;
  case ExternalTextKind::kKeepOwnText:
    return 0;
  case ExternalTextKind::kPlain: {
    const std::string text = TextScrolling::NormalizeLineEnds(bytes);
    CheckLineEnds(bytes, text);
    document.InsertString(text);
    break;
  }
  }
  ScrollThrough(document.GetLines(), kHeight);
  std::string field;
  TextScrolling::VariableNameOfField(name, field);
  return 0;
}
