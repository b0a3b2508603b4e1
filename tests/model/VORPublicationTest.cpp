#include "model/VORPlayerPublication.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "model/VORPlayerChapter.h"
#include "support/FakeApp.h"

namespace {

// Stands in for the pages, which read themselves elsewhere.
class TestPage : public VORFileObject, public VORRecursiveObjectContainer {
public:
  explicit TestPage(int32_t id) : VORFileObject(VORObjectCode::MakeClassKey(0, 4), id) {}
};

VORObjectCode Page(int32_t id) { return VORObjectCode(0, 4, id); }
VORObjectCode Chapter(int32_t id) { return VORObjectCode(0, 2, id); }

// Chapters 1 (pages 1, 2), 2 (none), 3 (page 3), 4 (pages 4, 5, 6).
class PublicationTest : public ::testing::Test {
protected:
  void SetUp() override {
    AddChapter(1, {1, 2});
    AddChapter(2, {});
    AddChapter(3, {3});
    AddChapter(4, {4, 5, 6});
    app.SetPublication(&publication);
  }

  VORPlayerChapter *AddChapter(int32_t id, std::initializer_list<int32_t> pages) {
    auto *chapter = new VORPlayerChapter(VORChapter::kClassKey, id);
    for (int32_t page : pages)
      chapter->InsertAfter(new TestPage(page), nullptr);
    publication.InsertAfter(chapter, nullptr);
    return chapter;
  }

  static int32_t IdOf(VORRecursiveObjectContainer *page) { return VORChapter::ReferenceOf(page).id; }

