#include "saver/SaverEndRules.h"
#include "saver/SaverMouseFilter.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

uint32_t At(uint16_t x, uint16_t y) { return static_cast<uint32_t>(y) << 16 | x; }

// Which reports of a sequence the filter lets through.
std::vector<bool> Passed(SaverMouseFilter &filter, const std::vector<uint32_t> &positions) {
  std::vector<bool> passed;
  for (uint32_t position : positions)
    passed.push_back(!filter.Swallow(position));
  return passed;
}

// The first position and its repeats are swallowed, the move that leaves it
// too; the moves after it pass.
TEST(SaverMouseFilterTest, SwallowsTheRestingPositionAndTheFirstMoveAway) {
  SaverMouseFilter filter;
  EXPECT_EQ(Passed(filter, {At(10, 10), At(10, 10), At(10, 10), At(12, 10), At(14, 10), At(14, 10)}),
            (std::vector<bool>{false, false, false, false, true, true}));
  EXPECT_FALSE(filter.IsFiltering());
}

// A position of 0 is nothing stored: the next report is stored instead of
// counting as a move.
TEST(SaverMouseFilterTest, APointerAtTheCornerStoresNothing) {
  SaverMouseFilter filter;
  EXPECT_EQ(Passed(filter, {0, At(5, 5), At(6, 5), At(7, 5)}), (std::vector<bool>{false, false, false, true}));
}

// A display change (or a refused password) filters again from nothing
// stored: the position stored before the change is forgotten, so the report
// where the pointer rests on the new display does not count as a move.
TEST(SaverMouseFilterTest, RestartForgetsTheStoredPosition) {
  SaverMouseFilter filter;
  Passed(filter, {At(10, 10), At(20, 20)});
  ASSERT_FALSE(filter.IsFiltering());
  filter.Restart();
  EXPECT_EQ(Passed(filter, {At(300, 200), At(300, 200), At(301, 200), At(302, 200)}),
            (std::vector<bool>{false, false, false, true}));
}

TEST(SaverEndRulesTest, KeysButtonsAndDeactivationEndTheSaverAtOnce) {
  using Input = SaverEndRules::Input;
  for (Input input : {Input::kKeyPress, Input::kButtonPress, Input::kDeactivation}) {
    SaverEndRules rules;
    rules.Start(100, 100);
    EXPECT_TRUE(rules.EndsSaver(input, 100, 100)) << static_cast<int>(input);
  }
  SaverEndRules rules;
  EXPECT_FALSE(rules.EndsSaver(Input::kOther, 0, 0));
}

TEST(SaverEndRulesTest, OnlyAMoveBeyondTheToleranceEndsTheSaver) {
  using Input = SaverEndRules::Input;
  constexpr int32_t kFar = SaverEndRules::kMoveTolerance + 1;
  struct Move {
    int32_t x, y;
    bool ends;
  } moves[] = {
      {100, 100, false},
      {103, 97, false},
      {97, 103, false},
      {100 + kFar, 100, true},
      {100, 100 - kFar, true},
      {-2000000000, 100, true},
      {2000000000, 2000000000, true},
  };
  for (const Move &move : moves) {
    SaverEndRules rules;
    rules.Start(100, 100);
    EXPECT_EQ(rules.EndsSaver(Input::kPointerMove, move.x, move.y), move.ends) << move.x << "," << move.y;
  }
  // Without a start position the first move becomes it.
  SaverEndRules unstarted;
  EXPECT_FALSE(unstarted.EndsSaver(Input::kPointerMove, 500, 500));
  EXPECT_FALSE(unstarted.EndsSaver(Input::kPointerMove, 502, 501));
  EXPECT_TRUE(unstarted.EndsSaver(Input::kPointerMove, 510, 500));
}

} // namespace
