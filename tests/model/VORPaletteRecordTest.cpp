#include "model/VORPaletteRecord.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/FakeRecordFile.h"
#include "vorfile/VORFileException.h"

namespace {

// A palette record: the count, then entries in RGBQUAD order (blue, green,
// red, reserved) with red = the entry's number so each is recognisable.
std::vector<uint8_t> PaletteRecord(int32_t count, int32_t entriesPresent) {
  RecordBytes bytes;
  bytes.Uint32(static_cast<uint32_t>(count));
  for (int32_t i = 0; i < entriesPresent; ++i)
    bytes.Byte(10).Byte(20).Byte(static_cast<uint8_t>(i)).Byte(0);
  return bytes.Take();
}

TEST(VORPaletteRecordTest, ReadTakesTheRecordAsFarAsItGoes) {
  struct Case {
    const char *name;
    std::vector<uint8_t> record;
    bool read; // false: the record is incomplete
    uint32_t count;
  } cases[] = {
      {"empty record", {}, true, 0},
      {"count cut short", {2, 0}, true, 0},
      {"zero count", PaletteRecord(0, 0), true, 0},
      {"two entries", PaletteRecord(2, 2), true, 2},
      {"count above 256 reads 256", PaletteRecord(300, 300), true, 256},
      {"negative count reads none", PaletteRecord(-5, 3), true, 0},
      {"entries cut short", PaletteRecord(3, 2), false, 0},
  };
  for (const Case &c : cases) {
    FakeRecordFile file(c.record);
    VORPaletteRecord palette;
    if (c.read)
      EXPECT_NO_THROW(palette.Read(file)) << c.name;
    else
      EXPECT_THROW(palette.Read(file), VORFileIncompleteReadException) << c.name;
    EXPECT_EQ(palette.GetCount(), c.count) << c.name;
  }
}

TEST(VORPaletteRecordTest, EntriesAreInQuadOrderAndTheRestOfTheRecordIsLeft) {
  FakeRecordFile file(PaletteRecord(300, 300));
  VORPaletteRecord palette;
  palette.Read(file);
  EXPECT_EQ(file.GetPosition(), 4u + 256u * 4u);
  const VORPaletteRecord::Entry last = palette.GetEntries()[255];
  EXPECT_EQ(last.blue, 10);
  EXPECT_EQ(last.green, 20);
  EXPECT_EQ(last.red, 255);
  EXPECT_EQ(last.reserved, 0);
}

TEST(VORPaletteRecordTest, ReadReplacesWhatTheRecordHeld) {
  VORPaletteRecord palette;
  FakeRecordFile full(PaletteRecord(300, 300));
  palette.Read(full);
  ASSERT_EQ(palette.GetCount(), 256u);
  FakeRecordFile two(PaletteRecord(2, 2));
  palette.Read(two);
  EXPECT_EQ(palette.GetCount(), 2u);
  FakeRecordFile cut(PaletteRecord(3, 2));
  EXPECT_THROW(palette.Read(cut), VORFileIncompleteReadException);
  EXPECT_EQ(palette.GetCount(), 0u) << "nothing of the earlier record is kept";
}

TEST(VORPaletteRecordTest, AFailingFileIsNotAShortRecord) {
  FakeRecordFile file(PaletteRecord(2, 2));
  file.SetReadsFail(true);
  VORPaletteRecord palette;
  EXPECT_THROW(palette.Read(file), VORFileErrorException);
}

} // namespace
