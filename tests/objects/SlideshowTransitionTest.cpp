#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "PaintedPage.h"
#include "display/SurfacePixels.h"
#include "engine/VORUpdateController.h"
#include "images/ImageFit.h"
#include "model/ActionContext.h"
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
constexpr uint32_t kGreen = 0x00A000;

// A solid picture placed as a publication's pictures are: by its layout's
// fit mode, keeping its proportions when the layout says so.
class FittedPicture : public VORGfxImage {
public:
  FittedPicture(int32_t width, int32_t height, uint32_t colour, const ImageLayout &layout)
      : VORGfxImage(layout), m_width(width), m_height(height), m_solid(TestPicture::Solid(width, height, colour)) {}

  bool Draw(DrawingContext &context, const VORRect &destination, const VORRect &clip) override {
    for (const ImageFit::Placement &placement : ImageFit::Place(VORRect(0, 0, m_width, m_height), destination, clip,
                                                                GetLayout().fitMode, GetLayout().keepAspect != 0))
      m_solid->Draw(context, placement.destination, clip);
    return true;
  }
  void GetSize(int32_t &width, int32_t &height, int32_t &bitsPerPixel) override {
    width = m_width;
    height = m_height;
    bitsPerPixel = 24;
  }
  bool MatchesAppPalette() override { return false; }

private:
  int32_t m_width;
  int32_t m_height;
  std::unique_ptr<TestPicture> m_solid;
};

struct Slide {
  uint32_t colour;
  int32_t width = 10;
  int32_t height = 10;
};

// A slideshow whose slides are solid pictures of the colours and sizes
// given, not resources of a publication, laid out by the slideshow's
// picture settings.
class ColourSlideshow : public VORPlayerSlideshow {
public:
  explicit ColourSlideshow(std::vector<Slide> slideList)
      : VORPlayerSlideshow(VORObjectCode::MakeClassKey(kCategory, kCode), 1), slides(std::move(slideList)) {}

  std::vector<Slide> slides;

protected:
  std::unique_ptr<VORGfxImage> MakeSlidePicture(int32_t index) override {
    const Slide &slide = slides[static_cast<size_t>(index)];
    return std::make_unique<FittedPicture>(slide.width, slide.height, slide.colour,
                                           GetGraphicalProperties().imageLayout);
  }
};

// A page with one slideshow of red and blue slides, each kept kSlideMs and
// faded into, endlessly, under a player whose clock the test sets: its
// event queue brings the steps, its update controller draws the fades.
class SlideshowPage {
public:
  explicit SlideshowPage(uint32_t start = kStart) {
    clock.Set(start);
    EXPECT_TRUE(player.Load(TestPublications::Of({TestPublications::Chapter(1, {TestPublications::Page(1)})})));
    player.SetFXManager(VORPlayerFXManager::MakeParts());
  }
  SlideshowPage(const SlideshowPage &) = delete;
  SlideshowPage &operator=(const SlideshowPage &) = delete;
  ~SlideshowPage() {
    if (shown)
      page.GetMasterInstance().Hide();
  }

