#include "foundation/ShuffledSequence.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

uint32_t SeedOne() { return 1; }

// A clock that moves on by one millisecond at every shuffle.
uint32_t g_ticks = 0;
uint32_t MovingClock() { return ++g_ticks; }

// The order as a walk shows it: the current entry, then n - 1 steps.
std::vector<int32_t> Round(ShuffledSequence &sequence) {
  std::vector<int32_t> order{sequence.GetCurrent()};
  for (uint32_t i = 1; i < sequence.GetCount(); ++i)
    order.push_back(sequence.Next());
  return order;
}

TEST(ShuffledSequenceTest, EveryIndexComesOnceARound) {
  for (uint32_t n : {1u, 2u, 3u, 7u, 100u}) {
    ShuffledSequence sequence(MovingClock);
    sequence.SetCount(n);
    std::vector<int32_t> order = Round(sequence);
    std::sort(order.begin(), order.end());
    std::vector<int32_t> expected(n);
    for (uint32_t i = 0; i < n; ++i)
      expected[i] = static_cast<int32_t>(i);
    EXPECT_EQ(order, expected) << "n = " << n;
    EXPECT_EQ(sequence.GetCount(), n);
  }
}

// srand(1) and the runtime's rand(): 41 % 4 swaps 0 and 1, 18467 % 3 swaps
// 1 and 3, 6334 % 2 leaves 2; [1, 3, 2, 0] ends with the 0 that began the
// order before, so first and last change places.
TEST(ShuffledSequenceTest, ShufflesAsTheRuntimeDoes) {
  ShuffledSequence sequence(SeedOne);
  sequence.SetCount(4);
  EXPECT_EQ(Round(sequence), (std::vector<int32_t>{0, 3, 2, 1}));
}

TEST(ShuffledSequenceTest, ASequenceOfOneAlwaysYieldsZero) {
  ShuffledSequence sequence(MovingClock);
  sequence.SetCount(1);
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(sequence.Next(), 0);
    EXPECT_EQ(sequence.Previous(), 0);
    EXPECT_EQ(sequence.GetCurrent(), 0);
  }
}

// Whichever way the walk goes, the entry that ended a round does not begin
// the next one.
TEST(ShuffledSequenceTest, ARoundNeverStartsWhereTheLastEnded) {
  for (uint32_t n : {2u, 3u, 5u}) {
    ShuffledSequence forward(MovingClock);
    forward.SetCount(n);
    ShuffledSequence backward(MovingClock);
    backward.SetCount(n);
    for (int round = 0; round < 200; ++round) {
      for (uint32_t i = 1; i < n; ++i)
        forward.Next();
      const int32_t ended = forward.GetCurrent();
      EXPECT_NE(forward.Next(), ended) << "n = " << n << ", round " << round;
      EXPECT_EQ(forward.GetPosition(), 0u);

      const int32_t backwardEnded = backward.GetCurrent();
      EXPECT_NE(backward.Previous(), backwardEnded) << "n = " << n << ", round " << round;
      EXPECT_EQ(backward.GetPosition(), n - 1);
      for (uint32_t i = 1; i < n; ++i)
        backward.Previous();
    }
  }
}

TEST(ShuffledSequenceTest, WithoutReshufflingTheOrderRepeats) {
  ShuffledSequence sequence(MovingClock);
  sequence.SetCount(6);
  sequence.SetReshuffleOnWrap(false);
  const std::vector<int32_t> first = Round(sequence);
  sequence.Next();
  EXPECT_EQ(Round(sequence), first);
  EXPECT_EQ(sequence.Previous(), first[4]);
}

TEST(ShuffledSequenceTest, ANewCountStartsTheWalkOver) {
  ShuffledSequence sequence(MovingClock);
  sequence.SetCount(10);
  for (int i = 0; i < 8; ++i)
    sequence.Next();
  sequence.SetCount(3);
  EXPECT_EQ(sequence.GetPosition(), 0u);
  for (int i = 0; i < 10; ++i) {
    const int32_t index = sequence.Next();
    EXPECT_GE(index, 0);
    EXPECT_LT(index, 3);
  }
}

// An empty sequence has nothing to shuffle and no index to give.
TEST(ShuffledSequenceTest, AnEmptySequenceAnswersNoIndex) {
  ShuffledSequence sequence(MovingClock);
  EXPECT_EQ(sequence.GetCurrent(), ShuffledSequence::kNoIndex);
  sequence.SetCount(0);
  sequence.Shuffle();
  EXPECT_EQ(sequence.Next(), ShuffledSequence::kNoIndex);
  EXPECT_EQ(sequence.Previous(), ShuffledSequence::kNoIndex);
  EXPECT_EQ(sequence.GetCurrent(), ShuffledSequence::kNoIndex);
  EXPECT_EQ(sequence.GetCount(), 0u);
}

} // namespace
