#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "media/VORVideo.h"
#include "media/VORVideoObjectAction.h"
#include "model/VORClassRegistry.h"
#include "support/FakeRecordFile.h"
#include "support/PublicationRecords.h"
#include "support/WrittenFolder.h"
#include "vorfile/VORFileException.h"

namespace {

using Properties = VORVideo::VORVideoProperties;
using PublicationRecords::Field;
using PublicationRecords::VideoRecord;

Properties ReadRecord(const std::vector<Field> &fields, size_t count = SIZE_MAX) {
  WrittenFolder folder([&](PublicationWriter::Folder &f) { PublicationRecords::AddRecord(f, fields, count); });
  Properties properties;
  properties.Read(folder.File());
  return properties;
}

VideoRecord FullRecord() {
  VideoRecord record;
  record.hotSpot.flags = 0x12;
  record.hotSpot.autoRepeat = 1;
  record.videoFlags = 0xE6;
  record.repeatCount = -1;
  record.keyColor = 0x01000007;
  record.noSound = 1;
  return record;
}

TEST(VORVideoRecordTest, ReadsTheHotSpotRecordThenTheVideoFields) {
  const Properties properties = ReadRecord(FullRecord().Fields());
  EXPECT_EQ(properties.flags, 0x12u);
  EXPECT_EQ(properties.autoRepeat, 1);
  EXPECT_EQ(properties.videoFlags, 0xE6);
  EXPECT_EQ(properties.repeatCount, -1);
  EXPECT_EQ(properties.keyColor, 0x01000007u);
  EXPECT_EQ(properties.noSound, 1);
}

// Cut after each video field: the missing ones keep their defaults (no
// flags, no repeat, no key colour, sound on).
TEST(VORVideoRecordTest, ACutRecordKeepsTheDefaultsOfTheMissingFields) {
  const std::vector<Field> fields = FullRecord().Fields();
  const size_t optional = 4;
  const size_t first = fields.size() - optional;
  for (size_t present = 0; present <= optional; ++present) {
    const Properties properties = ReadRecord(fields, first + present);
    const std::string where = present < optional ? "cut before " + fields[first + present].name : "whole";
    EXPECT_EQ(properties.autoRepeat, 1) << where;
    EXPECT_EQ(properties.videoFlags, present > 0 ? 0xE6 : 0) << where;
    EXPECT_EQ(properties.repeatCount, present > 1 ? -1 : 0) << where;
    EXPECT_EQ(properties.keyColor, present > 2 ? 0x01000007u : 0xFFFFFFFFu) << where;
    EXPECT_EQ(properties.noSound, present > 3 ? 1 : 0) << where;
  }
}

// A player form's copy is one assignment of the record.
TEST(VORVideoRecordTest, TheRecordCopiesWhole) {
  const Properties source = ReadRecord(FullRecord().Fields());
  Properties copy;
  copy.Assign(source);
  EXPECT_EQ(copy.videoFlags, 0xE6);
  EXPECT_EQ(copy.repeatCount, -1);
  EXPECT_EQ(copy.keyColor, 0x01000007u);
  EXPECT_EQ(copy.noSound, 1);
  EXPECT_EQ(copy.flags & VORHotSpot::VORHotSpotProperties::kCopiedFlags, 0x12u);
  std::unique_ptr<VORObjectProperties> clone(source.Clone());
  EXPECT_EQ(dynamic_cast<Properties &>(*clone).keyColor, 0x01000007u);
}

std::vector<uint8_t> ActionRecord(int32_t code, std::vector<int32_t> words) {
  PublicationRecords::ActionFields fields;
  fields.target = VORObjectKey{1, 5, 7};
  fields.code = code;
  std::vector<uint8_t> record = fields.Bytes();
  for (int32_t word : words) {
    for (int shift = 0; shift < 32; shift += 8) {
      record.push_back(static_cast<uint8_t>(static_cast<uint32_t>(word) >> shift));
    }
  }
  return record;
}

TEST(VORVideoObjectActionTest, ReadsItsTwoWordsOrTheirDefaults) {
  struct Case {
    std::vector<int32_t> words;
    int32_t first;
    int32_t second;
  };
  for (const Case &c : {Case{{1000, 5000}, 1000, 5000}, Case{{-1000}, -1000, -1}, Case{{}, -1, -1}}) {
    FakeRecordFile file(ActionRecord(204, c.words));
    VORVideoObjectAction action(3);
    action.Read(file);
    std::unique_ptr<VORObjectAction> copy(action.Clone());
    const auto &read = dynamic_cast<const VORVideoObjectAction &>(*copy);
    EXPECT_EQ(read.GetActionCode(), 204);
    EXPECT_EQ(read.first, c.first);
    EXPECT_EQ(read.second, c.second);
  }
}

TEST(VORVideoObjectActionTest, TheClassTableMakesVideoActions) {
  std::unique_ptr<VORCodedObject> made(
      VORClassRegistry::Instance().Create(VORObjectCode::MakeClassKey(3, VORVideoObjectAction::kCode), 9));
  EXPECT_NE(dynamic_cast<VORVideoObjectAction *>(made.get()), nullptr);
}

} // namespace
