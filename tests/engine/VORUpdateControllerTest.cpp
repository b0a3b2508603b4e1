#include "engine/VORUpdateController.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <new>
#include <stdexcept>
#include <vector>

#include "engine/VORUpdateTarget.h"
#include "foundation/VORException.h"
#include "support/FakeApp.h"
#include "support/FakeClock.h"

namespace {

// The application for these tests answers with the controller under test.
class ControllerApp : public FakeApp {
public:
  explicit ControllerApp(VORUpdateController &controller) : m_controller(controller) {}
  VORUpdateController *GetUpdateController() override { return &m_controller; }

private:
  VORUpdateController &m_controller;
};

// A target that records its calls in a shared log and does what the test
// asks in its Update.
class Target : public VORUpdateTarget {
public:
  Target(int name, std::vector<int> &log) : m_name(name), m_log(log) {}
  void Update(uint32_t &nextDue) override {
    m_log.push_back(m_name);
    if (onUpdate)
      onUpdate(nextDue);
  }
  std::function<void(uint32_t &)> onUpdate;

private:
  int m_name;
  std::vector<int> &m_log;
};

class VORUpdateControllerTest : public ::testing::Test {
protected:
  VORUpdateControllerTest() : controller(clock), app(controller) { clock.Set(1000); }

  FakeClock clock;
  VORUpdateController controller;
  ControllerApp app;
  std::vector<int> log;
};

TEST_F(VORUpdateControllerTest, ATargetRunsAtTheFirstRunAndAgainOnlyWhenItAsks) {
  Target target(1, log);
  controller.Run();
  EXPECT_EQ(log, (std::vector<int>{1}));
  EXPECT_EQ(controller.GetNextDueTime(), VORUpdateController::kNotScheduled) << "it left its due time idle";
  clock.Advance(5000);
  controller.Run();
  EXPECT_EQ(log.size(), 1u) << "an idle target is not called";
  target.Reschedule(100);
  EXPECT_EQ(controller.GetNextDueTime(), 6100u);
  controller.Run();
  EXPECT_EQ(log.size(), 1u) << "not due yet";
  clock.Advance(100);
  controller.Run();
  EXPECT_EQ(log.size(), 2u);
}

TEST_F(VORUpdateControllerTest, AnUpdateSetsItsNextDueTime) {
  Target target(1, log);
  target.onUpdate = [this](uint32_t &nextDue) { nextDue = clock.GetMilliseconds() + 50; };
  controller.Run();
  EXPECT_EQ(controller.GetNextDueTime(), 1050u);
  EXPECT_TRUE(controller.IsDueWithin(1000, 50));
  EXPECT_FALSE(controller.IsDueWithin(1000, 49));
}

TEST_F(VORUpdateControllerTest, HigherLevelsRunFirstAndLevelZeroNever) {
  Target low(1, log);
  Target high(2, log);
  Target never(3, log);
  controller.Schedule(&low, 1000, 1);
  controller.Schedule(&high, 1000, 10);
  controller.Schedule(&never, 1000, 0);
  controller.Run();
  EXPECT_EQ(log, (std::vector<int>{2, 1}));
}

TEST_F(VORUpdateControllerTest, ATargetRemovedDuringARunIsNotCalledAndGoesAfterIt) {
  Target first(1, log);
  auto second = std::make_unique<Target>(2, log);
  first.onUpdate = [&](uint32_t &) { second.reset(); };
  controller.Run();
  EXPECT_EQ(log, (std::vector<int>{1}));
  EXPECT_EQ(controller.GetEntryCount(), 1u);
}

TEST_F(VORUpdateControllerTest, ATargetRemovedBeforeTheFirstRunWaitsForItsEnd) {
  Target kept(1, log);
  {
    Target gone(2, log);
    EXPECT_EQ(controller.GetEntryCount(), 2u);
  }
  EXPECT_EQ(controller.GetEntryCount(), 2u) << "the first run has not ended yet";
  controller.Run();
  EXPECT_EQ(log, (std::vector<int>{1}));
  EXPECT_EQ(controller.GetEntryCount(), 1u);
}

// A target that takes itself out and comes back in the same run keeps its
// place: the removal at the end of the run must not take the new schedule.
TEST_F(VORUpdateControllerTest, RemovedAndRescheduledInOneRunStays) {
  Target target(1, log);
  target.onUpdate = [&](uint32_t &) {
    controller.Remove(&target);
    target.Reschedule(10);
  };
  controller.Run();
  EXPECT_TRUE(controller.IsScheduled(&target));
  clock.Advance(10);
  target.onUpdate = nullptr;
  controller.Run();
  EXPECT_EQ(log, (std::vector<int>{1, 1}));
}

// A target deleted during a run and a new one built in its place (the same
// address) during the same run: the new one is kept and runs.
TEST_F(VORUpdateControllerTest, ANewTargetAtAFreedAddressIsKept) {
  alignas(Target) unsigned char storage[sizeof(Target)];
  auto *old = new (storage) Target(1, log);
  Target driver(2, log);
  controller.Run();
  log.clear();
  old->Reschedule(0);
  driver.Reschedule(0);
  driver.onUpdate = [&](uint32_t &) {
    old->~Target();
    auto *replacement = new (storage) Target(3, log);
    replacement->Reschedule(0);
  };
  controller.Run();
  auto *replacement = std::launder(reinterpret_cast<Target *>(storage));
  EXPECT_TRUE(controller.IsScheduled(replacement)) << "dropped with the old target's deferred removal";
  driver.onUpdate = nullptr;
  replacement->Reschedule(0);
  log.clear();
  controller.Run();
  EXPECT_EQ(log, (std::vector<int>{3}));
  replacement->~Target();
}

TEST_F(VORUpdateControllerTest, ATargetThatThrowsIsDroppedForGood) {
  Target pointerThrower(1, log);
  Target valueThrower(2, log);
  Target quiet(3, log);
  pointerThrower.onUpdate = [](uint32_t &) { throw new VORWaveErrorException(4); };
  valueThrower.onUpdate = [](uint32_t &) { throw std::runtime_error("update"); };
  EXPECT_NO_THROW(controller.Run());
  EXPECT_FALSE(controller.IsScheduled(&pointerThrower));
  EXPECT_FALSE(controller.IsScheduled(&valueThrower));
  EXPECT_TRUE(controller.IsScheduled(&quiet));
  pointerThrower.Reschedule(0);
  EXPECT_TRUE(controller.IsScheduled(&pointerThrower)) << "it may come back by scheduling itself";
}

TEST_F(VORUpdateControllerTest, DueTimesAcrossTheClocksWrap) {
  clock.Set(0xFFFFFF00u);
  Target target(1, log);
  controller.Run();
  target.Reschedule(0x200);
  EXPECT_EQ(controller.GetNextDueTime(), 0x100u);
  controller.Run();
  EXPECT_EQ(log.size(), 1u) << "not due before the wrap";
  clock.Set(0x100);
  controller.Run();
  EXPECT_EQ(log.size(), 2u);
}

} // namespace
