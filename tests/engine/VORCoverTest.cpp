#include <gtest/gtest.h>

#include "support/FakeClock.h"
#include "support/TestPlayer.h"

namespace {

// When the view asks for the cover to go, and what the main loop then does
// at each later time: whether the cover is still there.
TEST(VORCoverTest, TheCoverStaysUpMoreThanTwoSecondsAfterItShowed) {
  struct Case {
    const char *what;
    uint32_t removedAt; // since the cover showed
    bool goneAtOnce;
    uint32_t loopAt;
    bool goneAfterLoop;
  };
  const Case cases[] = {
      {"asked after 500 ms: the loop waits", 500, false, 1999, false},
      {"asked after 500 ms: not at exactly 2000 ms", 500, false, 2000, false},
      {"asked after 500 ms: gone just past 2000 ms", 500, false, 2001, true},
      {"asked at 2000 ms: still too soon", 2000, false, 2001, true},
      {"asked after 2001 ms: at once", 2001, true, 2002, true},
  };
  for (const Case &c : cases) {
    FakeClock clock;
    clock.Set(10000);
    TestPlayer player(clock);
    player.ShowTestCover();
    clock.Set(10000 + c.removedAt);
    player.RemoveCover();
    EXPECT_EQ(!player.coverShown, c.goneAtOnce) << c.what;
    player.RemoveCoverWhenDue(10000 + c.loopAt);
    EXPECT_EQ(!player.coverShown, c.goneAfterLoop) << c.what;
    EXPECT_LE(player.coverDeletions, 1) << c.what;
  }
}

TEST(VORCoverTest, TheLoopRemovesOnlyACoverWhoseRemovalWasAskedFor) {
  FakeClock clock;
  TestPlayer player(clock);
  player.ShowTestCover();
  player.RemoveCoverWhenDue(60000);
  EXPECT_TRUE(player.coverShown) << "no page has been entered yet";
  // The clock wraps: differences are taken unsigned.
  clock.Set(0xFFFFFF00u);
  player.ShowTestCover();
  clock.Set(0x100);
  player.RemoveCover();
  EXPECT_TRUE(player.coverShown);
  player.RemoveCoverWhenDue(0xFFFFFF00u + 2001);
  EXPECT_FALSE(player.coverShown);
  player.RemoveCover();
  EXPECT_EQ(player.coverDeletions, 1) << "no cover: nothing";
}

} // namespace
