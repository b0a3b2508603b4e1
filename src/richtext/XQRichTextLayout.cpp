// Layout, drawing and hit-testing of the rich-text document.

#include <algorithm>
#include <cstdint>

#include "richtext/XQRichText.h"

namespace {

constexpr int32_t kWholeExtent = 30000;
// Characters measured at a time while a run is fitted into a line.
constexpr int32_t kMeasurePiece = 64;
// Sub- and superscripts move by these shares of their font's height.
constexpr int32_t kSubscriptDrop = 30;
constexpr int32_t kSuperscriptRise = 70;
constexpr int32_t kPercent = 100;

int32_t DivideRounded(int64_t numerator, int64_t denominator) {
  const int64_t half = denominator / 2;
  return static_cast<int32_t>(numerator >= 0 ? (numerator + half) / denominator : (numerator - half) / denominator);
}

// Line positions add up heights and spacings a file chose: a long enough
// text runs past 32 bits, and its later lines stay at an edge. The edge is a
// quarter of the 32-bit range, far below it, so that a line's bottom, a top
// moved by vertical alignment and a top offset by the frame's place on the
// page still fit in 32 bits; no real text is half a billion pixels tall.
constexpr int64_t kLinePositionLimit = INT32_MAX / 4;

int32_t Saturated(int64_t value) {
  return static_cast<int32_t>(std::clamp<int64_t>(value, -kLinePositionLimit, kLinePositionLimit));
}

int32_t FloorDivide(int32_t value, int32_t divisor) {
  const int32_t quotient = value / divisor;
  return (value % divisor != 0 && value < 0) ? quotient - 1 : quotient;
}

// Characters from the first whose right edge lies within the extent.
int32_t CountFitting(const std::vector<int32_t> &edges, int32_t count, int32_t maxExtent) {
  int32_t fit = 0;
  while (fit < count && edges[static_cast<size_t>(fit)] <= maxExtent)
    ++fit;
  return fit;
}

int32_t CountBlanks(const LineRun &run, bool lastOfLine) {
  const size_t begin = run.StartsWithTab() ? 1 : 0;
  auto count =
      static_cast<int32_t>(std::count(run.text.begin() + static_cast<std::ptrdiff_t>(begin), run.text.end(), ' '));
  if (lastOfLine && run.text.size() > begin && run.text.back() == ' ')
    --count;
  return count;
}

bool Meets(const VORRect &a, const VORRect &b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

void SplitRun(std::vector<LineRun> &runs, size_t index, int32_t keep) {
  LineRun &run = runs[index];
  if (keep <= 0 || static_cast<size_t>(keep) >= run.text.size())
    return;
  LineRun tail;
  tail.text = run.text.substr(static_cast<size_t>(keep));
  tail.style = run.style;
  tail.font = run.font;
  tail.charStart = run.charStart + keep;
  run.text.resize(static_cast<size_t>(keep));
  runs.insert(runs.begin() + static_cast<std::ptrdiff_t>(index) + 1, std::move(tail));
}

} // namespace

// Fonts and measuring.

void XQRichText::CreateRunFonts(std::vector<LineRun> &runs) {
  for (LineRun &run : runs) {
    if (run.font)
      continue;
    const TextStyle &style = *run.style;
    const RichTextFontKey key =
        MakeFontKey(style.GetFace(), style.GetSize(), style.GetBold(), style.GetItalic(), style.GetUnderline(),
                    style.GetSubscript() || style.GetSuperscript(), m_dpi);
    run.font = &m_measurer.GetFont(key);
  }
}

std::vector<LineRun> XQRichText::CopyRuns(size_t first, size_t last) {
  std::vector<TextRun> slice(m_runs.begin() + static_cast<std::ptrdiff_t>(first),
                             m_runs.begin() + static_cast<std::ptrdiff_t>(last) + 1);
  const std::vector<TextRun> normal = NormalizeRuns(std::move(slice), true, last + 1 == m_runs.size());
  std::vector<LineRun> copies;
  copies.reserve(normal.size());
  int32_t charStart = RunCharStart(first);
  for (const TextRun &run : normal) {
    LineRun copy;
    copy.text = run.text;
    copy.style = run.style;
    copy.charStart = charStart;
    charStart += static_cast<int32_t>(run.text.size());
    copies.push_back(std::move(copy));
  }
  return copies;
}

int32_t XQRichText::MeasureRun(LineRun &run, int32_t maxExtent, bool lastOfLine) {
  const auto length = static_cast<int32_t>(run.text.size());
  run.edges.assign(static_cast<size_t>(length), 0);
  if (length == 0) {
    run.width = 0;
    return 0;
  }
  // A leading tab takes no width of its own: the stop placed the run.
  const int32_t skip = run.StartsWithTab() ? 1 : 0;
  if (maxExtent < kWholeExtent && run.justifyExtra == 0 && !lastOfLine) {
    const int32_t measured = MeasureUpTo(run, skip, maxExtent);
    if (measured < length) {
      run.width = run.edges[static_cast<size_t>(measured) - 1];
      return CountFitting(run.edges, measured, maxExtent);
    }
  } else {
    const BlankSpread spread = SpreadOverBlanks(run, lastOfLine);
    if (length > skip)
      m_measurer.MeasureText(*run.font, run.text.data() + skip, length - skip, spread.extra, spread.blanks,
                             run.edges.data() + skip);
  }
  // A closing newline, or a blank ending the line, takes no width.
  if (run.EndsWithNewline() || (lastOfLine && run.text.back() == ' '))
    run.edges[static_cast<size_t>(length) - 1] = length >= 2 ? run.edges[static_cast<size_t>(length) - 2] : 0;
  run.width = run.edges.back();
  return CountFitting(run.edges, length, maxExtent);
}

// Fitting a run into a line needs its edges only up to the first beyond the
// line's end: a long run that wraps would otherwise be measured whole again
// from every line it starts. Measured a piece at a time, widened blanks each
// taking their own width; answers how many characters have their edges.
int32_t XQRichText::MeasureUpTo(LineRun &run, int32_t skip, int32_t maxExtent) {
  const auto length = static_cast<int32_t>(run.text.size());
  const int32_t blankWidth = m_widenedBlanks ? run.font->blankWidth : 0;
  int32_t start = skip;
  int32_t offset = 0;
  while (start < length) {
    const int32_t count = std::min(kMeasurePiece, length - start);
    const char *text = run.text.data() + start;
    const int32_t blanks = blankWidth != 0 ? static_cast<int32_t>(std::count(text, text + count, ' ')) : 0;
    int32_t *edges = run.edges.data() + start;
    m_measurer.MeasureText(*run.font, text, count, blanks * blankWidth, blanks, edges);
    for (int32_t i = 0; i < count; ++i)
      edges[i] += offset;
    start += count;
    offset = edges[count - 1];
    if (offset > maxExtent)
      break;
  }
  return start;
}

// Widened blanks take one more blank's width each, on top of what a
// justified line spreads over them.
XQRichText::BlankSpread XQRichText::SpreadOverBlanks(const LineRun &run, bool lastOfLine) const {
  BlankSpread spread;
  if (run.justifyExtra == 0 && !m_widenedBlanks)
    return spread;
  spread.blanks = CountBlanks(run, lastOfLine);
  if (spread.blanks == 0)
    return spread;
  spread.extra = run.justifyExtra;
  if (m_widenedBlanks && run.font != nullptr)
    spread.extra += spread.blanks * run.font->blankWidth;
  return spread;
}

// Line building.

void XQRichText::Layout() {
  int32_t top = 0;
  m_lines = LayoutRuns(0, m_runs.size() - 1, top);
  ApplyVerticalAlignment();
  m_laidOut = true;
  if (!m_tagEffects.empty())
    ApplyTagEffects();
}

void XQRichText::EnsureLayout() {
  if (!m_laidOut)
    Layout();
}

std::vector<TextLine> XQRichText::LayoutRuns(size_t firstRun, size_t lastRun, int32_t &top) {
  std::vector<LineRun> copies = CopyRuns(firstRun, lastRun);
  CreateRunFonts(copies);
  std::vector<TextLine> lines;
  std::vector<LineRun> paragraph;
  for (LineRun &run : copies) {
    const bool ends = run.EndsWithNewline();
    paragraph.push_back(std::move(run));
    if (ends) {
      BuildParagraphLines(paragraph, top, lines);
      paragraph.clear();
    }
  }
  if (!paragraph.empty())
    BuildParagraphLines(paragraph, top, lines);
  return lines;
}

void XQRichText::BuildParagraphLines(std::vector<LineRun> &runs, int32_t &top, std::vector<TextLine> &lines) {
  const TextStyle &paragraph = *runs.front().style;
  const int32_t alignment = paragraph.GetAlignment();
  const bool tabsAsBlanks = alignment == TextStyle::kAlignRight || alignment == TextStyle::kAlignCentre;
  const int32_t limit = m_frameWidth - paragraph.GetRightIndent();
  const int32_t spacing = paragraph.GetSpacing();
  size_t first = 0;
  bool firstLine = true;
  while (first < runs.size()) {
    // The first-line indent replaces the left indent on the first line.
    int32_t left = firstLine ? paragraph.GetFirstIndent() : paragraph.GetLeftIndent();
    if (paragraph.GetBullet())
      left += runs[first].font->Height();
    int32_t x = left;
    size_t end = runs.size();
    for (size_t j = first; j < runs.size(); ++j) {
      LineRun &run = runs[j];
      run.justifyExtra = 0;
      run.x = x;
      if (run.StartsWithTab()) {
        if (tabsAsBlanks)
          run.text[0] = ' ';
        else
          run.x = PlaceTabRun(runs, j, x, limit);
      }
      const int32_t fit = MeasureRun(run, limit - run.x, false);
      const auto length = static_cast<int32_t>(run.text.size());
      if (fit >= length) {
        x = run.x + run.width;
        if (run.EndsWithNewline()) {
          end = j + 1;
          break;
        }
        continue;
      }
      end = BreakLine(runs, first, j, fit);
      break;
    }
    TextLine line;
    line.top = top;
    line.paragraphStart = firstLine;
    line.runs.assign(std::make_move_iterator(runs.begin() + static_cast<std::ptrdiff_t>(first)),
                     std::make_move_iterator(runs.begin() + static_cast<std::ptrdiff_t>(end)));
    line.charStart = line.runs.front().charStart;
    for (const LineRun &run : line.runs)
      line.charCount += static_cast<int32_t>(run.text.size());
    FinishLine(line, left, limit, end >= runs.size());
    // 0 or less: an exact height in pixels (0 stacks the lines).
    const int64_t advance =
        spacing <= 0 ? -int64_t{spacing} : (int64_t{line.ascent} + line.descent) * spacing / TextStyle::kSingleSpacing;
    top = Saturated(top + advance);
    lines.push_back(std::move(line));
    first = end;
    firstLine = false;
  }
}

size_t XQRichText::BreakLine(std::vector<LineRun> &runs, size_t first, size_t index, int32_t fit) {
  LineRun &run = runs[index];
  const auto length = static_cast<int32_t>(run.text.size());
  const int32_t skip = run.StartsWithTab() ? 1 : 0;
  // The last blank at or before the fit point: it may hang over the edge.
  for (int32_t k = std::min(fit, length - 1); k >= skip; --k) {
    if (run.text[static_cast<size_t>(k)] == ' ') {
      SplitRun(runs, index, k + 1);
      return index + 1;
    }
  }
  for (size_t r = index; r-- > first;) {
    const LineRun &earlier = runs[r];
    const size_t blank = earlier.text.find_last_of(' ');
    if (blank != std::string::npos && blank >= (earlier.StartsWithTab() ? 1u : 0u)) {
      SplitRun(runs, r, static_cast<int32_t>(blank) + 1);
      return r + 1;
    }
  }
  int32_t keep = fit;
  if (keep <= skip) {
    // Nothing fits: a run later in the line starts the next one, but every
    // line takes at least one character, or layout would never end.
    if (index != first)
      return index;
    keep = std::min(length, skip + 1);
  }
  SplitRun(runs, index, keep);
  return index + 1;
}

int32_t XQRichText::PlaceTabRun(std::vector<LineRun> &runs, size_t index, int32_t x, int32_t limit) {
  const TabPlace tab = FindNextTabStop(*runs[index].style, x);
  if (!tab.found || tab.stop.position > limit)
    return x;
  const int32_t stop = tab.stop.position;
  switch (tab.stop.kind) {
  case kTabRight:
    return std::max(x, stop - WidthToNextTab(runs, index, false));
  case kTabDecimal:
    return std::max(x, stop - WidthToNextTab(runs, index, true));
  case kTabCentre:
    return std::max(x, stop - WidthToNextTab(runs, index, false) / 2);
  default:
    return stop;
  }
}

XQRichText::TabPlace XQRichText::FindNextTabStop(const TextStyle &style, int32_t x) const {
  TabPlace place;
  const TabStopList &tabs = style.GetTabs();
  if (!tabs.IsEmpty()) {
    for (const TabStop &stop : tabs.Stops()) {
      if (stop.position > x) {
        place.found = true;
        place.stop = stop;
        break;
      }
    }
    return place;
  }
  if (m_defaultTabWidth <= 0)
    return place;
  place.found = true;
  place.stop.kind = kTabLeft;
  place.stop.position = (FloorDivide(x, m_defaultTabWidth) + 1) * m_defaultTabWidth;
  return place;
}

int32_t XQRichText::WidthToNextTab(const std::vector<LineRun> &runs, size_t index, bool upToPoint) {
  int32_t width = 0;
  std::vector<int32_t> edges;
  for (size_t r = index; r < runs.size(); ++r) {
    const LineRun &run = runs[r];
    if (r > index && run.StartsWithTab())
      break;
    const size_t begin = r == index && run.StartsWithTab() ? 1 : 0;
    size_t end = run.EndsWithNewline() ? run.text.size() - 1 : run.text.size();
    bool done = run.EndsWithNewline();
    if (upToPoint) {
      const size_t point = run.text.find('.', begin);
      if (point != std::string::npos && point < end) {
        end = point + 1; // the point's right edge lands on the stop
        done = true;
      }
    }
    if (end > begin) {
      const auto length = static_cast<int32_t>(end - begin);
      const char *text = run.text.data() + begin;
      const int32_t blanks = m_widenedBlanks ? static_cast<int32_t>(std::count(text, text + length, ' ')) : 0;
      edges.assign(end - begin, 0);
      m_measurer.MeasureText(*run.font, text, length, blanks * run.font->blankWidth, blanks, edges.data());
      width += edges.back();
    }
    if (done)
      break;
  }
  return width;
}

void XQRichText::FinishLine(TextLine &line, int32_t left, int32_t limit, bool paragraphEnd) {
  bool firstRun = true;
  for (size_t k = 0; k < line.runs.size(); ++k) {
    LineRun &run = line.runs[k];
    MeasureRun(run, kWholeExtent, k + 1 == line.runs.size());
    const int32_t height = run.font->Height();
    run.height = height;
    run.ascent = run.font->ascent;
    run.descent = run.font->descent;
    if (run.style->GetSubscript()) {
      run.ascent -= height * kSubscriptDrop / kPercent;
      run.descent += height * kSubscriptDrop / kPercent;
    } else if (run.style->GetSuperscript()) {
      run.ascent += height * kSuperscriptRise / kPercent;
      run.descent -= height * kSuperscriptRise / kPercent;
    }
    line.ascent = firstRun ? run.ascent : std::max(line.ascent, run.ascent);
    line.descent = firstRun ? run.descent : std::max(line.descent, run.descent);
    firstRun = false;
  }
  const LineRun &last = line.runs.back();
  const int32_t freeWidth = (limit - left) - (last.x + last.width - left);
  const int32_t alignment = line.runs.front().style->GetAlignment();
  int32_t shift = 0;
  if (alignment == TextStyle::kAlignRight)
    shift = freeWidth;
  else if (alignment == TextStyle::kAlignCentre)
    shift = freeWidth / 2;
  else if (alignment == TextStyle::kAlignJustified && !paragraphEnd)
    Justify(line, freeWidth);
  for (LineRun &run : line.runs) {
    run.x += shift;
    run.top = Saturated(int64_t{line.top} + line.ascent - run.ascent);
  }
}

void XQRichText::Justify(TextLine &line, int32_t freeWidth) {
  std::vector<int32_t> blanks;
  int32_t remaining = 0;
  for (size_t k = 0; k < line.runs.size(); ++k) {
    blanks.push_back(CountBlanks(line.runs[k], k + 1 == line.runs.size()));
    remaining += blanks.back();
  }
  // A line without blanks has nothing to widen.
  if (remaining == 0)
    return;
  int32_t shift = 0;
  for (size_t k = 0; k < line.runs.size(); ++k) {
    LineRun &run = line.runs[k];
    run.x += shift;
    if (blanks[k] == 0)
      continue;
    const int32_t extra = DivideRounded(int64_t{freeWidth} * blanks[k], remaining);
    freeWidth -= extra;
    remaining -= blanks[k];
    const int32_t oldWidth = run.width;
    const bool last = k + 1 == line.runs.size();
    const BlankSpread before = SpreadOverBlanks(run, last);
    run.justifyExtra = extra;
    RespreadBlanks(run, before, SpreadOverBlanks(run, last), last);
    shift += run.width - oldWidth;
  }
}

// The run's edges as measuring with the new spread would give them: the
// measurer spreads the pixels over the blanks in a fixed way (each of them
// extra / blanks, the first extra % blanks one more), so the old edges move
// by the difference, blank by blank, with no measuring again.
void XQRichText::RespreadBlanks(LineRun &run, const BlankSpread &before, const BlankSpread &after, bool lastOfLine) {
  const auto share = [](const BlankSpread &spread, int32_t blank) {
    if (blank >= spread.blanks)
      return 0;
    return spread.extra / spread.blanks + (blank < spread.extra % spread.blanks ? 1 : 0);
  };
  const auto length = static_cast<int32_t>(run.text.size());
  int32_t moved = 0;
  int32_t blank = 0;
  for (int32_t i = run.StartsWithTab() ? 1 : 0; i < length; ++i) {
    if (run.text[static_cast<size_t>(i)] == ' ') {
      moved += share(after, blank) - share(before, blank);
      ++blank;
    }
    run.edges[static_cast<size_t>(i)] += moved;
  }
  if (length > 0 && (run.EndsWithNewline() || (lastOfLine && run.text.back() == ' ')))
    run.edges[static_cast<size_t>(length) - 1] = length >= 2 ? run.edges[static_cast<size_t>(length) - 2] : 0;
  run.width = length > 0 ? run.edges.back() : 0;
}

void XQRichText::ApplyVerticalAlignment() {
  if (m_lines.empty() || m_verticalAlignment == 0)
    return;
  const auto moveLineTo = [](TextLine &line, int64_t top) {
    const int32_t dy = Saturated(top) - line.top;
    line.top += dy;
    for (LineRun &run : line.runs)
      run.top = Saturated(int64_t{run.top} + dy);
  };
  if (m_verticalAlignment == 1 || m_verticalAlignment == 2) {
    int64_t dy = int64_t{m_frameHeight} - m_lines.back().Bottom();
    if (m_verticalAlignment == 2)
      dy /= 2;
    for (TextLine &line : m_lines)
      moveLineTo(line, line.top + dy);
    return;
  }
  if (m_verticalAlignment != 3)
    return;
  int64_t freeHeight = m_frameHeight;
  for (const TextLine &line : m_lines)
    freeHeight -= int64_t{line.ascent} + line.descent;
  auto gaps = static_cast<int64_t>(m_lines.size()) - 1;
  int64_t top = 0;
  for (TextLine &line : m_lines) {
    moveLineTo(line, top);
    top = line.Bottom();
    if (gaps > 0) {
      const int64_t gap = freeHeight / gaps;
      freeHeight -= gap;
      --gaps;
      top += gap;
    }
  }
}

void XQRichText::UpdateLayout(int32_t from, int32_t to) {
  const int32_t fromChar = std::clamp(std::min(from, to) / 2, 0, m_length);
  const int32_t toChar = std::clamp(std::max(from, to) / 2, 0, m_length);
  Relayout(fromChar, toChar, 0);
}

void XQRichText::Relayout(int32_t fromChar, int32_t newEndChar, int32_t delta) {
  if (!m_laidOut)
    return;
  // Alignment over the frame and tag effects move every line: those are
  // laid out whole when next asked.
  if (!m_incremental || m_verticalAlignment != 0 || !m_tagEffects.empty() || m_lines.empty()) {
    m_laidOut = false;
    return;
  }
  const size_t firstRun = ParagraphFirstRun(Locate(fromChar).run);
  const size_t lastRun = ParagraphLastRun(Locate(newEndChar).run);
  const int32_t start = RunCharStart(firstRun);
  int32_t newEnd = start;
  for (size_t i = firstRun; i <= lastRun; ++i)
    newEnd += static_cast<int32_t>(m_runs[i].text.size());
  const int32_t oldEnd = newEnd - delta;
  const auto byStart = [](const TextLine &line, int32_t value) { return line.charStart < value; };
  const auto firstLine = std::lower_bound(m_lines.begin(), m_lines.end(), start, byStart);
  if (firstLine == m_lines.end() || firstLine->charStart != start) {
    m_laidOut = false;
    return;
  }
  const auto endLine = std::lower_bound(firstLine, m_lines.end(), oldEnd, byStart);
  int32_t top = firstLine->top;
  std::vector<TextLine> rebuilt = LayoutRuns(firstRun, lastRun, top);
  const size_t firstIndex = static_cast<size_t>(firstLine - m_lines.begin());
  const size_t endIndex = static_cast<size_t>(endLine - m_lines.begin());
  const int32_t dy = endIndex < m_lines.size() ? top - m_lines[endIndex].top : 0;
  for (size_t i = endIndex; i < m_lines.size(); ++i) {
    TextLine &line = m_lines[i];
    line.top += dy;
    line.charStart += delta;
    for (LineRun &run : line.runs) {
      run.top += dy;
      run.charStart += delta;
    }
  }
  const size_t oldCount = endIndex - firstIndex;
  if (rebuilt.size() == oldCount) {
    std::move(rebuilt.begin(), rebuilt.end(), m_lines.begin() + static_cast<std::ptrdiff_t>(firstIndex));
    return;
  }
  m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(firstIndex),
                m_lines.begin() + static_cast<std::ptrdiff_t>(endIndex));
  m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(firstIndex), std::make_move_iterator(rebuilt.begin()),
                 std::make_move_iterator(rebuilt.end()));
}

