#include "objects/VORRecordForm.h"

#include <gtest/gtest.h>

#include <memory>

#include "model/VORClassRegistry.h"
#include "objects/VORAnimationController.h"
#include "objects/VORBackground.h"
#include "objects/VORBorder.h"
#include "objects/VORButton.h"
#include "objects/VORFrame.h"
#include "objects/VORImage.h"
#include "objects/VORScrollbar.h"
#include "objects/VORSimpleHotSpot.h"
#include "objects/VORSlideshow.h"
#include "objects/VORText.h"
#include "support/PublicationRecords.h"
#include "support/WrittenFolder.h"

namespace {

using namespace PublicationRecords;

// The object the class table makes for the written object, read.
std::unique_ptr<VORObject> ReadThroughTheTable(const PageObject &written) {
  WrittenFolder folder([&](PublicationWriter::Folder &f) { written.AddTo(f); });
  const VORObjectCode reference(written.reference.category, written.reference.code, written.reference.id);
  std::unique_ptr<VORCodedObject> made(VORClassRegistry::Instance().Create(reference.GetClassKey(), reference.id));
  auto *object = dynamic_cast<VORObject *>(made.get());
  if (object == nullptr)
    return nullptr;
  static_cast<void>(made.release());
  std::unique_ptr<VORObject> owned(object);
  owned->Read(folder.File());
  return owned;
}

// Every page object's key makes an object of its own record, in the
// platform-free programs (the record form) as in the Windows ones (the
// player form, which paints); the object reads the record and its copy
// carries it.
TEST(VORRecordFormTest, EveryPageObjectKeyMakesAnObjectOfItsRecord) {
  GraphicalRecord graphical;
  graphical.Place(10, 20, 110, 70);
  HotSpotRecord hotSpot;
  hotSpot.graphical = graphical;
  BackgroundRecord background;
  background.graphical = graphical;
  BorderRecord border;
  border.graphical = graphical;
  ButtonRecord button;
  button.hotSpot = hotSpot;
  SlideshowRecord slideshow;
  slideshow.hotSpot = hotSpot;
  TextRecord text;
  text.hotSpot = hotSpot;
  ScrollbarRecord scrollbar;
  scrollbar.hotSpot = hotSpot;
  AnimationControllerRecord animation;
  animation.path = {{1, 2, 0, 0}, {30, 40, 500, 7}};
  struct Case {
    const char *what;
    PageObject written;
    bool graphical;
  } cases[] = {
      {"background", BackgroundObject(1, background), true},
      {"border", BorderObject(2, border), true},
      {"button", ButtonObject(3, button), true},
      {"image", ImageObject(4, hotSpot), true},
      {"image of the second code", ImageObject(5, hotSpot, {}, VORImage::kOtherCode), true},
      {"simple hotspot", SimpleHotSpotObject(6, hotSpot), true},
      {"frame", FrameObject(7, hotSpot, {}), true},
      {"slideshow", SlideshowObject(8, slideshow), true},
      {"text", TextObject(9, text), true},
      {"scrollbar", ScrollbarObject(10, scrollbar), true},
      {"animation controller", AnimationControllerObject(11, animation), false},
  };
  for (const Case &c : cases) {
    std::unique_ptr<VORObject> object = ReadThroughTheTable(c.written);
    ASSERT_NE(object, nullptr) << c.what;
    EXPECT_EQ(object->GetClassKey(), VORObjectCode::MakeClassKey(static_cast<uint16_t>(c.written.reference.category),
                                                                 static_cast<uint16_t>(c.written.reference.code)))
        << c.what;
    std::unique_ptr<VORPageMember> copy(object->Clone());
    auto *copied = dynamic_cast<VORObject *>(copy.get());
    ASSERT_NE(copied, nullptr) << c.what;
    if (c.graphical) {
      const auto *record = dynamic_cast<VORGraphicalObject::VORGraphicalObjectProperties *>(copied->GetProperties());
      ASSERT_NE(record, nullptr) << c.what;
      EXPECT_EQ(record->layoutRect, VORRect(10, 20, 110, 70)) << c.what;
    } else {
      const auto *record =
          dynamic_cast<VORAnimationController::VORAnimationControllerProperties *>(copied->GetProperties());
      ASSERT_NE(record, nullptr) << c.what;
      EXPECT_EQ(record->path.size(), 2u) << c.what;
    }
#ifdef _WIN32
    EXPECT_EQ(dynamic_cast<VORGraphicalObject *>(object.get()) != nullptr, c.graphical)
        << c.what << ": the programs make the player form";
#endif
  }
}

VORCodedObject *MakeFrameForm(uint32_t classKey, int32_t id) {
  return static_cast<VORCodedObject *>(new VORRecordForm<VORFrame::VORFrameProperties>(classKey, id));
}

// The row's one factory makes the player form once one is installed for
// the key, the record form otherwise.
TEST(VORRecordFormTest, AnInstalledPlayerFormTakesTheRowsPlace) {
  constexpr uint16_t kCategory = 1;
  constexpr uint16_t kCode = 0x7E31;
  const uint32_t key = VORObjectCode::MakeClassKey(kCategory, kCode);
  static const ClassRegistration row(kCategory, kCode, PageObjectForms::Make<VORBackground::VORBackgroundProperties>);
  const uint32_t rows = VORClassRegistry::Instance().GetCount();

  std::unique_ptr<VORCodedObject> plain(VORClassRegistry::Instance().Create(key, 1));
  EXPECT_NE(dynamic_cast<VORRecordForm<VORBackground::VORBackgroundProperties> *>(plain.get()), nullptr);

  PageObjectForms::SetPlayerForm(key, MakeFrameForm);
  std::unique_ptr<VORCodedObject> player(VORClassRegistry::Instance().Create(key, 2));
  EXPECT_NE(dynamic_cast<VORRecordForm<VORFrame::VORFrameProperties> *>(player.get()), nullptr);
  PageObjectForms::SetPlayerForm(key, nullptr);
  EXPECT_EQ(VORClassRegistry::Instance().GetCount(), rows) << "the player form adds no row";
}

} // namespace
