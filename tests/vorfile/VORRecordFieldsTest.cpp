#include "vorfile/VORRecordFields.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/FakeRecordFile.h"
#include "vorfile/VORString.h"

namespace {

using namespace VORRecordFields;

TEST(VORRecordFieldsTest, IntegersAreLittleEndianOfTheirOwnWidth) {
  FakeRecordFile file({0xFE, 0xFF, 0x34, 0x12, 0x78, 0x56, 0x34, 0x12, 0xFB, 0xFF, 0xFF, 0xFF, 0x80});
  EXPECT_EQ(ReadInt16(file), -2);
  EXPECT_EQ(Read<uint16_t>(file), 0x1234);
  EXPECT_EQ(ReadUint32(file), 0x12345678u);
  EXPECT_EQ(ReadInt32(file), -5);
  EXPECT_EQ(ReadByte(file), 0x80);
  EXPECT_EQ(file.GetPosition(), 13u);
  EXPECT_THROW(ReadByte(file), VORFileIncompleteReadException);
}

TEST(VORRecordFieldsTest, ReadOrTakesTheFallbackOnlyWhenTheRecordEnds) {
  struct Case {
    const char *what;
    std::vector<uint8_t> record;
    uint32_t value;
  } cases[] = {
      {"whole field", RecordBytes().Uint32(0x01020304).Take(), 0x01020304},
      {"record ends inside the field", {4, 3}, 77},
      {"record already ended", {}, 77},
  };
  for (const Case &c : cases) {
    FakeRecordFile file(c.record);
    EXPECT_EQ(ReadOr<uint32_t>(file, 77), c.value) << c.what;
  }
  // The field's type, not the fallback's, decides how much is read.
  FakeRecordFile bytes({5, 6});
  EXPECT_EQ(ReadOr<uint8_t>(bytes, 0), 5);
  EXPECT_EQ(bytes.GetPosition(), 1u);
  // Objects that read themselves: the string ends inside its text.
  FakeRecordFile cut(RecordBytes().Uint32(5).Text("ab").Take());
  EXPECT_STREQ(ReadOr<VORString>(cut, VORString("none")).CStr(), "none");
  // Only the end of the record is a missing field: a failing file is not.
  FakeRecordFile failing(RecordBytes().Uint32(1).Take());
  failing.SetReadsFail(true);
  EXPECT_THROW(ReadOr<uint32_t>(failing, 0), VORFileErrorException);
}

TEST(VORRecordFieldsTest, ReadRectTakesZeroForEachFieldTheRecordNoLongerHolds) {
  struct Case {
    const char *what;
    std::vector<uint8_t> record;
    VORRect result;
  } cases[] = {
      {"whole record", RecordBytes().Uint32(1).Uint32(2).Uint32(30).Uint32(40).Take(), {1, 2, 30, 40}},
      {"ends after two fields", RecordBytes().Uint32(7).Uint32(0xFFFFFFFB).Take(), {7, -5, 0, 0}},
      {"ends inside the third field", RecordBytes().Uint32(7).Uint32(8).Byte(1).Take(), {7, 8, 0, 0}},
      {"empty", {}, {0, 0, 0, 0}},
  };
  for (const Case &c : cases) {
    FakeRecordFile file(c.record);
    EXPECT_EQ(ReadRect(file), c.result) << c.what;
  }
}

} // namespace
