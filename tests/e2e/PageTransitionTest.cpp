#include "support/CentredPage.h"
#include "support/FilledPage.h"
#include "support/ProgramDriver.h"
#include "support/PublicationRecords.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

using namespace E2e;
constexpr int32_t kPageWidth = 200;
constexpr int32_t kPageHeight = 100;
constexpr COLORREF kBlue = RGB(0, 0, 200);
constexpr COLORREF kOrange = RGB(240, 160, 0);
constexpr int32_t kFirstPageMs = 1500;
constexpr uint16_t kFadeMs = 2000;
constexpr uint16_t kFadeCode = 10;
constexpr DWORD kFramePeriodMs = 50;

// A page filled by a background of one colour.
PublicationRecords::Page FilledPage(uint32_t id, COLORREF colour) {
  return ::FilledPage(id, colour, kPageWidth, kPageHeight);
}

// A blue page that goes on after 1.5 s to an orange page entering with a
// fade of 16 levels over 2 s.
PublicationRecords::Publication FadingPages() {
  PublicationRecords::Page first = FilledPage(1, kBlue);
  first.properties.timedPageDelay = kFirstPageMs;
  first.properties.timedPage = VORObjectKey{0, 4, 2};
  PublicationRecords::Page second = FilledPage(2, kOrange);
  second.properties.enterTransition = {"Fade", kFadeCode, PublicationRecords::FadeFXFields(kFadeMs, 16, 0xFFFFFFFF)};
  return PublicationRecords::SmallPagesInAWindow("Fading pages", kCloseBoxExits, {first, second});
}

// A screenshot of the page: 0xBBGGRR pixels, top row first.
class Frame {
public:
  static Frame Capture(const CentredPage &page) {
    Frame frame;
    frame.m_pixels = page.Screenshot();
    return frame;
  }

  // Every pixel of this colour.
  bool IsAll(COLORREF colour) const {
    for (const COLORREF each : m_pixels)
      if (each != colour)
        return false;
    return true;
  }
  bool operator==(const Frame &other) const { return m_pixels == other.m_pixels; }
  bool operator!=(const Frame &other) const { return !(*this == other); }
  // The middle pixel.
  COLORREF Middle() const { return m_pixels[kPageHeight / 2 * kPageWidth + kPageWidth / 2]; }

private:
  std::vector<COLORREF> m_pixels;
};

// Looked at as a person would: screenshots taken one after another while
// the page changes. The first shows the old page, a frame in the middle
// differs from both ends (the new page shows through the old one), the
// last is the new page, and it stays so.
TEST(PageTransitionTest, APageChangeWithAFadeGoesThroughFramesBetweenTheTwoPages) {
  ScratchFolder folder;
  folder.WriteFile("fade.vor", PublicationRecords::FileText(FadingPages()));
  ProgramDriver driver;
  const HWND window = driver.StartPlayer(folder.File("fade.vor"));
  ASSERT_NE(window, nullptr);
  const CentredPage page(window, SIZE{kPageWidth, kPageHeight});
  ASSERT_TRUE(page.WaitForPixel(kPageWidth / 2, kPageHeight / 2, kBlue)) << "the first page shows";
  std::vector<Frame> frames;
  const DWORD start = GetTickCount();
  do {
    frames.push_back(Frame::Capture(page));
    if (frames.back().IsAll(kOrange))
      break;
    Sleep(kFramePeriodMs);
  } while (GetTickCount() - start < kWindowTimeoutMs);
  ASSERT_GE(frames.size(), 3u);
  const Frame &first = frames.front();
  const Frame &last = frames.back();
  EXPECT_TRUE(first.IsAll(kBlue)) << "the old page";
  EXPECT_TRUE(last.IsAll(kOrange)) << "the new page";
  size_t between = 0;
  for (const Frame &frame : frames)
    if (frame != first && frame != last)
      ++between;
  EXPECT_GE(between, 1u) << "frames between the two pages";
  // A frame half way: neither page's colour, each channel between theirs.
  bool mixed = false;
  for (const Frame &frame : frames) {
    const COLORREF middle = frame.Middle();
    const BYTE red = GetRValue(middle), blue = GetBValue(middle);
    mixed = mixed || (red > 0x20 && red < 0xE0 && blue > 0x20 && blue < 0xB0);
  }
  EXPECT_TRUE(mixed) << "the new page showed through the old one";
  Sleep(300);
  EXPECT_TRUE(Frame::Capture(page) == last) << "the new page stays";
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(driver.WaitForExit(kExitTimeoutMs));
}

} // namespace
