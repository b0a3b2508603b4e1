#include "engine/TimerWindow.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/VORSystemClock.h"
#include "engine/VORTimerTickReceiver.h"
#include "foundation/VORException.h"
#include "foundation/XQCallbackGuard.h"
#include "model/VORActionReceiver.h"
#include "model/VORObjectAction.h"
#include "support/ProgramDriver.h"
#include "support/PublicationRecords.h"
#include "support/TestPlayerApp.h"

namespace {

constexpr UINT kWatchdogMs = 10000;
constexpr const char *kBoxCaption = "TimerWindowTest";

// A receiver outside any page that runs what the test gives it.
class Receiver : public VORActionReceiver {
public:
  Receiver(int32_t id, std::function<void()> run)
      : VORActionReceiver(VORObjectCode::MakeClassKey(5, 5), id), m_run(std::move(run)) {
    Register();
  }
  bool ReceiveAction(VORObjectAction & /*action*/, ActionContext & /*context*/) override {
    ++calls;
    m_run();
    return true;
  }
  int calls = 0;

private:
  std::function<void()> m_run;
};

VORObjectAction *ActionFor(int32_t receiverId) {
  auto *action = new VORObjectAction(VORObjectAction::kClassKey, 0);
  action->SetTarget(VORObjectCode(5, 5, receiverId));
  action->SetActionCode(1);
  return action;
}

std::string OnePage() {
  PublicationRecords::Publication publication;
  PublicationRecords::Chapter chapter;
  chapter.pages = {VORObjectKey{0, 4, 1}};
  publication.chapters = {chapter};
  return PublicationRecords::FileText(publication);
}

// An action opens a modal box; the action queued after it falls due while
// the box's own loop runs (the timer window ticks there) and closes it.
TEST(TimerWindowTest, QueuedActionsFallDueInsideAModalLoop) {
  ScratchFolder folder;
  folder.WriteFile("demo.vor", OnePage());
  TestPlayerApp app;
  ASSERT_TRUE(app.StartUp(folder.File("demo.vor").c_str(), nullptr));
  bool insideBox = false;
  bool closedFromInside = false;
  Receiver opener(1, [&] {
    insideBox = true;
    MessageBoxA(nullptr, "modal", kBoxCaption, MB_OK);
    insideBox = false;
  });
  Receiver closer(2, [&] { closedFromInside = insideBox && PressOkOnThreadBox(kBoxCaption); });
  app.ScheduleAction(0, ActionFor(1), nullptr);
  app.ScheduleAction(300, ActionFor(2), nullptr);
  LoopWatchdog watchdog(kWatchdogMs);
  app.OnTick(VORSystemClock::Instance().GetMilliseconds());
  EXPECT_FALSE(watchdog.Fired());
  EXPECT_TRUE(closedFromInside);
  EXPECT_EQ(opener.calls, 1);
  EXPECT_EQ(closer.calls, 1) << "the nested tick ran it, the outer one did not again";
  EXPECT_TRUE(app.GetEventQueue()->IsEmpty());
  app.Teardown();
}

class ThrowingReceiver : public VORTimerTickReceiver {
public:
  int OnTick(uint32_t /*now*/) override {
    ++ticks;
    throw new VORWaveErrorException(7);
  }
  int ticks = 0;
};

// What a tick throws inside the window procedure does not unwind through
// the system's dispatch: it is kept and the loop is asked to end.
TEST(TimerWindowTest, ATickThatThrowsEndsTheLoopAndIsKept) {
  ThrowingReceiver receiver;
  TimerWindow window;
  window.Create(&receiver, VORSystemClock::Instance(), GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(window.GetWindow(), nullptr);
  LoopWatchdog watchdog(kWatchdogMs);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0)
    DispatchMessageA(&message);
  window.Destroy();
  EXPECT_FALSE(watchdog.Fired());
  EXPECT_GE(receiver.ticks, 1);
  ASSERT_TRUE(XQCallbackGuard::HasPending());
  try {
    XQCallbackGuard::RethrowPending();
    ADD_FAILURE() << "nothing was kept";
  } catch (VORException *kept) {
    auto *wave = dynamic_cast<VORWaveErrorException *>(kept);
    ASSERT_NE(wave, nullptr);
    EXPECT_EQ(wave->GetErrorCode(), 7);
    delete kept;
  }
}

TEST(TimerWindowTest, TheWindowIsHiddenAndOfItsClass) {
  ThrowingReceiver receiver;
  TimerWindow window;
  window.Create(&receiver, VORSystemClock::Instance(), GetModuleHandleA(nullptr), nullptr);
  char className[64] = {};
  GetClassNameA(window.GetWindow(), className, sizeof className);
  EXPECT_STREQ(className, "VOR_TIMER_CLASS");
  EXPECT_FALSE(IsWindowVisible(window.GetWindow()));
  window.Destroy();
  EXPECT_EQ(window.GetWindow(), nullptr);
}

} // namespace
