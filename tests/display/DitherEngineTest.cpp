#include "display/DitherEngine.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "display/DibImage.h"
#include "display/Palette.h"
#include "display/ReferencePixelLoops.h"

namespace {

struct FullInfo {
  BitmapInfoHeader header;
  RgbQuad colors[256];
};

FullInfo Info(int32_t width, int32_t height, uint16_t depth, uint32_t colorsUsed = 0) {
  FullInfo info{};
  info.header.biSize = kBitmapInfoHeaderSize;
  info.header.biWidth = width;
  info.header.biHeight = height;
  info.header.biPlanes = 1;
  info.header.biBitCount = depth;
  info.header.biClrUsed = colorsUsed;
  return info;
}

// A 24-bit image of grey pixels, one row per list, top row first.
struct GreyImage {
  FullInfo info;
  DibImage image;

  GreyImage(const std::vector<std::vector<uint8_t>> &rows, bool topDown = true) {
    const auto width = static_cast<int32_t>(rows[0].size());
    const auto height = static_cast<int32_t>(rows.size());
    info = Info(width, topDown ? -height : height, 24);
    EXPECT_TRUE(image.Create(&info.header));
    for (int32_t y = 0; y < height; ++y) {
      for (int32_t x = 0; x < width; ++x) {
        uint8_t *p = image.GetRowAddress(y) + 3 * x;
        p[0] = p[1] = p[2] = rows[y][x];
      }
    }
  }
};

struct IndexImage {
  FullInfo info;
  DibImage image;

