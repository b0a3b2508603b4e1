#include "engine/VOREventQ.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// An action that says when it goes.
class CountedAction : public VORObjectAction {
public:
  CountedAction(int32_t code, int *deleted) : VORObjectAction(kClassKey, 0), m_deleted(deleted) { SetActionCode(code); }
  ~CountedAction() override {
    if (m_deleted)
      ++*m_deleted;
  }

private:
  int *m_deleted;
};

class CountedCondition : public VORActionCondition {
public:
  explicit CountedCondition(int *deleted) : m_deleted(deleted) {}
  ~CountedCondition() override { ++*m_deleted; }
  bool Evaluate() override { return true; }

private:
  int *m_deleted;
};

// The codes of the entries due by now, in the order they come out.
std::vector<int32_t> PopAll(VOREventQ &queue, uint32_t now, uint64_t mark = VOREventQ::kNoMark) {
  std::vector<int32_t> codes;
  std::unique_ptr<VORObjectAction> action;
  std::unique_ptr<VORActionCondition> condition;
  uint32_t due = 0;
  while (queue.PopDue(now, action, condition, due, mark))
    codes.push_back(action->GetActionCode());
  return codes;
}

TEST(VOREventQTest, EqualDueTimesKeepTheirArrivalOrder) {
  VOREventQ queue;
  queue.Insert(110, new CountedAction(1, nullptr), nullptr);
  queue.Insert(110, new CountedAction(2, nullptr), nullptr);
  queue.Insert(55, new CountedAction(3, nullptr), nullptr);
  EXPECT_EQ(PopAll(queue, 110), (std::vector<int32_t>{3, 1, 2}));
}

TEST(VOREventQTest, NothingComesOutBeforeItsTime) {
  VOREventQ queue;
  queue.Insert(1000, new CountedAction(1, nullptr), nullptr);
  EXPECT_TRUE(PopAll(queue, 999).empty());
  EXPECT_EQ(PopAll(queue, 1000), (std::vector<int32_t>{1}));
}

// The millisecond clock wraps after 49.7 days: an entry due just after the
// wrap still comes after one due just before it, and neither is due while
// the clock stands before the wrap.
TEST(VOREventQTest, DueTimesAcrossTheClocksWrap) {
  VOREventQ queue;
  queue.Insert(0x00000020u, new CountedAction(2, nullptr), nullptr);
  queue.Insert(0xFFFFFFF0u, new CountedAction(1, nullptr), nullptr);
  EXPECT_TRUE(PopAll(queue, 0xFFFFFFE0u).empty());
  EXPECT_EQ(PopAll(queue, 0xFFFFFFF8u), (std::vector<int32_t>{1}));
  EXPECT_TRUE(PopAll(queue, 0xFFFFFFFFu).empty());
  EXPECT_EQ(PopAll(queue, 0x00000030u), (std::vector<int32_t>{2}));
}

TEST(VOREventQTest, EntriesInsertedAfterAMarkWait) {
  VOREventQ queue;
  queue.Insert(100, new CountedAction(1, nullptr), nullptr);
  const uint64_t mark = queue.GetMark();
  queue.Insert(50, new CountedAction(2, nullptr), nullptr);
  std::unique_ptr<VORObjectAction> action;
  std::unique_ptr<VORActionCondition> condition;
  uint32_t due = 0;
  ASSERT_TRUE(queue.PopDue(100, action, condition, due, mark));
  EXPECT_EQ(action->GetActionCode(), 1) << "the earlier entry came after the mark";
  EXPECT_FALSE(queue.PopDue(100, action, condition, due, mark));
  EXPECT_EQ(PopAll(queue, 100), (std::vector<int32_t>{2}));
}

// An entry posted without delay while a tick runs still runs in it.
TEST(VOREventQTest, ChainedEntriesInsertedAfterAMarkRunAtOnce) {
  VOREventQ queue;
  const uint64_t mark = queue.GetMark();
  queue.Insert(50, new CountedAction(1, nullptr), nullptr, false);
  queue.Insert(50, new CountedAction(2, nullptr), nullptr, true);
  EXPECT_EQ(PopAll(queue, 100, mark), (std::vector<int32_t>{2})) << "the chained entry passes the one that waits";
  EXPECT_EQ(PopAll(queue, 100), (std::vector<int32_t>{1}));
}

TEST(VOREventQTest, APageLeavingDropsItsActionsButTheScoresAndOthers) {
  const VORObjectCode view(0, 3, 1);
  const VORObjectCode page(0, 4, 7);
  const VORObjectCode otherPage(0, 4, 8);
  int deleted = 0;
  VOREventQ queue;
  auto add = [&](int32_t code, const VORObjectCode &target, const VORObjectCode &fromPage) {
    auto *action = new CountedAction(code, &deleted);
    action->SetTarget(target);
    action->SetOriginObject(view);
    action->SetOriginPage(fromPage);
    queue.Insert(100, action, new CountedCondition(&deleted));
  };
  add(1, VORObjectCode(1, 5, 9), page);
  add(2, VOREventQ::kScoreManager, page);
  add(3, VORObjectCode(1, 5, 9), otherPage);
  add(4, VORObjectCode(0, 0, 1), page);
  queue.RemoveActionsFrom(view, page);
  EXPECT_EQ(deleted, 4) << "two actions with their conditions";
  EXPECT_EQ(PopAll(queue, 100), (std::vector<int32_t>{2, 3}));
}

TEST(VOREventQTest, EntriesStillQueuedGoWithTheQueue) {
  int deleted = 0;
  {
    VOREventQ queue;
    queue.Insert(10, new CountedAction(1, &deleted), new CountedCondition(&deleted));
    queue.Insert(20, new CountedAction(2, &deleted), nullptr);
  }
  EXPECT_EQ(deleted, 3);
}

} // namespace
