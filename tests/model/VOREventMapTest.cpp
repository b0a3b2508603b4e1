#include "model/VOREventMap.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "model/VOREvent.h"
#include "model/VOREventList.h"
#include "model/VORObjectAction.h"
#include "model/VORTrigger.h"
#include "support/FakeApp.h"
#include "support/PublicationRecords.h"
#include "support/WrittenFolder.h"

namespace {

using namespace PublicationRecords;

// A class key no class has: its objects are skipped.
constexpr VORObjectKey kUnknownTrigger{3, 0x7E, 1};

// Event i posts one plain action whose code is 100 + i.
ListedObject EventPosting(uint32_t i) {
  ActionFields fields;
  fields.target = VORObjectKey{1, 2, 9};
  fields.code = static_cast<int32_t>(100 + i);
  Event event;
  event.id = i;
  event.objects = {Action(1, i, fields)};
  event.delays = {0};
  return event.Object();
}

class VOREventMapTest : public ::testing::Test {
protected:
  // Reads the written list and map as a page's properties hold them.
  void Read(const Events &written) {
    folder = std::make_unique<WrittenFolder>([&](PublicationWriter::Folder &f) {
      written.AddListTo(f.AddAnonymousFolder());
      written.AddMapTo(f.AddAnonymousFolder());
    });
    list.Read(folder->File());
    map.Read(folder->File());
  }

  // The codes of the actions posted, in order, and the queue emptied.
  std::vector<int32_t> Posted() {
    std::vector<int32_t> codes;
    for (const FakeApp::Scheduled &scheduled : app.ScheduledActions())
      codes.push_back(scheduled.action->GetActionCode());
    app.ScheduledActions().clear();
    return codes;
  }

  uint32_t Skipped() const { return folder->File().GetSkippedObjectCount(); }

