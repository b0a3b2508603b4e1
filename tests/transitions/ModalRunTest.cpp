#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <memory>

#include "EffectParams.h"
#include "display/VORBitmapObjectSurface.h"
#include "engine/TimerWindow.h"
#include "engine/VORSystemClock.h"
#include "engine/VORUpdateController.h"
#include "model/VORActionReceiver.h"
#include "model/VORObjectAction.h"
#include "support/FakeClock.h"
#include "support/TestPlayer.h"
#include "support/TestPlayerApp.h"
#include "transitions/VORBlindFX.h"
#include "transitions/VORPixelFX.h"
#include "transitions/VORTimedFX.h"

namespace {

constexpr uint32_t kEscapeExits = 0x10;
constexpr uint32_t kRunMs = 400;
const VORRect kArea(0, 0, 64, 48);

PublicationRecords::Publication OnePage(uint32_t flags) {
  PublicationRecords::Publication publication =
      TestPublications::Of({TestPublications::Chapter(1, {TestPublications::Page(1)})});
  publication.properties.flags = flags;
  return publication;
}

// The new picture of the effects: a surface of its own, shown nowhere.
class PictureSurface : public VORBitmapObjectSurface {
public:
  using VORBitmapObjectSurface::VORBitmapObjectSurface;
  void RedrawRect(const VORRect & /*rect*/) override {}
};

std::unique_ptr<VORBitmapObjectSurface> Picture(const VORRect &rect) {
  VORBitmapObjectSurface::Params params;
  params.rect = rect;
  params.dib = true;
  return std::make_unique<PictureSurface>(params);
}

std::unique_ptr<VORTimedFX> Blinds(VORBitmapObjectSurface &picture, uint32_t duration) {
  VORBlindFX::BlindFXProperties record;
  record.duration = static_cast<uint16_t>(duration);
  return std::make_unique<VORBlindFX>(EffectParams("Blind", record), &picture, nullptr, nullptr);
}

bool EscapeWaits() {
  MSG message;
  return PeekMessageA(&message, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_NOREMOVE) && message.wParam == VK_ESCAPE;
}

void DropWaitingKeys() {
  MSG message;
  while (PeekMessageA(&message, nullptr, WM_KEYDOWN, WM_KEYUP, PM_REMOVE)) {
  }
}

// A modal run over the system's clock, under a publication that lets
// Escape end it or not, with Escape pressed before it starts.
class ModalEscapeTest : public ::testing::TestWithParam<bool> {
protected:
  void SetUp() override {
    ASSERT_TRUE(player.Load(OnePage(GetParam() ? kEscapeExits : 0)));
    keys.Post(WM_KEYDOWN, VK_ESCAPE, 1);
  }
  void TearDown() override { DropWaitingKeys(); }

  TestPlayer player{VORSystemClock::Instance()};
  MessageRecorder keys;
  std::unique_ptr<VORBitmapObjectSurface> picture = Picture(kArea);
};

TEST_P(ModalEscapeTest, EscapeEndsTheRunOnlyWhenThePublicationLetsItExitAndStaysQueued) {
  const bool escapeExits = GetParam();
  std::unique_ptr<VORTimedFX> effect = Blinds(*picture, kRunMs);
  VORUpdateController &controller = *player.GetUpdateController();
  const uint32_t before = VORSystemClock::Instance().GetMilliseconds();
  effect->RunModal(kArea, false);
  const uint32_t elapsed = VORSystemClock::Instance().GetMilliseconds() - before;
  EXPECT_TRUE(EscapeWaits()) << "the key is left for the main loop";
  if (!escapeExits) {
    EXPECT_TRUE(effect->IsFinished());
    EXPECT_GE(elapsed, kRunMs) << "the run went on to its end";
    return;
  }
  EXPECT_FALSE(effect->IsFinished()) << "stopped early, still running";
  EXPECT_LT(elapsed, kRunMs);
  // Still scheduled: its caller must delete it, or it draws again later.
  const size_t entries = controller.GetEntryCount();
  EXPECT_TRUE(controller.IsScheduled(effect.get()));
  effect.reset();
  // The controller lets go of removed entries after its next run.
  controller.Run();
  EXPECT_EQ(controller.GetEntryCount(), entries - 1) << "deleting it took it out of the update controller";
}

INSTANTIATE_TEST_SUITE_P(ExitFlag, ModalEscapeTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool> &exitFlag) {
                           return exitFlag.param ? std::string("EscapeExits") : std::string("EscapeDoesNotExit");
                         });

