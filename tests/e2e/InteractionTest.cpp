#include "support/CentredPage.h"
#include "support/DemoPublication.h"
#include "support/ProgramDriver.h"
#include "support/PublicationRecords.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using DemoPublication::PlayArea;

using namespace E2e;
constexpr DWORD kEffectTimeoutMs = 10000;
constexpr int32_t kPageWidth = 320;
constexpr int32_t kPageHeight = 240;
constexpr COLORREF kNextPageColour = RGB(220, 0, 0);
constexpr int kMarginX = -10;
constexpr COLORREF kFace = RGB(192, 192, 192);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

// The demo's page to play with, then a red page its button goes to, in a
// window larger than the pages.
PublicationRecords::Publication PlayPublication() {
  PublicationRecords::Publication publication = PublicationRecords::SmallPagesInAWindow(
      "Play", kCloseBoxExits,
      {DemoPublication::PlayPage(1, 2), PublicationRecords::ColouredPage(2, kNextPageColour, kPageWidth, kPageHeight)});
  publication.properties.width = 560;
  publication.properties.height = 400;
  publication.chapters[0].properties.pageWidth = kPageWidth;
  publication.chapters[0].properties.pageHeight = kPageHeight;
  return publication;
}

int CentreX(const PlayArea &area) { return (area.left + area.right) / 2; }
int CentreY(const PlayArea &area) { return (area.top + area.bottom) / 2; }

// An xdotool "mousemove" to a point of the page, then a pause.
std::string MoveTo(const CentredPage &page, int x, int y) { return page.MouseMove(x, y) + " sleep 0.15 "; }

// The xdotool commands that press on one point, move a little, then to
// another, and keep the button down there.
std::string CarryCommands(const CentredPage &page, int fromX, int fromY, int toX, int toY) {
  return MoveTo(page, fromX, fromY) + "mousedown 1 sleep 0.15 " + MoveTo(page, fromX + 3, fromY + 3) +
         MoveTo(page, (fromX + toX) / 2, (fromY + toY) / 2) + MoveTo(page, toX, toY);
}

// Xdotool returns before xdotool has run, so a carry and its release are
// given in one call; a release given on its own must wait until the carry is
// seen on the screen.
void Carry(const CentredPage &page, int fromX, int fromY, int toX, int toY) {
  ASSERT_TRUE(ProgramDriver::Xdotool(CarryCommands(page, fromX, fromY, toX, toY)));
}

void LetGo() { ASSERT_TRUE(ProgramDriver::Xdotool("mouseup 1")); }

void Drag(const CentredPage &page, int fromX, int fromY, int toX, int toY) {
  ASSERT_TRUE(ProgramDriver::Xdotool(CarryCommands(page, fromX, fromY, toX, toY) + "mouseup 1"));
}

