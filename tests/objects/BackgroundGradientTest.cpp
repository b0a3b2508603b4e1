#include "objects/BackgroundGradient.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

#include "display/DibImage.h"
#include "display/Palette.h"
#include "support/LoopForms.h"

namespace {

using BackgroundGradient::Gradient;

constexpr ColorRef kBlack = MakeColorRef(0, 0, 0);
constexpr ColorRef kWhite = MakeColorRef(255, 255, 255);

// A 4 x 6 object at (10, 20), from red (255, 0, 40) to (0, 240, 100): the
// red delta is negative, so truncation toward zero shows.
Gradient SmallGradient(int32_t direction) {
  return Gradient{MakeColorRef(255, 0, 40), MakeColorRef(0, 240, 100), direction, VORRect(10, 20, 14, 26)};
}

// c1 + d x i / n per channel for the small gradient.
ColorRef SmallStep(int64_t i, int64_t n) {
  return MakeColorRef(static_cast<uint8_t>(255 + -255 * i / n), static_cast<uint8_t>(240 * i / n),
                      static_cast<uint8_t>(40 + 60 * i / n));
}

TEST(BackgroundGradientTest, LinesOfTheFourDirections) {
  struct Case {
    int32_t direction;
    int64_t steps;
    int64_t step;
    BackgroundGradient::Line line;
  };
  const Case cases[] = {
      // top to bottom: one row per step; the last row has colour 2 (divisor n - 1)
      {0, 6, 0, {SmallStep(0, 5), 10, 20, 14, 20}},
      {0, 6, 2, {SmallStep(2, 5), 10, 22, 14, 22}},
      {0, 6, 5, {MakeColorRef(0, 240, 100), 10, 25, 14, 25}},
      // left to right: one column per step, divisor n
      {1, 4, 1, {SmallStep(1, 4), 11, 20, 11, 26}},
      {1, 4, 3, {SmallStep(3, 4), 13, 20, 13, 26}},
      // diagonals: twice the larger side, lines from the left edge up to the top
      {2, 12, 0, {SmallStep(0, 12), 10, 20, 10, 19}},
      {2, 12, 7, {SmallStep(7, 12), 10, 27, 17, 19}},
      // and from the top edge down to the right edge
      {3, 12, 0, {SmallStep(0, 12), 14, 20, 14, 20}},
      {3, 12, 11, {SmallStep(11, 12), 3, 20, 14, 31}},
  };
  for (const Case &c : cases) {
    const Gradient gradient = SmallGradient(c.direction);
    EXPECT_EQ(BackgroundGradient::StepCount(gradient), c.steps) << "direction " << c.direction;
    const BackgroundGradient::Line line = BackgroundGradient::LineAt(gradient, c.step);
    EXPECT_EQ(line.colour, c.line.colour) << "direction " << c.direction << " step " << c.step;
    EXPECT_EQ(line.x1, c.line.x1) << "direction " << c.direction << " step " << c.step;
    EXPECT_EQ(line.y1, c.line.y1) << "direction " << c.direction << " step " << c.step;
    EXPECT_EQ(line.x2, c.line.x2) << "direction " << c.direction << " step " << c.step;
    EXPECT_EQ(line.y2, c.line.y2) << "direction " << c.direction << " step " << c.step;
  }
}

TEST(BackgroundGradientTest, AnObjectOnePixelHighShowsColourOne) {
  // n - 1 would be 0 here.
  const Gradient gradient{kBlack, kWhite, BackgroundGradient::kTopToBottom, VORRect(0, 5, 50, 6)};
  ASSERT_EQ(BackgroundGradient::StepCount(gradient), 1);
  EXPECT_EQ(BackgroundGradient::LineAt(gradient, 0).colour, kBlack);
}

TEST(BackgroundGradientTest, LeftToRightDividesByTheWidth) {
  // Black to white over 256 columns: column i is i x 255 / 256, so the last
  // column is 254 and never quite white.
  const Gradient gradient{kBlack, kWhite, BackgroundGradient::kLeftToRight, VORRect(0, 0, 256, 10)};
  for (int64_t column : {0, 1, 128, 255}) {
    const auto grey = static_cast<uint8_t>(column * 255 / 256);
    EXPECT_EQ(BackgroundGradient::LineAt(gradient, column).colour, MakeColorRef(grey, grey, grey)) << column;
  }
  EXPECT_EQ(RedOf(BackgroundGradient::LineAt(gradient, 255).colour), 254);
}

TEST(BackgroundGradientTest, EqualColoursGiveOneColourAndEmptyOrUnknownGradientsNoSteps) {
  const ColorRef teal = MakeColorRef(0, 128, 128);
  for (int32_t direction = 0; direction < 4; ++direction) {
    Gradient gradient{teal, teal, direction, VORRect(0, 0, 7, 3)};
    for (int64_t i = 0; i < BackgroundGradient::StepCount(gradient); ++i) {
      EXPECT_EQ(BackgroundGradient::LineAt(gradient, i).colour, teal) << direction << " " << i;
    }
    gradient.object = VORRect(5, 5, 5, 5);
    EXPECT_EQ(BackgroundGradient::StepCount(gradient), 0) << direction;
    gradient.object = VORRect(5, 5, 2, 1); // inverted
    EXPECT_EQ(BackgroundGradient::StepCount(gradient), 0) << direction;
  }
  EXPECT_EQ(BackgroundGradient::StepCount(Gradient{teal, teal, 4, VORRect(0, 0, 7, 3)}), 0);
  EXPECT_EQ(BackgroundGradient::StepCount(Gradient{teal, teal, -1, VORRect(0, 0, 7, 3)}), 0);
}

// Whether step i's line can put a pixel into the clip: the rows, columns or
// diagonal bands each direction's lines cover.
bool LineMayTouch(const Gradient &g, int64_t i, const VORRect &clip) {
  const VORRect &o = g.object;
  for (int64_t y = clip.top; y < clip.bottom; ++y) {
    for (int64_t x = clip.left; x < clip.right; ++x) {
      switch (g.direction) {
      case 0:
        if (y == o.top + i)
          return true;
        break;
      case 1:
        if (x == o.left + i)
          return true;
        break;
      case 2:
        if (x + y >= o.left + o.top + i - 1 && x + y <= o.left + o.top + i)
          return true;
        break;
      case 3:
        if (x - y == o.right - o.top - i)
          return true;
        break;
      default:
        break;
      }
    }
  }
  return false;
}

TEST(BackgroundGradientTest, VisibleStepsHoldEveryLineThatReachesTheClip) {
  for (int32_t direction = 0; direction < 4; ++direction) {
    const Gradient gradient{kBlack, kWhite, direction, VORRect(3, 4, 15, 11)};
    const int64_t n = BackgroundGradient::StepCount(gradient);
    for (int32_t left = 0; left < 18; left += 3) {
      for (int32_t top = 0; top < 14; top += 2) {
        const VORRect clip(left, top, left + 4, top + 3);
        const BackgroundGradient::StepRange range = BackgroundGradient::VisibleSteps(gradient, clip);
        EXPECT_GE(range.first, 0);
        EXPECT_LE(range.last, n);
        for (int64_t i = 0; i < n; ++i) {
          if (LineMayTouch(gradient, i, clip)) {
            EXPECT_TRUE(i >= range.first && i < range.last)
                << "direction " << direction << " step " << i << " clip " << left << "," << top;
          }
        }
      }
    }
  }
}

TEST(BackgroundGradientTest, AHugeObjectDrawnIntoASmallClipWalksFewSteps) {
  const VORRect huge(-2000000000, -2000000000, 2000000000, 2000000000);
  for (int32_t direction = 0; direction < 4; ++direction) {
    const Gradient gradient{kBlack, kWhite, direction, huge};
    const BackgroundGradient::StepRange range = BackgroundGradient::VisibleSteps(gradient, VORRect(100, 100, 110, 105));
    EXPECT_GT(range.last, range.first) << direction;
    EXPECT_LE(range.last - range.first, 20) << direction;
  }
}

TEST(BackgroundGradientTest, BaseColoursOfTheFourDirections) {
  // Pixel (1, 3) of the 4 x 6 object; red falls by 255 (half: -127), green
  // rises by 240 (half 120), blue by 60 (half 30).
  struct Case {
    int32_t direction;
    int32_t red, green, blue;
  };
  const Case cases[] = {
      {0, 255 - 255 * 3 / 6, 240 * 3 / 6, 40 + 60 * 3 / 6},
      {1, 255 - 255 * 1 / 4, 240 * 1 / 4, 40 + 60 * 1 / 4},
      {2, 255 - 127 * 3 / 6 - 127 * 1 / 4, 120 * 3 / 6 + 120 * 1 / 4, 40 + 30 * 3 / 6 + 30 * 1 / 4},
      {3, 255 - 127 * 3 / 6 - 127 * 3 / 4, 120 * 3 / 6 + 120 * 3 / 4, 40 + 30 * 3 / 6 + 30 * 3 / 4},
  };
  for (const Case &c : cases) {
    int32_t channels[3];
    BackgroundGradient::BaseColour(SmallGradient(c.direction), 1, 3, channels);
    EXPECT_EQ(channels[0], c.red) << c.direction;
    EXPECT_EQ(channels[1], c.green) << c.direction;
    EXPECT_EQ(channels[2], c.blue) << c.direction;
  }
  EXPECT_EQ(255 - 127 * 3 / 6, 192); // -63.5 truncates toward zero
}

TEST(BackgroundGradientTest, AnObjectWithoutAreaHasColourOneAsBase) {
  for (int32_t direction = 0; direction < 4; ++direction) {
    for (const VORRect &object : {VORRect(0, 0, 0, 10), VORRect(0, 0, 10, 0), VORRect(0, 0, -5, -5)}) {
      Gradient gradient = SmallGradient(direction);
      gradient.object = object;
      int32_t channels[3];
      BackgroundGradient::BaseColour(gradient, 3, 3, channels);
      EXPECT_EQ(channels[0], 255) << direction;
      EXPECT_EQ(channels[1], 0) << direction;
      EXPECT_EQ(channels[2], 40) << direction;
    }
  }
}

// A top-down image filled with one byte value.
struct TestImage {
  BitmapInfo256 info = {};
  DibImage image;

