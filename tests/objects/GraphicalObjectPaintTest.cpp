#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "PaintedPage.h"
#include "TestPicture.h"

namespace {

using Properties = VORGraphicalObject::VORGraphicalObjectProperties;

constexpr VORRect kPage(0, 0, 80, 60);
constexpr VORRect kObject(10, 10, 30, 30);
constexpr uint32_t kBlue = 0x0000FF;
constexpr uint32_t kRed = 0xFF0000;
constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kMagenta = 0xFF00FF;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kGreen = 0x00FF00;
constexpr int32_t kTrueColour = 24;
constexpr int32_t kPaletted = 8;
constexpr uint16_t kHalf = 128;

// A blue picture over the whole page, below everything added later.
void AddBlueBackground(PaintedPage &page) { page.Add(kPage, TestPicture::Solid(8, 8, kBlue)); }

// Left half the key colour, right half red.
std::unique_ptr<TestPicture> HalfKeyedPicture() {
  std::vector<uint32_t> pixels;
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x)
      pixels.push_back(x < 2 ? kMagenta : kRed);
  return std::make_unique<TestPicture>(4, 4, pixels, TestPicture::KeyColoured(kMagenta));
}

// One channel blended as the blend loops do: source over destination at a level.
uint32_t BlendChannel(uint32_t source, uint32_t destination, int32_t level) {
  return (source * static_cast<uint32_t>(level) + destination * static_cast<uint32_t>(256 - level)) >> 8;
}

uint32_t Blend(uint32_t source, uint32_t destination, int32_t level) {
  uint32_t result = 0;
  for (int shift = 0; shift < 24; shift += 8)
    result |= BlendChannel(source >> shift & 0xFF, destination >> shift & 0xFF, level) << shift;
  return result;
}

struct Probe {
  int32_t x;
  int32_t y;
  uint32_t colour;
  int32_t tolerance; // per channel
};

bool Near(uint32_t actual, uint32_t expected, int32_t tolerance) {
  for (int shift = 0; shift < 24; shift += 8) {
    const int32_t a = static_cast<int32_t>(actual >> shift & 0xFF);
    const int32_t e = static_cast<int32_t>(expected >> shift & 0xFF);
    if (std::abs(a - e) > tolerance)
      return false;
  }
  return true;
}

struct PaintCase {
  const char *name;
  int32_t depth;
  std::function<void(PaintedPage &)> build;
  std::vector<Probe> probes;
  // The draw flags of the object added last, and whether it drew through
  // surfaces of its own.
  uint16_t flags;
  bool ownSurfaces;
};

// Level 126 for opacity 128: (255 - 128) x 255 / 256.
constexpr int32_t kHalfLevel = 126;
// Shadows blend their colour at the shadow opacity.
constexpr int32_t kShadowLevel = 128;

PlainGraphical &AddRed(PaintedPage &page, const VORRect &rect = kObject) {
  return page.Add(rect, TestPicture::Solid(4, 4, kRed));
}

void SetShadow(PlainGraphical &object, int32_t x, int32_t y, uint16_t opacity) {
  Properties &properties = object.GetGraphicalProperties();
  properties.shadowOffset = VORPoint{x, y};
  properties.shadowColour = kBlack;
  properties.shadowOpacity = opacity;
}

