#include <gtest/gtest.h>

#include <memory>

#include "foundation/VORException.h"
#include "model/ActionContext.h"
#include "model/VORSynchronizationObjectAction.h"
#include "objects/VORExternalResourceObject.h"
#include "objects/VORPlayerForm.h"
#include "support/TestPageObject.h"

namespace {

using PlainObject = VORPlayerForm<VORObject, VORObject::VORObjectObjectProperties>;

// A child whose copy cannot be made.
class UncopyableChild : public TestPageObject {
public:
  UncopyableChild() : TestPageObject(kClassKey, 99) {}
  VORPageMember *Clone() const override { return nullptr; }
};

TEST(VORObjectTest, ACopyClonesEveryChildInOrder) {
  PlainObject source(VORObjectCode::MakeClassKey(1, 0x7E02), 1);
  for (int32_t id = 1; id <= 3; ++id)
    source.InsertAfter(new TestPageObject(TestPageObject::kClassKey, id), nullptr);
  std::unique_ptr<VORPageMember> copy(source.Clone());
  auto *object = dynamic_cast<VORObject *>(copy.get());
  ASSERT_NE(object, nullptr);
  ASSERT_EQ(object->GetChildCount(), 3u);
  for (uint32_t i = 0; i < 3; ++i) {
    auto *child = dynamic_cast<TestPageObject *>(object->ChildAt(i));
    ASSERT_NE(child, nullptr);
    EXPECT_NE(child, source.ChildAt(i)) << "a deep copy";
    EXPECT_EQ(child->GetId(), static_cast<int32_t>(i + 1));
  }
  EXPECT_EQ(source.GetChildCount(), 3u);
}

TEST(VORObjectTest, ACopyWhoseChildCannotBeClonedFails) {
  PlainObject source(VORObjectCode::MakeClassKey(1, 0x7E02), 1);
  source.InsertAfter(new TestPageObject(TestPageObject::kClassKey, 1), nullptr);
  source.InsertAfter(new UncopyableChild(), nullptr);
  EXPECT_THROW(std::unique_ptr<VORPageMember>(source.Clone()), VORNewFailException);
}

TEST(VORObjectTest, ResourceObjectsAreCountedAmongResourceObjectsOnly) {
  PlainObject object(VORObjectCode::MakeClassKey(1, 0x7E02), 1);
  object.InsertAfter(new TestPageObject(TestPageObject::kClassKey, 1), nullptr);
  auto *resource = new VORPlayerExternalResourceObject(VORExternalResourceObject::kClassKey, 7);
  object.InsertAfter(resource, nullptr);
  EXPECT_EQ(object.GetResourceObject(0), resource);
  EXPECT_EQ(object.GetResourceObject(1), nullptr);
  EXPECT_EQ(object.FindResourceObject(VORObjectCode(4, 0, 7)), resource);
  EXPECT_EQ(object.FindResourceObject(VORObjectCode(4, 0, 8)), nullptr);
  EXPECT_NE(object.FindChildObject(TestPageObject::kClassKey, 1, false), nullptr);
}

TEST(VORObjectTest, SynchronisationNoticesAreAlwaysHandled) {
  PlainObject object(VORObjectCode::MakeClassKey(1, 0x7E02), 1);
  ActionContext context = ActionContext::FromView(nullptr);
  VORSynchronizationObjectAction started(VORObject::kSyncStarted, VORObjectCode(2, 0, 3));
  EXPECT_TRUE(object.ReceiveAction(started, context)) << "no trigger waits for it, still handled";
  VORObjectAction plain(VORObjectAction::kClassKey, 0);
  plain.SetActionCode(VORObject::kSyncEnded);
  EXPECT_TRUE(object.ReceiveAction(plain, context)) << "another class is swallowed";
  plain.SetActionCode(12);
  EXPECT_FALSE(object.ReceiveAction(plain, context));
}

} // namespace
