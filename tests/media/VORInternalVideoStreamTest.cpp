#include <gtest/gtest.h>

#include <vector>

#include "media/VORInternalVideoStream.h"
#include "support/InternalImageWriter.h"

namespace {

using namespace InternalImageWriter;

// Three 4 x 2 frames of 8 bits; frame i shows i in its first pixel and
// carries the display time given (-1: none).
std::vector<uint8_t> Animation(const std::vector<int32_t> &times, uint32_t timing) {
  Picture picture;
  picture.colours = GreyishTable(256);
  picture.timing = timing;
  for (size_t i = 0; i < times.size(); ++i) {
    Frame frame;
    frame.time = times[i];
    frame.parts = {RawPart(0, 0, 4, 2, {static_cast<uint8_t>(i), 9, 9, 9, 9, 9, 9, 9})};
    picture.frames.push_back(frame);
  }
  return picture.Bytes();
}

TEST(VORInternalVideoStreamTest, FramesTimingAndDisplayTimes) {
  VORInternalVideoStream stream(0, -1);
  stream.SetMemoryCopy(Animation({-1, 40000, 1999}, 66666));
  ASSERT_TRUE(stream.Open());
  EXPECT_TRUE(stream.HasVideo());
  EXPECT_FALSE(stream.HasAudio());
  uint32_t frames = 0;
  uint32_t microseconds = 0;
  stream.GetTiming(frames, microseconds);
  EXPECT_EQ(frames, 3u);
  EXPECT_EQ(microseconds, 66666u);
  ASSERT_NE(stream.GetFormat(), nullptr);
  EXPECT_EQ(stream.GetFormat()->biWidth, 4);
  EXPECT_EQ(stream.GetFrameImage()->GetRowAddress(0)[0], 0) << "open shows frame 0";
  EXPECT_EQ(stream.GetFrameMask(), nullptr) << "no key colour, no mask";
  struct Case {
    uint32_t frame;
    int32_t milliseconds;
  };
  for (const Case &c : {Case{1, 40}, Case{2, 1}, Case{0, XQVideoStream::kNoDelay}}) {
    int32_t delay = 0;
    ASSERT_TRUE(stream.ReadFrame(c.frame, delay)) << c.frame;
    EXPECT_EQ(delay, c.milliseconds) << c.frame;
    EXPECT_EQ(stream.GetFrameImage()->GetRowAddress(0)[0], c.frame);
  }
  for (uint32_t beyond : {3u, 0x80000000u, 0xFFFFFFFFu}) {
    int32_t delay = 0;
    EXPECT_FALSE(stream.ReadFrame(beyond, delay)) << beyond;
  }
  stream.Close();
  EXPECT_FALSE(stream.IsOpen());
  EXPECT_EQ(stream.GetFormat(), nullptr);
}

TEST(VORInternalVideoStreamTest, AKeyColourGivesAFrameMask) {
  VORInternalVideoStream stream(0, 0x01000009);
  stream.SetMemoryCopy(Animation({-1}, 0));
  ASSERT_TRUE(stream.Open());
  DibImage *mask = stream.GetFrameMask();
  ASSERT_NE(mask, nullptr);
  EXPECT_TRUE(mask->IsMaskBitSet(0, 0) != mask->IsMaskBitSet(1, 0)) << "index 9 is the key";
}

TEST(VORInternalVideoStreamTest, BytesThatAreNoAnimationDoNotOpen) {
  VORInternalVideoStream stream(0, -1);
  stream.SetMemoryCopy(std::vector<uint8_t>(64, 0x41));
  EXPECT_FALSE(stream.Open());
  EXPECT_FALSE(stream.IsOpen());
  EXPECT_EQ(stream.GetFrameImage(), nullptr);
}

} // namespace