  IndexImage(int32_t width, int32_t height, bool topDown = true) {
    info = Info(width, topDown ? -height : height, 8);
    EXPECT_TRUE(image.Create(&info.header));
  }
  int At(int32_t x, int32_t y) const { return image.GetRowAddress(y)[x]; }
};

// Black and white only: a corrected value of 128 or more (slot 128 and up)
// picks white.
Palette &BlackAndWhite() {
  static const RgbQuad colours[] = {RgbQuad{0, 0, 0, 0}, RgbQuad{255, 255, 255, 0}};
  static Palette palette(colours, 2);
  return palette;
}

std::vector<int> DitherGreyRow(const std::vector<uint8_t> &row, PixelLoops loops) {
  GreyImage source({row});
  IndexImage destination(static_cast<int32_t>(row.size()), 1);
  DitherEngine engine(&BlackAndWhite(), 0);
  EXPECT_TRUE(engine.Convert(source.image.GetInfo(), destination.image.GetInfo(), source.image.GetPixels(),
                             destination.image.GetPixels(), nullptr, nullptr, loops));
  std::vector<int> indices;
  for (size_t x = 0; x < row.size(); ++x) {
    indices.push_back(destination.At(static_cast<int32_t>(x), 0));
  }
  return indices;
}

TEST(DitherEngineTest, HalfOfTheHalvedDifferenceCarriesToTheRight) {
  struct Case {
    const char *name;
    std::vector<uint8_t> row;
    std::vector<int> indices;
  } cases[] = {
      // 255 is white exactly: nothing carries, 140 alone is white.
      {"an exact colour carries nothing", {255, 140}, {1, 1}},
      // 200 becomes white; (200 >> 1) - (255 >> 1) = -27 carries: 140 - 27 = 113 is black.
      {"the error reaches the next pixel", {200, 140}, {1, 0}},
      // 170 - 27 = 143 stays white; a whole difference (-55) would make it black.
      {"only half of the difference carries", {200, 170}, {1, 1}},
      // 155 - 27 = 128 is white; (200 - 255) >> 1 = -28 would give 127, black.
      {"both values are halved before subtracting", {200, 155}, {1, 1}},
      // The corrected value carries on: 113 is black, (113 >> 1) - 0 = 56, 100 + 56 = 156 is white.
      {"the corrected value carries further", {200, 140, 100}, {1, 0, 1}},
  };
  for (const Case &c : cases) {
    for (PixelLoops loops : {PixelLoops::kPlain, PixelLoops::kVector}) {
      EXPECT_EQ(DitherGreyRow(c.row, loops), c.indices) << c.name << (loops == PixelLoops::kVector ? " (vector)" : "");
    }
  }
}

TEST(DitherEngineTest, EachRowStartsWithoutError) {
  // Row 0 ends with 56 of error to carry; row 1's 100 alone is black (and
  // its own 50 of error leaves 60 black too).
  GreyImage source({{200, 140}, {100, 60}});
  IndexImage destination(2, 2);
  DitherEngine engine(&BlackAndWhite(), 0);
  ASSERT_TRUE(engine.Convert(source.image.GetInfo(), destination.image.GetInfo(), source.image.GetPixels(),
                             destination.image.GetPixels(), nullptr, nullptr));
  EXPECT_EQ(destination.At(0, 1), 0);
  EXPECT_EQ(destination.At(1, 1), 0);
}

TEST(DitherEngineTest, ChannelsClampAtBothEnds) {
  // Black and a middle red.
  const RgbQuad colours[] = {RgbQuad{0, 0, 0, 0}, RgbQuad{0, 0, 128, 0}};
  Palette palette(colours, 2);
  DitherEngine engine(&palette, 0);
  FullInfo sourceInfo = Info(2, -2, 24);
  DibImage source;
  ASSERT_TRUE(source.Create(&sourceInfo.header));
  // Row 0: red 100 picks 128 and carries (50 - 64) = -14: 5 - 14 clamps to 0, black.
  source.GetRowAddress(0)[2] = 100;
  source.GetRowAddress(0)[5] = 5;
  // Row 1: red 250 picks 128 and carries 125 - 64 = 61: 250 + 61 clamps to
  // 255, which picks 128 again (wrapped to 55 it would pick black).
  source.GetRowAddress(1)[2] = 250;
  source.GetRowAddress(1)[5] = 250;
  for (PixelLoops loops : {PixelLoops::kPlain, PixelLoops::kVector}) {
    IndexImage destination(2, 2);
    ASSERT_TRUE(engine.Convert(source.GetInfo(), destination.image.GetInfo(), source.GetPixels(),
                               destination.image.GetPixels(), nullptr, nullptr, loops));
    EXPECT_EQ(destination.At(0, 0), 1);
    EXPECT_EQ(destination.At(1, 0), 0);
    EXPECT_EQ(destination.At(0, 1), 1);
    EXPECT_EQ(destination.At(1, 1), 1);
  }
}

TEST(DitherEngineTest, PlainAndVectorFormsGiveTheReferenceBytes) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int> byte(0, 255);
  Palette &defaults = Palette::Default();
  std::vector<RgbQuad> smallColours(5);
  for (RgbQuad &c : smallColours) {
    c = RgbQuad{static_cast<uint8_t>(byte(random)), static_cast<uint8_t>(byte(random)),
                static_cast<uint8_t>(byte(random)), 0};
  }
  Palette small(smallColours.data(), 5);
  for (Palette *palette : {&defaults, &small}) {
    DitherEngine engine(palette, 0);
    std::vector<RgbQuad> colours(palette->GetEntries(), palette->GetEntries() + palette->GetCount());
    for (int width : {1, 2, 3, 4, 5, 15, 16, 17, 64, 333}) {
      // Exactly one row of bytes, so that reading past it would be caught.
      std::vector<uint8_t> row(static_cast<size_t>(width) * 3);
      for (uint8_t &b : row) {
        b = static_cast<uint8_t>(byte(random) < 40 ? (byte(random) < 128 ? 0 : 255) : byte(random));
      }
      std::vector<uint8_t> expected(static_cast<size_t>(width)), plain(expected.size()), vector(expected.size());
      reference::DitherRow(row.data(), expected.data(), width, palette->GetInverseTable(), colours.data());
      DitherEngine::DitherRow(row.data(), plain.data(), width, palette->GetInverseTable(), colours.data(),
                              static_cast<int32_t>(colours.size()), PixelLoops::kPlain);
      DitherEngine::DitherRow(row.data(), vector.data(), width, palette->GetInverseTable(), colours.data(),
                              static_cast<int32_t>(colours.size()), PixelLoops::kVector);
      EXPECT_EQ(plain, expected) << width;
      EXPECT_EQ(vector, expected) << width;
    }
  }
}

