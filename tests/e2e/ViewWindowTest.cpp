#include "support/DemoPublication.h"
#include "support/ProgramDriver.h"
#include "support/PublicationRecords.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace E2e;
constexpr DWORD kPollMs = 20;
constexpr COLORREF kWhite = RGB(255, 255, 255);
// Colours as the records and GDI store them: 0x00BBGGRR.
constexpr COLORREF kBlue = RGB(40, 60, 200);
constexpr COLORREF kOrange = RGB(230, 140, 20);
constexpr COLORREF kGreen = RGB(30, 160, 60);
constexpr uint32_t kEscapeExits = 0x10;

PublicationRecords::Page MakePage(uint32_t id, COLORREF colour, int32_t width, int32_t height) {
  return PublicationRecords::ColouredPage(id, colour, width, height);
}

PublicationRecords::Publication SmallPages(uint32_t flags, std::vector<PublicationRecords::Page> pages) {
  return PublicationRecords::SmallPagesInAWindow("Small pages", flags, std::move(pages));
}

// Waits until the point (counted from the client area's top-left corner, or
// from its right or bottom edge when negative) shows the colour. The client
// size is taken anew each time: scroll bars may come and go while the page
// is laid out.
bool WaitForMarginColour(HWND window, int x, int y, COLORREF colour, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  do {
    const SIZE client = ProgramDriver::ClientSize(window);
    const int px = x >= 0 ? x : client.cx + x, py = y >= 0 ? y : client.cy + y;
    if ((ProgramDriver::ClientPixel(window, px, py) & 0xFFFFFF) == colour)
      return true;
    Sleep(kPollMs);
  } while (GetTickCount() - start < timeoutMs);
  return false;
}

using PublicationRecords::FileText;

// Starts the player on the publication and waits for its main window.
class PlayerRun {
public:
  explicit PlayerRun(const PublicationRecords::Publication &publication) {
    m_folder.WriteFile("play.vor", FileText(publication));
    m_window = m_driver.StartPlayer(m_folder.File("play.vor"));
  }

  ProgramDriver &Driver() { return m_driver; }
  HWND Window() const { return m_window; }
  bool Ready() const { return m_window != nullptr; }

  // Waits until the point of the main window shows the colour; false on
  // time-out.
  bool WaitForColour(int x, int y, COLORREF colour, DWORD timeoutMs) const {
    return WaitForMarginColour(m_window, x, y, colour, timeoutMs);
  }

  bool StillRunsAfter(DWORD ms) { return !m_driver.WaitForExit(ms); }

private:
  ScratchFolder m_folder;
  ProgramDriver m_driver;
  HWND m_window = nullptr;
};

TEST(ViewWindowTest, ASmallerPageIsCentredWhiteInMarginsOfItsColour) {
  PlayerRun run(SmallPages(kCloseBoxExits, {MakePage(1, kBlue, 200, 100)}));
  ASSERT_TRUE(run.Ready());
  char title[64] = {};
  GetWindowTextA(run.Window(), title, sizeof title);
  EXPECT_STREQ(title, "Small pages");
  ASSERT_TRUE(run.WaitForColour(1, 1, kBlue, kWindowTimeoutMs)) << "the margins show";
  const SIZE client = ProgramDriver::ClientSize(run.Window());
  ASSERT_GT(client.cx, 200);
  ASSERT_GT(client.cy, 100);
  const int left = (client.cx - 200) / 2, top = (client.cy - 100) / 2;
  ASSERT_TRUE(run.WaitForColour(left + 100, top + 50, kWhite, kWindowTimeoutMs)) << "the page shows";
  struct Probe {
    const char *where;
    int x, y;
    COLORREF colour;
  } probes[] = {
      {"page, top-left pixel", left, top, kWhite},
      {"page, bottom-right pixel", left + 199, top + 99, kWhite},
      {"left margin", left - 1, top + 50, kBlue},
      {"right margin", left + 200, top + 50, kBlue},
      {"top margin", left + 100, top - 1, kBlue},
      {"bottom margin", left + 100, top + 100, kBlue},
      {"corner", 2, 2, kBlue},
  };
  for (const Probe &p : probes) {
    EXPECT_EQ(ProgramDriver::ClientPixel(run.Window(), p.x, p.y) & 0xFFFFFF, p.colour) << p.where;
  }
  PostMessageA(run.Window(), WM_CLOSE, 0, 0);
  ASSERT_TRUE(run.Driver().WaitForExit(kExitTimeoutMs)) << "closing the window ends the player";
  EXPECT_EQ(run.Driver().ExitCode(), 0u);
}

