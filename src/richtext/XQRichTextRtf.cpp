// Saving the document as RTF and reading RTF into it.

#include <algorithm>
#include <map>

#include "richtext/RtfReader.h"
#include "richtext/XQRichText.h"

namespace {

constexpr int32_t kTwipsPerInch = 1440;

int32_t PixelsToTwips(int32_t pixels, int32_t dpi) {
  // Rounded alike on both sides of 0, so that negative indents come back.
  const int64_t numerator = int64_t{pixels} * kTwipsPerInch;
  const int64_t half = dpi / 2;
  return static_cast<int32_t>(numerator >= 0 ? (numerator + half) / dpi : (numerator - half) / dpi);
}

class RtfWriter {
public:
  RtfWriter(const std::vector<TextRun> &runs, int32_t dpi) : m_runs(runs), m_dpi(dpi) {}

  void AddFace(const std::string &face) {
    if (m_faceNumbers.emplace(face, static_cast<int32_t>(m_faces.size())).second)
      m_faces.push_back(face);
  }

  void AddColor(RichColor colour) {
    if (std::find(m_colors.begin(), m_colors.end(), colour) == m_colors.end())
      m_colors.push_back(colour);
  }

  void AddRunColors(const TextStyle &style) {
    AddColor(style.GetTextColor());
    RichColor colour = 0;
    if (style.GetBackgroundColor(colour))
      AddColor(colour);
    if (style.GetShadowColor(colour))
      AddColor(colour);
  }

  std::string Write(int32_t start, int32_t end) {
    m_out += "{\\rtf1\\ansi\\deff0\n{\\fonttbl";
    for (size_t n = m_faces.size(); n-- > 0;)
      m_out += "{\\f" + std::to_string(n) + " " + m_faces[n] + ";}";
    m_out += "}\n{\\colortbl";
    for (RichColor colour : m_colors)
      m_out += "\\red" + std::to_string(colour & 0xFF) + "\\green" + std::to_string(colour >> 8 & 0xFF) + "\\blue" +
               std::to_string(colour >> 16 & 0xFF) + ";";
    m_out += "}\n";
    int32_t charStart = 0;
    bool paragraphStart = true;
    for (const TextRun &run : m_runs) {
      const auto size = static_cast<int32_t>(run.text.size());
      const int32_t from = std::max(start, charStart);
      const int32_t to = std::min(end, charStart + size);
      const bool runBeginsParagraph = paragraphStart;
      paragraphStart = run.text.back() == '\n';
      charStart += size;
      if (from >= to)
        continue;
      WriteCharacterWords(*run.style);
      if (runBeginsParagraph || from == start)
        WriteParagraphWords(*run.style);
      WriteText(run.text, static_cast<size_t>(from - (charStart - size)), static_cast<size_t>(to - from));
    }
    m_out += "}";
    return std::move(m_out);
  }

private:
  int32_t ColorIndex(RichColor colour) const {
    return static_cast<int32_t>(std::find(m_colors.begin(), m_colors.end(), colour) - m_colors.begin());
  }

  void Word(const char *name, int64_t value) {
    m_out += name;
    m_out += std::to_string(value);
  }

  void WriteCharacterWords(const TextStyle &style) {
    m_out += "\\plain";
    if (style.GetBold())
      m_out += "\\b";
    if (style.GetItalic())
      m_out += "\\i";
    if (style.GetUnderline())
      m_out += "\\ul";
    if (const int32_t index = ColorIndex(style.GetTextColor()); index != 0)
      Word("\\cf", index);
    RichColor colour = 0;
    if (style.GetBackgroundColor(colour))
      Word("\\cb", ColorIndex(colour));
    if (style.GetShadowColor(colour))
      Word("\\shad", ColorIndex(colour));
    Word("\\f", m_faceNumbers.at(style.GetFace()));
    const int64_t halfPoints = int64_t{style.GetSize()} * 2;
    Word("\\fs", halfPoints);
    if (style.GetSubscript())
      Word("\\dn", halfPoints / 4);
    if (style.GetSuperscript())
      Word("\\up", halfPoints / 4);
    const TagIdList ids = style.GetTagIds();
    for (int32_t id : ids.Ids())
      Word("\\id", id);
    m_out += ' ';
  }