TEST(DitherEngineTest, WholeImagesGiveTheReferenceBytesRowByRow) {
  std::mt19937 random(3);
  std::uniform_int_distribution<int> byte(0, 255);
  Palette &palette = Palette::Default();
  DitherEngine engine(&palette, 0);
  for (int32_t height : {1, 2, 3, 4, 5, 7, 9, 15, 16, 17, 35}) {
    for (int32_t width : {1, 6, 33}) {
      FullInfo sourceInfo = Info(width, -height, 24);
      DibImage source;
      ASSERT_TRUE(source.Create(&sourceInfo.header));
      for (uint32_t i = 0; i < source.GetImageSize(); ++i) {
        source.GetPixels()[i] = static_cast<uint8_t>(byte(random));
      }
      std::vector<uint8_t> expected(static_cast<size_t>(width));
      for (PixelLoops loops : {PixelLoops::kPlain, PixelLoops::kVector}) {
        IndexImage destination(width, height);
        ASSERT_TRUE(engine.Convert(source.GetInfo(), destination.image.GetInfo(), source.GetPixels(),
                                   destination.image.GetPixels(), nullptr, nullptr, loops));
        for (int32_t y = 0; y < height; ++y) {
          reference::DitherRow(source.GetRowAddress(y), expected.data(), width, palette.GetInverseTable(),
                               palette.GetEntries());
          const uint8_t *row = destination.image.GetRowAddress(y);
          EXPECT_EQ(std::vector<uint8_t>(row, row + width), expected)
              << (loops == PixelLoops::kVector ? "vector" : "plain") << " " << width << "x" << height << " row " << y;
        }
      }
    }
  }
}

TEST(DitherEngineTest, RowsMapByPositionWhateverTheOrientation) {
  // A bottom-up source into a top-down destination: the picture stays upright.
  GreyImage source({{0, 0}, {255, 255}, {0, 255}}, false);
  IndexImage destination(2, 3, true);
  DitherEngine engine(&BlackAndWhite(), 0);
  ASSERT_TRUE(engine.Convert(source.image.GetInfo(), destination.image.GetInfo(), source.image.GetPixels(),
                             destination.image.GetPixels(), nullptr, nullptr));
  const int expected[3][2] = {{0, 0}, {1, 1}, {0, 1}};
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 2; ++x) {
      EXPECT_EQ(destination.At(x, y), expected[y][x]) << x << "," << y;
    }
  }
}

