#include <gtest/gtest.h>

#include "transitions/TransitionTiming.h"

namespace {

using TransitionTiming::ModalStep;
using TransitionTiming::NextControllerStep;

TEST(TransitionTimingTest, ModalStepFollowsTheClockAndReachesTheEnd) {
  EXPECT_EQ(ModalStep(0, 100, 1000), 0);
  EXPECT_EQ(ModalStep(500, 100, 1000), 50);
  EXPECT_EQ(ModalStep(1000, 100, 1000), 100);
  EXPECT_EQ(ModalStep(5000, 100, 1000), 100);
  // A duration of 0 draws only the last step; no steps end at once.
  EXPECT_EQ(ModalStep(0, 100, 0), 100);
  EXPECT_EQ(ModalStep(10, 0, 1000), 0);
}

TEST(TransitionTimingTest, LongModalRunsOfManyStepsDoNotOverflow) {
  // Pixel mode 3 on 640 x 480 over 14 s: elapsed x total passes 2^32 long
  // before the end; in 32 bits the step wrapped and the run never ended.
  const int32_t total = 640 * 480;
  const uint32_t duration = 14000;
  EXPECT_EQ(ModalStep(13999, total, duration), static_cast<int32_t>(uint64_t{13999} * total / duration));
  EXPECT_LT(ModalStep(13999, total, duration), total);
  EXPECT_EQ(ModalStep(duration, total, duration), total);
  EXPECT_EQ(ModalStep(7000, total, duration), total / 2);
}

TEST(TransitionTimingTest, ControllerStepsKeepToTheirPlannedTimes) {
  // 100 steps over 1000 ms, increment 2: the first step drawn is 1.
  auto next = NextControllerStep(-1, 2, 100, 1000, 5000, 5000);
  EXPECT_EQ(next.step, 1);
  EXPECT_FALSE(next.finished);
  EXPECT_EQ(next.nextDue, 5010u);
  EXPECT_EQ(next.increment, 2);
  next = NextControllerStep(1, 2, 100, 1000, 5000, 5010);
  EXPECT_EQ(next.step, 3);
  EXPECT_EQ(next.nextDue, 5030u);
}

TEST(TransitionTimingTest, ALateEffectGrowsItsIncrementAndComesBackSoon) {
  // Step 3 was planned for 30 ms but it is 200 ms already.
  auto next = NextControllerStep(1, 2, 100, 1000, 5000, 5200);
  EXPECT_EQ(next.step, 3);
  EXPECT_EQ(next.nextDue, 5200u + TransitionTiming::kLateRetryMs);
  EXPECT_EQ(next.increment, 2 * 11 / 10 + 1);
  next = NextControllerStep(3, 30, 100, 1000, 5000, 5900);
  EXPECT_EQ(next.increment, 30 * 11 / 10 + 1);
}

TEST(TransitionTimingTest, TheLastStepIsCappedAndFinishes) {
  auto next = NextControllerStep(95, 10, 100, 1000, 0, 0);
  EXPECT_EQ(next.step, 100);
  EXPECT_TRUE(next.finished);
  EXPECT_EQ(next.nextDue, TransitionTiming::kNever);
  // No steps at all: finished on the first update.
  next = NextControllerStep(-1, 1, 0, 1000, 0, 0);
  EXPECT_EQ(next.step, 0);
  EXPECT_TRUE(next.finished);
  // A clock that wrapped round still times by differences.
  next = NextControllerStep(-1, 2, 100, 1000, 0xFFFFFFF0u, 0xFFFFFFF0u);
  EXPECT_EQ(next.nextDue, 0xFFFFFFF0u + 10u);
}

} // namespace
