#include "display/ScrollPosition.h"

#include <gtest/gtest.h>

namespace {

using namespace ScrollPosition;

// A page of 1000 pixels in a window of 200: the range is 0..1000, the page
// 201, so the last page starts at 800, where the window shows the page's
// rows 800 to 999.
constexpr int32_t kMax = 1000;
constexpr int32_t kPage = 201;
constexpr int32_t kLastPage = 800;

TEST(ScrollPositionTest, RequestsMoveWithinZeroAndTheLastPage) {
  struct Case {
    const char *what;
    int32_t request, position, thumb, expected;
  } cases[] = {
      {"line back", kLineBack, 5, 0, 4},
      {"line back at the start", kLineBack, 0, 0, 0},
      {"line forward", kLineForward, 10, 0, 11},
      {"line forward onto the last page", kLineForward, kLastPage - 1, 0, kLastPage},
      {"line forward at the last page", kLineForward, kLastPage, 0, kLastPage},
      {"page back", kPageBack, 500, 0, 299},
      {"page back past the start", kPageBack, 100, 0, 0},
      {"page forward", kPageForward, 100, 0, 301},
      {"page forward past the last page", kPageForward, 700, 0, kLastPage},
      {"thumb track", kThumbTrack, 10, 333, 333},
      {"thumb position keeps the position", kThumbPosition, 10, 333, 10},
      {"start", kStart, 500, 0, 0},
      {"end: the last page, not the range's end", kEnd, 5, 0, kLastPage},
      {"end scroll", kEndScroll, 42, 0, 42},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(ForRequest(c.request, c.position, c.thumb, kMax, kPage), c.expected) << c.what;
  }
  struct Range {
    const char *what;
    int32_t maximum, page, last;
  } ranges[] = {
      {"a page larger than the range", 100, 300, 0},
      {"a page as large as the range", 100, 101, 0},
      {"a page one short of the range", 100, 100, 1},
      {"no page: every unit is a position", 100, 0, 100},
  };
  for (const Range &r : ranges) {
    EXPECT_EQ(ForRequest(kEnd, 0, 0, r.maximum, r.page), r.last) << r.what;
    EXPECT_EQ(ForRequest(kLineForward, r.last, 0, r.maximum, r.page), r.last) << r.what;
  }
}

TEST(ScrollPositionTest, AWheelNotchScrollsTwentyPixels) {
  EXPECT_EQ(ForWheel(kWheelDelta, 100, kMax, kPage), 80);
  EXPECT_EQ(ForWheel(-kWheelDelta, 100, kMax, kPage), 120);
  EXPECT_EQ(ForWheel(-kWheelDelta, 790, kMax, kPage), kLastPage);
  EXPECT_EQ(ForWheel(-2 * kWheelDelta, 790, kMax, kPage), kLastPage);
  EXPECT_EQ(ForWheel(3 * kWheelDelta, 10, kMax, kPage), 0);
}

} // namespace
