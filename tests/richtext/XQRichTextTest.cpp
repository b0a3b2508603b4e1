#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "richtext/XQRichText.h"
#include "support/FakeTextMeasurer.h"

namespace {

class XQRichTextTest : public ::testing::Test {
protected:
  FakeTextMeasurer measurer;
  XQRichText text{measurer};

  std::vector<std::string> RunTexts() const {
    std::vector<std::string> texts;
    for (const TextRun &run : text.GetRuns())
      texts.push_back(run.text);
    return texts;
  }

  void Type(const std::string &typed) { text.InsertString(typed); }
};

TEST_F(XQRichTextTest, EmptyDocumentIsOneNewlineRun) {
  EXPECT_EQ(RunTexts(), std::vector<std::string>{"\n"});
  EXPECT_EQ(text.GetLength(), 0);
  EXPECT_EQ(text.GetLineCount(), 1);
  EXPECT_TRUE(text.SetCaret(0));
  EXPECT_FALSE(text.SetCaret(1));
  EXPECT_FALSE(text.SetCaret(-1));
  // The last position stands on the last character; an empty text has none.
  EXPECT_EQ(text.LastPosition(), 0);
}

TEST_F(XQRichTextTest, SelectionRoundsStartUpAndEndDown) {
  Type("abcdef");
  struct Case {
    int32_t anchor, to;
    bool selected;
    int32_t start, end;
  } cases[] = {
      {0, 4, true, 0, 3},  // the first two characters
      {1, 4, true, 2, 3},  // start rounded up to even
      {4, 0, true, 0, 3},  // backwards
      {2, 2, false, 0, 0}, // empty: a caret
      {3, 4, false, 0, 0}, // rounds to nothing
      {0, 99, true, 0, 11},
  };
  for (const Case &c : cases) {
    text.SetCaret(c.anchor);
    text.ExtendSelection(c.to);
    int32_t start = 0;
    int32_t end = 0;
    const bool selected = text.GetSelection(start, end);
    EXPECT_EQ(selected, c.selected) << c.anchor << "->" << c.to;
    if (selected) {
      EXPECT_EQ(start, c.start) << c.anchor << "->" << c.to;
      EXPECT_EQ(end, c.end) << c.anchor << "->" << c.to;
    }
  }
  EXPECT_EQ(text.LastPosition(), 10);
}

TEST_F(XQRichTextTest, InsertAtTheCaretMovesTheCaretBehindTheText) {
  Type("held");
  int32_t caret = -1;
  EXPECT_TRUE(text.GetCaret(caret));
  EXPECT_EQ(caret, 7); // on the last character
  text.SetCaret(2);
  Type("XY");
  EXPECT_EQ(text.GetText(), "hXYeld\n");
  text.GetCaret(caret);
  EXPECT_EQ(caret, 5);
  text.SetCaret(2 * text.GetLength());
  Type("!\n");
  text.GetCaret(caret);
  EXPECT_EQ(caret, 2 * text.GetLength()); // past the final newline
  EXPECT_EQ(RunTexts(), (std::vector<std::string>{"hXYeld!\n", "\n"}));
}

TEST_F(XQRichTextTest, InsertOverASelectionSelectsTheNewText) {
  Type("one two three");
  text.SetCaret(8);
  text.ExtendSelection(16); // "two "
  Type("2");
  EXPECT_EQ(text.GetText(), "one 2three\n");
  int32_t start = 0;
  int32_t end = 0;
  ASSERT_TRUE(text.GetSelection(start, end));
  EXPECT_EQ(start, 8);
  EXPECT_EQ(end, 9);
  std::string selected;
  text.GetSelectedText(selected);
  EXPECT_EQ(selected, "2");
}

TEST_F(XQRichTextTest, EmptyReplacementLeavesACaretAtTheSelectionStart) {
  Type("abcdef");
  text.SetCaret(2);
  text.ExtendSelection(8);
  text.InsertText("", 0);
  EXPECT_EQ(text.GetText(), "aef\n");
  int32_t caret = -1;
  EXPECT_TRUE(text.GetCaret(caret));
  EXPECT_EQ(caret, 2);
  text.SetCaret(0);
  text.DeleteNextChar();
  EXPECT_EQ(text.GetText(), "ef\n");
  text.SetCaret(4);
  text.DeleteNextChar(); // the closing newline stays
  EXPECT_EQ(text.GetText(), "ef\n");
}

TEST_F(XQRichTextTest, NormalisationSplitsMergesAndKeepsTheClosingNewlineAlone) {
  Type("ab\ncd\tef");
  EXPECT_EQ(RunTexts(), (std::vector<std::string>{"ab\n", "cd\tef", "\n"}));
  // A bold middle splits the run; making it plain again merges it back.
  TextStyle bold;
  bold.SetBold(true);
  text.SetCaret(6);
  text.ExtendSelection(7);
  text.ApplyStyleToSelection(bold);
  TextStyle plain;
  plain.SetBold(false);
  text.SelectAll();
  text.ApplyStyleToSelection(plain);
  EXPECT_EQ(RunTexts(), (std::vector<std::string>{"ab\n", "cd\tef", "\n"}));
  for (const TextRun &run : text.GetRuns())
    EXPECT_FALSE(run.style->GetBold());
}

TEST_F(XQRichTextTest, StyleAppliesToTheSelectionAndParagraphFieldsToWholeParagraphs) {
  Type("abcd\nefgh");
  TextStyle style;
  style.SetItalic(true);
  style.SetAlignment(TextStyle::kAlignCentre);
  text.SetCaret(2);
  text.ExtendSelection(4); // "b"
  text.ApplyStyleToSelection(style);
  // The first paragraph's runs all take the paragraph field.
  for (const TextRun &run : text.GetRuns()) {
    if (run.text == "efgh" || run.text == "\n")
      EXPECT_EQ(run.style->GetAlignment(), TextStyle::kAlignLeft) << run.text;
    else
      EXPECT_EQ(run.style->GetAlignment(), TextStyle::kAlignCentre) << run.text;
  }
  TextStyle selected;
  text.SetCaret(2);
  text.ExtendSelection(4);
  text.GetSelectionStyle(selected);
  bool present = false;
  EXPECT_TRUE(selected.GetItalic(&present));
  EXPECT_TRUE(present);
  // Over "ab" the runs differ in italic: the field is not common.
  text.SetCaret(0);
  text.ExtendSelection(4);
  text.GetSelectionStyle(selected);
  selected.GetItalic(&present);
  EXPECT_FALSE(present);
  selected.GetAlignment(&present);
  EXPECT_TRUE(present);
  EXPECT_EQ(selected.GetParent(), nullptr);
}

TEST_F(XQRichTextTest, ReplacedTextHandsItsParagraphFieldsOn) {
  Type("abc\ndef");
  TextStyle right;
  right.SetAlignment(TextStyle::kAlignRight);
  text.SetCaret(0);
  text.ApplyStyleToSelection(right);
  text.SetCaret(0);
  text.ExtendSelection(4); // "ab"
  Type("xy\nz");
  EXPECT_EQ(text.GetText(), "xy\nzc\ndef\n");
  EXPECT_EQ(text.GetRuns()[0].style->GetAlignment(), TextStyle::kAlignRight);
  EXPECT_EQ(text.GetRuns()[1].style->GetAlignment(), TextStyle::kAlignRight);
  EXPECT_EQ(text.GetRuns()[2].style->GetAlignment(), TextStyle::kAlignLeft);
}

TEST_F(XQRichTextTest, FindStyleAnswersOneEntryPerDistinctStyle) {
  const size_t before = text.GetStyleCount();
  TextStyle bold = TextStyle::MakeDefault();
  bold.SetName("");
  bold.SetBold(true);
  const TextStyle *first = text.FindStyle(bold);
  EXPECT_EQ(text.FindStyle(bold), first);
  EXPECT_EQ(text.GetStyleCount(), before + 1);
  TextStyle plain = TextStyle::MakeDefault();
  plain.SetName("");
  EXPECT_EQ(text.FindStyle(plain), text.GetRuns()[0].style); // the default itself
}

TEST_F(XQRichTextTest, TaggedTextIsFoundAfterTheCaret) {
  Type("see here and there");
  TextStyle link;
  link.AddTagId(42);
  text.SetCaret(8);
  text.ExtendSelection(16); // "here"
  text.ApplyStyleToSelection(link);
  text.SetCaret(26);
  text.ExtendSelection(36); // "there"
  text.ApplyStyleToSelection(link);
  text.SetCaret(0);
  ASSERT_TRUE(text.SelectTaggedText(42));
  std::string selected;
  text.GetSelectedText(selected);
  EXPECT_EQ(selected, "here");
  ASSERT_TRUE(text.SelectTaggedText(42));
  selected.clear();
  text.GetSelectedText(selected);
  EXPECT_EQ(selected, "there");
  EXPECT_FALSE(text.SelectTaggedText(42));
  EXPECT_FALSE(text.SelectTaggedText(7));
  TagIdList ids;
  text.CollectTagIds(ids);
  EXPECT_TRUE(ids.Contains(42));
}

TEST_F(XQRichTextTest, PositionStepsCrossNewlinesAndStopAtTheEnds) {
  Type("ab\ncd");
  int32_t position = 0;
  EXPECT_FALSE(text.PreviousPosition(position));
  ASSERT_TRUE(text.NextPosition(position));
  EXPECT_EQ(position, 2);
  position = 3; // on 'b'
  ASSERT_TRUE(text.NextPosition(position));
  EXPECT_EQ(position, 6); // over the newline to the next paragraph
  position = 10;
  EXPECT_FALSE(text.NextPosition(position));
}

TEST_F(XQRichTextTest, SavedSelectionIsRestoredWithinTheText) {
  Type("abcdef");
  text.SetCaret(2);
  text.ExtendSelection(8);
  const XQRichText::SavedSelection saved = text.SaveSelection();
  text.SelectAll();
  text.InsertText("ab", 2);
  text.RestoreSelection(saved);
  int32_t start = 0;
  int32_t end = 0;
  ASSERT_TRUE(text.GetSelection(start, end));
  EXPECT_EQ(start, 2);
  EXPECT_EQ(end, 3);
}

} // namespace
