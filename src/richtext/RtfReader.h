#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "richtext/TextStyle.h"

class XQRichText;
struct TextRun;

// Reads the RTF the document writes, and the common subset other tools
// write, into runs to insert at the caret. One reader serves one read.
class RtfReader {
public:
  // start: the style the text begins with; base: the style of the run the
  // text goes into, which the text's own style is laid over.
  RtfReader(XQRichText &document, const std::string &rtf, const TextStyle &start, const TextStyle &base);
  // Answers false when the text does not begin with "{\rtf".
  static bool HasHeader(const std::string &rtf);
  std::vector<TextRun> Read();

private:
  struct Word {
    std::string name; // empty for a control symbol or a hexadecimal byte
    char symbol = 0;
    bool hasParameter = false;
    int32_t parameter = 0;
    bool isByte = false;
    bool byteValid = false;
    uint8_t byte = 0;
  };
  struct FontEntry {
    std::string face;
    int32_t number = 0;
  };

  bool AtEnd() const { return m_pos >= m_in.size(); }
  char Peek(size_t ahead = 0) const { return m_pos + ahead < m_in.size() ? m_in[m_pos + ahead] : '\0'; }
  Word ReadWord();
  bool PeekDestination(std::string &name) const;
  void SkipGroup();
  void SkipRestOfGroup();
  void SkipBlankAfterBrace();
  void ReadFontTable();
  void ReadColorTable();
  void PushGroup();
  void PopGroup();
  TextStyle &Current() { return m_stack.back(); }
  void ApplyWord(const Word &word);
  bool ApplyCharacterWord(const Word &word);
  bool ApplyParagraphWord(const Word &word);
  void ApplySpecialWord(const Word &word);
  void AddText(const char *text, size_t length);
  int32_t TwipsToPixels(int32_t twips) const;

  XQRichText &m_document;
  const std::string &m_in;
  size_t m_pos = 0;
  TextStyle m_base;
  std::vector<TextStyle> m_stack;
  size_t m_unpushedDepth = 0; // groups nested deeper than the stack holds
  std::vector<FontEntry> m_fonts;
  std::vector<RichColor> m_colors;
  int32_t m_pendingTabKind = kTabLeft;
  int32_t m_dpi;
  std::vector<TextRun> m_runs;
  const TextStyle *m_runStyle = nullptr;
  uint64_t m_styleVersion = 1;
  uint64_t m_runStyleVersion = 0;
};
