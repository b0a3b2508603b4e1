#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "display/ViewCursor.h"

namespace {

// Hands out numbered shapes and writes down what the view does with them.
class FakeCursorPlatform : public ViewCursor::Platform {
public:
  ViewCursor::Handle LoadSystemCursor(int32_t id) override {
    loadedSystem.push_back(id);
    return Shape(id);
  }
  ViewCursor::Handle LoadCursorFile(const char *path) override {
    return std::string(path) == "missing.cur" ? nullptr : Shape(nextFileShape++);
  }
  void DestroyCursor(ViewCursor::Handle cursor) override { destroyed.push_back(cursor); }
  void SetCursor(ViewCursor::Handle cursor) override { current = cursor; }
  ViewCursor::Handle GetCursor() override { return current; }
  bool ResolvePath(const VORExternalResourceIdentifier &identifier, VORString &path) override {
    if (std::string(identifier.GetFileName().CStr()) == "nowhere.cur")
      return false;
    path = identifier.GetFileName();
    return true;
  }

  static ViewCursor::Handle Shape(intptr_t n) { return reinterpret_cast<ViewCursor::Handle>(n); }

  std::vector<int32_t> loadedSystem;
  std::vector<ViewCursor::Handle> destroyed;
  ViewCursor::Handle current = nullptr;
  intptr_t nextFileShape = 0x100000;
};

VORExternalResourceIdentifier Named(const char *name) { return VORExternalResourceIdentifier(0, name); }

TEST(ViewCursorTest, PercentAndHexadecimalNameTheSystemsShapes) {
  FakeCursorPlatform platform;
  ViewCursor cursor(platform);
  const VORExternalResourceIdentifier arrow = Named("%7F00");
  cursor.SetObjectCursor(&arrow);
  cursor.Update(nullptr);
  EXPECT_EQ(platform.current, FakeCursorPlatform::Shape(0x7F00));
  EXPECT_EQ(platform.loadedSystem.back(), 0x7F00);
}

TEST(ViewCursorTest, OnlyShapesLoadedFromFilesAreDestroyed) {
  FakeCursorPlatform platform;
  {
    ViewCursor cursor(platform);
    // From the starting arrow to a file's shape: the arrow is shared.
    const VORExternalResourceIdentifier hand = Named("hand.cur");
    cursor.SetObjectCursor(&hand);
    cursor.Update(nullptr);
    EXPECT_TRUE(platform.destroyed.empty());
    const ViewCursor::Handle handShape = platform.current;
    // From the file's shape to a system one: the file's shape goes.
    const VORExternalResourceIdentifier wait = Named("%7F02");
    cursor.SetObjectCursor(&wait);
    cursor.Update(nullptr);
    EXPECT_EQ(platform.destroyed, std::vector<ViewCursor::Handle>{handShape});
    // From a system shape to another: nothing is destroyed.
    const VORExternalResourceIdentifier arrow = Named("%7F00");
    cursor.SetObjectCursor(&arrow);
    cursor.Update(nullptr);
    EXPECT_EQ(platform.destroyed.size(), 1u);
    // A file that cannot be loaded falls back to the arrow, not owned.
    const VORExternalResourceIdentifier missing = Named("missing.cur");
    cursor.SetObjectCursor(&missing);
    cursor.Update(nullptr);
    EXPECT_EQ(platform.current, FakeCursorPlatform::Shape(0x7F00));
    EXPECT_FALSE(cursor.OwnsHandle());
    // One that cannot be found changes nothing.
    const VORExternalResourceIdentifier nowhere = Named("nowhere.cur");
    cursor.SetObjectCursor(&nowhere);
    cursor.Update(nullptr);
    EXPECT_EQ(platform.current, FakeCursorPlatform::Shape(0x7F00));
    const VORExternalResourceIdentifier last = Named("last.cur");
    cursor.SetObjectCursor(&last);
    cursor.Update(nullptr);
  }
  // The view's own shape goes with it.
  EXPECT_EQ(platform.destroyed.size(), 2u);
}

TEST(ViewCursorTest, NoIdentifierChangesNothingAndTheSameOneLoadsOnce) {
  FakeCursorPlatform platform;
  ViewCursor cursor(platform);
  cursor.Update(nullptr);
  cursor.SetObjectCursor(nullptr);
  const VORExternalResourceIdentifier hand = Named("hand.cur");
  cursor.SetObjectCursor(&hand);
  cursor.Update(nullptr);
  const ViewCursor::Handle shape = platform.current;
  cursor.SetObjectCursor(&hand);
  cursor.Update(nullptr);
  EXPECT_EQ(platform.current, shape);
  EXPECT_TRUE(platform.destroyed.empty());
}

} // namespace