  FakeApp app;
  std::unique_ptr<WrittenFolder> folder;
  VOREventList list;
  VOREventMap map;
};

TEST_F(VOREventMapTest, EveryMatchFiresInMapOrder) {
  Events written;
  written.list = {EventPosting(0), EventPosting(1), EventPosting(2)};
  written.triggers = {MouseTrigger(1, 5), KeyboardTrigger(2, 'X'), MouseTrigger(3, 5)};
  written.indexes = {2, 1, 0};
  Read(written);
  EXPECT_EQ(map.FireEvents(VORMouseTrigger(5), list), 2u);
  EXPECT_EQ(Posted(), (std::vector<int32_t>{102, 100}));
  EXPECT_TRUE(map.HasEventFor(VORKeyboardTrigger('x'), list));
  EXPECT_FALSE(map.HasEventFor(VORMouseTrigger(6), list));
  EXPECT_EQ(map.FireEvents(VORMouseTrigger(6), list), 0u);
  EXPECT_TRUE(Posted().empty());
}

// An entry that names no event, or one past the list, fires nothing; the
// search goes on to the later matches.
TEST_F(VOREventMapTest, EntriesWithoutAnEventDoNotEndTheSearch) {
  Events written;
  written.list = {EventPosting(0), EventPosting(1)};
  written.triggers = {AutoStartTrigger(1), AutoStartTrigger(2), AutoStartTrigger(3)};
  written.indexes = {VOREventMap::kNoEvent, 7, 1};
  Read(written);
  uint16_t index = 0;
  ASSERT_TRUE(map.FindMatch(VORAutoStartTrigger(), 0, index));
  EXPECT_EQ(index, VOREventMap::kNoEvent) << "found, and naming no event";
  ASSERT_TRUE(map.FindMatch(VORAutoStartTrigger(), 2, index));
  EXPECT_EQ(index, 1);
  EXPECT_FALSE(map.FindMatch(VORAutoStartTrigger(), 3, index));
  EXPECT_EQ(map.FireEvents(VORAutoStartTrigger(), list), 1u);
  EXPECT_EQ(Posted(), (std::vector<int32_t>{101}));
  EXPECT_TRUE(map.HasEventFor(VORAutoStartTrigger(), list));
}

// The writer stores one index for every trigger it lists. A trigger the
// player cannot keep (here one of an unknown class, and one whose record is
// missing) takes its index with it: the triggers after it keep theirs.
TEST_F(VOREventMapTest, IndexesStayWithTheirTriggersWhenOneIsSkipped) {
  Events written;
  written.list = {EventPosting(0), EventPosting(1), EventPosting(2), EventPosting(3)};
  ListedObject missing = MouseTrigger(4, 9);
  missing.withoutRecord = true;
  written.triggers = {MouseTrigger(1, 1), ListedObject{kUnknownTrigger, {0, 0}}, missing, MouseTrigger(2, 2)};
  written.indexes = {0, 1, 2, 3};
  Read(written);
  EXPECT_EQ(map.GetCount(), 2u);
  EXPECT_EQ(Skipped(), 2u);
  map.FireEvents(VORMouseTrigger(1), list);
  map.FireEvents(VORMouseTrigger(2), list);
  EXPECT_EQ(Posted(), (std::vector<int32_t>{100, 103}));
}

TEST_F(VOREventMapTest, AShortIndexListLeavesTheRestWithoutEvents) {
  Events written;
  written.list = {EventPosting(0)};
  written.triggers = {MouseTrigger(1, 1), MouseTrigger(2, 2)};
  written.indexes = {0};
  Read(written);
  ASSERT_EQ(map.GetCount(), 2u);
  uint16_t index = 0;
  ASSERT_TRUE(map.FindMatch(VORMouseTrigger(2), 0, index));
  EXPECT_EQ(index, VOREventMap::kNoEvent);
  EXPECT_EQ(map.FireEvents(VORMouseTrigger(2), list), 0u);
}

// A place that holds no event (an object of an unknown class, one that is
// not an event) stays empty, so that the map's indexes still name the
// events after it.
TEST_F(VOREventMapTest, APlaceWithoutAnEventKeepsItsIndex) {
  Events written;
  written.list = {EventPosting(0), MouseTrigger(9, 1), ListedObject{kUnknownTrigger, {}}, EventPosting(3)};
  written.triggers = {MouseTrigger(1, 1)};
  written.indexes = {3};
  Read(written);
  EXPECT_EQ(list.GetCount(), 4u);
  EXPECT_NE(list.GetEvent(0), nullptr);
  EXPECT_EQ(list.GetEvent(1), nullptr);
  EXPECT_EQ(list.GetEvent(2), nullptr);
  EXPECT_EQ(list.GetEvent(4), nullptr);
  EXPECT_EQ(Skipped(), 2u);
  map.FireEvents(VORMouseTrigger(1), list);
  EXPECT_EQ(Posted(), (std::vector<int32_t>{103}));
}

TEST_F(VOREventMapTest, MissingFoldersGiveEmptyListAndMap) {
  WrittenFolder empty([](PublicationWriter::Folder &) {});
  list.Add(new VOREvent);
  map.Add(new VORAutoStartTrigger, 0);
  list.Read(empty.File());
  map.Read(empty.File());
  EXPECT_EQ(list.GetCount(), 0u);
  EXPECT_EQ(map.GetCount(), 0u);
}

TEST_F(VOREventMapTest, CopiesAreDeepAndKeepTheIndexes) {
  Events written;
  written.list = {EventPosting(0), EventPosting(1)};
  written.triggers = {KeyboardTrigger(1, 'K')};
  written.indexes = {1};
  Read(written);
  VOREventList listCopy;
  VOREventMap mapCopy;
  listCopy.CopyFrom(list);
  mapCopy.CopyFrom(map);
  list.Clear();
  map.Clear();
  ASSERT_EQ(listCopy.GetCount(), 2u);
  EXPECT_EQ(mapCopy.FireEvents(VORKeyboardTrigger('k'), listCopy), 1u);
  EXPECT_EQ(Posted(), (std::vector<int32_t>{101}));
}

// The page instance gives its view and page to every action, and each
// posting carries them.
TEST_F(VOREventMapTest, PostedActionsCarryTheirOrigin) {
  Events written;
  written.list = {EventPosting(0)};
  written.triggers = {AutoStartTrigger(1)};
  written.indexes = {0};
  Read(written);
  list.SetOrigin(VORObjectCode(0, 3, 1), VORObjectCode(0, 4, 12));
  map.FireEvents(VORAutoStartTrigger(), list);
  ASSERT_EQ(app.ScheduledActions().size(), 1u);
  const VORObjectAction &posted = *app.ScheduledActions()[0].action;
  EXPECT_EQ(posted.GetOriginObject(), VORObjectCode(0, 3, 1));
  EXPECT_EQ(posted.GetOriginPage(), VORObjectCode(0, 4, 12));
  EXPECT_EQ(posted.GetTarget(), VORObjectCode(1, 2, 9));
}

} // namespace
