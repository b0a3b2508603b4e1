#include "richtext/RtfReader.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "richtext/XQRichText.h"

namespace {

constexpr char kHeader[] = "{\\rtf";
constexpr size_t kHeaderLength = sizeof kHeader - 1;
// Control words and numbers longer than these are not RTF: the rest of the
// letters or digits is read and dropped.
constexpr size_t kMaxWordLength = 32;
constexpr size_t kMaxDigits = 10;
// Deeper groups share the style of the deepest one kept.
constexpr size_t kMaxGroupDepth = 256;
constexpr char kDefaultFace[] = "Times New Roman";

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsTextByte(char c) { return c != '\0' && std::strchr("\n\r\\{}", c) == nullptr; }

int HexValue(char c) {
  if (c >= '0' && c <= '9')
    return c - '0';
  if (c >= 'a' && c <= 'f')
    return c - 'a' + 10;
  if (c >= 'A' && c <= 'F')
    return c - 'A' + 10;
  return -1;
}

// (dpi x twips + 720) / 1440, rounded away from zero alike on both sides.
int32_t RoundedDivide(int64_t numerator, int64_t denominator) {
  const int64_t half = denominator / 2;
  const int64_t value = numerator >= 0 ? (numerator + half) / denominator : (numerator - half) / denominator;
  return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

} // namespace

RtfReader::RtfReader(XQRichText &document, const std::string &rtf, const TextStyle &start, const TextStyle &base)
    : m_document(document), m_in(rtf), m_dpi(document.GetDeviceResolution()) {
  m_base.CopyEffective(base);
  m_stack.push_back(start);
}

bool RtfReader::HasHeader(const std::string &rtf) { return rtf.compare(0, kHeaderLength, kHeader) == 0; }

std::vector<TextRun> RtfReader::Read() {
  if (!HasHeader(m_in))
    return {};
  // The header is a control word: its number and one blank belong to it.
  m_pos = kHeaderLength;
  while (!AtEnd() && IsDigit(Peek()))
    ++m_pos;
  if (Peek() == ' ')
    ++m_pos;
  while (!AtEnd() && !m_stack.empty()) {
    const char c = Peek();
    if (c == '\n' || c == '\r' || c == '\0') {
      ++m_pos; // line breaks are no text; a NUL would end the run's text
    } else if (c == '\\') {
      ++m_pos;
      ApplyWord(ReadWord());
    } else if (c == '{') {
      std::string destination;
      if (PeekDestination(destination)) {
        if (destination == "fonttbl")
          ReadFontTable();
        else if (destination == "colortbl")
          ReadColorTable();
        else
          SkipGroup();
      } else {
        ++m_pos;
        PushGroup();
      }
    } else if (c == '}') {
      ++m_pos;
      PopGroup();
    } else {
      const size_t start = m_pos;
      while (!AtEnd() && IsTextByte(Peek()))
        ++m_pos;
      AddText(m_in.data() + start, m_pos - start);
    }
  }
  return std::move(m_runs);
}

RtfReader::Word RtfReader::ReadWord() {
  Word word;
  if (AtEnd())
    return word;
  const char first = Peek();
  if (first == '\'') {
    ++m_pos;
    word.isByte = true;
    const int high = HexValue(Peek());
    const int low = HexValue(Peek(1));
    if (m_pos + 1 < m_in.size() && high >= 0 && low >= 0) {
      word.byteValid = true;
      word.byte = static_cast<uint8_t>(high << 4 | low);
      m_pos += 2;
    }
    return word;
  }
  if (!IsLetter(first)) {
    word.symbol = first;
    ++m_pos;
    return word;
  }
  while (!AtEnd() && IsLetter(Peek())) {
    if (word.name.size() < kMaxWordLength)
      word.name += Peek();
    ++m_pos;
  }
  bool negative = false;
  if (Peek() == '-' && IsDigit(Peek(1))) {
    negative = true;
    ++m_pos;
  }
  int64_t value = 0;
  size_t digits = 0;
  while (!AtEnd() && IsDigit(Peek())) {
    if (digits++ < kMaxDigits)
      value = value * 10 + (Peek() - '0');
    ++m_pos;
  }
  if (digits > 0) {
    word.hasParameter = true;
    word.parameter = static_cast<int32_t>(std::clamp<int64_t>(negative ? -value : value, INT32_MIN, INT32_MAX));
  }
  if (Peek() == ' ')
    ++m_pos;
  return word;
}

bool RtfReader::PeekDestination(std::string &name) const {
  if (Peek(1) != '\\')
    return false;
  if (Peek(2) == '*') {
    name = "*";
    return true;
  }
  size_t at = m_pos + 2;
  while (at < m_in.size() && IsLetter(m_in[at]) && name.size() <= kMaxWordLength)
    name += m_in[at++];
  static const char *const kDestinations[] = {"fonttbl", "colortbl", "stylesheet", "pict", "info"};
  return std::any_of(std::begin(kDestinations), std::end(kDestinations),
                     [&](const char *destination) { return name == destination; });
}

void RtfReader::SkipGroup() {
  ++m_pos; // the group's brace
  SkipRestOfGroup();
}

void RtfReader::SkipRestOfGroup() {
  size_t depth = 1;
  while (!AtEnd() && depth > 0) {
    const char c = m_in[m_pos++];
    if (c == '\\')
      ++m_pos; // an escaped brace or backslash counts for nothing
    else if (c == '{')
      ++depth;
    else if (c == '}')
      --depth;
  }
  m_pos = std::min(m_pos, m_in.size());
}

void RtfReader::SkipBlankAfterBrace() {
  if (Peek() == ' ')
    ++m_pos;
}

void RtfReader::ReadFontTable() {
  ++m_pos;
  size_t depth = 1;
  int32_t number = 0;
  std::string face;
  while (!AtEnd() && depth > 0) {
    const char c = Peek();
    if (c == '{') {
      ++depth;
      ++m_pos;
    } else if (c == '}') {
      --depth;
      ++m_pos;
      SkipBlankAfterBrace();
    } else if (c == '\\') {
      ++m_pos;
      const Word word = ReadWord();
      if (word.name == "f" && word.hasParameter) {
        number = word.parameter;
      } else if (word.symbol == '*') {
        SkipRestOfGroup();
        --depth;
      }
    } else if (c == ';') {
      ++m_pos;
      m_fonts.push_back(FontEntry{face.empty() ? kDefaultFace : face, number});
      face.clear();
    } else {
      ++m_pos;
      if (c != '\n' && c != '\r')
        face += c;
    }
  }
}

void RtfReader::ReadColorTable() {
  ++m_pos;
  size_t depth = 1;
  int32_t components[3] = {0, 0, 0};
  bool given = false;
  while (!AtEnd() && depth > 0) {
    const char c = Peek();
    if (c == '{') {
      ++depth;
      ++m_pos;
    } else if (c == '}') {
      --depth;
      ++m_pos;
      SkipBlankAfterBrace();
    } else if (c == '\\') {
      ++m_pos;
      const Word word = ReadWord();
      static const char *const kComponents[] = {"red", "green", "blue"};
      for (int i = 0; i < 3; ++i) {
        if (word.name == kComponents[i]) {
          components[i] = word.hasParameter ? word.parameter : 0;
          given = true;
        }
      }
    } else {
      ++m_pos;
      if (c == ';') {
        // An entry that gives no component is black; one that gives some
        // takes 0 for the others.
        m_colors.push_back(given ? MakeRichColor(static_cast<uint32_t>(components[0]),
                                                 static_cast<uint32_t>(components[1]),
                                                 static_cast<uint32_t>(components[2]))
                                 : 0);
        components[0] = components[1] = components[2] = 0;
        given = false;
      }
    }
  }
}

void RtfReader::PushGroup() {
  if (m_stack.size() >= kMaxGroupDepth) {
    ++m_unpushedDepth;
    return;
  }
  m_stack.push_back(m_stack.back());
  ++m_styleVersion;
}

void RtfReader::PopGroup() {
  if (m_unpushedDepth > 0) {
    --m_unpushedDepth;
    return;
  }
  m_stack.pop_back();
  ++m_styleVersion;
}

void RtfReader::ApplyWord(const Word &word) {
  if (ApplyCharacterWord(word) || ApplyParagraphWord(word))
    ++m_styleVersion;
  else
    ApplySpecialWord(word);
}

bool RtfReader::ApplyCharacterWord(const Word &word) {
  const std::string &name = word.name;
  if (name.empty())
    return false;
  TextStyle &style = Current();
  const bool on = !word.hasParameter || word.parameter != 0;
  if (name == "plain") {
    style.SetBold(false);
    style.SetItalic(false);
    style.SetUnderline(false);
    style.SetSubscript(false);
    style.SetSuperscript(false);
    if (!m_colors.empty())
      style.SetTextColor(m_colors.front());
    RichColor colour = 0;
    style.GetBackgroundColor(colour);
    style.SetBackgroundColor(colour, false);
    style.GetShadowColor(colour);
    style.SetShadowColor(colour, false);
    style.SetTagIds(TagIdList());
  } else if (name == "b") {
    style.SetBold(on);
  } else if (name == "i") {
    style.SetItalic(on);
  } else if (name == "ul") {
    style.SetUnderline(on);
  } else if (name == "dn") {
    style.SetSubscript(on);
  } else if (name == "up") {
    style.SetSuperscript(on);
  } else if (name == "f") {
    const auto found = std::find_if(m_fonts.rbegin(), m_fonts.rend(),
                                    [&](const FontEntry &entry) { return entry.number == word.parameter; });
    if (word.hasParameter && found != m_fonts.rend())
      style.SetFace(found->face);
  } else if (name == "fs") {
    if (word.hasParameter)
      style.SetSize(word.parameter / 2);
  } else if (name == "cf" || name == "cb" || name == "shad") {
    if (!word.hasParameter || word.parameter < 0 || static_cast<size_t>(word.parameter) >= m_colors.size())
      return true;
    const RichColor colour = m_colors[static_cast<size_t>(word.parameter)];
    if (name == "cf")
      style.SetTextColor(colour);
    else if (name == "cb")
      style.SetBackgroundColor(colour, true);
    else
      style.SetShadowColor(colour, true);
  } else if (name == "id") {
    if (word.hasParameter)
      style.AddTagId(word.parameter);
  } else {
    return false;
  }
  return true;
}

int32_t RtfReader::TwipsToPixels(int32_t twips) const { return RoundedDivide(int64_t{m_dpi} * twips, 1440); }

bool RtfReader::ApplyParagraphWord(const Word &word) {
  const std::string &name = word.name;
  if (name.empty())
    return false;
  TextStyle &style = Current();
  const int32_t parameter = word.hasParameter ? word.parameter : 0;
  if (name == "pard") {
    style.SetAlignment(TextStyle::kAlignLeft);
    style.SetLeftIndent(0);
    style.SetRightIndent(0);
    style.SetFirstIndent(0);
    style.SetTabs(TabStopList());
    style.SetBullet(false);
  } else if (name == "ql" || name == "qr" || name == "qc" || name == "qj") {
    static const char kAlignments[] = "lrcj";
    style.SetAlignment(static_cast<int32_t>(std::strchr(kAlignments, name[1]) - kAlignments));
  } else if (name == "sl") {
    if (parameter < 0) {
      // Minus the exact line height in pixels.
      style.SetSpacing(static_cast<int32_t>((720 - int64_t{m_dpi} * parameter) / -1440));
    } else if (style.GetSize() != 0) {
      style.SetSpacing(static_cast<int32_t>(int64_t{parameter} * TextStyle::kSingleSpacing / (style.GetSize() * 24LL)));
    }
  } else if (name == "li") {
    style.SetLeftIndent(TwipsToPixels(parameter));
  } else if (name == "ri") {
    style.SetRightIndent(TwipsToPixels(parameter));
  } else if (name == "fi") {
    style.SetFirstIndent(TwipsToPixels(parameter));
  } else if (name == "tqr") {
    m_pendingTabKind = kTabRight;
  } else if (name == "tqc") {
    m_pendingTabKind = kTabCentre;
  } else if (name == "tqdec") {
    m_pendingTabKind = kTabDecimal;
  } else if (name == "tx") {
    style.AddTab(TabStop{m_pendingTabKind, TwipsToPixels(parameter)});
    m_pendingTabKind = kTabLeft;
  } else if (name == "bullet") {
    style.SetBullet(true);
  } else {
    return false;
  }
  return true;
}

void RtfReader::ApplySpecialWord(const Word &word) {
  if (word.isByte) {
    // A NUL would end the run's text; a broken escape gives nothing.
    if (word.byteValid && word.byte != 0) {
      const char byte = static_cast<char>(word.byte);
      AddText(&byte, 1);
    }
    return;
  }
  if (word.symbol != 0) {
    if (word.symbol == '\\' || word.symbol == '{' || word.symbol == '}') {
      AddText(&word.symbol, 1);
    } else if (word.symbol == '~') {
      AddText(" ", 1);
    } else if (word.symbol == '_') {
      AddText("-", 1);
    }
    return;
  }
  static const struct {
    const char *name;
    const char *text;
  } kSpecials[] = {{"par", "\n"},   {"tab", "\t"},   {"emdash", "-"},     {"endash", "-"},
                   {"lquote", "'"}, {"rquote", "'"}, {"ldblquote", "\""}, {"rdblquote", "\""}};
  for (const auto &special : kSpecials) {
    if (word.name == special.name) {
      AddText(special.text, 1);
      return;
    }
  }
}

void RtfReader::AddText(const char *text, size_t length) {
  if (length == 0)
    return;
  if (m_runStyleVersion != m_styleVersion || !m_runStyle) {
    TextStyle laid;
    laid.CopyEffective(m_base);
    TextStyle current = Current();
    current.SetOwnTagIdsOnly(true);
    laid.LayOver(current);
    m_runStyle = m_document.FindStyle(laid);
    m_runStyleVersion = m_styleVersion;
  }
  if (!m_runs.empty() && m_runs.back().style == m_runStyle)
    m_runs.back().text.append(text, length);
  else
    m_runs.push_back(TextRun{std::string(text, length), m_runStyle});
}
