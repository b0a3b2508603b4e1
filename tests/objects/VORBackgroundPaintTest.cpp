#include <gtest/gtest.h>

#include <memory>

#include "display/DrawingContext.h"
#include "display/GdiCanvas.h"
#include "model/VORClassRegistry.h"
#include "objects/VORBackground.h"

namespace {

using BackgroundGradient::Gradient;

// Colours as GdiCanvas::Pixel reads them (0xRRGGBB) from COLORREFs.
uint32_t Read(ColorRef colour) {
  return static_cast<uint32_t>(RedOf(colour)) << 16 | GreenOf(colour) << 8 | BlueOf(colour);
}

constexpr ColorRef kUntouched = RGB(1, 2, 3);
constexpr ColorRef kFrom = RGB(200, 20, 0);
constexpr ColorRef kTo = RGB(0, 120, 250);
constexpr uint32_t kMaskWhite = 0xFFFFFF;
constexpr uint32_t kMaskBlack = 0;

// A 32-bit canvas and its mask, both cleared, under one drawing context.
struct Target {
  GdiCanvas pixels;
  GdiCanvas mask;
  DrawingContext context;

  Target(int width, int height) : pixels(width, height, 32), mask(width, height, 1), context(pixels.dc(), nullptr) {
    pixels.Fill(kUntouched);
    mask.Fill(RGB(0, 0, 0));
    context.SetMaskDC(mask.dc());
  }
};

// A surface of a 65,536-colour display: it answers 16 bits and gives 24-bit
// pixels, as the deeper surfaces do.
class HighColourSurface : public CanvasSurface {
public:
  using CanvasSurface::CanvasSurface;
  int32_t GetBitsPerPixel() override { return 16; }
};

TEST(VORBackgroundPaintTest, AnExactSolidColourFillsOnlyTheUpdateRectangle) {
  Target target(20, 10);
  const ColorRef colour = RGB(30, 160, 60);
  VORBackground::FillBackground(target.context, VORBackground::kSolid, VORRect(0, 0, 20, 10), VORRect(5, 2, 10, 8),
                                colour, kTo, 0);
  EXPECT_EQ(target.pixels.Pixel(5, 2), Read(colour));
  EXPECT_EQ(target.pixels.Pixel(9, 7), Read(colour));
  EXPECT_EQ(target.pixels.Pixel(4, 5), Read(kUntouched));
  EXPECT_EQ(target.pixels.Pixel(10, 5), Read(kUntouched));
  EXPECT_EQ(target.mask.Pixel(7, 5), kMaskWhite);
  EXPECT_EQ(target.mask.Pixel(12, 5), kMaskBlack);
}

TEST(VORBackgroundPaintTest, LineGradientsOfTheFourDirections) {
  const VORRect object(2, 3, 14, 11); // 12 x 8
  // A pixel and the step whose line draws it: row top + i (direction 0),
  // column left + i (1), the line right - x + y - top (3).
  const struct Probe {
    int32_t direction;
    int x, y;
    int64_t step;
  } probes[] = {
      {0, 2, 3, 0}, {0, 13, 3, 0},  {0, 7, 6, 3},  {0, 2, 10, 7}, {0, 13, 10, 7}, {1, 2, 3, 0},   {1, 2, 10, 0},
      {1, 8, 5, 6}, {1, 13, 3, 11}, {3, 13, 3, 1}, {3, 2, 3, 12}, {3, 13, 10, 8}, {3, 2, 10, 19}, {3, 8, 6, 9},
  };
  for (int32_t direction = 0; direction < 4; ++direction) {
    Target target(16, 14);
    VORBackground::FillBackground(target.context, VORBackground::kGradient, object, object, kFrom, kTo, direction);
    const Gradient gradient{kFrom, kTo, direction, object};
    for (const Probe &p : probes) {
      if (p.direction == direction) {
        EXPECT_EQ(target.pixels.Pixel(p.x, p.y), Read(BackgroundGradient::LineAt(gradient, p.step).colour))
            << "direction " << direction << " at " << p.x << "," << p.y;
      }
    }
    // Nothing outside the object; the object opaque in the mask.
    EXPECT_EQ(target.pixels.Pixel(1, 5), Read(kUntouched)) << direction;
    EXPECT_EQ(target.pixels.Pixel(14, 5), Read(kUntouched)) << direction;
    EXPECT_EQ(target.pixels.Pixel(5, 2), Read(kUntouched)) << direction;
    EXPECT_EQ(target.pixels.Pixel(5, 11), Read(kUntouched)) << direction;
    EXPECT_EQ(target.mask.Pixel(7, 7), kMaskWhite) << direction;
  }
}

TEST(VORBackgroundPaintTest, TheDiagonalFromTheTopLeftGrowsTowardTheBottomRight) {
  Target target(24, 24);
  const VORRect object(0, 0, 24, 24);
  VORBackground::FillBackground(target.context, VORBackground::kGradient, object, object, RGB(0, 0, 0),
                                RGB(255, 255, 255), 2);
  int previous = -1;
  for (int i = 0; i < 24; i += 3) {
    const int grey = static_cast<int>(target.pixels.Pixel(i, i) & 0xFF);
    EXPECT_GT(grey, previous) << i;
    previous = grey;
  }
  EXPECT_LE(target.pixels.Pixel(0, 0) & 0xFF, 11u); // within the first two of 48 steps
}

TEST(VORBackgroundPaintTest, AnObjectOnePixelHighShowsColourOne) {
  Target target(10, 3);
  VORBackground::FillBackground(target.context, VORBackground::kGradient, VORRect(0, 1, 10, 2), VORRect(0, 0, 10, 3),
                                kFrom, kTo, 0);
  EXPECT_EQ(target.pixels.Pixel(0, 1), Read(kFrom));
  EXPECT_EQ(target.pixels.Pixel(9, 1), Read(kFrom));
  EXPECT_EQ(target.pixels.Pixel(5, 0), Read(kUntouched));
}

TEST(VORBackgroundPaintTest, AnUpdateRectangleLimitsTheLinesAndAHugeObjectDrawsOnlyWhatShows) {
  for (int32_t direction = 0; direction < 4; ++direction) {
    Target target(16, 16);
    const VORRect huge(-20000, -20000, 20000, 20000); // 80,000 diagonal steps
    VORBackground::FillBackground(target.context, VORBackground::kGradient, huge, VORRect(4, 4, 8, 8), RGB(0, 0, 0),
                                  RGB(255, 255, 255), direction);
    EXPECT_NE(target.pixels.Pixel(5, 5), Read(kUntouched)) << direction;
    EXPECT_EQ(target.pixels.Pixel(3, 5), Read(kUntouched)) << direction;
    EXPECT_EQ(target.pixels.Pixel(8, 5), Read(kUntouched)) << direction;
    EXPECT_EQ(target.pixels.Pixel(5, 8), Read(kUntouched)) << direction;
  }
}

TEST(VORBackgroundPaintTest, NoFillAndUnknownKindsOrDirectionsDrawNothing) {
  Target target(8, 8);
  const VORRect object(0, 0, 8, 8);
  VORBackground::FillBackground(target.context, VORBackground::kNoFill, object, object, kFrom, kTo, 0);
  VORBackground::FillBackground(target.context, 3, object, object, kFrom, kTo, 0);
  VORBackground::FillBackground(target.context, VORBackground::kGradient, object, object, kFrom, kTo, 4);
  for (int y = 0; y < 8; y += 3)
    for (int x = 0; x < 8; x += 3)
      EXPECT_EQ(target.pixels.Pixel(x, y), Read(kUntouched)) << x << "," << y;
  EXPECT_EQ(target.mask.Pixel(4, 4), kMaskBlack);
}

TEST(VORBackgroundPaintTest, AHighColourDisplayGetsFiveBitChannelsWithTheErrorCarried) {
  GdiCanvas pixels(12, 4, 24), mask(12, 4, 1);
  pixels.Fill(kUntouched);
  mask.Fill(RGB(0, 0, 0));
  HighColourSurface surface(pixels, &mask, VORRect(0, 0, 12, 4));
  DrawingContext context(pixels.dc(), &surface);
  context.SetMaskDC(mask.dc());
  const ColorRef flat = RGB(64, 128, 248); // multiples of 8: no error to carry
  VORBackground::FillBackground(context, VORBackground::kGradient, VORRect(0, 0, 12, 2), VORRect(0, 0, 12, 2), flat,
                                flat, 1);
  for (int x = 0; x < 12; ++x) {
    EXPECT_EQ(pixels.Pixel(x, 0), Read(flat)) << x;
  }
  VORBackground::FillBackground(context, VORBackground::kGradient, VORRect(0, 2, 12, 4), VORRect(0, 2, 12, 4), kFrom,
                                kTo, 1);
  int sumRed = 0;
  for (int x = 0; x < 12; ++x) {
    EXPECT_EQ(pixels.Pixel(x, 3) & 0x070707, 0u) << x;
    sumRed += static_cast<int>(pixels.Pixel(x, 3) >> 16);
  }
  EXPECT_NEAR(sumRed / 12.0, (200 + (200 - 200 * 11 / 12)) / 2.0, 8.0); // the mean follows the gradient
  EXPECT_EQ(mask.Pixel(6, 3), kMaskWhite);
}

TEST(VORBackgroundPaintTest, APaletteDisplayGetsDitheredIndexesAndTheMaskIsMarked) {
  GdiCanvas pixels(16, 8, 8), mask(16, 8, 1);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 16; ++x)
      pixels.SetIndex(x, y, 0);
  mask.Fill(RGB(0, 0, 0));
  CanvasSurface surface(pixels, &mask, VORRect(0, 0, 16, 8));
  DrawingContext context(pixels.dc(), &surface);
  context.SetMaskDC(mask.dc());
  VORBackground::FillBackground(context, VORBackground::kGradient, VORRect(0, 0, 16, 8), VORRect(2, 2, 14, 6),
                                RGB(255, 255, 255), RGB(255, 255, 255), 0);
  int white = 0;
  for (int y = 2; y < 6; ++y) {
    for (int x = 2; x < 14; ++x) {
      white += pixels.Pixel(x, y) == 0xFFFFFF ? 1 : 0;
    }
  }
  EXPECT_GT(white, 12 * 4 / 2); // white with noise stays mostly white
  EXPECT_EQ(pixels.Index(1, 3), 0);
  EXPECT_EQ(pixels.Index(14, 3), 0);
  EXPECT_EQ(mask.Pixel(5, 3), kMaskWhite);
  EXPECT_EQ(mask.Pixel(5, 1), kMaskBlack);
}

