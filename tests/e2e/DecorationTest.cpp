#include "support/ProgramDriver.h"
#include "support/PublicationRecords.h"

#include <gtest/gtest.h>

namespace {

constexpr DWORD kWindowTimeoutMs = 20000;
constexpr DWORD kExitTimeoutMs = 20000;
constexpr DWORD kPollMs = 20;
constexpr const char *kViewClass = "VOR_VIEW_CLASS";
constexpr uint32_t kCloseBoxExits = 0x20;
constexpr int32_t kPageWidth = 200;
constexpr int32_t kPageHeight = 100;
// Colours as the records and GDI store them: 0x00BBGGRR.
constexpr COLORREF kRed = RGB(220, 0, 0);
constexpr COLORREF kShadow = RGB(0, 0, 160);

// Column x of a black-to-white gradient from left to right over the page.
COLORREF GreyOfColumn(int x) {
  const auto grey = static_cast<BYTE>(x * 255 / kPageWidth);
  return RGB(grey, grey, grey);
}

// A page-wide background with a gradient from left to right, and in it a
// bordered area (40, 20)-(140, 80): a red square line 3 pixels wide whose
// shadow falls 8 pixels right and down.
PublicationRecords::Publication DecoratedPage() {
  PublicationRecords::Page page = PublicationRecords::ColouredPage(1, RGB(255, 255, 255), kPageWidth, kPageHeight);
  PublicationRecords::BackgroundRecord background;
  background.graphical.right = kPageWidth;
  background.graphical.bottom = kPageHeight;
  background.fillKind = 2;
  background.colour1 = RGB(0, 0, 0);
  background.colour2 = RGB(255, 255, 255);
  background.direction = 1;
  PublicationRecords::BorderRecord border;
  border.graphical.left = 40;
  border.graphical.top = 20;
  border.graphical.right = 140;
  border.graphical.bottom = 80;
  border.graphical.shadowX = 8;
  border.graphical.shadowY = 8;
  border.graphical.shadowColour = kShadow;
  border.style = 1;
  border.width = 3;
  border.colour1 = kRed;
  page.objects = {PublicationRecords::BackgroundObject(1, background, {PublicationRecords::BorderObject(2, border)})};
  return PublicationRecords::SmallPagesInAWindow("Decorated page", kCloseBoxExits, {page});
}

COLORREF PagePixel(HWND window, int x, int y) {
  const SIZE client = ProgramDriver::ClientSize(window);
  const int left = (client.cx - kPageWidth) / 2, top = (client.cy - kPageHeight) / 2;
  return ProgramDriver::ClientPixel(window, left + x, top + y) & 0xFFFFFF;
}

bool WaitForPagePixel(HWND window, int x, int y, COLORREF colour) {
  const DWORD start = GetTickCount();
  do {
    if (PagePixel(window, x, y) == colour)
      return true;
    Sleep(kPollMs);
  } while (GetTickCount() - start < kWindowTimeoutMs);
  return false;
}

// Waits for the page layout: until the page's own objects are given their
// layout rectangles when the page is shown, they have no area to paint.
TEST(DecorationTest, DISABLED_AGradientBackgroundWithABorderedAreaAndItsShadow) {
  ScratchFolder folder;
  folder.WriteFile("decorated.vor", PublicationRecords::FileText(DecoratedPage()));
  ProgramDriver driver;
  ASSERT_TRUE(driver.Start(ProgramDriver::ProgramFolder() + "vorplayer.exe", folder.File("decorated.vor")));
  const HWND window = driver.WaitForWindow(kViewClass, kWindowTimeoutMs, nullptr, true);
  ASSERT_NE(window, nullptr);
  SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  ASSERT_TRUE(WaitForPagePixel(window, 10, 5, GreyOfColumn(10))) << "the gradient shows";
  struct Probe {
    const char *where;
    int x, y;
    COLORREF colour;
  } probes[] = {
      {"gradient near the left", 10, 50, GreyOfColumn(10)},
      {"gradient near the right", 190, 95, GreyOfColumn(190)},
      {"gradient inside the border", 90, 50, GreyOfColumn(90)},
      {"border, left edge", 41, 50, kRed},
      {"border, right edge", 139, 50, kRed},
      {"border, top edge", 90, 22, kRed},
      {"shadow beside the right edge", 146, 60, kShadow},
      {"shadow below the bottom edge", 100, 86, kShadow},
      {"no shadow above it", 146, 24, GreyOfColumn(146)},
  };
  for (const Probe &p : probes) {
    EXPECT_EQ(PagePixel(window, p.x, p.y), p.colour) << p.where;
  }
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(driver.WaitForExit(kExitTimeoutMs));
}

} // namespace
