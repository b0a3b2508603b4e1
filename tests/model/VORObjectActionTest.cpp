#include "model/VORObjectAction.h"

#include <gtest/gtest.h>

#include <memory>

#include "support/FakeRecordFile.h"
#include "vorfile/VORFileException.h"

namespace {

constexpr uint32_t kOldVersion = VORObjectAction::kExtraWordVersion;
constexpr uint32_t kNewVersion = VORObjectAction::kExtraWordVersion + 1;

RecordBytes SharedFields() { return std::move(RecordBytes().Code(0, 0, 1).Uint32(101).Code(0, 3, 1).Code(0, 4, 7)); }

TEST(VORObjectActionTest, ReadsTheSharedFields) {
  struct Case {
    const char *what;
    uint32_t version;
    bool withExtraWord;
    int32_t extraWord;
  } cases[] = {
      {"old file: no extra word, the bytes after are not read", kOldVersion, true, 0},
      {"new file with the extra word", kNewVersion, true, 0x55},
      {"new file whose record ends before it", kNewVersion, false, 0},
  };
  for (const Case &c : cases) {
    RecordBytes record = SharedFields();
    if (c.withExtraWord)
      record.Uint32(0x55);
    FakeRecordFile file(record.Take(), c.version);
    VORObjectAction action(VORObjectAction::kClassKey, 9);
    action.ReadFields(file);
    EXPECT_EQ(action.GetTarget(), VORObjectCode(0, 0, 1)) << c.what;
    EXPECT_EQ(action.GetActionCode(), 101) << c.what;
    EXPECT_EQ(action.GetOriginObject(), VORObjectCode(0, 3, 1)) << c.what;
    EXPECT_EQ(action.GetOriginPage(), VORObjectCode(0, 4, 7)) << c.what;
    EXPECT_EQ(action.GetExtraWord(), c.extraWord) << c.what;
  }
}

TEST(VORObjectActionTest, ARecordEndingBeforeTheExtraWordFails) {
  FakeRecordFile file(RecordBytes().Code(0, 0, 1).Uint32(101).Code(0, 3, 1).Take(), kNewVersion);
  VORObjectAction action(VORObjectAction::kClassKey, 9);
  EXPECT_THROW(action.ReadFields(file), VORFileIncompleteReadException);
}

TEST(VORObjectActionTest, CloneCopiesEveryFieldAndOriginIsSet) {
  FakeRecordFile file(SharedFields().Uint32(0x55).Take(), kNewVersion);
  VORObjectAction action(VORObjectAction::kClassKey, 9);
  action.ReadFields(file);
  std::unique_ptr<VORObjectAction> copy(action.Clone());
  EXPECT_EQ(copy->GetObjectCode(), action.GetObjectCode());
  EXPECT_EQ(copy->GetTarget(), action.GetTarget());
  EXPECT_EQ(copy->GetExtraWord(), 0x55);
  EXPECT_TRUE(copy->SetOrigin(VORObjectCode(0, 3, 2), VORObjectCode(0, 4, 8)));
  EXPECT_EQ(copy->GetOriginObject(), VORObjectCode(0, 3, 2));
  EXPECT_EQ(copy->GetOriginPage(), VORObjectCode(0, 4, 8));
  EXPECT_EQ(action.GetOriginPage(), VORObjectCode(0, 4, 7)) << "the original keeps its origin";
}

} // namespace
