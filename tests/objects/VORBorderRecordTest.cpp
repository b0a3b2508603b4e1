#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "support/PublicationRecords.h"
#include "support/WrittenFolder.h"
#include "vorfile/VORFileException.h"

#include "objects/VORBorder.h"

namespace {

using Properties = VORBorder::VORBorderProperties;

// Reads the first count fields as the record.
Properties ReadRecord(const std::vector<PublicationRecords::Field> &fields, size_t count = SIZE_MAX) {
  WrittenFolder folder([&](PublicationWriter::Folder &f) { PublicationRecords::AddRecord(f, fields, count); });
  Properties properties;
  properties.Read(folder.File());
  return properties;
}

using PublicationRecords::BorderRecord;

BorderRecord FullRecord() {
  BorderRecord record;
  record.graphical.right = 120;
  record.graphical.bottom = 80;
  record.style = 2;
  record.width = 5;
  record.radius = 7;
  record.colour1 = 0x00102030;
  record.colour2 = 0x00405060;
  record.opacity = 128;
  record.image = VORObjectKey{4, 1, 3};
  return record;
}

TEST(VORBorderRecordTest, ReadsTheSevenFieldsAfterTheGraphicalRecord) {
  const Properties properties = ReadRecord(FullRecord().Fields());
  EXPECT_EQ(properties.layoutRect, VORRect(0, 0, 120, 80));
  EXPECT_EQ(properties.style, 2);
  EXPECT_EQ(properties.width, 5);
  EXPECT_EQ(properties.radius, 7);
  EXPECT_EQ(properties.colour1, 0x00102030u);
  EXPECT_EQ(properties.colour2, 0x00405060u);
  EXPECT_EQ(properties.borderOpacity, 128);
  EXPECT_EQ(properties.borderImage, VORObjectCode(4, 1, 3));
}

TEST(VORBorderRecordTest, ARecordCutAfterEachFieldGivesTheMissingValues) {
  const std::vector<PublicationRecords::Field> fields = FullRecord().Fields();
  const size_t own = 7, first = fields.size() - own;
  for (size_t present = 0; present <= own; ++present) {
    const Properties properties = ReadRecord(fields, first + present);
    const std::string where = present < own ? "cut before " + fields[first + present].name : "whole";
    EXPECT_EQ(properties.style, present > 0 ? 2 : 0) << where;
    EXPECT_EQ(properties.width, present > 1 ? 5 : 0) << where; // the default is 1, a missing width 0
    EXPECT_EQ(properties.radius, present > 2 ? 7 : 0) << where;
    EXPECT_EQ(properties.colour1, present > 3 ? 0x00102030u : 0u) << where; // the default is white
    EXPECT_EQ(properties.colour2, present > 4 ? 0x00405060u : 0u) << where;
    EXPECT_EQ(properties.borderOpacity, present > 5 ? 128 : 256) << where;
    EXPECT_EQ(properties.borderImage, present > 6 ? VORObjectCode(4, 1, 3) : VORObjectCode::Zero()) << where;
  }
}

TEST(VORBorderRecordTest, NegativeLengthsAreKeptAndAnOpacityAboveSolidIsSolid) {
  BorderRecord record = FullRecord();
  record.width = -3;
  record.radius = -32768;
  record.opacity = 1000;
  const Properties properties = ReadRecord(record.Fields());
  EXPECT_EQ(properties.width, -3); // drawn as 0
  EXPECT_EQ(properties.radius, -32768);
  EXPECT_EQ(properties.borderOpacity, 256);
}

TEST(VORBorderRecordTest, DefaultsAndAWholeCopy) {
  const VORBorder::VORBorderProperties defaults;
  EXPECT_EQ(defaults.style, 0);
  EXPECT_EQ(defaults.width, 1);
  EXPECT_EQ(defaults.colour1, 0xFFFFFFu);
  EXPECT_EQ(defaults.horizontalSizing, 1);
  EXPECT_EQ(defaults.verticalSizing, 1);
  const Properties properties = ReadRecord(FullRecord().Fields());
  std::unique_ptr<VORObjectProperties> clone(properties.Clone());
  auto *copy = dynamic_cast<VORBorder::VORBorderProperties *>(clone.get());
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->style, 2);
  EXPECT_EQ(copy->width, 5);
  EXPECT_EQ(copy->radius, 7);
  EXPECT_EQ(copy->borderOpacity, 128);
  EXPECT_EQ(copy->borderImage, VORObjectCode(4, 1, 3));
  EXPECT_EQ(copy->layoutRect, properties.layoutRect);
}

} // namespace
