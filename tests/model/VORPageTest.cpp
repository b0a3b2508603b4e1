#include "model/VORPage.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "model/VORPageInstance.h"
#include "model/VORPageManager.h"
#include "model/VORPlayerChapter.h"
#include "model/VORPlayerGotoPageAction.h"
#include "model/VORPlayerPage.h"
#include "model/VORPlayerPublication.h"
#include "support/FakeApp.h"
#include "support/HeadlessView.h"
#include "support/MemoryFile.h"
#include "support/PublicationRecords.h"
#include "support/TestPageObject.h"
#include "vorfile/VORCompiledFile.h"

namespace {

using PublicationRecords::Chapter;
using PublicationRecords::Publication;

// A cache that keeps every page loaded (the test puts the objects in).
class KeepingPageManager : public VORPageManager {
public:
  bool LoadPage(VORPage & /*page*/) override { return loads; }
  void RemovePage(VORPage & /*page*/) override { ++removals; }
  bool loads = true;
  int removals = 0;
};

std::unique_ptr<VORPlayerPublication> Load(const Publication &publication, VORCompiledFile *&file,
                                           std::unique_ptr<VORCompiledFile> &holder) {
  holder = std::make_unique<VORCompiledFile>(std::make_unique<MemoryFile>(publication.Bytes()));
  EXPECT_TRUE(holder->Open(false, false));
  file = holder.get();
  return VORPlayerPublication::LoadFromRoot(*holder);
}

Publication OnePage(const PublicationRecords::Page &page) {
  Publication publication;
  Chapter chapter;
  chapter.pages = {page};
  publication.chapters = {chapter};
  return publication;
}

class VORPageTest : public ::testing::Test {
protected:
  void SetUp() override {
    TestPageObject::RegisterClass();
    app.SetPageManager(&manager);
  }

  // The first page of the publication read from what was written.
  VORPlayerPage *Read(const PublicationRecords::Page &page) {
    VORCompiledFile *file = nullptr;
    publication = Load(OnePage(page), file, compiled);
    if (!publication || publication->GetChildCount() == 0)
      return nullptr;
    skipped = file->GetSkippedObjectCount();
    return dynamic_cast<VORPlayerPage *>(publication->ChildAt(0)->ChildAt(0));
  }

