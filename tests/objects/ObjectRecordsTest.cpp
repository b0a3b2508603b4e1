#include <gtest/gtest.h>

#include <memory>

#include "model/VORClassRegistry.h"
#include "objects/VORExternalResourceObject.h"
#include "objects/VORGraphicalObject.h"
#include "objects/VORHotSpot.h"
#include "objects/VORInternalResourceObject.h"
#include "support/FakeApp.h"
#include "support/PublicationRecords.h"
#include "support/WrittenFolder.h"
#include "vorfile/VORFileException.h"

using namespace PublicationRecords;
using Properties = VORGraphicalObject::VORGraphicalObjectProperties;

namespace {

// A record whose every field differs from its default.
GraphicalRecord Unusual() {
  GraphicalRecord record;
  record.leadingFlags = 7;
  record.showEffect = "Fade";
  record.left = 1;
  record.top = 2;
  record.right = 3;
  record.bottom = 4;
  record.horizontalSizing = 0;
  record.verticalSizing = 2;
  record.opacity = 100;
  record.blendX = -1;
  record.blendY = 9;
  record.transparentColour = 1;
  record.showAnimation = VORObjectKey{0, 9, 1};
  record.visibleAtStart = 0;
  record.showDelay = 500;
  record.shadowX = 5;
  record.shadowY = -6;
  record.shadowColour = 0x123456;
  record.shadowOpacity = 300;
  record.draggable = 1;
  record.glideBack = 250;
  record.acceptsDrops = 1;
  record.linkedResource = VORObjectKey{4, 0, 3};
  record.acceptedObjects = {VORObjectKey{1, 3, 8}};
  record.dropTargets = {VORObjectKey{1, 3, 9}, VORObjectKey{1, 3, 10}};
  record.fitMode = 2;
  record.transparencyKind = 1;
  record.keyColour = 0x00FF00;
  record.keepAspect = 0;
  record.hideDelay = 3000;
  record.modalTransition = 1;
  return record;
}

// Reads the first count fields as a graphical object's record.
Properties ReadCut(const std::vector<Field> &fields, size_t count) {
  WrittenFolder folder([&](PublicationWriter::Folder &f) { AddRecord(f, fields, count); });
  Properties properties;
  properties.Read(folder.File());
  return properties;
}

size_t IndexOf(const std::vector<Field> &fields, const std::string &name) {
  for (size_t i = 0; i < fields.size(); ++i)
    if (fields[i].name == name)
      return i;
  ADD_FAILURE() << "no field " << name;
  return fields.size();
}

TEST(GraphicalPropertiesTest, ReadsEveryFieldInFileOrder) {
  const std::vector<Field> fields = Unusual().Fields();
  const Properties p = ReadCut(fields, SIZE_MAX);
  EXPECT_EQ(p.leadingFlags, 7);
  EXPECT_STREQ(p.showTransition.effectName.GetText(), "Fade");
  EXPECT_FALSE(p.hideTransition.HasEffect());
  EXPECT_EQ(p.layoutRect, VORRect(1, 2, 3, 4));
  EXPECT_EQ(p.horizontalSizing, 0);
  EXPECT_EQ(p.verticalSizing, 2);
  EXPECT_EQ(p.opacity, 100);
  EXPECT_EQ(p.blendOffset, (VORPoint{-1, 9}));
  EXPECT_EQ(p.transparentColourFlag, 1);
  EXPECT_TRUE(p.showAnimation.Equals(VORObjectCode(0, 9, 1)));
  EXPECT_EQ(p.visibleAtStart, 0);
  EXPECT_EQ(p.showDelay, 500);
  EXPECT_EQ(p.shadowOffset, (VORPoint{5, -6}));
  EXPECT_EQ(p.shadowColour, 0x123456u);
  EXPECT_EQ(p.shadowOpacity, 256) << "clamped";
  EXPECT_EQ(p.glideBackDuration, 250);
  EXPECT_EQ(p.acceptsDrops, 1);
  EXPECT_TRUE(p.linkedResource.Equals(VORObjectCode(4, 0, 3)));
  ASSERT_EQ(p.acceptedObjects.size(), 1u);
  ASSERT_EQ(p.dropTargets.size(), 2u);
  EXPECT_TRUE(p.dropTargets[1].Equals(VORObjectCode(1, 3, 10)));
  EXPECT_EQ(p.imageLayout.fitMode, 2);
  EXPECT_EQ(p.imageLayout.keyColor, 0x00FF00u);
  EXPECT_EQ(p.imageLayout.keepAspect, 0);
  EXPECT_EQ(p.hideDelay, 3000);
  EXPECT_EQ(p.modalTransition, 1);

  // A copy is the whole record.
  const Properties copy = p;
  EXPECT_EQ(copy.dropTargets.size(), 2u);
  EXPECT_EQ(copy.hideDelay, 3000);
  EXPECT_STREQ(copy.showTransition.effectName.GetText(), "Fade");
}

TEST(GraphicalPropertiesTest, GlideBackIsStoredOnlyForDraggableObjects) {
  GraphicalRecord record = Unusual();
  record.draggable = 0;
  const std::vector<Field> fields = record.Fields();
  EXPECT_EQ(IndexOf(fields, "accepts drops"), IndexOf(fields, "draggable") + 1);
  const Properties p = ReadCut(fields, SIZE_MAX);
  EXPECT_EQ(p.glideBackDuration, 1000);
  EXPECT_EQ(p.acceptsDrops, 1) << "the byte after draggable is not taken for the duration";
}

// Cut after each field: up to the image layout's rectangle the record
// fails, as the layout's later fields are not optional; after the layout
// only the hide delay and the modal flag may be missing.
TEST(GraphicalPropertiesTest, RecordsCutAfterEachField) {
  const std::vector<Field> fields = Unusual().Fields();
  const size_t afterLayout = IndexOf(fields, "keep aspect") + 1;
  for (size_t count = 0; count < afterLayout; ++count)
    EXPECT_THROW(ReadCut(fields, count), VORFileNonFatalException) << "cut after " << count << " fields";

  const Properties withoutTail = ReadCut(fields, afterLayout);
  EXPECT_EQ(withoutTail.hideDelay, -1);
  EXPECT_EQ(withoutTail.modalTransition, 0) << "a missing modal flag is 0, not the default 1";
  const Properties withoutFlag = ReadCut(fields, afterLayout + 1);
  EXPECT_EQ(withoutFlag.hideDelay, 3000);
  EXPECT_EQ(withoutFlag.modalTransition, 0);
  EXPECT_EQ(ReadCut(fields, SIZE_MAX).modalTransition, 1);
}

TEST(HotSpotPropertiesTest, CopiesCarryThePassFlagsButNotTheDoubleClickBits) {
  HotSpotRecord record;
  record.flags = 0x00;
  record.cursor = ExternalIdentifier{1, "hand.cur"};
  record.autoRepeat = 1;
  WrittenFolder folder([&](PublicationWriter::Folder &f) { AddRecord(f, record.Fields()); });
  VORHotSpot::VORHotSpotProperties read;
  read.Read(folder.File());
  EXPECT_EQ(read.flags, 0u);
  EXPECT_STREQ(read.cursor.GetFileName().GetText(), "hand.cur");
  EXPECT_EQ(read.autoRepeat, 1);

  const VORHotSpot::VORHotSpotProperties copy = read;
  EXPECT_EQ(copy.flags & 0x73u, 0x60u) << "double-click bits keep the new record's default";
  EXPECT_EQ(copy.autoRepeat, 1);
}

TEST(HotSpotPropertiesTest, RepeatByteIsOptional) {
  HotSpotRecord record;
  record.autoRepeat = 1;
  const std::vector<Field> fields = record.Fields();
  WrittenFolder folder([&](PublicationWriter::Folder &f) { AddRecord(f, fields, fields.size() - 1); });
  VORHotSpot::VORHotSpotProperties read;
  read.Read(folder.File());
  EXPECT_EQ(read.autoRepeat, 0);
}

// Reads a resource object written by the writer through the class registry.
template <class Object>
std::unique_ptr<Object> ReadObject(const PageObject &written) {
  WrittenFolder folder([&](PublicationWriter::Folder &f) { written.AddTo(f); });
  const VORObjectCode reference(written.reference.category, written.reference.code, written.reference.id);
  std::unique_ptr<VORCodedObject> made(VORClassRegistry::Instance().Create(reference.GetClassKey(), reference.id));
  auto *object = dynamic_cast<Object *>(made.get());
  if (object == nullptr)
    return nullptr;
  static_cast<void>(made.release());
  object->Read(folder.File());
  return std::unique_ptr<Object>(object);
}

TEST(ResourceObjectsTest, ExternalRecordsAreMarkedReadWithOrWithoutTheType) {
  for (const std::optional<int32_t> type : {std::optional<int32_t>(7), std::optional<int32_t>()}) {
    auto object =
        ReadObject<VORExternalResourceObject>(ExternalResourceObject(2, ExternalIdentifier{1, "a.bmp"}, type));
    ASSERT_NE(object, nullptr);
    const auto &properties = object->GetExternalResourceProperties();
    EXPECT_STREQ(properties.identifier.GetFileName().GetText(), "a.bmp");
    EXPECT_EQ(properties.resourceType, type.value_or(0));
    EXPECT_EQ(properties.readMarker, 1);
  }
}

TEST(ResourceObjectsTest, DefaultAndClonedExternalRecordsHaveTheirMarkerSet) {
  VORExternalResourceObject::VORExternalResourceObjectProperties fresh;
  EXPECT_EQ(fresh.readMarker, 0) << "a record made here";
  const auto copy = fresh;
  EXPECT_EQ(copy.readMarker, 1) << "copies open their files as read records do";

  auto object = ReadObject<VORExternalResourceObject>(ExternalResourceObject(3, ExternalIdentifier{1, "b.wav"}, 5));
  ASSERT_NE(object, nullptr);
  std::unique_ptr<VORPageMember> clone(object->Clone());
  auto *copied = dynamic_cast<VORExternalResourceObject *>(clone.get());
  ASSERT_NE(copied, nullptr);
  EXPECT_STREQ(copied->GetExternalResourceProperties().identifier.GetFileName().GetText(), "b.wav")
      << "a form's copy keeps its record";
  EXPECT_EQ(copied->GetExternalResourceProperties().resourceType, 5);
  EXPECT_EQ(copied->GetExternalResourceProperties().readMarker, 1);
}

TEST(ResourceObjectsTest, EmptyFileNameGivesNoResource) {
  FakeApp app;
  auto object = ReadObject<VORExternalResourceObject>(ExternalResourceObject(4, ExternalIdentifier{1, ""}));
  ASSERT_NE(object, nullptr);
  EXPECT_EQ(object->AcquireResource(0), 0u);
  EXPECT_EQ(object->GetResourceHandle(), 0u);
  EXPECT_EQ(object->RegisterResourceUser(VORObjectCode(0, 4, 1)), 0u);
  EXPECT_TRUE(object->GetFilePath().IsEmpty());
}

TEST(ResourceObjectsTest, InternalRecordsTakeNumberAndKind) {
  auto object = ReadObject<VORInternalResourceObject>(InternalResourceObject(5, 12, 2));
  ASSERT_NE(object, nullptr);
  EXPECT_EQ(object->GetResourceId(), 12);
  EXPECT_EQ(object->GetInternalResourceProperties().kindFlag, 1);
  EXPECT_TRUE(object->IsInternalResourceCode());
}

} // namespace
