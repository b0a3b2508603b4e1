#include "support/BmpFileWriter.h"
#include "support/CentredPage.h"
#include "support/ProgramDriver.h"
#include "support/PublicationRecords.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace E2e;
constexpr int32_t kPageWidth = 200;
constexpr int32_t kPageHeight = 100;
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(220, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 200);
constexpr COLORREF kGreen = RGB(0, 160, 0);
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
// beside the publication, red then blue, each shown kSlideMs, endlessly,
// each entered through the effect (none by default). The slideshow runs its
// effects as its record does by default: modally.
PublicationRecords::Publication SlideshowPage(const PublicationRecords::FXRecord &effect = {}) {
  PublicationRecords::Page page = PublicationRecords::ColouredPage(1, kWhite, kPageWidth, kPageHeight);
  PublicationRecords::SlideshowRecord record;
  record.hotSpot.graphical.Place(20, 20, 120, 80);
  record.repeatCount = -1;
  record.slides = {{kSlideMs, VORObjectKey{4, 0, 2}, effect}, {kSlideMs, VORObjectKey{4, 0, 3}, effect}};
  constexpr int16_t kPublicationFolder = 1;
  constexpr uint8_t kPictureStorage = 2;
  page.objects.push_back(PublicationRecords::SlideshowObject(
      1, record,
      {PublicationRecords::ExternalResourceObject(2, {kPublicationFolder, "red.bmp", true, kPictureStorage}),
       PublicationRecords::ExternalResourceObject(3, {kPublicationFolder, "blue.bmp", true, kPictureStorage})}));
  return PublicationRecords::SmallPagesInAWindow("Slideshow", kCloseBoxExits, {page});
}

// Looked at as a person would: the first picture shows, the timer brings
// the second, then the first again; the page around it stays white.
TEST(SlideshowTest, APictureFileSlideshowChangesItsPictureOnItsTimer) {
  ScratchFolder folder;
  folder.WriteFile("red.bmp", SolidBmp(kRed, 100, 60));
  folder.WriteFile("blue.bmp", SolidBmp(kBlue, 100, 60));
  folder.WriteFile("slides.vor", PublicationRecords::FileText(SlideshowPage()));
  ProgramDriver driver;
  const HWND window = driver.StartPlayer(folder.File("slides.vor"));
  ASSERT_NE(window, nullptr);
  const CentredPage page(window, SIZE{kPageWidth, kPageHeight});
  ASSERT_TRUE(page.WaitForPixel(150, 10, kWhite)) << "the page shows";
  EXPECT_TRUE(page.WaitForPixel(70, 50, kRed)) << "the first slide";
  EXPECT_TRUE(page.WaitForPixel(70, 50, kBlue)) << "the timer brings the second";
  EXPECT_TRUE(page.WaitForPixel(70, 50, kRed)) << "and the first again";
  EXPECT_EQ(page.Pixel(150, 50), kWhite);
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(driver.WaitForExit(kExitTimeoutMs));
}

// A white page with a slideshow at (20, 20)-(120, 80) of every file that
// "*-slide.*" matches in the publication's folder, one pass, each slide
// kSlideMs (the first slide's delay: the second's is never used). Beside
// it at (140, 20)-(180, 80) a file-pattern slideshow with no slides at all.
PublicationRecords::Publication FilePatternPage() {
  PublicationRecords::Page page = PublicationRecords::ColouredPage(1, kWhite, kPageWidth, kPageHeight);
  constexpr uint16_t kStartAndFilePattern = 0x01 | 0x04;
  constexpr int16_t kPublicationFolder = 1;
  constexpr uint8_t kPictureStorage = 2;
  constexpr uint32_t kNeverUsed = 600000;
  PublicationRecords::SlideshowRecord record;
  record.hotSpot.graphical.Place(20, 20, 120, 80);
  record.slideFlags = kStartAndFilePattern;
  record.repeatCount = 0;
  record.slides = {{kSlideMs, VORObjectKey{4, 0, 2}, {}}, {kNeverUsed, VORObjectKey{4, 0, 2}, {}}};
  page.objects.push_back(PublicationRecords::SlideshowObject(
      1, record,
      {PublicationRecords::ExternalResourceObject(2, {kPublicationFolder, "*-slide.*", true, kPictureStorage})}));
  PublicationRecords::SlideshowRecord empty;
  empty.hotSpot.graphical.Place(140, 20, 180, 80);
  empty.slideFlags = kStartAndFilePattern;
  page.objects.push_back(PublicationRecords::SlideshowObject(3, empty));
  return PublicationRecords::SmallPagesInAWindow("Slides", kCloseBoxExits, {page});
}

