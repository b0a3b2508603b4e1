#include "engine/VORPlayerApp.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/VORPlayerPageManager.h"
#include "engine/VORUpdateController.h"
#include "engine/VORUpdateTarget.h"
#include "foundation/XQMessageBox.h"
#include "model/VORFileKind.h"
#include "model/VORPlayerGotoPageAction.h"
#include "model/VORPublication.h"
#include "model/VORResourceManager.h"
#include "support/FakeResourceFile.h"
#include "support/ProgramDriver.h"
#include "support/PublicationRecords.h"
#include "support/TestPlayerApp.h"

namespace {

constexpr UINT kWatchdogMs = 10000;
constexpr UINT kOtherMessage = WM_APP + 1;

using PublicationRecords::FileText;

// Pages 1 and 2 in one chapter, with the publication's flags given.
PublicationRecords::Publication TwoPages(uint32_t flags) {
  PublicationRecords::Publication publication;
  PublicationRecords::Chapter chapter;
  chapter.pages = {VORObjectKey{0, 4, 1}, VORObjectKey{0, 4, 2}};
  publication.chapters = {chapter};
  publication.properties.flags = flags;
  publication.properties.closingPage = VORObjectKey{0, 4, 2};
  publication.properties.closingDelay = 0;
  return publication;
}

// Pages 1 to count in a first chapter, and page 100 in a second chapter
// with its own window.
PublicationRecords::Publication ManyPagesAndAChapterWindow(uint32_t count) {
  PublicationRecords::Publication publication;
  PublicationRecords::Chapter chapter;
  for (uint32_t id = 1; id <= count; ++id)
    chapter.pages.push_back(VORObjectKey{0, 4, id});
  PublicationRecords::Chapter windowed;
  windowed.reference = VORObjectKey{0, 2, 2};
  windowed.properties.ownWindow = 1;
  windowed.pages = {VORObjectKey{0, 4, 100}};
  publication.chapters = {chapter, windowed};
  return publication;
}

int AnswerOk(HWND, const char *, const char *, UINT) { return IDOK; }

// A time-driven object whose Update the test writes.
class LoopTarget : public VORUpdateTarget {
public:
  void Update(uint32_t &nextDue) override { onUpdate(nextDue); }
  std::function<void(uint32_t &)> onUpdate;
};

// The resource files of a test count their loads; the last one to come
// posts the quit message.
struct PrefetchLoads {
  const MessageRecorder &recorder;
  size_t expected;
  bool counting = false;
  size_t count = 0;
};

class CountedFile : public FakeResourceFile {
public:
  explicit CountedFile(PrefetchLoads &loads)
      : FakeResourceFile(std::vector<uint8_t>(64, 7), VORFileKind::kPictureFile), m_loads(loads) {}
  bool Open() override {
    if (m_loads.counting && ++m_loads.count == m_loads.expected)
      m_loads.recorder.Post(MessageRecorder::kQuitMessage);
    return FakeResourceFile::Open();
  }

private:
  PrefetchLoads &m_loads;
};

class VORMainLoopTest : public ::testing::Test {
protected:
  void SetUp() override { m_previous = XQMessageBox::SetHandler(AnswerOk); }
  void TearDown() override {
    app.Teardown();
    XQMessageBox::SetHandler(m_previous);
  }
  void Start(const PublicationRecords::Publication &publication) {
    folder.WriteFile("demo.vor", FileText(publication));
    ASSERT_TRUE(app.StartUp(folder.File("demo.vor").c_str(), nullptr));
  }
  // Runs the main loop until it ends; false when the watchdog had to end it.
  bool RunLoop() {
    LoopWatchdog watchdog(kWatchdogMs);
    app.MessageLoop();
    return !watchdog.Fired();
  }

  bool Goto(uint32_t page, const VORObjectCode &originView) {
    std::unique_ptr<VORPlayerGotoPageAction> action(VORPlayerGotoPageAction::Make(
        VORPlayer::kGotoPage, VORObjectCode(0, 4, static_cast<int32_t>(page)), VORObjectCode()));
    action->SetOriginObject(originView);
    return app.DispatchAction(*action);
  }

