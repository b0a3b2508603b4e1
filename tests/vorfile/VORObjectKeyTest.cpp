#include "vorfile/VORObjectKey.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

TEST(VORObjectKeyTest, BytesAreLittleEndianCategoryCodeId) {
  const VORObjectKey key{0x0102, 0x0304, 0x05060708};
  uint8_t bytes[VORObjectKey::kSize];
  key.ToBytes(bytes);
  const uint8_t expected[] = {0x02, 0x01, 0x04, 0x03, 0x08, 0x07, 0x06, 0x05};
  EXPECT_EQ(std::memcmp(bytes, expected, sizeof(expected)), 0);

  VORObjectKey read = VORObjectKey::None();
  read.FromBytes(bytes, VORObjectKey::kSize);
  EXPECT_TRUE(read.Equals(key));
}

TEST(VORObjectKeyTest, ClassHalfLeavesTheIdAsItWas) {
  const uint8_t bytes[] = {0x02, 0x00, 0x07, 0x00, 0xAA, 0xAA, 0xAA, 0xAA};
  VORObjectKey read{0, 0, 42};
  read.FromBytes(bytes, VORObjectKey::kClassSize);
  EXPECT_TRUE(read.Equals(VORObjectKey{2, 7, 42}));
}

TEST(VORObjectKeyTest, NoneIsAllOnes) {
  EXPECT_TRUE(VORObjectKey::None().IsNone());
  EXPECT_FALSE((VORObjectKey{0, 0, 0}).IsNone()) << "(0, 0, 0) names a well-known receiver";
  EXPECT_FALSE((VORObjectKey{0xFFFF, 0xFFFF, 0}).IsNone());
}

TEST(VORObjectKeyTest, TextForm) {
  char text[VORObjectKey::kTextSize + 1];
  VORObjectKey{0x1A, 0x2, 0xDEADBEEF}.ToText(text);
  EXPECT_STREQ(text, "001A0002DEADBEEF");

  struct Case {
    const char *name;
    const char *text;
    uint32_t length;
    bool ok;
    VORObjectKey expected;
  } cases[] = {
      {"whole reference", "001A0002DEADBEEF", 16, true, {0x1A, 2, 0xDEADBEEF}},
      {"class half keeps the id", "001A0002", 8, true, {0x1A, 2, 99}},
      {"lower-case digit", "001a0002DEADBEEF", 16, false, VORObjectKey::None()},
      {"other character in the id", "001A0002DEADBEE ", 16, false, VORObjectKey::None()},
      {"all F", "FFFFFFFFFFFFFFFF", 16, true, VORObjectKey::None()},
  };
  for (const Case &c : cases) {
    VORObjectKey key{7, 7, 99};
    EXPECT_EQ(key.FromText(c.text, c.length), c.ok) << c.name;
    EXPECT_TRUE(key.Equals(c.expected)) << c.name;
  }
}

} // namespace
