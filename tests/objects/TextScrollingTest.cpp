#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/FakeTextMeasurer.h"

#include "objects/TextScrolling.h"
#include "richtext/XQRichText.h"

namespace {

using namespace TextScrolling;

// Lines of 16 pixels (12-point text on the fake measurer).
std::vector<TextLine> LinesOf(const std::string &rtf, int32_t width = 400) {
  static FakeTextMeasurer measurer;
  XQRichText text(measurer);
  text.LoadRtf(rtf);
  text.SetFrameSize(width, 100);
  text.Layout();
  return text.GetLines();
}

TEST(TextScrollingTest, TopLineAndLineSteps) {
  const std::vector<TextLine> lines = LinesOf("{\\rtf1 a\\par b\\par c\\par d}");
  ASSERT_EQ(lines.size(), 4u);
  const int32_t h = lines[1].top - lines[0].top;
  ASSERT_GT(h, 0);
  EXPECT_EQ(FindTopLine(lines, 0).index, 0);
  EXPECT_TRUE(FindTopLine(lines, h).exact);
  EXPECT_FALSE(FindTopLine(lines, h + 1).exact);
  EXPECT_EQ(LineUpTarget(lines, 0), kNoLine);
  EXPECT_EQ(LineUpTarget(lines, h), 0);
  EXPECT_EQ(LineUpTarget(lines, h + 1), 1); // back to the top of the line it is in
  EXPECT_EQ(LineDownTarget(lines, 0), 1);
  EXPECT_EQ(LineDownTarget(lines, 3 * h), kNoLine);
  EXPECT_EQ(PageDownTarget(lines, 0, 2 * h), 1);
  EXPECT_EQ(PageDownTarget(lines, 0, 3 * h), 2);
  EXPECT_EQ(PageUpTarget(lines, 3 * h, 3 * h), 1);
  EXPECT_EQ(PageUpTarget(lines, 0, 3 * h), kNoLine);
  EXPECT_EQ(ParagraphDownTarget(lines, 0), 1);
  EXPECT_EQ(ParagraphUpTarget(lines, 2 * h), 1);
}

TEST(TextScrollingTest, FractionsOfTextNoTallerThanItsObjectDoNotDivideByZero) {
  EXPECT_EQ(PositionFraction(0, 100, 100), 0.0);
  EXPECT_EQ(PositionFraction(10, 50, 100), 0.0);
  EXPECT_EQ(SizeFraction(100, 100), 1.0);
  EXPECT_EQ(SizeFraction(0, 0), 1.0);
  EXPECT_EQ(OffsetForFraction(0.5, 80, 100), 0);
  EXPECT_DOUBLE_EQ(PositionFraction(50, 300, 100), 0.25);
  EXPECT_DOUBLE_EQ(SizeFraction(400, 100), 0.25);
  EXPECT_EQ(OffsetForFraction(1.5, 300, 100), 200);
  EXPECT_EQ(OffsetForFraction(-0.2, 300, 100), 0);
}

TEST(TextScrollingTest, OffsetsAreClampedToTheText) {
  EXPECT_EQ(ClampOffset(-5, 300, 2, 104), 0);
  EXPECT_EQ(ClampOffset(500, 300, 2, 104), 200);
  EXPECT_EQ(ClampOffset(50, 80, 0, 100), 0);
}

TEST(TextScrollingTest, TwoEmptyParagraphsMakeThreePages) {
  const std::vector<TextLine> lines = LinesOf("{\\rtf1 one\\par\\par two\\par\\par three}");
  const Pages pages = ComputePages(lines);
  ASSERT_EQ(pages.tops.size(), 3u);
  EXPECT_EQ(pages.tops[0], lines[0].top);
  EXPECT_EQ(pages.heights[0], lines[1].top - lines[0].top);
  EXPECT_EQ(pages.tops[2], lines.back().top);
  EXPECT_EQ(pages.heights[2], lines.back().Bottom() - lines.back().top);
}

TEST(TextScrollingTest, LineEndsBecomeOneLineFeedEach) {
  EXPECT_EQ(NormalizeLineEnds("a\r\nb\n\rc\rd\ne"), "a\nb\nc\nd\ne");
  EXPECT_EQ(NormalizeLineEnds("a\r\n\r\nb"), "a\n\nb");
  EXPECT_EQ(NormalizeLineEnds(std::string("a\0b", 3)), std::string("a\0b", 3));
}

TEST(TextScrollingTest, OnlyALowerCaseRtfExtensionIsReadAsRtf) {
  EXPECT_EQ(KindOfTextFile("story.rtf"), ExternalTextKind::kRtf);
  EXPECT_EQ(KindOfTextFile("STORY.RTF"), ExternalTextKind::kPlain);
  EXPECT_EQ(KindOfTextFile("story.doc"), ExternalTextKind::kKeepOwnText);
  EXPECT_EQ(KindOfTextFile("story"), ExternalTextKind::kPlain);
  EXPECT_EQ(KindOfTextFile("a.rtf.txt"), ExternalTextKind::kPlain);
}

TEST(TextScrollingTest, AVariableFieldTooShortForItsBracketsNamesNothing) {
  std::string name;
  EXPECT_TRUE(VariableNameOfField("[SCORE]", name));
  EXPECT_EQ(name, "SCORE");
  EXPECT_TRUE(VariableNameOfField("[]", name));
  EXPECT_EQ(name, "");
  EXPECT_FALSE(VariableNameOfField("[", name));
  EXPECT_FALSE(VariableNameOfField("", name));
}

} // namespace
