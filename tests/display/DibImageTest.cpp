#include "display/DibImage.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <vector>

namespace {

BitmapInfoHeader Header(int32_t width, int32_t height, uint16_t depth, uint32_t colorsUsed = 0,
                        uint32_t compression = kCompressionRgb) {
  BitmapInfoHeader h{};
  h.biSize = kBitmapInfoHeaderSize;
  h.biWidth = width;
  h.biHeight = height;
  h.biPlanes = 1;
  h.biBitCount = depth;
  h.biCompression = compression;
  h.biClrUsed = colorsUsed;
  return h;
}

// A header followed by a full colour table, as callers of Create pass it.
struct FullInfo {
  BitmapInfoHeader header;
  RgbQuad colors[256];
};

FullInfo Info(int32_t width, int32_t height, uint16_t depth, uint32_t colorsUsed = 0) {
  FullInfo info{};
  info.header = Header(width, height, depth, colorsUsed);
  return info;
}

TEST(DibImageTest, StrideIsRowBitsRoundedUpToFourBytes) {
  struct Case {
    int32_t width;
    uint16_t depth;
    uint32_t stride;
  } cases[] = {{3, 24, 12}, {3, 1, 4},  {32, 1, 4}, {33, 1, 8}, {5, 4, 4},  {9, 4, 8},
               {7, 2, 4},   {17, 2, 8}, {3, 8, 4},  {5, 8, 8},  {3, 16, 8}, {1, 32, 4}};
  for (const Case &c : cases) {
    DibLayout layout;
    ASSERT_TRUE(DibImage::ComputeLayout(Header(c.width, 2, c.depth), layout)) << c.width << "x" << c.depth;
    EXPECT_EQ(layout.stride, c.stride) << c.width << " pixels at " << c.depth << " bits";
    EXPECT_EQ(layout.imageSize, 2 * c.stride);
  }
}

TEST(DibImageTest, HeadersThatCannotDescribeAnImageAreRefused) {
  struct Case {
    const char *name;
    BitmapInfoHeader header;
  } cases[] = {
      {"zero width", Header(0, 1, 24)},
      {"negative width", Header(-4, 1, 24)},
      {"zero height", Header(4, 0, 24)},
      {"most negative height", Header(4, INT32_MIN, 24)},
      {"unknown depth", Header(4, 4, 12)},
      {"row size past 32 bits", Header(0x40000000, 1, 32)},
      {"image size past 32 bits", Header(0x10000, 0x10000, 24)},
      {"image size past 32 bits, top-down", Header(0x10000, -0x10000, 24)},
      {"run-length compressed", Header(4, 4, 8, 0, 1)},
      {"bit fields at 24 bits", Header(4, 4, 24, 0, kCompressionBitFields)},
  };
  for (const Case &c : cases) {
    DibLayout layout;
    EXPECT_FALSE(DibImage::ComputeLayout(c.header, layout)) << c.name;
    FullInfo info{};
    info.header = c.header;
    DibImage image;
    EXPECT_FALSE(image.Create(&info.header)) << c.name;
    EXPECT_FALSE(image.IsValid()) << c.name;
  }
  BitmapInfoHeader shortHeader = Header(4, 4, 24);
  shortHeader.biSize = 12;
  DibLayout layout;
  EXPECT_FALSE(DibImage::ComputeLayout(shortHeader, layout));
}

TEST(DibImageTest, CreateAndAttachAgreeOnTheColourTable) {
  struct Case {
    const char *name;
    BitmapInfoHeader header;
    uint32_t entries;
    uint32_t tableBytes;
  } cases[] = {
      {"8 bits, all entries", Header(4, 2, 8), 256, 1024},
      {"8 bits, 16 used", Header(4, 2, 8, 16), 16, 64},
      {"8 bits, more used than the depth has", Header(4, 2, 8, 300), 256, 1024},
      {"4 bits, 20 used", Header(4, 2, 4, 20), 16, 64},
      {"1 bit", Header(4, 2, 1), 2, 8},
      {"24 bits", Header(4, 2, 24), 0, 0},
      {"24 bits with an optimising table", Header(4, 2, 24, 3), 3, 12},
      {"16-bit bit fields", Header(4, 2, 16, 0, kCompressionBitFields), 0, 12},
      {"32-bit bit fields", Header(4, 2, 32, 0, kCompressionBitFields), 0, 12},
  };
  for (const Case &c : cases) {
    FullInfo info{};
    info.header = c.header;
    DibImage created;
    ASSERT_TRUE(created.Create(&info.header)) << c.name;
    EXPECT_EQ(created.GetColorTableEntries(), c.entries) << c.name;
    const auto createdOffset = created.GetPixels() - reinterpret_cast<uint8_t *>(created.GetInfo());
    EXPECT_EQ(createdOffset, static_cast<ptrdiff_t>(40 + c.tableBytes)) << c.name;

    // The same image as a packed block of exactly its size.
    std::vector<uint32_t> storage((created.GetPackedSize() + 3) / 4);
    std::memcpy(storage.data(), created.GetInfo(), created.GetPackedSize());
    DibImage attached;
    ASSERT_TRUE(attached.Attach(storage.data(), created.GetPackedSize())) << c.name;
    EXPECT_EQ(attached.GetPixels() - reinterpret_cast<uint8_t *>(attached.GetInfo()), createdOffset) << c.name;
    EXPECT_FALSE(attached.IsOwned());
    DibImage tooSmall;
    EXPECT_FALSE(tooSmall.Attach(storage.data(), created.GetPackedSize() - 1)) << c.name;
  }
}

TEST(DibImageTest, CreateCopiesTheHeaderAndColourTableAndZeroesThePixels) {
  FullInfo info = Info(3, 2, 8, 2);
  info.colors[1] = RgbQuad{1, 2, 3, 0};
  DibImage image;
  ASSERT_TRUE(image.Create(&info.header));
  EXPECT_TRUE(image.IsOwned());
  EXPECT_EQ(image.GetColorTable()[1].green, 2);
  for (uint32_t i = 0; i < image.GetImageSize(); ++i) {
    ASSERT_EQ(image.GetPixels()[i], 0);
  }
}

TEST(DibImageTest, PixelAddressesCountRowsFromTheTop) {
  FullInfo bottomUp = Info(16, 4, 1);
  DibImage image;
  ASSERT_TRUE(image.Create(&bottomUp.header));
  int32_t shift = -1;
  // The top-left pixel of a bottom-up image is in the last stored row.
  EXPECT_EQ(image.GetPixelAddress(0, 0, shift), image.GetPixels() + 3 * image.GetStride());
  EXPECT_EQ(shift, 7);
  EXPECT_EQ(image.GetPixelAddress(9, 0, shift), image.GetPixels() + 3 * image.GetStride() + 1);
  EXPECT_EQ(shift, 6);

  FullInfo topDown = Info(16, -4, 4);
  ASSERT_TRUE(image.Create(&topDown.header));
  EXPECT_EQ(image.GetPixelAddress(3, 1, shift), image.GetPixels() + image.GetStride() + 1);
  EXPECT_EQ(shift, 0);
  EXPECT_EQ(image.GetPixelAddress(2, 1, shift), image.GetPixels() + image.GetStride() + 1);
  EXPECT_EQ(shift, 1);

  FullInfo twoBits = Info(16, -1, 2);
  ASSERT_TRUE(image.Create(&twoBits.header));
  EXPECT_EQ(image.GetPixelAddress(6, 0, shift), image.GetPixels() + 1);
  EXPECT_EQ(shift, 1);

  FullInfo deep = Info(5, -3, 24);
  ASSERT_TRUE(image.Create(&deep.header));
  EXPECT_EQ(image.GetPixelAddress(4, 2, shift), image.GetPixels() + 2 * 16 + 12);
  EXPECT_EQ(shift, 0);
}

TEST(DibImageTest, PixelAddressesOutsideTheImageAreNull) {
  FullInfo info = Info(5, 3, 24);
  DibImage image;
  ASSERT_TRUE(image.Create(&info.header));
  const int32_t outside[][2] = {{-1, 0}, {0, -1}, {5, 0}, {0, 3}, {INT32_MIN, 0}, {0, INT32_MIN}, {INT32_MAX, 1}};
  for (const auto &p : outside) {
    int32_t shift = 0;
    EXPECT_EQ(image.GetPixelAddress(p[0], p[1], shift), nullptr) << p[0] << "," << p[1];
  }
  EXPECT_EQ(image.GetRowAddress(-1), nullptr);
  EXPECT_EQ(image.GetRowAddress(3), nullptr);
}

TEST(DibImageTest, FlipToBottomUpReversesTheRows) {
  FullInfo info = Info(1, -3, 8);
  DibImage image;
  ASSERT_TRUE(image.Create(&info.header));
  for (int32_t y = 0; y < 3; ++y) {
    image.GetRowAddress(y)[0] = static_cast<uint8_t>(10 + y);
  }
  image.FlipToBottomUp();
  EXPECT_FALSE(image.IsTopDown());
  EXPECT_EQ(image.GetInfo()->biHeight, 3);
  for (int32_t y = 0; y < 3; ++y) {
    EXPECT_EQ(image.GetRowAddress(y)[0], 10 + y); // the picture is unchanged
  }
  EXPECT_EQ(image.GetPixels()[0], 12); // the first stored row is the bottom one
}

TEST(DibImageTest, ThePackedFormIsBottomUpWithTheBottomRowFirst) {
  FullInfo info = Info(2, -3, 8, 2);
  info.colors[1] = RgbQuad{9, 9, 9, 0};
  DibImage image;
  ASSERT_TRUE(image.Create(&info.header));
  for (int32_t y = 0; y < 3; ++y) {
    image.GetRowAddress(y)[0] = static_cast<uint8_t>(y);
  }
  std::vector<uint32_t> packed((image.GetPackedSize() + 3) / 4);
  auto *bytes = reinterpret_cast<uint8_t *>(packed.data());
  image.WritePackedDib(bytes);
  DibImage copy;
  ASSERT_TRUE(copy.Attach(bytes, image.GetPackedSize()));
  EXPECT_EQ(copy.GetInfo()->biHeight, 3);
  EXPECT_EQ(copy.GetColorTable()[1].red, 9);
  EXPECT_EQ(copy.GetPixels()[0], 2);
  for (int32_t y = 0; y < 3; ++y) {
    EXPECT_EQ(copy.GetRowAddress(y)[0], y);
  }
}

TEST(DibImageTest, CopyBitsNeedsTheSameSize) {
  FullInfo a = Info(4, 2, 24), b = Info(4, -2, 24), c = Info(5, 2, 24);
  DibImage first, second, third;
  ASSERT_TRUE(first.Create(&a.header) && second.Create(&b.header) && third.Create(&c.header));
  second.GetPixels()[5] = 77;
  EXPECT_TRUE(first.CopyBits(second));
  EXPECT_EQ(first.GetPixels()[5], 77);
  EXPECT_FALSE(third.CopyBits(first));
}

TEST(DibImageTest, MasksAreOneBitBlackAndWhiteInTheImagesOrientation) {
  const BitmapInfoHeader source = Header(9, -3, 24);
  DibImage mask;
  ASSERT_TRUE(mask.CreateMask(&source));
  EXPECT_EQ(mask.GetBitsPerPixel(), 1);
  EXPECT_TRUE(mask.IsTopDown());
  EXPECT_EQ(mask.GetWidth(), 9);
  EXPECT_EQ(mask.GetStride(), 4u);
  EXPECT_EQ(mask.GetInfo()->biSizeImage, 0u);
  EXPECT_EQ(mask.GetColorTable()[0].red, 0);
  EXPECT_EQ(mask.GetColorTable()[1].red, 255);

  std::vector<uint32_t> bits(3, 0);
  bits[1] = 0x80; // row 1, pixel 0
  DibImage borrowed;
  ASSERT_TRUE(borrowed.InitMask(&source, bits.data()));
  EXPECT_TRUE(borrowed.IsMaskBitSet(0, 1));
  EXPECT_FALSE(borrowed.IsMaskBitSet(1, 1));
  EXPECT_FALSE(borrowed.IsMaskBitSet(0, 0));
  EXPECT_FALSE(borrowed.IsMaskBitSet(-1, 1));
}

// The key mask of a one-row image: 1 = covered, 0 = matches the key.
std::vector<int> KeyMaskRow(const DibImage &source, ColorRef key) {
  DibImage mask;
  EXPECT_TRUE(mask.MakeKeyMask(source, key));
  std::vector<int> bits;
  for (int32_t x = 0; x < source.GetWidth(); ++x) {
    bits.push_back(mask.IsMaskBitSet(x, 0) ? 1 : 0);
  }
  return bits;
}

TEST(DibImageTest, KeyMasksClearThePixelsOfTheKeyColour) {
  // 16 bits, 5-5-5: 0x7C1F is red 31, green 0, blue 31 = 248, 0, 248.
  FullInfo sixteen = Info(3, 1, 16);
  DibImage image;
  ASSERT_TRUE(image.Create(&sixteen.header));
  const uint16_t pixels16[] = {0x7C1F, 0x7C00, 0x7C1F};
  std::memcpy(image.GetRowAddress(0), pixels16, sizeof pixels16);
  EXPECT_EQ(KeyMaskRow(image, MakeColorRef(248, 0, 248)), (std::vector<int>{0, 1, 0}));

  FullInfo deep = Info(2, 1, 24);
  ASSERT_TRUE(image.Create(&deep.header));
  const uint8_t pixels24[] = {0xFF, 0x00, 0xFF, 0x01, 0x00, 0xFF}; // blue, green, red
  std::memcpy(image.GetRowAddress(0), pixels24, sizeof pixels24);
  EXPECT_EQ(KeyMaskRow(image, MakeColorRef(255, 0, 255)), (std::vector<int>{0, 1}));

  FullInfo indexed = Info(4, 1, 8, 3);
  indexed.colors[0] = RgbQuad{255, 0, 255, 0};
  indexed.colors[2] = RgbQuad{255, 0, 255, 0};
  ASSERT_TRUE(image.Create(&indexed.header));
  const uint8_t pixels8[] = {0, 1, 2, 200};
  std::memcpy(image.GetRowAddress(0), pixels8, sizeof pixels8);
  // By colour: entries 0 and 2 match; 200 lies past the three-entry table.
  EXPECT_EQ(KeyMaskRow(image, MakeColorRef(255, 0, 255)), (std::vector<int>{0, 1, 0, 1}));
  // By index: only the pixels holding that index.
  EXPECT_EQ(KeyMaskRow(image, kPaletteIndexFlag | 200), (std::vector<int>{1, 1, 1, 0}));

  FullInfo fourBits = Info(3, 1, 4, 2);
  fourBits.colors[1] = RgbQuad{0, 0, 0, 0};
  ASSERT_TRUE(image.Create(&fourBits.header));
  image.GetRowAddress(0)[0] = 0x1F; // pixel values 1 and 15 (15 has no entry)
  image.GetRowAddress(0)[1] = 0x10; // pixel value 1
  EXPECT_EQ(KeyMaskRow(image, MakeColorRef(0, 0, 0)), (std::vector<int>{0, 1, 0}));
}

} // namespace
