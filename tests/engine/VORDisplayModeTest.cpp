#include "engine/VORDisplayMode.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Change {
  bool restore;
  DWORD width;
  DWORD height;
  DWORD fields;
  DWORD size;
  DWORD flags;
};

std::vector<Change> g_changes;
LONG g_testAnswer = DISP_CHANGE_SUCCESSFUL;

LONG WINAPI RecordChange(DEVMODEA *mode, DWORD flags) {
  if (!mode) {
    g_changes.push_back({true, 0, 0, 0, 0, flags});
    return DISP_CHANGE_SUCCESSFUL;
  }
  g_changes.push_back({false, mode->dmPelsWidth, mode->dmPelsHeight, mode->dmFields, mode->dmSize, flags});
  return flags == CDS_TEST ? g_testAnswer : DISP_CHANGE_SUCCESSFUL;
}

class VORDisplayModeTest : public ::testing::Test {
protected:
  void SetUp() override {
    g_changes.clear();
    g_testAnswer = DISP_CHANGE_SUCCESSFUL;
    m_previous = VORDisplayMode::SetChangeFunction(RecordChange);
  }
  void TearDown() override { VORDisplayMode::SetChangeFunction(m_previous); }

private:
  VORDisplayMode::ChangeFunction m_previous = nullptr;
};

TEST_F(VORDisplayModeTest, IndexSelectsTheMode) {
  struct Case {
    int32_t index;
    int32_t width;
    int32_t height;
  } cases[] = {
      {0, 640, 480},   {1, 800, 600},   {2, 1024, 768},  {3, 1152, 864},
      {4, 1280, 1024}, {5, 1600, 1200}, {9, 1600, 1200}, {-7, 640, 480},
  };
  for (const Case &c : cases) {
    const VORDisplayMode::Size size = VORDisplayMode::ForIndex(c.index);
    EXPECT_EQ(size.width, c.width) << c.index;
    EXPECT_EQ(size.height, c.height) << c.index;
  }
}

TEST_F(VORDisplayModeTest, AModeIsTestedFirstAndChangedWithoutTheRegistry) {
  VORDisplayMode::Set(9);
  ASSERT_EQ(g_changes.size(), 2u);
  for (const Change &change : g_changes) {
    EXPECT_FALSE(change.restore);
    EXPECT_EQ(change.width, 1600u);
    EXPECT_EQ(change.height, 1200u);
    EXPECT_EQ(change.fields, static_cast<DWORD>(DM_PELSWIDTH | DM_PELSHEIGHT));
    EXPECT_EQ(change.size, sizeof(DEVMODEA));
  }
  EXPECT_EQ(g_changes[0].flags, static_cast<DWORD>(CDS_TEST));
  EXPECT_EQ(g_changes[1].flags, 0u);
}

TEST_F(VORDisplayModeTest, AModeTheTestRefusesIsLeftAlone) {
  g_testAnswer = DISP_CHANGE_BADMODE;
  VORDisplayMode::Set(1);
  ASSERT_EQ(g_changes.size(), 1u);
  EXPECT_EQ(g_changes[0].flags, static_cast<DWORD>(CDS_TEST));
}

TEST_F(VORDisplayModeTest, RestoreGoesBackToTheRegistryMode) {
  VORDisplayMode::Set(VORDisplayMode::kRestore);
  ASSERT_EQ(g_changes.size(), 1u);
  EXPECT_TRUE(g_changes[0].restore);
  EXPECT_EQ(g_changes[0].flags, 0u);
}

} // namespace
