#include "objects/BorderGeometry.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

using BorderGeometry::Border;

constexpr ColorRef kBlack = MakeColorRef(0, 0, 0);
constexpr ColorRef kWhite = MakeColorRef(255, 255, 255);
constexpr ColorRef kRed = MakeColorRef(255, 0, 0);
constexpr ColorRef kBlue = MakeColorRef(0, 0, 255);

Border MakeBorder(int32_t style, VORRect rect, int32_t width, int32_t radius = 0) {
  Border border;
  border.style = style;
  border.rect = rect;
  border.width = width;
  border.radius = radius;
  border.first = kRed;
  border.second = kBlue;
  return border;
}

} // namespace

// Failure messages show rectangles as numbers.
static void PrintTo(const VORRect &rect, std::ostream *out) {
  *out << "(" << rect.left << ", " << rect.top << ", " << rect.right << ", " << rect.bottom << ")";
}

namespace {

TEST(BorderGeometryTest, InnerRectangleOfEveryStyle) {
  const VORRect box(10, 20, 110, 80); // 100 x 60
  struct Case {
    const char *name;
    Border border;
    VORRect inner;
  };
  const Case cases[] = {
      {"no border keeps the rectangle", MakeBorder(0, box, 4, 10), box},
      {"picture keeps the rectangle", MakeBorder(5, box, 4, 10), box},
      {"square line: the width", MakeBorder(1, box, 3), VORRect(13, 23, 107, 77)},
      // radius 10: 10 - 7070 / 1000 = 3 more on every side
      {"rounded line", MakeBorder(1, box, 2, 10), VORRect(15, 25, 105, 75)},
      {"double line", MakeBorder(2, box, 5, 10), VORRect(18, 28, 102, 72)},
      {"graded rings", MakeBorder(3, box, 1, 1), VORRect(12, 22, 108, 78)}, // 1 - 707 / 1000 = 1 more
      // ellipse of width 0: a = 101 / 2 = 50 -> 15, d = 61 / 2 = 30 -> 9
      {"ellipse", MakeBorder(4, box, 0), VORRect(25, 29, 95, 71)},
      // width 4 leaves 92 x 52: a = 46 -> 14, d = 26 -> 8
      {"ellipse with a line", MakeBorder(4, box, 4), VORRect(28, 32, 92, 68)},
      {"bevel: the width only", MakeBorder(100, box, 3, 10), VORRect(13, 23, 107, 77)},
      {"inverted bevel", MakeBorder(101, box, 2, 10), VORRect(12, 22, 108, 78)},
      {"unknown style: the width, no corner", MakeBorder(42, box, 2, 10), VORRect(12, 22, 108, 78)},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(BorderGeometry::InnerRect(c.border), c.inner) << c.name;
  }
}

TEST(BorderGeometryTest, StoredLengthsAndOpacityAreKeptInRange) {
  EXPECT_EQ(BorderGeometry::LengthOf(-5), 0);
  EXPECT_EQ(BorderGeometry::LengthOf(-32768), 0);
  EXPECT_EQ(BorderGeometry::LengthOf(7), 7);
  EXPECT_EQ(BorderGeometry::LengthOf(32767), 32767);
  EXPECT_EQ(BorderGeometry::OpacityOf(0), 0);
  EXPECT_EQ(BorderGeometry::OpacityOf(128), 128);
  EXPECT_EQ(BorderGeometry::OpacityOf(256), 256);
  EXPECT_EQ(BorderGeometry::OpacityOf(300), 256);
  EXPECT_EQ(BorderGeometry::OpacityOf(65535), 256);
}

TEST(BorderGeometryTest, DoubleLineWidths) {
  const struct {
    int32_t width, outer, middle;
  } cases[] = {{0, 0, 0}, {1, 0, 1}, {2, 0, 2}, {3, 1, 1}, {5, 1, 3}, {9, 3, 3}, {10, 3, 4}};
  for (const auto &c : cases) {
    const BorderGeometry::DoubleWidths widths = BorderGeometry::DoubleLineWidths(c.width);
    EXPECT_EQ(widths.outer, c.outer) << c.width;
    EXPECT_EQ(widths.middle, c.middle) << c.width;
  }
}

TEST(BorderGeometryTest, DoubleLineOutlinesShrinkTheirRectangleAndRadius) {
  // Width 5: lines of 1, 3 and 1; the radius 2 shrinks to 1, then to 0.
  const auto outlines = BorderGeometry::Outlines(MakeBorder(2, VORRect(0, 0, 40, 30), 5, 2));
  ASSERT_EQ(outlines.size(), 3u);
  EXPECT_EQ(outlines[0].rect, VORRect(0, 0, 40, 30));
  EXPECT_EQ(outlines[1].rect, VORRect(1, 1, 39, 29));
  EXPECT_EQ(outlines[2].rect, VORRect(4, 4, 36, 26));
  const int32_t widths[] = {1, 3, 1}, radii[] = {2, 1, 0};
  const ColorRef colours[] = {kRed, kBlue, kRed};
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(outlines[i].penWidth, widths[i]) << i;
    EXPECT_EQ(outlines[i].radius, radii[i]) << i;
    EXPECT_EQ(outlines[i].colour, colours[i]) << i;
    EXPECT_FALSE(outlines[i].ellipse) << i;
  }
}

