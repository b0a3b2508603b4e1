#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "support/PublicationRecords.h"
#include "support/WrittenFolder.h"
#include "transitions/VORBlindFX.h"
#include "transitions/VORBlockFX.h"
#include "transitions/VORFadeFX.h"
#include "transitions/VORPixelFX.h"
#include "transitions/VORScrollFX.h"
#include "transitions/VORShapeFX.h"
#include "transitions/VORSlideFX.h"
#include "transitions/VORZoomFX.h"

namespace {

using PublicationRecords::FXRecord;

// The parameters as a page stores them, the record cut after count fields.
VORFXParams ReadParams(const std::string &name, uint16_t code, const std::vector<PublicationRecords::Field> &fields,
                       size_t count = SIZE_MAX) {
  const FXRecord record{name, code, fields, count};
  WrittenFolder folder(
      [&](PublicationWriter::Folder &f) { PublicationRecords::AddRecord(f, {record.AsField("transition")}); });
  VORFXParams params;
  params.Read(folder.File());
  return params;
}

template <class Record>
const Record *As(const VORFXParams &params) {
  return dynamic_cast<const Record *>(params.GetProperties());
}

TEST(FXRecordsTest, EveryKindReadsItsFieldsInFileOrder) {
  using namespace PublicationRecords;
  auto fade = ReadParams("Fade", 10, FadeFXFields(700, 12, 0x00336699));
  ASSERT_NE(As<VORFadeFX::FadeFXProperties>(fade), nullptr);
  EXPECT_EQ(As<VORFadeFX::FadeFXProperties>(fade)->Fields(), std::make_tuple(700, 12, 0x00336699u));
  auto pixel = ReadParams("Pixel", 11, PixelFXFields(900, 2));
  EXPECT_EQ(As<VORPixelFX::PixelFXProperties>(pixel)->Fields(), std::make_tuple(900u, 2));
  auto blind = ReadParams("Blind", 8, BlindFXFields(6, 3, 400, 0, 1));
  EXPECT_EQ(As<VORBlindFX::BlindFXProperties>(blind)->Fields(), std::make_tuple(6, 3, 400, 0, 1));
  auto block = ReadParams("Block", 7, BlockFXFields(3, 5, 800, 9));
  EXPECT_EQ(As<VORBlockFX::BlockFXProperties>(block)->Fields(), std::make_tuple(3, 5, 800u, 9));
  auto scroll = ReadParams("Scroll", 9, ScrollFXFields(-1, 1, 300, 0));
  EXPECT_EQ(As<VORScrollFX::ScrollFXProperties>(scroll)->Fields(), std::make_tuple(-1, 1, 300u, 0));
  auto slide = ReadParams("Slide", 27, SlideFXFields(1, 0, 250));
  EXPECT_EQ(As<VORSlideFX::SlideFXProperties>(slide)->Fields(), std::make_tuple(1, 0, 250u));
  auto shape = ReadParams("Shape", 29, ShapeFXFields(2, -128, 7, 4, 3, 90, 650));
  EXPECT_EQ(As<VORShapeFX::ShapeFXProperties>(shape)->Fields(), std::make_tuple(2, -128, 7, 4, 3, 90, 650u));
  auto zoom = ReadParams("Zoom", 28, ZoomFXFields(450, 0x16));
  EXPECT_EQ(As<VORZoomFX::ZoomFXProperties>(zoom)->Fields(), std::make_tuple(450u, 0x16));
  EXPECT_STREQ(zoom.effectName.CStr(), "Zoom");
}

TEST(FXRecordsTest, NoRecordGivesTheNameAlone) {
  const VORFXParams params = ReadParams("Slide", 0, {});
  EXPECT_TRUE(params.HasEffect());
  EXPECT_EQ(params.GetProperties(), nullptr);
}

TEST(FXRecordsTest, ShapeAndZoomTakeTheirFallbacksFieldByField) {
  using Shape = VORShapeFX::ShapeFXProperties;
  const auto fields = PublicationRecords::ShapeFXFields(1, 300, 9, 2, 2, 45, 700);
  const std::tuple<uint8_t, int16_t, uint16_t, int32_t, int32_t, int32_t, uint32_t> expected[] = {
      {0, 0, 5, 1, 1, 0, 1000},   {1, 0, 5, 1, 1, 0, 1000},   {1, 300, 5, 1, 1, 0, 1000},  {1, 300, 9, 1, 1, 0, 1000},
      {1, 300, 9, 2, 1, 0, 1000}, {1, 300, 9, 2, 2, 0, 1000}, {1, 300, 9, 2, 2, 45, 1000}, {1, 300, 9, 2, 2, 45, 700}};
  for (size_t count = 0; count <= fields.size(); ++count) {
    const VORFXParams params = ReadParams("Shape", 29, fields, count);
    ASSERT_NE(As<Shape>(params), nullptr) << count;
    EXPECT_EQ(As<Shape>(params)->Fields(), expected[count]) << count;
  }
  using Zoom = VORZoomFX::ZoomFXProperties;
  const auto zoomFields = PublicationRecords::ZoomFXFields(300, 9);
  const std::tuple<uint32_t, uint8_t> zoomExpected[] = {{1000, 5}, {300, 5}, {300, 9}};
  for (size_t count = 0; count <= zoomFields.size(); ++count)
    EXPECT_EQ(As<Zoom>(ReadParams("Zoom", 28, zoomFields, count))->Fields(), zoomExpected[count]) << count;
}

TEST(FXRecordsTest, FadeLacksOnlyItsColourOthersFailWhenCut) {
  using namespace PublicationRecords;
  const VORFXParams fade = ReadParams("Fade", 10, FadeFXFields(700, 12, 0x112233), 2);
  ASSERT_NE(As<VORFadeFX::FadeFXProperties>(fade), nullptr);
  EXPECT_EQ(As<VORFadeFX::FadeFXProperties>(fade)->colour, 0xFFFFFFFFu);
  // A record cut before a field it must have leaves no transition at all.
  const struct {
    const char *name;
    uint16_t code;
    std::vector<Field> fields;
  } kinds[] = {{"Fade", 10, FadeFXFields(1, 2, 3)},        {"Pixel", 11, PixelFXFields(1, 2)},
               {"Blind", 8, BlindFXFields(1, 2, 3, 4, 5)}, {"Block", 7, BlockFXFields(1, 2, 3, 4)},
               {"Scroll", 9, ScrollFXFields(1, 2, 3, 4)},  {"Slide", 27, SlideFXFields(1, 2, 3)}};
  for (const auto &kind : kinds) {
    const size_t required = kind.code == 10 ? 2 : kind.fields.size();
    for (size_t count = 0; count < required; ++count) {
      const VORFXParams params = ReadParams(kind.name, kind.code, kind.fields, count);
      EXPECT_FALSE(params.HasEffect()) << kind.name << " cut after " << count;
      EXPECT_EQ(params.GetProperties(), nullptr);
    }
  }
}

TEST(FXRecordsTest, CopiesCloneTheRecordAndCompareByField) {
  VORFXParams params = ReadParams("Block", 7, PublicationRecords::BlockFXFields(3, 5, 800, 9));
  const VORFXParams copy = params;
  ASSERT_NE(copy.GetProperties(), nullptr);
  EXPECT_NE(copy.GetProperties(), params.GetProperties());
  EXPECT_TRUE(copy.GetProperties()->IsEqual(*params.GetProperties()));
  VORBlockFX::BlockFXProperties other;
  EXPECT_FALSE(other.IsEqual(*params.GetProperties()));
  // Another class is not equal, and asking is no failure.
  VORFadeFX::FadeFXProperties fade;
  EXPECT_FALSE(fade.IsEqual(other));
  VORFXParams assigned;
  assigned = copy;
  EXPECT_STREQ(assigned.effectName.CStr(), "Block");
  EXPECT_TRUE(assigned.GetProperties()->IsEqual(*copy.GetProperties()));
}

} // namespace
