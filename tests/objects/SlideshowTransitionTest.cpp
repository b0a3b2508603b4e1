#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "PaintedPage.h"
#include "display/SurfacePixels.h"
#include "engine/VORUpdateController.h"
#include "model/VORPageInstance.h"
#include "objects/VORSlideshow.h"
#include "support/FakeClock.h"
#include "support/TestPlayer.h"
#include "transitions/VORPlayerFXManager.h"

namespace {

constexpr uint32_t kStart = 1000;
constexpr uint32_t kSlideMs = 1000;
// The fade's own default length.
constexpr uint32_t kFadeMs = 500;
const VORRect kPage(0, 0, 200, 100);
const VORRect kShow(20, 20, 120, 80);
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kRed = 0xDC0000;
constexpr uint32_t kBlue = 0x0000C8;

// A slideshow whose slides are solid pictures of the colours given, not
// resources of a publication.
class ColourSlideshow : public VORPlayerSlideshow {
public:
  explicit ColourSlideshow(std::vector<uint32_t> slideColours)
      : VORPlayerSlideshow(VORObjectCode::MakeClassKey(kCategory, kCode), 1), colours(std::move(slideColours)) {}

  std::vector<uint32_t> colours;

protected:
  std::unique_ptr<VORGfxImage> MakeSlidePicture(int32_t index) override {
    return TestPicture::Solid(10, 10, colours[static_cast<size_t>(index)]);
  }
};

// A page with one slideshow of red and blue slides, each kept kSlideMs and
// faded into, endlessly, under a player whose clock the test sets: its
// event queue brings the steps, its update controller draws the fades.
class SlideshowTransitionTest : public ::testing::Test {
public:
  SlideshowTransitionTest() {
    clock.Set(kStart);
    EXPECT_TRUE(player.Load(TestPublications::Of({TestPublications::Chapter(1, {TestPublications::Page(1)})})));
    player.SetFXManager(VORPlayerFXManager::MakeParts());
  }
  ~SlideshowTransitionTest() override {
    if (shown)
      page.GetMasterInstance().Hide();
  }

  ColourSlideshow &Add(uint8_t modal) {
    auto *slideshow = new ColourSlideshow({kRed, kBlue});
    VORSlideshow::VORSlideshowProperties &properties = slideshow->GetSlideshowProperties();
    properties.layoutRect = kShow;
    properties.imageLayout = TestPicture::Filling();
    properties.modalTransition = modal;
    properties.repeatCount = SlideshowPlayback::kEndless;
    properties.delays = {kSlideMs, kSlideMs};
    properties.references = {VORObjectCode(4, 0, 2), VORObjectCode(4, 0, 3)};
    properties.transitions.resize(2);
    for (VORFXManager::FXParams &transition : properties.transitions)
      transition.effectName = VORString("Fade");
    slideshow->SetRect(kShow);
    page.GetMasterInstance().InsertAfter(slideshow, nullptr);
    return *slideshow;
  }

  void ShowPage() {
    VORPageInstance &instance = page.GetMasterInstance();
    instance.SetRect(kPage);
    view.buffer = std::make_unique<VORScreenBuffer>(&view, kPage);
    view.page = &instance;
    instance.Show(view);
    shown = true;
    VORGraphicalObject::UpdatePageDrawFlags(instance);
    VORGraphicalObject::RebuildPageObjectSurfaces(instance);
    view.buffer->FlushDirtyRects();
    instance.OnShown();
    Pass(clock.GetMilliseconds());
  }

  // One pass of the main loop at now: queued actions, effects, painting
  // of what became dirty.
  void Pass(uint32_t now) {
    clock.Set(now);
    player.OnTick(now);
    player.GetUpdateController()->Run();
    view.buffer->FlushDirtyRects();
  }
  void RunUntil(uint32_t end) {
    for (uint32_t now = clock.GetMilliseconds() + 5; now <= end; now += 5)
      Pass(now);
  }

  uint32_t Middle() { return SurfacePixel(*view.buffer, 70, 50); }

