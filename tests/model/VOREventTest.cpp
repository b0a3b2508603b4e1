#include "model/VOREvent.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "model/VORActionList.h"
#include "model/VOREventCondition.h"
#include "model/VORObjectAction.h"
#include "support/FakeApp.h"
#include "support/FakeRecordFile.h"
#include "support/NestedFolders.h"
#include "support/PublicationRecords.h"
#include "support/WrittenFolder.h"
#include "vorfile/VORCompiledFile.h"
#include "vorfile/VORFileException.h"

namespace {

using namespace PublicationRecords;

ListedObject PlainAction(uint32_t id, int32_t code) {
  ActionFields fields;
  fields.target = VORObjectKey{1, 2, 9};
  fields.code = code;
  return Action(1, id, fields);
}

Condition Comparison(uint32_t id, const char *variable) {
  Condition condition;
  condition.id = id;
  condition.op = VOREventCondition::kEqual;
  condition.variable = variable;
  condition.operand = "yes";
  return condition;
}

class VOREventTest : public ::testing::Test {
protected:
  std::unique_ptr<VOREvent> Read(const Event &written) {
    const ListedObject object = written.Object();
    folder = std::make_unique<WrittenFolder>([&](PublicationWriter::Folder &f) { object.AddTo(f); });
    auto event = std::make_unique<VOREvent>(static_cast<int32_t>(written.id));
    event->Read(folder->File());
    return event;
  }

  // (code, delay) of each action of the event.
  static std::vector<std::pair<int32_t, uint32_t>> Actions(const VOREvent &event) {
    std::vector<std::pair<int32_t, uint32_t>> actions;
    const VORActionList *list = event.GetActionList();
    for (uint32_t i = 0; list && i < list->GetCount(); ++i)
      actions.emplace_back(list->GetAction(i)->GetActionCode(), list->GetDelay(i));
    return actions;
  }

  using Actions_ = std::vector<std::pair<int32_t, uint32_t>>;

