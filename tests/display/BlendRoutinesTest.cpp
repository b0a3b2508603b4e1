#include "display/BlendRoutines.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "display/DibImage.h"
#include "display/Palette.h"
#include "display/ReferencePixelLoops.h"
#include "support/LoopForms.h"

namespace {

// A 24-bit block of rows as BlendColorRect24 sees it: stride = width x 3 padded to 4.
struct Bits24 {
  int32_t width, height;
  size_t stride;
  std::vector<uint8_t> bytes;

  Bits24(int32_t w, int32_t h, uint8_t fill) : width(w), height(h), stride((w * 3 + 3) / 4 * 4) {
    bytes.assign(stride * h, fill);
  }
  uint8_t *Pixel(int32_t x, int32_t y) { return &bytes[y * stride + x * 3]; }
};

TEST(BlendRoutinesTest, OpacityZeroLeavesThePixelsAlone) {
  for (const LoopForm &form : kLoopForms) {
    const LoopFormScope scope(form);
    const PixelLoops loops = form.loops;
    Bits24 image(20, 2, 255);
    const std::vector<uint8_t> before = image.bytes;
    EXPECT_TRUE(
        BlendColorRect24(image.bytes.data(), image.bytes.size(), MakeColorRef(0, 0, 0), 0, 0, 20, 20, 2, 0, loops));
    EXPECT_TRUE(
        BlendColorRect24(image.bytes.data(), image.bytes.size(), MakeColorRef(0, 0, 0), 0, 0, 20, 20, 2, -40, loops));
    EXPECT_EQ(image.bytes, before) << form.name;
  }
}

TEST(BlendRoutinesTest, FullOpacityOfWhiteOverBlackGives254) {
  for (const LoopForm &form : kLoopForms) {
    const LoopFormScope scope(form);
    const PixelLoops loops = form.loops;
    for (int32_t opacity : {255, 256, 1000}) { // above the range is the top of the range
      Bits24 image(20, 1, 0);
      ASSERT_TRUE(BlendColorRect24(image.bytes.data(), image.bytes.size(), MakeColorRef(255, 255, 255), 0, 0, 20, 20, 1,
                                   opacity, loops));
      EXPECT_EQ(image.Pixel(19, 0)[0], 254) << form.name << " " << opacity;
      EXPECT_EQ(image.Pixel(0, 0)[2], 254) << form.name << " " << opacity;
    }
  }
}

TEST(BlendRoutinesTest, ColourChannelsArePremultipliedAndWrittenBlueGreenRed) {
  Bits24 image(1, 1, 200);
  // red 255 -> 128 x 255 / 256 = 127; green 100 -> 50; blue 0 -> 0; old part (127 x 200) >> 8 = 99.
  ASSERT_TRUE(BlendColorRect24(image.bytes.data(), image.bytes.size(), MakeColorRef(255, 100, 0), 0, 0, 1, 1, 1, 128,
                               PixelLoops::kPlain));
  EXPECT_EQ(image.Pixel(0, 0)[0], 0 + 99);
  EXPECT_EQ(image.Pixel(0, 0)[1], 50 + 99);
  EXPECT_EQ(image.Pixel(0, 0)[2], 127 + 99);
}

TEST(BlendRoutinesTest, OnlyTheRectangleChanges) {
  Bits24 image(5, 4, 100);
  ASSERT_TRUE(BlendColorRect24(image.bytes.data(), image.bytes.size(), MakeColorRef(0, 0, 0), 1, 2, 5, 3, 2, 255,
                               PixelLoops::kVector));
  for (int32_t y = 0; y < 4; ++y) {
    for (int32_t x = 0; x < 5; ++x) {
      const bool inside = x >= 1 && x < 4 && y >= 2 && y < 4;
      EXPECT_EQ(image.Pixel(x, y)[1], inside ? 0 : 100) << x << "," << y;
    }
  }
}

TEST(BlendRoutinesTest, RectanglesOutsideTheBitsAreRefused) {
  Bits24 image(5, 4, 100);
  struct Case {
    const char *name;
    int32_t x, y, columns, rows, width;
  } cases[] = {
      {"past the right edge", 3, 0, 3, 1, 5},
      {"past the last row", 0, 3, 1, 2, 5},
      {"negative x", -1, 0, 1, 1, 5},
      {"negative y", 0, -1, 1, 1, 5},
      {"negative columns", 0, 0, -2, 1, 5},
      {"zero width", 0, 0, 0, 0, 0},
      {"width bigger than the bits", 0, 3, 1, 1, 6},
      {"huge row", 0, INT32_MAX - 1, 1, 1, 5},
  };
  const std::vector<uint8_t> before = image.bytes;
  for (const Case &c : cases) {
    EXPECT_FALSE(BlendColorRect24(image.bytes.data(), image.bytes.size(), 0, c.x, c.y, c.width, c.columns, c.rows, 255,
                                  PixelLoops::kPlain))
        << c.name;
  }
  EXPECT_EQ(image.bytes, before);
}

TEST(BlendRoutinesTest, AMaskedBlendChangesTheMaskedPixelsOfEveryRow) {
  for (const LoopForm &form : kLoopForms) {
    const LoopFormScope scope(form);
    const PixelLoops loops = form.loops;
    Bits24 image(40, 5, 100);
    // A mask 40 pixels wide (rows of 8 bytes) with pixels 5, 6 and 30..39 set on rows 1..3.
    const int32_t maskWidth = 40;
    std::vector<uint8_t> mask(8 * 5, 0);
    for (int row = 1; row <= 3; ++row) {
      mask[row * 8 + 0] = 0x06; // pixels 5 and 6
      mask[row * 8 + 3] = 0x03; // pixels 30 and 31
      mask[row * 8 + 4] = 0xFF; // pixels 32..39
    }
    ASSERT_TRUE(BlendColorMaskedRect24(mask.data(), mask.size(), maskWidth, 0, 1, MakeColorRef(0, 0, 0), 40, 0, 1, 40,
                                       3, image.bytes.data(), image.bytes.size(), 255, loops));
    for (int32_t y = 0; y < 5; ++y) {
      for (int32_t x = 0; x < 40; ++x) {
        const bool masked = y >= 1 && y <= 3 && (x == 5 || x == 6 || x >= 30);
        ASSERT_EQ(image.Pixel(x, y)[0], masked ? 0 : 100) << form.name << " " << x << "," << y;
      }
    }
  }
}

TEST(BlendRoutinesTest, AMaskStartingAtFiveReadsBitTwoFirst) {
  Bits24 image(2, 1, 100);
  const uint8_t mask[4] = {0x04, 0, 0, 0}; // bit 2 of byte 0 = mask pixel 5
  ASSERT_TRUE(BlendColorMaskedRect24(mask, sizeof mask, 8, 5, 0, MakeColorRef(0, 0, 0), 2, 0, 0, 2, 1,
                                     image.bytes.data(), image.bytes.size(), 255, PixelLoops::kPlain));
  EXPECT_EQ(image.Pixel(0, 0)[0], 0);
  EXPECT_EQ(image.Pixel(1, 0)[0], 100);
}

// Mask bits are read eight at a time where they can be: every start within a
// byte, runs that end inside and at the mask's edge, against bit-by-bit reading.
TEST(BlendRoutinesTest, MaskedBlendsReadEveryBitAtAnyStart) {
  std::mt19937 random(5);
  std::uniform_int_distribution<int> byte(0, 255);
  const int32_t maskWidth = 70, maskStride = 12, rows = 2;
  std::vector<uint8_t> mask(static_cast<size_t>(maskStride) * rows);
  for (uint8_t &b : mask) {
    b = static_cast<uint8_t>(byte(random));
  }
  for (int32_t maskX = 0; maskX < 16; ++maskX) {
    for (int32_t columns : {1, 7, 8, 9, 17, 40, maskWidth - maskX}) {
      Bits24 image(80, rows, 0);
      for (uint8_t &b : image.bytes) {
        b = static_cast<uint8_t>(byte(random));
      }
      Bits24 expected = image;
      for (int32_t y = 0; y < rows; ++y) {
        std::vector<uint8_t> coverage(static_cast<size_t>(columns));
        for (int32_t i = 0; i < columns; ++i) {
          const int32_t bit = maskX + i;
          coverage[i] = static_cast<uint8_t>((mask[y * maskStride + bit / 8] >> (7 - bit % 8)) & 1);
        }
        reference::BlendColorRow24(expected.Pixel(3, y), columns, 0x00405060, 200, coverage.data());
      }
      for (const LoopForm &form : kLoopForms) {
        const LoopFormScope scope(form);
        const PixelLoops loops = form.loops;
        Bits24 blended = image;
        ASSERT_TRUE(BlendColorMaskedRect24(mask.data(), mask.size(), maskWidth, maskX, 0, 0x00405060, 80, 3, 0, columns,
                                           rows, blended.bytes.data(), blended.bytes.size(), 200, loops));
        EXPECT_EQ(blended.bytes, expected.bytes) << form.name << " mask x " << maskX << ", " << columns;
      }
    }
  }
}

TEST(BlendRoutinesTest, MasksShorterThanTheBlendAreRefused) {
  Bits24 image(8, 2, 100);
  std::vector<uint8_t> mask(4, 0xFF); // one row of a mask 8 wide
  EXPECT_FALSE(BlendColorMaskedRect24(mask.data(), mask.size(), 8, 0, 0, 0, 8, 0, 0, 8, 2, image.bytes.data(),
                                      image.bytes.size(), 255, PixelLoops::kPlain));
  EXPECT_FALSE(BlendColorMaskedRect24(mask.data(), mask.size(), 8, 4, 0, 0, 8, 0, 0, 8, 1, image.bytes.data(),
                                      image.bytes.size(), 255, PixelLoops::kPlain));
  EXPECT_TRUE(BlendColorMaskedRect24(mask.data(), mask.size(), 8, 0, 0, 0, 8, 0, 0, 8, 1, image.bytes.data(),
                                     image.bytes.size(), 255, PixelLoops::kPlain));
}

// Row loops against the frozen reference, over widths around the vector
// runs (16 and 32 pixels) and coverage that is all, none, scattered (any
// byte but 0 covers), absent, and a band whose edges cut runs.
TEST(BlendRoutinesTest, RowLoopsGiveTheReferenceBytes) {
  std::mt19937 random(11);
  std::uniform_int_distribution<int> byte(0, 255);
  for (int width : {1, 5, 15, 16, 17, 31, 32, 33, 63, 64, 65, 100, 131}) {
    for (int level : {1, 2, 127, 128, 255, 256}) {
      for (int coverageKind = 0; coverageKind < 5; ++coverageKind) {
        std::vector<uint8_t> coverage(static_cast<size_t>(width));
        for (size_t i = 0; i < coverage.size(); ++i) {
          const bool inBand = i * 3 >= coverage.size() && i * 3 < coverage.size() * 2;
          coverage[i] = coverageKind == 0   ? 1
                        : coverageKind == 1 ? 0
                        : coverageKind == 4 ? (inBand ? 1 : 0)
                                            : static_cast<uint8_t>(byte(random) & 3);
        }
        const uint8_t *cover = coverageKind == 3 ? nullptr : coverage.data();
        std::vector<uint8_t> source(static_cast<size_t>(width) * 3), destination(source.size());
        for (size_t i = 0; i < source.size(); ++i) {
          source[i] = static_cast<uint8_t>(byte(random));
          destination[i] = static_cast<uint8_t>(byte(random));
        }
        const ColorRef colour = MakeColorRef(static_cast<uint8_t>(byte(random)), static_cast<uint8_t>(byte(random)),
                                             static_cast<uint8_t>(byte(random)));

        std::vector<uint8_t> expected = destination;
        reference::BlendRow24(expected.data(), source.data(), width, level, cover);
        std::vector<uint8_t> expectedColour = destination;
        reference::BlendColorRow24(expectedColour.data(), width, colour, level, cover);
        for (const LoopForm &form : kLoopForms) {
          const LoopFormScope scope(form);
          const PixelLoops loops = form.loops;
          std::vector<uint8_t> blended = destination;
          BlendRow24(blended.data(), source.data(), width, level, cover, loops);
          EXPECT_EQ(blended, expected) << form.name << " width " << width << " level " << level;
          std::vector<uint8_t> coloured = destination;
          BlendColorRow24(coloured.data(), width, colour, level, cover, loops);
          EXPECT_EQ(coloured, expectedColour) << form.name << " width " << width << " level " << level;
        }
      }
    }
  }
}

TEST(BlendRoutinesTest, ColourBlendsEndExactlyOnTheColourAndNeverWrap) {
  for (const LoopForm &form : kLoopForms) {
    const LoopFormScope scope(form);
    const PixelLoops loops = form.loops;
    uint8_t row[6] = {0, 128, 255, 255, 255, 255};
    BlendColorRow24(row, 2, MakeColorRef(7, 0, 255), 256, nullptr, loops);
    const uint8_t exact[6] = {255, 0, 7, 255, 0, 7};
    EXPECT_TRUE(std::equal(row, row + 6, exact)) << form.name;
    uint8_t bright[3] = {255, 255, 255};
    BlendColorRow24(bright, 1, MakeColorRef(255, 255, 255), 255, nullptr, loops);
    EXPECT_EQ(bright[0], 254) << form.name;
  }
}

// ---- Images ------------------------------------------------------------------

struct FullInfo {
  BitmapInfoHeader header;
  RgbQuad colors[256];
};

struct Image {
  FullInfo info{};
  DibImage image;

