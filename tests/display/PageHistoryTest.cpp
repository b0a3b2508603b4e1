#include "display/PageHistory.h"

#include <gtest/gtest.h>

namespace {

VORObjectCode Page(int32_t id) { return VORObjectCode(0, 4, id); }

TEST(PageHistoryTest, TheTwentyFirstPushDropsTheOldestEntry) {
  PageHistory history;
  for (int32_t id = 1; id <= 21; ++id)
    history.Push(Page(id));
  EXPECT_EQ(history.GetCurrentIndex(), PageHistory::kCapacity - 1);
  VORObjectCode reference;
  int32_t steps = 0;
  while (history.Back(reference))
    ++steps;
  EXPECT_EQ(steps, PageHistory::kCapacity - 1);
  EXPECT_EQ(reference, Page(2));
}

TEST(PageHistoryTest, APushAfterGoingBackDropsThePagesAhead) {
  PageHistory history;
  for (int32_t id = 1; id <= 4; ++id)
    history.Push(Page(id));
  VORObjectCode reference;
  ASSERT_TRUE(history.Back(reference));
  ASSERT_TRUE(history.Back(reference));
  EXPECT_EQ(reference, Page(2));
  history.Push(Page(9));
  EXPECT_FALSE(history.Forward(reference)) << "pages 3 and 4 are gone";
  ASSERT_TRUE(history.Back(reference));
  EXPECT_EQ(reference, Page(2));
  ASSERT_TRUE(history.Forward(reference));
  EXPECT_EQ(reference, Page(9));
}

TEST(PageHistoryTest, AnEmptyOrSingleHistoryHasNowhereToGo) {
  PageHistory history;
  VORObjectCode reference = Page(7);
  EXPECT_FALSE(history.Back(reference));
  EXPECT_FALSE(history.Forward(reference));
  EXPECT_EQ(reference, Page(7)) << "left as it was";
  history.Push(Page(1));
  EXPECT_FALSE(history.Back(reference));
  EXPECT_FALSE(history.Forward(reference));
}

} // namespace
