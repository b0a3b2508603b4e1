#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "support/PublicationRecords.h"
#include "support/WrittenFolder.h"
#include "vorfile/VORFileException.h"

#include "objects/VORScrollbar.h"
#include "objects/VORScrollbarObjectAction.h"

namespace {

using PublicationRecords::Field;
using PublicationRecords::ScrollbarAction;
using PublicationRecords::ScrollbarRecord;
using Properties = VORScrollbar::VORScrollbarProperties;

constexpr uint32_t kOldVersion = 0x100001;
constexpr uint32_t kNewVersion = 0x100002;

void ReadInto(Properties &properties, const ScrollbarRecord &record, size_t count = SIZE_MAX) {
  const std::vector<Field> fields = record.Fields();
  WrittenFolder folder([&](PublicationWriter::Folder &f) { PublicationRecords::AddRecord(f, fields, count); },
                       record.fileVersion);
  properties.Read(folder.File());
}

// Every field differs from its default.
ScrollbarRecord Unusual(uint32_t version) {
  ScrollbarRecord record;
  record.fileVersion = version;
  record.target = VORObjectKey{1, 4, 9};
  record.autoLayout = 0;
  record.upButton = VORObjectKey{1, 2, 11};
  record.downButton = VORObjectKey{1, 2, 12};
  record.thumb = VORObjectKey{1, 2, 13};
  record.track = VORObjectKey{1, 7, 14};
  record.thumbSize = 0.25;
  record.position = 0.75;
  record.frame = 1;
  record.proportionalThumb = 0;
  record.hotSpot.autoRepeat = 1;
  return record;
}

size_t IndexOf(const std::vector<Field> &fields, const std::string &name) {
  for (size_t i = 0; i < fields.size(); ++i)
    if (fields[i].name == name)
      return i;
  ADD_FAILURE() << "no field " << name;
  return 0;
}

// Old files carry four more references between the buttons and the thumb:
// read in the wrong version, every later field would be off by 32 bytes.
TEST(VORScrollbarRecordTest, ReadsItsOwnFieldsBeforeTheHotSpotsInEitherVersion) {
  for (const uint32_t version : {0u, kOldVersion, kNewVersion}) {
    SCOPED_TRACE(version);
    Properties properties;
    ReadInto(properties, Unusual(version));
    EXPECT_EQ(properties.target, VORObjectCode(1, 4, 9));
    EXPECT_EQ(properties.autoLayout, 0u);
    EXPECT_EQ(properties.upButton, VORObjectCode(1, 2, 11));
    EXPECT_EQ(properties.downButton, VORObjectCode(1, 2, 12));
    EXPECT_EQ(properties.thumb, VORObjectCode(1, 2, 13));
    EXPECT_EQ(properties.track, VORObjectCode(1, 7, 14));
    EXPECT_EQ(properties.thumbSize, 0.25);
    EXPECT_EQ(properties.position, 0.75);
    EXPECT_EQ(properties.frame, 1);
    EXPECT_EQ(properties.proportionalThumb, 0);
    EXPECT_EQ(properties.autoRepeat, 1) << "the hotspot's record follows";
    const Properties copy(properties);
    EXPECT_EQ(copy.track, VORObjectCode(1, 7, 14));
    EXPECT_EQ(copy.position, 0.75);
  }
}

// A record cut after any of the scrollbar's fields keeps what it holds and
// takes the defaults of the rest; the hotspot's record that should follow
// is then missing, which the file layer reports as for any object.
TEST(VORScrollbarRecordTest, ARecordCutAfterEachOwnFieldTakesTheDefaultsOfTheRest) {
  const ScrollbarRecord record = Unusual(kNewVersion);
  const std::vector<Field> fields = record.Fields();
  const std::vector<std::string> order = {"target", "auto layout", "up button", "down button", "thumb",
                                          "track",  "thumb size",  "position",  "frame",       "proportional thumb"};
  for (size_t held = 0; held <= order.size(); ++held) {
    SCOPED_TRACE(held);
    const size_t count = held == 0 ? 0 : IndexOf(fields, order[held - 1]) + 1;
    Properties properties;
    EXPECT_THROW(ReadInto(properties, record, count), VORFileNonFatalException);
    const auto has = [&](const char *name) {
      for (size_t i = 0; i < held; ++i)
        if (order[i] == name)
          return true;
      return false;
    };
    EXPECT_EQ(properties.target, has("target") ? VORObjectCode(1, 4, 9) : VORObjectCode::Zero());
    EXPECT_EQ(properties.autoLayout, has("auto layout") ? 0u : 1u);
    EXPECT_EQ(properties.downButton, has("down button") ? VORObjectCode(1, 2, 12) : VORObjectCode::Zero());
    EXPECT_EQ(properties.track, has("track") ? VORObjectCode(1, 7, 14) : VORObjectCode::Zero());
    EXPECT_EQ(properties.thumbSize, has("thumb size") ? 0.25 : 0.1);
    EXPECT_EQ(properties.position, has("position") ? 0.75 : 0.0);
    EXPECT_EQ(properties.frame, has("frame") ? 1 : 0);
    EXPECT_EQ(properties.proportionalThumb, has("proportional thumb") ? 0 : 1);
  }
}

TEST(VORScrollbarRecordTest, FractionsFromTheFileAreKeptWithinZeroAndOne) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    double size, position, expectedSize, expectedPosition;
  };
  const Case cases[] = {
      {1.5, -0.2, 1.0, 0.0},
      {-3.0, 7.0, 0.0, 1.0},
      {nan, nan, 0.1, 0.0}, // NaN takes the defaults
      {std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(), 1.0, 0.0},
  };
  for (const Case &c : cases) {
    ScrollbarRecord record = Unusual(kNewVersion);
    record.thumbSize = c.size;
    record.position = c.position;
    Properties properties;
    ReadInto(properties, record);
    EXPECT_EQ(properties.thumbSize, c.expectedSize) << c.size;
    EXPECT_EQ(properties.position, c.expectedPosition) << c.position;
  }
}

