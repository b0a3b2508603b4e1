#include "engine/VORPlayerPageManager.h"

#include <gtest/gtest.h>

#include <vector>

#include "model/VORChapter.h"
#include "model/VORPage.h"
#include "model/VORPageInstance.h"
#include "model/VORPublication.h"
#include "model/VORResource.h"
#include "model/VORResourceManager.h"
#include "support/FakeClock.h"
#include "support/FakeRecordFile.h"
#include "support/FakeResourceFile.h"
#include "support/FakeResourcePlatform.h"
#include "support/FuzzFixture.h"
#include "support/TestPageObject.h"
#include "support/TestPlayer.h"

namespace {

using TestPublications::Chapter;
using TestPublications::Page;

constexpr VORObjectCode kMainView(0, 3, 1);

// One chapter of pages 1 to count, each with one object.
PublicationRecords::Publication Pages(int32_t count) {
  std::vector<PublicationRecords::Page> pages;
  for (int32_t id = 1; id <= count; ++id)
    pages.push_back(Page(id, {100 + id}));
  return TestPublications::Of({Chapter(1, pages)});
}

class VORPlayerPageManagerTest : public ::testing::Test {
protected:
  void SetUp() override {
    TestPageObject::RegisterClass();
    clock.Set(1000);
  }

  VORPage &PageOf(int32_t id) {
    VORRecursiveObjectContainer *found = nullptr;
    EXPECT_TRUE(player.GetPublication()->FindPage(VORObjectCode(0, 4, id), found));
    return dynamic_cast<VORPage &>(*found);
  }
  bool Loaded(int32_t id) { return PageOf(id).GetMasterInstance().GetChildCount() == 1; }
  // Loads the page and lets it go again, a millisecond after the last.
  void Visit(int32_t id) {
    clock.Advance(1);
    ASSERT_TRUE(PageOf(id).Retain());
    PageOf(id).Release();
  }

