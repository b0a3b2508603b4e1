#include "filters/PngFilters.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <random>
#include <vector>

// The row filters against a frozen plain form written straight from the
// PNG rules, for both loops, byte for byte.

namespace {

using Bytes = std::vector<uint8_t>;

void ReferenceUnfilter(uint8_t type, uint8_t *row, const uint8_t *previous, uint32_t count, uint32_t bpp) {
  for (uint32_t i = 0; i < count; ++i) {
    const int a = i >= bpp ? row[i - bpp] : 0;
    const int b = previous[i];
    const int c = i >= bpp ? previous[i - bpp] : 0;
    int predictor = 0;
    switch (type) {
    case 1:
      predictor = a;
      break;
    case 2:
      predictor = b;
      break;
    case 3:
      predictor = (a + b) / 2;
      break;
    case 4: {
      const int p = a + b - c;
      const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
      predictor = pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
      break;
    }
    default:
      break;
    }
    row[i] = static_cast<uint8_t>(row[i] + predictor);
  }
}

TEST(PngFiltersTest, BothLoopsGiveTheReferenceBytes) {
  std::mt19937 random(36);
  // Rows of noise, and rows of extremes, where the Paeth distances tie.
  auto noise = [&](uint32_t count, bool extremes) {
    Bytes bytes(count);
    for (uint8_t &b : bytes)
      b = extremes ? static_cast<uint8_t>((random() & 1) * 255) : static_cast<uint8_t>(random());
    return bytes;
  };
  for (const uint32_t bpp : {1U, 2U, 3U, 4U, 6U, 8U}) {
    for (const uint32_t count : {0U, 1U, 2U, 3U, 5U, 16U, 17U, 48U, 300U, 3 * 1024U}) {
      if (bpp >= 3 && count % bpp != 0 && count > bpp)
        continue; // rows are whole pixels at these depths
      for (uint8_t type = 0; type <= 5; ++type) {
        for (const bool extremes : {false, true}) {
          const Bytes row = noise(count, extremes);
          const Bytes previous = noise(count, extremes);
          Bytes expected = row;
          ReferenceUnfilter(type, expected.data(), previous.data(), count, bpp);
          for (const PixelLoops loops : {PixelLoops::kPlain, PixelLoops::kVector}) {
            Bytes got = row;
            UnfilterPngRow(type, got.data(), previous.data(), count, bpp, loops);
            ASSERT_EQ(expected, got) << "bpp " << bpp << ", " << count << " bytes, type " << int(type)
                                     << (loops == PixelLoops::kVector ? ", vector" : ", plain")
                                     << (extremes ? ", extremes" : "");
          }
        }
      }
    }
  }
}

} // namespace