  void WriteParagraphWords(const TextStyle &style) {
    static const char *const kAlignments[] = {"\\ql", "\\qr", "\\qc", "\\qj"};
    m_out += "\\pard";
    const int32_t alignment = style.GetAlignment();
    if (alignment >= 0 && alignment < 4)
      m_out += kAlignments[alignment];
    const int64_t spacing = style.GetSpacing();
    if (spacing >= 0)
      Word("\\sl", int64_t{style.GetSize()} * spacing * 24 / TextStyle::kSingleSpacing);
    else
      Word("\\sl", -((m_dpi / 2 - spacing * kTwipsPerInch) / m_dpi));
    Word("\\li", PixelsToTwips(style.GetLeftIndent(), m_dpi));
    Word("\\ri", PixelsToTwips(style.GetRightIndent(), m_dpi));
    Word("\\fi", PixelsToTwips(style.GetFirstIndent(), m_dpi));
    static const char *const kTabWords[] = {"\\tx", "\\tqr\\tx", "\\tqc\\tx", "\\tqdec\\tx"};
    for (const TabStop &stop : style.GetTabs().Stops())
      Word(kTabWords[std::clamp(stop.kind, 0, 3)], PixelsToTwips(stop.position, m_dpi));
    if (style.GetBullet())
      m_out += "\\bullet";
    m_out += ' ';
  }

  void WriteText(const std::string &text, size_t offset, size_t length) {
    for (size_t i = offset; i < offset + length; ++i) {
      const char c = text[i];
      if (c == '\n') {
        m_out += "\\par";
        continue;
      }
      if (c == '\\' || c == '{' || c == '}')
        m_out += '\\';
      m_out += c;
    }
  }

  const std::vector<TextRun> &m_runs;
  int32_t m_dpi;
  std::vector<std::string> m_faces;
  std::map<std::string, int32_t> m_faceNumbers;
  std::vector<RichColor> m_colors;
  std::string m_out;
};

} // namespace

bool XQRichText::SaveRtf(std::string &rtf) {
  int32_t start = 0;
  int32_t end = 0;
  const SavedSelection saved = SaveSelection();
  SelectAll();
  SelectionChars(start, end);
  if (!m_hasSelection)
    end = start;
  RtfWriter writer(m_runs, m_dpi);
  // Faces: those of the runs first, then those of the style lists.
  for (const TextRun &run : m_runs)
    writer.AddFace(run.style->GetFace());
  for (const auto &style : m_baseStyles)
    writer.AddFace(style->GetFace());
  for (const auto &style : m_madeStyles)
    writer.AddFace(style->GetFace());
  int32_t charStart = 0;
  for (const TextRun &run : m_runs) {
    if (charStart < end && charStart + static_cast<int32_t>(run.text.size()) > start)
      writer.AddRunColors(*run.style);
    charStart += static_cast<int32_t>(run.text.size());
  }
  rtf = writer.Write(start, end);
  RestoreSelection(saved);
  return true;
}

bool XQRichText::LoadRtf(const std::string &rtf) {
  m_runs.assign(1, TextRun{"\n", &DefaultStyle()});
  m_length = 0;
  const SavedSelection saved = SaveSelection();
  SetCaret(0);
  const bool incremental = m_incremental;
  m_incremental = false;
  const bool read = ReadRtf(rtf);
  m_incremental = incremental;
  Invalidate();
  RestoreSelection(saved);
  return read;
}

bool XQRichText::ReadRtf(const std::string &rtf) {
  // Checked before anything changes: a refused text leaves the selection.
  if (!RtfReader::HasHeader(rtf))
    return false;
  const bool incremental = m_incremental;
  m_incremental = false;
  if (m_hasSelection)
    InsertText("", 0);
  const int32_t start = CaretChar();
  const size_t at = SplitAt(start);
  TextStyle common;
  GetSelectionStyle(common);
  RtfReader reader(*this, rtf, common, *m_runs[at].style);
  std::vector<TextRun> inserted = reader.Read();
  size_t added = 0;
  for (const TextRun &run : inserted)
    added += run.text.size();
  if (!inserted.empty()) {
    const size_t after = at + inserted.size();
    const TextStyle *lastStyle = inserted.back().style;
    m_runs.insert(m_runs.begin() + static_cast<std::ptrdiff_t>(at), std::make_move_iterator(inserted.begin()),
                  std::make_move_iterator(inserted.end()));
    if (after + 1 == m_runs.size() && m_runs[after].text == "\n")
      m_runs[after].style = lastStyle;
  }
  const int32_t end = start + static_cast<int32_t>(added);
  NormalizeParagraphs(start, end);
  RecountLength();
  SelectRange(start, end);
  m_incremental = incremental;
  Relayout(start, end, end - start);
  return true;
}
