#include "support/CentredPage.h"
#include "support/ProgramDriver.h"
#include "support/PublicationRecords.h"

#include <gtest/gtest.h>

namespace {

using namespace E2e;
constexpr int32_t kPageWidth = 200;
constexpr int32_t kPageHeight = 100;
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(220, 0, 0);
constexpr COLORREF kGreen = RGB(0, 160, 0);
constexpr int32_t kShowDelayMs = 3000;
constexpr uint16_t kPathMs = 3000;

PublicationRecords::BackgroundRecord Square(int32_t left, int32_t top, int32_t size, COLORREF colour) {
  PublicationRecords::BackgroundRecord square;
  square.graphical.Place(left, top, left + size, top + size);
  square.fillKind = 1;
  square.colour1 = colour;
  return square;
}

// A white page with a red square (20, 20)-(60, 60) that appears 3 s after
// the page, and a green 20-pixel square that travels along the bottom from
// (0, 70) to (180, 70) in 3 s.
PublicationRecords::Publication TimedPage() {
  PublicationRecords::Page page = PublicationRecords::ColouredPage(1, kWhite, kPageWidth, kPageHeight);
  PublicationRecords::BackgroundRecord appearing = Square(20, 20, 40, kRed);
  appearing.graphical.visibleAtStart = 0;
  appearing.graphical.showDelay = kShowDelayMs;
  PublicationRecords::BackgroundRecord moving = Square(0, 70, 20, kGreen);
  constexpr uint32_t kPathId = 5;
  moving.graphical.pathAnimation = VORObjectKey{0, 9, kPathId};
  PublicationRecords::AnimationControllerRecord path;
  path.path = {{10, 80, 0, 0}, {190, 80, kPathMs, 0}};
  page.objects.push_back(PublicationRecords::BackgroundObject(1, appearing));
  page.objects.push_back(
      PublicationRecords::BackgroundObject(2, moving, {PublicationRecords::AnimationControllerObject(kPathId, path)}));
  return PublicationRecords::SmallPagesInAWindow("Timed page", kCloseBoxExits, {page});
}

// Looked at as a person would: the red square is not there at first and
// shows up later; the green one leaves its start, passes the middle and
// stays at the end of its path.
TEST(ShowHideTest, AnObjectAppearsAfterItsDelayAndAnotherMovesAlongItsPath) {
  ScratchFolder folder;
  folder.WriteFile("timed.vor", PublicationRecords::FileText(TimedPage()));
  ProgramDriver driver;
  const HWND window = driver.StartPlayer(folder.File("timed.vor"));
  ASSERT_NE(window, nullptr);
  const CentredPage page(window, SIZE{kPageWidth, kPageHeight});
  ASSERT_TRUE(page.WaitForPixel(150, 10, kWhite)) << "the page shows";
  const DWORD shown = GetTickCount();
  const COLORREF before = page.Pixel(40, 40);
  if (GetTickCount() - shown < kShowDelayMs / 2) {
    EXPECT_EQ(before, kWhite) << "the red square waits for its delay";
  }
  EXPECT_TRUE(page.WaitForPixel(100, 80, kGreen)) << "the green square passes the middle";
  EXPECT_TRUE(page.WaitForPixel(190, 80, kGreen)) << "and reaches the end of its path";
  EXPECT_EQ(page.Pixel(10, 80), kWhite) << "it left its start";
  EXPECT_TRUE(page.WaitForPixel(40, 40, kRed)) << "the red square appears";
  EXPECT_EQ(page.Pixel(70, 40), kWhite);
  Sleep(300);
  EXPECT_EQ(page.Pixel(190, 80), kGreen) << "the green square stays at the end";
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(driver.WaitForExit(kExitTimeoutMs));
}

} // namespace
