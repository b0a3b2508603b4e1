#include "support/DemoPublication.h"
#include "support/ProgramDriver.h"
#include "support/PublicationRecords.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace E2e;
constexpr DWORD kGoneTimeoutMs = 20000;
constexpr DWORD kPollMs = 10;
constexpr DWORD kCoverMinimumMs = 2000;
// What the watch adds to the time the cover showed: it sees the window one
// poll late at most, and a little for the window to be found.
constexpr DWORD kSightingSlackMs = 100;
constexpr uint32_t kEscapeExits = 0x10;
constexpr COLORREF kPageColour = RGB(30, 160, 60);

std::string Player() { return ProgramDriver::ProgramFolder() + "vorplayer.exe"; }

PublicationRecords::Publication WithCover() {
  PublicationRecords::Publication publication = PublicationRecords::SmallPagesInAWindow(
      "Cover", kEscapeExits, {PublicationRecords::ColouredPage(1, kPageColour)});
  publication.internalResources[1] = DemoPublication::Cover();
  return publication;
}

// The cover shows centred on the screen and topmost, stays while the page
// comes up, and goes once more than two seconds have passed since it showed.
TEST(CoverWindowTest, TheCoverIsCentredTopmostAndGoesAfterTwoSeconds) {
  ScratchFolder folder;
  folder.WriteFile("play.vor", PublicationRecords::FileText(WithCover()));
  ProgramDriver driver;
  ASSERT_TRUE(driver.Start(Player(), folder.File("play.vor")));

  HWND cover = driver.WaitForWindow("VORCOVER", kWindowTimeoutMs, nullptr, true);
  const DWORD seenAt = GetTickCount();
  ASSERT_NE(cover, nullptr) << "no cover window";

  RECT frame;
  GetWindowRect(cover, &frame);
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
  EXPECT_EQ(frame.left, screenWidth / 2 - DemoPublication::kCoverWidth / 2);
  EXPECT_EQ(frame.top, screenHeight / 2 - DemoPublication::kCoverHeight / 2);
  EXPECT_EQ(frame.right - frame.left, DemoPublication::kCoverWidth);
  EXPECT_EQ(frame.bottom - frame.top, DemoPublication::kCoverHeight);

  // The page comes up under the cover meanwhile.
  HWND view = driver.WaitForWindow(kViewClass, kWindowTimeoutMs, nullptr, true);
  ASSERT_NE(view, nullptr);
  EXPECT_TRUE(GetWindowLongA(cover, GWL_EXSTYLE) & WS_EX_TOPMOST);
  // Its picture is checked in the window's own pixels by the images tests:
  // the screen under Xvfb without a window manager keeps the stacking in
  // which windows were mapped, so the later page window hides it there.
  if (GetTickCount() - seenAt + kSightingSlackMs < kCoverMinimumMs) {
    EXPECT_TRUE(IsWindow(cover)) << "the page shows: the cover stays its two seconds";
  }

  while (IsWindow(cover) && GetTickCount() - seenAt < kGoneTimeoutMs)
    Sleep(kPollMs);
  const DWORD goneAt = GetTickCount();
  EXPECT_FALSE(IsWindow(cover)) << "the cover stays";
  EXPECT_GE(goneAt - seenAt + kSightingSlackMs, kCoverMinimumMs)
      << "gone " << goneAt - seenAt << " ms after it was seen";
  EXPECT_TRUE(driver.IsRunning());
  driver.Kill();
}

} // namespace
