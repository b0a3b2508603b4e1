#include "engine/VORPlayerApp.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/XQMessageBox.h"
#include "model/VORPlayerGotoPageAction.h"
#include "model/VORPublication.h"
#include "support/ProgramDriver.h"
#include "support/PublicationRecords.h"
#include "support/SearchStandIn.h"
#include "support/TestPlayerApp.h"

namespace {

constexpr UINT kWatchdogMs = 10000;
constexpr UINT kOtherMessage = WM_APP + 1;

int AnswerOk(HWND, const char *, const char *, UINT) { return IDOK; }

template <class Entry>
Entry Control(HMODULE module, const char *name) {
  return reinterpret_cast<Entry>(reinterpret_cast<void *>(GetProcAddress(module, name)));
}

// The player of these tests runs from a folder that holds the stand-in
// search component: the component itself is the "program" whose folder the
// player loads it from.
class VORSearcherTest : public ::testing::Test {
protected:
  void SetUp() override {
    m_previous = XQMessageBox::SetHandler(AnswerOk);
    const std::string standIn = ProgramDriver::ProgramFolder() + SearchStandIn::kFolder + SearchStandIn::kFileName;
    ASSERT_TRUE(CopyFileA(standIn.c_str(), folder.File(SearchStandIn::kFileName).c_str(), FALSE)) << standIn;
    m_module = LoadLibraryA(folder.File(SearchStandIn::kFileName).c_str());
    ASSERT_NE(m_module, nullptr);
    launches = Control<SearchStandIn::CountControl>(m_module, "standInLaunches");
    consumed = Control<SearchStandIn::CountControl>(m_module, "standInConsumed");
    answer = Control<SearchStandIn::AnswerControl>(m_module, "standInAnswer");
    dictionary = Control<SearchStandIn::DictionaryControl>(m_module, "standInDictionary");
    refuseLaunches = Control<SearchStandIn::RefuseControl>(m_module, "standInRefuseLaunches");
    ASSERT_TRUE(launches && consumed && answer && dictionary && refuseLaunches);
    app = std::make_unique<TestPlayerApp>(reinterpret_cast<HINSTANCE>(m_module));

    PublicationRecords::Publication publication;
    PublicationRecords::Chapter chapter;
    chapter.pages = {VORObjectKey{0, 4, 1}, VORObjectKey{0, 4, 2}};
    publication.chapters = {chapter};
    publication.dictionary = {'w', 'o', 'r', 'd', 's'};
    folder.WriteFile("demo.vor", PublicationRecords::FileText(publication));
    ASSERT_TRUE(app->StartUp(folder.File("demo.vor").c_str(), nullptr));
  }
  void TearDown() override {
    if (app)
      app->Teardown();
    app.reset();
    if (m_module)
      FreeLibrary(m_module);
    XQMessageBox::SetHandler(m_previous);
  }

  ScratchFolder folder;
  std::unique_ptr<TestPlayerApp> app;
  SearchStandIn::CountControl launches = nullptr;
  SearchStandIn::CountControl consumed = nullptr;
  SearchStandIn::AnswerControl answer = nullptr;
  SearchStandIn::DictionaryControl dictionary = nullptr;
  SearchStandIn::RefuseControl refuseLaunches = nullptr;

private:
  HMODULE m_module = nullptr;
  XQMessageBox::Handler m_previous = nullptr;
};

TEST_F(VORSearcherTest, TheDictionaryIsHandedOverOnce) {
  EXPECT_TRUE(app->IsDictionaryLoaded());
  unsigned char copy[16] = {};
  ASSERT_EQ(dictionary(copy, sizeof copy), 5u);
  EXPECT_EQ(std::string(reinterpret_cast<char *>(copy), 5), "words");
  EXPECT_FALSE(app->GetPublication()->HasSearchDictionary()) << "the player let its copy go";
  EXPECT_NE(app->GetSearcherMessageFilter(), nullptr);
}

// Launched once while it runs; its result shows the page in the main view
// (no new view) and ends the run of the searcher.
TEST_F(VORSearcherTest, ALaunchAndItsResult) {
  app->LaunchSearcher();
  app->LaunchSearcher();
  EXPECT_EQ(launches(), 1);
  EXPECT_TRUE(app->IsSearcherRunning());
  answer(2);
  EXPECT_FALSE(app->IsSearcherRunning());
  EXPECT_EQ(app->MainView()->GetPageReference(), VORObjectCode(0, 4, 2));
  EXPECT_EQ(app->GetViewCount(), 1u);
  app->LaunchSearcher();
  EXPECT_EQ(launches(), 2);
  answer(-1);
  EXPECT_FALSE(app->IsSearcherRunning()) << "closed without a result";
  EXPECT_EQ(app->MainView()->GetPageReference(), VORObjectCode(0, 4, 2));
}

// A searcher that could not be shown is not running: the next launch tries
// again, and meanwhile the program's messages are not offered to it.
TEST_F(VORSearcherTest, AFailedLaunchLeavesNothingRunning) {
  refuseLaunches(1);
  app->LaunchSearcher();
  EXPECT_EQ(launches(), 1);
  EXPECT_FALSE(app->IsSearcherRunning());
  MessageRecorder recorder;
  recorder.Post(SearchStandIn::kOwnMessage);
  recorder.Post(MessageRecorder::kQuitMessage);
  {
    LoopWatchdog watchdog(kWatchdogMs);
    app->MessageLoop();
    ASSERT_FALSE(watchdog.Fired());
  }
  EXPECT_TRUE(recorder.Received(SearchStandIn::kOwnMessage)) << "offered to a searcher that is not there";
  EXPECT_EQ(consumed(), 0);

  refuseLaunches(0);
  app->LaunchSearcher();
  EXPECT_EQ(launches(), 2) << "launched again";
  EXPECT_TRUE(app->IsSearcherRunning());
}

TEST_F(VORSearcherTest, Action105LaunchesIt) {
  std::unique_ptr<VORPlayerGotoPageAction> action(
      VORPlayerGotoPageAction::Make(VORPlayer::kLaunchSearcher, VORObjectCode(), VORObjectCode()));
  EXPECT_TRUE(app->ExecuteAction(*action));
  EXPECT_EQ(launches(), 1);
}

// While the searcher runs it sees every message first; those it takes do
// not reach their window.
TEST_F(VORSearcherTest, TheSearcherSeesMessagesFirstWhileItRuns) {
  MessageRecorder recorder;
  recorder.Post(SearchStandIn::kOwnMessage);
  recorder.Post(kOtherMessage);
  recorder.Post(MessageRecorder::kQuitMessage);
  {
    LoopWatchdog watchdog(kWatchdogMs);
    app->MessageLoop();
    ASSERT_FALSE(watchdog.Fired());
  }
  EXPECT_TRUE(recorder.Received(SearchStandIn::kOwnMessage)) << "not running: the program dispatched it";
  EXPECT_EQ(consumed(), 0);

  MessageRecorder running;
  app->LaunchSearcher();
  running.Post(SearchStandIn::kOwnMessage);
  running.Post(kOtherMessage);
  running.Post(MessageRecorder::kQuitMessage);
  {
    LoopWatchdog watchdog(kWatchdogMs);
    app->MessageLoop();
    ASSERT_FALSE(watchdog.Fired());
  }
  EXPECT_FALSE(running.Received(SearchStandIn::kOwnMessage));
  EXPECT_TRUE(running.Received(kOtherMessage));
  EXPECT_EQ(consumed(), 1);
}

} // namespace