  FakeApp app;
  std::unique_ptr<WrittenFolder> folder;
};

TEST_F(VOREventTest, ReadsActionsWithTheirDelaysAndTheCondition) {
  Event written;
  written.objects = {PlainAction(1, 11), Comparison(1, "answer").Object(), PlainAction(2, 12)};
  written.delays = {500, 1001};
  std::unique_ptr<VOREvent> event = Read(written);
  EXPECT_EQ(Actions(*event), (Actions_{{11, 500}, {12, 1001}}));
  ASSERT_NE(event->GetCondition(), nullptr);
  EXPECT_STREQ(event->GetCondition()->GetVariableName().CStr(), "answer");
  EXPECT_EQ(folder->File().GetSkippedObjectCount(), 0u);
}

TEST_F(VOREventTest, AShortDelayListLeavesTheRestZero) {
  Event written;
  written.objects = {PlainAction(1, 11), PlainAction(2, 12), PlainAction(3, 13)};
  written.delays = {70};
  EXPECT_EQ(Actions(*Read(written)), (Actions_{{11, 70}, {12, 0}, {13, 0}}));
}

// The writer stores a delay for every action it lists; a condition has
// none. An action the player cannot keep (an unknown class, a record cut
// short) drops its delay with it, so that the actions after it keep
// theirs. Only the first condition counts.
TEST_F(VOREventTest, DelaysStayWithTheirActionsWhenOneIsSkipped) {
  ListedObject cut = PlainAction(3, 13);
  cut.record.resize(3);
  Event written;
  written.objects = {PlainAction(1, 11),
                     ListedObject{VORObjectKey{3, 0x7E, 1}, {}},
                     Comparison(1, "first").Object(),
                     cut,
                     Comparison(2, "second").Object(),
                     PlainAction(4, 14)};
  written.delays = {100, 200, 300, 400};
  std::unique_ptr<VOREvent> event = Read(written);
  EXPECT_EQ(Actions(*event), (Actions_{{11, 100}, {14, 400}}));
  ASSERT_NE(event->GetCondition(), nullptr);
  EXPECT_STREQ(event->GetCondition()->GetVariableName().CStr(), "first");
  EXPECT_EQ(folder->File().GetSkippedObjectCount(), 2u);
}

TEST_F(VOREventTest, AnEventWithoutActionsHasNoList) {
  Event written;
  written.objects = {Comparison(1, "x").Object()};
  std::unique_ptr<VOREvent> event = Read(written);
  EXPECT_EQ(event->GetActionList(), nullptr);
  event->Fire();
  EXPECT_TRUE(app.ScheduledActions().empty());
}

// An odd delay runs after the even ones of the same time: setting a delay
// keeps the odd bit the entry had.
TEST_F(VOREventTest, SetDelayKeepsTheOddBit) {
  VORActionList list;
  list.Add(1, new VORObjectAction(VORObjectAction::kClassKey, 1));
  list.Add(4, new VORObjectAction(VORObjectAction::kClassKey, 2));
  EXPECT_TRUE(list.SetDelay(0, 200));
  EXPECT_TRUE(list.SetDelay(1, 301));
  EXPECT_FALSE(list.SetDelay(2, 5));
  EXPECT_EQ(list.GetDelay(0), 201u);
  EXPECT_EQ(list.GetDelay(1), 301u);
}

TEST_F(VOREventTest, FirePostsClonesWithTheirDelaysAndTheCondition) {
  Event written;
  written.objects = {PlainAction(1, 11), PlainAction(2, 12), Comparison(1, "answer").Object()};
  written.delays = {0, 110};
  std::unique_ptr<VOREvent> event = Read(written);
  event->Fire();
  event->Fire();
  ASSERT_EQ(app.ScheduledActions().size(), 4u);
  const VORActionList &list = *event->GetActionList();
  for (size_t i = 0; i < 4; ++i) {
    const FakeApp::Scheduled &posted = app.ScheduledActions()[i];
    EXPECT_EQ(posted.delay, i % 2 ? 110u : 0u) << i;
    EXPECT_EQ(posted.action->GetActionCode(), i % 2 ? 12 : 11) << i;
    EXPECT_NE(posted.action.get(), list.GetAction(i % 2)) << "a clone";
    ASSERT_NE(posted.condition, nullptr) << i;
    EXPECT_NE(posted.condition.get(), event->GetCondition()) << "a clone";
  }
  // The clones decide on their own.
  app.Variables()["answer"] = "YES";
  EXPECT_TRUE(app.ScheduledActions()[0].condition->Evaluate());
}

TEST_F(VOREventTest, AClonedEventOwnsCopiesOfEverything) {
  Event written;
  written.objects = {PlainAction(1, 11), Comparison(1, "answer").Object()};
  written.delays = {30};
  std::unique_ptr<VOREvent> event = Read(written);
  std::unique_ptr<VOREvent> copy(event->Clone());
  EXPECT_NE(copy->GetActionList(), event->GetActionList());
  EXPECT_NE(copy->GetCondition(), event->GetCondition());
  event.reset();
  EXPECT_EQ(Actions(*copy), (Actions_{{11, 30}}));
  EXPECT_STREQ(copy->GetCondition()->GetOperand().CStr(), "yes");
}

// An event that lists an event, and so on: read while the folders stay
// within the file layer's depth, refused as a damaged file beyond it (5000
// levels would otherwise take one recursion each and overflow the stack).
TEST_F(VOREventTest, EventsNestedPastTheFolderLimitAreADamagedFile) {
  const VORObjectKey key{VOREvent::kCategory, VOREvent::kCode, 7};
  const std::vector<uint8_t> delay = RecordBytes().Uint32(0).Take();
  const auto read = [&](uint32_t levels) {
    WrittenFolder nested([&](PublicationWriter::Folder &f) {
      f.AddRaw(NestedFolders(levels, PublicationWriter::ReferenceKey(key), delay));
    });
    VOREvent event(7);
    event.Read(nested.File());
  };
  EXPECT_NO_THROW(read(VORCompiledFile::kMaxFolderDepth - 1));
  EXPECT_THROW(read(VORCompiledFile::kMaxFolderDepth), VORFileCorruptFileException);
  EXPECT_THROW(read(5000), VORFileCorruptFileException);
}

} // namespace
