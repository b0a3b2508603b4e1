#include "support/CentredPage.h"
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

using namespace E2e;
constexpr DWORD kChangeTimeoutMs = 10000;
constexpr DWORD kPollMs = 20;
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

// The rows of the track where the thumb's grey face shows: its first and
// last (-1, -1 when none).
std::pair<int, int> ThumbFace(const CentredPage &page) {
  std::pair<int, int> rows{-1, -1};
  for (int y = kTrackTop; y < kTrackBottom; ++y)
    if (page.Pixel(kBarX, y) == kThumbFace) {
      if (rows.first < 0)
        rows.first = y;
      rows.second = y;
    }
  return rows;
}

// The text's pixels, row by row.
std::vector<COLORREF> TextPixels(const CentredPage &page) {
  std::vector<COLORREF> pixels;
  for (int y = kScrollText.top; y < kScrollText.bottom; y += 2)
    for (int x = kScrollText.left; x < kScrollText.right; x += 2)
      pixels.push_back(page.Pixel(x, y));
  return pixels;
}

// As a person sees it: the thumb stands at the top of the track; a click on
// the down button scrolls the text a page and the thumb follows it down.
TEST(ScrollTextTest, ClickingTheDownButtonScrollsTheTextAndMovesTheThumb) {
  ScratchFolder folder;
  folder.WriteFile("scroll.vor", PublicationRecords::FileText(ScrollTextPublication()));
  ProgramDriver driver;
  const HWND window = driver.StartPlayer(folder.File("scroll.vor"));
  ASSERT_NE(window, nullptr);
  const CentredPage page(window, SIZE{kPageWidth, kPageHeight});
  ASSERT_TRUE(page.WaitForPixel(5, 5, kWhite)) << "the page shows";
  DWORD start = GetTickCount();
  while (ThumbFace(page).first < 0 && GetTickCount() - start < kChangeTimeoutMs)
    Sleep(kPollMs);
  const std::pair<int, int> before = ThumbFace(page);
  ASSERT_GE(before.first, 0) << "the thumb shows";
  EXPECT_LE(before.first, kTrackTop + 3) << "at the top of the track";
  EXPECT_LT(before.second, kTrackBottom - 10) << "shorter than the track: the text is longer than its box";
  const std::vector<COLORREF> textBefore = TextPixels(page);

  ASSERT_TRUE(
      ProgramDriver::Xdotool(page.MouseMove(kBarX, kScrollbar.bottom - 1 - kScrollButton / 2) + " sleep 0.15 click 1"));
  start = GetTickCount();
  while (ThumbFace(page).first <= before.first && GetTickCount() - start < kChangeTimeoutMs)
    Sleep(kPollMs);
  const std::pair<int, int> after = ThumbFace(page);
  EXPECT_GT(after.first, before.first) << "the thumb went down";
  EXPECT_EQ(after.second - after.first, before.second - before.first) << "and kept its height";
  EXPECT_NE(TextPixels(page), textBefore) << "the text scrolled";

  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(driver.WaitForExit(kExitTimeoutMs));
}

} // namespace