// Played as a person plays it: hovering lights the lamp, a drop beside the
// target glides back, a drop on it shows the mark, the button is drawn
// pressed while held and its click goes to the next page.
TEST(InteractionTest, ThePlayPageAnswersHoverDragDropAndClicks) {
  using namespace DemoPublication;
  ScratchFolder folder;
  folder.WriteFile("play.vor", PublicationRecords::FileText(PlayPublication()));
  ProgramDriver driver;
  const HWND window = driver.StartPlayer(folder.File("play.vor"));
  ASSERT_NE(window, nullptr);
  const CentredPage page(window, SIZE{kPageWidth, kPageHeight}, kEffectTimeoutMs);
  ASSERT_TRUE(page.WaitForPixel(5, 5, kPlayBackground)) << "the page shows";

  // The frame's children show over the page's opaque fill, once the frame
  // itself has been painted (a container shows its children when its own
  // show has finished, so they may come a moment after the page).
  EXPECT_TRUE(page.WaitForPixel(kFrame.left + 5, CentreY(kFrame), kFrameLeftColour)) << "the frame's left half";
  EXPECT_TRUE(page.WaitForPixel(kFrame.right - 5, CentreY(kFrame), kLampColour)) << "the frame's right half";

  // Hover: the lamp lights while the pointer is over the ochre square. The
  // pointer is where an earlier test left it: first it goes where nothing
  // lights the lamp.
  ASSERT_TRUE(ProgramDriver::Xdotool(MoveTo(page, 160, 100)));
  EXPECT_TRUE(page.WaitForPixel(CentreX(kLamp), CentreY(kLamp), kPlayBackground)) << "out at first";
  ASSERT_TRUE(ProgramDriver::Xdotool(MoveTo(page, CentreX(kHover), CentreY(kHover))));
  EXPECT_TRUE(page.WaitForPixel(CentreX(kLamp), CentreY(kLamp), kLampColour)) << "lit on entry";
  ASSERT_TRUE(ProgramDriver::Xdotool(MoveTo(page, 160, 100)));
  EXPECT_TRUE(page.WaitForPixel(CentreX(kLamp), CentreY(kLamp), kPlayBackground)) << "out on leaving";

  // A drop where nothing takes it: the block glides back to its place.
  const int blockX = CentreX(kDraggable), blockY = CentreY(kDraggable);
  EXPECT_EQ(page.Pixel(blockX, blockY), kFace);
  // It is looked at while still held: once let go it starts back at once.
  Carry(page, blockX, blockY, 270, 150);
  EXPECT_TRUE(page.WaitForPixel(270, 150, kFace)) << "the block followed the pointer";
  LetGo();
  EXPECT_TRUE(page.WaitForPixel(270, 150, kPlayBackground)) << "and left the refused place";
  EXPECT_TRUE(page.WaitForPixel(blockX, blockY, kFace)) << "gliding back to where it was";
  // The pixel beside its place stays covered until the glide lands on it.
  EXPECT_TRUE(page.WaitForPixel(kDraggable.right, blockY, kPlayBackground)) << "the glide ends in place";
  EXPECT_EQ(page.Pixel(CentreX(kDropMark), CentreY(kDropMark)), kPlayBackground);

  // A drop on a target that takes other objects only: it glides back from
  // there too, down past the pixel just above its place.
  const int refusingX = CentreX(kRefusingTarget), refusingY = CentreY(kRefusingTarget);
  const int aboveX = blockX, aboveY = kDraggable.top - 1;
  EXPECT_EQ(page.Pixel(refusingX, refusingY), kRefusingColour);
  Carry(page, blockX, blockY, refusingX, refusingY);
  EXPECT_TRUE(page.WaitForPixel(refusingX, refusingY, kFace)) << "the block lay on the refusing target";
  LetGo();
  EXPECT_TRUE(page.WaitForPixel(aboveX, aboveY, kFace)) << "gliding back";
  EXPECT_TRUE(page.WaitForPixel(aboveX, aboveY, kPlayBackground)) << "and in place";
  EXPECT_EQ(page.Pixel(refusingX, refusingY), kRefusingColour);
  EXPECT_EQ(page.Pixel(blockX, blockY), kFace);
  EXPECT_EQ(page.Pixel(CentreX(kDropMark), CentreY(kDropMark)), kPlayBackground) << "no drop was taken";

  // A drop on the target: the target's drop trigger shows the mark.
  Drag(page, blockX, blockY, CentreX(kDropTarget), CentreY(kDropTarget));
  EXPECT_TRUE(page.WaitForPixel(CentreX(kDropMark), CentreY(kDropMark), kMarkColour)) << "the drop was taken";
  EXPECT_EQ(page.Pixel(CentreX(kDropTarget), CentreY(kDropTarget)), kFace) << "the block stays on the target";
  EXPECT_EQ(page.Pixel(blockX, blockY), kPlayBackground);

  // The button: pressed while held (the bevel's light and dark swap, the
  // arrow on it moves two pixels right and down), and its release goes to
  // the next page.
  const int bevelX = kNextButton.left + 1, bevelY = CentreY(kNextButton);
  EXPECT_EQ(page.Pixel(bevelX, bevelY), kWhite) << "raised";
  const struct ArrowPixel {
    int x, y;
    COLORREF raised, pressed;
    const char *what;
  } arrow[] = {
      {kNextArrow.left, kNextArrow.top, kTargetColour, kFace, "the arrow's top left"},
      {kNextArrow.left + 2, kNextArrow.top + 2, kTargetColour, kTargetColour, "two pixels in"},
      {kNextArrow.right - 1, kNextArrow.bottom - 1, kTargetColour, kTargetColour, "the arrow's bottom right"},
      {kNextArrow.right + 1, kNextArrow.bottom + 1, kFace, kTargetColour, "two pixels beyond it"},
      {kNextArrow.right + 2, kNextArrow.bottom + 2, kFace, kFace, "three pixels beyond it"},
  };
  for (const ArrowPixel &pixel : arrow)
    EXPECT_EQ(page.Pixel(pixel.x, pixel.y), pixel.raised) << pixel.what << ", raised";
  ASSERT_TRUE(ProgramDriver::Xdotool(MoveTo(page, CentreX(kNextButton), CentreY(kNextButton)) + "mousedown 1"));
  EXPECT_TRUE(page.WaitForPixel(bevelX, bevelY, kBlack)) << "drawn pressed while held";
  for (const ArrowPixel &pixel : arrow)
    EXPECT_EQ(page.Pixel(pixel.x, pixel.y), pixel.pressed) << pixel.what << ", pressed";
  // The margins show the page's colour: the next page's is red.
  EXPECT_EQ(page.Pixel(kMarginX, 5), kPlayBackground) << "no page change before the release";
  ASSERT_TRUE(ProgramDriver::Xdotool("mouseup 1"));
  EXPECT_TRUE(page.WaitForPixel(kMarginX, 5, kNextPageColour)) << "the click went to the next page";

  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(driver.WaitForExit(kExitTimeoutMs));
}

} // namespace