std::vector<PaintCase> Cases() {
  const uint32_t halfRed = Blend(kRed, kBlue, kHalfLevel);
  const uint32_t halfShadow = Blend(kBlack, kBlue, kShadowLevel);
  std::vector<PaintCase> cases = {
      {"opaque picture",
       kTrueColour,
       [](PaintedPage &page) {
         AddBlueBackground(page);
         AddRed(page);
       },
       {{20, 20, kRed, 0}, {10, 10, kRed, 0}, {29, 29, kRed, 0}, {30, 30, kBlue, 0}, {9, 20, kBlue, 0}},
       0x0002,
       false},
      {"opacity 128 blends at level 126",
       kTrueColour,
       [](PaintedPage &page) {
         AddBlueBackground(page);
         AddRed(page).GetGraphicalProperties().opacity = kHalf;
       },
       {{20, 20, halfRed, 1}, {10, 29, halfRed, 1}, {30, 20, kBlue, 0}},
       0x0042,
       true},
      {"key-coloured pixels show what lies beneath",
       kTrueColour,
       [](PaintedPage &page) {
         AddBlueBackground(page);
         page.Add(kObject, HalfKeyedPicture()).GetGraphicalProperties().transparentColourFlag = 1;
       },
       {{12, 20, kBlue, 0}, {19, 15, kBlue, 0}, {21, 15, kRed, 0}, {28, 28, kRed, 0}},
       0x0027,
       true},
      {"key colour and opacity together",
       kTrueColour,
       [](PaintedPage &page) {
         AddBlueBackground(page);
         Properties &properties = page.Add(kObject, HalfKeyedPicture()).GetGraphicalProperties();
         properties.transparentColourFlag = 1;
         properties.opacity = kHalf;
       },
       {{12, 20, kBlue, 0}, {25, 20, halfRed, 1}},
       0x0067,
       true},
      {"solid shadow strips at the offset",
       kTrueColour,
       [](PaintedPage &page) {
         AddBlueBackground(page);
         SetShadow(AddRed(page), 4, 3, 256);
       },
       // Vertical strip x 30..33, y 13..32; horizontal strip x 14..29, y 30..32.
       {{31, 20, kBlack, 0},
        {33, 32, kBlack, 0},
        {31, 12, kBlue, 0},
        {34, 20, kBlue, 0},
        {20, 31, kBlack, 0},
        {13, 31, kBlue, 0},
        {20, 33, kBlue, 0},
        {20, 20, kRed, 0}},
       0x0402,
       false},
      {"half shadow darkens what lies beneath",
       kTrueColour,
       [](PaintedPage &page) {
         AddBlueBackground(page);
         SetShadow(AddRed(page), 4, 3, kHalf);
       },
       {{31, 20, halfShadow, 2}, {20, 31, halfShadow, 2}, {31, 12, kBlue, 0}, {20, 20, kRed, 0}},
       0x0402,
       false},
      {"shadow up and to the left",
       kTrueColour,
       [](PaintedPage &page) {
         AddBlueBackground(page);
         SetShadow(AddRed(page), -5, -2, 256);
       },
       // Vertical strip x 5..9, y 8..27; horizontal strip x 10..24, y 8..9.
       {{5, 8, kBlack, 0}, {9, 27, kBlack, 0}, {9, 28, kBlue, 0}, {24, 9, kBlack, 0}, {25, 9, kBlue, 0}},
       0x0402,
       false},
      {"shadow of a half-opaque object drawn from its surface",
       kTrueColour,
       [](PaintedPage &page) {
         AddBlueBackground(page);
         PlainGraphical &object = AddRed(page);
         object.GetGraphicalProperties().opacity = kHalf;
         SetShadow(object, 4, 3, kHalf);
       },
       // The shadow lies under the whole object too and shows through it.
       {{31, 20, halfShadow, 2},
        {20, 31, halfShadow, 2},
        {20, 20, Blend(kRed, halfShadow, kHalfLevel), 2},
        {12, 11, halfRed, 1},
        {31, 12, kBlue, 0}},
       0x0442,
       true},
      {"shadow of a picture that leaves gaps, drawn from its surface",
       kTrueColour,
       [](PaintedPage &page) {
         AddBlueBackground(page);
         SetShadow(page.Add(kObject, TestPicture::Solid(4, 4, kRed, ImageLayout())), 4, 3, 256);
       },
       {{31, 20, kBlack, 0}, {20, 31, kBlack, 0}, {31, 12, kBlue, 0}, {20, 20, kRed, 0}},
       0x0407,
       true},
      {"shadow of a keyed picture follows its shape",
       kTrueColour,
       [](PaintedPage &page) {
         AddBlueBackground(page);
         PlainGraphical &object = page.Add(kObject, HalfKeyedPicture());
         object.GetGraphicalProperties().transparentColourFlag = 1;
         SetShadow(object, 4, 3, 256);
       },
       // The shadow of the red half only: x 24..33, y 13..32 where not covered.
       {{31, 20, kBlack, 0}, {25, 31, kBlack, 0}, {15, 31, kBlue, 0}, {12, 20, kBlue, 0}, {25, 20, kRed, 0}},
       0x0427,
       true},
      {"8 bits: a 24-bit picture through the pair of surfaces",
       kPaletted,
       [](PaintedPage &page) {
         AddBlueBackground(page);
         AddRed(page);
       },
       {{20, 20, kRed, 0}, {5, 5, kBlue, 0}, {30, 30, kBlue, 0}},
       0x0202,
       true},
      {"8 bits: a picture with the application palette",
       kPaletted,
       [](PaintedPage &page) {
         AddBlueBackground(page);
         auto picture = TestPicture::Solid(4, 4, kRed);
         picture->reportedBits = kPaletted;
         picture->matchesAppPalette = true;
         page.Add(kObject, std::move(picture));
       },
       {{20, 20, kRed, 0}, {5, 5, kBlue, 0}},
       0x0002,
       false},
      {"8 bits: key colour and solid shadow",
       kPaletted,
       [](PaintedPage &page) {
         AddBlueBackground(page);
         PlainGraphical &object = page.Add(kObject, HalfKeyedPicture());
         object.GetGraphicalProperties().transparentColourFlag = 1;
         SetShadow(object, 4, 3, 256);
       },
       {{12, 20, kBlue, 0}, {25, 20, kRed, 0}, {31, 20, kBlack, 0}},
       0x0627,
       true},
      {"a half-opaque child blends with its parent's picture",
       kTrueColour,
       [](PaintedPage &page) {
         AddBlueBackground(page);
         PlainGraphical &parent = page.Add(kObject, TestPicture::Solid(4, 4, kGreen));
         page.Add(VORRect(15, 15, 25, 25), TestPicture::Solid(4, 4, kRed), &parent).GetGraphicalProperties().opacity =
             kHalf;
       },
       {{20, 20, Blend(kRed, kGreen, kHalfLevel), 1}, {12, 12, kGreen, 0}, {5, 5, kBlue, 0}},
       0x0042,
       true},
      {"a half-opaque child in a keyed parent blends with what lies under the parent",
       kTrueColour,
       [](PaintedPage &page) {
         AddBlueBackground(page);
         PlainGraphical &parent = page.Add(kObject, HalfKeyedPicture());
         parent.GetGraphicalProperties().transparentColourFlag = 1;
         page.Add(VORRect(11, 12, 19, 28), TestPicture::Solid(4, 4, kRed), &parent).GetGraphicalProperties().opacity =
             kHalf;
       },
       {{15, 20, halfRed, 1}, {12, 11, kBlue, 0}, {25, 20, kRed, 0}},
       0x0042,
       true},
      {"a half-opaque child of a see-through moving parent blends with the page",
       kTrueColour,
       [](PaintedPage &page) {
         AddBlueBackground(page);
         // Every pixel of the parent's picture is its key colour.
         PlainGraphical &parent =
             page.Add(kObject, TestPicture::Solid(4, 4, kMagenta, TestPicture::KeyColoured(kMagenta)));
         parent.GetGraphicalProperties().draggable = 1;
         page.Add(VORRect(11, 12, 19, 28), TestPicture::Solid(4, 4, kRed), &parent).GetGraphicalProperties().opacity =
             kHalf;
       },
       {{15, 20, halfRed, 1}, {12, 11, kBlue, 0}, {25, 20, kBlue, 0}},
       0x0042,
       true},
      {"nothing beneath: white",
       kTrueColour,
       [](PaintedPage &page) { AddRed(page).GetGraphicalProperties().opacity = kHalf; },
       {{20, 20, Blend(kRed, kWhite, kHalfLevel), 1}, {50, 50, kWhite, 0}},
       0x0042,
       true},
  };
  return cases;
}

