#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "richtext/XQRichText.h"
#include "support/FakeTextMeasurer.h"

// The fake metrics at 12 points: lines 16 pixels high (ascent 12, descent
// 4), characters 8 pixels wide ('i' and '.' 4).
namespace {

constexpr int32_t kLineHeight = 16;
constexpr int32_t kCharWidth = 8;

class RichTextLayoutTest : public ::testing::Test {
protected:
  FakeTextMeasurer measurer;
  XQRichText text{measurer};

  void SetUp() override { text.SetFrameSize(400, 300); }

  void ApplyToAll(const TextStyle &style) {
    text.SelectAll();
    text.ApplyStyleToSelection(style);
  }

  const TextLine &Line(size_t index) { return text.GetLines().at(index); }

  std::vector<std::string> LineTexts() {
    std::vector<std::string> texts;
    for (const TextLine &line : text.GetLines()) {
      std::string joined;
      for (const LineRun &run : line.runs)
        joined += run.text;
      texts.push_back(joined);
    }
    return texts;
  }
};

TEST_F(RichTextLayoutTest, LineSpacingSetsTheAdvance) {
  const struct {
    int32_t spacing;
    int32_t secondTop;
  } cases[] = {{1024, kLineHeight}, {2048, 2 * kLineHeight}, {0, 0}, {-20, 20}, {-5, 5}};
  text.InsertString("a\nb");
  for (const auto &c : cases) {
    TextStyle style;
    style.SetSpacing(c.spacing);
    ApplyToAll(style);
    ASSERT_EQ(text.GetLineCount(), 2) << c.spacing;
    EXPECT_EQ(Line(0).top, 0) << c.spacing;
    EXPECT_EQ(Line(1).top, c.secondTop) << c.spacing;
  }
}

TEST_F(RichTextLayoutTest, TabStopsOfEveryKind) {
  const struct {
    const char *name;
    std::vector<TabStop> stops;
    const char *typed;
    int32_t x; // of the run after the tab
  } cases[] = {
      {"default width: next multiple of 30 beyond x", {}, "ab\tc", 30},
      {"default at a multiple: strictly beyond", {}, "abc\tx", 30},
      {"left", {{kTabLeft, 100}}, "ab\tc", 100},
      {"right: the text ends on the stop", {{kTabRight, 200}}, "ab\tcd", 184},
      {"centre: the text centred on the stop", {{kTabCentre, 200}}, "ab\tcd", 192},
      {"decimal: the point's right edge on the stop", {{kTabDecimal, 200}}, "ab\t12.50", 180},
      {"a stop beyond the line: left at x", {{kTabLeft, 500}}, "ab\tc", 16},
      {"no stop beyond x: left at x", {{kTabLeft, 10}}, "ab\tc", 16},
      {"right stop with too little room: at x", {{kTabRight, 20}}, "ab\tcd", 16},
  };
  for (const auto &c : cases) {
    text.SelectAll();
    text.InsertString(c.typed);
    TextStyle style;
    TabStopList tabs;
    for (const TabStop &stop : c.stops)
      tabs.Add(stop);
    style.SetTabs(tabs);
    ApplyToAll(style);
    const TextLine &line = Line(0);
    ASSERT_GE(line.runs.size(), 2u) << c.name;
    EXPECT_TRUE(line.runs[1].StartsWithTab()) << c.name;
    EXPECT_EQ(line.runs[1].x, c.x) << c.name;
  }
}

TEST_F(RichTextLayoutTest, CentredParagraphTurnsATabIntoABlank) {
  text.InsertString("a\tb");
  TextStyle centre;
  centre.SetAlignment(TextStyle::kAlignCentre);
  ApplyToAll(centre);
  ASSERT_EQ(LineTexts().at(0), "a b\n");
  // Three characters, centred in 400.
  EXPECT_EQ(Line(0).runs[0].x, (400 - 3 * kCharWidth) / 2);
}

TEST_F(RichTextLayoutTest, LinesBreakAtBlanksElseAfterTheLastCharacterThatFits) {
  text.SetFrameSize(60, 300); // seven characters and a half
  text.InsertString("aaa bbb ccc\nabcdefghijkl");
  EXPECT_EQ(LineTexts(), (std::vector<std::string>{"aaa bbb ", "ccc\n", "abcdefg", "hijkl\n"}));
}

TEST_F(RichTextLayoutTest, BreakFallsBackToABlankInAnEarlierRun) {
  text.SetFrameSize(60, 300);
  text.InsertString("aa bbbbbb"); // the bold b's are 9 pixels wide
  TextStyle bold;
  bold.SetBold(true);
  text.SetCaret(6);
  text.ExtendSelection(20);
  text.ApplyStyleToSelection(bold);
  EXPECT_EQ(LineTexts(), (std::vector<std::string>{"aa ", "bbbbbb\n"}));
}

// A line that could hold nothing still takes a character, so layout ends.
TEST_F(RichTextLayoutTest, EveryLineTakesAtLeastOneCharacter) {
  for (int32_t width : {0, 5, -40}) {
    text.SelectAll();
    text.InsertString("ab\tc");
    text.SetFrameSize(width, 100);
    const std::vector<std::string> lines = LineTexts();
    EXPECT_EQ(lines.size(), 4u) << width;
  }
  TextStyle indented;
  indented.SetLeftIndent(1000);
  indented.SetFirstIndent(1000);
  text.SetFrameSize(100, 100);
  ApplyToAll(indented);
  EXPECT_EQ(text.GetLineCount(), 4);
}

TEST_F(RichTextLayoutTest, JustificationFillsTheLineExactly) {
  text.SetFrameSize(100, 300);
  text.InsertString("aa bb cc dd ee ff");
  TextStyle justified;
  justified.SetAlignment(TextStyle::kAlignJustified);
  ApplyToAll(justified);
  // A bold run in the middle gets its share too.
  TextStyle bold;
  bold.SetBold(true);
  text.SetCaret(6);
  text.ExtendSelection(11);
  text.ApplyStyleToSelection(bold);
  const TextLine &first = Line(0);
  const LineRun &last = first.runs.back();
  EXPECT_EQ(last.x + last.width, 100);
  int32_t extra = 0;
  for (const LineRun &run : first.runs)
    extra += run.justifyExtra;
  EXPECT_GT(extra, 0);
  // The paragraph's last line stays left.
  const TextLine &closing = text.GetLines().back();
  EXPECT_EQ(closing.runs.front().x, 0);
  EXPECT_EQ(closing.runs.front().justifyExtra, 0);
}

TEST_F(RichTextLayoutTest, JustifiedLineWithoutBlanksStaysLeft) {
  text.SetFrameSize(40, 300);
  text.InsertString("abcdefghijklmnop");
  TextStyle justified;
  justified.SetAlignment(TextStyle::kAlignJustified);
  ApplyToAll(justified);
  ASSERT_EQ(text.GetLineCount(), 4);
  EXPECT_EQ(Line(0).runs[0].x, 0);
  EXPECT_EQ(Line(0).runs[0].width, 40);
}

TEST_F(RichTextLayoutTest, RightAlignmentAndIndents) {
  text.InsertString("abcd");
  TextStyle style;
  style.SetAlignment(TextStyle::kAlignRight);
  style.SetRightIndent(20);
  ApplyToAll(style);
  EXPECT_EQ(Line(0).runs[0].x, 400 - 20 - 4 * kCharWidth);

  text.SetFrameSize(60, 300);
  TextStyle indents;
  indents.SetAlignment(TextStyle::kAlignLeft);
  indents.SetRightIndent(0);
  indents.SetFirstIndent(4);
  indents.SetLeftIndent(12);
  ApplyToAll(indents);
  text.SelectAll();
  text.InsertString("aaaa bbbb");
  EXPECT_EQ(Line(0).runs[0].x, 4); // replaces the left indent on the first line
  EXPECT_EQ(Line(1).runs[0].x, 12);
}

TEST_F(RichTextLayoutTest, VerticalAlignmentMovesTheLines) {
  text.InsertString("a\nb");
  text.SetFrameSize(400, 100);
  const struct {
    int32_t alignment;
    int32_t first, second;
  } cases[] = {{0, 0, 16}, {1, 68, 84}, {2, 34, 50}, {3, 0, 84}};
  for (const auto &c : cases) {
    text.SetVerticalAlignment(c.alignment);
    EXPECT_EQ(Line(0).top, c.first) << c.alignment;
    EXPECT_EQ(Line(1).top, c.second) << c.alignment;
    EXPECT_EQ(Line(1).runs[0].top, c.second) << c.alignment;
  }
  text.SelectAll();
  text.InsertString("one line");
  text.SetVerticalAlignment(3);
  EXPECT_EQ(Line(0).top, 0);
}

TEST_F(RichTextLayoutTest, SubscriptIsMeasuredSmallerAndSetLower) {
  text.InsertString("aXb");
  TextStyle sub;
  sub.SetSubscript(true);
  text.SetCaret(2);
  text.ExtendSelection(4);
  text.ApplyStyleToSelection(sub);
  const TextLine &line = Line(0);
  ASSERT_EQ(line.runs.size(), 4u); // the closing newline stands alone
  // 12 x 6 / 10 = 7 points: 9 pixels at 96 dpi.
  EXPECT_EQ(line.runs[1].font->GetKey().height, -9);
  EXPECT_EQ(line.runs[1].height, 9);
  // Down by 30% of 9: ascent 7 - 2, descent 2 + 2.
  EXPECT_EQ(line.runs[1].ascent, 5);
  EXPECT_EQ(line.runs[1].top, 12 - 5);
  EXPECT_EQ(line.ascent, 12);
  EXPECT_EQ(line.descent, 4);

  TextStyle super;
  super.SetSubscript(false);
  super.SetSuperscript(true);
  text.ApplyStyleToSelection(super);
  // Up by 70% of 9: ascent 7 + 6 is above the line's own 12.
  EXPECT_EQ(Line(0).ascent, 13);
  EXPECT_EQ(Line(0).runs[0].top, 1);
}

TEST_F(RichTextLayoutTest, FontKeysCutLongFacesAndAskMarlettForAnyCharset) {
  const RichTextFontKey longFace = MakeFontKey(std::string(40, 'F'), 12, false, false, false, false, 96);
  EXPECT_EQ(std::string(longFace.face), std::string(31, 'F'));
  EXPECT_EQ(longFace.height, -16);
  EXPECT_EQ(MakeFontKey("Marlett", 12, false, false, false, false, 96).charSet, RichTextFontKey::kDefaultCharset);
  EXPECT_EQ(MakeFontKey("Arial", 12, true, false, false, false, 96).charSet, RichTextFontKey::kAnsiCharset);
  EXPECT_EQ(MakeFontKey("Arial", 12, true, false, false, false, 96).weight, 700);
}

TEST_F(RichTextLayoutTest, HitTestTakesTheHalfWayPoint) {
  text.InsertString("abc\nde");
  const struct {
    int32_t x, y, position;
  } cases[] = {
      {0, 0, 0},  {3, 0, 0},     {4, 0, 2},    {11, 5, 2}, {12, 5, 4}, {30, 5, 5}, // beyond: on the last character
      {3, 20, 8}, {100, 20, 12}, {5, 500, 10}, // past the last line's text: the text's end; below: the last line
  };
  for (const auto &c : cases)
    EXPECT_EQ(text.PositionFromPoint(c.x, c.y), c.position) << c.x << "," << c.y;
  bool inside = false;
  text.HitTest(30, 5, inside, nullptr);
  EXPECT_FALSE(inside);
  text.HitTest(10, 5, inside, nullptr);
  EXPECT_TRUE(inside);
  VORRect rect;
  ASSERT_TRUE(text.GetPositionRect(rect, 3));
  EXPECT_EQ(rect.left, 8);
  EXPECT_EQ(rect.right, 16);
  EXPECT_EQ(rect.top, 0);
  EXPECT_EQ(rect.bottom, 16);
  int32_t position = 3;
  ASSERT_TRUE(text.PositionLineDown(position));
  EXPECT_EQ(position, 10);
  EXPECT_FALSE(text.PositionLineDown(position));
}

// Incremental relayout after each edit gives the lines a full layout gives.
TEST_F(RichTextLayoutTest, IncrementalLayoutEqualsFullLayoutAfterRandomEdits) {
  std::mt19937 random(20240601);
  text.SetFrameSize(120, 300);
  text.InsertString("first para graph here\n\tsecond one with a tab\nthird\n\nfifth and last words");
  const char *pieces[] = {"x", " ", "\n", "word ", "\t", "long-word-without-blanks", "a\nb"};
  for (int step = 0; step < 300; ++step) {
    text.GetLines(); // laid out, so the edit goes through the incremental path
    const int32_t length = text.GetLength();
    const int32_t at = static_cast<int32_t>(random() % static_cast<uint32_t>(length + 1));
    switch (random() % 4) {
    case 0:
    case 1:
      text.SetCaret(2 * at);
      text.InsertString(pieces[random() % std::size(pieces)]);
      break;
    case 2:
      if (length > 0) {
        text.SetCaret(2 * std::min(at, length - 1));
        text.DeleteNextChar();
      }
      break;
    default: {
      TextStyle style;
      style.SetBold(random() % 2 == 0);
      style.SetSize(10 + static_cast<int32_t>(random() % 8));
      style.SetAlignment(static_cast<int32_t>(random() % 4));
      text.SetCaret(2 * at);
      text.ExtendSelection(2 * at + static_cast<int32_t>(random() % 12));
      text.ApplyStyleToSelection(style);
      break;
    }
    }
    const std::vector<TextLine> incremental = text.GetLines();
    text.SetFrameSize(121, 300);
    text.SetFrameSize(120, 300);
    const std::vector<TextLine> &full = text.GetLines();
    ASSERT_EQ(incremental.size(), full.size()) << "step " << step;
    for (size_t i = 0; i < full.size(); ++i) {
      ASSERT_EQ(incremental[i].top, full[i].top) << "step " << step << " line " << i;
      ASSERT_EQ(incremental[i].charStart, full[i].charStart) << "step " << step << " line " << i;
      ASSERT_EQ(incremental[i].runs.size(), full[i].runs.size()) << "step " << step << " line " << i;
      for (size_t k = 0; k < full[i].runs.size(); ++k) {
        const LineRun &a = incremental[i].runs[k];
        const LineRun &b = full[i].runs[k];
        ASSERT_EQ(a.text, b.text) << "step " << step << " line " << i;
        ASSERT_EQ(a.x, b.x) << "step " << step << " line " << i;
        ASSERT_EQ(a.top, b.top) << "step " << step << " line " << i;
        ASSERT_EQ(a.width, b.width) << "step " << step << " line " << i;
        ASSERT_EQ(a.charStart, b.charStart) << "step " << step << " line " << i;
      }
    }
  }
}

// Records what drawing asks of the device.
class RecordingCanvas : public RichTextCanvas {
public:
  std::vector<std::string> calls;
  void SetClip(const VORRect &) override {}
  void FillRect(const VORRect &rect, RichColor colour) override {
    calls.push_back("fill " + std::to_string(rect.left) + " " + std::to_string(colour));
  }
  void DrawText(const RichTextFont &, int32_t x, int32_t y, const char *text, int32_t length, RichColor colour, int32_t,
                int32_t) override {
    calls.push_back("text " + std::to_string(x) + "," + std::to_string(y) + " " + std::string(text, length) + " " +
                    std::to_string(colour));
  }
  void FillEllipse(const VORRect &rect, RichColor) override { calls.push_back("bullet " + std::to_string(rect.left)); }
  void Invert(const VORRect &rect) override {
    calls.push_back("invert " + std::to_string(rect.left) + "-" + std::to_string(rect.right));
  }
};

TEST_F(RichTextLayoutTest, DrawPaintsBackgroundsThenShadowsThenTextAndSelection) {
  text.InsertString("ab\tc");
  TextStyle style;
  style.SetBackgroundColor(0x00FF00, true);
  style.SetShadowColor(0x0000FF, true);
  style.SetTextColor(0x123456);
  ApplyToAll(style);
  text.SetCaret(0);
  text.ExtendSelection(3); // "ab"
  text.SetScrollOffset(0, 0);
  RecordingCanvas canvas;
  text.Draw(canvas, VORRect(10, 20, 410, 320));
  const std::vector<std::string> expected = {
      "fill 10 65280",         "fill 40 65280",    // the closing newline keeps the default style
      "text 13,23 ab 255",     "text 43,23 c 255", // shadows 3 pixels off
      "text 10,20 ab 1193046", "invert 10-26",     "text 40,20 c 1193046",
  };
  EXPECT_EQ(canvas.calls, expected);
}

TEST_F(RichTextLayoutTest, BulletWidensTheMarginAndDrawsADot) {
  text.InsertString("item");
  TextStyle bullet;
  bullet.SetBullet(true);
  ApplyToAll(bullet);
  text.SetCaret(0);
  EXPECT_EQ(Line(0).runs[0].x, kLineHeight);
  RecordingCanvas canvas;
  text.Draw(canvas, VORRect(0, 0, 400, 300));
  ASSERT_FALSE(canvas.calls.empty());
  EXPECT_EQ(canvas.calls.back(), "bullet 5"); // a third of 16 in from the square's left
}

// Widened blanks: each blank takes one more blank's width (8 pixels here).
TEST_F(RichTextLayoutTest, WidenedBlanksBreakLinesSoonerAndDrawWider) {
  const struct {
    bool widened;
    std::vector<std::string> lines;
    int32_t firstBlankEdge; // right edge of the blank after "aa"
    int32_t rightTabX;      // of "c d" ending on a right stop at 200
    int32_t drawnExtra;     // spread over the first line's blanks when drawn
  } cases[] = {
      {false, {"aa bb cc ", "dd ee ff\n"}, 3 * kCharWidth, 200 - 3 * kCharWidth, 0},
      {true, {"aa bb ", "cc dd ", "ee ff\n"}, 4 * kCharWidth, 200 - 4 * kCharWidth, 1 * kCharWidth},
  };
  // Draws nothing; keeps what the first text drawn spreads over its blanks.
  class ExtraCanvas : public RichTextCanvas {
  public:
    int32_t extra = -1;
    int32_t breaks = -1;
    void SetClip(const VORRect &) override {}
    void FillRect(const VORRect &, RichColor) override {}
    void DrawText(const RichTextFont &, int32_t, int32_t, const char *, int32_t, RichColor, int32_t e,
                  int32_t b) override {
      if (extra < 0) {
        extra = e;
        breaks = b;
      }
    }
    void FillEllipse(const VORRect &, RichColor) override {}
    void Invert(const VORRect &) override {}
  };
  for (const auto &c : cases) {
    text.SetWidenedBlanks(c.widened);
    text.SetFrameSize(70, 300);
    text.SelectAll();
    text.InsertString("aa bb cc dd ee ff");
    text.ClearSelection();
    EXPECT_EQ(LineTexts(), c.lines) << c.widened;
    EXPECT_EQ(Line(0).runs[0].edges.at(2), c.firstBlankEdge) << c.widened;
    ExtraCanvas canvas;
    text.Draw(canvas, VORRect(0, 0, 70, 300));
    // The trailing blank of a line is not widened: it is not drawn.
    EXPECT_EQ(canvas.extra, c.drawnExtra) << c.widened;

    text.SetFrameSize(400, 300);
    text.SelectAll();
    text.InsertString("ab\tc d");
    TextStyle style;
    TabStopList tabs;
    tabs.Add(TabStop{kTabRight, 200});
    style.SetTabs(tabs);
    ApplyToAll(style);
    ASSERT_GE(Line(0).runs.size(), 2u);
    EXPECT_EQ(Line(0).runs[1].x, c.rightTabX) << c.widened;
  }
}

TEST_F(RichTextLayoutTest, WidenedBlanksStillJustifyToTheFrame) {
  text.SetWidenedBlanks(true);
  text.SetFrameSize(100, 300);
  text.InsertString("aa bb cc dd ee ff");
  TextStyle justified;
  justified.SetAlignment(TextStyle::kAlignJustified);
  ApplyToAll(justified);
  ASSERT_GE(text.GetLineCount(), 2);
  const LineRun &last = Line(0).runs.back();
  EXPECT_EQ(last.x + last.width, 100);
  // The paragraph's last line keeps its widened blanks only.
  const LineRun &closing = text.GetLines().back().runs.front();
  EXPECT_EQ(closing.justifyExtra, 0);
  EXPECT_EQ(closing.edges.at(2), 4 * kCharWidth);
}

} // namespace