TEST(DitherEngineTest, RectanglesMoveThePixelsAndStayInsideTheImages) {
  GreyImage source({{255, 0, 255}, {0, 255, 0}});
  struct Case {
    const char *name;
    VORRect from, to;
    std::vector<int> row0, row1; // destination 4 x 2, untouched pixels 9
  } cases[] = {
      {"inside", VORRect(1, 0, 3, 2), VORRect(2, 0, 4, 2), {9, 9, 0, 1}, {9, 9, 1, 0}},
      {"source runs past its image", VORRect(2, 0, 5, 1), VORRect(0, 1, 3, 2), {9, 9, 9, 9}, {1, 9, 9, 9}},
      {"destination runs past its image", VORRect(0, 0, 3, 2), VORRect(2, -1, 5, 1), {9, 9, 0, 1}, {9, 9, 9, 9}},
      {"wholly outside", VORRect(-10, -10, -8, -8), VORRect(0, 0, 2, 2), {9, 9, 9, 9}, {9, 9, 9, 9}},
      {"extreme coordinates",
       VORRect(INT32_MIN, 0, INT32_MIN + 2, 1),
       VORRect(INT32_MAX - 2, 0, INT32_MAX, 1),
       {9, 9, 9, 9},
       {9, 9, 9, 9}},
  };
  DitherEngine engine(&BlackAndWhite(), 0);
  for (const Case &c : cases) {
    IndexImage destination(4, 2);
    std::fill(destination.image.GetPixels(), destination.image.GetPixels() + destination.image.GetImageSize(), 9);
    EXPECT_TRUE(engine.Convert(source.image.GetInfo(), destination.image.GetInfo(), source.image.GetPixels(),
                               destination.image.GetPixels(), &c.from, &c.to))
        << c.name;
    for (int x = 0; x < 4; ++x) {
      EXPECT_EQ(destination.At(x, 0), c.row0[x]) << c.name << " row 0, x " << x;
      EXPECT_EQ(destination.At(x, 1), c.row1[x]) << c.name << " row 1, x " << x;
    }
  }
}

TEST(DitherEngineTest, SizesAndFormatsMustFit) {
  DitherEngine engine(&BlackAndWhite(), 0);
  FullInfo a = Info(4, 2, 24), b = Info(4, -2, 8), c = Info(5, 2, 8);
  const VORRect r1(0, 0, 2, 2), r2(1, 1, 3, 3), r3(0, 0, 3, 2);
  EXPECT_FALSE(engine.CheckSizes(nullptr, &b.header, nullptr, nullptr));
  EXPECT_TRUE(engine.CheckSizes(&a.header, &b.header, nullptr, nullptr));
  EXPECT_FALSE(engine.CheckSizes(&a.header, &c.header, nullptr, nullptr));
  EXPECT_TRUE(engine.CheckSizes(&a.header, &c.header, &r1, &r2));
  EXPECT_FALSE(engine.CheckSizes(&a.header, &b.header, &r1, &r3));

  GreyImage source({{1, 2, 3, 4}, {5, 6, 7, 8}});
  IndexImage wider(5, 2);
  EXPECT_FALSE(engine.Convert(source.image.GetInfo(), wider.image.GetInfo(), source.image.GetPixels(),
                              wider.image.GetPixels(), nullptr, nullptr));
  IndexImage indexSource(4, 2), indexDestination(4, 2);
  EXPECT_FALSE(engine.Convert(indexSource.image.GetInfo(), indexDestination.image.GetInfo(),
                              indexSource.image.GetPixels(), indexDestination.image.GetPixels(), nullptr, nullptr));
  Palette empty(nullptr, 0);
  DitherEngine noColours(&empty, 0);
  IndexImage destination(4, 2);
  EXPECT_FALSE(noColours.Convert(source.image.GetInfo(), destination.image.GetInfo(), source.image.GetPixels(),
                                 destination.image.GetPixels(), nullptr, nullptr));
}

TEST(DitherEngineTest, TheColourTableIsWrittenOnlyAsFarAsTheDestinationHoldsIt) {
  DitherEngine engine(&Palette::Default(), 0);
  EXPECT_EQ(engine.GetCount(), 256);
  // A destination whose block holds just 16 entries after its header.
  std::vector<uint32_t> block(10 + 16 + 4);
  auto *header = reinterpret_cast<BitmapInfoHeader *>(block.data());
  *header = Info(4, 1, 8, 16).header;
  auto *table = reinterpret_cast<RgbQuad *>(header + 1);
  table[1].reserved = 42;
  engine.CopyColorTable(header);
  EXPECT_EQ(table[1].red, 128);
  EXPECT_EQ(table[1].reserved, 42); // the fourth byte is left alone
  EXPECT_EQ(table[15].red, Palette::Default().GetEntries()[15].red);
  EXPECT_EQ(block[10 + 16], 0u); // the pixels after the table are untouched
}

} // namespace
