#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/PublicationRecords.h"
#include "support/WrittenFolder.h"

#include "objects/VORSlideshow.h"

namespace {

using PublicationRecords::Field;
using PublicationRecords::SlideshowRecord;
using Properties = VORSlideshow::VORSlideshowProperties;

Properties ReadRecord(const std::vector<Field> &fields, size_t count = SIZE_MAX) {
  WrittenFolder folder([&](PublicationWriter::Folder &f) { PublicationRecords::AddRecord(f, fields, count); });
  Properties properties;
  properties.Read(folder.File());
  return properties;
}

SlideshowRecord TwoSlides() {
  SlideshowRecord record;
  record.slideFlags = 0x03;
  record.repeatCount = -1;
  record.slides = {{1500, VORObjectKey{4, 1, 10}, {"Fade", 10, PublicationRecords::FadeFXFields(300, 8, 0)}},
                   {2500, VORObjectKey{4, 1, 11}, {}}};
  return record;
}

TEST(VORSlideshowRecordTest, ReadsFlagsRepeatDelaysSlidesAndTransitions) {
  const Properties properties = ReadRecord(TwoSlides().Fields());
  EXPECT_EQ(properties.slideFlags, 0x03);
  EXPECT_EQ(properties.repeatCount, -1);
  ASSERT_EQ(properties.GetSlideCount(), 2);
  EXPECT_EQ(properties.delays, (std::vector<uint32_t>{1500, 2500}));
  EXPECT_TRUE(properties.references[1].Equals(VORObjectCode(4, 1, 11)));
  ASSERT_EQ(properties.transitions.size(), 2u);
  EXPECT_STREQ(properties.transitions[0].effectName.CStr(), "Fade");
  EXPECT_FALSE(properties.transitions[1].HasEffect());
}

// Cut after each of its fields, the record keeps what it holds: the flags
// start by themselves, no repeat, and only slides whose delay and reference
// are both there.
TEST(VORSlideshowRecordTest, ARecordCutAfterEachFieldKeepsWholeSlides) {
  const std::vector<Field> fields = TwoSlides().Fields();
  const size_t hotSpotFields = PublicationRecords::HotSpotRecord().Fields().size();
  struct Expected {
    uint16_t flags;
    int16_t repeat;
    uint16_t slides;
  };
  // Cut after: the hotspot, flags, repeat, count, delay 0, delay 1, slide 0,
  // slide 1, transition 0, transition 1.
  const Expected expected[] = {{1, 0, 0},  {3, 0, 0},  {3, -1, 0}, {3, -1, 0}, {3, -1, 0},
                               {3, -1, 0}, {3, -1, 1}, {3, -1, 2}, {3, -1, 2}, {3, -1, 2}};
  for (size_t cut = 0; cut < std::size(expected); ++cut) {
    SCOPED_TRACE("fields " + std::to_string(hotSpotFields + cut));
    const Properties properties = ReadRecord(fields, hotSpotFields + cut);
    EXPECT_EQ(properties.slideFlags, expected[cut].flags);
    EXPECT_EQ(properties.repeatCount, expected[cut].repeat);
    EXPECT_EQ(properties.GetSlideCount(), expected[cut].slides);
    EXPECT_EQ(properties.delays.size(), properties.references.size());
    EXPECT_EQ(properties.transitions.size(), properties.references.size());
  }
}

TEST(VORSlideshowRecordTest, ACountBeyondTheRecordKeepsTheSlidesItHolds) {
  SlideshowRecord record = TwoSlides();
  record.countOverride = 0xFFFF;
  const Properties properties = ReadRecord(record.Fields());
  // The two delays and references read as four delays, none whole.
  EXPECT_EQ(properties.GetSlideCount(), 0);
  EXPECT_TRUE(properties.transitions.empty());
}

TEST(VORSlideshowRecordTest, ACopyCarriesTheSlides) {
  const Properties read = ReadRecord(TwoSlides().Fields());
  Properties copy;
  copy.Assign(read);
  EXPECT_EQ(copy.GetSlideCount(), 2);
  EXPECT_STREQ(copy.transitions[0].effectName.CStr(), "Fade");
}

} // namespace
