#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "objects/TextReadAlong.h"
#include "richtext/XQRichText.h"
#include "support/FakeTextMeasurer.h"

namespace {

// Two segments, tags 1 ("one") and 2 ("two"), ending 1000 and 2500 ms after
// the sound's start.
class TextReadAlongTest : public ::testing::Test {
protected:
  TextReadAlongTest() {
    text.SetFrameSize(400, 100);
    text.LoadRtf("{\\rtf1 {\\id1 one} {\\id2 two} rest}");
    highlight.SetTextColor(0x6464FF);
  }

  std::vector<int32_t> Highlighted() const {
    std::vector<int32_t> ids;
    for (const XQRichText::TagEffectStyle &effect : text.GetTagEffects())
      ids.push_back(effect.tagId);
    return ids;
  }
  TextReadAlong::Step Step(uint32_t now) { return readAlong.DoStep(text, segments, highlight, now); }

  FakeTextMeasurer measurer;
  XQRichText text{measurer};
  TextStyle highlight;
  std::vector<int32_t> tags{1, 2};
  std::vector<uint32_t> ends{1000, 2500};
  TextReadAlong::Segments segments{tags, ends};
  TextReadAlong readAlong;
};

TEST_F(TextReadAlongTest, SegmentsFollowTheSoundThenTheHighlightClears) {
  ASSERT_TRUE(readAlong.Arm(text, segments));
  EXPECT_EQ(readAlong.GetIndex(), TextReadAlong::kNotStarted);
  ASSERT_TRUE(readAlong.OnSoundStarted(10000));
  EXPECT_FALSE(readAlong.OnSoundStarted(10100)); // only the first notice starts it

  TextReadAlong::Step step = Step(10000);
  EXPECT_EQ(Highlighted(), std::vector<int32_t>{1});
  EXPECT_TRUE(step.postNext);
  EXPECT_EQ(step.delay, 1000u);
  EXPECT_EQ(step.scrollTo, 0);

  step = Step(11000);
  EXPECT_EQ(Highlighted(), std::vector<int32_t>{2});
  EXPECT_EQ(step.delay, 1500u);
  EXPECT_EQ(step.scrollTo, 8); // "two" starts at character 4

  step = Step(12500);
  EXPECT_TRUE(Highlighted().empty());
  EXPECT_FALSE(step.postNext);
  EXPECT_FALSE(readAlong.IsRunning());
}

TEST_F(TextReadAlongTest, ALateTickGivesNoNegativeDelay) {
  readAlong.Arm(text, segments);
  readAlong.OnSoundStarted(5000);
  Step(5000);
  // The step meant for 6000 comes at 6700: the second segment's end is
  // 1300 ms away; one that comes after that end waits no time at all.
  EXPECT_EQ(Step(6700).delay, 800u);
  readAlong.Arm(text, segments);
  readAlong.OnSoundStarted(5000);
  EXPECT_EQ(Step(7000).delay, 0u);
  // Times wrap with the millisecond clock.
  readAlong.Arm(text, segments);
  readAlong.OnSoundStarted(0xFFFFFF00u);
  EXPECT_EQ(Step(0xFFFFFF00u).delay, 1000u);
}

TEST_F(TextReadAlongTest, StoppingClearsAtOnceAndTheStepsPostedBeforeGoStale) {
  readAlong.Arm(text, segments);
  readAlong.OnSoundStarted(0);
  Step(0);
  const TextReadAlong::StepAction posted(readAlong.GetGeneration());
  ASSERT_TRUE(readAlong.IsCurrent(posted));
  readAlong.Stop();
  Step(10);
  EXPECT_TRUE(Highlighted().empty());
  EXPECT_FALSE(readAlong.IsCurrent(posted));
  // Started again: an old step must not advance the new read-along.
  readAlong.Arm(text, segments);
  EXPECT_FALSE(readAlong.IsCurrent(posted));
  EXPECT_TRUE(readAlong.IsCurrent(TextReadAlong::StepAction(readAlong.GetGeneration())));
}

TEST_F(TextReadAlongTest, ARestartClearsTheHighlightOfTheRunningOne) {
  readAlong.Arm(text, segments);
  readAlong.OnSoundStarted(0);
  Step(0);
  ASSERT_EQ(Highlighted(), std::vector<int32_t>{1});
  readAlong.Arm(text, segments);
  EXPECT_TRUE(Highlighted().empty());
  EXPECT_TRUE(readAlong.IsRunning());
  EXPECT_EQ(readAlong.GetIndex(), TextReadAlong::kNotStarted);
}

TEST_F(TextReadAlongTest, ASegmentMissingFromTheTextSelectsNothing) {
  tags = {7, 2};
  readAlong.Arm(text, segments);
  readAlong.OnSoundStarted(0);
  const TextReadAlong::Step step = Step(0);
  EXPECT_EQ(step.scrollTo, -1);
  int32_t start = 0;
  int32_t end = 0;
  EXPECT_FALSE(text.GetSelection(start, end));
  EXPECT_EQ(text.GetCaretPosition(), 0);
  // The next segment is still found.
  EXPECT_EQ(Step(1000).scrollTo, 8);
}

TEST_F(TextReadAlongTest, WithoutSegmentsNothingStarts) {
  tags.clear();
  ends.clear();
  EXPECT_FALSE(readAlong.Arm(text, segments));
  EXPECT_FALSE(readAlong.IsRunning());
}

} // namespace