  TestImage(int32_t width, int32_t height, int32_t depth, const RgbQuad *colours = nullptr, int32_t count = 0) {
    info.header.biSize = kBitmapInfoHeaderSize;
    info.header.biWidth = width;
    info.header.biHeight = -height;
    info.header.biPlanes = 1;
    info.header.biBitCount = static_cast<uint16_t>(depth);
    info.header.biClrUsed = static_cast<uint32_t>(count);
    for (int32_t i = 0; i < count; ++i) {
      info.colors[i] = colours[i];
    }
    EXPECT_TRUE(image.Create(&info.header));
  }
  void Fill(uint8_t value) {
    for (int32_t y = 0; y < image.GetHeight(); ++y) {
      std::fill_n(image.GetRowAddress(y), image.GetStride(), value);
    }
  }
  ColorRef Pixel24(int32_t x, int32_t y) const {
    const uint8_t *p = image.GetRowAddress(y) + x * 3;
    return MakeColorRef(p[2], p[1], p[0]);
  }
  uint8_t Index(int32_t x, int32_t y) const { return image.GetRowAddress(y)[x]; }
};

TEST(BackgroundGradientTest, SixteenBitChannelsThatAreMultiplesOfEightCarryNoError) {
  const ColorRef flat = MakeColorRef(64, 128, 248);
  for (int32_t direction = 0; direction < 4; ++direction) {
    TestImage target(9, 5, 24);
    ASSERT_TRUE(BackgroundGradient::Fill16(target.image, VORRect(0, 0, 9, 5),
                                           Gradient{flat, flat, direction, VORRect(0, 0, 9, 5)}));
    for (int32_t y = 0; y < 5; ++y) {
      for (int32_t x = 0; x < 9; ++x) {
        ASSERT_EQ(target.Pixel24(x, y), flat) << direction << " at " << x << "," << y;
      }
    }
  }
}

TEST(BackgroundGradientTest, SixteenBitErrorIsCarriedAlongTheRowAndStartsAgainOnEach) {
  // Red 100 = 96 + 4: 96 (carry 4), 104 (carry 0), 96, 104 ...
  const ColorRef flat = MakeColorRef(100, 3, 255);
  TestImage target(6, 2, 24);
  ASSERT_TRUE(
      BackgroundGradient::Fill16(target.image, VORRect(0, 0, 6, 2), Gradient{flat, flat, 0, VORRect(0, 0, 6, 2)}));
  const uint8_t reds[] = {96, 104, 96, 104, 96, 104};
  const uint8_t greens[] = {0, 0, 8, 0, 0, 8}; // green 3, 6, 9 -> 8 (carry 1), 4, 7, 10 -> 8
  for (int32_t y = 0; y < 2; ++y) {
    for (int32_t x = 0; x < 6; ++x) {
      EXPECT_EQ(RedOf(target.Pixel24(x, y)), reds[x]) << x << "," << y;
      EXPECT_EQ(GreenOf(target.Pixel24(x, y)), greens[x]) << x << "," << y;
      EXPECT_EQ(BlueOf(target.Pixel24(x, y)), 248) << x << "," << y;
    }
  }
}

TEST(BackgroundGradientTest, SixteenBitFillMatchesThePixelByPixelFormula) {
  // The simple form: each pixel's base colour on its own, the error carried
  // along the row.
  for (int32_t direction = 0; direction < 4; ++direction) {
    const Gradient gradient{MakeColorRef(250, 3, 77), MakeColorRef(9, 200, 78), direction, VORRect(-3, 2, 30, 19)};
    TestImage target(24, 20, 24);
    const VORRect area(1, 0, 23, 20); // partly outside the object
    ASSERT_TRUE(BackgroundGradient::Fill16(target.image, area, gradient));
    for (int32_t y = area.top; y < area.bottom; ++y) {
      int32_t carried[3] = {0, 0, 0};
      for (int32_t x = area.left; x < area.right; ++x) {
        int32_t base[3];
        BackgroundGradient::BaseColour(gradient, x - gradient.object.left, y - gradient.object.top, base);
        uint8_t expected[3];
        for (int c = 0; c < 3; ++c) {
          const int32_t value = std::clamp(base[c] + carried[c], 0, 255);
          expected[c] = static_cast<uint8_t>(value & 0xF8);
          carried[c] = value - expected[c];
        }
        ASSERT_EQ(target.Pixel24(x, y), MakeColorRef(expected[0], expected[1], expected[2]))
            << "direction " << direction << " at " << x << "," << y;
      }
    }
  }
}

TEST(BackgroundGradientTest, FillsWriteOnlyTheAreaCutToTheImage) {
  TestImage deep(8, 8, 24);
  deep.Fill(0xEE);
  const Gradient gradient{kBlack, kBlack, 1, VORRect(-10, -10, 20, 20)};
  ASSERT_TRUE(BackgroundGradient::Fill16(deep.image, VORRect(6, -3, 30, 2), gradient));
  for (int32_t y = 0; y < 8; ++y) {
    for (int32_t x = 0; x < 8; ++x) {
      const bool inside = x >= 6 && y < 2;
      EXPECT_EQ(deep.Pixel24(x, y), inside ? kBlack : MakeColorRef(0xEE, 0xEE, 0xEE)) << x << "," << y;
    }
  }
  EXPECT_FALSE(BackgroundGradient::Fill16(deep.image, VORRect(8, 0, 12, 8), gradient)); // outside
  EXPECT_FALSE(BackgroundGradient::Fill16(deep.image, VORRect(2, 2, 2, 8), gradient));  // empty
  EXPECT_FALSE(
      BackgroundGradient::Fill16(deep.image, VORRect(0, 0, 8, 8), Gradient{kBlack, kBlack, 7, gradient.object}));
  TestImage palettised(8, 8, 8, Palette::Default().GetEntries(), 256);
  EXPECT_FALSE(BackgroundGradient::Fill16(palettised.image, VORRect(0, 0, 8, 8), gradient)); // wrong depth
}

// Numbers drawn one at a time, as a fill asks for them in blocks.
BackgroundGradient::RandomSource OneByOne(std::function<int32_t()> next) {
  return [next](int32_t *numbers, size_t count) { std::generate_n(numbers, count, next); };
}

// A fixed sequence of random numbers, repeated.
BackgroundGradient::RandomSource Sequence(std::vector<int32_t> values) {
  auto next = std::make_shared<size_t>(0);
  return OneByOne([values, next]() { return values[(*next)++ % values.size()]; });
}

TEST(BackgroundGradientTest, EightBitErrorDiffusionAlternatesBetweenTheNearestEntries) {
  // Black and white only; noise 0 (4 % 8 - 4). Grey 128 goes to white and
  // carries -127, 1 to black and carries 1, 129 to white...
  const RgbQuad colours[] = {{0, 0, 0, 0}, {255, 255, 255, 0}};
  Palette twoColours(colours, 2);
  TestImage target(6, 2, 8, colours, 2);
  const ColorRef grey = MakeColorRef(128, 128, 128);
  ASSERT_TRUE(BackgroundGradient::Fill8(target.image, VORRect(0, 0, 6, 2), Gradient{grey, grey, 0, VORRect(0, 0, 6, 2)},
                                        twoColours, Sequence({4})));
  for (int32_t y = 0; y < 2; ++y) {
    for (int32_t x = 0; x < 6; ++x) {
      EXPECT_EQ(target.Index(x, y), x % 2 == 0 ? 1 : 0) << x << "," << y;
    }
  }
}

TEST(BackgroundGradientTest, EightBitFillDrawsOneRandomNumberPerPixel) {
  // The noise is shared by the three channels of a pixel.
  TestImage target(7, 3, 8, Palette::Default().GetEntries(), 256);
  int32_t calls = 0;
  const Gradient gradient{kBlack, kWhite, 3, VORRect(0, 0, 7, 3)};
  ASSERT_TRUE(
      BackgroundGradient::Fill8(target.image, VORRect(1, 1, 6, 3), gradient, Palette::Default(), OneByOne([&calls] {
                                  ++calls;
                                  return 4;
                                })));
  EXPECT_EQ(calls, 5 * 2);
}

// The simple form of the 8-bit fill: one number per pixel in row order, the
// error carried along the row and matched through the inverse table, the
// image's entries first and the palette's past them.
void EightBitByFormula(const Gradient &gradient, const VORRect &area, const TestImage &target, Palette &palette,
                       const std::vector<int32_t> &numbers, std::vector<uint8_t> &expected) {
  size_t next = 0;
  for (int32_t y = area.top; y < area.bottom; ++y) {
    int32_t carried[3] = {0, 0, 0};
    for (int32_t x = area.left; x < area.right; ++x) {
      int32_t base[3];
      BackgroundGradient::BaseColour(gradient, x - gradient.object.left, y - gradient.object.top, base);
      const int32_t noise = numbers[next++ % numbers.size()] % 8 - 4;
      int32_t value[3];
      for (int c = 0; c < 3; ++c) {
        value[c] = std::clamp(base[c] + noise + carried[c], 0, 255);
      }
      const auto index = static_cast<uint8_t>(palette.IndexOfColor(MakeColorRef(
          static_cast<uint8_t>(value[0]), static_cast<uint8_t>(value[1]), static_cast<uint8_t>(value[2]))));
      expected.push_back(index);
      const RgbQuad entry = index < target.image.GetColorTableEntries() ? target.image.GetColorTable()[index]
                                                                        : palette.ColorOfIndex(index);
      carried[0] = value[0] - entry.red;
      carried[1] = value[1] - entry.green;
      carried[2] = value[2] - entry.blue;
    }
  }
}

TEST(BackgroundGradientTest, EightBitFillMatchesThePixelByPixelFormula) {
  // Rows are filled several at a time and columns block by block; every
  // direction in both loops, an area partly outside the object, row counts
  // that are no multiple of the group, rows wider than a block, an object so
  // far off that its parts no longer fit 16 bits, and an image whose colour
  // table is shorter than the palette.
  Palette &palette = Palette::Default();
  std::vector<int32_t> numbers(997);
  std::srand(7);
  std::generate(numbers.begin(), numbers.end(), [] { return std::rand() & 0x7FFF; });
  struct Case {
    const char *name;
    int32_t width, height;
    VORRect object, area;
  };
  const Case cases[] = {
      {"small", 24, 23, VORRect(-3, 2, 30, 19), VORRect(1, 0, 23, 23)},
      {"wide", 150, 37, VORRect(5, -4, 140, 30), VORRect(0, 1, 150, 37)},
      {"far off", 70, 9, VORRect(-90000, -50000, -89990, -49990), VORRect(0, 0, 70, 9)},
  };
  for (const Case &c : cases) {
    for (const LoopForm &form : kLoopForms) {
      const LoopFormScope scope(form);
      for (int32_t direction = 0; direction < 4; ++direction) {
        const Gradient gradient{MakeColorRef(250, 3, 77), MakeColorRef(9, 200, 78), direction, c.object};
        TestImage target(c.width, c.height, 8, palette.GetEntries(), 200);
        ASSERT_TRUE(BackgroundGradient::Fill8(target.image, c.area, gradient, palette, Sequence(numbers), form.loops));
        std::vector<uint8_t> expected;
        EightBitByFormula(gradient, c.area, target, palette, numbers, expected);
        size_t i = 0;
        for (int32_t y = c.area.top; y < c.area.bottom; ++y) {
          for (int32_t x = c.area.left; x < c.area.right; ++x) {
            ASSERT_EQ(target.Index(x, y), expected[i++])
                << c.name << ", direction " << direction << ", " << form.name << " at " << x << "," << y;
          }
        }
      }
    }
  }
}

// The mean colour of the palette entries an 8-bit area shows.
void MeanColour(const TestImage &target, const Palette &palette, double (&mean)[3]) {
  double sums[3] = {0, 0, 0};
  const int32_t count = target.image.GetWidth() * target.image.GetHeight();
  for (int32_t y = 0; y < target.image.GetHeight(); ++y) {
    for (int32_t x = 0; x < target.image.GetWidth(); ++x) {
      const RgbQuad entry = palette.ColorOfIndex(target.Index(x, y));
      sums[0] += entry.red;
      sums[1] += entry.green;
      sums[2] += entry.blue;
    }
  }
  for (int c = 0; c < 3; ++c) {
    mean[c] = sums[c] / count;
  }
}

TEST(BackgroundGradientTest, TwoEightBitFillsDifferPixelByPixelButKeepTheMeanColour) {
  Palette &palette = Palette::Default();
  const ColorRef target = MakeColorRef(100, 150, 200);
  const Gradient gradient{target, target, 2, VORRect(0, 0, 64, 64)};
  TestImage first(64, 64, 8, palette.GetEntries(), palette.GetCount());
  TestImage second(64, 64, 8, palette.GetEntries(), palette.GetCount());
  std::srand(1);
  ASSERT_TRUE(BackgroundGradient::Fill8(first.image, VORRect(0, 0, 64, 64), gradient, palette,
                                        OneByOne([] { return std::rand() & 0x7FFF; })));
  std::srand(2);
  ASSERT_TRUE(BackgroundGradient::Fill8(second.image, VORRect(0, 0, 64, 64), gradient, palette,
                                        OneByOne([] { return std::rand() & 0x7FFF; })));
  int32_t differing = 0;
  for (int32_t y = 0; y < 64; ++y) {
    for (int32_t x = 0; x < 64; ++x) {
      differing += first.Index(x, y) != second.Index(x, y) ? 1 : 0;
    }
  }
  EXPECT_GT(differing, 64);
  for (const TestImage *image : {&first, &second}) {
    double mean[3];
    MeanColour(*image, palette, mean);
    EXPECT_NEAR(mean[0], 100, 3.0);
    EXPECT_NEAR(mean[1], 150, 3.0);
    EXPECT_NEAR(mean[2], 200, 3.0);
  }
}

TEST(BackgroundGradientTest, EightBitFillRefusesWhatItCannotWrite) {
  TestImage palettised(4, 4, 8, Palette::Default().GetEntries(), 256);
  TestImage deep(4, 4, 24);
  Palette empty;
  const Gradient gradient{kBlack, kWhite, 0, VORRect(0, 0, 4, 4)};
  const auto random = Sequence({4});
  EXPECT_FALSE(BackgroundGradient::Fill8(palettised.image, VORRect(0, 0, 4, 4), gradient, empty, random));
  EXPECT_FALSE(BackgroundGradient::Fill8(deep.image, VORRect(0, 0, 4, 4), gradient, Palette::Default(), random));
  EXPECT_FALSE(BackgroundGradient::Fill8(palettised.image, VORRect(4, 4, 8, 8), gradient, Palette::Default(), random));
  EXPECT_FALSE(BackgroundGradient::Fill8(palettised.image, VORRect(0, 0, 4, 4),
                                         Gradient{kBlack, kWhite, 9, gradient.object}, Palette::Default(), random));
}

} // namespace
