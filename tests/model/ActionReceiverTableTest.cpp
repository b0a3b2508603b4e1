#include "model/ActionReceiverTable.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "model/ActionContext.h"
#include "model/VORActionReceiver.h"
#include "model/VORObjectAction.h"
#include "support/FakeApp.h"

namespace {

// A page object's receiver: its identity includes the view and the page of
// the page instance it belongs to.
class PageObjectReceiver : public VORActionReceiver {
public:
  PageObjectReceiver(VORObjectCode reference, VORObjectCode view, VORObjectCode page)
      : VORActionReceiver(reference.GetClassKey(), reference.id), m_view(view), m_page(page) {}
  VORObjectCode GetViewReference() const override { return m_view; }
  VORObjectCode GetPageReference() const override { return m_page; }
  void MoveToView(VORObjectCode view) { m_view = view; }

private:
  VORObjectCode m_view;
  VORObjectCode m_page;
};

const VORObjectCode kButton(1, 2, 40);
const VORObjectCode kPage(0, 4, 3);
const VORObjectCode kMainView(0, 3, 1);
const VORObjectCode kChapterView(0, 3, 2);

TEST(ActionReceiverTableTest, CopiesOfOneObjectInTwoViewsAreFoundApart) {
  ActionReceiverTable table;
  PageObjectReceiver inMain(kButton, kMainView, kPage);
  PageObjectReceiver inChapter(kButton, kChapterView, kPage);
  table.Insert(&inMain);
  table.Insert(&inChapter);
  EXPECT_EQ(table.Find(kButton, kMainView, kPage), &inMain);
  EXPECT_EQ(table.Find(kButton, kChapterView, kPage), &inChapter);
  EXPECT_EQ(table.Find(kButton, VORObjectCode::Zero(), kPage), nullptr);
  EXPECT_GE(table.Remove(&inMain), 0);
  EXPECT_EQ(table.Find(kButton, kMainView, kPage), nullptr);
  EXPECT_EQ(table.Find(kButton, kChapterView, kPage), &inChapter) << "free slots do not end a search";
}

TEST(ActionReceiverTableTest, GrowsToThePrimeAboveTwiceItsSizeAtHalfLoad) {
  EXPECT_EQ(ActionReceiverTable::SmallestPrimeNotBelow(256), 257u);
  EXPECT_EQ(ActionReceiverTable::SmallestPrimeNotBelow(514), 521u);
  ActionReceiverTable table;
  std::vector<std::unique_ptr<PageObjectReceiver>> receivers;
  for (int32_t id = 0; id < 128; ++id) {
    receivers.push_back(std::make_unique<PageObjectReceiver>(VORObjectCode(1, 2, id), kMainView, kPage));
    table.Insert(receivers.back().get());
  }
  EXPECT_EQ(table.GetSize(), 257u);
  // The 129th insertion finds 128 used, the integer half of 257.
  receivers.push_back(std::make_unique<PageObjectReceiver>(VORObjectCode(1, 2, 128), kMainView, kPage));
  table.Insert(receivers.back().get());
  EXPECT_EQ(table.GetSize(), 521u);
  EXPECT_EQ(table.GetUsedCount(), 129u);
  for (const auto &receiver : receivers)
    EXPECT_EQ(table.Find(receiver->GetObjectCode(), kMainView, kPage), receiver.get());
}

// The identity a receiver reports can change after it entered the table
// (and in a base destructor it is the base's): removal still finds it.
TEST(ActionReceiverTableTest, ARemovedReceiverLeavesNoPointerBehind) {
  ActionReceiverTable table;
  PageObjectReceiver receiver(kButton, kMainView, kPage);
  table.Insert(&receiver);
  receiver.MoveToView(kChapterView);
  EXPECT_GE(table.Remove(&receiver), 0);
  EXPECT_EQ(table.GetUsedCount(), 0u);
  EXPECT_EQ(table.Find(kButton, kMainView, kPage), nullptr);
  EXPECT_EQ(table.Remove(&receiver), -1) << "not in the table any more";
}

TEST(ActionReceiverTableTest, HashFollowsTheByteOrderOfTheIdentity) {
  // The id of the receiver's own reference starts at byte 12 of 24: its
  // low byte is doubled by each of the eleven bytes after it.
  EXPECT_EQ(ActionReceiverTable::Hash(VORObjectCode(0, 0, 1), VORObjectCode::Zero(), VORObjectCode::Zero()), 1u << 11);
  // The last byte is the page id's high byte; 0xFF counts as -1.
  EXPECT_EQ(ActionReceiverTable::Hash(VORObjectCode::Zero(), VORObjectCode::Zero(),
                                      VORObjectCode(0, 0, static_cast<int32_t>(0xFF000000))),
            0xFFFFFFFFu);
}

TEST(VORActionReceiverTest, RegistersOnceAndUnregistersOnce) {
  FakeApp app;
  {
    PageObjectReceiver receiver(kButton, kMainView, kPage);
    EXPECT_FALSE(receiver.Unregister()) << "not registered yet";
    receiver.Register();
    receiver.Register();
    EXPECT_EQ(app.Receivers().GetUsedCount(), 1u);
    EXPECT_EQ(app.FindObject(kButton, kMainView, kPage), &receiver);

    PageObjectReceiver copy(receiver);
    EXPECT_FALSE(copy.IsRegistered()) << "a copy starts unregistered";

    EXPECT_TRUE(receiver.Unregister());
    EXPECT_FALSE(receiver.Unregister());
    EXPECT_EQ(app.Receivers().GetUsedCount(), 0u);
    receiver.Register();
  }
  EXPECT_EQ(app.Receivers().GetUsedCount(), 0u) << "the destructor unregisters";
}

// A run view stands in for the display layer's views.
class FakeRunViewReceiver : public VORActionReceiver {
public:
  explicit FakeRunViewReceiver(int32_t id) : VORActionReceiver(VORObjectCode::MakeClassKey(0, 3), id) { Register(); }
  VORRunView *AsRunView() override { return reinterpret_cast<VORRunView *>(this); }
};

TEST(ActionContextTest, TheRunViewIsTheOriginWhenItIsAView) {
  FakeApp app;
  FakeRunViewReceiver view(1);
  PageObjectReceiver notAView(kButton, VORObjectCode::Zero(), VORObjectCode::Zero());
  notAView.Register();

  VORObjectAction action(VORObjectAction::kClassKey, 0);
  EXPECT_EQ(ActionContext::FromAction(action).GetRunView(), nullptr) << "origin (0, 0, 0)";
  action.SetOriginObject(kMainView);
  EXPECT_EQ(ActionContext::FromAction(action).GetRunView(), view.AsRunView());
  EXPECT_EQ(ActionContext::FromAction(action).GetApp(), &app);
  action.SetOriginObject(kButton);
  EXPECT_EQ(ActionContext::FromAction(action).GetRunView(), nullptr) << "not a view";
  action.SetOriginObject(kChapterView);
  EXPECT_EQ(ActionContext::FromAction(action).GetRunView(), nullptr) << "no such object";
}

} // namespace