TEST(GraphicalObjectPaintTest, PicturesShadowsOpacityAndKeyColourInTheScreenBuffer) {
  for (const PaintCase &c : Cases()) {
    PaintedPage page(c.depth, kPage);
    c.build(page);
    page.Compose();
    for (const Probe &probe : c.probes) {
      const uint32_t actual = page.Pixel(probe.x, probe.y);
      EXPECT_TRUE(Near(actual, probe.colour, probe.tolerance))
          << c.name << " at (" << probe.x << ", " << probe.y << "): " << std::hex << actual << " for " << probe.colour;
    }
    EXPECT_EQ(page.Top().GetDrawFlags().word, c.flags) << c.name;
    EXPECT_EQ(page.Top().HasSurfaces(), c.ownSurfaces) << c.name;
  }
}

// A moved parent takes its child's picture along: the child lies over the
// parent at the parent's new place (the parent showing through the child's
// key-coloured half), and the old place is left white.
TEST(GraphicalObjectPaintTest, AMovedParentCarriesItsChildsPicture) {
  PaintedPage page(kTrueColour, kPage);
  PlainGraphical &parent = page.Add(kObject, TestPicture::Solid(4, 4, kGreen));
  page.Add(VORRect(0, 0, 4, 4), HalfKeyedPicture(), &parent).GetGraphicalProperties().transparentColourFlag = 1;
  // Placed as the page's layout places it once its children are read.
  parent.SetRect(kObject);
  page.Compose();
  EXPECT_EQ(page.Pixel(12, 20), kGreen);
  EXPECT_EQ(page.Pixel(25, 20), kRed);
  parent.SetRect(VORRect(40, 20, 60, 40));
  page.Repaint();
  const Probe probes[] = {{42, 30, kGreen, 0}, {55, 30, kRed, 0}, {12, 20, kWhite, 0}, {25, 20, kWhite, 0}};
  for (const Probe &probe : probes)
    EXPECT_EQ(page.Pixel(probe.x, probe.y), probe.colour) << "at (" << probe.x << ", " << probe.y << ")";
}

} // namespace
