#include "support/CentredPage.h"
#include "support/InternalImageWriter.h"
#include "support/ProgramDriver.h"
#include "support/PublicationRecords.h"

#include <gtest/gtest.h>

namespace {

using namespace E2e;
constexpr int32_t kPageWidth = 200;
constexpr int32_t kPageHeight = 100;
// Colours as the records and GDI store them: 0x00BBGGRR.
constexpr COLORREF kRed = RGB(220, 0, 0);
constexpr COLORREF kShadow = RGB(0, 0, 160);
constexpr COLORREF kGreen = RGB(0, 200, 0);
constexpr COLORREF kKey = RGB(255, 0, 255);
constexpr COLORREF kPictureShadow = RGB(90, 40, 0);
constexpr int32_t kPictureResource = 7;
// The picture lies at (60, 35)-(100, 55): its left half is the key colour,
// its right half green.
constexpr int16_t kPictureWidth = 40, kPictureHeight = 20;

// Column x of a black-to-white gradient from left to right over the page.
COLORREF GreyOfColumn(int x) {
  const auto grey = static_cast<BYTE>(x * 255 / kPageWidth);
  return RGB(grey, grey, grey);
}

// A 24-bit picture of the publication's own format, stored blue first.
std::vector<uint8_t> HalfKeyedPicture() {
  using namespace InternalImageWriter;
  const auto pixel = [](COLORREF colour) {
    return static_cast<uint32_t>(GetBValue(colour) | GetGValue(colour) << 8 | GetRValue(colour) << 16);
  };
  constexpr uint32_t kBytesPerPixel = 3;
  constexpr uint16_t kHalf = kPictureWidth / 2;
  std::vector<Block> rows;
  for (int16_t y = 0; y < kPictureHeight; ++y) {
    rows.push_back(Block{kHalf, {pixel(kKey)}, {}});
    rows.push_back(Block{kHalf, {pixel(kGreen)}, {}});
  }
  Picture picture;
  picture.width = kPictureWidth;
  picture.height = kPictureHeight;
  picture.depth = 24;
  Frame frame;
  frame.parts = {PackedPart(0, 0, kPictureWidth, kPictureHeight, rows, kBytesPerPixel)};
  picture.frames = {frame};
  return picture.Bytes();
}

// An image object showing the picture with its key colour transparent and a
// shadow 4 pixels right and down, which falls only where the picture shows.
PublicationRecords::PageObject KeyedPictureObject() {
  constexpr uint32_t kImageId = 3;
  PublicationRecords::HotSpotRecord image;
  image.graphical.Place(60, 35, 60 + kPictureWidth, 35 + kPictureHeight);
  image.graphical.shadowX = 4;
  image.graphical.shadowY = 4;
  image.graphical.shadowColour = kPictureShadow;
  image.graphical.transparentColour = 1;
  image.graphical.transparencyKind = 1;
  image.graphical.keyColour = kKey;
  return PublicationRecords::PictureObject(kImageId, image, kPictureResource);
}

// A page-wide background with a gradient from left to right, and in it a
// bordered area (40, 20)-(140, 80): a red square line 3 pixels wide whose
// shadow falls 8 pixels right and down; inside it the keyed picture.
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
  border.graphical.Place(40, 20, 140, 80);
  border.graphical.shadowX = 8;
  border.graphical.shadowY = 8;
  border.graphical.shadowColour = kShadow;
  border.style = 1;
  border.width = 3;
  border.colour1 = kRed;
  // Beside the background, not inside it: a child lies over its parent.
  page.objects = {PublicationRecords::BackgroundObject(1, background), PublicationRecords::BorderObject(2, border),
                  KeyedPictureObject()};
  PublicationRecords::Publication publication =
      PublicationRecords::SmallPagesInAWindow("Decorated page", kCloseBoxExits, {page});
  publication.internalResources[kPictureResource] = HalfKeyedPicture();
  return publication;
}

TEST(DecorationTest, AGradientBackgroundWithABorderedAreaAKeyedPictureAndTheirShadows) {
  ScratchFolder folder;
  folder.WriteFile("decorated.vor", PublicationRecords::FileText(DecoratedPage()));
  ProgramDriver driver;
  const HWND window = driver.StartPlayer(folder.File("decorated.vor"));
  ASSERT_NE(window, nullptr);
  const CentredPage page(window, SIZE{kPageWidth, kPageHeight});
  ASSERT_TRUE(page.WaitForPixel(10, 5, GreyOfColumn(10))) << "the gradient shows";
  struct Probe {
    const char *where;
    int x, y;
    COLORREF colour;
  } probes[] = {
      {"gradient near the left", 10, 50, GreyOfColumn(10)},
      {"gradient near the right", 190, 95, GreyOfColumn(190)},
      {"gradient inside the border", 125, 50, GreyOfColumn(125)},
      {"border, left edge", 41, 50, kRed},
      {"border, right edge", 139, 50, kRed},
      {"border, top edge", 90, 22, kRed},
      {"shadow beside the right edge", 146, 60, kShadow},
      {"shadow below the bottom edge", 100, 86, kShadow},
      {"no shadow above it", 146, 24, GreyOfColumn(146)},
      {"picture, green half", 90, 45, kGreen},
      {"picture, keyed half shows the gradient", 70, 45, GreyOfColumn(70)},
      {"picture's shadow beside its green half", 102, 50, kPictureShadow},
      {"picture's shadow below its green half", 90, 57, kPictureShadow},
      {"no shadow below the keyed half", 70, 57, GreyOfColumn(70)},
  };
  for (const Probe &p : probes) {
    EXPECT_EQ(page.Pixel(p.x, p.y), p.colour) << p.where;
  }
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(driver.WaitForExit(kExitTimeoutMs));
}

} // namespace
