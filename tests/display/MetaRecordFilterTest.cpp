#include "display/MetaRecordFilter.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr ColorRef kKey = 0x00FF00FF;
constexpr ColorRef kRed = 0x000000FF;

void Put32(std::vector<uint8_t> &bytes, size_t offset, uint32_t value) {
  for (size_t i = 0; i < 4; ++i) {
    bytes[offset + i] = static_cast<uint8_t>(value >> (8 * i));
  }
}

uint32_t Get32(const std::vector<uint8_t> &bytes, size_t offset) {
  return static_cast<uint32_t>(bytes[offset]) | static_cast<uint32_t>(bytes[offset + 1]) << 8 |
         static_cast<uint32_t>(bytes[offset + 2]) << 16 | static_cast<uint32_t>(bytes[offset + 3]) << 24;
}

uint16_t Get16(const std::vector<uint8_t> &bytes, size_t offset) {
  return static_cast<uint16_t>(bytes[offset] | bytes[offset + 1] << 8);
}

// Enhanced records, laid out as the format has them.
std::vector<uint8_t> EmrRecord(uint32_t type, size_t size) {
  std::vector<uint8_t> bytes(size, 0);
  Put32(bytes, 0, type);
  Put32(bytes, 4, static_cast<uint32_t>(size));
  return bytes;
}

std::vector<uint8_t> EmrCreatePen(uint32_t style, ColorRef colour) {
  auto bytes = EmrRecord(kEmrCreatePen, 28);
  Put32(bytes, 8, 1); // handle index
  Put32(bytes, 12, style);
  Put32(bytes, 16, 3); // width
  Put32(bytes, 24, colour);
  return bytes;
}

std::vector<uint8_t> EmrCreateBrush(uint32_t style, ColorRef colour) {
  auto bytes = EmrRecord(kEmrCreateBrushIndirect, 24);
  Put32(bytes, 8, 2);
  Put32(bytes, 12, style);
  Put32(bytes, 16, colour);
  return bytes;
}

// Windows records: size in words, function, parameters.
std::vector<uint8_t> MetaRecord(uint16_t function, size_t size) {
  std::vector<uint8_t> bytes(size, 0);
  Put32(bytes, 0, static_cast<uint32_t>(size / 2));
  bytes[4] = static_cast<uint8_t>(function);
  bytes[5] = static_cast<uint8_t>(function >> 8);
  return bytes;
}

std::vector<uint8_t> MetaCreatePen(uint16_t style, ColorRef colour) {
  auto bytes = MetaRecord(kMetaCreatePenIndirect, 16);
  bytes[6] = static_cast<uint8_t>(style);
  Put32(bytes, 12, colour);
  return bytes;
}

std::vector<uint8_t> MetaCreateBrush(uint16_t style, ColorRef colour) {
  auto bytes = MetaRecord(kMetaCreateBrushIndirect, 14);
  bytes[6] = static_cast<uint8_t>(style);
  Put32(bytes, 8, colour);
  return bytes;
}

MetaRecordFilterState Primary() { return MetaRecordFilterState{false, true, kKey}; }
MetaRecordFilterState MaskWithKey() { return MetaRecordFilterState{true, true, kKey}; }
MetaRecordFilterState Plain() { return MetaRecordFilterState{false, false, 0}; }

TEST(MetaRecordFilterTest, KeyColouredPensAndBrushesPlayHollow) {
  std::vector<uint8_t> altered;
  ASSERT_TRUE(AlterEnhMetaRecord(EmrCreateBrush(0, kKey).data(), 24, Primary(), altered));
  EXPECT_EQ(Get32(altered, 12), kBrushStyleNull);
  EXPECT_EQ(Get32(altered, 16), kKey);
  ASSERT_TRUE(AlterEnhMetaRecord(EmrCreatePen(0, kKey).data(), 28, Primary(), altered));
  EXPECT_EQ(Get32(altered, 12), kPenStyleNull);
  EXPECT_EQ(Get32(altered, 16), 3u); // the rest of the record is kept
  ASSERT_TRUE(AlterMetaRecord(MetaCreateBrush(0, kKey).data(), 14, Primary(), altered));
  EXPECT_EQ(Get16(altered, 6), kBrushStyleNull);
  ASSERT_TRUE(AlterMetaRecord(MetaCreatePen(0, kKey).data(), 16, Primary(), altered));
  EXPECT_EQ(Get16(altered, 6), kPenStyleNull);

  // Other colours, or key mode off, play unchanged.
  EXPECT_FALSE(AlterEnhMetaRecord(EmrCreateBrush(0, kRed).data(), 24, Primary(), altered));
  EXPECT_FALSE(AlterEnhMetaRecord(EmrCreateBrush(0, kKey).data(), 24, Plain(), altered));
  EXPECT_FALSE(AlterMetaRecord(MetaCreatePen(0, kRed).data(), 16, Primary(), altered));
}

