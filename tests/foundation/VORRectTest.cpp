#include "foundation/VORRect.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(VORRectTest, IntersectionsThatAreEmptyBecomeZero) {
  struct Case {
    VORRect a, b;
    bool overlap;
    VORRect result;
  } cases[] = {
      {{0, 0, 10, 10}, {5, 5, 20, 20}, true, {5, 5, 10, 10}},
      {{0, 0, 10, 10}, {10, 0, 20, 10}, false, {0, 0, 0, 0}}, // touching edges: right is exclusive
      {{0, 0, 10, 10}, {20, 20, 30, 30}, false, {0, 0, 0, 0}},
      {{0, 0, 10, 10}, VORRect::NotSet(), false, {0, 0, 0, 0}},
  };
  for (const Case &c : cases) {
    VORRect r;
    EXPECT_EQ(r.Intersect(c.a, c.b), c.overlap);
    EXPECT_EQ(r, c.result);
  }
}

TEST(VORRectTest, SizesAndMovesDoNotOverflow) {
  const VORRect wide(INT32_MIN, 0, INT32_MAX, 1);
  EXPECT_EQ(wide.Width(), static_cast<int64_t>(INT32_MAX) - INT32_MIN);
  EXPECT_FALSE(wide.IsEmpty());
  const VORRect moved = wide.Offset(10, -10);
  EXPECT_EQ(moved.right, INT32_MAX);
  EXPECT_EQ(moved.top, -10);
  VORRect grown(0, 0, INT32_MAX, 10);
  grown.Inflate(5, 5);
  EXPECT_EQ(grown.left, -5);
  EXPECT_EQ(grown.right, INT32_MAX);
  EXPECT_TRUE(VORRect(5, 5, 5, 9).IsEmpty());
  EXPECT_TRUE(VORRect::NotSet().IsEmpty());
}

TEST(VORRectTest, UnionTakesTheOuterEdges) {
  VORRect r;
  r.Union(VORRect(0, 5, 10, 10), VORRect(-3, 6, 4, 20));
  EXPECT_EQ(r, VORRect(-3, 5, 10, 20));
}

TEST(VORRectTest, FitInsideCutsTheLongerSideToTheReferencesAspect) {
  struct Case {
    const char *what;
    VORRect rect, reference;
    bool centre;
    VORRect result;
  } cases[] = {
      {"too wide, centred", {0, 0, 200, 100}, {0, 0, 100, 100}, true, {50, 0, 150, 100}},
      {"too wide, from the left", {0, 0, 200, 100}, {0, 0, 100, 100}, false, {0, 0, 100, 100}},
      {"too tall, centred", {10, 10, 110, 310}, {0, 0, 2, 1}, true, {10, 135, 110, 185}},
      {"same aspect", {0, 0, 64, 48}, {0, 0, 640, 480}, true, {0, 0, 64, 48}},
      {"reference without height", {0, 0, 200, 100}, {0, 0, 100, 0}, true, {100, 50, 100, 50}},
      {"reference without width", {0, 0, 200, 100}, {0, 0, 0, 100}, false, {0, 0, 0, 0}},
  };
  for (const Case &c : cases) {
    VORRect r = c.rect;
    r.FitInside(c.reference, c.centre);
    EXPECT_EQ(r, c.result) << c.what;
  }
}

TEST(VORRectTest, HoldsNeedsTheTopLeftAndTheLastPixelInside) {
  const VORRect page(0, 0, 100, 50);
  EXPECT_TRUE(page.Holds(VORRect(0, 0, 100, 50)));
  EXPECT_TRUE(page.Holds(VORRect(10, 10, 20, 20)));
  EXPECT_FALSE(page.Holds(VORRect(10, 10, 101, 20))) << "one column past the right edge";
  EXPECT_FALSE(page.Holds(VORRect(-1, 0, 10, 10)));
  EXPECT_FALSE(page.Holds(VORRect(5, 5, 5, 9))) << "an empty rectangle";
}

TEST(VORRectTest, OffsetsAndMovesKeepTheSize) {
  VORRect r(1, 2, 11, 22);
  r.AddOffset(5, -2);
  EXPECT_EQ(r, VORRect(6, 0, 16, 20));
  r.SubtractOffset(6, 0);
  EXPECT_EQ(r, VORRect(0, 0, 10, 20));
  EXPECT_EQ(r.MovedTo(-3, 4), VORRect(-3, 4, 7, 24));
  EXPECT_EQ(r.MovedTo(INT32_MAX - 5, 0).right, INT32_MAX) << "saturates instead of wrapping";
}

} // namespace
