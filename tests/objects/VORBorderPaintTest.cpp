#include <gtest/gtest.h>

#include <memory>

#include "display/DrawingContext.h"
#include "display/GdiCanvas.h"
#include "model/VORClassRegistry.h"
#include "objects/VORBackground.h"
#include "objects/VORBorder.h"

namespace {

uint32_t Read(ColorRef colour) {
  return static_cast<uint32_t>(RedOf(colour)) << 16 | GreenOf(colour) << 8 | BlueOf(colour);
}

constexpr ColorRef kPaper = RGB(255, 255, 255);
constexpr ColorRef kRed = RGB(220, 0, 0);
constexpr ColorRef kBlue = RGB(0, 0, 200);
constexpr uint32_t kOpaque = 0xFFFFFF;
constexpr uint32_t kTransparent = 0;

// A white 32-bit canvas under a wholly opaque mask, as a surface looks
// once what lies below the border has been drawn.
struct Target {
  GdiCanvas pixels;
  GdiCanvas mask;
  DrawingContext context;

  Target(int width, int height) : pixels(width, height, 32), mask(width, height, 1), context(pixels.dc(), nullptr) {
    pixels.Fill(kPaper);
    mask.Fill(RGB(255, 255, 255));
    context.SetMaskDC(mask.dc());
  }
};

std::unique_ptr<VORPlayerBorder> MakeBorder(int32_t style, const VORRect &rect, int16_t width, int16_t radius = 0) {
  auto border = std::make_unique<VORPlayerBorder>(VORObjectCode::MakeClassKey(1, 9), 1);
  VORBorder::VORBorderProperties &properties = border->GetBorderProperties();
  properties.style = style;
  properties.width = width;
  properties.radius = radius;
  properties.colour1 = kRed;
  properties.colour2 = kBlue;
  border->SetRect(rect);
  return border;
}

void Draw(VORBorder &border, Target &target) { border.DrawBorder(border.GetRect(), target.context); }

TEST(VORBorderPaintTest, ASquareLineIsDrawnInsideTheRectangle) {
  Target target(30, 30);
  auto border = MakeBorder(BorderGeometry::kLine, VORRect(5, 5, 25, 25), 2);
  Draw(*border, target);
  EXPECT_EQ(target.pixels.Pixel(5, 5), Read(kRed));
  EXPECT_EQ(target.pixels.Pixel(6, 15), Read(kRed));
  EXPECT_EQ(target.pixels.Pixel(24, 24), Read(kRed));
  EXPECT_EQ(target.pixels.Pixel(7, 15), Read(kPaper)) << "no brush";
  EXPECT_EQ(target.pixels.Pixel(4, 15), Read(kPaper));
  EXPECT_EQ(target.mask.Pixel(5, 5), kOpaque) << "a square shape cuts nothing";
}

TEST(VORBorderPaintTest, RoundAndEllipticShapesLeaveTheirCornersTransparent) {
  struct Case {
    const char *name;
    int32_t style;
    int16_t width, radius;
  } cases[] = {
      {"rounded line", BorderGeometry::kLine, 2, 8},
      {"rounded line of width 0", BorderGeometry::kLine, 0, 8},
      {"ellipse", BorderGeometry::kEllipse, 3, 0},
      {"rounded double line", BorderGeometry::kDoubleLine, 6, 8},
      {"rounded graded rings", BorderGeometry::kGradedRings, 4, 8},
  };
  for (const Case &c : cases) {
    Target target(50, 40);
    auto border = MakeBorder(c.style, VORRect(5, 5, 45, 35), c.width, c.radius);
    Draw(*border, target);
    // Wine rounds corners a little differently from Windows: sample well
    // inside and well outside the shape.
    for (const POINT &corner : {POINT{5, 5}, POINT{44, 5}, POINT{5, 34}, POINT{44, 34}}) {
      EXPECT_EQ(target.mask.Pixel(corner.x, corner.y), kTransparent) << c.name << " at " << corner.x << "," << corner.y;
    }
    EXPECT_EQ(target.mask.Pixel(25, 20), kOpaque) << c.name << " centre";
    EXPECT_EQ(target.mask.Pixel(25, 5), kOpaque) << c.name << " top edge";
    EXPECT_EQ(target.mask.Pixel(2, 2), kOpaque) << c.name << " outside the object";
    if (c.width == 0) {
      EXPECT_EQ(target.pixels.Pixel(25, 5), Read(kPaper)) << "a line of width 0 shows nothing";
    } else {
      EXPECT_NE(target.pixels.Pixel(25, 5), Read(kPaper)) << c.name;
    }
  }
}

// The mask is made for the part being painted only: an object far larger
// than any surface (a mask of all of it would be gigabytes) still has its
// corners cut, and a paint of part of an object leaves the rest alone.
TEST(VORBorderPaintTest, OnlyThePaintedPartOfTheShapeIsCut) {
  constexpr int32_t kHuge = 200000;
  struct Case {
    const char *name;
    VORRect rect;
    VORRect update;
    POINT cut;
    POINT kept;
  } cases[] = {
      {"top left of a huge object", VORRect(5, 5, 5 + kHuge, 5 + kHuge), VORRect(0, 0, 50, 40), {5, 5}, {25, 20}},
      {"bottom right of a huge object",
       VORRect(45 - kHuge, 35 - kHuge, 45, 35),
       VORRect(0, 0, 50, 40),
       {44, 34},
       {25, 20}},
      {"the right half painted", VORRect(5, 5, 45, 35), VORRect(25, 0, 50, 40), {44, 5}, {5, 5}},
  };
  for (const Case &c : cases) {
    Target target(50, 40);
    auto border = MakeBorder(BorderGeometry::kLine, c.rect, 2, 8);
    border->DrawBorder(c.update, target.context);
    EXPECT_EQ(target.mask.Pixel(c.cut.x, c.cut.y), kTransparent) << c.name;
    EXPECT_EQ(target.mask.Pixel(c.kept.x, c.kept.y), kOpaque) << c.name;
  }
}

TEST(VORBorderPaintTest, ADoubleLineOfWidthFiveIsOneThreeAndOnePixels) {
  Target target(40, 40);
  auto border = MakeBorder(BorderGeometry::kDoubleLine, VORRect(5, 5, 35, 35), 5);
  Draw(*border, target);
  const ColorRef expected[] = {kRed, kBlue, kBlue, kBlue, kRed, kPaper};
  for (int offset = 0; offset < 6; ++offset) {
    EXPECT_EQ(target.pixels.Pixel(5 + offset, 20), Read(expected[offset])) << "left, offset " << offset;
    EXPECT_EQ(target.pixels.Pixel(20, 34 - offset), Read(expected[offset])) << "bottom, offset " << offset;
  }
}

TEST(VORBorderPaintTest, GradedRingsRunFromColourOneTowardColourTwo) {
  Target target(30, 30);
  auto border = MakeBorder(BorderGeometry::kGradedRings, VORRect(5, 5, 25, 25), 3);
  border->GetBorderProperties().colour1 = RGB(0, 0, 0);
  border->GetBorderProperties().colour2 = RGB(255, 255, 255);
  target.pixels.Fill(RGB(0, 200, 0));
  Draw(*border, target);
  EXPECT_EQ(target.pixels.Pixel(5, 15), 0x000000u);
  EXPECT_EQ(target.pixels.Pixel(6, 15), 0x7F7F7Fu); // 255 x 1000 / 2000
  EXPECT_EQ(target.pixels.Pixel(7, 15), 0x7F7F7Fu);
  EXPECT_EQ(target.pixels.Pixel(8, 15), 0x00C800u);

  Target thin(30, 30);
  auto one = MakeBorder(BorderGeometry::kGradedRings, VORRect(5, 5, 25, 25), 1);
  Draw(*one, thin);
  EXPECT_EQ(thin.pixels.Pixel(5, 15), Read(kPaper)) << "width 1 has no ring";
}

TEST(VORBorderPaintTest, SolidBevelsLightTwoEdgesAndShadeTheOthers) {
  for (int32_t style : {BorderGeometry::kBevel, BorderGeometry::kInvertedBevel}) {
    Target target(20, 20);
    auto border = MakeBorder(style, VORRect(2, 2, 18, 18), 2);
    Draw(*border, target);
    const ColorRef lit = style == BorderGeometry::kBevel ? kRed : kBlue;
    const ColorRef shaded = style == BorderGeometry::kBevel ? kBlue : kRed;
    for (int ring = 0; ring < 2; ++ring) {
      EXPECT_EQ(target.pixels.Pixel(2 + ring, 10), Read(lit)) << style << " left " << ring;
      EXPECT_EQ(target.pixels.Pixel(10, 2 + ring), Read(lit)) << style << " top " << ring;
      EXPECT_EQ(target.pixels.Pixel(17 - ring, 10), Read(shaded)) << style << " right " << ring;
      EXPECT_EQ(target.pixels.Pixel(10, 17 - ring), Read(shaded)) << style << " bottom " << ring;
    }
    EXPECT_EQ(target.pixels.Pixel(17, 17), Read(shaded)) << "the bottom line reaches the corner";
    EXPECT_EQ(target.pixels.Pixel(4, 10), Read(kPaper)) << style;
  }
}

TEST(VORBorderPaintTest, TranslucentBevelsBlendOnePixelStrips) {
  Target target(20, 20);
  auto border = MakeBorder(BorderGeometry::kInvertedBevel, VORRect(2, 2, 18, 18), 2);
  border->GetBorderProperties().borderOpacity = 128;
  Draw(*border, target);
  // Blue at 128 over white: 200 x 128 / 256 + 255 x 127 / 256 on blue, the
  // white's share alone on red and green.
  const uint32_t leftPixel = target.pixels.Pixel(2, 10);
  EXPECT_NEAR(static_cast<int>(leftPixel >> 16), 126, 2);
  EXPECT_NEAR(static_cast<int>(leftPixel & 0xFF), 100 + 126, 2);
  const uint32_t rightPixel = target.pixels.Pixel(16, 10); // second ring, colour 1
  EXPECT_NEAR(static_cast<int>(rightPixel >> 16), 110 + 126, 2);
  EXPECT_NEAR(static_cast<int>(rightPixel & 0xFF), 126, 2);
  EXPECT_EQ(target.pixels.Pixel(5, 10), Read(kPaper));

  Target clear(20, 20);
  border->GetBorderProperties().borderOpacity = 0;
  Draw(*border, clear);
  EXPECT_EQ(clear.pixels.Pixel(2, 10), Read(kPaper)) << "opacity 0 shows nothing";
}

TEST(VORBorderPaintTest, NegativeLengthsDrawAsZeroAndEmptyRectanglesCutNoMask) {
  Target target(30, 30);
  auto negative = MakeBorder(BorderGeometry::kLine, VORRect(5, 5, 25, 25), -4, -6);
  Draw(*negative, target);
  EXPECT_EQ(target.pixels.Pixel(5, 15), Read(kPaper));
  EXPECT_EQ(target.mask.Pixel(5, 5), kOpaque) << "a negative radius is square: nothing is cut";
  for (const VORRect &rect : {VORRect(5, 5, 5, 25), VORRect(5, 5, 25, 5), VORRect(25, 25, 5, 5)}) {
    auto empty = MakeBorder(BorderGeometry::kEllipse, rect, 2);
    empty->DrawBorder(VORRect(0, 0, 30, 30), target.context);
  }
  EXPECT_EQ(target.mask.Pixel(10, 10), kOpaque);
}

TEST(VORBorderPaintTest, InnerRectangleOfTheObject) {
  auto ellipse = MakeBorder(BorderGeometry::kEllipse, VORRect(0, 0, 100, 60), 0);
  VORRect inner;
  ellipse->GetInnerRect(inner);
  EXPECT_EQ(inner, VORRect(15, 9, 85, 51));
  auto unknown = MakeBorder(42, VORRect(0, 0, 100, 60), 3, 20);
  unknown->GetInnerRect(inner);
  EXPECT_EQ(inner, VORRect(3, 3, 97, 57));
}

TEST(VORBorderPaintTest, DrawFlagsOfABorderAndWhatItAsksOfItsParent) {
  auto border = MakeBorder(BorderGeometry::kLine, VORRect(0, 0, 40, 40), 2);
  border->ResetDrawFlags();
  border->UpdateDrawFlags();
  EXPECT_TRUE(border->GetDrawFlags().HasAll(DrawFlags::kNotCovering | DrawFlags::kNotFilling));
  EXPECT_FALSE(border->GetDrawFlags().Has(DrawFlags::kDefault | DrawFlags::kEmpty));

  auto none = MakeBorder(BorderGeometry::kNone, VORRect(0, 0, 40, 40), 2);
  EXPECT_TRUE(none->IsEmpty(true));
  none->ResetDrawFlags();
  none->UpdateDrawFlags();
  EXPECT_TRUE(none->GetDrawFlags().Has(DrawFlags::kEmpty));

  struct Case {
    int32_t style;
    int16_t radius;
    bool parentNeedsMask;
  } cases[] = {{BorderGeometry::kLine, 0, false},   {BorderGeometry::kLine, 5, true},
               {BorderGeometry::kEllipse, 0, true}, {BorderGeometry::kPicture, 0, true},
               {BorderGeometry::kBevel, 5, false},  {BorderGeometry::kDoubleLine, 5, true}};
  for (const Case &c : cases) {
    VORPlayerBackground parent(VORObjectCode::MakeClassKey(1, 0), 2);
    parent.GetBackgroundProperties().fillKind = VORBackground::kSolid;
    VORPlayerBorder *child = MakeBorder(c.style, VORRect(0, 0, 40, 40), 2, c.radius).release();
    parent.InsertAfter(child, nullptr);
    parent.ResetDrawFlags();
    parent.UpdateDrawFlags();
    child->ResetDrawFlags();
    child->UpdateDrawFlags();
    const uint16_t asked = DrawFlags::kDepthMismatch | DrawFlags::kNotFilling | DrawFlags::kNotCovering;
    EXPECT_EQ(parent.GetDrawFlags().HasAll(asked), c.parentNeedsMask) << c.style << " radius " << c.radius;
  }
}

TEST(VORBorderPaintTest, TheClassTableMakesTheBorderAndItsCopyKeepsTheStyle) {
  std::unique_ptr<VORCodedObject> made(VORClassRegistry::Instance().Create(VORObjectCode::MakeClassKey(1, 9), 3));
  auto *border = dynamic_cast<VORPlayerBorder *>(made.get());
  ASSERT_NE(border, nullptr);
  border->GetBorderProperties().style = BorderGeometry::kEllipse;
  border->GetBorderProperties().width = 4;
  std::unique_ptr<VORPageMember> copy(border->Clone());
  auto *copied = dynamic_cast<VORPlayerBorder *>(copy.get());
  ASSERT_NE(copied, nullptr);
  EXPECT_EQ(copied->GetBorderProperties().style, BorderGeometry::kEllipse);
  EXPECT_EQ(copied->GetBorderProperties().width, 4);
}

} // namespace