  ScratchFolder folder;
  TestPlayerApp app;

private:
  XQMessageBox::Handler m_previous = nullptr;
};

// Escape ends the run only when the publication says so (flag bit 4); else
// the key goes to the window like any other.
TEST_F(VORMainLoopTest, EscapeWithAndWithoutThePublicationsExitBit) {
  struct Case {
    const char *what;
    uint32_t flags;
    bool quits;
  } cases[] = {
      {"exit bit clear", 0, false},
      {"exit bit set", VORPublication::kEscapeExitsFlag, true},
  };
  for (const Case &c : cases) {
    TestPlayerApp caseApp;
    ScratchFolder caseFolder;
    caseFolder.WriteFile("demo.vor", FileText(TwoPages(c.flags)));
    ASSERT_TRUE(caseApp.StartUp(caseFolder.File("demo.vor").c_str(), nullptr)) << c.what;
    MessageRecorder recorder;
    recorder.Post(WM_KEYDOWN, VK_ESCAPE);
    recorder.Post(kOtherMessage);
    recorder.Post(MessageRecorder::kQuitMessage);
    LoopWatchdog watchdog(kWatchdogMs);
    caseApp.MessageLoop();
    EXPECT_FALSE(watchdog.Fired()) << c.what;
    EXPECT_EQ(caseApp.quitRequests, c.quits ? 1 : 0) << c.what;
    EXPECT_EQ(recorder.Received(WM_KEYDOWN), !c.quits) << c.what;
    EXPECT_TRUE(recorder.Received(kOtherMessage)) << c.what;
    caseApp.Teardown();
  }
}

// With the closing-page bit the exit shows the closing page first; its
// delay of 0 then ends the run by itself.
TEST_F(VORMainLoopTest, EscapeThroughTheClosingPage) {
  Start(TwoPages(VORPublication::kEscapeExitsFlag | VORPublication::kClosingPageFlag));
  MessageRecorder recorder;
  recorder.Post(WM_KEYDOWN, VK_ESCAPE);
  EXPECT_TRUE(RunLoop());
  EXPECT_EQ(app.MainView()->GetPageReference(), VORObjectCode(0, 4, 2));
  EXPECT_EQ(app.quitRequests, 1);
  EXPECT_FALSE(recorder.Received(WM_KEYDOWN));
}

// Action 103 queued for the player ends the loop when it falls due; the
// timer window's ticks bring it even with no other message coming.
TEST_F(VORMainLoopTest, ThePlayerQuitsOnAction103) {
  Start(TwoPages(0));
  app.ScheduleAction(200, VORPlayerGotoPageAction::Make(VORPlayer::kQuit, VORObjectCode(), VORObjectCode()), nullptr);
  EXPECT_TRUE(RunLoop());
  EXPECT_EQ(app.quitRequests, 1);
}

// The exit password (flag bit 6): this test program carries no dialog
// template 101 (the players' resources do), so the password dialog cannot
// open and the answer is empty, which refuses the exit without a box.
TEST_F(VORMainLoopTest, AnExitPasswordRefusesAnEmptyAnswer) {
  Start(TwoPages(VORPublication::kEscapeExitsFlag | VORPublication::kExitPasswordFlag));
  MessageRecorder recorder;
  recorder.Post(WM_KEYDOWN, VK_ESCAPE);
  recorder.Post(MessageRecorder::kQuitMessage);
  EXPECT_TRUE(RunLoop());
  EXPECT_EQ(app.quitRequests, 1);
  EXPECT_FALSE(recorder.Received(WM_KEYDOWN)) << "the key was taken";
  EXPECT_TRUE(recorder.Received(MessageRecorder::kQuitMessage)) << "the loop went on";
}

// The built-in time variables are set once a second by the loop.
TEST_F(VORMainLoopTest, TheLoopSetsTheTimeVariables) {
  Start(TwoPages(0));
  app.ScheduleAction(1200, VORPlayerGotoPageAction::Make(VORPlayer::kQuit, VORObjectCode(), VORObjectCode()), nullptr);
  EXPECT_TRUE(RunLoop());
  EXPECT_FALSE(app.GetVariableValue("SYSTEM_TIME_YEAR").IsEmpty());
  EXPECT_EQ(app.GetVariableValue("SYSTEM_TIME_HOUR").GetLength(), 2u);
}

// The update controller runs while something falls due, with the views
// refreshed after each run, and a message that comes in ends its runs: a
// target that is always due does not keep the loop from its messages.
TEST_F(VORMainLoopTest, TheUpdateControllerRunsUntilAMessageWaits) {
  Start(TwoPages(0));
  TestRunView *view = app.MainView();
  ASSERT_NE(view, nullptr);
  MessageRecorder recorder;
  std::vector<int> refreshesAtUpdates;
  LoopTarget target;
  target.onUpdate = [&](uint32_t &nextDue) {
    refreshesAtUpdates.push_back(view->refreshes);
    if (refreshesAtUpdates.size() == 3)
      recorder.Post(MessageRecorder::kQuitMessage);
    // Due again at once, up to a bound that shows a loop that never stops.
    if (refreshesAtUpdates.size() < 1000)
      nextDue = app.GetUpdateController()->Now();
  };
  EXPECT_TRUE(RunLoop());
  ASSERT_EQ(refreshesAtUpdates.size(), 3u) << "the waiting message ended the runs";
  EXPECT_GT(refreshesAtUpdates[1], refreshesAtUpdates[0]) << "the views were refreshed after the run";
  EXPECT_GT(refreshesAtUpdates[2], refreshesAtUpdates[1]);
  EXPECT_TRUE(recorder.Received(MessageRecorder::kQuitMessage));
}

// When no message waits the page cache trims one page of more than ten and
// then every view does its idle work, in the order the views were made.
TEST_F(VORMainLoopTest, IdlePassesTrimThePageCacheAndGiveEveryViewItsIdleCall) {
  Start(ManyPagesAndAChapterWindow(12));
  for (uint32_t page = 2; page <= 12; ++page)
    ASSERT_TRUE(Goto(page, VORObjectCode(0, 3, 1))) << page;
  ASSERT_TRUE(Goto(100, VORObjectCode(0, 3, 1)));
  TestRunView *main = app.MainView();
  auto *windowed = dynamic_cast<TestRunView *>(app.FindView(VORObjectCode(0, 3, 2)));
  ASSERT_TRUE(main && windowed);
  const uint32_t cached = app.GetPlayerPageManager().GetCount();
  ASSERT_EQ(cached, 13u);

  MessageRecorder recorder;
  std::vector<int> idleOrder;
  std::vector<uint32_t> cachedAtIdle;
  main->onIdle = [&] {
    idleOrder.push_back(1);
    cachedAtIdle.push_back(app.GetPlayerPageManager().GetCount());
  };
  windowed->onIdle = [&] {
    idleOrder.push_back(2);
    recorder.Post(MessageRecorder::kQuitMessage);
  };
  EXPECT_TRUE(RunLoop());
  EXPECT_EQ(idleOrder, (std::vector<int>{1, 2})) << "one idle pass, the views in their order";
  ASSERT_EQ(cachedAtIdle.size(), 1u);
  EXPECT_EQ(cachedAtIdle[0], cached - 1) << "the cache trimmed one page before the views' idle calls";
  EXPECT_EQ(app.GetPlayerPageManager().GetCount(), cached - 1);
}

// While the prefetch reports work the loop goes round again at once: it does
// not wait for a message until everything waiting to be loaded ahead is
// loaded. A message that comes in meanwhile is handled between two loads
// (input is never held up), so the timer window's ticks are stopped: with
// nothing to wake it, a loop that waited after a load would stay waiting
// until the watchdog ends it, however long each load takes.
TEST_F(VORMainLoopTest, ThePrefetchLoadsEverythingBeforeTheLoopWaits) {
  Start(TwoPages(0));
  VORResourceManager *resources = app.GetResourceManager();
  ASSERT_NE(resources, nullptr);
  constexpr size_t kResources = 4;
  MessageRecorder recorder;
  PrefetchLoads loads{recorder, kResources};
  for (size_t i = 0; i < kResources; ++i) {
    const uint32_t handle = resources->OpenResource(std::make_unique<CountedFile>(loads), 1, 0, 0);
    ASSERT_NE(handle, 0u);
    resources->AddResourceUser(handle, VORObjectCode(0, 4, 1));
  }
  ASSERT_TRUE(KillTimer(app.GetTimerWindow().GetWindow(), TimerWindow::kTimerId));
  loads.counting = true;
  EXPECT_TRUE(RunLoop()) << "the loop waited for a message before the prefetch was done";
  EXPECT_EQ(loads.count, kResources);
}

// Once a second the loop sets the time variables and then refreshes the
// views, with nothing else to do.
TEST_F(VORMainLoopTest, TheViewsAreRefreshedOnceASecond) {
  Start(TwoPages(0));
  TestRunView *view = app.MainView();
  ASSERT_NE(view, nullptr);
  MessageRecorder recorder;
  struct Refresh {
    uint32_t time;
    bool timeVariablesSet;
  };
  std::vector<Refresh> refreshes;
  view->onRefresh = [&] {
    refreshes.push_back({app.GetClock().GetMilliseconds(), !app.GetVariableValue("SYSTEM_TIME_YEAR").IsEmpty()});
    if (refreshes.size() == 2)
      recorder.Post(MessageRecorder::kQuitMessage);
  };
  EXPECT_TRUE(RunLoop());
  ASSERT_GE(refreshes.size(), 2u);
  EXPECT_TRUE(refreshes[0].timeVariablesSet) << "the variables come before the views";
  EXPECT_GE(refreshes[1].time - refreshes[0].time, 900u) << "not more often than once a second";
}

} // namespace