// Settings and queries.

void XQRichText::SetFrameSize(int32_t width, int32_t height) {
  if (width != m_frameWidth || height != m_frameHeight)
    Invalidate();
  m_frameWidth = width;
  m_frameHeight = height;
}

void XQRichText::GetFrameSize(int32_t &width, int32_t &height) const {
  width = m_frameWidth;
  height = m_frameHeight;
}

void XQRichText::SetVerticalAlignment(int32_t alignment) {
  if (alignment != m_verticalAlignment)
    Invalidate();
  m_verticalAlignment = alignment;
}

void XQRichText::SetWidenedBlanks(bool on) {
  if (on != m_widenedBlanks)
    Invalidate();
  m_widenedBlanks = on;
}

void XQRichText::SetDefaultTabWidth(int32_t width) {
  if (width != m_defaultTabWidth)
    Invalidate();
  m_defaultTabWidth = width;
}

void XQRichText::SetShadowOffset(int32_t x, int32_t y) {
  m_shadowX = x;
  m_shadowY = y;
}

void XQRichText::GetShadowOffset(int32_t &x, int32_t &y) const {
  x = m_shadowX;
  y = m_shadowY;
}

void XQRichText::SetScrollOffset(int32_t x, int32_t y) {
  m_scrollX = x;
  m_scrollY = y;
}

