#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "browser/VORBrowser.h"
#include "support/PublicationRecords.h"
#include "support/WrittenFolder.h"

namespace {

using Properties = VORBrowser::VORBrowserProperties;
using PublicationRecords::BrowserRecord;

Properties ReadRecord(const std::vector<PublicationRecords::Field> &fields, size_t count = SIZE_MAX) {
  WrittenFolder folder([&](PublicationWriter::Folder &f) { PublicationRecords::AddRecord(f, fields, count); });
  Properties properties;
  properties.Read(folder.File());
  return properties;
}

// Every field set away from its default.
BrowserRecord FullRecord() {
  BrowserRecord record;
  record.graphical.right = 320;
  record.graphical.bottom = 200;
  record.navigateOnShow = 0;
  record.startUrl = "http://example.org/";
  record.askToConnect = 1;
  record.frame = 0;
  record.statusBand = 0;
  record.resolveMode = 2;
  record.systemBrowserFallback = 1;
  return record;
}

TEST(VORBrowserRecordTest, ReadsTheSevenFieldsAfterTheGraphicalRecord) {
  const Properties properties = ReadRecord(FullRecord().Fields());
  EXPECT_EQ(properties.layoutRect, VORRect(0, 0, 320, 200));
  EXPECT_EQ(properties.navigateOnShow, 0);
  EXPECT_STREQ(properties.startUrl.CStr(), "http://example.org/");
  EXPECT_EQ(properties.askToConnect, 1);
  EXPECT_EQ(properties.frame, 0);
  EXPECT_EQ(properties.statusBand, 0);
  EXPECT_EQ(properties.resolveMode, 2);
  EXPECT_EQ(properties.systemBrowserFallback, 1);
}

TEST(VORBrowserRecordTest, ARecordCutAfterEachFieldGivesTheDefaults) {
  const std::vector<PublicationRecords::Field> fields = FullRecord().Fields();
  const size_t own = 7, first = fields.size() - own;
  for (size_t present = 0; present <= own; ++present) {
    const Properties properties = ReadRecord(fields, first + present);
    const std::string where = present < own ? "cut before " + fields[first + present].name : "whole";
    EXPECT_EQ(properties.navigateOnShow, present > 0 ? 0 : 1) << where;
    EXPECT_STREQ(properties.startUrl.CStr(), present > 1 ? "http://example.org/" : "") << where;
    EXPECT_EQ(properties.askToConnect, present > 2 ? 1 : 0) << where;
    EXPECT_EQ(properties.frame, present > 3 ? 0 : 1) << where;
    EXPECT_EQ(properties.statusBand, present > 4 ? 0 : 1) << where;
    EXPECT_EQ(properties.resolveMode, present > 5 ? 2 : 0) << where;
    EXPECT_EQ(properties.systemBrowserFallback, present > 6 ? 1 : 0) << where;
  }
}

// A copy is one assignment: every field, the base's included.
TEST(VORBrowserRecordTest, CopiesWhole) {
  const Properties read = ReadRecord(FullRecord().Fields());
  Properties copy;
  copy.Assign(read);
  EXPECT_EQ(copy.layoutRect, read.layoutRect);
  EXPECT_STREQ(copy.startUrl.CStr(), "http://example.org/");
  EXPECT_EQ(copy.systemBrowserFallback, 1);
  const std::unique_ptr<VORObjectProperties> clone(read.Clone());
  EXPECT_EQ(static_cast<Properties &>(*clone).resolveMode, 2);
}

} // namespace