VORScrollbarObjectAction ReadAction(const ScrollbarAction &written) {
  WrittenFolder folder([&](PublicationWriter::Folder &f) { written.Object().AddTo(f); });
  VORScrollbarObjectAction action(VORScrollbarObjectAction::kClassKey, static_cast<int32_t>(written.id));
  action.Read(folder.File());
  return action;
}

TEST(VORScrollbarRecordTest, TheActionsFieldsAreOptionalAndAMissingSizeIsWhole) {
  ScrollbarAction written;
  written.fields.code = 607;
  written.kind = 0x100;
  written.second = 3;
  written.position = 0.5;
  written.size = 0.2;
  struct Cut {
    size_t fields;
    uint16_t kind, second;
    double position, size;
  };
  const Cut cuts[] = {
      {0, 0, 0, 0.0, 1.0},     {1, 0x100, 0, 0.0, 1.0}, {2, 0x100, 3, 0.0, 1.0},
      {3, 0x100, 3, 0.5, 1.0}, {4, 0x100, 3, 0.5, 0.2},
  };
  for (const Cut &cut : cuts) {
    SCOPED_TRACE(cut.fields);
    written.ownFieldCount = cut.fields;
    const VORScrollbarObjectAction action = ReadAction(written);
    EXPECT_EQ(action.GetActionCode(), 607);
    EXPECT_EQ(action.kind, cut.kind);
    EXPECT_EQ(action.second, cut.second);
    EXPECT_EQ(action.position, cut.position);
    EXPECT_EQ(action.size, cut.size);
    const std::unique_ptr<VORObjectAction> clone(action.Clone());
    const auto *copy = dynamic_cast<const VORScrollbarObjectAction *>(clone.get());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->size, cut.size);
    EXPECT_EQ(copy->kind, cut.kind);
  }
  EXPECT_EQ(VORScrollbarObjectAction(VORScrollbarObjectAction::kClassKey, 0).size, 0.1) << "a new action";
}

} // namespace