void XQRichText::GetScrollOffset(int32_t &x, int32_t &y) const {
  x = m_scrollX;
  y = m_scrollY;
}

const std::vector<TextLine> &XQRichText::GetLines() {
  EnsureLayout();
  return m_lines;
}

int32_t XQRichText::GetContentHeight() {
  EnsureLayout();
  return m_lines.empty() ? 0 : m_lines.back().Bottom();
}

int32_t XQRichText::GetLineCount() {
  EnsureLayout();
  return std::max<int32_t>(1, static_cast<int32_t>(m_lines.size()));
}

size_t XQRichText::LineOfChar(int32_t charIndex) const {
  const auto after = std::upper_bound(m_lines.begin(), m_lines.end(), charIndex,
                                      [](int32_t value, const TextLine &line) { return value < line.charStart; });
  return after == m_lines.begin() ? 0 : static_cast<size_t>(after - m_lines.begin()) - 1;
}

int32_t XQRichText::GetLineAtPosition(int32_t position) {
  EnsureLayout();
  if (position == -1)
    position = m_caret;
  if (position < 0 || position > 2 * m_length + 1 || m_lines.empty())
    return -1;
  return static_cast<int32_t>(LineOfChar(position / 2));
}

int32_t XQRichText::GetLineTop(int32_t line) {
  EnsureLayout();
  if (line < 0 || static_cast<size_t>(line) >= m_lines.size())
    return -1;
  return m_lines[static_cast<size_t>(line)].top;
}