// A receiver outside any page that notes whether the effect still ran when
// its action came.
class Receiver : public VORActionReceiver {
public:
  static constexpr int32_t kId = 7;
  explicit Receiver(std::function<void()> run)
      : VORActionReceiver(VORObjectCode::MakeClassKey(5, 5), kId), m_run(std::move(run)) {
    Register();
  }
  bool ReceiveAction(VORObjectAction & /*action*/, ActionContext & /*context*/) override {
    m_run();
    return true;
  }

private:
  std::function<void()> m_run;
};

// The timer window ticks the player inside the modal loop: an action
// queued before the run falls due while the effect is still running.
TEST(ModalRunTest, QueuedActionsFallDueWhileAModalRunGoesOn) {
  TestPlayer player{VORSystemClock::Instance()};
  ASSERT_TRUE(player.Load(OnePage(0)));
  TimerWindow timer;
  timer.Create(&player, VORSystemClock::Instance(), GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(timer.GetWindow(), nullptr);
  std::unique_ptr<VORBitmapObjectSurface> picture = Picture(kArea);
  constexpr uint32_t kLongRunMs = 1500;
  std::unique_ptr<VORTimedFX> effect = Blinds(*picture, kLongRunMs);
  int calls = 0;
  bool duringRun = false;
  Receiver receiver([&] {
    ++calls;
    duringRun = effect->GetState() == VORFX::kRunning;
  });
  auto *action = new VORObjectAction(VORObjectAction::kClassKey, 0);
  action->SetTarget(VORObjectCode(5, 5, Receiver::kId));
  action->SetActionCode(1);
  player.ScheduleAction(200, action, nullptr);
  effect->RunModal(kArea, false);
  timer.Destroy();
  EXPECT_TRUE(effect->IsFinished());
  EXPECT_EQ(calls, 1);
  EXPECT_TRUE(duringRun) << "the action ran inside the modal loop";
}

// A long modal run of many steps: elapsed x total passes 2^32 long before
// the end (pixel mode 3 on 640 x 480 over 14 s). Worked in 32 bits the step
// wrapped round and the run never ended.
TEST(ModalRunTest, ALongRunOfManyStepsEndsOnTime) {
  FakeClock clock;
  constexpr uint32_t kStart = 5000;
  constexpr uint32_t kDuration = 14000;
  clock.Set(kStart);
  TestPlayer player{clock};
  ASSERT_TRUE(player.Load(OnePage(0)));
  const VORRect screen(0, 0, 640, 480);
  std::unique_ptr<VORBitmapObjectSurface> picture = Picture(screen);
  VORPixelFX::PixelFXProperties record;
  record.duration = kDuration;
  record.mode = 3;
  VORPixelFX effect(EffectParams("Pixel", record), picture.get(), nullptr, nullptr);
  effect.BeginModal(screen, false);
  ASSERT_EQ(effect.GetTotal(), 640 * 480);
  uint32_t due = 0;
  effect.Update(due);
  for (const uint32_t at : {1000u, 7000u, 13999u}) {
    clock.Set(kStart + at);
    effect.Update(due);
    EXPECT_EQ(effect.GetCurrentStep(), static_cast<int32_t>(uint64_t{at} * effect.GetTotal() / kDuration)) << at;
    EXPECT_FALSE(effect.IsFinished()) << at;
  }
  clock.Set(kStart + kDuration);
  effect.Update(due);
  EXPECT_TRUE(effect.IsFinished());
  EXPECT_EQ(effect.GetCurrentStep(), effect.GetTotal());
}

} // namespace
