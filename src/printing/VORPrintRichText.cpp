#include "printing/VORPrintRichText.h"

namespace {

// The document ends with a newline of its own: the file's last one would
// add an empty line, and with it perhaps a blank sheet.
std::string WithoutClosingNewline(const std::string &text) {
  size_t end = text.size();
  if (end > 0 && text[end - 1] == '\n')
    --end;
  if (end > 0 && text[end - 1] == '\r')
    --end;
  return text.substr(0, end);
}

} // namespace

VORPrintRichText::VORPrintRichText(RichTextMeasurer &measurer, const std::string &text) : XQRichText(measurer) {
  SetDrawPartialLines(false);
  InsertString(WithoutClosingNewline(text));
}

int32_t VORPrintRichText::NextPageFirstLine(const std::vector<TextLine> &lines, int32_t first, int32_t frameHeight) {
  const auto count = static_cast<int32_t>(lines.size());
  if (first < 0 || first >= count)
    return count;
  const int64_t pageBottom = int64_t{lines[static_cast<size_t>(first)].top} + frameHeight;
  int32_t next = first + 1;
  while (next < count && lines[static_cast<size_t>(next)].Bottom() <= pageBottom)
    ++next;
  return next;
}

bool VORPrintRichText::PrintPage(int32_t &firstLine, const VORRect &rect, RichTextCanvas &canvas) {
  const int32_t width = rect.right - rect.left;
  const int32_t height = rect.bottom - rect.top;
  int32_t frameWidth = 0;
  int32_t frameHeight = 0;
  GetFrameSize(frameWidth, frameHeight);
  if (frameWidth != width || frameHeight != height)
    SetFrameSize(width, height);
  const std::vector<TextLine> &lines = GetLines();
  const auto count = static_cast<int32_t>(lines.size());
  if (firstLine < 0 || firstLine >= count)
    return false;
  const TextLine &first = lines[static_cast<size_t>(firstLine)];
  SetScrollOffset(0, first.top);
  // A line the sheet cannot hold whole is printed cut rather than lost.
  const bool tooTall = first.Bottom() - first.top > height;
  SetDrawPartialLines(tooTall);
  const int32_t next = NextPageFirstLine(lines, firstLine, height);
  Draw(canvas, rect);
  SetDrawPartialLines(false);
  firstLine = next;
  return firstLine < count;
}
