#include "support/CentredPage.h"
#include "support/DemoPublication.h"
#include "support/ProgramDriver.h"
#include "support/PublicationRecords.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace E2e;
constexpr DWORD kPollMs = 50;
constexpr int32_t kPageWidth = 320;
constexpr int32_t kPageHeight = 240;
constexpr SIZE kPage{kPageWidth, kPageHeight};
constexpr COLORREF kWhite = RGB(255, 255, 255);
// JPEG colours come back within rounding; the others exactly.
constexpr int kTolerance = 4;

// The demo's picture page alone, in a true-colour window of its own size,
// the picture files beside it.
PublicationRecords::Publication PicturePublication() {
  PublicationRecords::Page page = DemoPublication::PicturePage(1, 1);
  page.properties.timedPageDelay = -1; // the page stays
  page.properties.timedPage = VORObjectKey{0, 0, 0};
  PublicationRecords::Publication publication =
      PublicationRecords::SmallPagesInAWindow("Pictures", kCloseBoxExits, {page});
  publication.properties.width = 400;
  publication.properties.height = 320;
  publication.chapters[0].properties.pageWidth = kPageWidth;
  publication.chapters[0].properties.pageHeight = kPageHeight;
  return publication;
}

bool Near(COLORREF a, COLORREF b) {
  for (int shift = 0; shift < 24; shift += 8) {
    const int d = static_cast<int>(a >> shift & 0xFF) - static_cast<int>(b >> shift & 0xFF);
    if (d > kTolerance || d < -kTolerance)
      return false;
  }
  return true;
}

// Waits until the point of the page shows about the colour.
bool WaitForNearPixel(const CentredPage &page, int x, int y, COLORREF colour) {
  const DWORD start = GetTickCount();
  do {
    if (Near(page.Pixel(x, y), colour))
      return true;
    Sleep(kPollMs);
  } while (GetTickCount() - start < kWindowTimeoutMs);
  return false;
}

class PictureFormatsTest : public ::testing::Test {
protected:
  void SetUp() override {
    folder.WriteFile("pictures.vor", PublicationRecords::FileText(PicturePublication()));
    for (const auto &file : DemoPublication::PictureFiles())
      folder.WriteFile(file.first, std::string(file.second.begin(), file.second.end()));
  }

  // Starts the program on the page and waits until the page's white shows.
  HWND Show(const char *program) {
    const HWND window = driver.StartPlayer(folder.File("pictures.vor"), program);
    return window != nullptr && WaitForNearPixel(CentredPage(window, kPage), 5, 5, kWhite) ? window : nullptr;
  }

  void Close(HWND window) {
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(driver.WaitForExit(kExitTimeoutMs));
  }

  ScratchFolder folder;
  ProgramDriver driver;
};

// Each picture's upper and lower halves, in the middle of its object.
struct Samples {
  int x, upperY, lowerY;
};
Samples SamplesOf(const DemoPublication::PictureSpot &spot) {
  return {spot.left + spot.width / 2, spot.top + spot.height / 4, spot.top + spot.height * 3 / 4};
}

TEST_F(PictureFormatsTest, TheFullPlayerShowsAPictureOfEveryFormat) {
  const HWND window = Show("vorplayer.exe");
  ASSERT_NE(window, nullptr);
  const CentredPage page(window, kPage);
  for (const DemoPublication::PictureSpot &spot : DemoPublication::PictureSpots()) {
    const Samples at = SamplesOf(spot);
    EXPECT_TRUE(WaitForNearPixel(page, at.x, at.upperY, spot.topColour))
        << spot.fileName << " upper half: " << std::hex << page.Pixel(at.x, at.upperY);
    EXPECT_TRUE(Near(page.Pixel(at.x, at.lowerY), spot.bottomColour))
        << spot.fileName << " lower half: " << std::hex << page.Pixel(at.x, at.lowerY);
  }
  Close(window);
}

// The compact player knows BMP only: the other objects show nothing and
// leave the page's white.
TEST_F(PictureFormatsTest, TheCompactPlayerShowsTheBmpOnly) {
  const HWND window = Show("vorcompact.exe");
  ASSERT_NE(window, nullptr);
  const CentredPage page(window, kPage);
  for (const DemoPublication::PictureSpot &spot : DemoPublication::PictureSpots()) {
    const Samples at = SamplesOf(spot);
    if (std::string(spot.fileName).find(".bmp") != std::string::npos) {
      EXPECT_TRUE(WaitForNearPixel(page, at.x, at.upperY, spot.topColour)) << spot.fileName;
      EXPECT_TRUE(Near(page.Pixel(at.x, at.lowerY), spot.bottomColour)) << spot.fileName;
    }
  }
  // Looked at once the BMP is up, so the page is whole.
  for (const DemoPublication::PictureSpot &spot : DemoPublication::PictureSpots()) {
    const Samples at = SamplesOf(spot);
    if (std::string(spot.fileName).find(".bmp") == std::string::npos) {
      EXPECT_EQ(page.Pixel(at.x, at.upperY), kWhite) << spot.fileName;
      EXPECT_EQ(page.Pixel(at.x, at.lowerY), kWhite) << spot.fileName;
    }
  }
  Close(window);
}

} // namespace
