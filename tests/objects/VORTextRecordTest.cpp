#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/PublicationRecords.h"
#include "support/WrittenFolder.h"
#include "vorfile/VORFileException.h"

#include "model/VORClassRegistry.h"
#include "model/VORTrigger.h"
#include "objects/VORText.h"

namespace {

using PublicationRecords::Field;
using PublicationRecords::TextLinkRecord;
using PublicationRecords::TextRecord;
using Properties = VORText::VORTextProperties;

void ReadInto(Properties &properties, const std::vector<Field> &fields, size_t count = SIZE_MAX) {
  WrittenFolder folder([&](PublicationWriter::Folder &f) { PublicationRecords::AddRecord(f, fields, count); });
  properties.Read(folder.File());
}

TextRecord LinkedText() {
  TextRecord record;
  record.rtf = "{\\rtf1 a {\\id5 link} b}";
  record.verticalAlignment = 2;
  record.textFlags = 0x3;
  record.tabWidth = 40;
  record.shadowX = 1;
  record.shadowY = 2;
  record.defaultStyle.mask = 0x80;
  record.defaultStyle.textColour = 0x112233;
  record.segmentTags = {7, 8};
  record.segmentEnds = {1000, 2500};
  record.sound = VORObjectKey{2, 0, 9};
  record.inputFlags = 0x1;
  record.inputVariable = "NAME";
  record.maxLength = 3;
  TextLinkRecord link;
  link.id = 5;
  link.events.triggers = {PublicationRecords::MouseTrigger(1, 2)};
  link.events.indexes = {0};
  record.links = {link};
  record.linkStyles[2].mask = 0x80;
  record.linkStyles[2].textColour = 0x00FF00;
  record.scrollbar = VORObjectKey{1, 0x10, 4};
  record.externalText = VORObjectKey{4, 0, 3};
  record.scrollMode = 2;
  record.smoothText = 0;
  return record;
}

size_t IndexOf(const std::vector<Field> &fields, const std::string &name) {
  for (size_t i = 0; i < fields.size(); ++i)
    if (fields[i].name == name)
      return i;
  ADD_FAILURE() << "no field " << name;
  return 0;
}

TEST(VORTextRecordTest, ReadsEveryFieldInFileOrder) {
  Properties properties;
  ReadInto(properties, LinkedText().Fields());
  EXPECT_EQ(properties.rtfText, "{\\rtf1 a {\\id5 link} b}");
  EXPECT_EQ(properties.verticalAlignment, 2);
  EXPECT_EQ(properties.textFlags, 0x3u);
  EXPECT_EQ(properties.defaultTabWidth, 40);
  EXPECT_EQ(properties.shadowY, 2);
  EXPECT_EQ(properties.defaultStyle.GetTextColor(), 0x112233u);
  EXPECT_EQ(properties.segmentTags, (std::vector<int32_t>{7, 8}));
  EXPECT_EQ(properties.segmentEnds, (std::vector<uint32_t>{1000, 2500}));
  EXPECT_EQ(properties.readAlongSound, VORObjectCode(2, 0, 9));
  EXPECT_EQ(properties.inputVariable, "NAME");
  EXPECT_EQ(properties.maxLength, 3u);
  ASSERT_EQ(properties.links.size(), 1u);
  EXPECT_EQ(properties.links[0]->linkId, 5);
  EXPECT_EQ(properties.links[0]->eventMap.GetCount(), 1u);
  EXPECT_EQ(properties.linkStyles[2].GetTextColor(), 0x00FF00u);
  EXPECT_EQ(properties.scrollbar, VORObjectCode(1, 0x10, 4));
  EXPECT_EQ(properties.externalText, VORObjectCode(4, 0, 3));
  EXPECT_EQ(properties.scrollMode, 2);
  EXPECT_EQ(properties.smoothText, 0);
  EXPECT_TRUE(properties.needsPush);
}

TEST(VORTextRecordTest, ARecordCutAfterEachOptionalFieldTakesTheDefaultsOfTheRest) {
  TextRecord record = LinkedText();
  record.inputFlags = 0;
  const std::vector<Field> fields = record.Fields();
  struct Cut {
    const char *after;
    bool scrollbar, external, linkMap, mode, smooth;
  };
  const Cut cuts[] = {
      {"link events", false, false, false, false, false}, {"scrollbar", true, false, false, false, false},
      {"external text", true, true, false, false, false}, {"link event map", true, true, true, false, false},
      {"scroll mode", true, true, true, true, false},     {"smooth text", true, true, true, true, true},
  };
  for (const Cut &cut : cuts) {
    SCOPED_TRACE(cut.after);
    Properties properties;
    ReadInto(properties, fields, IndexOf(fields, cut.after) + 1);
    EXPECT_EQ(properties.segmentTags.size(), 2u);
    ASSERT_EQ(properties.links.size(), 1u);
    EXPECT_EQ(properties.links[0]->eventMap.GetCount(), cut.linkMap ? 1u : 0u);
    EXPECT_EQ(properties.scrollbar, cut.scrollbar ? VORObjectCode(1, 0x10, 4) : VORObjectCode::Zero());
    EXPECT_EQ(properties.externalText, cut.external ? VORObjectCode(4, 0, 3) : VORObjectCode::Zero());
    EXPECT_EQ(properties.scrollMode, cut.mode ? 2 : 0);
    EXPECT_EQ(properties.smoothText, cut.smooth ? 0 : 1);
  }
  // The segments, the sound and the input flags may be missing only with
  // everything after them; the link count that follows is required.
  for (const char *after : {"highlight style", "segments", "read-along sound", "input flags"}) {
    SCOPED_TRACE(after);
    Properties properties;
    EXPECT_THROW(ReadInto(properties, fields, IndexOf(fields, after) + 1), VORFileNonFatalException);
  }
}

TEST(VORTextRecordTest, AnInputFieldWithoutItsMaximumLengthIsUnlimited) {
  TextRecord record = LinkedText();
  const std::vector<Field> fields = record.Fields();
  Properties properties;
  // Cut after the variable's name: the links that follow are then missing,
  // which a record may not lack.
  EXPECT_THROW(ReadInto(properties, fields, IndexOf(fields, "input variable") + 1), VORFileNonFatalException);
  EXPECT_EQ(properties.inputVariable, "NAME");
  EXPECT_EQ(properties.maxLength, 0u);
}

TEST(VORTextRecordTest, CountsTheRecordCannotHoldAreRefusedBeforeAnythingIsAllocated) {
  // 0x40000001 entries of 4 bytes wrap to 4 bytes in 32 bits.
  for (const bool inLinks : {false, true}) {
    SCOPED_TRACE(inLinks ? "links" : "segments");
    TextRecord record = LinkedText();
    if (inLinks)
      record.linkCount = 0x40000001;
    else
      record.segmentCount = 0x40000001;
    Properties properties;
    EXPECT_THROW(ReadInto(properties, record.Fields()), VORFileCorruptFileException);
  }
}

TEST(VORTextRecordTest, AGraphicalRecordWithItsLeadingByteSetHasNoTextFields) {
  TextRecord record = LinkedText();
  record.hotSpot.graphical.leadingFlags = 1;
  Properties properties;
  ReadInto(properties, record.Fields());
  EXPECT_TRUE(properties.rtfText.empty());
  EXPECT_EQ(properties.inputFlags, Properties::kDefaultInputFlags);
  EXPECT_EQ(properties.linkStyles[0].GetTextColor(), 0x6464C8u);
  EXPECT_EQ(properties.highlightStyle.GetTextColor(), 0x6464FFu);
}

TEST(VORTextRecordTest, ACopyClonesTheLinksAndNeedsAPush) {
  Properties properties;
  ReadInto(properties, LinkedText().Fields());
  properties.needsPush = false;
  const Properties copy(properties);
  ASSERT_EQ(copy.links.size(), 1u);
  EXPECT_NE(copy.links[0].get(), properties.links[0].get());
  EXPECT_EQ(copy.links[0]->eventMap.GetCount(), 1u);
  EXPECT_TRUE(copy.needsPush);
}

// A host that records what the link asked of its text.
class RecordingHost : public VORHypertextLinkHost {
public:
  void ApplyLinkStyle(int32_t linkId, int32_t state) override { applied.emplace_back(linkId, state); }
  void SetOverLink(bool over) override { overLink = over; }
  std::vector<std::pair<int32_t, int32_t>> applied;
  bool overLink = false;
};

TEST(VORTextLinkTest, PointerStatesFollowEnterPressReleaseAndLeave) {
  VORText::VORHypertextLink link;
  link.linkId = 5;
  RecordingHost host;
  struct Step {
    int32_t code;
    bool hit;
    int32_t state;
    bool over;
  };
  const Step steps[] = {
      {VORText::kMouseMoved, false, VORText::kLinkNormal, false},
      {VORText::kMouseMoved, true, VORText::kLinkHover, true},
      {VORText::kMouseLeftDown, true, VORText::kLinkPressed, true},
      {VORText::kMouseLeftUp, true, VORText::kLinkHover, true},
      {VORText::kMouseRightDown, false, VORText::kLinkHover, true},
      {VORText::kMouseMoved, false, VORText::kLinkNormal, false},
      {VORText::kMouseLeftDown, false, VORText::kLinkNormal, false},
  };
  for (const Step &step : steps) {
    link.HandleMouseEvent(host, step.code, 0, step.hit);
    EXPECT_EQ(link.hoverState, step.state) << "code " << step.code;
    EXPECT_EQ(host.overLink, step.over) << "code " << step.code;
  }
  const std::vector<std::pair<int32_t, int32_t>> applied = {{5, 2}, {5, 3}, {5, 2}, {5, 0}};
  EXPECT_EQ(host.applied, applied);
}

} // namespace
