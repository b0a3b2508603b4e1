#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "display/DibImage.h"
#include "media/AviFrame.h"

namespace {

// A top-down height of -2^31 has no positive form in 32 bits: the request
// asks for the tallest height instead, which no frame picture can hold, so
// the video is refused rather than its height negated past the range.
TEST(AviFrameRequestTest, TheLowestTopDownHeightIsAskedAsTheTallest) {
  struct Case {
    int32_t height;
    int32_t asked;
  } cases[] = {{std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()},
               {std::numeric_limits<int32_t>::min() + 1, std::numeric_limits<int32_t>::max()},
               {-1, 1},
               {std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::max()}};
  for (const Case &c : cases) {
    BitmapInfoHeader source{40, 16, c.height, 1, 24, 0, 0, 0, 0, 0, 0};
    const BitmapInfo256 request = AviFrame::MakeRequest(source, nullptr, 0);
    EXPECT_EQ(request.header.biHeight, c.asked) << c.height;
  }
  BitmapInfoHeader lowest{40, 16, std::numeric_limits<int32_t>::min(), 1, 24, 0, 0, 0, 0, 0, 0};
  const BitmapInfo256 request = AviFrame::MakeRequest(lowest, nullptr, 0);
  DibImage frame;
  EXPECT_FALSE(frame.Create(&request.header));
}

} // namespace
