#include "images/PictureChecks.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "display/DibImage.h"
#include "display/Palette.h"
#include "support/FakeRecordFile.h"

namespace {

// A packed DIB: 40-byte header, colour table, rows padded to 4 bytes.
std::vector<uint8_t> PackedDib(int32_t width, int32_t height, uint16_t depth, uint32_t coloursUsed,
                               uint32_t tableEntries, uint32_t firstWord = 40) {
  RecordBytes bytes;
  bytes.Uint32(firstWord).Uint32(static_cast<uint32_t>(width)).Uint32(static_cast<uint32_t>(height));
  bytes.Uint16(1).Uint16(depth).Uint32(0).Uint32(0).Uint32(0).Uint32(0).Uint32(coloursUsed).Uint32(0);
  for (uint32_t i = 0; i < tableEntries; ++i)
    bytes.Uint32(i);
  const uint32_t stride = (static_cast<uint32_t>(width) * depth + 31) / 32 * 4;
  for (uint32_t i = 0; i < stride * static_cast<uint32_t>(height); ++i)
    bytes.Byte(static_cast<uint8_t>(i));
  return bytes.Take();
}

TEST(PictureChecksTest, APackedDibMustHoldWhatItsHeaderSays) {
  struct Case {
    const char *name;
    std::vector<uint8_t> bytes;
    uint32_t cut; // bytes taken off the end
    bool attaches;
  };
  const std::vector<Case> cases = {
      {"whole 8-bit picture", PackedDib(5, 3, 8, 0, 256), 0, true},
      {"whole 24-bit picture", PackedDib(5, 3, 24, 0, 0), 0, true},
      {"rows cut short", PackedDib(5, 3, 24, 0, 0), 1, false},
      {"colour table cut short", PackedDib(5, 1, 8, 0, 256), 12, false},
      {"only a header's size word", {40, 0, 0, 0}, 0, false},
      {"first word not 40", PackedDib(5, 3, 24, 0, 0, 108), 0, false},
  };
  for (const Case &c : cases) {
    std::vector<uint8_t> bytes = c.bytes;
    bytes.resize(bytes.size() - c.cut);
    DibImage image;
    EXPECT_EQ(PictureChecks::AttachPackedDib(image, bytes.data(), static_cast<uint32_t>(bytes.size())), c.attaches)
        << c.name;
  }
}

TEST(PictureChecksTest, AColourTableMatchesThePaletteEntryForEntry) {
  std::vector<RgbQuad> entries(256);
  for (uint32_t i = 0; i < 256; ++i)
    std::memcpy(&entries[i], &i, sizeof i);
  Palette palette(entries.data(), 256);
  Palette sixteen(entries.data(), 16);

  std::vector<uint8_t> full = PackedDib(2, 2, 8, 0, 256);
  std::vector<uint8_t> shortTable = PackedDib(2, 2, 8, 16, 16);
  std::vector<uint8_t> trueColour = PackedDib(2, 2, 24, 0, 0);
  DibImage fullImage, shortImage, trueImage;
  ASSERT_TRUE(fullImage.Attach(full.data(), full.size()));
  ASSERT_TRUE(shortImage.Attach(shortTable.data(), shortTable.size()));
  ASSERT_TRUE(trueImage.Attach(trueColour.data(), trueColour.size()));

  EXPECT_TRUE(PictureChecks::ColorTableMatches(fullImage, &palette));
  EXPECT_FALSE(PictureChecks::ColorTableMatches(shortImage, &palette)) << "16 entries cannot hold 256";
  EXPECT_TRUE(PictureChecks::ColorTableMatches(shortImage, &sixteen));
  EXPECT_TRUE(PictureChecks::ColorTableMatches(fullImage, &sixteen)) << "as many entries as the palette holds";
  EXPECT_TRUE(PictureChecks::ColorTableMatches(fullImage, nullptr));
  EXPECT_TRUE(PictureChecks::ColorTableMatches(trueImage, &palette));
  fullImage.GetColorTable()[7].red ^= 1;
  EXPECT_FALSE(PictureChecks::ColorTableMatches(fullImage, &palette));
}

} // namespace
