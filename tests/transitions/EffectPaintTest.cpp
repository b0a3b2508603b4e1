// Every registered effect run through GDI: pictures in bitmap surfaces, the
// frames painted into a DIB that stands for the window, the steps driven by
// a clock of the test's own.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "EffectRig.h"
#include "display/FakeView.h"
#include "display/GdiCanvas.h"
#include "engine/VORUpdateController.h"
#include "foundation/VORRandomGenerator.h"
#include "support/FakeClock.h"
#include "transitions/FXPictureStore.h"
#include "transitions/VORBlockFX.h"
#include "transitions/VORPixelFX.h"
#include "transitions/VORPlayerFXManager.h"
#include "transitions/VORScrollFX.h"
#include "transitions/VORSlideFX.h"
#include "transitions/VORTimedFX.h"

namespace {

constexpr int32_t kPageWidth = 96;
constexpr int32_t kPageHeight = 72;
constexpr VORRect kPage(0, 0, kPageWidth, kPageHeight);
// Off the page's corner, so that a wrong origin shows.
constexpr VORRect kEffectRect(8, 6, 88, 66);
constexpr uint32_t kStart = 1000;

// The two pictures differ at every pixel: the new one's blue is always
// above 0x7F, the old one's always below.
uint32_t NewPixel(int32_t x, int32_t y) {
  return ((static_cast<uint32_t>(x) * 7 & 0xFF) << 16) | ((static_cast<uint32_t>(y) * 5 & 0xFF) << 8) | 0x80 |
         (static_cast<uint32_t>(x * y) & 0x7F);
}
uint32_t OldPixel(int32_t x, int32_t y) {
  return ((static_cast<uint32_t>(x) * 3 & 0xFF) << 16) | ((static_cast<uint32_t>(y) * 11 & 0xFF) << 8) |
         (static_cast<uint32_t>(x + y) & 0x7F);
}

std::vector<uint32_t> Picture(uint32_t (*pixel)(int32_t, int32_t)) {
  std::vector<uint32_t> pixels(static_cast<size_t>(kPageWidth) * kPageHeight);
  for (int32_t y = 0; y < kPageHeight; ++y)
    for (int32_t x = 0; x < kPageWidth; ++x)
      pixels[static_cast<size_t>(y * kPageWidth + x)] = pixel(x, y);
  return pixels;
}

using EffectRig::With;

struct Case {
  const char *name;
  EffectRig::RecordMaker record;
};

const std::vector<Case> &Cases() {
  static const std::vector<Case> cases = {
      {"Fade", nullptr},
      {"Pixel", nullptr},
      {"Pixel", With<VORPixelFX::PixelFXProperties>([](auto &r) { r.mode = 2; })},
      {"Blind", nullptr},
      {"Jigsaw", nullptr},
      {"Jigsaw", With<VORBlockFX::BlockFXProperties>([](auto &r) {
         r.columns = 3;
         r.rows = 2;
         r.order = 8;
       })},
      {"Scroll", With<VORScrollFX::ScrollFXProperties>([](auto &r) {
         r.dx = 1;
         r.wipe = 0;
       })},
      {"Block", nullptr},
      {"Slide", With<VORSlideFX::SlideFXProperties>([](auto &r) { r.dy = -1; })},
      {"Zoom", nullptr},
      {"Shape", nullptr},
  };
  return cases;
}

class EffectPaintTest : public ::testing::Test {
protected:
  EffectPaintTest()
      : m_controller(m_clock), m_app(m_controller), m_window(kPageWidth, kPageHeight, 32), m_view(m_window, kPage),
        m_newPicture(kPage, &m_view), m_oldPicture(kPage, &m_view) {
    m_newPicture.Draw(Picture(NewPixel));
    m_oldPicture.Draw(Picture(OldPixel));
  }

  // What the window shows before the effect starts.
  void Show(uint32_t (*pixel)(int32_t, int32_t)) {
    EffectRig::DrawPixels(m_window.dc(), kPageWidth, kPageHeight, Picture(pixel));
  }

  std::unique_ptr<VORTimedFX> Make(const Case &c) {
    VORFXParams params;
    params.effectName = VORString(c.name);
    if (c.record)
      params.SetProperties(c.record());
    std::unique_ptr<VORFX> made = m_manager.CreateEffect(params, &m_newPicture, &m_oldPicture, &m_view);
    return std::unique_ptr<VORTimedFX>(dynamic_cast<VORTimedFX *>(made.release()));
  }

