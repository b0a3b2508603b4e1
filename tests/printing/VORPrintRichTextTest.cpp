#include "printing/VORPrintRichText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/FakePrinter.h"
#include "support/FakeTextMeasurer.h"

namespace {

std::string NumberedLines(int count) {
  std::string text;
  for (int i = 1; i <= count; ++i)
    text += "Line " + std::to_string(i) + "\n";
  return text;
}

// Prints the document sheet after sheet into the rectangle; each sheet's
// drawn lines.
std::vector<std::vector<DrawnText>> PrintAll(VORPrintRichText &document, const VORRect &rect, int sheetLimit = 100) {
  std::vector<std::vector<DrawnText>> sheets;
  int32_t line = 0;
  bool more = true;
  while (more && static_cast<int>(sheets.size()) < sheetLimit) {
    RecordingTextCanvas canvas;
    more = document.PrintPage(line, rect, canvas);
    sheets.push_back(canvas.drawn);
  }
  return sheets;
}

TEST(VORPrintRichTextTest, ALongTextPrintsWholeLinesSheetAfterSheet) {
  FakeTextMeasurer measurer;
  // Twelve lines, three to a sheet: four sheets, no blank fifth for the
  // file's last newline.
  VORPrintRichText document(measurer, NumberedLines(12));
  const VORRect rect(20, 30, 220, 80); // 50 pixels: three 16-pixel lines
  const std::vector<std::vector<DrawnText>> sheets = PrintAll(document, rect);
  const int32_t lineHeight = document.GetLineHeight(0);
  ASSERT_GT(lineHeight, 0);
  const size_t perSheet = static_cast<size_t>(50 / lineHeight);
  ASSERT_EQ(sheets.size(), (12 + perSheet - 1) / perSheet);
  int next = 1;
  for (const std::vector<DrawnText> &sheet : sheets) {
    EXPECT_LE(sheet.size(), perSheet);
    for (const DrawnText &drawn : sheet) {
      EXPECT_EQ(drawn.text, "Line " + std::to_string(next++));
      // Whole: the line's top and bottom inside the sheet's rectangle.
      EXPECT_GE(drawn.y, rect.top);
      EXPECT_LE(drawn.y + lineHeight, rect.bottom);
    }
  }
  EXPECT_EQ(next, 13) << "every line once, none twice";
}

TEST(VORPrintRichTextTest, ALineTallerThanTheSheetStillMovesOn) {
  FakeTextMeasurer measurer;
  for (const int32_t height : {10, 0, -5}) {
    VORPrintRichText document(measurer, NumberedLines(3));
    const std::vector<std::vector<DrawnText>> sheets = PrintAll(document, VORRect(0, 100, 200, 100 + height));
    EXPECT_EQ(sheets.size(), 3u) << "height " << height;
  }
}

TEST(VORPrintRichTextTest, NextSheetStartsAfterTheLastLineThatEndsOnThisOne) {
  auto line = [](int32_t top, int32_t height) {
    TextLine made;
    made.top = top;
    made.ascent = height;
    return made;
  };
  // Lines of 10 at 0, 10, 20, 30 and one of 40 at 40.
  const std::vector<TextLine> lines = {line(0, 10), line(10, 10), line(20, 10), line(30, 10), line(40, 40)};
  struct Case {
    int32_t first, frameHeight, expected;
  } cases[] = {
      {0, 30, 3},  // the third line ends exactly at the sheet's bottom
      {0, 29, 2},  //
      {3, 45, 4},  // the tall line does not fit behind the fourth
      {4, 10, 5},  // nor on a sheet of its own: it goes anyway
      {0, 0, 1},   //
      {0, -1, 1},  //
      {5, 30, 5},  // past the end
      {-1, 30, 5}, //
  };
  for (const Case &c : cases)
    EXPECT_EQ(VORPrintRichText::NextPageFirstLine(lines, c.first, c.frameHeight), c.expected)
        << c.first << " " << c.frameHeight;
}

} // namespace
