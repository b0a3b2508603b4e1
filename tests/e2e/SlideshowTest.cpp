#include "support/BmpFileWriter.h"
#include "support/ProgramDriver.h"
#include "support/PublicationRecords.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr DWORD kWindowTimeoutMs = 20000;
constexpr DWORD kExitTimeoutMs = 20000;
constexpr const char *kViewClass = "VOR_VIEW_CLASS";
constexpr uint32_t kCloseBoxExits = 0x20;
constexpr int32_t kPageWidth = 200;
constexpr int32_t kPageHeight = 100;
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(220, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 200);
constexpr uint32_t kSlideMs = 1500;

// A 24-bit BMP of one colour, bottom-up, rows padded to 4 bytes.
std::string SolidBmp(COLORREF colour, int32_t width, int32_t height) {
  BmpFileWriter::Picture picture;
  picture.width = width;
  picture.height = height;
  const uint32_t stride = BmpFileWriter::Stride(width, 24);
  picture.pixels.assign(static_cast<size_t>(stride) * static_cast<size_t>(height), 0);
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x) {
      uint8_t *pixel = &picture.pixels[static_cast<size_t>(y) * stride + static_cast<size_t>(x) * 3];
      pixel[0] = GetBValue(colour);
      pixel[1] = GetGValue(colour);
      pixel[2] = GetRValue(colour);
    }
  const std::vector<uint8_t> bytes = BmpFileWriter::Write(picture);
  return std::string(bytes.begin(), bytes.end());
}

// A white page with a slideshow at (20, 20)-(120, 80) of two BMP files
// beside the publication, red then blue, each shown kSlideMs, endlessly.
PublicationRecords::Publication SlideshowPage() {
  PublicationRecords::Page page = PublicationRecords::ColouredPage(1, kWhite, kPageWidth, kPageHeight);
  PublicationRecords::SlideshowRecord record;
  record.hotSpot.graphical.left = 20;
  record.hotSpot.graphical.top = 20;
  record.hotSpot.graphical.right = 120;
  record.hotSpot.graphical.bottom = 80;
  record.repeatCount = -1;
  record.slides = {{kSlideMs, VORObjectKey{4, 0, 2}, {}}, {kSlideMs, VORObjectKey{4, 0, 3}, {}}};
  constexpr int16_t kPublicationFolder = 1;
  constexpr uint8_t kPictureStorage = 2;
  page.objects.push_back(PublicationRecords::SlideshowObject(
      1, record,
      {PublicationRecords::ExternalResourceObject(2, {kPublicationFolder, "red.bmp", true, kPictureStorage}),
       PublicationRecords::ExternalResourceObject(3, {kPublicationFolder, "blue.bmp", true, kPictureStorage})}));
  return PublicationRecords::SmallPagesInAWindow("Slideshow", kCloseBoxExits, {page});
}

COLORREF PagePixel(HWND window, int x, int y) {
  return ProgramDriver::CentredPagePixel(window, SIZE{kPageWidth, kPageHeight}, x, y);
}

bool WaitForPagePixel(HWND window, int x, int y, COLORREF colour) {
  return ProgramDriver::WaitForCentredPagePixel(window, SIZE{kPageWidth, kPageHeight}, x, y, colour, kWindowTimeoutMs);
}

// Looked at as a person would: the first picture shows, the timer brings
// the second, then the first again; the page around it stays white.
TEST(SlideshowTest, APictureFileSlideshowChangesItsPictureOnItsTimer) {
  ScratchFolder folder;
  folder.WriteFile("red.bmp", SolidBmp(kRed, 100, 60));
  folder.WriteFile("blue.bmp", SolidBmp(kBlue, 100, 60));
  folder.WriteFile("slides.vor", PublicationRecords::FileText(SlideshowPage()));
  ProgramDriver driver;
  ASSERT_TRUE(driver.Start(ProgramDriver::ProgramFolder() + "vorplayer.exe", folder.File("slides.vor")));
  const HWND window = driver.WaitForWindow(kViewClass, kWindowTimeoutMs, nullptr, true);
  ASSERT_NE(window, nullptr);
  SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  ASSERT_TRUE(WaitForPagePixel(window, 150, 10, kWhite)) << "the page shows";
  EXPECT_TRUE(WaitForPagePixel(window, 70, 50, kRed)) << "the first slide";
  EXPECT_TRUE(WaitForPagePixel(window, 70, 50, kBlue)) << "the timer brings the second";
  EXPECT_TRUE(WaitForPagePixel(window, 70, 50, kRed)) << "and the first again";
  EXPECT_EQ(PagePixel(window, 150, 50), kWhite);
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(driver.WaitForExit(kExitTimeoutMs));
}

} // namespace
