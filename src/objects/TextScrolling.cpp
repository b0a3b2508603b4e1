#include "objects/TextScrolling.h"

#include <algorithm>
#include <cmath>

namespace TextScrolling {

namespace {

int32_t LastLine(const std::vector<TextLine> &lines) { return static_cast<int32_t>(lines.size()) - 1; }

bool IsEmptyLine(const TextLine &line) {
  std::string text;
  for (const LineRun &run : line.runs)
    text += run.text;
  return text == "\n";
}

} // namespace

TopLine FindTopLine(const std::vector<TextLine> &lines, int32_t offset) {
  TopLine top;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].top > offset)
      break;
    top.index = static_cast<int32_t>(i);
    top.exact = lines[i].top == offset;
  }
  return top;
}

int32_t LineUpTarget(const std::vector<TextLine> &lines, int32_t offset) {
  if (lines.empty())
    return kNoLine;
  const TopLine top = FindTopLine(lines, offset);
  const int32_t target = top.exact || offset < lines.front().top ? top.index - 1 : top.index;
  return target >= 0 ? target : kNoLine;
}

int32_t LineDownTarget(const std::vector<TextLine> &lines, int32_t offset) {
  const TopLine top = FindTopLine(lines, offset);
  return top.index < LastLine(lines) ? top.index + 1 : kNoLine;
}

int32_t PageUpTarget(const std::vector<TextLine> &lines, int32_t offset, int32_t visibleHeight) {
  if (lines.empty())
    return kNoLine;
  const TopLine top = FindTopLine(lines, offset);
  if (top.index == 0)
    return kNoLine;
  const int32_t step = visibleHeight - (lines[top.index].Bottom() - lines[top.index].top);
  const int32_t target = FindTopLine(lines, offset - std::max(step, 0)).index;
  return std::min(target, top.index - 1);
}

int32_t PageDownTarget(const std::vector<TextLine> &lines, int32_t offset, int32_t visibleHeight) {
  if (lines.empty())
    return kNoLine;
  const TopLine top = FindTopLine(lines, offset);
  if (top.index >= LastLine(lines))
    return kNoLine;
  const int32_t step = visibleHeight - (lines[top.index].Bottom() - lines[top.index].top);
  const int32_t target = FindTopLine(lines, offset + std::max(step, 0)).index;
  return std::max(target, top.index + 1);
}

int32_t ParagraphUpTarget(const std::vector<TextLine> &lines, int32_t offset) {
  if (lines.empty())
    return kNoLine;
  const TopLine top = FindTopLine(lines, offset);
  if (top.index == 0)
    return kNoLine;
  for (int32_t i = top.index - 1; i > 0; --i)
    if (lines[i].paragraphStart)
      return i;
  return 0;
}

int32_t ParagraphDownTarget(const std::vector<TextLine> &lines, int32_t offset) {
  const TopLine top = FindTopLine(lines, offset);
  if (top.index >= LastLine(lines))
    return kNoLine;
  for (int32_t i = top.index + 1; i <= LastLine(lines); ++i)
    if (lines[i].paragraphStart)
      return i;
  return LastLine(lines);
}

int32_t ClampOffset(int32_t y, int32_t contentHeight, int32_t marginY, int32_t objectHeight) {
  const int64_t limit = static_cast<int64_t>(contentHeight) + 2 * static_cast<int64_t>(marginY) - objectHeight;
  return static_cast<int32_t>(std::clamp<int64_t>(y, 0, std::max<int64_t>(limit, 0)));
}

double PositionFraction(int32_t offset, int32_t contentHeight, int32_t visibleHeight) {
  const int64_t hidden = static_cast<int64_t>(contentHeight) - visibleHeight;
  if (hidden <= 0)
    return 0.0;
  return std::clamp(static_cast<double>(offset) / static_cast<double>(hidden), 0.0, 1.0);
}

double SizeFraction(int32_t contentHeight, int32_t visibleHeight) {
  if (contentHeight <= visibleHeight || contentHeight <= 0)
    return 1.0;
  return static_cast<double>(std::max(visibleHeight, 0)) / static_cast<double>(contentHeight);
}

int32_t OffsetForFraction(double fraction, int32_t contentHeight, int32_t visibleHeight) {
  const int64_t hidden = static_cast<int64_t>(contentHeight) - visibleHeight;
  if (hidden <= 0 || !std::isfinite(fraction))
    return 0;
  return static_cast<int32_t>(std::lround(std::clamp(fraction, 0.0, 1.0) * static_cast<double>(hidden)));
}

Pages ComputePages(const std::vector<TextLine> &lines) {
  Pages pages;
  if (lines.empty()) {
    pages.tops.push_back(0);
    pages.heights.push_back(0);
    return pages;
  }
  int32_t pageTop = lines.front().top;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (!IsEmptyLine(lines[i]))
      continue;
    pages.tops.push_back(pageTop);
    pages.heights.push_back(lines[i].top - pageTop);
    pageTop = i + 1 < lines.size() ? lines[i + 1].top : lines[i].Bottom();
  }
  pages.tops.push_back(pageTop);
  pages.heights.push_back(std::max(lines.back().Bottom() - pageTop, 0));
  return pages;
}

std::string NormalizeLineEnds(const std::string &text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c != '\r' && c != '\n') {
      out += c;
      continue;
    }
    out += '\n';
    const char pair = c == '\r' ? '\n' : '\r';
    if (i + 1 < text.size() && text[i + 1] == pair)
      ++i;
  }
  return out;
}

ExternalTextKind KindOfTextFile(const std::string &fileName) {
  const size_t dot = fileName.rfind('.');
  const std::string extension = dot == std::string::npos ? std::string() : fileName.substr(dot);
  if (extension == ".rtf")
    return ExternalTextKind::kRtf;
  if (extension == ".doc")
    return ExternalTextKind::kKeepOwnText;
  return ExternalTextKind::kPlain;
}

bool VariableNameOfField(const std::string &runText, std::string &name) {
  name.clear();
  if (runText.size() < 2)
    return false;
  name = runText.substr(1, runText.size() - 2);
  return true;
}

} // namespace TextScrolling