TEST(MetaRecordFilterTest, InMaskModeEveryPenBrushAndBackgroundIsWhite) {
  std::vector<uint8_t> altered;
  ASSERT_TRUE(AlterEnhMetaRecord(EmrCreateBrush(0, kRed).data(), 24, MaskWithKey(), altered));
  EXPECT_EQ(Get32(altered, 12), 0u);
  EXPECT_EQ(Get32(altered, 16), kWhite);
  // A key-coloured brush in the mask is both hollow and white.
  ASSERT_TRUE(AlterEnhMetaRecord(EmrCreateBrush(0, kKey).data(), 24, MaskWithKey(), altered));
  EXPECT_EQ(Get32(altered, 12), kBrushStyleNull);
  EXPECT_EQ(Get32(altered, 16), kWhite);
  ASSERT_TRUE(AlterEnhMetaRecord(EmrCreatePen(0, kRed).data(), 28, MaskWithKey(), altered));
  EXPECT_EQ(Get32(altered, 24), kWhite);

  auto background = EmrRecord(kEmrSetBkColor, 12);
  Put32(background, 8, kRed);
  ASSERT_TRUE(AlterEnhMetaRecord(background.data(), 12, MaskWithKey(), altered));
  EXPECT_EQ(Get32(altered, 8), kWhite);
  EXPECT_FALSE(AlterEnhMetaRecord(background.data(), 12, Primary(), altered));

  ASSERT_TRUE(AlterMetaRecord(MetaCreatePen(0, kRed).data(), 16, MaskWithKey(), altered));
  EXPECT_EQ(Get32(altered, 12), kWhite);
  ASSERT_TRUE(AlterMetaRecord(MetaCreateBrush(0, kRed).data(), 14, MaskWithKey(), altered));
  EXPECT_EQ(Get32(altered, 8), kWhite);
  auto metaBackground = MetaRecord(kMetaSetBkColor, 10);
  Put32(metaBackground, 6, kRed);
  ASSERT_TRUE(AlterMetaRecord(metaBackground.data(), 10, MaskWithKey(), altered));
  EXPECT_EQ(Get32(altered, 6), kWhite);
}

TEST(MetaRecordFilterTest, StockSelectionsBecomeWhiteInMaskMode) {
  struct Case {
    uint32_t handle;
    bool altered;
    uint32_t becomes;
  } cases[] = {
      {kStockObjectFlag | 0, true, kStockObjectFlag | 0},
      {kStockObjectFlag | 2, true, kStockObjectFlag | 0},
      {kStockObjectFlag | 4, true, kStockObjectFlag | 0},
      {kStockObjectFlag | 5, false, 0}, // null brush
      {kStockObjectFlag | 6, true, kStockObjectFlag | 6},
      {kStockObjectFlag | 7, true, kStockObjectFlag | 6},
      {kStockObjectFlag | 8, false, 0}, // null pen
      {kStockObjectFlag | 13, false, 0},
      {3, false, 0}, // a font; a handle of the metafile's own
  };
  for (const Case &c : cases) {
    auto record = EmrRecord(kEmrSelectObject, 12);
    Put32(record, 8, c.handle);
    std::vector<uint8_t> altered;
    EXPECT_EQ(AlterEnhMetaRecord(record.data(), 12, MaskWithKey(), altered), c.altered) << std::hex << c.handle;
    if (c.altered) {
      EXPECT_EQ(Get32(altered, 8), c.becomes) << std::hex << c.handle;
    }
    EXPECT_FALSE(AlterEnhMetaRecord(record.data(), 12, Primary(), altered)) << std::hex << c.handle;
  }
}

TEST(MetaRecordFilterTest, RecordsTooShortForTheirFieldsPlayUnchanged) {
  // Each buffer is exactly as long as the size given, so a read past it is caught.
  struct Case {
    const char *name;
    std::vector<uint8_t> full;
    bool enhanced;
  } cases[] = {
      {"enhanced pen", EmrCreatePen(0, kKey), true},
      {"enhanced brush", EmrCreateBrush(0, kKey), true},
      {"enhanced background", EmrRecord(kEmrSetBkColor, 12), true},
      {"enhanced selection", EmrRecord(kEmrSelectObject, 12), true},
      {"windows pen", MetaCreatePen(0, kKey), false},
      {"windows brush", MetaCreateBrush(0, kKey), false},
      {"windows background", MetaRecord(kMetaSetBkColor, 10), false},
  };
  for (const Case &c : cases) {
    for (size_t size = 0; size < c.full.size(); ++size) {
      const std::vector<uint8_t> cut(c.full.begin(), c.full.begin() + static_cast<ptrdiff_t>(size));
      std::vector<uint8_t> altered;
      const bool changed = c.enhanced ? AlterEnhMetaRecord(cut.data(), cut.size(), MaskWithKey(), altered)
                                      : AlterMetaRecord(cut.data(), cut.size(), MaskWithKey(), altered);
      EXPECT_FALSE(changed) << c.name << " cut to " << size;
    }
  }
  std::vector<uint8_t> altered;
  EXPECT_FALSE(AlterEnhMetaRecord(nullptr, 0, MaskWithKey(), altered));
}

TEST(MetaRecordFilterTest, AnAlteredCopyHoldsOnlyTheFieldsThatWereChecked) {
  // A record that declares more bytes than its fields: the copy is cut to
  // the fields, and its size field says so.
  auto pen = EmrCreatePen(0, kKey);
  pen.resize(40, 0xAB);
  Put32(pen, 4, 40);
  std::vector<uint8_t> altered;
  ASSERT_TRUE(AlterEnhMetaRecord(pen.data(), pen.size(), Primary(), altered));
  EXPECT_EQ(altered.size(), 28u);
  EXPECT_EQ(Get32(altered, 4), 28u);

  auto brush = MetaCreateBrush(0, kKey);
  brush.resize(20, 0);
  Put32(brush, 0, 10);
  ASSERT_TRUE(AlterMetaRecord(brush.data(), brush.size(), Primary(), altered));
  EXPECT_EQ(altered.size(), 14u);
  EXPECT_EQ(Get32(altered, 0), 7u);
}

} // namespace