int32_t XQRichText::GetLineHeight(int32_t line) {
  EnsureLayout();
  if (line < 0 || static_cast<size_t>(line) >= m_lines.size())
    return -1;
  const TextLine &found = m_lines[static_cast<size_t>(line)];
  return found.ascent + found.descent;
}

// Hit-testing.

int32_t XQRichText::PositionInRun(const LineRun &run, int32_t x) const {
  auto count = static_cast<int32_t>(run.text.size());
  if (run.EndsWithNewline())
    --count;
  if (count <= 0)
    return 2 * run.charStart;
  const int32_t relative = x - run.x;
  for (int32_t i = 0; i < count; ++i) {
    const int32_t previous = i == 0 ? 0 : run.edges[static_cast<size_t>(i) - 1];
    const int32_t halfWay = (previous + run.edges[static_cast<size_t>(i)]) / 2;
    if (halfWay > relative)
      return 2 * (run.charStart + i);
  }
  return 2 * (run.charStart + count) - 1;
}

int32_t XQRichText::HitTest(int32_t x, int32_t y, bool &inside, const LineRun **hitRun) {
  EnsureLayout();
  inside = false;
  if (hitRun)
    *hitRun = nullptr;
  if (m_lines.empty())
    return 0;
  x += m_scrollX;
  y += m_scrollY;
  const auto found =
      std::find_if(m_lines.begin(), m_lines.end(), [&](const TextLine &line) { return line.Bottom() > y; });
  const TextLine &line = found == m_lines.end() ? m_lines.back() : *found;
  size_t index = 0;
  while (index + 1 < line.runs.size() && line.runs[index + 1].x <= x)
    ++index;
  const LineRun &run = line.runs[index];
  inside = x >= run.x && x < run.x + run.width && y >= run.top && y < run.top + run.height;
  if (hitRun)
    *hitRun = &run;
  return std::clamp(PositionInRun(run, x), 0, 2 * m_length);
}