  ColourSlideshow &Add(uint8_t modal, std::vector<Slide> slides = {{kRed}, {kBlue}},
                       const ImageLayout &layout = TestPicture::Filling(), const char *effect = "Fade") {
    auto *slideshow = new ColourSlideshow(std::move(slides));
    VORSlideshow::VORSlideshowProperties &properties = slideshow->GetSlideshowProperties();
    properties.layoutRect = kShow;
    properties.imageLayout = layout;
    properties.modalTransition = modal;
    properties.repeatCount = SlideshowPlayback::kEndless;
    properties.delays = {kSlideMs, kSlideMs};
    properties.references = {VORObjectCode(4, 0, 2), VORObjectCode(4, 0, 3)};
    properties.transitions.resize(2);
    for (VORFXManager::FXParams &transition : properties.transitions)
      transition.effectName = VORString(effect);
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

class SlideshowTransitionTest : public ::testing::Test, public SlideshowPage {};

// The slides a shuffled slideshow of eight, starting by itself on the
// first page at start-up, shows in its first pass, on a player whose clock
// reads start then.
std::vector<int32_t> FirstShuffledPass(uint32_t start) {
  SlideshowPage shownPage(start);
  ColourSlideshow &slideshow = shownPage.Add(0, std::vector<Slide>(8, Slide{kRed}), TestPicture::Filling(), "");
  VORSlideshow::VORSlideshowProperties &properties = slideshow.GetSlideshowProperties();
  properties.slideFlags =
      VORSlideshow::VORSlideshowProperties::kStartByItself | VORSlideshow::VORSlideshowProperties::kShuffled;
  properties.delays.assign(8, kSlideMs);
  properties.references.resize(8, VORObjectCode(4, 0, 2));
  properties.transitions.resize(8);
  shownPage.ShowPage();
  std::vector<int32_t> order;
  for (int i = 0; i < 8; ++i) {
    order.push_back(slideshow.GetPlayback().GetCurrentIndex());
    shownPage.RunUntil(shownPage.clock.GetMilliseconds() + kSlideMs + 20);
  }
  return order;
}

// The step brings the blue slide in through a fade that the update
// controller draws while the page goes on: half way the slideshow shows
// neither picture, at the end exactly the new one, and the page around it
// stays as it was. The next step waits for the fade to end. A fade never
// runs modally, so a slideshow that runs its effects modally (the
// parameter) fades the same way.
class SlideshowFadeTest : public SlideshowTransitionTest, public ::testing::WithParamInterface<uint8_t> {};

TEST_P(SlideshowFadeTest, ASlideFadesInUnderTheUpdateController) {
  ColourSlideshow &slideshow = Add(GetParam());
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

INSTANTIATE_TEST_SUITE_P(ModalFlag, SlideshowFadeTest, ::testing::Values(uint8_t{0}, uint8_t{1}),
                         [](const ::testing::TestParamInfo<uint8_t> &flag) {
                           return flag.param != 0 ? std::string("Modal") : std::string("NotModal");
                         });

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

// Stretched keeping their proportions (the picture settings' default), a
// wide slide and then a tall one leave bands in the slideshow's place: the
// slideshow says it does not cover it, and the bands show what lies below,
// never the slide before; with and without a fade between the slides.
class SlideshowLetterboxTest : public SlideshowTransitionTest, public ::testing::WithParamInterface<const char *> {};

TEST_P(SlideshowLetterboxTest, LetterboxedSlidesLeaveNothingOfTheSlideBefore) {
  // 100 x 60: red 40 x 10 takes the top 100 x 25, blue 10 x 40 the left 15 x 60.
  ColourSlideshow &slideshow = Add(0, {{kRed, 40, 10}, {kBlue, 10, 40}}, ImageLayout(), GetParam());
  ShowPage();
  EXPECT_TRUE(slideshow.GetDrawFlags().HasAll(DrawFlags::kNotCovering | DrawFlags::kNotFilling));
  EXPECT_EQ(SurfacePixel(*view.buffer, 70, 30), kRed);
  EXPECT_EQ(SurfacePixel(*view.buffer, 70, 60), kWhite);
  RunUntil(kStart + kSlideMs + kFadeMs + 120);
  ASSERT_EQ(slideshow.GetPlayback().GetCurrentIndex(), 1);
  EXPECT_EQ(SurfacePixel(*view.buffer, 25, 60), kBlue);
  for (const VORPoint point : {VORPoint{70, 30}, VORPoint{110, 22}, VORPoint{70, 60}, VORPoint{40, 78}})
    EXPECT_EQ(SurfacePixel(*view.buffer, point.x, point.y), kWhite) << point.x << ", " << point.y;
}

INSTANTIATE_TEST_SUITE_P(WithAndWithoutAFade, SlideshowLetterboxTest, ::testing::Values("", "Fade"));

// Slides that stay no time at all are shown one a tick, each in its turn
// and painted: the step a slide posts without delay waits for the next
// tick, so a looping slideshow never keeps its tick from ending.
TEST_F(SlideshowTransitionTest, SlidesWithoutDelayShowOneATick) {
  const std::vector<uint32_t> colours = {kRed, kBlue, kGreen};
  ColourSlideshow &slideshow = Add(0, {{kRed}, {kBlue}, {kGreen}}, TestPicture::Filling(), "");
  VORSlideshow::VORSlideshowProperties &properties = slideshow.GetSlideshowProperties();
  properties.delays.assign(3, 0);
  properties.references.resize(3, VORObjectCode(4, 0, 2));
  properties.transitions.resize(3);
  ShowPage();
  int32_t index = slideshow.GetPlayback().GetCurrentIndex();
  EXPECT_EQ(Middle(), colours[static_cast<size_t>(index)]);
  for (int tick = 0; tick < 6; ++tick) {
    // The clock stands still: only the ticks move the slideshow on.
    Pass(clock.GetMilliseconds());
    index = (index + 1) % 3;
    ASSERT_EQ(slideshow.GetPlayback().GetCurrentIndex(), index) << "tick " << tick;
    EXPECT_EQ(Middle(), colours[static_cast<size_t>(index)]) << "tick " << tick;
  }
}

// An action 400 that another object sends steps the slideshow though it
// does not play: the next slide shows, and no timed step follows.
TEST_F(SlideshowTransitionTest, AStepFromAnotherObjectStepsAStoppedSlideshow) {
  ColourSlideshow &slideshow = Add(0, {{kRed}, {kBlue}}, TestPicture::Filling(), "");
  slideshow.GetSlideshowProperties().slideFlags = 0;
  ShowPage();
  ASSERT_FALSE(slideshow.GetPlayback().IsPlaying());
  EXPECT_EQ(Middle(), kRed);
  VORObjectAction step(VORObjectAction::kClassKey, 7);
  step.SetActionCode(VORSlideshow::kStep);
  step.SetTarget(slideshow.GetObjectCode());
  ActionContext context = ActionContext::FromAction(step);
  EXPECT_TRUE(slideshow.ReceiveAction(step, context));
  Pass(clock.GetMilliseconds() + 5);
  EXPECT_EQ(Middle(), kBlue);
  EXPECT_EQ(slideshow.GetPlayback().GetCurrentIndex(), 1);
  EXPECT_FALSE(slideshow.GetPlayback().IsPlaying());
  RunUntil(clock.GetMilliseconds() + 3 * kSlideMs);
  EXPECT_EQ(Middle(), kBlue);
}

// The shuffled order is drawn with the clock as it reads at the shuffle,
// not with the time of a tick, which is still 0 when the first page shows:
// two start-ups at different times show the slides in different orders.
TEST(SlideshowShuffleTest, TwoStartUpsShowDifferentOrders) {
  const std::vector<int32_t> first = FirstShuffledPass(4711);
  const std::vector<int32_t> second = FirstShuffledPass(90210);
  ASSERT_EQ(first.size(), 8u);
  EXPECT_EQ(std::set<int32_t>(first.begin(), first.end()).size(), 8u) << "every slide once";
  EXPECT_NE(first, second);
  EXPECT_EQ(FirstShuffledPass(4711), first) << "the clock alone decides the order";
}

// Whether the slideshow runs its effects modally or not, the transitions
// ask for the effect's draw flag: an effect that the view does not run
// modally runs on the slideshow's own surface.
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
