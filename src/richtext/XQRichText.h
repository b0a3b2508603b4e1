#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "foundation/VORRect.h"
#include "richtext/RichTextCanvas.h"
#include "richtext/RichTextFont.h"
#include "richtext/TextStyle.h"

// A run of the document: bytes of one style.
struct TextRun {
  std::string text;
  const TextStyle *style = nullptr;
};

// A run as laid out in a line: a copy of (part of) a document run with its
// place and measurements.
struct LineRun {
  std::string text;
  const TextStyle *style = nullptr;
  int32_t charStart = 0; // index of its first character in the document
  int32_t x = 0;
  int32_t top = 0;
  int32_t width = 0;
  int32_t height = 0;
  int32_t ascent = 0; // after the sub- or superscript shift
  int32_t descent = 0;
  int32_t justifyExtra = 0; // pixels added over the blanks of a justified line
  const RichTextFont *font = nullptr;
  std::vector<int32_t> edges; // right edge of each character from x

  bool StartsWithTab() const { return !text.empty() && text[0] == '\t'; }
  bool EndsWithNewline() const { return !text.empty() && text.back() == '\n'; }
};

struct TextLine {
  int32_t top = 0;
  int32_t ascent = 0;
  int32_t descent = 0;
  int32_t charStart = 0;
  int32_t charCount = 0;
  bool paragraphStart = false;
  std::vector<LineRun> runs;

  int32_t Bottom() const { return top + ascent + descent; }
};

// The formatted-text document: runs of styled bytes edited at a caret or a
// selection, laid out in lines over a font measurer, drawn on a canvas, and
// read from and written to RTF.
//
// Positions count half-characters: 2i is the gap before character i, 2i+1
// stands on character i. The last run always ends with the closing newline,
// which positions do not reach.
class XQRichText {
public:
  using TextStyle = ::TextStyle;
  struct TagEffectStyle {
    int32_t tagId = 0;
    TextStyle style;
  };
  static constexpr int32_t kNoPosition = -1;

  explicit XQRichText(RichTextMeasurer &measurer);
  virtual ~XQRichText();
  XQRichText(const XQRichText &) = delete;
  XQRichText &operator=(const XQRichText &) = delete;

  // Characters without the closing newline.
  int32_t GetLength() const { return m_length; }
  // The whole text with the closing newline.
  std::string GetText() const;
  const std::vector<TextRun> &GetRuns() const { return m_runs; }
  int32_t GetDeviceResolution() const { return m_dpi; }

  // Caret and selection.
  bool SetCaret(int32_t position);
  bool SetCaretAtPoint(int32_t x, int32_t y);
  void ExtendSelection(int32_t position);
  void ExtendSelectionToPoint(int32_t x, int32_t y);
  bool MoveCaret(int32_t position);
  void ClearSelection();
  void HideCaret() { m_caretShown = false; }
  void SelectAll();
  bool GetSelection(int32_t &start, int32_t &end) const;
  bool GetCaret(int32_t &position) const;
  int32_t GetCaretPosition() const { return m_caret; }
  struct SavedSelection {
    int32_t anchor = 0;
    int32_t start = 0;
    int32_t end = kNoPosition;
  };
  SavedSelection SaveSelection() const;
  void RestoreSelection(const SavedSelection &saved);
  bool SelectTaggedText(int32_t tagId);

  // Position steps.
  bool PreviousPosition(int32_t &position) const;
  bool NextPosition(int32_t &position) const;
  bool PositionLineUp(int32_t &position);
  bool PositionLineDown(int32_t &position);
  int32_t FirstPosition() const { return 0; }
  int32_t LineStartPosition(int32_t position);
  int32_t LastPosition() const;
  int32_t LineEndPosition(int32_t position);

