#include "model/VORObjectCode.h"

#include <gtest/gtest.h>

#include <cstring>

#include "support/FakeRecordFile.h"
#include "vorfile/VORFileException.h"

namespace {

TEST(VORObjectCodeTest, KeyBytesAreLittleEndianCategoryCodeId) {
  const VORObjectCode reference(3, 0x1A, 0x12345678);
  uint8_t bytes[VORObjectCode::kSize];
  reference.ToBytes(bytes);
  const uint8_t expected[] = {0x03, 0x00, 0x1A, 0x00, 0x78, 0x56, 0x34, 0x12};
  EXPECT_EQ(std::memcmp(bytes, expected, sizeof expected), 0);
  EXPECT_EQ(reference.GetClassKey(), 0x001A0003u) << "category low, code high";
  EXPECT_EQ(VORObjectCode::FromClassKey(0x001A0003u, 0x12345678), reference);

  VORObjectCode half(9, 9, -1);
  half.FromBytes(expected, VORObjectCode::kClassKeySize);
  EXPECT_EQ(half, VORObjectCode(3, 0x1A, -1)) << "a 4-byte key leaves the id as preset";
}

TEST(VORObjectCodeTest, NoneZeroAndEquality) {
  EXPECT_TRUE(VORObjectCode().IsNone());
  EXPECT_FALSE(VORObjectCode::Zero().IsNone()) << "(0, 0, 0) names a well-known receiver";
  EXPECT_FALSE(VORObjectCode(-1, -1, 0).IsNone());
  EXPECT_NE(VORObjectCode(0, 4, 1), VORObjectCode(0, 4, 2));
}

TEST(VORObjectCodeTest, TextForm) {
  char text[VORObjectCode::kTextSize + 1];
  VORObjectCode(1, 0x10, 0xABCD0102).ToText(text);
  EXPECT_STREQ(text, "00010010ABCD0102");

  struct Case {
    const char *text;
    uint32_t length;
    VORObjectCode expected;
  } cases[] = {
      {"00010010ABCD0102", 16, VORObjectCode(1, 0x10, static_cast<int32_t>(0xABCD0102))},
      {"FFFFFFFFFFFFFFFF", 16, VORObjectCode::None()},
      {"0003000100000000", 16, VORObjectCode(3, 1, 0)},
      {"00010010abcd0102", 16, VORObjectCode::None()}, // only upper-case digits are written
      {"0001001 ABCD0102", 16, VORObjectCode::None()},
      {"00030001", 8, VORObjectCode(3, 1, 7)}, // the class half keeps the preset id
  };
  for (const Case &c : cases) {
    VORObjectCode reference(0, 0, 7);
    reference.FromText(c.text, c.length);
    EXPECT_EQ(reference, c.expected) << c.text;
  }
}

TEST(VORObjectCodeTest, ReadsAsARecordField) {
  FakeRecordFile file(RecordBytes().Uint32(0x00040000).Uint32(12).Uint32(0x00020001).Take());
  VORObjectCode reference;
  reference.Read(file);
  EXPECT_EQ(reference, VORObjectCode(0, 4, 12));
  EXPECT_THROW(reference.Read(file), VORFileIncompleteReadException) << "only 4 bytes left";
}

} // namespace
