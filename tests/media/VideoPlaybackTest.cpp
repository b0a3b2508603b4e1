#include <gtest/gtest.h>

#include "media/VideoPlayback.h"

namespace {

using Step = VideoPlayback::Step;

TEST(VideoPlaybackTest, FramesAndTimesConvertIn64Bits) {
  VideoPlayback playback;
  playback.Reset(1000, 71428); // an FLI at speed 5
  EXPECT_EQ(playback.FrameAt(1000), 14u);
  EXPECT_EQ(playback.TimeOf(14), 999);
  // Three hours at 25 fps: far beyond what 32 bits of ms x 1000 hold.
  playback.Reset(300000, 40000);
  EXPECT_EQ(playback.FrameAt(3 * 3600 * 1000), 270000u);
  EXPECT_EQ(playback.TimeOf(270000), 3 * 3600 * 1000);
  EXPECT_EQ(playback.FrameAt(-5), 0u);
  // A stream without a frame time stays on its first frame.
  playback.Reset(10, 0);
  EXPECT_EQ(playback.FrameAt(5000), 0u);
}

TEST(VideoPlaybackTest, PlayPositionsAndClamps) {
  VideoPlayback playback;
  playback.Reset(50, 100000);
  ASSERT_TRUE(playback.Play(1000, 3000, 0, 5000));
  EXPECT_EQ(playback.GetStartFrame(), 10u);
  EXPECT_EQ(playback.GetCurrentFrame(), 10u);
  EXPECT_EQ(playback.GetEndFrame(), 30u);
  EXPECT_EQ(playback.ClockElapsed(5000), 0u);
  // Continuing from the current frame: the clock counts from the start frame.
  playback.Seek(2000, VideoPlayback::kAbsolute, 6000);
  ASSERT_TRUE(playback.Play(VideoPlayback::kUnset, VideoPlayback::kUnset, 0, 7000));
  EXPECT_EQ(playback.GetStartFrame(), 10u);
  EXPECT_EQ(playback.GetCurrentFrame(), 20u);
  EXPECT_EQ(playback.GetEndFrame(), 49u);
  EXPECT_EQ(playback.ClockElapsed(7000), 1000u);
  // Beyond the stream: the last frame.
  ASSERT_TRUE(playback.Play(900000, 999999, 0, 0));
  EXPECT_EQ(playback.GetStartFrame(), 49u);
  EXPECT_EQ(playback.GetEndFrame(), 49u);
  VideoPlayback empty;
  empty.Reset(0, 40000);
  EXPECT_FALSE(empty.Play(0, -1, 0, 0));
}

// Repeat 2 plays three times; each pass restarts the clock.
TEST(VideoPlaybackTest, RepeatCountGivesFurtherPasses) {
  VideoPlayback playback;
  playback.Reset(3, 100000);
  ASSERT_TRUE(playback.Play(0, VideoPlayback::kUnset, 2, 0));
  int restarts = 0;
  uint32_t now = 0;
  Step step = Step::kSame;
  for (int call = 0; call < 100 && step != Step::kEnded; ++call) {
    now += 101;
    step = playback.Advance(playback.ClockElapsed(now), false, now);
    restarts += step == Step::kRestarted;
  }
  EXPECT_EQ(step, Step::kEnded);
  EXPECT_EQ(restarts, 2);
  EXPECT_EQ(playback.GetCurrentFrame(), 2u);

  ASSERT_TRUE(playback.Play(0, VideoPlayback::kUnset, VideoPlayback::kEndless, now));
  restarts = 0;
  for (int call = 0; call < 100; ++call) {
    now += 101;
    step = playback.Advance(playback.ClockElapsed(now), false, now);
    ASSERT_NE(step, Step::kEnded);
    restarts += step == Step::kRestarted;
  }
  EXPECT_GE(restarts, 30);
}

// With skipping the frame follows the clock; without it one frame per call.
TEST(VideoPlaybackTest, SkippingFollowsTheClock) {
  VideoPlayback playback;
  playback.Reset(100, 100000);
  ASSERT_TRUE(playback.Play(0, VideoPlayback::kUnset, 0, 1000));
  EXPECT_EQ(playback.Advance(550, true, 1550), Step::kNewFrame);
  EXPECT_EQ(playback.GetCurrentFrame(), 5u);
  ASSERT_TRUE(playback.Play(0, VideoPlayback::kUnset, 0, 1000));
  EXPECT_EQ(playback.Advance(550, false, 1550), Step::kNewFrame);
  EXPECT_EQ(playback.GetCurrentFrame(), 1u);
  EXPECT_EQ(playback.Advance(560, false, 1560), Step::kSame);
  EXPECT_EQ(playback.Advance(700, false, 1700), Step::kNewFrame);
  EXPECT_EQ(playback.GetCurrentFrame(), 2u);
  // A frame time of 0 moves a frame per call, skipping or not.
  playback.Reset(5, 0);
  ASSERT_TRUE(playback.Play(0, VideoPlayback::kUnset, 0, 0));
  EXPECT_EQ(playback.Advance(1, true, 1), Step::kNewFrame);
  EXPECT_EQ(playback.Advance(2, false, 2), Step::kNewFrame);
  EXPECT_EQ(playback.GetCurrentFrame(), 2u);
}

TEST(VideoPlaybackTest, SeekModes) {
  VideoPlayback playback;
  playback.Reset(100, 100000); // ten seconds
  struct Case {
    int32_t position;
    int32_t mode;
    uint32_t frame;
  };
  const Case cases[] = {{2000, VideoPlayback::kAbsolute, 20}, {500, VideoPlayback::kRelative, 25},
                        {-1000, VideoPlayback::kFromEnd, 89}, {-100000, VideoPlayback::kFromEnd, 0},
                        {-3000, VideoPlayback::kRelative, 0}, {999999, VideoPlayback::kAbsolute, 99}};
  for (const Case &c : cases) {
    playback.Seek(c.position, c.mode, 0);
    EXPECT_EQ(playback.GetCurrentFrame(), c.frame) << c.position << " " << c.mode;
  }
}

TEST(VideoPlaybackTest, AnUnreadableFrameEndsTheStream) {
  VideoPlayback playback;
  playback.Reset(10, 100000);
  ASSERT_TRUE(playback.Play(0, VideoPlayback::kUnset, 1, 0));
  EXPECT_EQ(playback.EndAt(6, 700), Step::kRestarted);
  EXPECT_EQ(playback.GetEndFrame(), 6u);
  EXPECT_EQ(playback.GetCurrentFrame(), 0u);
  EXPECT_EQ(playback.EndAt(6, 1400), Step::kEnded);
  // Endless repeats of a stream whose start frame does not read end.
  ASSERT_TRUE(playback.Play(0, VideoPlayback::kUnset, VideoPlayback::kEndless, 0));
  EXPECT_EQ(playback.EndAt(0, 0), Step::kEnded);
}

} // namespace
