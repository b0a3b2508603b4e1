#include "engine/VORPlayer.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "display/DisplaySettings.h"
#include "display/Palette.h"
#include "engine/VORVariable.h"
#include "foundation/VORException.h"
#include "model/VORPageInstance.h"
#include "model/VORPlayerGotoPageAction.h"
#include "support/FakeClock.h"
#include "support/TestPageObject.h"
#include "support/TestPlayer.h"

namespace {

using TestPublications::Chapter;
using TestPublications::Page;

// A receiver outside any page, found through the receiver table.
class Receiver : public VORActionReceiver {
public:
  Receiver(int32_t id, std::vector<int32_t> &log)
      : VORActionReceiver(VORObjectCode::MakeClassKey(5, 5), id), m_log(log) {
    Register();
  }
  bool ReceiveAction(VORObjectAction &action, ActionContext & /*context*/) override {
    m_log.push_back(action.GetActionCode());
    if (onReceive)
      onReceive(action);
    return true;
  }
  std::function<void(VORObjectAction &)> onReceive;

private:
  std::vector<int32_t> &m_log;
};

class CountedCondition : public VORActionCondition {
public:
  CountedCondition(bool answer, int *deleted) : m_answer(answer), m_deleted(deleted) {}
  ~CountedCondition() override { ++*m_deleted; }
  bool Evaluate() override { return m_answer; }

private:
  bool m_answer;
  int *m_deleted;
};

class CountedAction : public VORObjectAction {
public:
  CountedAction(int32_t code, int *deleted) : VORObjectAction(kClassKey, 0), m_deleted(deleted) {
    SetActionCode(code);
    SetTarget(VORObjectCode(5, 5, 1));
  }
  ~CountedAction() override { ++*m_deleted; }

private:
  int *m_deleted;
};

VORObjectAction *ActionFor(int32_t receiverId, int32_t code) {
  auto *action = new VORObjectAction(VORObjectAction::kClassKey, 0);
  action->SetTarget(VORObjectCode(5, 5, receiverId));
  action->SetActionCode(code);
  return action;
}

class VORPlayerTest : public ::testing::Test {
protected:
  void SetUp() override {
    TestPageObject::RegisterClass();
    clock.Set(1000);
  }