  FakeApp app;
  VORPlayerPublication publication;
};

TEST_F(PublicationTest, FindsPagesAndTheirNeighbours) {
  struct Case {
    int32_t from;
    int32_t next;     // 0: none
    int32_t previous; // 0: none
  } cases[] = {
      {1, 2, 0},  {2, 3, 1},            // across the empty chapter
      {3, 4, 2},  {5, 6, 4}, {6, 0, 5}, // the last page of the last chapter
      {99, 0, 0},
  };
  for (const Case &c : cases) {
    VORRecursiveObjectContainer *page = nullptr;
    EXPECT_EQ(publication.FindNextPage(Page(c.from), page), c.next != 0) << c.from;
    if (c.next) {
      EXPECT_EQ(IdOf(page), c.next) << c.from;
    }
    page = nullptr;
    EXPECT_EQ(publication.FindPreviousPage(Page(c.from), page), c.previous != 0) << c.from;
    if (c.previous) {
      EXPECT_EQ(IdOf(page), c.previous) << c.from;
    }
  }
  VORRecursiveObjectContainer *page = nullptr;
  ASSERT_TRUE(publication.FindPage(Page(5), page));
  EXPECT_EQ(IdOf(page), 5);
  EXPECT_FALSE(publication.FindPage(VORObjectCode(0, 2, 1), page)) << "a chapter is not a page";
  EXPECT_EQ(publication.FindChapterOf(Page(3))->GetId(), 3);
  EXPECT_EQ(publication.GetStartPage(), Page(1));
  EXPECT_EQ(publication.GetFirstChapter(), Chapter(1));
}

TEST(PublicationStartTest, StartPageAndFirstChapterWhenMissing) {
  VORPlayerPublication empty;
  EXPECT_EQ(empty.GetStartPage(), VORObjectCode::Zero());
  EXPECT_EQ(empty.GetFirstChapter(), VORObjectCode::Zero());
  empty.InsertAfter(new VORPlayerChapter(VORChapter::kClassKey, 1), nullptr);
  EXPECT_EQ(empty.GetStartPage(), VORObjectCode::Zero()) << "the first chapter has no page";
  EXPECT_EQ(empty.GetFirstChapter(), Chapter(1));
}

TEST_F(PublicationTest, ChapterAccessWithPasswords) {
  VORPublication::VORPublicationProperties &properties = publication.GetPublicationProperties();
  properties.passwordsOn = 1;
  properties.passwords.Add("gold").chapters.Append(Chapter(4));
  properties.passwords.Add("").chapters.Append(Chapter(1));

  struct Case {
    const char *what;
    const char *variable; // null: not set
    uint8_t askUser;
    const char *typed; // null: not asked
    VORObjectCode chapter;
    bool allowed;
    const char *variableAfter;
  } cases[] = {
      {"open to everyone", nullptr, 1, nullptr, Chapter(1), true, nullptr},
      {"the password given before", "GOLD", 1, nullptr, Chapter(4), true, "GOLD"},
      {"asked and right", nullptr, 1, "Gold", Chapter(4), true, "Gold"},
      {"asked and wrong", "tin", 1, "silver", Chapter(4), false, "tin"},
      {"asked and cancelled", nullptr, 1, "", Chapter(4), false, nullptr},
      {"not to be asked", nullptr, 0, nullptr, Chapter(4), false, nullptr},
      {"listed nowhere", "gold", 1, "gold", Chapter(3), false, "gold"},
  };
  for (const Case &c : cases) {
    app.Variables().clear();
    if (c.variable)
      app.Variables()[VORPublication::kChapterPasswordVariable] = c.variable;
    properties.askUser = c.askUser;
    const int asked = app.GetPasswordQuestions();
    if (c.typed)
      app.QueuePasswordAnswer(c.typed);
    EXPECT_EQ(publication.CheckChapterAccess(c.chapter), c.allowed) << c.what;
    EXPECT_EQ(app.GetPasswordQuestions() - asked, c.typed ? 1 : 0) << c.what;
    const XQString after = app.GetVariableValue(VORPublication::kChapterPasswordVariable);
    EXPECT_STREQ(after.CStr(), c.variableAfter ? c.variableAfter : "") << c.what;
  }
  properties.passwordsOn = 0;
  EXPECT_TRUE(publication.CheckChapterAccess(Chapter(3))) << "passwords off";
}

TEST_F(PublicationTest, RandomPagesAvoidTheCurrentPage) {
  auto *chapter = static_cast<VORChapter *>(publication.ChildAt(3));
  std::set<int32_t> seen;
  for (uint32_t tick = 0; tick < 200; ++tick) {
    app.SetTickTime(tick * 55);
    VORRecursiveObjectContainer *page = nullptr;
    ASSERT_TRUE(chapter->GetRandomPage(Page(5), page));
    EXPECT_NE(IdOf(page), 5);
    seen.insert(IdOf(page));
    ASSERT_TRUE(chapter->NextRandomPage(Page(4), page));
    EXPECT_NE(IdOf(page), 4);
  }
  EXPECT_EQ(seen, (std::set<int32_t>{4, 6})) << "every other page comes up";

  auto *single = static_cast<VORChapter *>(publication.ChildAt(2));
  VORRecursiveObjectContainer *page = nullptr;
  ASSERT_TRUE(single->NextRandomPage(Page(3), page));
  EXPECT_EQ(IdOf(page), 3) << "a chapter of one page gives that page, even when it is the current one";
  auto *empty = static_cast<VORChapter *>(publication.ChildAt(1));
  EXPECT_FALSE(empty->GetRandomPage(Page(3), page));
}

// The order is walked: the clock may stand still (every shuffle draws the
// same order), and still no page follows itself and every page comes.
TEST_F(PublicationTest, NextRandomPagesWalkAShuffledOrderWithoutRepeats) {
  auto *chapter = static_cast<VORChapter *>(publication.ChildAt(3));
  for (uint32_t tick : {0u, 1234u}) {
    app.SetTickTime(tick);
    std::multiset<int32_t> seen;
    int32_t current = 4;
    for (int step = 0; step < 30; ++step) {
      VORRecursiveObjectContainer *page = nullptr;
      ASSERT_TRUE(chapter->NextRandomPage(Page(current), page));
      ASSERT_NE(IdOf(page), current) << "tick " << tick << ", step " << step;
      current = IdOf(page);
      seen.insert(current);
    }
    for (int32_t id : {4, 5, 6})
      EXPECT_GE(seen.count(id), 5u) << "tick " << tick << ", page " << id;
  }
}

// An application whose millisecond clock runs apart from its tick time,
// which stays 0 as before the first tick.
class ClockApp : public FakeApp {
public:
  uint32_t GetMilliseconds() override { return clock; }
  uint32_t clock = 0;
};

// The order of a chapter of eight pages its random pages walk, drawn with
// the clock reading start.
std::vector<int32_t> RandomPageOrder(uint32_t start) {
  ClockApp app;
  app.clock = start;
  VORPlayerPublication publication;
  app.SetPublication(&publication);
  auto *chapter = new VORPlayerChapter(VORChapter::kClassKey, 1);
  for (int32_t page = 1; page <= 8; ++page)
    chapter->InsertAfter(new TestPage(page), nullptr);
  publication.InsertAfter(chapter, nullptr);
  std::vector<int32_t> order;
  VORRecursiveObjectContainer *page = nullptr;
  EXPECT_TRUE(chapter->GetRandomPage(Page(99), page));
  order.push_back(VORChapter::ReferenceOf(page).id);
  for (int step = 1; step < 8; ++step) {
    EXPECT_TRUE(chapter->NextRandomPage(Page(order.back()), page));
    order.push_back(VORChapter::ReferenceOf(page).id);
  }
  return order;
}

// Every shuffle reseeds from the millisecond clock, not from the tick
// time: random pages taken before the first tick differ from run to run.
TEST(ChapterShuffleTest, RandomPagesFollowTheClock) {
  const std::vector<int32_t> first = RandomPageOrder(4711);
  EXPECT_NE(RandomPageOrder(90210), first);
  EXPECT_EQ(RandomPageOrder(4711), first);
}

TEST_F(PublicationTest, AcceptsOnlyChaptersAndOwnsThem) {
  EXPECT_TRUE(publication.AcceptsChild(VORChapter::kClassKey));
  EXPECT_FALSE(publication.AcceptsChild(VORObjectCode::MakeClassKey(0, 4)));
  EXPECT_TRUE(publication.IsRegistered());
  EXPECT_EQ(app.FindObject(VORObjectCode(0, 1, -1), VORObjectCode::Zero(), VORObjectCode::Zero()), &publication);
  EXPECT_EQ(publication.GetReferenceCount(), 1);
}

// Metrics of a 1024 x 768 screen with a 19-pixel caption, a 4-pixel frame
// (3 high) and a 1-pixel border.
VORWindowMetrics Screen() {
  VORWindowMetrics metrics;
  metrics.screenWidth = 1024;
  metrics.screenHeight = 768;
  metrics.captionHeight = 19;
  metrics.frameWidth = 4;
  metrics.frameHeight = 3;
  metrics.borderWidth = 1;
  return metrics;
}

TEST(PublicationWindowTest, MainWindowRectangle) {
  struct Case {
    const char *what;
    uint8_t fullScreen;
    int32_t border;
    uint8_t titleBar;
    int32_t x, y;
    VORWindowRect expected;
  } cases[] = {
      {"full screen", 1, 0, 1, 50, 50, {0, 0, 1024, 768}},
      {"thick frame, centred", 0, 0, 1, 50, 50, {(1024 - 648) / 2, (768 - 507) / 2, 648, 507}},
      {"thin border with caption: the frame", 0, 1, 1, 0, 0, {0, 0, 648, 507}},
      {"thin border without caption", 0, 1, 0, 100, 100, {1024 - 642, 768 - 482, 642, 482}},
      {"no border: client and caption", 0, 2, 1, 0, 100, {0, 768 - 499, 640, 499}},
      {"no border, no caption", 0, -7, 0, 25, 25, {96, 72, 640, 480}},
      {"beyond the screen", 0, 2, 0, 200, -100, {768, -288, 640, 480}},
  };
  for (const Case &c : cases) {
    VORPlayerPublication publication;
    VORPublication::VORPublicationProperties &properties = publication.GetPublicationProperties();
    properties.fullScreen = c.fullScreen;
    properties.border = c.border;
    properties.titleBar = c.titleBar;
    properties.x = c.x;
    properties.y = c.y;
    EXPECT_EQ(publication.GetWindowRect(Screen()), c.expected) << c.what;
  }
}

TEST(PublicationWindowTest, StyleAndFlags) {
  VORPlayerPublication publication;
  VORPublication::VORPublicationProperties &properties = publication.GetPublicationProperties();
  EXPECT_EQ(publication.GetWindowStyle(), 0u) << "full screen";
  properties.fullScreen = 0;
  EXPECT_EQ(publication.GetWindowStyle(), 0xCB0000u);
  properties.flags = VORPublication::kEscapeExitsFlag | VORPublication::kNoScrollBarsFlag;
  EXPECT_TRUE(publication.AllowsEscapeExit());
  EXPECT_FALSE(publication.AllowsCloseBoxExit());
  EXPECT_FALSE(publication.HidesScrollBars()) << "only together with full screen";
  properties.fullScreen = 1;
  EXPECT_TRUE(publication.HidesScrollBars());
}

TEST(ChapterWindowTest, OwnWindowStyleAndRectangle) {
  struct Case {
    const char *what;
    uint8_t ownWindow;
    int32_t border;
    uint8_t titleBar;
    uint32_t extraStyle;
    uint32_t style;
    VORWindowRect rect;
  } cases[] = {
      {"shared window", 0, 0, 1, 0x1, 0xF70000, {}},
      {"thick frame", 1, 0, 1, 0, 0x80000000 | 0xC00000 | 0x40000 | 0x300000, {188, 130, 648, 507}},
      {"thin border with caption",
       1,
       1,
       1,
       0x10,
       0x80000000 | 0xC00000 | 0x800000 | 0x300000 | 0x10,
       {188, 131, 648, 505}},
      {"thin border, no caption", 1, 1, 0, 0, 0x80000000 | 0x800000 | 0x300000, {191, 143, 642, 482}},
      {"no border", 1, 3, 0, 0, 0x80000000, {192, 144, 640, 480}},
  };
  for (const Case &c : cases) {
    VORPlayerChapter chapter(VORChapter::kClassKey, 1);
    VORChapter::VORChapterProperties &properties = chapter.GetChapterProperties();
    properties.ownWindow = c.ownWindow;
    properties.border = c.border;
    properties.titleBar = c.titleBar;
    properties.windowStyle = c.extraStyle;
    properties.windowWidth = 640;
    properties.windowHeight = 480;
    properties.x = 50;
    properties.y = 50;
    EXPECT_EQ(chapter.GetWindowStyle(), c.style) << c.what;
    VORWindowRect rect;
    EXPECT_EQ(chapter.GetOwnWindowRect(Screen(), rect), c.ownWindow != 0) << c.what;
    if (c.ownWindow) {
      EXPECT_EQ(rect, c.rect) << c.what;
    }
  }
}

} // namespace
