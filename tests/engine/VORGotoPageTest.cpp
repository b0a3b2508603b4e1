#include "engine/VORPlayer.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "model/VORPageInstance.h"
#include "model/VORPlayerGotoPageAction.h"
#include "support/FakeClock.h"
#include "support/TestPageObject.h"
#include "support/TestPlayer.h"

namespace {

using PublicationRecords::Publication;
using TestPublications::Chapter;
using TestPublications::Page;

constexpr VORObjectCode kMainView(0, 3, 1);

VORObjectCode PageRef(int32_t id) { return VORObjectCode(0, 4, id); }
VORObjectCode Navigation(int32_t kind) { return VORObjectCode(0, 0, kind); }

// Chapter 1 with pages 1 to 3, chapter 2 with pages 4 and 5.
Publication TwoChapters() {
  return TestPublications::Of(
      {Chapter(1, {Page(1, {11}), Page(2, {21}), Page(3, {31})}), Chapter(2, {Page(4, {41}), Page(5, {51})})});
}

class VORGotoPageTest : public ::testing::Test {
protected:
  void SetUp() override {
    TestPageObject::RegisterClass();
    clock.Set(1000);
  }
  void Start(const Publication &publication) {
    ASSERT_TRUE(player.Load(publication));
    ASSERT_TRUE(player.ShowFirstPage(VORPlayer::kStartupView));
  }

