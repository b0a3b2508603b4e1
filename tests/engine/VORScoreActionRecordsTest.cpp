#include <gtest/gtest.h>

#include <memory>

#include "engine/VORScoreObjectAction.h"
#include "engine/VORStoreInfoObjectAction.h"
#include "support/FakeRecordFile.h"
#include "vorfile/VORFileException.h"

namespace {

RecordBytes Common(int32_t code) {
  return std::move(RecordBytes().Code(0, 0, 4).Uint32(code).Code(0, 3, 1).Code(0, 4, 2));
}

TEST(VORScoreActionRecordsTest, AScoreAction) {
  FakeRecordFile file(Common(804).Byte(1).Uint32(static_cast<uint32_t>(-3)).String("q7").Take());
  VORScoreObjectAction action(2);
  action.Read(file);
  std::unique_ptr<VORObjectAction> copy(action.Clone());
  const auto &read = dynamic_cast<const VORScoreObjectAction &>(*copy);
  EXPECT_EQ(read.GetActionCode(), 804);
  EXPECT_EQ(read.correct, 1);
  EXPECT_EQ(read.points, -3);
  EXPECT_STREQ(read.question.CStr(), "q7");
  EXPECT_EQ(read.GetClassKey(), 0x120003u);
}

// The four bytes after the replace byte are each 0 when the record ends
// before them.
TEST(VORScoreActionRecordsTest, AStoreInformationActionEndingAtEachOptionalByte) {
  for (size_t optional = 0; optional <= 4; ++optional) {
    RecordBytes record = Common(802).Byte(3).String("a + 1").String("out.txt").Byte(1).String("v").Byte(1);
    for (size_t i = 0; i < optional; ++i)
      record.Byte(1);
    FakeRecordFile file(record.Take());
    VORStoreInfoObjectAction action(1);
    action.Read(file);
    std::unique_ptr<VORObjectAction> copy(action.Clone());
    const auto &read = dynamic_cast<const VORStoreInfoObjectAction &>(*copy);
    EXPECT_EQ(read.sourceKind, VORStoreInfoObjectAction::kExpression);
    EXPECT_STREQ(read.text.CStr(), "a + 1");
    EXPECT_STREQ(read.targetFile.CStr(), "out.txt");
    EXPECT_EQ(read.ask, 1);
    EXPECT_STREQ(read.targetVariable.CStr(), "v");
    EXPECT_EQ(read.replace, 1);
    const uint8_t bytes[] = {read.sourceInTemporaryFolder, read.targetInTemporaryFolder, read.sourceNameInVariable,
                             read.targetNameInVariable};
    for (size_t i = 0; i < 4; ++i)
      EXPECT_EQ(bytes[i], i < optional ? 1 : 0) << optional << " optional bytes, byte " << i;
  }
  FakeRecordFile cut(Common(802).Byte(0).String("x").Take());
  VORStoreInfoObjectAction action(1);
  EXPECT_THROW(action.Read(cut), VORFileIncompleteReadException) << "the first six fields are required";
}

} // namespace