// The page as the screen shows it: its pixels, row by row.
struct PageShot {
  std::vector<COLORREF> pixels;

  COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y * kPageWidth + x)]; }
  // Whether every pixel of the rectangle is the colour.
  bool Fills(const RECT &rect, COLORREF colour) const {
    for (int y = rect.top; y < rect.bottom; ++y)
      for (int x = rect.left; x < rect.right; ++x)
        if (At(x, y) != colour)
          return false;
    return true;
  }
  // Whether any pixel of the rectangle is the colour.
  bool Shows(const RECT &rect, COLORREF colour) const {
    for (int y = rect.top; y < rect.bottom; ++y)
      for (int x = rect.left; x < rect.right; ++x)
        if (At(x, y) == colour)
          return true;
    return false;
  }
  // Whether the two shots agree everywhere outside the rectangle.
  bool SameOutside(const PageShot &other, const RECT &rect) const {
    for (int y = 0; y < kPageHeight; ++y)
      for (int x = 0; x < kPageWidth; ++x) {
        const bool inside = x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
        if (!inside && At(x, y) != other.At(x, y))
          return false;
      }
    return true;
  }
};

// Waits for the slideshow's middle to change from the colour; the colour
// it changed to (the colour itself when nothing changed in time).
COLORREF WaitForChangeFrom(const CentredPage &page, COLORREF colour) {
  constexpr DWORD kPollMs = 20;
  const DWORD start = GetTickCount();
  do {
    const COLORREF now = page.Pixel(70, 50);
    if (now != colour)
      return now;
    Sleep(kPollMs);
  } while (GetTickCount() - start < kWindowTimeoutMs);
  return colour;
}

// The slides are the picture files beside the publication that the pattern
// names, in the order of their names whatever order they were written in;
// a file the pattern names that is no picture is left out. Screenshots at
// two times show the first and the second slide in the slideshow's place,
// and nothing else of the page changed; the pass ends on the last slide.
// The slideshow without slides shows nothing and harms nothing.
TEST(SlideshowTest, SlidesFromPictureFilesBesideThePublication) {
  ScratchFolder folder;
  folder.WriteFile("b-slide.bmp", SolidBmp(kBlue, 100, 60));
  folder.WriteFile("c-slide.txt", "not a picture");
  folder.WriteFile("D-slide.bmp", SolidBmp(kGreen, 100, 60));
  folder.WriteFile("a-slide.bmp", SolidBmp(kRed, 100, 60));
  folder.WriteFile("other.bmp", SolidBmp(kBlue, 100, 60));
  folder.WriteFile("slides.vor", PublicationRecords::FileText(FilePatternPage()));
  ProgramDriver driver;
  const HWND window = driver.StartPlayer(folder.File("slides.vor"));
  ASSERT_NE(window, nullptr);
  const CentredPage page(window, SIZE{kPageWidth, kPageHeight});
  const RECT slideshow = {20, 20, 120, 80};
  ASSERT_TRUE(page.WaitForPixel(70, 50, kRed)) << "the first slide by name";
  const PageShot first{page.Screenshot()};
  EXPECT_EQ(WaitForChangeFrom(page, kRed), kBlue) << "then the second";
  const PageShot second{page.Screenshot()};
  EXPECT_EQ(WaitForChangeFrom(page, kBlue), kGreen) << "then the third; the text file is no slide";
  for (const PageShot *shot : {&first, &second})
    EXPECT_EQ(shot->At(150, 50), kWhite) << "the empty slideshow shows the page";
  EXPECT_TRUE(first.Fills(slideshow, kRed));
  EXPECT_TRUE(second.Fills(slideshow, kBlue));
  EXPECT_TRUE(first.SameOutside(second, slideshow));
  EXPECT_TRUE(first.Fills(RECT{0, 0, kPageWidth, 20}, kWhite));
  // One pass: the last slide stays.
  Sleep(2 * kSlideMs);
  EXPECT_EQ(page.Pixel(70, 50), kGreen);
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(driver.WaitForExit(kExitTimeoutMs));
}