  // Editing.
  void InsertText(const char *text, int32_t length = -1);
  void InsertChar(char c) { InsertText(&c, 1); }
  void InsertString(const std::string &text) { InsertText(text.data(), static_cast<int32_t>(text.size())); }
  void DeleteNextChar();
  void ApplyStyleToSelection(const TextStyle &style);
  void GetSelectionStyle(TextStyle &style) const;
  void SetDefaultStyle(const TextStyle &style);
  void GetDefaultStyle(TextStyle &style) const { style.CopyEffective(*m_baseStyles.front()); }
  void GetSelectedText(std::string &text) const;
  // The list entry equal to style, else a copy added to the made styles.
  const TextStyle *FindStyle(const TextStyle &style);
  size_t GetStyleCount() const { return m_baseStyles.size() + m_madeStyles.size(); }

  // Tag effects.
  void SetTagEffectStyle(int32_t tagId, const TextStyle &style);
  void RemoveTagEffectStyle(int32_t tagId);
  const std::vector<TagEffectStyle> &GetTagEffects() const { return m_tagEffects; }
  void CollectTagIds(TagIdList &ids) const;

  // RTF.
  bool SaveRtf(std::string &rtf);
  bool LoadRtf(const std::string &rtf);
  bool ReadRtf(const std::string &rtf);

  // Layout.
  void Layout();
  void UpdateLayout(int32_t from, int32_t to);
  bool IsLaidOut() const { return m_laidOut; }
  void SetIncrementalRelayout(bool on) { m_incremental = on; }
  void SetFrameSize(int32_t width, int32_t height);
  void GetFrameSize(int32_t &width, int32_t &height) const;
  void SetVerticalAlignment(int32_t alignment);
  int32_t GetVerticalAlignment() const { return m_verticalAlignment; }
  void SetDrawPartialLines(bool on) { m_drawPartialLines = on; }
  bool GetDrawPartialLines() const { return m_drawPartialLines; }
  // Every blank measured and drawn twice as wide as its font makes it.
  void SetWidenedBlanks(bool on);
  bool GetWidenedBlanks() const { return m_widenedBlanks; }
  void SetDefaultTabWidth(int32_t width);
  int32_t GetDefaultTabWidth() const { return m_defaultTabWidth; }
  void SetShadowOffset(int32_t x, int32_t y);
  void GetShadowOffset(int32_t &x, int32_t &y) const;
  void SetScrollOffset(int32_t x, int32_t y);
  void GetScrollOffset(int32_t &x, int32_t &y) const;
  int32_t GetContentHeight();
  int32_t GetLineCount();
  int32_t GetLineAtPosition(int32_t position);
  int32_t GetLineTop(int32_t line);
  int32_t GetLineHeight(int32_t line);
  const std::vector<TextLine> &GetLines();

  // Drawing and hit-testing.
  void Draw(RichTextCanvas &canvas, const VORRect &rect);
  int32_t HitTest(int32_t x, int32_t y, bool &inside, const LineRun **run);
  int32_t PositionFromPoint(int32_t x, int32_t y);
  bool GetPositionRect(VORRect &rect, int32_t position);

protected:
  // Deep copies of the runs first..last (inclusive) for layout, normalised
  // with tabs split off; fonts not yet made.
  virtual std::vector<LineRun> CopyRuns(size_t first, size_t last);
  // Measures the run's characters (edges and width); answers how many fit
  // within maxExtent.
  virtual int32_t MeasureRun(LineRun &run, int32_t maxExtent, bool lastOfLine);

  RichTextMeasurer &Measurer() { return m_measurer; }
  const TextStyle &DefaultStyle() const { return *m_baseStyles.front(); }

private:
  friend class RtfReader;
  struct RunPlace {
    size_t run = 0;
    int32_t offset = 0;
  };
  struct TabPlace {
    bool found = false;
    TabStop stop;
  };
  // The pixels spread over a run's blanks as it is measured and drawn.
  struct BlankSpread {
    int32_t extra = 0;
    int32_t blanks = 0;
  };

