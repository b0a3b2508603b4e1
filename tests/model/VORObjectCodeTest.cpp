#include "model/VORObjectCode.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "support/FakeRecordFile.h"
#include "vorfile/VORFileException.h"

namespace {

TEST(VORObjectCodeTest, ClassKeyAndFileKey) {
  const VORObjectCode reference(3, 0x1A, 0x12345678);
  EXPECT_EQ(reference.GetClassKey(), 0x001A0003u) << "category low, code high";
  EXPECT_EQ(VORObjectCode::FromClassKey(0x001A0003u, 0x12345678), reference);
  for (const VORObjectCode &code : {reference, VORObjectCode::None(), VORObjectCode(-2, 0x7FFF, INT32_MIN)})
    EXPECT_EQ(VORObjectCode::FromKey(code.ToKey()), code) << code.category << "/" << code.code << "/" << code.id;
  EXPECT_TRUE(VORObjectCode::None().ToKey().IsNone());
}

TEST(VORObjectCodeTest, NoneZeroAndEquality) {
  EXPECT_TRUE(VORObjectCode().IsNone());
  EXPECT_FALSE(VORObjectCode::Zero().IsNone()) << "(0, 0, 0) names a well-known receiver";
  EXPECT_FALSE(VORObjectCode(-1, -1, 0).IsNone());
  EXPECT_NE(VORObjectCode(0, 4, 1), VORObjectCode(0, 4, 2));
}

TEST(VORObjectCodeTest, ReadsAsARecordField) {
  FakeRecordFile file(RecordBytes().Uint32(0x00040000).Uint32(12).Uint32(0x00020001).Take());
  VORObjectCode reference;
  reference.Read(file);
  EXPECT_EQ(reference, VORObjectCode(0, 4, 12));
  EXPECT_THROW(reference.Read(file), VORFileIncompleteReadException) << "only 4 bytes left";
}

} // namespace
