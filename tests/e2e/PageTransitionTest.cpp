#include "support/ProgramDriver.h"
#include "support/PublicationRecords.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

using E2e::kCloseBoxExits;
using E2e::kExitTimeoutMs;
using E2e::kViewClass;
using E2e::kWindowTimeoutMs;
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
  PublicationRecords::Page page = PublicationRecords::ColouredPage(id, colour, kPageWidth, kPageHeight);
  PublicationRecords::BackgroundRecord fill;
  fill.graphical.right = kPageWidth;
  fill.graphical.bottom = kPageHeight;
  fill.fillKind = 1;
  fill.colour1 = colour;
  page.objects.push_back(PublicationRecords::BackgroundObject(1, fill));
  return page;
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

// A screenshot of the page, centred in the window's client area, as the
// screen shows it now: 0xRRGGBB pixels, top row first.
class Frame {
public:
  static Frame Capture(HWND window) {
    const SIZE client = ProgramDriver::ClientSize(window);
    POINT corner = {(client.cx - kPageWidth) / 2, (client.cy - kPageHeight) / 2};
    ClientToScreen(window, &corner);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = kPageWidth;
    info.bmiHeader.biHeight = -kPageHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void *bits = nullptr;
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ displaced = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, kPageWidth, kPageHeight, screen, corner.x, corner.y, SRCCOPY);
    GdiFlush();
    Frame frame;
    const auto *pixels = static_cast<const uint32_t *>(bits);
    frame.m_pixels.assign(pixels, pixels + kPageWidth * kPageHeight);
    for (uint32_t &pixel : frame.m_pixels)
      pixel &= 0xFFFFFF;
    SelectObject(memory, displaced);
    DeleteDC(memory);
    DeleteObject(bitmap);
    ReleaseDC(nullptr, screen);
    return frame;
  }

  // Every pixel of this colour (0xBBGGRR).
  bool IsAll(COLORREF colour) const {
    const uint32_t pixel = GetRValue(colour) << 16 | GetGValue(colour) << 8 | GetBValue(colour);
    for (const uint32_t each : m_pixels)
      if (each != pixel)
        return false;
    return true;
  }
  bool operator==(const Frame &other) const { return m_pixels == other.m_pixels; }
  bool operator!=(const Frame &other) const { return !(*this == other); }
  // The middle pixel, 0xRRGGBB.
  uint32_t Middle() const { return m_pixels[kPageHeight / 2 * kPageWidth + kPageWidth / 2]; }

private:
  std::vector<uint32_t> m_pixels;
};

// Looked at as a person would: screenshots taken one after another while
// the page changes. The first shows the old page, a frame in the middle
// differs from both ends (the new page shows through the old one), the
// last is the new page, and it stays so.
TEST(PageTransitionTest, APageChangeWithAFadeGoesThroughFramesBetweenTheTwoPages) {
  ScratchFolder folder;
  folder.WriteFile("fade.vor", PublicationRecords::FileText(FadingPages()));
  ProgramDriver driver;
  ASSERT_TRUE(driver.Start(ProgramDriver::ProgramFolder() + "vorplayer.exe", folder.File("fade.vor")));
  const HWND window = driver.WaitForWindow(kViewClass, kWindowTimeoutMs, nullptr, true);
  ASSERT_NE(window, nullptr);
  SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  ASSERT_TRUE(ProgramDriver::WaitForCentredPagePixel(window, SIZE{kPageWidth, kPageHeight}, kPageWidth / 2,
                                                     kPageHeight / 2, kBlue, kWindowTimeoutMs))
      << "the first page shows";
  std::vector<Frame> frames;
  const DWORD start = GetTickCount();
  do {
    frames.push_back(Frame::Capture(window));
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
    const uint32_t middle = frame.Middle();
    const uint32_t red = middle >> 16 & 0xFF, blue = middle & 0xFF;
    mixed = mixed || (red > 0x20 && red < 0xE0 && blue > 0x20 && blue < 0xB0);
  }
  EXPECT_TRUE(mixed) << "the new page showed through the old one";
  Sleep(300);
  EXPECT_TRUE(Frame::Capture(window) == last) << "the new page stays";
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(driver.WaitForExit(kExitTimeoutMs));
}

} // namespace
