#include "support/DemoPublication.h"
#include "support/ProgramDriver.h"
#include "support/PublicationRecords.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using DemoPublication::kScrollbar;
using DemoPublication::kScrollButton;
using DemoPublication::kScrollText;

using E2e::kWindowTimeoutMs;
constexpr DWORD kChangeTimeoutMs = 10000;
using E2e::kExitTimeoutMs;
constexpr DWORD kPollMs = 20;
using E2e::kCloseBoxExits;
using E2e::kViewClass;
constexpr int32_t kPageWidth = 320;
constexpr int32_t kPageHeight = 240;
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kThumbFace = RGB(192, 192, 192);
constexpr COLORREF kNextPageColour = RGB(220, 0, 0);
// The column through the middle of the scrollbar, and its track inside the
// frame and the buttons.
constexpr int kBarX = (kScrollbar.left + kScrollbar.right) / 2;
constexpr int kTrackTop = kScrollbar.top + 1 + kScrollButton;
constexpr int kTrackBottom = kScrollbar.bottom - 1 - kScrollButton;

// The demo's page of scrolled text, then a red page its link goes to, in a
// window larger than the pages.
PublicationRecords::Publication ScrollTextPublication() {
  PublicationRecords::Publication publication = PublicationRecords::SmallPagesInAWindow(
      "Scroll", kCloseBoxExits,
      {DemoPublication::ScrollTextPage(1, 2),
       PublicationRecords::ColouredPage(2, kNextPageColour, kPageWidth, kPageHeight)});
  publication.properties.width = 560;
  publication.properties.height = 400;
  publication.chapters[0].properties.pageWidth = kPageWidth;
  publication.chapters[0].properties.pageHeight = kPageHeight;
  return publication;
}

class PageWindow {
public:
  explicit PageWindow(HWND window) : m_window(window) {
    const SIZE client = ProgramDriver::ClientSize(window);
    m_left = (client.cx - kPageWidth) / 2;
    m_top = (client.cy - kPageHeight) / 2;
  }
  COLORREF Pixel(int x, int y) const {
    return ProgramDriver::CentredPagePixel(m_window, SIZE{kPageWidth, kPageHeight}, x, y);
  }
  // The rows of the track where the thumb's grey face shows: its first and
  // last (-1, -1 when none).
  std::pair<int, int> ThumbFace() const {
    std::pair<int, int> rows{-1, -1};
    for (int y = kTrackTop; y < kTrackBottom; ++y)
      if (Pixel(kBarX, y) == kThumbFace) {
        if (rows.first < 0)
          rows.first = y;
        rows.second = y;
      }
    return rows;
  }
  // The text's pixels, row by row.
  std::vector<COLORREF> TextPixels() const {
    std::vector<COLORREF> pixels;
    for (int y = kScrollText.top; y < kScrollText.bottom; y += 2)
      for (int x = kScrollText.left; x < kScrollText.right; x += 2)
        pixels.push_back(Pixel(x, y));
    return pixels;
  }
  std::string ClickAt(int x, int y) const {
    POINT point{m_left + x, m_top + y};
    ClientToScreen(m_window, &point);
    return "mousemove " + std::to_string(point.x) + " " + std::to_string(point.y) + " sleep 0.15 click 1";
  }

private:
  HWND m_window;
  int m_left;
  int m_top;
};

// As a person sees it: the thumb stands at the top of the track; a click on
// the down button scrolls the text a page and the thumb follows it down.
TEST(ScrollTextTest, ClickingTheDownButtonScrollsTheTextAndMovesTheThumb) {
  ScratchFolder folder;
  folder.WriteFile("scroll.vor", PublicationRecords::FileText(ScrollTextPublication()));
  ProgramDriver driver;
  ASSERT_TRUE(driver.Start(ProgramDriver::ProgramFolder() + "vorplayer.exe", folder.File("scroll.vor")));
  const HWND window = driver.WaitForWindow(kViewClass, kWindowTimeoutMs, nullptr, true);
  ASSERT_NE(window, nullptr);
  SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  ASSERT_TRUE(
      ProgramDriver::WaitForCentredPagePixel(window, SIZE{kPageWidth, kPageHeight}, 5, 5, kWhite, kWindowTimeoutMs))
      << "the page shows";
  const PageWindow page(window);
  DWORD start = GetTickCount();
  while (page.ThumbFace().first < 0 && GetTickCount() - start < kChangeTimeoutMs)
    Sleep(kPollMs);
  const std::pair<int, int> before = page.ThumbFace();
  ASSERT_GE(before.first, 0) << "the thumb shows";
  EXPECT_LE(before.first, kTrackTop + 3) << "at the top of the track";
  EXPECT_LT(before.second, kTrackBottom - 10) << "shorter than the track: the text is longer than its box";
  const std::vector<COLORREF> textBefore = page.TextPixels();

  ASSERT_TRUE(ProgramDriver::Xdotool(page.ClickAt(kBarX, kScrollbar.bottom - 1 - kScrollButton / 2)));
  start = GetTickCount();
  while (page.ThumbFace().first <= before.first && GetTickCount() - start < kChangeTimeoutMs)
    Sleep(kPollMs);
  const std::pair<int, int> after = page.ThumbFace();
  EXPECT_GT(after.first, before.first) << "the thumb went down";
  EXPECT_EQ(after.second - after.first, before.second - before.first) << "and kept its height";
  EXPECT_NE(page.TextPixels(), textBefore) << "the text scrolled";

  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(driver.WaitForExit(kExitTimeoutMs));
}

} // namespace