int32_t XQRichText::PositionFromPoint(int32_t x, int32_t y) {
  bool inside = false;
  return HitTest(x, y, inside, nullptr);
}

bool XQRichText::GetPositionRect(VORRect &rect, int32_t position) {
  EnsureLayout();
  if (m_lines.empty()) {
    rect = VORRect(0, 0, m_frameWidth, m_frameHeight);
    return false;
  }
  const int32_t charIndex = std::clamp(position / 2, 0, m_length);
  const TextLine &line = m_lines[LineOfChar(charIndex)];
  const LineRun *run = &line.runs.back();
  for (const LineRun &candidate : line.runs) {
    if (charIndex < candidate.charStart + static_cast<int32_t>(candidate.text.size())) {
      run = &candidate;
      break;
    }
  }
  const auto k =
      static_cast<size_t>(std::clamp(charIndex - run->charStart, 0, static_cast<int32_t>(run->text.size()) - 1));
  const int32_t left = run->x + (k == 0 ? 0 : run->edges[k - 1]);
  const int32_t right = (position & 1) ? run->x + run->edges[k] : left;
  rect = VORRect(left - m_scrollX, line.top - m_scrollY, right - m_scrollX, line.Bottom() - m_scrollY);
  return true;
}

bool XQRichText::PositionLineUp(int32_t &position) {
  EnsureLayout();
  const size_t line = LineOfChar(std::clamp(position / 2, 0, m_length));
  if (line == 0)
    return false;
  VORRect rect;
  GetPositionRect(rect, position);
  position = PositionFromPoint(rect.left, m_lines[line - 1].top - m_scrollY);
  return true;
}

