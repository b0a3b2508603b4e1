#include "display/CoverageBits.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

// A one-bit mask row, the leftmost pixel in each byte's high bit, read bit by bit.
bool MaskBitAt(const std::vector<uint8_t> &row, int64_t bit, int32_t width) {
  return bit >= 0 && bit < width && ((row[static_cast<size_t>(bit >> 3)] >> (7 - (bit & 7))) & 1) != 0;
}

std::vector<uint8_t> RandomRow(size_t bytes, uint32_t seed) {
  std::mt19937 random(seed);
  std::vector<uint8_t> row(bytes);
  for (uint8_t &b : row) {
    b = static_cast<uint8_t>(random());
  }
  return row;
}

// Masks are read 64 bits at a time where the bits lie inside the row: every
// start within a byte and across several, runs that pass either end of the
// mask (those bits count as clear), against bit-by-bit reading. The row holds
// exactly its bytes, so that reading past it would be caught.
TEST(CoverageBitsTest, MaskRunsReadEveryBitAtAnyStart) {
  const int32_t maskWidth = 300;
  const std::vector<uint8_t> row = RandomRow((maskWidth + 7) / 8, 3);
  for (int64_t firstBit = -70; firstBit < 120; ++firstBit) {
    for (int32_t count : {1, 63, 64, 65, 128, 200, 330}) {
      CoverageBits coverage;
      coverage.CoverAll(count);
      coverage.AndMaskRun(row.data(), firstBit, maskWidth);
      for (int32_t i = 0; i < count; ++i) {
        ASSERT_EQ(coverage.IsCovered(i), MaskBitAt(row, firstBit + i, maskWidth))
            << "first bit " << firstBit << ", count " << count << ", pixel " << i;
      }
    }
  }
}

TEST(CoverageBitsTest, MasksAndTogetherAndRunsHoldTheFirstPixelHigh) {
  const int32_t width = 150;
  const std::vector<uint8_t> first = RandomRow(19, 5), second = RandomRow(19, 6);
  CoverageBits coverage;
  coverage.CoverAll(width);
  coverage.AndMaskRun(first.data(), 0, width);
  coverage.AndMaskRun(second.data(), 3, width);
  for (int32_t i = 0; i < width; ++i) {
    ASSERT_EQ(coverage.IsCovered(i), MaskBitAt(first, i, width) && MaskBitAt(second, i + 3, width)) << i;
  }
  for (int32_t n : {16, 32}) {
    for (int32_t start = 0; start + n <= width; start += n) {
      uint32_t expected = 0;
      for (int32_t j = 0; j < n; ++j) {
        expected |= (coverage.IsCovered(start + j) ? 1u : 0u) << (n - 1 - j);
      }
      EXPECT_EQ(coverage.Run(start, n), expected) << n << " from " << start;
    }
  }
}

TEST(CoverageBitsTest, ColumnsReadTheirOwnBitsAndPixelsPastTheCountStayClear) {
  const std::vector<uint8_t> row = RandomRow(4, 8);
  const int32_t columns[] = {0, 31, 31, 5, 40, -1, 7};
  CoverageBits coverage;
  coverage.CoverAll(7);
  coverage.AndMaskColumns(row.data(), columns, 0, 32);
  for (int32_t i = 0; i < 7; ++i) {
    EXPECT_EQ(coverage.IsCovered(i), MaskBitAt(row, columns[i], 32)) << i;
  }
  coverage.CoverAll(70);
  EXPECT_EQ(coverage.Run(64, 32), 0xFC000000u); // pixels 64..69 only
  coverage.UncoverAll();
  EXPECT_EQ(coverage.Run(0, 32), 0u);
}

} // namespace