  FakeClock clock;
  TestPlayer player{clock};
};

TEST_F(VORGotoPageTest, TheFirstPageMakesTheMainView) {
  Start(TwoChapters());
  ASSERT_EQ(player.GetViewCount(), 1u);
  EXPECT_EQ(player.ShownIn(1), PageRef(1));
  TestRunView &view = *player.MainView();
  EXPECT_TRUE(view.IsPageEntryCompleted());
  EXPECT_EQ(view.GetHistory().GetCurrentIndex(), 0);
  EXPECT_GE(view.flushes, 1);
  auto *object = dynamic_cast<TestPageObject *>(view.GetPageInstance()->ChildAt(0));
  ASSERT_NE(object, nullptr);
  EXPECT_EQ(object->shownCount, 1) << "the page entry completed once";
  EXPECT_EQ(object->GetViewReference(), kMainView);
  EXPECT_FALSE(player.UsesPublicationCursor()) << "the cursor flag is given back";
}

// Go-to actions that the player makes itself carry no origin: they are
// shown in the existing main view rather than each in a new one.
TEST_F(VORGotoPageTest, ActionsWithoutOriginUseTheExistingView) {
  Start(TwoChapters());
  const VORObjectCode noOrigin = VORObjectCode::Zero();
  for (const VORObjectCode &viewReference : {VORObjectCode(0, 0, 5), VORObjectCode(0, 0, 6), VORObjectCode()}) {
    EXPECT_TRUE(player.Goto(PageRef(3), noOrigin, viewReference));
    EXPECT_EQ(player.GetViewCount(), 1u);
    EXPECT_EQ(player.ShownIn(1), PageRef(3));
    EXPECT_TRUE(player.Goto(PageRef(2), VORObjectCode(0, 3, 9), viewReference)) << "a view that is gone";
    EXPECT_EQ(player.GetViewCount(), 1u);
  }
}

// Each kind from the page before it; the history grows with fresh pages
// only.
TEST_F(VORGotoPageTest, NavigationKinds) {
  Start(TwoChapters());
  struct Step {
    const char *what;
    VORObjectCode target;
    int32_t shown;
  } steps[] = {
      {"next", Navigation(8), 2},
      {"next", Navigation(8), 3},
      {"next across the chapter's end", Navigation(8), 4},
      {"previous across the chapter's start", Navigation(9), 3},
      {"back", Navigation(10), 4},
      {"back", Navigation(10), 3},
      {"forward", Navigation(11), 4},
      {"a page by its reference", PageRef(5), 5},
      {"back", Navigation(10), 4},
  };
  for (const Step &step : steps) {
    EXPECT_TRUE(player.Goto(step.target, kMainView)) << step.what;
    EXPECT_EQ(player.ShownIn(1), PageRef(step.shown)) << step.what;
  }
  EXPECT_EQ(player.GetViewCount(), 1u);
}

TEST_F(VORGotoPageTest, RandomPagesStayInTheChapterAndMove) {
  Start(TwoChapters());
  for (int32_t kind : {15, 16, 16, 15, 16}) {
    const VORObjectCode before = player.ShownIn(1);
    ASSERT_TRUE(player.Goto(Navigation(kind), kMainView)) << kind;
    const VORObjectCode after = player.ShownIn(1);
    EXPECT_NE(after, before) << kind;
    EXPECT_TRUE(after.id >= 1 && after.id <= 3) << kind;
  }
}

TEST_F(VORGotoPageTest, AnEmptyHistoryGoesToAPageThatIsNot) {
  Start(TwoChapters());
  EXPECT_FALSE(player.Goto(Navigation(10), kMainView));
  ASSERT_EQ(player.missingPages.size(), 1u);
  EXPECT_EQ(player.missingPages[0], VORObjectCode::Zero());
  EXPECT_EQ(player.ShownIn(1), PageRef(1)) << "the page stays";
  EXPECT_FALSE(player.Goto(Navigation(11), kMainView));
  EXPECT_FALSE(player.Goto(PageRef(99), kMainView));
  EXPECT_EQ(player.missingPages.back(), PageRef(99));
  ASSERT_TRUE(player.Goto(PageRef(5), kMainView));
  EXPECT_FALSE(player.Goto(Navigation(8), kMainView)) << "no page after the last";
  EXPECT_EQ(player.ShownIn(1), PageRef(5));
}

// A chapter the passwords keep closed shows the publication's page for
// refused chapters instead, or nothing when it names none.
TEST_F(VORGotoPageTest, ARefusedChapter) {
  struct Case {
    const char *what;
    VORObjectKey refusedPage;
    bool result;
    int32_t shown;
  } cases[] = {
      {"refused page given", VORObjectKey{0, 4, 2}, true, 2},
      {"no refused page", VORObjectKey{0, 0, 0}, false, 1},
      {"refused page missing", VORObjectKey{0, 4, 77}, false, 1},
  };
  for (const Case &c : cases) {
    FakeClock caseClock;
    TestPlayer casePlayer(caseClock);
    Publication publication = TwoChapters();
    publication.properties.passwordsOn = 1;
    publication.properties.passwords = {{"secret", {VORObjectKey{0, 2, 1}}}};
    publication.properties.refusedChapterPage = c.refusedPage;
    publication.properties.askUser = 0;
    ASSERT_TRUE(casePlayer.Load(publication)) << c.what;
    casePlayer.SetVariableValue("CHAPTER_PASSWORD", "secret");
    ASSERT_TRUE(casePlayer.ShowFirstPage(VORPlayer::kStartupView)) << c.what;
    EXPECT_EQ(casePlayer.Goto(PageRef(4), kMainView), c.result) << c.what;
    EXPECT_EQ(casePlayer.ShownIn(1), PageRef(c.shown)) << c.what;
  }
}

// A page change that meets a running transition takes the old page out and
// tries again 10 ms later in the same view; it makes no view of its own.
TEST_F(VORGotoPageTest, ARetryDuringATransitionMakesNoView) {
  Start(TwoChapters());
  TestRunView &view = *player.MainView();
  view.transitionDone = false;
  EXPECT_TRUE(player.Goto(PageRef(3), kMainView));
  EXPECT_FALSE(view.HasPageInstance()) << "the old page left";
  player.OnTick(clock.GetMilliseconds() + 100);
  EXPECT_EQ(player.GetViewCount(), 1u);
  EXPECT_FALSE(view.HasPageInstance()) << "still waiting";
  view.transitionDone = true;
  clock.Advance(100);
  player.OnTick(clock.GetMilliseconds() + 100);
  EXPECT_EQ(player.GetViewCount(), 1u);
  EXPECT_EQ(player.ShownIn(1), PageRef(3));
}

// A page change reached through a chain of actions without delay still
// waits its 10 ms when a transition runs: the tick that met the transition
// ends, and the retry runs at a later one.
TEST_F(VORGotoPageTest, ARetryReachedByAChainWithoutDelayWaitsForALaterTick) {
  Start(TwoChapters());
  TestRunView &view = *player.MainView();
  view.transitionDone = false;
  player.ScheduleAction(0, VORPlayerGotoPageAction::Make(VORPlayer::kGotoPage, PageRef(3), kMainView), nullptr);
  player.OnTick(clock.GetMilliseconds());
  EXPECT_FALSE(view.HasPageInstance()) << "the old page left, the new one waits";
  ASSERT_EQ(player.GetEventQueue()->GetCount(), 1u) << "one retry, not run in the tick that posted it";
  view.transitionDone = true;
  clock.Advance(VORPlayer::kRetryDelayMs);
  player.OnTick(clock.GetMilliseconds());
  EXPECT_EQ(player.ShownIn(1), PageRef(3));
}

TEST_F(VORGotoPageTest, AChapterWithItsOwnWindowGetsItsOwnView) {
  Publication publication = TwoChapters();
  publication.chapters[1].properties.ownWindow = 1;
  Start(publication);
  EXPECT_TRUE(player.Goto(PageRef(4), kMainView));
  ASSERT_EQ(player.GetViewCount(), 2u);
  EXPECT_EQ(player.ShownIn(1), PageRef(1));
  EXPECT_EQ(player.ShownIn(2), PageRef(4));
  EXPECT_TRUE(player.Goto(PageRef(5), VORObjectCode(0, 3, 2)));
  EXPECT_EQ(player.ShownIn(2), PageRef(5));
  EXPECT_TRUE(player.Goto(PageRef(2), VORObjectCode(0, 3, 2)));
  EXPECT_EQ(player.ShownIn(1), PageRef(2)) << "back in the main view";
  EXPECT_EQ(player.ShownIn(2), PageRef(5));
  EXPECT_EQ(player.GetViewCount(), 2u);
}

// The screen saver has one window: a chapter's pages show in it too.
TEST_F(VORGotoPageTest, InOneWindowAChapterWithItsOwnWindowShowsInTheMainView) {
  Publication publication = TwoChapters();
  publication.chapters[1].properties.ownWindow = 1;
  player.PlayInOneWindow(true);
  Start(publication);
  EXPECT_TRUE(player.Goto(PageRef(4), kMainView));
  EXPECT_EQ(player.GetViewCount(), 1u);
  EXPECT_EQ(player.ShownIn(1), PageRef(4));
  EXPECT_TRUE(player.Goto(Navigation(8), kMainView));
  EXPECT_EQ(player.ShownIn(1), PageRef(5));
  EXPECT_EQ(player.GetViewCount(), 1u);
}

TEST_F(VORGotoPageTest, WithoutAViewNothingIsShown) {
  ASSERT_TRUE(player.Load(TwoChapters()));
  player.makesViews = false;
  EXPECT_FALSE(player.ShowFirstPage(VORPlayer::kStartupView));
  EXPECT_EQ(player.GetViewCount(), 0u);
}

// The start page that cannot be shown (one of its objects is damaged) is
// passed over for the first page that can.
TEST_F(VORGotoPageTest, AStartPageThatCannotBeShown) {
  ASSERT_TRUE(player.Load(
      TestPublications::Of({Chapter(1, {Page(7, {1}, TestPageObject::kCorruptTag), Page(3, {2}), Page(2, {3})})})));
  EXPECT_TRUE(player.ShowFirstPage(VORPlayer::kStartupView));
  EXPECT_EQ(player.ShownIn(1), PageRef(2));
  EXPECT_EQ(player.GetViewCount(), 1u);
}

TEST_F(VORGotoPageTest, NoPageCanBeShown) {
  ASSERT_TRUE(player.Load(TwoChapters()));
  player.SetFileOpens(false);
  EXPECT_FALSE(player.ShowFirstPage(VORPlayer::kStartupView));
  EXPECT_FALSE(player.AnyViewShowsPage());
}

TEST_F(VORGotoPageTest, ExitThroughTheClosingPage) {
  struct Case {
    const char *what;
    uint32_t flags;
    int32_t closingDelay;
    bool closingShownAlready;
    int quitsAtOnce;
    int quitsLater;
    int32_t shown;
  } cases[] = {
      {"no closing page asked for", 0, 2, false, 1, 1, 1},
      {"closing page, then quit after its delay", 4, 2, false, 0, 1, 5},
      {"closing page that stays", 4, -1, false, 0, 0, 5},
      {"closing page shown already", 4, 2, true, 1, 1, 5},
  };
  for (const Case &c : cases) {
    FakeClock caseClock;
    caseClock.Set(1000);
    TestPlayer casePlayer(caseClock);
    Publication publication = TwoChapters();
    publication.properties.flags = c.flags;
    publication.properties.closingPage = VORObjectKey{0, 4, 5};
    publication.properties.closingDelay = c.closingDelay;
    ASSERT_TRUE(casePlayer.Load(publication)) << c.what;
    ASSERT_TRUE(casePlayer.ShowFirstPage(VORPlayer::kStartupView)) << c.what;
    if (c.closingShownAlready)
      casePlayer.Goto(PageRef(5), kMainView);
    std::unique_ptr<VORPlayerGotoPageAction> exit(
        VORPlayerGotoPageAction::Make(VORPlayer::kExit, VORObjectCode::Zero(), VORObjectCode::Zero()));
    EXPECT_TRUE(casePlayer.ExecuteAction(*exit)) << c.what;
    EXPECT_EQ(casePlayer.quitRequests, c.quitsAtOnce) << c.what;
    EXPECT_EQ(casePlayer.ShownIn(1), PageRef(c.shown)) << c.what;
    casePlayer.OnTick(caseClock.GetMilliseconds() + 1900);
    EXPECT_EQ(casePlayer.quitRequests, c.quitsAtOnce) << c.what;
    casePlayer.OnTick(caseClock.GetMilliseconds() + 2000);
    EXPECT_EQ(casePlayer.quitRequests, c.quitsLater) << c.what;
  }
}

// A timed page goes on by itself after its delay.
TEST_F(VORGotoPageTest, ATimedPage) {
  Publication publication = TwoChapters();
  publication.chapters[0].pages[0].properties.timedPageDelay = 500;
  publication.chapters[0].pages[0].properties.timedPage = VORObjectKey{0, 0, 8};
  Start(publication);
  player.OnTick(1400);
  EXPECT_EQ(player.ShownIn(1), PageRef(1));
  player.OnTick(1500);
  EXPECT_EQ(player.ShownIn(1), PageRef(2));
}

// Leaving a page drops the actions its objects queued, except those for the
// score manager.
TEST_F(VORGotoPageTest, LeavingAPageDropsItsQueuedActions) {
  Start(TwoChapters());
  for (const VORObjectCode &target : {VORObjectCode(1, 0x7E01, 11), VORObjectCode(0, 0, 4)}) {
    auto *action = new VORObjectAction(VORObjectAction::kClassKey, 0);
    action->SetTarget(target);
    action->SetOriginObject(kMainView);
    action->SetOriginPage(PageRef(1));
    player.ScheduleAction(5000, action, nullptr);
  }
  player.Goto(PageRef(2), kMainView);
  EXPECT_EQ(player.GetEventQueue()->GetCount(), 1u);
}

} // namespace