TEST(BorderGeometryTest, RingColours) {
  // Width 3 from black to white: black, then 255 x 1000 / 2000 = 127.
  EXPECT_EQ(BorderGeometry::RingColour(kBlack, kWhite, 3, 0), kBlack);
  EXPECT_EQ(BorderGeometry::RingColour(kBlack, kWhite, 3, 1), MakeColorRef(127, 127, 127));
  // (1 x 1000 x 0 + 255 x 3000) / 4000 = 191 on the red channel, 63 on blue
  EXPECT_EQ(BorderGeometry::RingColour(kRed, kBlue, 5, 1), MakeColorRef(191, 0, 63));
  // The widest border stays within 64-bit arithmetic: 32765 x 1000 x 255 / 32766000.
  EXPECT_EQ(BorderGeometry::RingColour(kBlack, kWhite, 32767, 32765), MakeColorRef(254, 254, 254));
}

TEST(BorderGeometryTest, GradedRingsAreWidthLessOneOfPenWidthTwo) {
  EXPECT_TRUE(BorderGeometry::Outlines(MakeBorder(3, VORRect(0, 0, 20, 20), 1)).empty());
  EXPECT_TRUE(BorderGeometry::Outlines(MakeBorder(3, VORRect(0, 0, 20, 20), 0)).empty());
  Border border = MakeBorder(3, VORRect(0, 0, 20, 20), 4, 2);
  border.first = kBlack;
  border.second = kWhite;
  const auto rings = BorderGeometry::Outlines(border);
  ASSERT_EQ(rings.size(), 3u);
  for (int32_t k = 0; k < 3; ++k) {
    EXPECT_EQ(rings[k].rect, VORRect(k, k, 20 - k, 20 - k)) << k;
    EXPECT_EQ(rings[k].radius, 2 - k) << k;
    EXPECT_EQ(rings[k].penWidth, 2) << k;
    EXPECT_EQ(rings[k].colour, BorderGeometry::RingColour(kBlack, kWhite, 4, k)) << k;
  }
}

TEST(BorderGeometryTest, LineAndEllipseAreOneOutlineOfTheBorderWidth) {
  const auto line = BorderGeometry::Outlines(MakeBorder(1, VORRect(5, 5, 50, 40), 3, 6));
  ASSERT_EQ(line.size(), 1u);
  EXPECT_EQ(line[0].rect, VORRect(5, 5, 50, 40));
  EXPECT_EQ(line[0].penWidth, 3);
  EXPECT_EQ(line[0].radius, 6);
  EXPECT_EQ(line[0].colour, kRed);
  const auto ellipse = BorderGeometry::Outlines(MakeBorder(4, VORRect(5, 5, 50, 40), 0, 6));
  ASSERT_EQ(ellipse.size(), 1u);
  EXPECT_TRUE(ellipse[0].ellipse);
  EXPECT_EQ(ellipse[0].penWidth, 0);
  for (int32_t style : {0, 5, 100, 101, 42}) {
    EXPECT_TRUE(BorderGeometry::Outlines(MakeBorder(style, VORRect(5, 5, 50, 40), 3, 6)).empty()) << style;
  }
}

TEST(BorderGeometryTest, WhichShapesAreCutOutOfTheMask) {
  const struct {
    int32_t style, radius;
    bool cuts;
  } cases[] = {{0, 5, false}, {1, 0, false}, {1, 5, true}, {2, 0, false},   {2, 5, true},    {3, 0, false},
               {3, 5, true},  {4, 0, true},  {5, 0, true}, {100, 5, false}, {101, 5, false}, {42, 5, false}};
  for (const auto &c : cases) {
    EXPECT_EQ(BorderGeometry::CutsMask(MakeBorder(c.style, VORRect(0, 0, 10, 10), 1, c.radius)), c.cuts)
        << c.style << " radius " << c.radius;
  }
}

