#include <gtest/gtest.h>

#include <memory>

#include "model/VORClassRegistry.h"
#include "model/VORCodedObject.h"
#include "model/VORFileDataObject.h"
#include "model/VORFileObject.h"

namespace {

// The registry makes these classes only through the registrations in
// their own source files, which must have been linked and run before main,
// as in the real programs.
TEST(ClassRegistrationLinkTest, SelfRegisteredClassesAreLinkedIn) {
  struct Case {
    const char *what;
    uint32_t classKey;
  } cases[] = {
      {"chapter", 0x00020000},       {"page", 0x00040000},
      {"object action", 0x00010003}, {"go-to-page action", 0x00030003},
      {"event", 0x00000003},         {"condition", 0x00170003},
      {"mouse trigger", 0x000E0003}, {"auto-start trigger", 0x00160003},
      {"score action", 0x00120003},  {"store-information action", 0x00130003},
      {"launch action", 0x00150003},
  };
  for (const Case &c : cases) {
    std::unique_ptr<VORCodedObject> object(VORClassRegistry::Instance().Create(c.classKey, 5));
    ASSERT_NE(object, nullptr) << c.what;
    EXPECT_EQ(object->GetClassKey(), c.classKey) << c.what;
    EXPECT_TRUE(dynamic_cast<VORFileObject *>(object.get()) || dynamic_cast<VORFileDataObject *>(object.get()))
        << c.what;
  }
}

} // namespace