  // Document.
  void RecountLength();
  RunPlace Locate(int32_t charIndex) const;
  int32_t RunCharStart(size_t run) const;
  size_t ParagraphFirstRun(size_t run) const;
  size_t ParagraphLastRun(size_t run) const;
  void SelectionChars(int32_t &start, int32_t &end) const;
  int32_t CaretChar() const;
  // Replaces characters [start, end) with text; answers where the new text ends.
  int32_t ReplaceChars(int32_t start, int32_t end, const std::string &text);
  // Splits the run holding charIndex so that a run starts there; answers its index.
  size_t SplitAt(int32_t charIndex);
  void NormalizeParagraphs(int32_t fromChar, int32_t toChar);
  std::vector<TextRun> NormalizeRuns(std::vector<TextRun> runs, bool splitTabs, bool holdsClosingNewline);
  void ApplyParagraphFields(int32_t fromChar, int32_t toChar, const TextStyle &fields);
  void AfterEdit(int32_t fromChar, int32_t newEndChar, int32_t delta);
  void SelectRange(int32_t startChar, int32_t endChar);

  // Layout.
  void CreateRunFonts(std::vector<LineRun> &runs);
  std::vector<TextLine> LayoutRuns(size_t firstRun, size_t lastRun, int32_t &top);
  void BuildParagraphLines(std::vector<LineRun> &runs, int32_t &top, std::vector<TextLine> &lines);
  size_t BreakLine(std::vector<LineRun> &runs, size_t first, size_t index, int32_t fit);
  int32_t PlaceTabRun(std::vector<LineRun> &runs, size_t index, int32_t x, int32_t limit);
  TabPlace FindNextTabStop(const TextStyle &style, int32_t x) const;
  int32_t WidthToNextTab(const std::vector<LineRun> &runs, size_t index, bool upToPoint);
  void FinishLine(TextLine &line, int32_t left, int32_t limit, bool paragraphEnd);
  void Justify(TextLine &line, int32_t freeWidth);
  BlankSpread SpreadOverBlanks(const LineRun &run, bool lastOfLine) const;
  int32_t MeasureUpTo(LineRun &run, int32_t skip, int32_t maxExtent);
  void RespreadBlanks(LineRun &run, const BlankSpread &before, const BlankSpread &after, bool lastOfLine);
  void ApplyVerticalAlignment();
  void Relayout(int32_t fromChar, int32_t newEndChar, int32_t delta);
  void EnsureLayout();
  void Invalidate() { m_laidOut = false; }
  void ApplyTagEffects();
  TextStyle EffectiveDrawStyle(const TextStyle &style) const;
  size_t LineOfChar(int32_t charIndex) const;
  int32_t PositionInRun(const LineRun &run, int32_t x) const;

  RichTextMeasurer &m_measurer;
  int32_t m_dpi;
  std::vector<TextRun> m_runs;
  int32_t m_length = 0;
  std::vector<TextLine> m_lines;
  std::vector<std::unique_ptr<TextStyle>> m_baseStyles;
  std::vector<std::unique_ptr<TextStyle>> m_madeStyles;
  std::unordered_multimap<uint64_t, const TextStyle *> m_styleIndex;
  std::vector<TagEffectStyle> m_tagEffects;

  int32_t m_caret = 0;
  int32_t m_anchor = 0;
  int32_t m_selectionStart = 0;
  int32_t m_selectionEnd = 0;
  bool m_caretShown = false;
  bool m_hasSelection = false;

  int32_t m_frameWidth = 0;
  int32_t m_frameHeight = 0;
  int32_t m_scrollX = 0;
  int32_t m_scrollY = 0;
  int32_t m_verticalAlignment = 0;
  bool m_drawPartialLines = true;
  bool m_widenedBlanks = false;
  int32_t m_defaultTabWidth = 30;
  int32_t m_shadowX = 3;
  int32_t m_shadowY = 3;
  bool m_laidOut = false;
  bool m_incremental = true;
};