TEST(BorderGeometryTest, MaskSizeIsTheRectangleAndNothingWithoutArea) {
  int32_t width = -1, height = -1;
  ASSERT_TRUE(BorderGeometry::MaskSize(VORRect(10, 20, 13, 24), width, height));
  EXPECT_EQ(width, 3);
  EXPECT_EQ(height, 4);
  for (const VORRect &rect : {VORRect(10, 10, 10, 20), VORRect(10, 10, 20, 10), VORRect(10, 10, 5, 20),
                              VORRect(-2000000000, 0, 2000000000, 10)}) {
    EXPECT_FALSE(BorderGeometry::MaskSize(rect, width, height));
  }
}

TEST(BorderGeometryTest, BevelLinesOfEachRing) {
  // 4 x 3 at the origin: corners 0, 0, 3, 2 inclusive; the second ring 1, 1, 2, 1.
  const auto lines = BorderGeometry::BevelLines(MakeBorder(100, VORRect(0, 0, 4, 3), 2));
  const BorderGeometry::BevelLine expected[] = {
      {0, 0, 0, 2, kRed}, {0, 0, 3, 0, kRed}, {3, 0, 3, 2, kBlue}, {0, 2, 4, 2, kBlue},
      {1, 1, 1, 1, kRed}, {1, 1, 2, 1, kRed}, {2, 1, 2, 1, kBlue}, {1, 1, 3, 1, kBlue},
  };
  ASSERT_EQ(lines.size(), 8u);
  for (size_t i = 0; i < 8; ++i) {
    EXPECT_EQ(lines[i].x1, expected[i].x1) << i;
    EXPECT_EQ(lines[i].y1, expected[i].y1) << i;
    EXPECT_EQ(lines[i].x2, expected[i].x2) << i;
    EXPECT_EQ(lines[i].y2, expected[i].y2) << i;
    EXPECT_EQ(lines[i].colour, expected[i].colour) << i;
  }
  // The inverted bevel swaps the colours.
  const auto inverted = BorderGeometry::BevelLines(MakeBorder(101, VORRect(0, 0, 4, 3), 1));
  ASSERT_EQ(inverted.size(), 4u);
  EXPECT_EQ(inverted[0].colour, kBlue);
  EXPECT_EQ(inverted[3].colour, kRed);
}

TEST(BorderGeometryTest, BevelRingsStopWhereNoPixelIsLeft) {
  EXPECT_EQ(BorderGeometry::BevelLines(MakeBorder(100, VORRect(0, 0, 4, 3), 10)).size(), 8u);
  EXPECT_EQ(BorderGeometry::BevelStrips(MakeBorder(101, VORRect(0, 0, 4, 3), 10)).size(), 8u);
  EXPECT_TRUE(BorderGeometry::BevelLines(MakeBorder(100, VORRect(0, 0, 0, 3), 3)).empty());
  EXPECT_TRUE(BorderGeometry::BevelLines(MakeBorder(100, VORRect(0, 0, 4, 3), 0)).empty());
  EXPECT_TRUE(BorderGeometry::BevelLines(MakeBorder(1, VORRect(0, 0, 4, 3), 2)).empty());
}

TEST(BorderGeometryTest, TranslucentBevelStripsOfTwoRings) {
  const auto strips = BorderGeometry::BevelStrips(MakeBorder(101, VORRect(10, 10, 20, 16), 2));
  const BorderGeometry::BevelStrip expected[] = {
      // ring 0: corners 10, 10, 19, 15
      {VORRect(10, 10, 11, 16), kBlue},
      {VORRect(11, 10, 20, 11), kBlue},
      {VORRect(19, 10, 20, 16), kRed},
      {VORRect(10, 15, 20, 16), kRed},
      // ring 1: corners 11, 11, 18, 14
      {VORRect(11, 11, 12, 15), kBlue},
      {VORRect(12, 11, 19, 12), kBlue},
      {VORRect(18, 11, 19, 15), kRed},
      {VORRect(11, 14, 19, 15), kRed},
  };
  ASSERT_EQ(strips.size(), 8u);
  for (size_t i = 0; i < 8; ++i) {
    EXPECT_EQ(strips[i].rect, expected[i].rect) << i;
    EXPECT_EQ(strips[i].colour, expected[i].colour) << i;
  }
}

} // namespace
