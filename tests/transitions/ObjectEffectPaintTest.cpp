#include <gtest/gtest.h>

#include <memory>

#include "EffectParams.h"
#include "engine/VORUpdateController.h"
#include "model/VORPageInstance.h"
#include "objects/PaintedPage.h"
#include "support/FakeClock.h"
#include "support/TestPlayer.h"
#include "transitions/VORFadeFX.h"
#include "transitions/VORPlayerFXManager.h"
#include "transitions/VORScrollFX.h"

namespace {

constexpr uint32_t kStart = 1000;
constexpr uint32_t kRunMs = 1000;
constexpr uint32_t kBlue = 0x0000FF;
constexpr uint32_t kRed = 0xFF0000;
const VORRect kPage(0, 0, 160, 80);
// The object: 80 x 40 in the middle of the page.
const VORRect kObject(40, 20, 120, 60);
constexpr int32_t kRow = 40;

VORFXParams Wipe() {
  VORScrollFX::ScrollFXProperties record;
  record.dx = 1;
  record.duration = kRunMs;
  record.wipe = 1;
  return EffectParams("Scroll", record);
}

VORFXParams Fade() {
  VORFadeFX::FadeFXProperties record;
  record.duration = kRunMs;
  record.levels = 16;
  return EffectParams("Fade", record);
}

// A blue page with a red object over it, shown in a view whose screen
// buffer the test reads, under a player with the effect registry and a
// clock the test sets: the update controller drives the object's effect.
class ObjectEffectTest : public ::testing::Test {
protected:
  ObjectEffectTest() {
    clock.Set(kStart);
    player.SetFXManager(VORPlayerFXManager::MakeParts());
    EXPECT_TRUE(player.Load(TestPublications::Of({TestPublications::Chapter(1, {TestPublications::Page(1)})})));
    page.Add(kPage, TestPicture::Solid(1, 1, kBlue));
    object = &page.Add(kObject, TestPicture::Solid(1, 1, kRed));
    // Run by the update controller, not modally.
    object->GetGraphicalProperties().modalTransition = 0;
  }

  void ShowPage() {
    page.Compose();
    Instance().OnShown();
    page.Repaint();
  }
  VORPageInstance &Instance() { return *dynamic_cast<VORPageInstance *>(object->GetParent()); }

  // Passes of the main loop every 5 ms up to kStart + at: queued actions,
  // the update controller, the page composed again.
  void RunTo(uint32_t at) {
    for (uint32_t now = clock.GetMilliseconds() + 5; now <= kStart + at; now += 5) {
      clock.Set(now);
      player.OnTick(now);
      player.GetUpdateController()->Run();
      page.Repaint();
    }
  }
  uint32_t At(int32_t x) { return page.Pixel(x, kRow); }

  FakeClock clock;
  TestPlayer player{clock};
  PaintedPage page{24, kPage};
  PlainGraphical *object = nullptr;
};

// A wipe from the right: a quarter of the way through, the object's right
// quarter shows and the rest of its rectangle still shows the page under
// it; at the end the whole object.
TEST_F(ObjectEffectTest, AnObjectShownWithAnEffectIsPaintedThroughItWhileItRuns) {
  object->GetGraphicalProperties().showTransition = Wipe();
  ShowPage();
  ASSERT_NE(object->GetEffect(), nullptr);
  EXPECT_TRUE(object->IsShowRunning());
  EXPECT_EQ(At(45), kBlue) << "nothing of the object shows at first";
  RunTo(kRunMs / 4);
  EXPECT_EQ(At(45), kBlue);
  EXPECT_EQ(At(70), kBlue) << "the left three quarters are still to come";
  EXPECT_EQ(At(110), kRed) << "the right quarter shows";
  EXPECT_EQ(At(118), kRed);
  EXPECT_EQ(At(20), kBlue) << "the page around it";
  EXPECT_EQ(At(140), kBlue);
  RunTo(kRunMs + 200);
  EXPECT_EQ(object->GetEffect(), nullptr) << "the finished effect is gone";
  EXPECT_FALSE(object->IsShowRunning());
  for (const int32_t x : {40, 70, 119})
    EXPECT_EQ(At(x), kRed) << x;
  EXPECT_EQ(At(39), kBlue);
}

// Hidden through the same wipe, the object leaves from the left: a
// quarter of the way through its left quarter shows the page again.
TEST_F(ObjectEffectTest, AnObjectHiddenWithAnEffectUncoversThePageUnderIt) {
  object->GetGraphicalProperties().hideTransition = Wipe();
  ShowPage();
  ASSERT_EQ(At(70), kRed);
  object->HideWithTransition();
  ASSERT_TRUE(object->IsHideRunning());
  page.Repaint();
  EXPECT_EQ(At(70), kRed) << "the whole object still shows at first";
  RunTo(kRunMs / 4);
  EXPECT_EQ(At(45), kBlue) << "its left quarter is gone";
  EXPECT_EQ(At(70), kRed);
  EXPECT_EQ(At(118), kRed);
  RunTo(kRunMs + 200);
  EXPECT_FALSE(object->IsVisible());
  for (const int32_t x : {40, 70, 119})
    EXPECT_EQ(At(x), kBlue) << x;
}

// Half way through a fade the object's colour lies between the page's and
// its own.
TEST_F(ObjectEffectTest, HalfWayThroughAFadeTheObjectIsHalfDrawn) {
  object->GetGraphicalProperties().showTransition = Fade();
  ShowPage();
  RunTo(kRunMs / 2);
  const uint32_t middle = At(80);
  const uint32_t red = middle >> 16 & 0xFF;
  const uint32_t blue = middle & 0xFF;
  EXPECT_GT(red, 0x40u) << std::hex << middle;
  EXPECT_LT(red, 0xC0u) << std::hex << middle;
  EXPECT_GT(blue, 0x40u) << std::hex << middle;
  EXPECT_LT(blue, 0xC0u) << std::hex << middle;
  EXPECT_EQ(At(20), kBlue);
  RunTo(kRunMs + 200);
  EXPECT_EQ(At(80), kRed);
}

// Surfaces rebuilt while an effect runs (another object of the level shown,
// the page left) take the effect with them: it would paint from freed
// pictures. The show then ends at once with the whole object.
TEST_F(ObjectEffectTest, RebuiltSurfacesEndTheRunningEffect) {
  object->GetGraphicalProperties().showTransition = Wipe();
  ShowPage();
  RunTo(kRunMs / 4);
  ASSERT_NE(object->GetEffect(), nullptr);
  object->RebuildSurfaces();
  EXPECT_EQ(object->GetEffect(), nullptr);
  RunTo(kRunMs / 4 + 100);
  EXPECT_FALSE(object->IsShowRunning());
  for (const int32_t x : {40, 70, 119})
    EXPECT_EQ(At(x), kRed) << x;
}

} // namespace
