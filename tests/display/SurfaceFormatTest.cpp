#include "display/SurfaceFormat.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

TEST(SurfaceFormatTest, ADepthTheScreenLacksMakesADibOfEightOrTwentyFourBits) {
  struct Case {
    const char *what;
    int32_t depth;
    bool dibAsked;
    int32_t screenDepth;
    SurfaceFormat format;
  } cases[] = {
      {"the screen's depth, no DIB asked", 16, false, 16, {false, 16}},
      {"depth 24 on a 16-bit screen", 24, false, 16, {true, 24}},
      {"depth 4 on a 16-bit screen", 4, false, 16, {true, 8}},
      {"depth 32 on a 16-bit screen", 32, false, 16, {true, 24}},
      {"a DIB asked at the screen's 32 bits", 32, true, 32, {true, 24}},
      {"a DIB asked at the screen's 8 bits", 8, true, 8, {true, 8}},
      {"the 8-bit screen's depth", 8, false, 8, {false, 8}},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(SurfaceFormat::Choose(c.depth, c.dibAsked, c.screenDepth), c.format) << c.what;
  }
}

TEST(SurfaceFormatTest, ByteSizesPadRowsAndNeverWrap) {
  EXPECT_EQ(SurfaceFormat::ByteSize(1, 1, 24), 4u);
  EXPECT_EQ(SurfaceFormat::ByteSize(3, 2, 8), 8u);
  EXPECT_EQ(SurfaceFormat::ByteSize(33, 1, 1), 8u);
  EXPECT_EQ(SurfaceFormat::ByteSize(0, 10, 24), 0u);
  EXPECT_EQ(SurfaceFormat::ByteSize(-5, 10, 24), 0u);
  const int64_t huge = static_cast<int64_t>(UINT32_MAX);
  EXPECT_EQ(SurfaceFormat::ByteSize(huge, huge, 32), UINT64_MAX);
  EXPECT_GT(SurfaceFormat::ByteSize(100000, 100000, 24), uint64_t{1} << 32);
}

} // namespace