  // The window's pixel, read straight from its DIB.
  uint32_t WindowPixel(int32_t x, int32_t y) const {
    const auto *row = reinterpret_cast<const uint32_t *>(m_window.bits()) + static_cast<size_t>(y) * kPageWidth;
    return row[x] & 0xFFFFFF;
  }
  // How many pixels of the effect rectangle the window shows as the picture.
  int32_t Matching(uint32_t (*pixel)(int32_t, int32_t)) const {
    ::GdiFlush();
    int32_t count = 0;
    for (int32_t y = kEffectRect.top; y < kEffectRect.bottom; ++y)
      for (int32_t x = kEffectRect.left; x < kEffectRect.right; ++x)
        count += WindowPixel(x, y) == pixel(x, y) ? 1 : 0;
    return count;
  }
  // Whether everything around the effect rectangle is as it was.
  bool OutsideUntouched(uint32_t (*pixel)(int32_t, int32_t)) const {
    ::GdiFlush();
    for (int32_t y = 0; y < kPageHeight; ++y)
      for (int32_t x = 0; x < kPageWidth; ++x)
        if (!kEffectRect.Contains(x, y) && WindowPixel(x, y) != pixel(x, y))
          return false;
    return true;
  }

  FakeClock m_clock;
  VORUpdateController m_controller;
  EffectRig::ClockApp m_app;
  GdiCanvas m_window;
  FakeView m_view;
  EffectRig::PictureSurface m_newPicture;
  EffectRig::PictureSurface m_oldPicture;
  VORPlayerFXManager m_manager;
};

const int32_t kAll = static_cast<int32_t>(kEffectRect.Width() * kEffectRect.Height());

TEST_F(EffectPaintTest, EveryEffectPassesThroughAMixedFrameAndEndsOnExactlyTheNewPicture) {
  for (const Case &c : Cases()) {
    for (const bool closing : {false, true}) {
      const std::string name = std::string(c.name) + (c.record ? " (own record)" : "") + (closing ? " closing" : "");
      // Closing, the picture that goes is on the window at the start.
      uint32_t (*const before)(int32_t, int32_t) = closing ? NewPixel : OldPixel;
      Show(before);
      std::unique_ptr<VORTimedFX> effect = Make(c);
      ASSERT_NE(effect, nullptr) << name;
      m_clock.Set(kStart);
      effect->BeginModal(kEffectRect, closing);
      ASSERT_EQ(effect->GetState(), VORFX::kRunning) << name;
      uint32_t nextDue = 0;
      effect->Update(nextDue);
      m_clock.Set(kStart + effect->GetDuration() / 2);
      effect->Update(nextDue);
      ASSERT_EQ(effect->GetState(), VORFX::kRunning) << name;
      // Half-way the window shows some of each picture, or a blend of both.
      EXPECT_LT(Matching(NewPixel), kAll) << name;
      EXPECT_LT(Matching(OldPixel), kAll) << name;
      EXPECT_TRUE(OutsideUntouched(before)) << name;
      m_clock.Set(kStart + effect->GetDuration());
      effect->Update(nextDue);
      EXPECT_TRUE(effect->IsFinished()) << name;
      EXPECT_EQ(Matching(closing ? OldPixel : NewPixel), kAll) << name;
      EXPECT_TRUE(OutsideUntouched(before)) << name;
    }
  }
}

// The pictures an effect takes may be larger than its rectangle (kept from
// an effect over a larger one, or warmed at start-up for the whole screen):
// every frame is the same as through pictures of its own size.
TEST_F(EffectPaintTest, EveryEffectDrawsTheSameFramesThroughLargerKeptPictures) {
  for (const Case &c : Cases()) {
    std::vector<uint32_t> frames[2];
    for (int larger = 0; larger < 2; ++larger) {
      FXPictureStore::Clear();
      if (larger != 0)
        FXPictureStore::Warm(kPageWidth * 3, kPageHeight + 9);
      Show(OldPixel);
      std::unique_ptr<VORTimedFX> effect = Make(c);
      VORRandomGenerator::Seed(7); // the same random order both times
      m_clock.Set(kStart);
      effect->BeginModal(kEffectRect, false);
      uint32_t nextDue = 0;
      for (uint32_t part = 0; part <= 4; ++part) {
        m_clock.Set(kStart + effect->GetDuration() * part / 4);
        effect->Update(nextDue);
        ::GdiFlush();
        for (int32_t y = 0; y < kPageHeight; ++y)
          for (int32_t x = 0; x < kPageWidth; ++x)
            frames[larger].push_back(WindowPixel(x, y));
      }
      EXPECT_TRUE(effect->IsFinished()) << c.name;
    }
    EXPECT_EQ(frames[0], frames[1]) << c.name << (c.record ? " (own record)" : "");
  }
  FXPictureStore::Clear();
}

// A rectangle with nothing in it, or one that misses the pictures, ends at
// once without drawing anywhere.
TEST_F(EffectPaintTest, EmptyRectanglesEndAtOnceAndDrawNothing) {
  const VORRect empties[] = {VORRect(10, 10, 10, 40), VORRect(20, 20, 5, 5), VORRect(500, 500, 600, 600)};
  for (const Case &c : Cases()) {
    for (const VORRect &rect : empties) {
      Show(OldPixel);
      std::unique_ptr<VORTimedFX> effect = Make(c);
      m_clock.Set(kStart);
      effect->BeginModal(rect, false);
      uint32_t nextDue = 0;
      effect->Update(nextDue);
      EXPECT_TRUE(effect->IsFinished()) << c.name;
      EXPECT_EQ(Matching(OldPixel), kAll) << c.name;
      EXPECT_TRUE(OutsideUntouched(OldPixel)) << c.name;
    }
  }
}

// Under the update controller a step that comes too late is drawn at
// once, the increment grows by a tenth plus one and the effect asks again
// 5 ms later; the end tells the completion target.
TEST_F(EffectPaintTest, ALateControllerRunSkipsStepsAndStillEndsOnTheNewPicture) {
  std::unique_ptr<VORTimedFX> effect = Make(Case{"Block", nullptr});
  m_clock.Set(kStart);
  effect->Start(false);
  ASSERT_EQ(effect->GetTotal(), 100);
  ASSERT_EQ(effect->GetIncrement(), 2);
  m_controller.Run();
  EXPECT_EQ(effect->GetCurrentStep(), 1);
  EXPECT_EQ(m_controller.GetNextDueTime(), kStart + 5) << "step 1 of 100 over 500 ms";
  m_clock.Set(kStart + 400);
  m_controller.Run();
  EXPECT_EQ(effect->GetCurrentStep(), 3);
  EXPECT_EQ(effect->GetIncrement(), 2 * 11 / 10 + 1);
  EXPECT_EQ(m_controller.GetNextDueTime(), kStart + 405);
  int32_t runs = 2;
  while (!effect->IsFinished() && runs < 100) {
    m_clock.Set(m_controller.GetNextDueTime());
    m_controller.Run();
    ++runs;
  }
  EXPECT_TRUE(effect->IsFinished());
  EXPECT_LT(runs, 20) << "a late effect catches up by skipping steps";
  EXPECT_TRUE(m_view.HasDirtyRects()) << "the completion target is told";
  effect->Paint(kEffectRect, kEffectRect);
  EXPECT_EQ(Matching(NewPixel), kAll);
}

// Many steps over a long time: elapsed x total passes 32 bits long before
// the end; the run must still end, on the duration and not before.
TEST_F(EffectPaintTest, ALongModalRunOfManyStepsEndsOnTime) {
  const uint32_t duration = 1000000;
  std::unique_ptr<VORTimedFX> effect = Make(Case{"Pixel", With<VORPixelFX::PixelFXProperties>([duration](auto &r) {
                                                   r.mode = 3;
                                                   r.duration = duration;
                                                 })});
  Show(OldPixel);
  m_clock.Set(kStart);
  effect->BeginModal(kEffectRect, false);
  ASSERT_EQ(effect->GetTotal(), kAll);
  uint32_t nextDue = 0;
  effect->Update(nextDue);
  m_clock.Set(kStart + duration - 1);
  effect->Update(nextDue);
  EXPECT_FALSE(effect->IsFinished());
  EXPECT_LT(effect->GetCurrentStep(), kAll);
  EXPECT_GT(effect->GetCurrentStep(), kAll - 2);
  m_clock.Set(kStart + duration);
  effect->Update(nextDue);
  EXPECT_TRUE(effect->IsFinished());
  EXPECT_EQ(Matching(NewPixel), kAll);
}

} // namespace
