#include "display/MaskedCopy.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "display/DibImage.h"

namespace {

BitmapInfoHeader Header(int32_t width, int32_t height, uint16_t depth) {
  BitmapInfoHeader header{};
  header.biSize = kBitmapInfoHeaderSize;
  header.biWidth = width;
  header.biHeight = height;
  header.biPlanes = 1;
  header.biBitCount = depth;
  header.biCompression = kCompressionRgb;
  return header;
}

void FillRandom(DibImage &image, std::mt19937 &random) {
  for (uint32_t i = 0; i < image.GetImageSize(); ++i)
    image.GetPixels()[i] = static_cast<uint8_t>(random());
}

// What GDI's steps leave: destination ^ ((source ^ destination) & white-or-black).
void ReferenceCopy(const DibImage &source, const DibImage &mask, const VORRect &from, DibImage &destination,
                   const VORRect &to) {
  for (int32_t y = 0; y < from.Height(); ++y) {
    for (int32_t x = 0; x < from.Width(); ++x) {
      const uint8_t keep = mask.IsMaskBitSet(from.left + x, from.top + y) ? 0xFF : 0x00;
      const uint8_t *s = source.GetRowAddress(from.top + y) + (from.left + x) * 3;
      uint8_t *d = destination.GetRowAddress(to.top + y) + (to.left + x) * 3;
      for (int i = 0; i < 3; ++i)
        d[i] = static_cast<uint8_t>(d[i] ^ ((s[i] ^ d[i]) & keep));
    }
  }
}

TEST(MaskedCopyTest, CoveredPixelsCopiedOthersKept) {
  struct Case {
    int32_t height; // negative: top-down
    VORRect from, to;
  };
  const Case cases[] = {
      {-21, VORRect(0, 0, 45, 21), VORRect(0, 0, 45, 21)},  // whole images
      {-21, VORRect(3, 2, 41, 19), VORRect(7, 0, 45, 17)},  // unaligned mask bits, moved
      {21, VORRect(8, 4, 40, 20), VORRect(1, 1, 33, 17)},   // bottom-up rows, whole mask bytes
      {21, VORRect(44, 20, 45, 21), VORRect(0, 0, 1, 1)},   // one pixel in the last mask byte
      {-21, VORRect(5, 5, 12, 6), VORRect(30, 10, 37, 11)}, // fewer than eight pixels
  };
  for (const Case &c : cases) {
    std::mt19937 random(static_cast<uint32_t>(c.from.left * 31 + c.to.top));
    const BitmapInfoHeader deep = Header(45, c.height, 24);
    DibImage source, mask, destination, expected;
    ASSERT_TRUE(source.Create(&deep));
    ASSERT_TRUE(destination.Create(&deep));
    ASSERT_TRUE(expected.Create(&deep));
    ASSERT_TRUE(mask.CreateMask(&deep));
    FillRandom(source, random);
    FillRandom(destination, random);
    ASSERT_TRUE(expected.CopyBits(destination));
    // Whole bytes clear or set among mixed ones.
    for (uint32_t i = 0; i < mask.GetImageSize(); ++i) {
      const uint32_t pick = random() % 4;
      mask.GetPixels()[i] = pick == 0 ? 0x00 : pick == 1 ? 0xFF : static_cast<uint8_t>(random());
    }
    ReferenceCopy(source, mask, c.from, expected, c.to);
    ASSERT_TRUE(CopyMaskedPixels(source, mask, c.from, destination, c.to));
    const std::vector<uint8_t> got(destination.GetPixels(), destination.GetPixels() + destination.GetImageSize());
    const std::vector<uint8_t> want(expected.GetPixels(), expected.GetPixels() + expected.GetImageSize());
    EXPECT_EQ(got, want) << "from " << c.from.left << "," << c.from.top << " height " << c.height;
  }
}

// 8-bit images copy their indexes when both hold the same colour table:
// an index then means the same colour in both.
TEST(MaskedCopyTest, EightBitImagesWithOneColourTableCopyTheirIndexes) {
  BitmapInfo256 eight{};
  eight.header = Header(21, -6, 8);
  eight.header.biClrUsed = 16;
  for (uint8_t i = 0; i < 16; ++i)
    eight.colors[i] = RgbQuad{static_cast<uint8_t>(i * 16), static_cast<uint8_t>(255 - i), i, 0};
  DibImage source, destination, mask;
  ASSERT_TRUE(source.Create(&eight.header));
  ASSERT_TRUE(destination.Create(&eight.header));
  ASSERT_TRUE(mask.CreateMask(&eight.header));
  std::mt19937 random(3);
  FillRandom(source, random);
  FillRandom(destination, random);
  FillRandom(mask, random);
  const std::vector<uint8_t> before(destination.GetPixels(), destination.GetPixels() + destination.GetImageSize());
  const VORRect from(2, 1, 19, 5), to(4, 2, 21, 6);
  ASSERT_TRUE(CopyMaskedPixels(source, mask, from, destination, to));
  for (int32_t y = 0; y < from.Height(); ++y) {
    for (int32_t x = 0; x < from.Width(); ++x) {
      const uint8_t *d = destination.GetRowAddress(to.top + y) + to.left + x;
      const size_t at = static_cast<size_t>(d - destination.GetPixels());
      const uint8_t expected = mask.IsMaskBitSet(from.left + x, from.top + y)
                                   ? source.GetRowAddress(from.top + y)[from.left + x]
                                   : before[at];
      ASSERT_EQ(*d, expected) << x << "," << y;
    }
  }
  // Another table: the indexes would change colour.
  BitmapInfo256 other = eight;
  other.colors[3].red ^= 1;
  DibImage elsewhere;
  ASSERT_TRUE(elsewhere.Create(&other.header));
  EXPECT_FALSE(CopyMaskedPixels(source, mask, from, elsewhere, to));
  // And 24 bits into 8 never.
  const BitmapInfoHeader deep = Header(21, -6, 24);
  DibImage deepSource;
  ASSERT_TRUE(deepSource.Create(&deep));
  EXPECT_FALSE(CopyMaskedPixels(deepSource, mask, from, destination, to));
}

TEST(MaskedCopyTest, RefusesWhatItCannotDoAndLeavesTheDestination) {
  const BitmapInfoHeader deep = Header(16, -8, 24), other = Header(17, -8, 24);
  BitmapInfo256 eight{};
  eight.header = Header(16, -8, 8);
  DibImage source, mask, destination, paletted, otherMask;
  ASSERT_TRUE(source.Create(&deep));
  ASSERT_TRUE(destination.Create(&deep));
  ASSERT_TRUE(paletted.Create(&eight.header));
  ASSERT_TRUE(mask.CreateMask(&deep));
  ASSERT_TRUE(otherMask.CreateMask(&other));
  for (uint32_t i = 0; i < mask.GetImageSize(); ++i)
    mask.GetPixels()[i] = 0xFF;
  for (uint32_t i = 0; i < source.GetImageSize(); ++i)
    source.GetPixels()[i] = 0x55;
  const VORRect all(0, 0, 16, 8);
  EXPECT_FALSE(CopyMaskedPixels(source, mask, all, paletted, all));                      // 24 bits into 8
  EXPECT_FALSE(CopyMaskedPixels(source, source, all, destination, all));                 // not a mask
  EXPECT_FALSE(CopyMaskedPixels(source, otherMask, all, destination, all));              // mask of another size
  EXPECT_FALSE(CopyMaskedPixels(source, mask, all, destination, VORRect(0, 0, 8, 8)));   // sizes differ
  EXPECT_FALSE(CopyMaskedPixels(source, mask, VORRect(1, 0, 17, 8), destination, all));  // outside the source
  EXPECT_FALSE(CopyMaskedPixels(source, mask, all, destination, VORRect(0, -1, 16, 7))); // outside the destination
  EXPECT_FALSE(CopyMaskedPixels(source, mask, VORRect(2, 2, 2, 6), destination, VORRect(2, 2, 2, 6))); // empty
  for (uint32_t i = 0; i < destination.GetImageSize(); ++i)
    ASSERT_EQ(destination.GetPixels()[i], 0) << i;
}

} // namespace