  FakeClock clock;
  TestPlayer player{clock};
  VORPlayerPageManager &cache = player.GetPlayerPageManager();
};

TEST_F(VORPlayerPageManagerTest, TenPagesStayElevenLoseTheOldest) {
  ASSERT_TRUE(player.Load(Pages(12)));
  for (int32_t id = 1; id <= 10; ++id)
    Visit(id);
  EXPECT_EQ(cache.GetCount(), 10u);
  cache.Trim();
  EXPECT_EQ(cache.GetCount(), 10u);
  EXPECT_TRUE(Loaded(1));
  Visit(11);
  cache.Trim();
  EXPECT_EQ(cache.GetCount(), 10u);
  EXPECT_FALSE(Loaded(1)) << "the oldest page's objects went";
  EXPECT_TRUE(Loaded(2));
  cache.Trim();
  EXPECT_EQ(cache.GetCount(), 10u) << "one page per pass, and only above ten";
}

TEST_F(VORPlayerPageManagerTest, AShownPageIsNeverUnloaded) {
  ASSERT_TRUE(player.Load(Pages(12)));
  ASSERT_TRUE(player.ShowFirstPage(VORPlayer::kStartupView));
  for (int32_t id = 2; id <= 12; ++id)
    Visit(id);
  cache.Trim();
  EXPECT_TRUE(Loaded(1)) << "shown, however old";
  EXPECT_FALSE(Loaded(2));
}

TEST_F(VORPlayerPageManagerTest, APageLoadedAgainAfterTrimmingHasItsObjects) {
  ASSERT_TRUE(player.Load(Pages(12)));
  for (int32_t id = 1; id <= 11; ++id)
    Visit(id);
  cache.Trim();
  ASSERT_FALSE(Loaded(1));
  ASSERT_TRUE(player.ShowFirstPage(VORPlayer::kStartupView));
  EXPECT_EQ(player.ShownIn(1), VORObjectCode(0, 4, 1));
  EXPECT_TRUE(Loaded(1));
}

// The shown page keeps the next one loaded: retained once however many idle
// passes ask, kept through trimming, shown with its objects, and let go
// when the linking page leaves.
TEST_F(VORPlayerPageManagerTest, TheNextPageIsKeptWhileItsPageIsShown) {
  ASSERT_TRUE(player.Load(Pages(14)));
  ASSERT_TRUE(player.ShowFirstPage(VORPlayer::kStartupView));
  for (int pass = 0; pass < 3; ++pass)
    player.RunIdleWork();
  EXPECT_EQ(PageOf(2).GetRetainCount(), 1);
  EXPECT_EQ(PageOf(1).GetLinkedPage(), &PageOf(2));
  for (int32_t id = 3; id <= 14; ++id)
    Visit(id);
  for (int pass = 0; pass < 5; ++pass)
    cache.Trim();
  EXPECT_TRUE(Loaded(2)) << "kept for the page that links it";
  ASSERT_TRUE(player.Goto(VORObjectCode(0, 4, 2), kMainView));
  EXPECT_TRUE(Loaded(2));
  EXPECT_EQ(PageOf(2).GetRetainCount(), 1) << "the link went with page 1, the view keeps it";
  EXPECT_EQ(PageOf(1).GetRetainCount(), 0);
  EXPECT_EQ(PageOf(1).GetLinkedPage(), nullptr);
}

TEST_F(VORPlayerPageManagerTest, APageIsReleasedOnlyFromAViewThatShowsIt) {
  ASSERT_TRUE(player.Load(Pages(2)));
  ASSERT_TRUE(player.ShowFirstPage(VORPlayer::kStartupView));
  TestRunView other(5);
  PageOf(1).RemoveFromView(other);
  EXPECT_EQ(PageOf(1).GetRetainCount(), 1);
  EXPECT_EQ(player.ShownIn(1), VORObjectCode(0, 4, 1));
}

TEST_F(VORPlayerPageManagerTest, APageThatCannotBeReadIsNotKept) {
  ASSERT_TRUE(player.Load(Pages(2)));
  player.SetFileOpens(false);
  EXPECT_FALSE(PageOf(1).Retain());
  EXPECT_EQ(PageOf(1).GetRetainCount(), 0);
  EXPECT_EQ(cache.GetCount(), 0u);
  player.SetFileOpens(true);
  EXPECT_TRUE(PageOf(1).Retain());
  EXPECT_TRUE(Loaded(1));
  EXPECT_EQ(PageOf(1).GetMasterInstance().GetRect(), VORRect(0, 0, 640, 480)) << "laid out as the page's area";
  PageOf(1).Release();
}

TEST_F(VORPlayerPageManagerTest, APageThatGoesLeavesTheCache) {
  ASSERT_TRUE(player.Load(Pages(2)));
  Visit(1);
  Visit(2);
  ASSERT_EQ(cache.GetCount(), 2u);
  delete &PageOf(2);
  EXPECT_EQ(cache.GetCount(), 1u);
}

// A damaged file may list the publication's own structure (here a chapter
// and a page, each with a record that reads) among a page's objects; only
// page objects stand on a page, so the master and its copy in a second view
// hold the same objects.
TEST_F(VORPlayerPageManagerTest, APageTakesOnlyPageObjects) {
  PublicationRecords::Publication publication = Pages(1);
  const auto chapterProperties = [](PublicationWriter::Folder &folder) {
    PublicationRecords::AddRecord(folder.AddAnonymousFolder(), PublicationRecords::ChapterProperties().Fields());
  };
  std::vector<PublicationRecords::PageObject> &objects = publication.chapters[0].pages[0].objects;
  objects.push_back({VORObjectKey{0, 2, 9}, {}, chapterProperties});
  objects.push_back(
      {VORObjectKey{0, 4, 8}, RecordBytes().Uint32(0xFFFFFFFF).Uint32(0).Uint32(0).Uint32(8).Uint32(8).Take()});
  ASSERT_TRUE(player.Load(publication));
  ASSERT_TRUE(player.ShowFirstPage(VORPlayer::kStartupView));
  VORPageInstance &master = PageOf(1).GetMasterInstance();
  ASSERT_EQ(master.GetChildCount(), 1u);
  EXPECT_NE(dynamic_cast<TestPageObject *>(master.ChildAt(0)), nullptr);
  TestRunView second(7);
  ASSERT_TRUE(PageOf(1).ShowInView(second, false));
  ASSERT_NE(PageOf(1).FindInstance(second), nullptr);
  EXPECT_EQ(PageOf(1).FindInstance(second)->GetChildCount(), 1u);
  PageOf(1).RemoveFromView(second);
}

// The fuzzer's input: a page whose objects include a chapter, with its
// properties, beside the objects of other kinds.
TEST_F(VORPlayerPageManagerTest, FuzzInputWithAChapterAmongThePageObjects) {
  ASSERT_TRUE(player.Load(FuzzFixture("chapter-among-page-objects")));
  VORPublication &publication = *player.GetPublication();
  int shown = 0;
  for (uint32_t c = 0; VORRecursiveObjectContainer *chapter = publication.ChildAt(c); ++c)
    for (uint32_t p = 0; VORRecursiveObjectContainer *child = chapter->ChildAt(p); ++p) {
      auto *page = dynamic_cast<VORPage *>(child);
      if (!page)
        continue;
      TestRunView first(11);
      TestRunView second(12);
      if (!page->ShowInView(first, false))
        continue;
      ++shown;
      ASSERT_TRUE(page->ShowInView(second, false));
      const VORPageInstance &master = page->GetMasterInstance();
      EXPECT_EQ(page->FindInstance(second)->GetChildCount(), master.GetChildCount());
      for (uint32_t i = 0; VORRecursiveObjectContainer *object = master.ChildAt(i); ++i)
        EXPECT_EQ(dynamic_cast<VORChapter *>(object), nullptr) << "object " << i;
      page->RemoveFromView(second);
      page->RemoveFromView(first);
    }
  EXPECT_GT(shown, 0);
}

// The shown page is an active page of the resource manager, the page it
// links a linked one; both change with the page.
TEST(VORPlayerResourcesTest, ShownAndLinkedPagesKeepTheirResources) {
  TestPageObject::RegisterClass();
  FakeMachine machine;
  FakeClock clock;
  TestPlayer player(clock);
  player.UseResources(machine.MakePlatform());
  ASSERT_TRUE(player.Load(Pages(3)));
  VORResourceManager &resources = *player.GetResourceManager();
  uint32_t handles[4] = {};
  for (int32_t page = 1; page <= 3; ++page) {
    handles[page] = resources.OpenResource(std::make_unique<FakeResourceFile>(std::vector<uint8_t>(10)), 0, 0, 0);
    resources.AddResourceUser(handles[page], VORObjectCode(0, 4, page));
  }
  auto active = [&](int32_t page) { return resources.IsUsedByActivePage(*resources.GetResource(handles[page])); };
  auto linked = [&](int32_t page) { return resources.IsUsedByLinkedPage(*resources.GetResource(handles[page])); };
  ASSERT_TRUE(player.ShowFirstPage(VORPlayer::kStartupView));
  EXPECT_TRUE(active(1));
  EXPECT_FALSE(active(2));
  player.RunIdleWork();
  EXPECT_TRUE(linked(2));
  ASSERT_TRUE(player.Goto(VORObjectCode(0, 4, 2), kMainView));
  EXPECT_FALSE(active(1));
  EXPECT_TRUE(active(2));
  EXPECT_FALSE(linked(2)) << "the page that linked it is gone";
  player.CloseAllViews();
  EXPECT_FALSE(active(2));
}

} // namespace
