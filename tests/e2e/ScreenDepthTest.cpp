// The player on the screen depths a publication meets. scripts/test runs
// these tests on its usual 24-bit screen and once more on a 16-bit one
// (VOR_SCREEN_DEPTH=16); they check the depth they were started for.
#include "support/ProgramDriver.h"
#include "support/PublicationRecords.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace E2e;
constexpr DWORD kPollMs = 20;
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr uint32_t kEscapeExits = 0x10;
// A colour value with this bit names an entry of the publication's palette.
constexpr uint32_t kPaletteIndex = 0x01000000;
constexpr uint32_t kPublicationColour = 0xFFFFFFFF;

// BITSPIXEL of this screen; a 24-bit X screen answers 32.
int ScreenBits() {
  HDC screen = GetDC(nullptr);
  const int bits = GetDeviceCaps(screen, BITSPIXEL);
  ReleaseDC(nullptr, screen);
  return bits;
}

// How far a shown channel may lie from the colour asked for: a 16-bit
// screen keeps 5 or 6 bits of each.
int Tolerance() { return ScreenBits() >= 24 ? 0 : 8; }

bool Near(COLORREF shown, COLORREF wanted) {
  const int tolerance = Tolerance();
  return std::abs(GetRValue(shown) - GetRValue(wanted)) <= tolerance &&
         std::abs(GetGValue(shown) - GetGValue(wanted)) <= tolerance &&
         std::abs(GetBValue(shown) - GetBValue(wanted)) <= tolerance;
}

std::string Text(COLORREF colour) {
  char text[16];
  wsprintfA(text, "%06lX", static_cast<unsigned long>(colour & 0xFFFFFF));
  return text;
}

// Waits until the client point shows (about) the colour; the last colour
// seen is left in shown.
bool WaitForColour(HWND window, int x, int y, COLORREF colour, COLORREF &shown) {
  const DWORD start = GetTickCount();
  do {
    shown = ProgramDriver::ClientPixel(window, x, y) & 0xFFFFFF;
    if (Near(shown, colour))
      return true;
    Sleep(kPollMs);
  } while (GetTickCount() - start < kWindowTimeoutMs);
  return false;
}

// Entries as the record stores them: blue, green, red, reserved. None of
// them is the colour the system's own palette has at the same index.
const std::vector<PublicationRecords::PaletteEntry> kColours = {
    {0, 0, 0, 0},      {10, 20, 30, 0}, {10, 20, 30, 0}, {10, 20, 30, 0}, {10, 20, 30, 0},
    {120, 30, 200, 0}, {10, 20, 30, 0}, {10, 20, 30, 0}, {10, 20, 30, 0}, {60, 170, 230, 0},
};

COLORREF EntryColour(size_t index) { return RGB(kColours[index].red, kColours[index].green, kColours[index].blue); }

// An 8-bit publication whose colours are entries of its palette: the first
// page's own, then, after a second, the publication's in the second page.
PublicationRecords::Publication EightBitPublication() {
  PublicationRecords::Page first = PublicationRecords::ColouredPage(1, kPaletteIndex | 5);
  first.properties.timedPageDelay = 1000;
  first.properties.timedPage = VORObjectKey{0, 4, 2};
  PublicationRecords::Publication publication = PublicationRecords::SmallPagesInAWindow(
      "Eight bits", kEscapeExits, {first, PublicationRecords::ColouredPage(2, kPublicationColour)});
  publication.colourDepth = 8;
  publication.palette = kColours;
  publication.properties.backgroundColor = kPaletteIndex | 9;
  return publication;
}

TEST(ScreenDepthTest, TheScreenIsTheDepthAskedFor) {
  const char *asked = std::getenv("VOR_SCREEN_DEPTH");
  const int depth = asked ? std::atoi(asked) : 24;
  EXPECT_EQ(ScreenBits(), depth == 24 ? 32 : depth);
  HDC screen = GetDC(nullptr);
  EXPECT_EQ(GetDeviceCaps(screen, RASTERCAPS) & RC_PALETTE, 0) << "no palette at 16 bits and more";
  ReleaseDC(nullptr, screen);
}

// The colours of an 8-bit publication come from its palette, which the
// window selects and realises whenever it paints; the palette messages are
// answered as a window with a palette answers them.
TEST(ScreenDepthTest, AnEightBitPublicationPaintsItsPalettesColours) {
  ScratchFolder folder;
  folder.WriteFile("eight.vor", PublicationRecords::FileText(EightBitPublication()));
  ProgramDriver driver;
  HWND window = driver.StartPlayer(folder.File("eight.vor"));
  ASSERT_NE(window, nullptr);
  COLORREF shown = 0;
  ASSERT_TRUE(WaitForColour(window, 1, 1, EntryColour(5), shown))
      << "the first page's margins show entry 5 of the publication's palette, not " << Text(shown);
  const SIZE client = ProgramDriver::ClientSize(window);
  const int left = (client.cx - 200) / 2, top = (client.cy - 100) / 2;
  EXPECT_TRUE(WaitForColour(window, left + 100, top + 50, kWhite, shown)) << "the page, " << Text(shown);
  EXPECT_TRUE(WaitForColour(window, client.cx - 2, client.cy - 2, EntryColour(5), shown)) << Text(shown);

  EXPECT_EQ(SendMessageA(window, WM_QUERYNEWPALETTE, 0, 0), 1) << "the view realises its palette";
  EXPECT_EQ(SendMessageA(window, WM_PALETTECHANGED, reinterpret_cast<WPARAM>(GetDesktopWindow()), 0), 0);
  EXPECT_EQ(SendMessageA(window, WM_PALETTECHANGED, reinterpret_cast<WPARAM>(window), 0), 0);

  EXPECT_TRUE(WaitForColour(window, 1, 1, EntryColour(9), shown))
      << "the second page takes the publication's colour, entry 9, not " << Text(shown);
  EXPECT_TRUE(WaitForColour(window, left + 100, top + 50, kWhite, shown)) << Text(shown);

  PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0);
  ASSERT_TRUE(driver.WaitForExit(kExitTimeoutMs));
  EXPECT_EQ(driver.ExitCode(), 0u);
}

} // namespace