  FakeClock clock;
  TestPlayer player{clock};
  BufferView view{24, kPage};
  VORPlayerPage page{VORPlayerPage::kClassKey, 1};
  bool shown = false;
};

// The step brings the blue slide in through a fade that the update
// controller draws while the page goes on: half way the slideshow shows
// neither picture, at the end exactly the new one, and the page around it
// stays as it was. The next step waits for the fade to end.
TEST_F(SlideshowTransitionTest, ASlideFadesInUnderTheUpdateController) {
  ColourSlideshow &slideshow = Add(0);
  ShowPage();
  ASSERT_TRUE(slideshow.GetPlayback().IsPlaying());
  EXPECT_EQ(Middle(), kRed);
  RunUntil(kStart + kSlideMs - 60);
  EXPECT_EQ(Middle(), kRed);
  // The step falls due on the queue's grid, a little after the delay.
  uint32_t stepAt = 0;
  for (uint32_t now = clock.GetMilliseconds() + 5; stepAt == 0 && now < kStart + 2 * kSlideMs; now += 5) {
    Pass(now);
    if (slideshow.GetPlayback().GetCurrentIndex() == 1)
      stepAt = now;
  }
  ASSERT_NE(stepAt, 0u);
  ASSERT_NE(slideshow.GetEffect(), nullptr);
  RunUntil(stepAt + kFadeMs / 2);
  const uint32_t halfWay = Middle();
  EXPECT_NE(halfWay, kRed);
  EXPECT_NE(halfWay, kBlue);
  EXPECT_EQ(SurfacePixel(*view.buffer, 150, 50), kWhite);
  EXPECT_EQ(SurfacePixel(*view.buffer, 10, 10), kWhite);
  RunUntil(stepAt + kFadeMs + 60);
  EXPECT_EQ(Middle(), kBlue);
  EXPECT_EQ(SurfacePixel(*view.buffer, 21, 21), kBlue);
  EXPECT_EQ(SurfacePixel(*view.buffer, 150, 50), kWhite);
  EXPECT_EQ(slideshow.GetEffect(), nullptr) << "a finished fade is let go";
  // The next slide comes a full delay after the step.
  RunUntil(stepAt + kSlideMs - 60);
  EXPECT_EQ(Middle(), kBlue);
  RunUntil(stepAt + kSlideMs + kFadeMs + 120);
  EXPECT_EQ(Middle(), kRed);
}

// Hiding the slideshow while a fade runs ends the fade and the show: no
// effect is left to draw from surfaces that are gone.
TEST_F(SlideshowTransitionTest, HidingDuringAFadeEndsIt) {
  ColourSlideshow &slideshow = Add(0);
  ShowPage();
  while (slideshow.GetEffect() == nullptr && clock.GetMilliseconds() < kStart + 2 * kSlideMs)
    Pass(clock.GetMilliseconds() + 5);
  ASSERT_NE(slideshow.GetEffect(), nullptr);
  slideshow.Hide(0);
  EXPECT_EQ(slideshow.GetEffect(), nullptr);
  EXPECT_FALSE(slideshow.GetPlayback().IsPlaying());
  RunUntil(clock.GetMilliseconds() + kFadeMs + kSlideMs);
  slideshow.Show(0);
  EXPECT_EQ(slideshow.GetEffect(), nullptr);
}

// A slideshow that runs its effects modally has no surface of its own to
// fade on under the update controller; either way the transitions ask for
// the effect's draw flag.
TEST_F(SlideshowTransitionTest, TransitionsAskForTheEffectFlag) {
  ColourSlideshow &slideshow = Add(1);
  slideshow.GetSlideshowProperties().transitions[1].effectName = VORString();
  slideshow.UpdateDrawFlags();
  EXPECT_TRUE(slideshow.GetDrawFlags().Has(DrawFlags::kEffect));
  slideshow.GetSlideshowProperties().transitions[0].effectName = VORString();
  slideshow.ResetDrawFlags();
  slideshow.UpdateDrawFlags();
  EXPECT_FALSE(slideshow.GetDrawFlags().Has(DrawFlags::kEffect));
}

} // namespace