TEST(ViewWindowTest, ATimedPageChangesTheColourOnTime) {
  constexpr int32_t kDelayMs = 1500;
  PublicationRecords::Page first = MakePage(1, kBlue, 200, 100);
  first.properties.timedPageDelay = kDelayMs;
  first.properties.timedPage = VORObjectKey{0, 4, 2};
  PlayerRun run(SmallPages(kEscapeExits, {first, MakePage(2, kOrange, 200, 100)}));
  ASSERT_TRUE(run.Ready());
  ASSERT_TRUE(run.WaitForColour(1, 1, kBlue, kWindowTimeoutMs));
  const DWORD shown = GetTickCount();
  ASSERT_TRUE(run.WaitForColour(1, 1, kOrange, kWindowTimeoutMs));
  const DWORD changed = GetTickCount() - shown;
  // The delay runs from when the page was shown, a little before it was
  // seen here; the 55 ms grid and the polling add a little after.
  EXPECT_GE(changed, static_cast<DWORD>(kDelayMs) * 2 / 3);
  EXPECT_LE(changed, static_cast<DWORD>(kDelayMs) * 3);
  PostMessageA(run.Window(), WM_KEYDOWN, VK_ESCAPE, 0);
  ASSERT_TRUE(run.Driver().WaitForExit(kExitTimeoutMs));
}

TEST(ViewWindowTest, EscapeEndsThePlayerOnlyWhenThePublicationAllowsIt) {
  for (bool allowed : {false, true}) {
    PlayerRun run(SmallPages(allowed ? kEscapeExits : 0, {MakePage(1, kGreen, 200, 100)}));
    ASSERT_TRUE(run.Ready()) << allowed;
    ASSERT_TRUE(run.WaitForColour(1, 1, kGreen, kWindowTimeoutMs)) << allowed;
    PostMessageA(run.Window(), WM_KEYDOWN, VK_ESCAPE, 0);
    if (allowed) {
      ASSERT_TRUE(run.Driver().WaitForExit(kExitTimeoutMs));
      EXPECT_EQ(run.Driver().ExitCode(), 0u);
    } else {
      EXPECT_TRUE(run.StillRunsAfter(1000)) << "Escape without the publication's leave";
      PostMessageA(run.Window(), WM_CLOSE, 0, 0);
      ASSERT_TRUE(run.Driver().WaitForExit(kExitTimeoutMs));
    }
  }
}

TEST(ViewWindowTest, TheCloseBoxEndsThePlayerOnlyWhenThePublicationAllowsIt) {
  for (bool allowed : {false, true}) {
    PlayerRun run(SmallPages(allowed ? kCloseBoxExits : 0, {MakePage(1, kGreen, 200, 100)}));
    ASSERT_TRUE(run.Ready()) << allowed;
    ASSERT_TRUE(run.WaitForColour(1, 1, kGreen, kWindowTimeoutMs)) << allowed;
    PostMessageA(run.Window(), WM_SYSCOMMAND, SC_CLOSE, 0);
    if (allowed) {
      ASSERT_TRUE(run.Driver().WaitForExit(kExitTimeoutMs));
      EXPECT_EQ(run.Driver().ExitCode(), 0u);
    } else {
      EXPECT_TRUE(run.StillRunsAfter(1000)) << "the close box without the publication's leave";
      EXPECT_TRUE(IsWindowVisible(run.Window()));
      PostMessageA(run.Window(), WM_CLOSE, 0, 0);
      ASSERT_TRUE(run.Driver().WaitForExit(kExitTimeoutMs));
    }
  }
}