bool XQRichText::PositionLineDown(int32_t &position) {
  EnsureLayout();
  const size_t line = LineOfChar(std::clamp(position / 2, 0, m_length));
  if (line + 1 >= m_lines.size())
    return false;
  VORRect rect;
  GetPositionRect(rect, position);
  position = PositionFromPoint(rect.left, m_lines[line + 1].top - m_scrollY);
  return true;
}

int32_t XQRichText::LineStartPosition(int32_t position) {
  EnsureLayout();
  return 2 * m_lines[LineOfChar(std::clamp(position / 2, 0, m_length))].charStart;
}

int32_t XQRichText::LineEndPosition(int32_t position) {
  EnsureLayout();
  const TextLine &line = m_lines[LineOfChar(std::clamp(position / 2, 0, m_length))];
  const int32_t end = line.charStart + line.charCount;
  if (line.runs.back().EndsWithNewline())
    return 2 * (end - 1);
  return std::min(2 * end - 1, 2 * m_length);
}

// Tag effects and drawing.

TextStyle XQRichText::EffectiveDrawStyle(const TextStyle &style) const {
  TextStyle effective;
  effective.CopyEffective(style);
  if (m_tagEffects.empty())
    return effective;
  const TagIdList ids = style.GetTagIds();
  for (const TagEffectStyle &effect : m_tagEffects)
    if (ids.Contains(effect.tagId))
      effective.LayOver(effect.style);
  return effective;
}

