#include "display/ScrollPosition.h"

#include <gtest/gtest.h>

namespace {

using namespace ScrollPosition;

// A page of 1000 pixels in a window of 200: the range is 0..1000, the page
// 201, so the last page starts at 799.
constexpr int32_t kMax = 1000;
constexpr int32_t kPage = 201;

TEST(ScrollPositionTest, RequestsMoveWithinZeroAndTheLastPage) {
  struct Case {
    const char *what;
    int32_t request, position, thumb, expected;
  } cases[] = {
      {"line back", kLineBack, 5, 0, 4},
      {"line back at the start", kLineBack, 0, 0, 0},
      {"line forward", kLineForward, 10, 0, 11},
      {"line forward at the last page", kLineForward, 799, 0, 799},
      {"page back", kPageBack, 500, 0, 299},
      {"page back past the start", kPageBack, 100, 0, 0},
      {"page forward", kPageForward, 100, 0, 301},
      {"page forward past the last page", kPageForward, 700, 0, 799},
      {"thumb track", kThumbTrack, 10, 333, 333},
      {"thumb position keeps the position", kThumbPosition, 10, 333, 10},
      {"start", kStart, 500, 0, 0},
      {"end: the last page, not the range's end", kEnd, 5, 0, 799},
      {"end scroll", kEndScroll, 42, 0, 42},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(ForRequest(c.request, c.position, c.thumb, kMax, kPage), c.expected) << c.what;
  }
  EXPECT_EQ(ForRequest(kEnd, 0, 0, 100, 300), 0) << "a page larger than the range";
}

TEST(ScrollPositionTest, AWheelNotchScrollsTwentyPixels) {
  EXPECT_EQ(ForWheel(kWheelDelta, 100, kMax, kPage), 80);
  EXPECT_EQ(ForWheel(-kWheelDelta, 100, kMax, kPage), 120);
  EXPECT_EQ(ForWheel(-2 * kWheelDelta, 790, kMax, kPage), 799);
  EXPECT_EQ(ForWheel(3 * kWheelDelta, 10, kMax, kPage), 0);
}

} // namespace
