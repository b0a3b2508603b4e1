#include "engine/VORPlayerApp.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "foundation/XQMessageBox.h"
#include "model/VORPlayerGotoPageAction.h"
#include "model/VORPublication.h"
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

int AnswerOk(HWND, const char *, const char *, UINT) { return IDOK; }

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

} // namespace