TEST(VORBackgroundPaintTest, TheClassTableMakesTheBackgroundAndItsCopyKeepsTheFill) {
  std::unique_ptr<VORCodedObject> made(VORClassRegistry::Instance().Create(VORObjectCode::MakeClassKey(1, 0), 5));
  auto *background = dynamic_cast<VORPlayerBackground *>(made.get());
  ASSERT_NE(background, nullptr);
  background->GetBackgroundProperties().fillKind = VORBackground::kGradient;
  background->GetBackgroundProperties().colour2 = kTo;
  std::unique_ptr<VORPageMember> copy(background->Clone());
  auto *copied = dynamic_cast<VORPlayerBackground *>(copy.get());
  ASSERT_NE(copied, nullptr);
  EXPECT_EQ(copied->GetBackgroundProperties().fillKind, VORBackground::kGradient);
  EXPECT_EQ(copied->GetBackgroundProperties().colour2, kTo);
}

TEST(VORBackgroundPaintTest, EmptinessAndDrawFlagsFollowTheFill) {
  VORPlayerBackground background(VORObjectCode::MakeClassKey(1, 0), 1);
  EXPECT_TRUE(background.IsEmpty(true));
  background.ResetDrawFlags();
  background.UpdateDrawFlags();
  EXPECT_TRUE(background.GetDrawFlags().Has(DrawFlags::kEmpty)) << "nothing to paint";

  background.GetBackgroundProperties().fillKind = VORBackground::kSolid;
  EXPECT_FALSE(background.IsEmpty(true));
  background.ResetDrawFlags();
  background.UpdateDrawFlags();
  EXPECT_FALSE(background.GetDrawFlags().Has(DrawFlags::kEmpty | DrawFlags::kNotCovering | DrawFlags::kDefault));

  background.GetBackgroundProperties().fillKind = VORBackground::kGradient;
  background.ResetDrawFlags();
  background.UpdateDrawFlags();
  EXPECT_TRUE(background.GetDrawFlags().Has(DrawFlags::kDefault));
  EXPECT_TRUE(background.SuitsDisplayDepth(8));
}

} // namespace
