#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "objects/ScrollbarGeometry.h"

namespace {

using namespace ScrollbarGeometry;

TEST(ScrollbarGeometryTest, FractionsAreKeptWithinZeroAndOne) {
  EXPECT_EQ(ClampFraction(1.5, 0.1), 1.0);
  EXPECT_EQ(ClampFraction(-0.2, 0.1), 0.0);
  EXPECT_EQ(ClampFraction(0.25, 0.1), 0.25);
  EXPECT_EQ(ClampFraction(std::numeric_limits<double>::quiet_NaN(), 0.1), 0.1);
  EXPECT_EQ(ClampFraction(std::numeric_limits<double>::infinity(), 0.1), 1.0);
  EXPECT_EQ(ClampFraction(-std::numeric_limits<double>::infinity(), 0.1), 0.0);
}

TEST(ScrollbarGeometryTest, ButtonsShareHalfTheHeightWhenTheWidthDoesNotFit) {
  struct Case {
    int32_t width, height, buttons, expected;
  };
  const Case cases[] = {
      {20, 200, 2, 20},                   // square buttons fit
      {20, 60, 2, 15},                    // half the height shared
      {20, 60, 1, 20},                    // one button: 30 is not below 20
      {20, 30, 1, 15},  {20, 200, 0, 20}, // no buttons: nothing shares, no division
      {20, -4, 0, 20},                    // a degenerate frame without buttons
      {20, -4, 2, -1},                    // a degenerate frame: negative, no failure
      {0, 0, 2, 0},
  };
  for (const Case &c : cases)
    EXPECT_EQ(ButtonHeight(c.width, c.height, c.buttons), c.expected)
        << c.width << " x " << c.height << ", " << c.buttons << " buttons";
}

TEST(ScrollbarGeometryTest, APictureWithoutHeightGivesTheFallback) {
  EXPECT_EQ(AspectHeight(20, 40, 20, 7), 40);
  EXPECT_EQ(AspectHeight(20, 10, 30, 7), 6);
  EXPECT_EQ(AspectHeight(20, 40, 0, 7), 7);
  EXPECT_EQ(AspectHeight(20, 40, -3, 7), 7);
}

TEST(ScrollbarGeometryTest, TheThumbStandsWhereThePositionSays) {
  const VORRect track(0, 20, 20, 120); // 100 pixels tall
  EXPECT_EQ(ThumbHeight(track, 0.25, true, 20), 25);
  EXPECT_EQ(ThumbHeight(track, 0.25, false, 20), 20);
  // travel = 100 - 10 = 90; at 0.5 the top moves by 45 (45.5 truncated).
  EXPECT_EQ(PlaceThumb(track, 10, 0.0), VORRect(0, 20, 20, 30));
  EXPECT_EQ(PlaceThumb(track, 10, 0.5), VORRect(0, 65, 20, 75));
  EXPECT_EQ(PlaceThumb(track, 10, 1.0), VORRect(0, 110, 20, 120)) << "ends where the track ends";
  // A thumb as tall as the track, or taller, stays at its top.
  EXPECT_EQ(PlaceThumb(track, 100, 0.7), VORRect(0, 20, 20, 120));
  EXPECT_EQ(PlaceThumb(track, 130, 1.0), VORRect(0, 20, 20, 150));
  // A position the drag gives places the thumb where the drag left it.
  EXPECT_EQ(PlaceThumb(track, 10, DraggedPosition(83, track, 10)).top, 83);
}

TEST(ScrollbarGeometryTest, ADraggedThumbStaysInTheTrackAndAFullThumbGivesPositionZero) {
  const VORRect track(0, 20, 20, 120);
  // Pressed at y 50 on a thumb whose top was 40.
  EXPECT_EQ(DraggedThumbTop(60, 50, 40, track, 10), 50);
  EXPECT_EQ(DraggedThumbTop(0, 50, 40, track, 10), 20) << "stops at the track's top";
  EXPECT_EQ(DraggedThumbTop(500, 50, 40, track, 10), 110) << "stops at the track's bottom";
  EXPECT_EQ(DraggedPosition(20, track, 10), 0.0);
  EXPECT_EQ(DraggedPosition(110, track, 10), 1.0);
  EXPECT_DOUBLE_EQ(DraggedPosition(65, track, 10), 0.5);
  // The thumb fills the track: nothing to travel, no division by zero.
  EXPECT_EQ(DraggedPosition(20, track, 100), 0.0);
  EXPECT_EQ(DraggedPosition(10, track, 120), 0.0);
}

} // namespace
