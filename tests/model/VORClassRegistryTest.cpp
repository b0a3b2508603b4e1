#include "model/VORClassRegistry.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "engine/VORScoreObjectAction.h"
#include "engine/VORStoreInfoObjectAction.h"
#include "model/VORBookmarkAction.h"
#include "model/VORBrowserAction.h"
#include "model/VORCodedObject.h"
#include "model/VOREvent.h"
#include "model/VOREventCondition.h"
#include "model/VORFrameStreamObjectAction.h"
#include "model/VORLaunchAction.h"
#include "model/VORObjectAction.h"
#include "model/VORPlayerChapter.h"
#include "model/VORPlayerPublication.h"
#include "model/VORPrinterAction.h"
#include "model/VORTrigger.h"
#include "support/FakeApp.h"

namespace {

using Check = std::function<bool(VORCodedObject *)>;

template <class T>
Check IsA() {
  return [](VORCodedObject *object) { return dynamic_cast<T *>(object) != nullptr; };
}

// The class table as far as its classes exist; every class that lands adds
// its row here. Classes with a fixed key keep the id of the reference, so
// that they find their own folders.
TEST(VORClassRegistryTest, EachKeyOfTheTableCreatesItsClass) {
  FakeApp app; // the publication registers itself as a receiver
  struct Row {
    uint16_t category;
    uint16_t code;
    const char *name;
    Check isRightClass;
    bool fixedKey; // the class sets its own reference
  } rows[] = {
      {0, 0x1, "VORPlayerPublication", IsA<VORPlayerPublication>(), true},
      {0, 0x2, "VORPlayerChapter", IsA<VORPlayerChapter>(), false},
      {3, 0x16, "VORAutoStartTrigger", IsA<VORAutoStartTrigger>(), false},
      {3, 0x10, "VORDropTrigger", IsA<VORDropTrigger>(), false},
      {3, 0xF, "VORKeyboardTrigger", IsA<VORKeyboardTrigger>(), false},
      {3, 0xE, "VORMouseTrigger", IsA<VORMouseTrigger>(), false},
      {3, 0x11, "VORSynchronizationTrigger", IsA<VORSynchronizationTrigger>(), false},
      {3, 0x1, "VORObjectAction", IsA<VORObjectAction>(), false},
      {3, 0x14, "VORPrinterAction", IsA<VORPrinterAction>(), false},
      {3, 0x18, "VORBookmarkAction", IsA<VORBookmarkAction>(), false},
      {3, 0x19, "VORBrowserAction", IsA<VORBrowserAction>(), false},
      {3, 0x1A, "VORFrameStreamObjectAction", IsA<VORFrameStreamObjectAction>(), false},
      {3, 0x15, "VORLaunchAction", IsA<VORLaunchAction>(), false},
      {3, 0x12, "VORScoreObjectAction", IsA<VORScoreObjectAction>(), false},
      {3, 0x13, "VORStoreInfoObjectAction", IsA<VORStoreInfoObjectAction>(), false},
      {3, 0x0, "VOREvent", IsA<VOREvent>(), false},
      {3, 0x17, "VOREventCondition", IsA<VOREventCondition>(), false},
  };
  for (const Row &row : rows) {
    const uint32_t key = VORObjectCode::MakeClassKey(row.category, row.code);
    std::unique_ptr<VORCodedObject> object(VORClassRegistry::Instance().Create(key, 77));
    ASSERT_NE(object, nullptr) << row.name;
    EXPECT_TRUE(row.isRightClass(object.get())) << row.name;
    EXPECT_EQ(object->GetClassKey(), key) << row.name;
    EXPECT_EQ(object->GetId(), row.fixedKey ? -1 : 77) << row.name;
  }
}

TEST(VORClassRegistryTest, UnknownKeysCreateNothing) {
  const VORObjectCode unknown[] = {
      {0, 0x3, 1},  // no class has this key
      {5, 0x0, 1},  // no such category
      {1, 0x12, 1}, // beyond the graphical objects
      {-1, -1, -1}, // the none reference
  };
  for (const VORObjectCode &reference : unknown)
    EXPECT_EQ(VORClassRegistry::Instance().Create(reference.GetClassKey(), reference.id), nullptr)
        << reference.category << "/" << reference.code;
}

// The registrations above come from static objects in the classes' own
// source files, which this test never names: they were linked and ran
// before main.
TEST(VORClassRegistryTest, StaticRegistrationsRanBeforeMain) { EXPECT_GE(VORClassRegistry::Instance().GetCount(), 3u); }

VORCodedObject *FirstFactory(uint32_t key, int32_t id) { return new VORObjectAction(key, id); }
VORCodedObject *SecondFactory(uint32_t key, int32_t id) { return new VORObjectAction(key, id + 1000); }

TEST(VORClassRegistryTest, RegisteringAKeyAgainReplacesItsFactory) {
  constexpr uint16_t kUnusedCategory = 0x7E;
  const uint32_t before = VORClassRegistry::Instance().GetCount();
  ClassRegistration first(kUnusedCategory, 1, FirstFactory);
  ClassRegistration second(kUnusedCategory, 1, SecondFactory);
  EXPECT_EQ(VORClassRegistry::Instance().GetCount(), before + 1) << "one entry per key";
  std::unique_ptr<VORCodedObject> object(
      VORClassRegistry::Instance().Create(VORObjectCode::MakeClassKey(kUnusedCategory, 1), 5));
  ASSERT_NE(object, nullptr);
  EXPECT_EQ(object->GetId(), 1005) << "the second factory made it";
}

} // namespace