// Screenshots every sample period until one passes the test (true), or the
// wait is up (false).
template <typename Test>
bool WaitForShot(const CentredPage &page, Test test) {
  const DWORD start = GetTickCount();
  do {
    if (test(PageShot{page.Screenshot()}))
      return true;
    Sleep(CentredPage::kSamplePeriodMs);
  } while (GetTickCount() - start < kWindowTimeoutMs);
  return false;
}

// The slideshow of SlideshowPage with the effect, started on its red and
// blue slides in the program.
class SlideshowRun {
public:
  explicit SlideshowRun(const PublicationRecords::FXRecord &effect, const char *program = "vorplayer.exe") {
    folder.WriteFile("red.bmp", SolidBmp(kRed, 100, 60));
    folder.WriteFile("blue.bmp", SolidBmp(kBlue, 100, 60));
    folder.WriteFile("slides.vor", PublicationRecords::FileText(SlideshowPage(effect)));
    window = driver.StartPlayer(folder.File("slides.vor"), program);
  }
  ~SlideshowRun() { driver.Kill(); }

  ScratchFolder folder;
  ProgramDriver driver;
  HWND window = nullptr;
};

constexpr uint16_t kFadeCode = 10;
constexpr uint16_t kBlockCode = 7;
constexpr uint16_t kTransitionMs = 1000;

// With the record's default, a slide transition runs modally. A fade, which
// only ever runs while the page goes on, fades the slides into each other
// all the same, in the full and in the compact player: the slideshow's
// middle passes through colours between red and blue, both ways.
TEST(SlideshowTest, AModallyRunSlideshowFadesItsSlidesIntoEachOther) {
  for (const char *program : {"vorplayer.exe", "vorcompact.exe"}) {
    SlideshowRun run({"Fade", kFadeCode, PublicationRecords::FadeFXFields(kTransitionMs, 16, 0xFFFFFFFF)}, program);
    ASSERT_NE(run.window, nullptr) << program;
    const CentredPage page(run.window, SIZE{kPageWidth, kPageHeight});
    ASSERT_TRUE(page.WaitForPixel(70, 50, kRed)) << program << ": the first slide";
    const std::vector<COLORREF> toBlue = page.SampleUntil(70, 50, kBlue);
    EXPECT_EQ(toBlue.back(), kBlue) << program << ": the timer brings the second slide";
    EXPECT_GE(CentredPage::MixedColours(toBlue, kRed, kBlue).size(), 2u) << program << ": the blue slide faded in";
    const std::vector<COLORREF> toRed = page.SampleUntil(70, 50, kRed);
    EXPECT_EQ(toRed.back(), kRed) << program << ": and the first again";
    EXPECT_GE(CentredPage::MixedColours(toRed, kBlue, kRed).size(), 2u) << program << ": the red slide faded in";
    EXPECT_EQ(page.Pixel(150, 50), kWhite) << program;
  }
}

// An effect that runs modally over the screen (blocks of a 4 x 4 grid in
// random order) reveals the blue slide piece by piece over the red one:
// screenshots taken while it runs show both slides at once in the
// slideshow's place, until the blue one fills it.
TEST(SlideshowTest, AModalBlockTransitionRevealsTheNewSlideOverTheOld) {
  constexpr uint8_t kRandomOrder = 10;
  SlideshowRun run({"Block", kBlockCode, PublicationRecords::BlockFXFields(4, 4, kTransitionMs, kRandomOrder)});
  ASSERT_NE(run.window, nullptr);
  const CentredPage page(run.window, SIZE{kPageWidth, kPageHeight});
  const RECT slideshow = {20, 20, 120, 80};
  ASSERT_TRUE(page.WaitForPixel(70, 50, kRed)) << "the first slide";
  ASSERT_TRUE(WaitForShot(page, [&](const PageShot &shot) { return shot.Fills(slideshow, kRed); }))
      << "the first slide fills the slideshow";
  bool together = false;
  const bool blue = WaitForShot(page, [&](const PageShot &shot) {
    together = together || (shot.Shows(slideshow, kRed) && shot.Shows(slideshow, kBlue));
    return shot.Fills(slideshow, kBlue);
  });
  EXPECT_TRUE(blue) << "the blue slide came in whole";
  EXPECT_TRUE(together) << "the two slides showed at once";
  EXPECT_EQ(page.Pixel(150, 50), kWhite);
}

} // namespace