  Image(int32_t width, int32_t height, uint16_t depth, uint8_t fill) {
    info.header.biSize = kBitmapInfoHeaderSize;
    info.header.biWidth = width;
    info.header.biHeight = -height;
    info.header.biPlanes = 1;
    info.header.biBitCount = depth;
    EXPECT_TRUE(image.Create(&info.header));
    std::fill(image.GetPixels(), image.GetPixels() + image.GetImageSize(), fill);
  }
  uint8_t *At(int32_t x, int32_t y) { return image.GetRowAddress(y) + x * image.GetBitsPerPixel() / 8; }
};

struct Mask {
  DibImage image;
  Mask(int32_t width, int32_t height) {
    BitmapInfoHeader h{};
    h.biWidth = width;
    h.biHeight = -height;
    EXPECT_TRUE(image.CreateMask(&h));
  }
  void Set(int32_t x, int32_t y) { image.GetRowAddress(y)[x >> 3] |= static_cast<uint8_t>(0x80 >> (x & 7)); }
};

TEST(BlendRoutinesTest, ImageBlendsAtZeroHalfAndFullLevel) {
  struct Case {
    int32_t level;
    uint8_t expected;
  } cases[] = {{-5, 100}, {0, 100}, {128, (200 * 128 + 100 * 128) >> 8}, {256, 200}, {300, 200}};
  for (const LoopForm &form : kLoopForms) {
    const LoopFormScope scope(form);
    const PixelLoops loops = form.loops;
    for (const Case &c : cases) {
      Image source(20, 3, 24, 200), destination(20, 3, 24, 100);
      ASSERT_TRUE(BlendImage(source.image, VORRect(0, 0, 20, 3), nullptr, 0, destination.image, VORRect(0, 0, 20, 3),
                             c.level, nullptr, loops));
      EXPECT_EQ(destination.At(19, 2)[0], c.expected) << form.name << " level " << c.level;
      EXPECT_EQ(destination.At(0, 0)[2], c.expected) << form.name << " level " << c.level;
    }
  }
}

TEST(BlendRoutinesTest, ImageBlendsTakeOnlyPixelsCoveredByEveryMask) {
  for (const LoopForm &form : kLoopForms) {
    const LoopFormScope scope(form);
    const PixelLoops loops = form.loops;
    Image source(20, 2, 24, 200), destination(20, 2, 24, 100);
    Mask own(20, 2), extra(24, 4);
    own.Set(3, 0);
    own.Set(4, 0);
    own.Set(5, 1);
    // The extra mask is placed two pixels right and one down over the source.
    extra.Set(5, 1);
    extra.Set(7, 2);
    const MaskPlacement masks[] = {{&own.image, 0, 0}, {&extra.image, 2, 1}};
    ASSERT_TRUE(BlendImage(source.image, VORRect(0, 0, 20, 2), masks, 2, destination.image, VORRect(0, 0, 20, 2), 256,
                           nullptr, loops));
    for (int32_t y = 0; y < 2; ++y) {
      for (int32_t x = 0; x < 20; ++x) {
        const bool both = (x == 3 && y == 0) || (x == 5 && y == 1);
        EXPECT_EQ(destination.At(x, y)[0], both ? 200 : 100) << form.name << " " << x << "," << y;
      }
    }
  }
}

TEST(BlendRoutinesTest, PlacedMasksReachPastTheirEdgesAsUncovered) {
  std::mt19937 random(9);
  std::uniform_int_distribution<int> bit(0, 1);
  Mask mask(37, 3);
  std::vector<std::vector<int>> bits(3, std::vector<int>(37));
  for (int32_t y = 0; y < 3; ++y) {
    for (int32_t x = 0; x < 37; ++x) {
      bits[y][x] = bit(random);
      if (bits[y][x] != 0) {
        mask.Set(x, y);
      }
    }
  }
  for (int32_t dx : {-11, -3, 0, 5, 13}) {
    for (int32_t dy : {-1, 0, 1}) {
      Image source(40, 3, 24, 200), destination(40, 3, 24, 100);
      const MaskPlacement placed = {&mask.image, dx, dy};
      ASSERT_TRUE(BlendImage(source.image, VORRect(0, 0, 40, 3), &placed, 1, destination.image, VORRect(0, 0, 40, 3),
                             256, nullptr, PixelLoops::kVector));
      for (int32_t y = 0; y < 3; ++y) {
        for (int32_t x = 0; x < 40; ++x) {
          const int32_t mx = x + dx, my = y + dy;
          const bool covered = mx >= 0 && mx < 37 && my >= 0 && my < 3 && bits[my][mx] != 0;
          ASSERT_EQ(destination.At(x, y)[0], covered ? 200 : 100) << dx << "," << dy << " at " << x << "," << y;
        }
      }
    }
  }
}

TEST(BlendRoutinesTest, ScaledImageBlendsSampleTheSourceByIntegerDivision) {
  for (const LoopForm &form : kLoopForms) {
    const LoopFormScope scope(form);
    const PixelLoops loops = form.loops;
    Image source(2, 1, 24, 0), destination(5, 2, 24, 7);
    source.At(0, 0)[0] = 10;
    source.At(1, 0)[0] = 20;
    // Destination x takes source x * 2 / 5: 0, 0, 0, 1, 1.
    ASSERT_TRUE(BlendImage(source.image, VORRect(0, 0, 2, 1), nullptr, 0, destination.image, VORRect(0, 0, 5, 2), 256,
                           nullptr, loops));
    const int expected[] = {10, 10, 10, 20, 20};
    for (int32_t x = 0; x < 5; ++x) {
      EXPECT_EQ(destination.At(x, 0)[0], expected[x]) << form.name << " " << x;
      EXPECT_EQ(destination.At(x, 1)[0], expected[x]) << form.name << " " << x;
    }
  }
}

TEST(BlendRoutinesTest, ImageBlendsLeaveOutWhatLiesOutsideTheImages) {
  Image source(4, 4, 24, 200), destination(4, 4, 24, 100);
  ASSERT_TRUE(BlendImage(source.image, VORRect(2, 2, 6, 6), nullptr, 0, destination.image, VORRect(-2, -2, 2, 2), 256,
                         nullptr, PixelLoops::kVector));
  for (int32_t y = 0; y < 4; ++y) {
    for (int32_t x = 0; x < 4; ++x) {
      // Destination (0..1, 0..1) takes source (4..5, 4..5): outside the source.
      EXPECT_EQ(destination.At(x, y)[0], 100) << x << "," << y;
    }
  }
  ASSERT_TRUE(BlendImage(source.image, VORRect(-1, 0, 3, 1), nullptr, 0, destination.image, VORRect(0, 0, 8, 1), 256,
                         nullptr, PixelLoops::kVector));
  EXPECT_EQ(destination.At(0, 0)[0], 100); // source x -1
  EXPECT_EQ(destination.At(2, 0)[0], 200); // source x 0
  Image indexed(4, 4, 8, 0);
  EXPECT_FALSE(BlendImage(source.image, VORRect(0, 0, 1, 1), nullptr, 0, indexed.image, VORRect(0, 0, 1, 1), 256,
                          nullptr)); // depths differ
}

TEST(BlendRoutinesTest, EightBitBlendsGoThroughThePaletteOrTheDefault) {
  // Entries 0 black, 1 white, 2 middle grey; the source's index 250 is past
  // this palette and reads as the default palette's pure green.
  const RgbQuad colours[] = {RgbQuad{0, 0, 0, 0}, RgbQuad{255, 255, 255, 0}, RgbQuad{128, 128, 128, 0},
                             RgbQuad{0, 128, 0, 0}};
  Palette palette(colours, 4);
  Image source(3, 1, 8, 1), destination(3, 1, 8, 0);
  source.At(2, 0)[0] = 250;
  ASSERT_TRUE(
      BlendImage(source.image, VORRect(0, 0, 3, 1), nullptr, 0, destination.image, VORRect(0, 0, 3, 1), 128, &palette));
  EXPECT_EQ(destination.At(0, 0)[0], 2); // white and black at half: 127 -> grey
  EXPECT_EQ(destination.At(2, 0)[0], 3); // green and black at half: 0, 127, 0 -> dark green

  // Without an application palette the default palette's colours are used.
  Image white(1, 1, 8, 255), black(1, 1, 8, 0);
  ASSERT_TRUE(BlendImage(white.image, VORRect(0, 0, 1, 1), nullptr, 0, black.image, VORRect(0, 0, 1, 1), 256, nullptr));
  EXPECT_EQ(black.At(0, 0)[0], 255);
}

TEST(BlendRoutinesTest, LargeEightBitBlendsGiveWhatEachPairMixesTo) {
  // Large enough that each pair's answer is remembered: every pair of a few
  // indexes meets many times, and each pixel must still show its own mix.
  Palette &palette = Palette::Default();
  const EightBitColours colours(palette);
  constexpr int32_t kWidth = 256, kHeight = 160;
  for (int32_t level : {1, 128, 255}) {
    Image source(kWidth, kHeight, 8, 0), destination(kWidth, kHeight, 8, 0), expected(kWidth, kHeight, 8, 0);
    for (int32_t y = 0; y < kHeight; ++y) {
      for (int32_t x = 0; x < kWidth; ++x) {
        source.At(x, y)[0] = static_cast<uint8_t>((x * 7 + y) % 23 * 11);
        destination.At(x, y)[0] = static_cast<uint8_t>((y * 5 + x / 3) % 19 * 13);
        expected.At(x, y)[0] = colours.Mix(source.At(x, y)[0], destination.At(x, y)[0], level);
      }
    }
    const VORRect frame(0, 0, kWidth, kHeight);
    ASSERT_TRUE(BlendImage(source.image, frame, nullptr, 0, destination.image, frame, level, nullptr));
    for (int32_t y = 0; y < kHeight; ++y) {
      for (int32_t x = 0; x < kWidth; ++x) {
        ASSERT_EQ(destination.At(x, y)[0], expected.At(x, y)[0]) << level << " at " << x << "," << y;
      }
    }
  }
}

TEST(BlendRoutinesTest, ColourFillsFollowTheirRuleAtEachDepth) {
  Image deep(2, 1, 24, 100);
  ASSERT_TRUE(BlendColorImage(deep.image, VORRect(0, 0, 1, 1), MakeColorRef(0, 0, 200), 128, nullptr, 0, nullptr));
  EXPECT_EQ(deep.At(0, 0)[0], 200 * 128 / 256 + ((127 * 100) >> 8)); // blue
  EXPECT_EQ(deep.At(0, 0)[2], (127 * 100) >> 8);                     // red
  EXPECT_EQ(deep.At(1, 0)[0], 100);                                  // outside the rectangle
  ASSERT_TRUE(BlendColorImage(deep.image, VORRect(0, 0, 2, 1), MakeColorRef(0, 0, 200), 0, nullptr, 0, nullptr));
  EXPECT_EQ(deep.At(1, 0)[0], 100);
  ASSERT_TRUE(BlendColorImage(deep.image, VORRect(0, 0, 2, 1), MakeColorRef(0, 0, 0), 400, nullptr, 0, nullptr));
  EXPECT_EQ(deep.At(1, 0)[0], 0); // clamped to 256: exactly the colour, no wrap

  const RgbQuad colours[] = {RgbQuad{0, 0, 0, 0}, RgbQuad{255, 255, 255, 0}, RgbQuad{128, 128, 128, 0}};
  Palette palette(colours, 3);
  Image indexed(2, 1, 8, 1);
  ASSERT_TRUE(BlendColorImage(indexed.image, VORRect(0, 0, 2, 1), MakeColorRef(0, 0, 0), 128, nullptr, 0, &palette));
  EXPECT_EQ(indexed.At(0, 0)[0], 2);
  // A palette-index colour stands for that entry's colour.
  Image fromIndex(1, 1, 24, 0);
  ASSERT_TRUE(BlendColorImage(fromIndex.image, VORRect(0, 0, 1, 1), kPaletteIndexFlag | 1, 256, nullptr, 0, &palette));
  EXPECT_EQ(fromIndex.At(0, 0)[1], 255);

  Mask mask(2, 1);
  mask.Set(1, 0);
  const MaskPlacement placed = {&mask.image, 1, 0}; // image pixel 0 reads mask pixel 1
  Image masked(2, 1, 24, 100);
  ASSERT_TRUE(BlendColorImage(masked.image, VORRect(0, 0, 2, 1), 0, 256, &placed, 1, nullptr));
  EXPECT_EQ(masked.At(0, 0)[0], 0);
  EXPECT_EQ(masked.At(1, 0)[0], 100);
}

} // namespace
