#include "display/VORRect.h"

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

} // namespace
