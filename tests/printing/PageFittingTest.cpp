#include "printing/PageFitting.h"

#include <gtest/gtest.h>

namespace {

using PageFitting::Placement;
using PageFitting::PlaceOnSheet;

TEST(PageFittingTest, PlacesTheScaledPageOnTheSheet) {
  struct Case {
    const char *name;
    int32_t width, height, screenDpi, printerDpi, sheetWidth, sheetHeight;
    Placement expected;
  } cases[] = {
      // 6.25 times larger: 4000 x 3000, centred on an A4 sheet at 600 dpi.
      {"A4 at 600 dpi", 640, 480, 96, 600, 4960, 7016, {480, 2008, 4000, 3000}},
      // Too wide: fitted to the width, proportions kept.
      {"narrow sheet", 640, 480, 96, 600, 3000, 7016, {0, 2383, 3000, 2250}},
      // Then too high: fitted to the height.
      {"low sheet", 640, 480, 96, 600, 4960, 1500, {1480, 0, 2000, 1500}},
      // The printer's 300 dpi on the screen's 96.
      {"A4 at 300 dpi", 640, 480, 96, 300, 2479, 3508, {239, 1004, 2000, 1500}},
      // A finer screen than printer still enlarges (larger over smaller).
      {"fine screen", 100, 50, 200, 100, 1000, 1000, {400, 450, 200, 100}},
      // A device that reports no resolution leaves the size alone.
      {"no resolution", 640, 480, 0, 600, 4960, 7016, {2160, 3268, 640, 480}},
      {"empty sheet", 640, 480, 96, 600, 0, 0, {0, 0, 0, 0}},
  };
  for (const Case &c : cases) {
    const Placement placed = PlaceOnSheet(c.width, c.height, {c.screenDpi, c.screenDpi}, {c.printerDpi, c.printerDpi},
                                          c.sheetWidth, c.sheetHeight);
    EXPECT_EQ(placed.x, c.expected.x) << c.name;
    EXPECT_EQ(placed.y, c.expected.y) << c.name;
    EXPECT_EQ(placed.width, c.expected.width) << c.name;
    EXPECT_EQ(placed.height, c.expected.height) << c.name;
  }
}

TEST(PageFittingTest, CentredStartIsHalfTheRestNeverNegative) {
  EXPECT_EQ(PageFitting::CentredStart(1024, 200), 412);
  EXPECT_EQ(PageFitting::CentredStart(1024, 2000), 0);
}

} // namespace
