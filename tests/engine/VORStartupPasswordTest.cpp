#include "engine/VORPlayer.h"

#include <gtest/gtest.h>

#include <string>

#include "support/FakeClock.h"
#include "support/TestPlayer.h"

namespace {

using PublicationRecords::Publication;
using TestPublications::Chapter;
using TestPublications::Page;

// Chapter 1 opens with "Gold"; chapter 2 with "Tin".
Publication Protected(uint8_t passwordsOn, uint8_t askUser) {
  Publication publication = TestPublications::Of({Chapter(1, {Page(1)}), Chapter(2, {Page(2)})});
  publication.properties.passwordsOn = passwordsOn;
  publication.properties.askUser = askUser;
  publication.properties.passwords = {{"Gold", {VORObjectKey{0, 2, 1}}}, {"Tin", {VORObjectKey{0, 2, 2}}}};
  return publication;
}

// The start-up asks until a password opens the first chapter; an empty
// answer gives up. Passwords compare without regard to case.
TEST(VORStartupPasswordTest, AskedUntilRightOrGivenUp) {
  struct Case {
    const char *what;
    std::vector<std::string> answers;
    bool passes;
    int wrongBoxes;
    const char *kept;
  } cases[] = {
      {"right at once", {"gold"}, true, 0, "gold"},
      {"wrong, then right", {"Tin", "nothing", "GOLD"}, true, 2, "GOLD"},
      {"given up", {""}, false, 0, ""},
      {"wrong, then given up", {"Tin", ""}, false, 1, ""},
  };
  for (const Case &c : cases) {
    FakeClock clock;
    TestPlayer player(clock);
    ASSERT_TRUE(player.Load(Protected(1, 0)));
    player.passwordAnswers.assign(c.answers.begin(), c.answers.end());
    EXPECT_EQ(player.CheckStartupPassword(), c.passes) << c.what;
    EXPECT_TRUE(player.passwordAnswers.empty()) << c.what;
    EXPECT_EQ(player.wrongPasswordBoxes, c.wrongBoxes) << c.what;
    EXPECT_STREQ(player.GetVariableValue("CHAPTER_PASSWORD").CStr(), c.kept) << c.what;
  }
}

// Only publications whose passwords are on and whose chapters do not ask
// for themselves ask at the start.
TEST(VORStartupPasswordTest, AskedOnlyWhenThePublicationWantsIt) {
  for (const Publication &publication : {Protected(0, 0), Protected(1, 1), Protected(0, 1)}) {
    FakeClock clock;
    TestPlayer player(clock);
    ASSERT_TRUE(player.Load(publication));
    player.passwordAnswers = {"unused"};
    EXPECT_TRUE(player.CheckStartupPassword());
    EXPECT_EQ(player.passwordAnswers.size(), 1u) << "not asked";
  }
}

// The password box is not to sit under the cover: the cover goes first,
// whatever the time.
TEST(VORStartupPasswordTest, TheCoverGoesBeforeTheQuestion) {
  FakeClock clock;
  TestPlayer player(clock);
  ASSERT_TRUE(player.Load(Protected(1, 0)));
  player.ShowTestCover();
  player.passwordAnswers = {""};
  EXPECT_FALSE(player.CheckStartupPassword());
  EXPECT_FALSE(player.coverShown);
  EXPECT_EQ(player.coverDeletions, 1);
}

} // namespace