  FakeApp app;
  KeepingPageManager manager;
  std::unique_ptr<VORCompiledFile> compiled;
  std::unique_ptr<VORPlayerPublication> publication;
  uint32_t skipped = 0;
};

TEST_F(VORPageTest, ReadsItsProperties) {
  PublicationRecords::Page written(VORObjectKey{0, 4, 3});
  written.properties = {0x00123456, 1, 2, 300, 200, "Title", 1500, VORObjectKey{0, 4, 9}, 5};
  VORPlayerPage *page = Read(written);
  ASSERT_NE(page, nullptr);
  const VORPage::VORPageProperties &properties = page->GetPageProperties();
  EXPECT_EQ(page->GetObjectCode(), VORObjectCode(0, 4, 3));
  EXPECT_EQ(properties.backgroundColor, 0x00123456u);
  EXPECT_EQ(properties.rect, VORRect(1, 2, 300, 200));
  EXPECT_STREQ(page->GetTitle().CStr(), "Title");
  EXPECT_EQ(properties.timedPageDelay, 1500);
  EXPECT_EQ(properties.timedPage, VORObjectCode(0, 4, 9));
  EXPECT_EQ(properties.soundFlags, 5);
  EXPECT_EQ(page->GetBackgroundColor(), 0x00123456u);
  EXPECT_EQ(page->GetChapter(), publication->ChildAt(0));
  EXPECT_EQ(page->GetPublication(), publication.get());
}

// Without a delay no timed page is stored: the sound flags follow at once.
TEST_F(VORPageTest, NoTimedPageWithoutADelay) {
  PublicationRecords::Page written(VORObjectKey{0, 4, 3});
  written.properties.timedPageDelay = -1;
  written.properties.soundFlags = 6;
  VORPlayerPage *page = Read(written);
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(page->GetPageProperties().soundFlags, 6);
  EXPECT_EQ(page->GetPageProperties().timedPage, VORObjectCode::Zero());
}

// The colour and the rectangle are required: a record that ends among them
// leaves the page out (counted as skipped); every later field has its
// default.
TEST_F(VORPageTest, ARecordEndingAtEachField) {
  PublicationRecords::PageProperties full;
  full.title = "T";
  full.timedPageDelay = 100;
  full.soundFlags = 1;
  const size_t fieldCount = full.Fields().size();
  for (size_t count = 0; count <= fieldCount; ++count) {
    PublicationRecords::Page written(VORObjectKey{0, 4, 1});
    written.properties = full;
    written.propertyFieldCount = count;
    const std::string what = "fields: " + std::to_string(count);
    VORPlayerPage *page = Read(written);
    if (count < 5) {
      EXPECT_EQ(page, nullptr) << what;
      EXPECT_EQ(skipped, 1u) << what;
      continue;
    }
    ASSERT_NE(page, nullptr) << what;
    const VORPage::VORPageProperties &properties = page->GetPageProperties();
    EXPECT_EQ(properties.title.IsEmpty(), count < 6) << what;
    EXPECT_EQ(properties.timedPageDelay, count < 7 ? -1 : 100) << what;
    EXPECT_EQ(properties.soundFlags, count < 11 ? 0 : 1) << what;
  }
}

TEST_F(VORPageTest, BackgroundColourOfThePublication) {
  struct Case {
    const char *what;
    uint32_t pageColour;
    bool publicationColourWritten;
    uint32_t expected;
  } cases[] = {
      {"the page's own", 0x0000FF00, true, 0x0000FF00},
      {"the publication's", 0xFFFFFFFF, true, 0x00ABCDEF},
      {"the publication's, missing", 0xFFFFFFFF, false, 0},
  };
  for (const Case &c : cases) {
    PublicationRecords::Page written(VORObjectKey{0, 4, 1});
    written.properties.backgroundColor = c.pageColour;
    Publication withColour = OnePage(written);
    withColour.properties.backgroundColor = 0x00ABCDEF;
    if (!c.publicationColourWritten)
      withColour.propertyFieldCount = 19; // up to the second external resource
    VORCompiledFile *file = nullptr;
    publication = Load(withColour, file, compiled);
    ASSERT_NE(publication, nullptr) << c.what;
    auto *page = dynamic_cast<VORPage *>(publication->ChildAt(0)->ChildAt(0));
    ASSERT_NE(page, nullptr) << c.what;
    EXPECT_EQ(page->GetBackgroundColor(), c.expected) << c.what;
  }
  VORPlayerPage alone(VORPage::kClassKey, 1);
  EXPECT_EQ(alone.GetBackgroundColor(), 0u) << "a page outside a publication";
}

// The same page in two views: the master in the first, a copy with copies
// of the objects in the second; leaving the second view deletes the copy.
TEST_F(VORPageTest, ASecondViewGetsACopy) {
  VORPlayerPage page(VORPage::kClassKey, 1);
  page.GetMasterInstance().InsertAfter(new TestPageObject(TestPageObject::kClassKey, 5), nullptr);
  HeadlessView first(1);
  HeadlessView second(2);
  ASSERT_TRUE(page.ShowInView(first, false));
  ASSERT_TRUE(page.ShowInView(second, false));
  EXPECT_EQ(page.GetInstanceCount(), 2u);
  EXPECT_EQ(page.GetRetainCount(), 2);
  VORPageInstance *copy = page.FindInstance(second);
  ASSERT_NE(copy, nullptr);
  EXPECT_TRUE(copy->IsCopy());
  EXPECT_EQ(first.GetPageInstance(), &page.GetMasterInstance());
  auto *original = dynamic_cast<TestPageObject *>(page.GetMasterInstance().ChildAt(0));
  auto *copied = dynamic_cast<TestPageObject *>(copy->ChildAt(0));
  ASSERT_TRUE(original && copied);
  EXPECT_NE(original, copied);
  EXPECT_EQ(original->GetViewReference(), VORObjectCode(0, 3, 1));
  EXPECT_EQ(copied->GetViewReference(), VORObjectCode(0, 3, 2));
  EXPECT_EQ(app.FindObject(TestPageObject::Reference(5), VORObjectCode(0, 3, 2), VORObjectCode(0, 4, 1)), copied)
      << "each copy is a receiver of its own";
  page.RemoveFromView(second);
  EXPECT_EQ(page.GetInstanceCount(), 1u);
  EXPECT_EQ(page.GetRetainCount(), 1);
  EXPECT_FALSE(second.HasPageInstance());
  EXPECT_EQ(app.FindObject(TestPageObject::Reference(5), VORObjectCode(0, 3, 2), VORObjectCode(0, 4, 1)), nullptr);
  page.RemoveFromView(first);
  EXPECT_EQ(page.GetInstanceCount(), 1u) << "the master stays";
  EXPECT_FALSE(page.IsShown());
}

// A copy has properties of its own: what one instance's properties say
// changes nothing for the other.
TEST_F(VORPageTest, ACopyKeepsItsOwnProperties) {
  VORPlayerPage page(VORPage::kClassKey, 1);
  page.GetPageProperties().timedPageDelay = 100;
  HeadlessView first(1);
  HeadlessView second(2);
  ASSERT_TRUE(page.ShowInView(first, false));
  ASSERT_TRUE(page.ShowInView(second, false));
  VORPageInstance *copy = page.FindInstance(second);
  ASSERT_NE(copy, nullptr);
  copy->GetPageProperties().timedPageDelay = 7;
  EXPECT_EQ(page.GetPageProperties().timedPageDelay, 100);
  page.RemoveFromView(second);
  page.RemoveFromView(first);
}

TEST_F(VORPageTest, APageThatCannotBeLoadedIsNotShown) {
  VORPlayerPage page(VORPage::kClassKey, 1);
  manager.loads = false;
  HeadlessView view(1);
  EXPECT_FALSE(page.ShowInView(view, false));
  EXPECT_FALSE(view.HasPageInstance());
  EXPECT_EQ(page.GetRetainCount(), 0);
}

// Once shown, a page with a delay posts its timed page, with the instance's
// view and page as the origin.
TEST_F(VORPageTest, TheTimedPageIsPostedWhenThePageIsShown) {
  VORPlayerPage page(VORPage::kClassKey, 4);
  HeadlessView view(1);
  ASSERT_TRUE(page.ShowInView(view, false));
  EXPECT_TRUE(app.ScheduledActions().empty()) << "no delay, no timed page";
  page.RemoveFromView(view);
  page.GetPageProperties().timedPageDelay = 2500;
  page.GetPageProperties().timedPage = VORObjectCode(0, 4, 8);
  ASSERT_TRUE(page.ShowInView(view, false));
  ASSERT_EQ(app.ScheduledActions().size(), 1u);
  const FakeApp::Scheduled &scheduled = app.ScheduledActions()[0];
  EXPECT_EQ(scheduled.delay, 2500u);
  auto *action = dynamic_cast<VORPlayerGotoPageAction *>(scheduled.action.get());
  ASSERT_NE(action, nullptr);
  EXPECT_EQ(action->GetTarget(), VORObjectCode(0, 0, 1));
  EXPECT_EQ(action->GetActionCode(), 101);
  EXPECT_EQ(action->GetOriginObject(), VORObjectCode(0, 3, 1));
  EXPECT_EQ(action->GetOriginPage(), VORObjectCode(0, 4, 4));
  EXPECT_EQ(action->GetViewReference(), VORObjectCode(0, 0, 5));
  EXPECT_EQ(action->GetTargetPage(), VORObjectCode(0, 4, 8));
  page.RemoveFromView(view);
}

// The page's events are read with it; once it is shown its auto-start
// events fire in map order, and their actions carry the instance's view
// and page. A copy for a second view fires copies of them with its own.
TEST_F(VORPageTest, TheAutoStartEventsFireWhenThePageIsShown) {
  using namespace PublicationRecords;
  auto posting = [](uint32_t id, int32_t code, uint32_t delay) {
    ActionFields fields;
    fields.target = VORObjectKey{1, 2, 9};
    fields.code = code;
    Event event;
    event.id = id;
    event.objects = {Action(1, id, fields)};
    event.delays = {delay};
    return event.Object();
  };
  PublicationRecords::Page written(VORObjectKey{0, 4, 3});
  written.properties.events.list = {posting(1, 100, 220), posting(2, 101, 0)};
  written.properties.events.triggers = {AutoStartTrigger(1), MouseTrigger(2, 1), AutoStartTrigger(3)};
  written.properties.events.indexes = {1, 0, 0};
  VORPlayerPage *page = Read(written);
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(page->GetPageProperties().events.GetCount(), 2u);
  EXPECT_EQ(page->GetPageProperties().eventMap.GetCount(), 3u);

  HeadlessView first(1);
  HeadlessView second(2);
  ASSERT_TRUE(page->ShowInView(first, false));
  ASSERT_TRUE(page->ShowInView(second, false));
  struct Expected {
    int32_t code;
    uint32_t delay;
    int32_t view;
  } expected[] = {{101, 0, 1}, {100, 220, 1}, {101, 0, 2}, {100, 220, 2}};
  ASSERT_EQ(app.ScheduledActions().size(), 4u);
  for (size_t i = 0; i < 4; ++i) {
    const FakeApp::Scheduled &posted = app.ScheduledActions()[i];
    EXPECT_EQ(posted.action->GetActionCode(), expected[i].code) << i;
    EXPECT_EQ(posted.delay, expected[i].delay) << i;
    EXPECT_EQ(posted.action->GetOriginObject(), VORObjectCode(0, 3, expected[i].view)) << i;
    EXPECT_EQ(posted.action->GetOriginPage(), VORObjectCode(0, 4, 3)) << i;
  }
  page->RemoveFromView(second);
  page->RemoveFromView(first);
}

TEST_F(VORPageTest, AGoingPageLeavesThePageManager) {
  { VORPlayerPage page(VORPage::kClassKey, 1); }
  EXPECT_EQ(manager.removals, 1);
}

} // namespace
