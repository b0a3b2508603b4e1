#include "engine/InactivityTimer.h"

#include <gtest/gtest.h>

#include "support/FakeClock.h"
#include "support/TestPageObject.h"
#include "support/TestPlayer.h"

namespace {

using PublicationRecords::Publication;
using TestPublications::Chapter;
using TestPublications::Page;

constexpr uint32_t kTimeoutExitsFlag = 1u << 1;

VORObjectCode PageRef(int32_t id) { return VORObjectCode(0, 4, id); }

// Pages 1 to 3; page 3 is the timeout page.
Publication WithTimeoutPage(uint32_t flags = 0) {
  Publication publication = TestPublications::Of({Chapter(1, {Page(1), Page(2), Page(3)})});
  publication.properties.timeoutPage = VORObjectKey{0, 4, 3};
  publication.properties.flags = flags;
  return publication;
}

class InactivityTimerTest : public ::testing::Test {
protected:
  void SetUp() override { TestPageObject::RegisterClass(); }

  void Start(const Publication &publication, uint32_t startTime = 1000) {
    clock.Set(startTime);
    ASSERT_TRUE(player.Load(publication));
    ASSERT_TRUE(player.ShowFirstPage(VORPlayer::kStartupView));
  }

  // The main loop's passes over the time: one check whenever one is due.
  void RunFor(uint32_t milliseconds, uint32_t step = 100) {
    for (uint32_t passed = 0; passed < milliseconds; passed += step) {
      clock.Advance(step);
      if (timer().IsCheckDue(clock.GetMilliseconds()))
        timer().Check(player);
    }
  }

  InactivityTimer &timer() { return player.GetInactivityTimer(); }

  FakeClock clock;
  TestPlayer player{clock};
};

TEST_F(InactivityTimerTest, NobodyTouchingAViewLeadsToTheTimeoutPage) {
  Start(WithTimeoutPage());
  RunFor(10000);
  EXPECT_EQ(player.ShownIn(1), PageRef(1)) << "not armed";
  timer().Arm(5);
  EXPECT_EQ(timer().GetTimeout(), 5000u);
  RunFor(4900);
  EXPECT_EQ(player.ShownIn(1), PageRef(1));
  RunFor(1100);
  EXPECT_EQ(player.ShownIn(1), PageRef(3));
  // Again one timeout after the expiry.
  ASSERT_TRUE(player.Goto(PageRef(2), VORObjectCode(0, 3, 1)));
  RunFor(3000);
  EXPECT_EQ(player.ShownIn(1), PageRef(2));
  RunFor(2100);
  EXPECT_EQ(player.ShownIn(1), PageRef(3));
}

TEST_F(InactivityTimerTest, InputInAViewStartsTheCountAgain) {
  Start(WithTimeoutPage());
  timer().Arm(3);
  for (int second = 0; second < 10; ++second) {
    player.MainView()->idle = false;
    RunFor(1000);
  }
  EXPECT_EQ(player.ShownIn(1), PageRef(1));
  RunFor(4100);
  EXPECT_EQ(player.ShownIn(1), PageRef(3));
}

TEST_F(InactivityTimerTest, ATimeoutOfZeroExpiresAtEveryCheck) {
  Start(WithTimeoutPage(kTimeoutExitsFlag));
  timer().Arm(0);
  RunFor(3000);
  EXPECT_EQ(player.quitRequests, 3) << "once a second";
}

TEST_F(InactivityTimerTest, TheTimeoutCanEndThePublication) {
  Start(WithTimeoutPage(kTimeoutExitsFlag));
  timer().Arm(2);
  RunFor(2000);
  EXPECT_EQ(player.quitRequests, 1);
  EXPECT_EQ(player.ShownIn(1), PageRef(1));
}

// Seconds from the file are multiplied in 64 bits and held below half the
// clock's range; negative ones count as 0.
TEST_F(InactivityTimerTest, LargeAndNegativeTimeoutsAreHeld) {
  struct Case {
    int32_t seconds;
    uint32_t expected;
  } cases[] = {
      {600, 600000u},
      {2147482, 2147482000u},
      {2147483, InactivityTimer::kMaxTimeoutMs},
      {INT32_MAX, InactivityTimer::kMaxTimeoutMs},
      {-5, 0u},
  };
  for (const Case &c : cases) {
    timer().Arm(c.seconds);
    EXPECT_EQ(timer().GetTimeout(), c.expected) << c.seconds;
  }
  Start(WithTimeoutPage());
  timer().Arm(INT32_MAX);
  RunFor(20000, 1000);
  EXPECT_EQ(player.ShownIn(1), PageRef(1)) << "a timeout of 24 days does not come at once";
}

// The millisecond clock wraps after 49.7 days: a deadline beyond the wrap
// is still in the future, and comes when it is due.
TEST_F(InactivityTimerTest, TheClockWrapping) {
  Start(WithTimeoutPage(), 0xFFFFFFFFu - 1500);
  timer().Arm(3);
  RunFor(2900);
  EXPECT_EQ(player.ShownIn(1), PageRef(1));
  EXPECT_LT(clock.GetMilliseconds(), 2000u) << "the clock has wrapped";
  RunFor(1200);
  EXPECT_EQ(player.ShownIn(1), PageRef(3));
}

TEST_F(InactivityTimerTest, WithoutAPublicationNothingHappens) {
  timer().Arm(0);
  clock.Advance(1000);
  timer().Check(player);
  EXPECT_EQ(player.quitRequests, 0);
}

} // namespace
