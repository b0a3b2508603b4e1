#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "support/PublicationRecords.h"
#include "support/WrittenFolder.h"
#include "vorfile/VORFileException.h"

#include "objects/VORButton.h"
#include "objects/VORHotSpot.h"

namespace {

using PublicationRecords::ButtonRecord;
using PublicationRecords::Field;
using PublicationRecords::HotSpotRecord;

template <class Properties>
Properties ReadRecord(const std::vector<Field> &fields, size_t count = SIZE_MAX) {
  WrittenFolder folder([&](PublicationWriter::Folder &f) { PublicationRecords::AddRecord(f, fields, count); });
  Properties properties;
  properties.Read(folder.File());
  return properties;
}

HotSpotRecord RepeatingHotSpot() {
  HotSpotRecord record;
  record.flags = 0x12;
  record.cursor = {0, "hand.cur"};
  record.pressedCursor = {0, "%7F89"};
  record.autoRepeat = 1;
  return record;
}

TEST(VORHotSpotRecordTest, ReadsFlagsPointersAndRepeat) {
  using Properties = VORHotSpot::VORHotSpotProperties;
  const Properties properties = ReadRecord<Properties>(RepeatingHotSpot().Fields());
  EXPECT_EQ(properties.flags, 0x12u);
  EXPECT_STREQ(properties.cursor.GetFileName().CStr(), "hand.cur");
  EXPECT_STREQ(properties.pressedCursor.GetFileName().CStr(), "%7F89");
  EXPECT_EQ(properties.autoRepeat, 1);
}

TEST(VORHotSpotRecordTest, ARecordCutBeforeTheRepeatByteNeverRepeats) {
  using Properties = VORHotSpot::VORHotSpotProperties;
  const std::vector<Field> fields = RepeatingHotSpot().Fields();
  const Properties properties = ReadRecord<Properties>(fields, fields.size() - 1);
  EXPECT_EQ(properties.autoRepeat, 0);
  EXPECT_EQ(properties.flags, 0x12u);
  // Cut earlier, inside the required fields, the record is damaged.
  EXPECT_THROW(ReadRecord<Properties>(fields, fields.size() - 2), VORFileNonFatalException);
}

TEST(VORHotSpotRecordTest, NewRecordsPassEveryEventOn) {
  const VORHotSpot::VORHotSpotProperties properties;
  EXPECT_EQ(properties.flags, 255u);
  EXPECT_EQ(properties.autoRepeat, 0);
}

ButtonRecord PictureButton() {
  ButtonRecord record;
  record.hotSpot = RepeatingHotSpot();
  record.buttonFlags = 0x06;
  record.normalImage = VORObjectKey{4, 1, 31};
  record.pressedImage = VORObjectKey{4, 1, 32};
  record.faceColor = 0x00102030;
  record.lightColor = 0x00405060;
  record.darkColor = 0x00708090;
  record.bevelWidth = 3;
  return record;
}

TEST(VORButtonRecordTest, ReadsTheHotSpotRecordThenTheButtonFields) {
  using Properties = VORButton::VORButtonProperties;
  const Properties properties = ReadRecord<Properties>(PictureButton().Fields());
  EXPECT_EQ(properties.autoRepeat, 1);
  EXPECT_EQ(properties.buttonFlags, 0x06);
  EXPECT_EQ(properties.normalImage, VORObjectCode(4, 1, 31));
  EXPECT_EQ(properties.pressedImage, VORObjectCode(4, 1, 32));
  EXPECT_TRUE(properties.highlightImage.IsNone());
  EXPECT_EQ(properties.faceColor, 0x00102030u);
  EXPECT_EQ(properties.lightColor, 0x00405060u);
  EXPECT_EQ(properties.darkColor, 0x00708090u);
  EXPECT_EQ(properties.bevelWidth, 3);

  std::unique_ptr<VORObjectProperties> clone(properties.Clone());
  auto *copy = dynamic_cast<Properties *>(clone.get());
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->bevelWidth, 3);
  EXPECT_EQ(copy->pressedImage, properties.pressedImage);
  // A copy carries the button and move bits; the double-click bits stay
  // those of the record copied into (a new one passes them on).
  EXPECT_EQ(copy->flags, 0xFEu);
}

TEST(VORButtonRecordTest, TheButtonFieldsAreRequired) {
  const std::vector<Field> fields = PictureButton().Fields();
  const size_t buttonFields = 8;
  for (size_t cut = fields.size() - buttonFields; cut < fields.size(); ++cut)
    EXPECT_THROW(ReadRecord<VORButton::VORButtonProperties>(fields, cut), VORFileNonFatalException)
        << "cut before " << fields[cut].name;
}

TEST(VORButtonRecordTest, DefaultsDrawAnOutlinedGreyBevel) {
  const VORButton::VORButtonProperties properties;
  EXPECT_EQ(properties.buttonFlags, 0x11);
  EXPECT_EQ(properties.faceColor, 0xC0C0C0u);
  EXPECT_EQ(properties.lightColor, 0xFFFFFFu);
  EXPECT_EQ(properties.darkColor, 0u);
  EXPECT_EQ(properties.bevelWidth, 2);
}

TEST(VORButtonRecordTest, PictureChoiceFallsBackToTheNormalPicture) {
  struct Case {
    int16_t state;
    bool normal, pressed, highlight;
    int32_t expected;
  } cases[] = {
      {VORButton::kNormal, true, true, true, 0},       {VORButton::kPressed, true, true, true, 1},
      {VORButton::kPressed, true, false, true, 0},     {VORButton::kPressed, false, false, false, -1},
      {VORButton::kHighlighted, true, true, false, 0}, {VORButton::kHighlighted, false, true, true, 2},
      {VORButton::kNormal, false, true, true, -1},
  };
  for (const Case &c : cases)
    EXPECT_EQ(VORButton::PictureIndexFor(c.state, c.normal, c.pressed, c.highlight), c.expected)
        << c.state << c.normal << c.pressed << c.highlight;
}

} // namespace