void XQRichText::ApplyTagEffects() {
  EnsureLayout();
  for (TextLine &line : m_lines) {
    for (size_t k = 0; k < line.runs.size(); ++k) {
      LineRun &run = line.runs[k];
      if (run.style->GetTagIds().IsEmpty())
        continue;
      const TextStyle combined = EffectiveDrawStyle(*run.style);
      const RichTextFontKey key =
          MakeFontKey(combined.GetFace(), combined.GetSize(), combined.GetBold(), combined.GetItalic(),
                      combined.GetUnderline(), combined.GetSubscript() || combined.GetSuperscript(), m_dpi);
      const RichTextFont &font = m_measurer.GetFont(key);
      if (&font == run.font)
        continue;
      const int32_t oldWidth = run.width;
      const int32_t oldHeight = run.height;
      run.font = &font;
      MeasureRun(run, kWholeExtent, k + 1 == line.runs.size());
      run.height = font.Height();
      // Stays centred where it was; the lines are not laid out again.
      run.x -= (run.width - oldWidth) / 2;
      run.top -= (run.height - oldHeight) / 2;
    }
  }
}

void XQRichText::Draw(RichTextCanvas &canvas, const VORRect &rect) {
  EnsureLayout();
  canvas.SetClip(rect);
  const int32_t originX = rect.left - m_scrollX;
  const int32_t originY = rect.top - m_scrollY;
  int32_t selectionStart = 0;
  int32_t selectionEnd = 0;
  if (m_hasSelection)
    SelectionChars(selectionStart, selectionEnd);
  enum Pass { kBackgrounds, kShadows, kText };
  for (int pass = kBackgrounds; pass <= kText; ++pass) {
    for (const TextLine &line : m_lines) {
      for (size_t k = 0; k < line.runs.size(); ++k) {
        const LineRun &run = line.runs[k];
        const VORRect box(originX + run.x, originY + run.top, originX + run.x + run.width,
                          originY + run.top + run.height);
        if (run.width != 0 && !Meets(box, rect))
          break;
        if (!m_drawPartialLines && (box.bottom > rect.bottom || box.top < rect.top))
          break;
        const TextStyle style = EffectiveDrawStyle(*run.style);
        const RichTextFont &font = *run.font;
        RichColor background = 0;
        RichColor shadow = 0;
        const bool hasBackground = style.GetBackgroundColor(background);
        const bool hasShadow = style.GetShadowColor(shadow);
        const bool bullet = k == 0 && line.paragraphStart && style.GetBullet();
        const int32_t side = font.Height();
        const VORRect square(box.left - side, box.top, box.left, box.top + side);
        int32_t shadowX = m_shadowX;
        int32_t shadowY = m_shadowY;
        if (shadowX <= 0)
          shadowX = -shadowX * font.Height() / kPercent;
        if (shadowY <= 0)
          shadowY = -shadowY * font.aveCharWidth / kPercent;
        // The leading tab and the closing newline (and a CR before it) are not drawn.
        size_t begin = run.StartsWithTab() ? 1 : 0;
        size_t end = run.text.size();
        if (run.EndsWithNewline()) {
          --end;
          if (end > begin && run.text[end - 1] == '\r')
            --end;
        }
        const char *text = run.text.data() + begin;
        const auto length = static_cast<int32_t>(end > begin ? end - begin : 0);
        const int32_t textX = box.left + (begin == 1 ? run.edges[0] : 0);
        const BlankSpread spread = SpreadOverBlanks(run, k + 1 == line.runs.size());
        if (pass == kBackgrounds && hasBackground) {
          canvas.FillRect(box, background);
          if (bullet)
            canvas.FillRect(square, background);
        } else if (pass == kShadows && hasShadow) {
          if (length > 0)
            canvas.DrawText(font, textX + shadowX, box.top + shadowY, text, length, shadow, spread.extra,
                            spread.blanks);
          if (bullet) {
            const int32_t inset = side / 3;
            canvas.FillEllipse(VORRect(square.left + inset + shadowX, square.top + inset + shadowY,
                                       square.right - inset + shadowX, square.bottom - inset + shadowY),
                               shadow);
          }
        } else if (pass == kText) {
          if (length > 0)
            canvas.DrawText(font, textX, box.top, text, length, style.GetTextColor(), spread.extra, spread.blanks);
          if (bullet) {
            const int32_t inset = side / 3;
            canvas.FillEllipse(
                VORRect(square.left + inset, square.top + inset, square.right - inset, square.bottom - inset),
                style.GetTextColor());
          }
          const int32_t runEnd = run.charStart + static_cast<int32_t>(run.text.size());
          const int32_t from = std::max(selectionStart, run.charStart);
          const int32_t to = std::min(selectionEnd, runEnd);
          if (m_hasSelection && from < to) {
            const auto first = static_cast<size_t>(from - run.charStart);
            const auto last = static_cast<size_t>(to - run.charStart) - 1;
            const int32_t left = box.left + (first == 0 ? 0 : run.edges[first - 1]);
            const int32_t right = box.left + run.edges[last];
            canvas.Invert(VORRect(left, originY + line.top, right, originY + line.Bottom()));
          }
        }
      }
    }
  }
}
