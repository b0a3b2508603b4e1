#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "support/PublicationRecords.h"
#include "support/WrittenFolder.h"
#include "vorfile/VORFileException.h"

#include "objects/VORBackground.h"

namespace {

using Properties = VORBackground::VORBackgroundProperties;

// Reads the first count fields as the record.
Properties ReadRecord(const std::vector<PublicationRecords::Field> &fields, size_t count = SIZE_MAX) {
  WrittenFolder folder([&](PublicationWriter::Folder &f) { PublicationRecords::AddRecord(f, fields, count); });
  Properties properties;
  properties.Read(folder.File());
  return properties;
}

using PublicationRecords::BackgroundRecord;

BackgroundRecord GradientRecord() {
  BackgroundRecord record;
  record.graphical.Place(10, 20, 210, 120);
  record.fillKind = VORBackground::kGradient;
  record.colour1 = 0x00112233;
  record.colour2 = 0x00445566;
  record.direction = 3;
  return record;
}

TEST(VORBackgroundRecordTest, ReadsTheGraphicalRecordThenTheFill) {
  const Properties properties = ReadRecord(GradientRecord().Fields());
  EXPECT_EQ(properties.layoutRect, VORRect(10, 20, 210, 120));
  EXPECT_EQ(properties.fillKind, VORBackground::kGradient);
  EXPECT_EQ(properties.colour1, 0x00112233u);
  EXPECT_EQ(properties.colour2, 0x00445566u);
  EXPECT_EQ(properties.direction, 3);
}

TEST(VORBackgroundRecordTest, TheFieldsAFillKindDoesNotUseAreNotStoredAndKeepTheirDefaults) {
  struct Case {
    uint8_t fillKind;
    uint32_t colour1;
  } cases[] = {{VORBackground::kNoFill, 0xFFFFFF}, {VORBackground::kSolid, 0x00112233}, {7, 0xFFFFFF}};
  for (const Case &c : cases) {
    BackgroundRecord record = GradientRecord();
    record.fillKind = c.fillKind;
    const Properties properties = ReadRecord(record.Fields());
    EXPECT_EQ(properties.fillKind, c.fillKind);
    EXPECT_EQ(properties.colour1, c.colour1) << int{c.fillKind};
    EXPECT_EQ(properties.colour2, 0xFFFFFFu) << int{c.fillKind};
    EXPECT_EQ(properties.direction, 2) << int{c.fillKind};
  }
}

TEST(VORBackgroundRecordTest, ARecordEndingInsideTheFillIsDamaged) {
  const BackgroundRecord record = GradientRecord();
  const std::vector<PublicationRecords::Field> fields = record.Fields();
  const size_t fillFields = 4;
  for (size_t cut = fields.size() - fillFields; cut < fields.size(); ++cut) {
    EXPECT_THROW(ReadRecord(fields, cut), VORFileNonFatalException) << "cut before " << fields[cut].name;
  }
}

TEST(VORBackgroundRecordTest, ACopyIsWhole) {
  const Properties properties = ReadRecord(GradientRecord().Fields());
  std::unique_ptr<VORObjectProperties> clone(properties.Clone());
  auto *copy = dynamic_cast<VORBackground::VORBackgroundProperties *>(clone.get());
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->layoutRect, properties.layoutRect);
  EXPECT_EQ(copy->fillKind, properties.fillKind);
  EXPECT_EQ(copy->colour1, properties.colour1);
  EXPECT_EQ(copy->colour2, properties.colour2);
  EXPECT_EQ(copy->direction, properties.direction);
  VORBackground::VORBackgroundProperties assigned;
  assigned.Assign(properties);
  EXPECT_EQ(assigned.colour2, properties.colour2);
  EXPECT_EQ(assigned.direction, properties.direction);
}

} // namespace
