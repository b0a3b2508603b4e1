#include "engine/VORPlayerApp.h"
#include "engine/VORDisplayMode.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/VORException.h"
#include "foundation/XQCallbackGuard.h"
#include "foundation/XQMessageBox.h"
#include "support/ProgramDriver.h"
#include "support/PublicationRecords.h"
#include "support/TestPlayerApp.h"

namespace {

struct ShownBox {
  std::string text;
  std::string caption;
  UINT style;
};
std::vector<ShownBox> g_boxes;

int RecordBox(HWND, const char *text, const char *caption, UINT style) {
  g_boxes.push_back({text, caption, style});
  return IDOK;
}

class VORPlayerAppRunTest : public ::testing::Test {
protected:
  void SetUp() override {
    g_boxes.clear();
    m_previous = XQMessageBox::SetHandler(RecordBox);
  }
  void TearDown() override { XQMessageBox::SetHandler(m_previous); }

private:
  XQMessageBox::Handler m_previous = nullptr;
};

TEST_F(VORPlayerAppRunTest, MissingPublicationIsReportedOnce) {
  ScratchFolder folder;
  VORPlayerApp app(GetModuleHandleA(nullptr));
  app.Run(folder.File("missing.vor").c_str(), nullptr);
  ASSERT_EQ(g_boxes.size(), 1u);
  EXPECT_EQ(g_boxes[0].text, "Cannot find publication file!!");
  EXPECT_EQ(g_boxes[0].caption, "VOR");
  EXPECT_EQ(g_boxes[0].style, static_cast<UINT>(MB_ICONWARNING));
}

using PublicationRecords::FileText;

PublicationRecords::Publication OneChapter() {
  PublicationRecords::Publication publication;
  PublicationRecords::Chapter chapter;
  chapter.pages = {VORObjectKey{0, 4, 1}};
  publication.chapters = {chapter};
  return publication;
}

// Files that open but hold no publication the player can play: each shows
// the one box and is let go again.
TEST_F(VORPlayerAppRunTest, FilesWithoutAPublicationAreReported) {
  PublicationRecords::Publication withoutProperties = OneChapter();
  withoutProperties.propertyFieldCount = 3;
  PublicationRecords::Publication chapterAsRoot = OneChapter();
  chapterAsRoot.reference = VORObjectKey{0, 2, 1};
  const std::string good = FileText(OneChapter());
  struct Case {
    const char *what;
    std::string bytes;
  } cases[] = {
      {"garbage", "bytes"},
      {"empty file", ""},
      {"truncated", good.substr(0, good.size() - 1)},
      {"publication record without its required fields", FileText(withoutProperties)},
      {"root of another class", FileText(chapterAsRoot)},
  };
  for (const Case &c : cases) {
    g_boxes.clear();
    ScratchFolder folder;
    folder.WriteFile("demo.vor", c.bytes);
    VORPlayerApp app(GetModuleHandleA(nullptr));
    app.Run(folder.File("demo.vor").c_str(), nullptr);
    ASSERT_EQ(g_boxes.size(), 1u) << c.what;
    EXPECT_EQ(g_boxes[0].text, "Cannot find publication file!!") << c.what;
    EXPECT_EQ(g_boxes[0].caption, "VOR") << c.what;
    EXPECT_TRUE(DeleteFileA(folder.File("demo.vor").c_str())) << c.what << ": the file was closed again";
  }
}

// A publication with a page to show: the start-up shows it and the main
// loop would run; the teardown lets everything go again.
TEST_F(VORPlayerAppRunTest, APublicationStartsWithItsFirstPage) {
  ScratchFolder folder;
  folder.WriteFile("demo.vor", FileText(OneChapter()));
  TestPlayerApp app;
  ASSERT_TRUE(app.StartUp(folder.File("demo.vor").c_str(), nullptr));
  EXPECT_TRUE(g_boxes.empty());
  EXPECT_STREQ(app.GetPublicationFolder().CStr(), folder.Path().c_str());
  ASSERT_NE(app.MainView(), nullptr);
  EXPECT_EQ(app.MainView()->GetPageReference(), VORObjectCode(0, 4, 1));
  EXPECT_EQ(app.GetViewCount(), 1u);
  EXPECT_NE(app.GetTimerWindow().GetWindow(), nullptr);
  app.Teardown();
  EXPECT_EQ(app.GetViewCount(), 0u);
  EXPECT_EQ(app.GetPublication(), nullptr);
  EXPECT_TRUE(DeleteFileA(folder.File("demo.vor").c_str())) << "the run closed the file again";
}

std::vector<DWORD> g_displayWidths; // 0 for a restore

LONG WINAPI RecordDisplayChange(DEVMODEA *mode, DWORD flags) {
  if (flags != CDS_TEST)
    g_displayWidths.push_back(mode ? mode->dmPelsWidth : 0);
  return DISP_CHANGE_SUCCESSFUL;
}

// A publication that asks for a screen mode plays in it, and the teardown
// gives the screen its own mode back; one that does not ask leaves it alone.
TEST_F(VORPlayerAppRunTest, TheDisplayModeIsChangedForTheRunOnlyWhenAsked) {
  VORDisplayMode::ChangeFunction previous = VORDisplayMode::SetChangeFunction(RecordDisplayChange);
  for (const bool asks : {true, false}) {
    g_displayWidths.clear();
    PublicationRecords::Publication publication = OneChapter();
    publication.properties.changeDisplayMode = asks ? 1 : 0;
    publication.properties.displayMode = 1;
    ScratchFolder folder;
    folder.WriteFile("demo.vor", FileText(publication));
    TestPlayerApp app;
    ASSERT_TRUE(app.StartUp(folder.File("demo.vor").c_str(), nullptr));
    app.Teardown();
    EXPECT_EQ(g_displayWidths, asks ? std::vector<DWORD>({800, 0}) : std::vector<DWORD>()) << asks;
  }
  VORDisplayMode::SetChangeFunction(previous);
}

// With nothing that can be shown the run ends after the start-up, without
// a box and without a main loop that nothing could end.
TEST_F(VORPlayerAppRunTest, NothingToShowEndsTheRun) {
  PublicationRecords::Publication publication;
  PublicationRecords::Chapter chapter;
  chapter.pages = {PublicationRecords::Page(VORObjectKey{0, 4, 1})};
  chapter.pages[0].withoutRecord = true;
  publication.chapters = {chapter};
  ScratchFolder folder;
  folder.WriteFile("demo.vor", FileText(publication));
  LoopWatchdog watchdog(10000);
  VORPlayerApp app(GetModuleHandleA(nullptr));
  app.Run(folder.File("demo.vor").c_str(), nullptr);
  EXPECT_FALSE(watchdog.Fired());
  EXPECT_TRUE(g_boxes.empty());
}

// The outside components are loaded from the program's folder only when the
// publication asks for them; where they are absent the feature is simply
// missing, without a box.
TEST_F(VORPlayerAppRunTest, MissingOutsideComponentsAreSilent) {
  ScratchFolder folder;
  PublicationRecords::Publication written = OneChapter();
  written.oleContainer = 1;
  written.dictionary = {'w', 'o', 'r', 'd', 's'};
  folder.WriteFile("demo.vor", FileText(written));
  TestPlayerApp app;
  ASSERT_TRUE(app.StartUp(folder.File("demo.vor").c_str(), nullptr));
  EXPECT_TRUE(g_boxes.empty());
  EXPECT_FALSE(app.IsDictionaryLoaded());
  EXPECT_EQ(app.GetSearcherMessageFilter(), nullptr);
  app.LaunchSearcher();
  EXPECT_FALSE(app.IsSearcherRunning());
  app.Teardown();
}

// A failure kept by a callback (it ended the loop) is reported by the run.
TEST_F(VORPlayerAppRunTest, AFailureKeptByACallbackIsReportedByTheRun) {
  ScratchFolder folder;
  folder.WriteFile("demo.vor", FileText(OneChapter()));
  TestPlayerApp app;
  XQCallbackGuard::Keep(std::make_exception_ptr(static_cast<VORException *>(new VORWaveErrorException(7))));
  app.Run(folder.File("demo.vor").c_str(), nullptr);
  ASSERT_EQ(g_boxes.size(), 1u);
  EXPECT_EQ(g_boxes[0].text, "WAVE ERROR : 7");
  EXPECT_EQ(g_boxes[0].caption, "VOREXCEPTION");
  EXPECT_FALSE(XQCallbackGuard::HasPending());
}

} // namespace
