#include <gtest/gtest.h>

#include <windows.h>

#include "PaintedPage.h"
#include "ScrolledText.h"
#include "display/VORInputDispatcher.h"
#include "model/VORPageInstance.h"
#include "objects/VORGraphicalObjectAction.h"
#include "objects/VORScrollbarObjectAction.h"
#include "support/FakeApp.h"

namespace {

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kFace = 0xC0C0C0;
constexpr uint32_t kBlack = 0x000000;
// The link styles' default colours as pixels (0xRRGGBB).
constexpr uint32_t kNormalLink = 0xC86464;
constexpr uint32_t kHoverLink = 0x64C864;

// The scrolled text composed on a white page of 24 bits.
class TextScrollbarPaintTest : public ::testing::Test {
protected:
  TextScrollbarPaintTest()
      : m_page(24, VORRect(0, 0, 240, 120)),
        m_parts(m_page.Instance(),
                new VORPlayerScrollbar(ScrolledText::kBarCode.GetClassKey(), ScrolledText::kBarCode.id)) {
    m_page.Compose();
  }

  // How many pixels of the colour lie inside (or outside) the rectangle,
  // within the text.
  int Count(uint32_t colour, const VORRect &box, bool inside) {
    int count = 0;
    for (int32_t y = 0; y < 100; ++y)
      for (int32_t x = 0; x < 200; ++x)
        if (box.Contains(x, y) == inside && m_page.Pixel(x, y) == colour)
          ++count;
    return count;
  }
  // The link's run on the first line.
  VORRect LinkBox() {
    for (const LineRun &run : m_parts.text->GetLines().front().runs)
      if (run.style != nullptr && run.style->GetTagIds().Contains(ScrolledText::kLinkId))
        return VORRect(run.x, run.top, run.x + run.edges.back(), run.top + run.ascent + run.descent);
    ADD_FAILURE() << "no link run";
    return VORRect();
  }

  FakeApp m_app;
  PaintedPage m_page;
  ScrolledText m_parts;
};

TEST_F(TextScrollbarPaintTest, TheThumbIsDrawnWhereTheTextsAnswerPutsIt) {
  const VORRect thumb = m_parts.thumb->GetRect();
  ASSERT_EQ(thumb.top, 20) << "the text starts at its top";
  EXPECT_EQ(m_page.Pixel(210, thumb.top + 5), kFace) << "the thumb's face";
  EXPECT_EQ(m_page.Pixel(210, thumb.bottom), kWhite) << "the track below it";
  EXPECT_EQ(m_page.Pixel(200, 10), kBlack) << "the up button's outline";

  VORScrollbarObjectAction answer(VORScrollbarObjectAction::kClassKey, 0);
  answer.SetActionCode(600);
  answer.SetTarget(ScrolledText::kBarCode);
  answer.SetOriginObject(m_parts.bar->GetViewReference());
  answer.SetOriginPage(m_parts.bar->GetPageReference());
  answer.kind = VORScrollbarObjectAction::kReport;
  answer.position = 1.0;
  answer.size = 0.0;
  m_app.ExecuteAction(answer);
  m_page.Repaint();
  // A ten-pixel thumb at the bottom: 70 to 80.
  EXPECT_EQ(m_page.Pixel(210, 25), kWhite) << "the top of the track is empty now";
  EXPECT_EQ(m_page.Pixel(210, 75), kFace);
  EXPECT_EQ(m_page.Pixel(210, 70), kBlack) << "the thumb's outline";
}

TEST_F(TextScrollbarPaintTest, TheLinkIsDrawnInItsStyleAndLightsUpUnderThePointer) {
  const VORRect link = LinkBox();
  EXPECT_GT(Count(kNormalLink, link, true), 0);
  EXPECT_EQ(Count(kNormalLink, link, false), 0) << "only the link has its colour";
  EXPECT_GT(Count(kBlack, link, false), 0) << "the rest of the text is black";

  VORGraphicalObjectAction move;
  move.SetActionCode(VORInput::kPointerMoved);
  move.SetTarget(ScrolledText::kTextCode);
  move.SetOriginObject(m_parts.text->GetViewReference());
  move.SetOriginPage(m_parts.text->GetPageReference());
  move.SetPoint(VORPoint{(link.left + link.right) / 2, (link.top + link.bottom) / 2});
  m_app.ExecuteAction(move);
  ASSERT_TRUE(m_parts.text->IsOverLink());
  m_page.Repaint();
  EXPECT_EQ(Count(kNormalLink, link, true), 0);
  EXPECT_GT(Count(kHoverLink, link, true), 0);
}

} // namespace

namespace {

// The system's font smoothing, put back as it was whatever a test does.
class SmoothingSetting {
public:
  SmoothingSetting() { SystemParametersInfoA(SPI_GETFONTSMOOTHING, 0, &m_saved, 0); }
  ~SmoothingSetting() { Set(m_saved != FALSE); }
  SmoothingSetting(const SmoothingSetting &) = delete;
  SmoothingSetting &operator=(const SmoothingSetting &) = delete;
  static void Set(bool on) { SystemParametersInfoA(SPI_SETFONTSMOOTHING, on ? TRUE : FALSE, nullptr, 0); }
  static bool IsOn() {
    BOOL on = FALSE;
    return SystemParametersInfoA(SPI_GETFONTSMOOTHING, 0, &on, 0) != 0 && on != FALSE;
  }

private:
  BOOL m_saved = FALSE;
};

// Smoothing is a setting of the whole system: a text that draws without it
// switches it off only while it draws.
TEST_F(TextScrollbarPaintTest, FontSmoothingSwitchedOffForDrawingIsSwitchedOnAgain) {
  const SmoothingSetting saved;
  SmoothingSetting::Set(true);
  ASSERT_TRUE(SmoothingSetting::IsOn());
  m_parts.text->GetTextProperties().smoothText = 0;
  m_parts.text->UpdateDrawFlags();
  m_parts.text->VORGraphicalObject::Invalidate();
  m_page.Repaint();
  EXPECT_TRUE(SmoothingSetting::IsOn());
  EXPECT_GT(Count(kBlack, VORRect(), false), 0) << "the text was drawn";
}

} // namespace