  FakeClock clock;
  TestPlayer player{clock};
  std::vector<int32_t> log;
};

// Due times fall on the 55 ms grid: a delay of 0 posted at 1000 is due at
// 990, one of 1 at 991, one of 100 at 1100.
TEST_F(VORPlayerTest, PostedActionsFallDueOnTheGrid) {
  struct Case {
    uint32_t delay;
    uint32_t due;
  } cases[] = {{0, 990}, {1, 991}, {54, 1045}, {100, 1100}, {109, 1101}};
  Receiver receiver(1, log);
  player.CreateEventQueue();
  for (const Case &c : cases) {
    log.clear();
    player.ScheduleAction(c.delay, ActionFor(1, 7), nullptr);
    player.OnTick(c.due - 1);
    EXPECT_TRUE(log.empty()) << "delay " << c.delay;
    player.OnTick(c.due);
    EXPECT_EQ(log.size(), 1u) << "delay " << c.delay;
  }
}

TEST_F(VORPlayerTest, AnOddDelayRunsAfterTheEvenOnesOfItsGridPoint) {
  Receiver receiver(1, log);
  player.CreateEventQueue();
  player.ScheduleAction(1, ActionFor(1, 2), nullptr);
  player.ScheduleAction(0, ActionFor(1, 1), nullptr);
  player.OnTick(2000);
  EXPECT_EQ(log, (std::vector<int32_t>{1, 2}));
}

TEST_F(VORPlayerTest, AFalseConditionSkipsTheActionButBothGo) {
  Receiver receiver(1, log);
  player.CreateEventQueue();
  int deleted = 0;
  player.ScheduleAction(0, new CountedAction(1, &deleted), new CountedCondition(false, &deleted));
  player.ScheduleAction(0, new CountedAction(2, &deleted), new CountedCondition(true, &deleted));
  player.OnTick(2000);
  EXPECT_EQ(log, (std::vector<int32_t>{2}));
  EXPECT_EQ(deleted, 4);
  EXPECT_TRUE(player.GetEventQueue()->IsEmpty());
}

// A modal loop inside an action ticks again: the nested tick goes on with
// the next entry, and every entry runs once.
TEST_F(VORPlayerTest, NestedTicksRunEachEntryOnce) {
  Receiver receiver(1, log);
  player.CreateEventQueue();
  bool nested = false;
  receiver.onReceive = [&](VORObjectAction &action) {
    if (action.GetActionCode() == 1 && !nested) {
      nested = true;
      player.OnTick(2000);
    }
  };
  for (int32_t code : {1, 2, 3})
    player.ScheduleAction(0, ActionFor(1, code), nullptr);
  player.OnTick(2000);
  EXPECT_EQ(log, (std::vector<int32_t>{1, 2, 3}));
}

// An action queued with a delay by one that runs, or a timed step queued
// even without delay, may fall due at once on the grid; it waits for the
// next tick, so a tick always ends.
TEST_F(VORPlayerTest, ActionsQueuedDuringATickRunAtTheNext) {
  Receiver receiver(1, log);
  player.CreateEventQueue();
  const struct Case {
    const char *name;
    std::function<void()> queue;
  } cases[] = {
      {"a retry 10 ms later", [&] { player.ScheduleAction(10, ActionFor(1, 2), nullptr); }},
      {"a timed step without delay", [&] { player.ScheduleStep(0, ActionFor(1, 2)); }},
  };
  for (const Case &c : cases) {
    log.clear();
    receiver.onReceive = [&](VORObjectAction &) { c.queue(); };
    player.ScheduleAction(0, ActionFor(1, 1), nullptr);
    player.OnTick(2000);
    EXPECT_EQ(log, (std::vector<int32_t>{1})) << c.name;
    receiver.onReceive = nullptr;
    player.OnTick(2000);
    EXPECT_EQ(log, (std::vector<int32_t>{1, 2})) << c.name;
  }
}

// A chain of actions posted without delay runs hop after hop within the
// tick, as the tick that ran the first one goes on.
TEST_F(VORPlayerTest, AChainWithoutDelayRunsWithinOneTick) {
  Receiver receiver(1, log);
  player.CreateEventQueue();
  constexpr int32_t kHops = 5;
  receiver.onReceive = [&](VORObjectAction &action) {
    if (action.GetActionCode() < kHops)
      player.ScheduleAction(0, ActionFor(1, action.GetActionCode() + 1), nullptr);
  };
  player.ScheduleAction(0, ActionFor(1, 1), nullptr);
  player.OnTick(clock.GetMilliseconds());
  EXPECT_EQ(log, (std::vector<int32_t>{1, 2, 3, 4, 5}));
  EXPECT_TRUE(player.GetEventQueue()->IsEmpty());
}

TEST_F(VORPlayerTest, ActionsScheduledWithoutAQueueAreDropped) {
  int deleted = 0;
  player.ScheduleAction(0, new CountedAction(1, &deleted), new CountedCondition(true, &deleted));
  EXPECT_EQ(deleted, 2);
}

TEST_F(VORPlayerTest, ExecuteSwallowsWhatAReceiverThrowsDispatchDoesNot) {
  Receiver receiver(1, log);
  receiver.onReceive = [](VORObjectAction &) { throw new VORWaveErrorException(3); };
  std::unique_ptr<VORObjectAction> action(ActionFor(1, 9));
  EXPECT_FALSE(player.ExecuteAction(*action));
  try {
    player.DispatchAction(*action);
    ADD_FAILURE() << "dispatch passed nothing on";
  } catch (VORException *failure) {
    delete failure;
  }
  std::unique_ptr<VORObjectAction> nobody(ActionFor(2, 9));
  EXPECT_FALSE(player.ExecuteAction(*nobody));
}

TEST_F(VORPlayerTest, ThePlayersOwnActions) {
  ASSERT_TRUE(player.Load(TestPublications::Of({Chapter(1, {Page(1)})})));
  struct Case {
    int32_t code;
    bool handled;
    int quits;
  } cases[] = {{100, true, 0}, {103, true, 1}, {104, false, 0}, {105, true, 0}, {99, false, 0}, {106, false, 0}};
  for (const Case &c : cases) {
    player.quitRequests = 0;
    std::unique_ptr<VORPlayerGotoPageAction> action(
        VORPlayerGotoPageAction::Make(c.code, VORObjectCode(0, 4, 1), VORObjectCode()));
    EXPECT_EQ(player.ExecuteAction(*action), c.handled) << c.code;
    EXPECT_EQ(player.quitRequests, c.quits) << c.code;
  }
}

// 101 and 102 of an action of another class: nothing is taken for a go-to
// action that is not one.
TEST_F(VORPlayerTest, GotoAndExitOfAPlainAction) {
  ASSERT_TRUE(player.Load(TestPublications::Of({Chapter(1, {Page(1)})})));
  VORObjectAction plain(VORObjectAction::kClassKey, 0);
  plain.SetTarget(VORPlayer::kPlayerReference);
  plain.SetActionCode(101);
  EXPECT_FALSE(player.ExecuteAction(plain));
  EXPECT_EQ(player.GetViewCount(), 0u);
  plain.SetActionCode(102);
  EXPECT_TRUE(player.ExecuteAction(plain));
  EXPECT_EQ(player.quitRequests, 1);
  EXPECT_EQ(plain.GetActionCode(), 103);
}

TEST_F(VORPlayerTest, TheWellKnownTargets) {
  ASSERT_TRUE(player.Load(TestPublications::Of({Chapter(1, {Page(1)})})));
  ASSERT_TRUE(player.ShowFirstPage(VORPlayer::kStartupView));
  const VORObjectCode zero = VORObjectCode::Zero();
  EXPECT_EQ(player.FindObject(VORObjectCode(0, 0, 1), zero, zero), &player);
  EXPECT_EQ(player.FindObject(VORObjectCode(0, 3, 1), zero, zero), player.MainView());
  EXPECT_EQ(player.FindObject(VORObjectCode(0, 3, 2), zero, zero), nullptr);
  EXPECT_EQ(player.FindObject(VORObjectCode(0, 1, 77), zero, zero), player.GetPublication());
  EXPECT_EQ(player.FindPublicationObject(VORObjectCode::MakeClassKey(0, 4), 1),
            dynamic_cast<VORCodedObject *>(&player.MainView()->GetPageInstance()->GetPage()));
}

// Every object of every shown page instance hears a broadcast, with its
// view and page as the origin.
TEST_F(VORPlayerTest, BroadcastReachesTheObjectsOfTheShownPages) {
  ASSERT_TRUE(player.Load(TestPublications::Of({Chapter(1, {Page(1, {1, 2}), Page(2, {3})})})));
  ASSERT_TRUE(player.ShowFirstPage(VORPlayer::kStartupView));
  VORPageInstance &instance = *player.MainView()->GetPageInstance();
  auto *first = dynamic_cast<TestPageObject *>(instance.ChildAt(0));
  auto *second = dynamic_cast<TestPageObject *>(instance.ChildAt(1));
  ASSERT_TRUE(first && second);
  VORObjectAction announcement(VORObjectAction::kClassKey, 0);
  announcement.SetActionCode(803);
  EXPECT_TRUE(player.BroadcastAction(announcement));
  EXPECT_EQ(first->receivedCodes, (std::vector<int32_t>{803}));
  EXPECT_EQ(second->receivedCodes, (std::vector<int32_t>{803}));
  EXPECT_TRUE(announcement.GetTarget().IsZero()) << "the receivers get a copy";
}

// A receiver of the broadcast changes the page: the page's other objects
// leave the view and hear nothing more, and nothing walks what went.
TEST_F(VORPlayerTest, BroadcastSurvivesAPageChangeInsideIt) {
  ASSERT_TRUE(player.Load(TestPublications::Of({Chapter(1, {Page(1, {1, 2, 3}), Page(2, {4})})})));
  ASSERT_TRUE(player.ShowFirstPage(VORPlayer::kStartupView));
  VORPageInstance &instance = *player.MainView()->GetPageInstance();
  auto *first = dynamic_cast<TestPageObject *>(instance.ChildAt(0));
  auto *third = dynamic_cast<TestPageObject *>(instance.ChildAt(2));
  ASSERT_TRUE(first && third);
  first->onReceive = [this](TestPageObject &, VORObjectAction &) { player.Goto(VORObjectCode(0, 4, 2)); };
  VORObjectAction announcement(VORObjectAction::kClassKey, 0);
  announcement.SetActionCode(803);
  player.BroadcastAction(announcement);
  EXPECT_EQ(player.ShownIn(1), VORObjectCode(0, 4, 2));
  EXPECT_TRUE(third->receivedCodes.empty()) << "it left the view before its turn";
}

// The views go during the broadcast: no view, instance or object that is
// gone is walked.
TEST_F(VORPlayerTest, BroadcastSurvivesTheViewsClosingInsideIt) {
  ASSERT_TRUE(player.Load(TestPublications::Of({Chapter(1, {Page(1, {1, 2})})})));
  ASSERT_TRUE(player.ShowFirstPage(VORPlayer::kStartupView));
  auto *first = dynamic_cast<TestPageObject *>(player.MainView()->GetPageInstance()->ChildAt(0));
  ASSERT_NE(first, nullptr);
  first->onReceive = [this](TestPageObject &, VORObjectAction &) { player.CloseAllViews(); };
  VORObjectAction announcement(VORObjectAction::kClassKey, 0);
  announcement.SetActionCode(803);
  EXPECT_TRUE(player.BroadcastAction(announcement));
  EXPECT_EQ(player.GetViewCount(), 0u);
}

TEST_F(VORPlayerTest, AVariableSetIsBroadcastToThePage) {
  ASSERT_TRUE(player.Load(TestPublications::Of({Chapter(1, {Page(1, {1})})})));
  ASSERT_TRUE(player.ShowFirstPage(VORPlayer::kStartupView));
  auto *object = dynamic_cast<TestPageObject *>(player.MainView()->GetPageInstance()->ChildAt(0));
  ASSERT_NE(object, nullptr);
  player.SetVariableValue("SCORE", "3");
  EXPECT_EQ(object->receivedCodes, (std::vector<int32_t>{803}));
  EXPECT_STREQ(player.GetVariables()->Find("score")->GetValue().CStr(), "3");
}

TEST_F(VORPlayerTest, ATickRefreshesTheViewsBetweenDueTimesAndAfter) {
  ASSERT_TRUE(player.Load(TestPublications::Of({Chapter(1, {Page(1)})})));
  ASSERT_TRUE(player.ShowFirstPage(VORPlayer::kStartupView));
  Receiver receiver(1, log);
  TestRunView &view = *player.MainView();
  view.refreshes = 0;
  player.OnTick(5000);
  EXPECT_EQ(view.refreshes, 0) << "nothing ran";
  player.ScheduleAction(0, ActionFor(1, 1), nullptr);
  player.ScheduleAction(0, ActionFor(1, 2), nullptr);
  player.ScheduleAction(100, ActionFor(1, 3), nullptr);
  player.OnTick(5000);
  EXPECT_EQ(view.refreshes, 2) << "once between 990 and 1100, once after the last";
}

TEST_F(VORPlayerTest, IdleViewsAreAskedInTurn) {
  ASSERT_TRUE(player.Load(TestPublications::Of({Chapter(1, {Page(1)})})));
  EXPECT_TRUE(player.CheckViewsIdle()) << "no view";
  ASSERT_TRUE(player.ShowFirstPage(VORPlayer::kStartupView));
  player.MainView()->idle = false;
  EXPECT_FALSE(player.CheckViewsIdle());
  EXPECT_TRUE(player.CheckViewsIdle()) << "asking re-armed the flag";
}

TEST_F(VORPlayerTest, ThePublicationCursorFlag) {
  ASSERT_TRUE(player.Load(TestPublications::Of({Chapter(1, {Page(1)})})));
  ASSERT_TRUE(player.ShowFirstPage(VORPlayer::kStartupView));
  const int before = player.MainView()->cursorUpdates;
  player.SetPublicationCursor(true);
  EXPECT_TRUE(player.UsesPublicationCursor());
  EXPECT_EQ(player.MainView()->cursorUpdates, before + 1);
  EXPECT_EQ(player.GetVersion(), 0x40000u);
}

// The publication's palette is the application's and the display's from the
// load until the player goes.
TEST(VORPlayerPaletteTest, ThePaletteFollowsThePublication) {
  TestPageObject::RegisterClass();
  const DisplaySettings saved = GetDisplaySettings();
  FakeClock clock;
  {
    TestPlayer player(clock);
    EXPECT_EQ(player.GetPalette(), nullptr) << "no publication yet";
    PublicationRecords::Publication written = TestPublications::Of({Chapter(1, {Page(1)})});
    written.colourDepth = 8;
    written.palette = {{1, 2, 3, 0}, {4, 5, 6, 0}};
    ASSERT_TRUE(player.Load(written));
    Palette *palette = player.GetPalette();
    ASSERT_NE(palette, nullptr);
    EXPECT_EQ(static_cast<VORApp *>(&player)->GetPalette(), palette);
    EXPECT_EQ(GetDisplaySettings().applicationPalette, palette);
    ASSERT_EQ(palette->GetCount(), 2);
    EXPECT_EQ(palette->GetEntries()[1].red, 6);
    player.DropPalette();
    EXPECT_EQ(player.GetPalette(), nullptr);
    EXPECT_EQ(GetDisplaySettings().applicationPalette, nullptr);
    player.MakePalette();
    EXPECT_NE(GetDisplaySettings().applicationPalette, nullptr);
  }
  EXPECT_EQ(GetDisplaySettings().applicationPalette, nullptr) << "the player took its palette with it";
  GetDisplaySettings() = saved;
}

TEST_F(VORPlayerTest, ANoticeChangesNothing) {
  ASSERT_TRUE(player.Load(TestPublications::Of({Chapter(1, {Page(1, {1})})})));
  ASSERT_TRUE(player.ShowFirstPage(VORPlayer::kStartupView));
  Receiver receiver(1, log);
  player.ScheduleAction(0, ActionFor(1, 7), nullptr);
  static_cast<VORApp &>(player).Notify();
  EXPECT_EQ(player.ShownIn(1), VORObjectCode(0, 4, 1));
  EXPECT_TRUE(log.empty()) << "nothing ran";
  player.OnTick(clock.GetMilliseconds());
  EXPECT_EQ(log, std::vector<int32_t>{7}) << "and nothing queued was dropped";
}

} // namespace
