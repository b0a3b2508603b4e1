// Smoothed text with no page background under it: the text keeps a surface
// of its own, which first takes what lies under the text, and the text is
// drawn over that, so that its smoothed edges mix with the picture beneath.
// These tests switch the system's font smoothing on while they run: their
// program runs alone.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "PaintedPage.h"
#include "TestPicture.h"
#include "model/VORPageInstance.h"
#include "objects/VORBackground.h"
#include "objects/VORText.h"
#include "support/FakeApp.h"

namespace {

constexpr VORRect kPage(0, 0, 200, 60);
constexpr VORRect kTextRect(10, 8, 190, 52);
constexpr int32_t kGradientWidth = 200;
constexpr int32_t kLowBlue = 0x80;
constexpr int32_t kBlueRange = 0x7F;

// The system's font smoothing on for the test, put back after.
class SmoothingOn {
public:
  SmoothingOn() {
    SystemParametersInfoA(SPI_GETFONTSMOOTHING, 0, &m_was, 0);
    SystemParametersInfoA(SPI_SETFONTSMOOTHING, TRUE, nullptr, 0);
  }
  ~SmoothingOn() { SystemParametersInfoA(SPI_SETFONTSMOOTHING, m_was, nullptr, 0); }
  SmoothingOn(const SmoothingOn &) = delete;
  SmoothingOn &operator=(const SmoothingOn &) = delete;

private:
  BOOL m_was = FALSE;
};

int32_t GradientBlue(int32_t x) { return kLowBlue + x * kBlueRange / (kGradientWidth - 1); }

// Blue rising from left to right, no red or green.
std::unique_ptr<TestPicture> BlueGradient() {
  std::vector<uint32_t> pixels;
  for (int32_t x = 0; x < kGradientWidth; ++x)
    pixels.push_back(static_cast<uint32_t>(GradientBlue(x)));
  return std::make_unique<TestPicture>(kGradientWidth, 1, pixels, TestPicture::Filling());
}

// White text that can be dragged (so it has a surface of its own), over
// the gradient, on a page with no background object.
VORPlayerText &AddWhiteText(PaintedPage &page) {
  auto *text = new VORPlayerText(VORObjectCode::MakeClassKey(VORText::kCategory, VORText::kCode), 100);
  VORGraphicalObject::VORGraphicalObjectProperties &graphical = text->GetGraphicalProperties();
  graphical.layoutRect = kTextRect;
  graphical.draggable = 1;
  text->GetTextProperties().rtfText =
      "{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red255\\green255\\blue255;}\\f0\\fs56\\cf1 Smooth swirls}";
  text->SetRect(kTextRect);
  page.Instance().InsertAfter(text, nullptr);
  return *text;
}

TEST(TextSmoothingPaintTest, SmoothedTextMixesWithTheGradientUnderIt) {
  SmoothingOn smoothing;
  FakeApp app;
  PaintedPage page(24, kPage);
  page.Add(kPage, BlueGradient());
  VORPlayerText &text = AddWhiteText(page);
  page.Compose();
  ASSERT_TRUE(text.GetDrawFlags().Has(DrawFlags::kCapturesBackground)) << "no background: what is under is captured";
  ASSERT_TRUE(text.HasSurfaces());

  // White over blue: red and green give the share of white, and blue must
  // be the gradient's own blue mixed with white at that share. Mixed with
  // anything else (the surface's own black) blue would fall short.
  int white = 0;
  int mixed = 0;
  for (int32_t y = kTextRect.top; y < kTextRect.bottom; ++y) {
    for (int32_t x = kTextRect.left; x < kTextRect.right; ++x) {
      const uint32_t pixel = page.Pixel(x, y);
      const int32_t red = static_cast<int32_t>(pixel >> 16 & 0xFF);
      const int32_t blue = static_cast<int32_t>(pixel & 0xFF);
      const int32_t under = GradientBlue(x);
      const int32_t expectedBlue = under + (0xFF - under) * red / 0xFF;
      ASSERT_NEAR(blue, expectedBlue, 24) << "at (" << x << ", " << y << "): " << std::hex << pixel;
      white += red >= 0xF0 ? 1 : 0;
      mixed += red > 0x20 && red < 0xE0 ? 1 : 0;
    }
  }
  EXPECT_GT(white, 50) << "the text is drawn";
  EXPECT_GT(mixed, 20) << "its edges are smoothed";
  // Beside the text the gradient shows unchanged.
  EXPECT_EQ(page.Pixel(kTextRect.right - 2, kTextRect.bottom - 2), static_cast<uint32_t>(GradientBlue(188)));
  EXPECT_EQ(page.Pixel(5, 30), static_cast<uint32_t>(GradientBlue(5)));
}

// With a background on the page the text draws straight over what it has
// drawn: nothing is captured.
TEST(TextSmoothingPaintTest, APageBackgroundLeavesNothingToCapture) {
  SmoothingOn smoothing;
  FakeApp app;
  PaintedPage page(24, kPage);
  page.Add(kPage, BlueGradient());
  auto *background = new VORPlayerBackground(VORObjectCode::MakeClassKey(1, 0), 90);
  background->GetBackgroundProperties().fillKind = VORBackground::kSolid;
  page.Instance().InsertAfter(background, nullptr);
  VORPlayerText &text = AddWhiteText(page);
  page.Compose();
  EXPECT_FALSE(text.GetDrawFlags().Has(DrawFlags::kCapturesBackground));
}

} // namespace