TEST(ViewWindowTest, AChapterWithItsOwnWindowGetsItsOwnViewWhichClosesAlone) {
  // The first page is timed to a page of a chapter that has a window of its own.
  PublicationRecords::Page first = MakePage(1, kBlue, 200, 100);
  first.properties.timedPageDelay = 200;
  first.properties.timedPage = VORObjectKey{0, 4, 2};
  PublicationRecords::Publication publication = SmallPages(0, {first});
  PublicationRecords::Chapter own;
  own.reference = VORObjectKey{0, 2, 2};
  own.properties.ownWindow = 1;
  own.properties.titleBar = 1;
  own.properties.title = "Own window";
  own.properties.border = 1;
  own.properties.windowWidth = 250;
  own.properties.windowHeight = 150;
  own.properties.pageWidth = 100;
  own.properties.pageHeight = 50;
  own.pages = {MakePage(2, kOrange, 100, 50)};
  publication.chapters.push_back(own);

  PlayerRun run(publication);
  ASSERT_TRUE(run.Ready());
  HWND chapterWindow = run.Driver().WaitForWindow(kViewClass, kWindowTimeoutMs, "Own window", true);
  ASSERT_NE(chapterWindow, nullptr);
  ProgramDriver::KeepOnTop(chapterWindow);
  EXPECT_NE(chapterWindow, run.Window());
  EXPECT_EQ(GetParent(chapterWindow) == run.Window() || GetWindow(chapterWindow, GW_OWNER) == run.Window(), true)
      << "the chapter's window belongs to the main window";
  EXPECT_TRUE(WaitForMarginColour(chapterWindow, 1, 1, kOrange, kWindowTimeoutMs)) << "the chapter's page shows";
  EXPECT_TRUE(WaitForMarginColour(chapterWindow, -2, -2, kOrange, kWindowTimeoutMs));

  PostMessageA(chapterWindow, WM_SYSCOMMAND, SC_CLOSE, 0);
  const DWORD start = GetTickCount();
  while (IsWindow(chapterWindow) && GetTickCount() - start < kWindowTimeoutMs)
    Sleep(kPollMs);
  EXPECT_FALSE(IsWindow(chapterWindow)) << "the chapter's window closes";
  EXPECT_TRUE(run.StillRunsAfter(500)) << "the player goes on";
  EXPECT_TRUE(IsWindowVisible(run.Window()));
  PostMessageA(run.Window(), WM_CLOSE, 0, 0);
  ASSERT_TRUE(run.Driver().WaitForExit(kExitTimeoutMs));
}

// Escape with the closing-page bit shows the closing page in the window,
// and the player quits after the closing delay.
TEST(ViewWindowTest, EscapeShowsTheClosingPageThenThePlayerQuits) {
  constexpr uint32_t kClosingPageFlag = 0x04;
  PublicationRecords::Publication publication =
      SmallPages(kEscapeExits | kClosingPageFlag, {MakePage(1, kBlue, 200, 100), MakePage(2, kOrange, 200, 100)});
  publication.properties.closingPage = VORObjectKey{0, 4, 2};
  publication.properties.closingDelay = 1;
  PlayerRun run(publication);
  ASSERT_TRUE(run.Ready());
  ASSERT_TRUE(run.WaitForColour(1, 1, kBlue, kWindowTimeoutMs));
  PostMessageA(run.Window(), WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_TRUE(run.WaitForColour(1, 1, kOrange, kWindowTimeoutMs)) << "the closing page shows";
  ASSERT_TRUE(run.Driver().WaitForExit(kExitTimeoutMs)) << "and the player quits after the delay";
  EXPECT_EQ(run.Driver().ExitCode(), 0u);
}

// The publication scripts/run plays: its first page shows, and Escape ends it.
TEST(ViewWindowTest, TheDemoPlays) {
  PlayerRun run(DemoPublication::Make());
  ASSERT_TRUE(run.Ready());
  char title[64] = {};
  GetWindowTextA(run.Window(), title, sizeof title);
  EXPECT_STREQ(title, "VOR Demo");
  const COLORREF firstPage = DemoPublication::Make().chapters[0].pages[0].properties.backgroundColor;
  EXPECT_TRUE(run.WaitForColour(1, 1, firstPage, kWindowTimeoutMs));
  EXPECT_TRUE(WaitForMarginColour(run.Window(), -2, -2, firstPage, kWindowTimeoutMs));
  PostMessageA(run.Window(), WM_KEYDOWN, VK_ESCAPE, 0);
  ASSERT_TRUE(run.Driver().WaitForExit(kExitTimeoutMs));
  EXPECT_EQ(run.Driver().ExitCode(), 0u);
}

} // namespace
