// Opens any bytes as a compiled publication file and reads the root
// publication from it the way the start-up does, then asks the result what
// the player asks of it: window geometry, navigation, and for every page its
// events (each action cloned, given an origin and handed to the score
// manager where it is addressed to it), its objects loaded through the page
// cache, and the page shown in two views at once and taken out again, with
// the display's palette made from the publication's. File
// exceptions end in "no publication" or "page not shown"; anything else that
// escapes, or a sanitizer report, is a fault.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "display/PublicationPalette.h"
#include "engine/VORPlayerPageManager.h"
#include "engine/VORScoreManager.h"
#include "model/ActionContext.h"
#include "model/PublicationFile.h"
#include "model/VORActionList.h"
#include "model/VORChapter.h"
#include "model/VOREvent.h"
#include "model/VOREventCondition.h"
#include "model/VORPage.h"
#include "model/VORPageInstance.h"
#include "model/VORPlayerPublication.h"
#include "model/VORResourceManager.h"
#include "model/VORTrigger.h"
#include "support/FakeApp.h"
#include "support/FakeClock.h"
#include "support/FakeResourcePlatform.h"
#include "support/FakeStoreInfoPlatform.h"
#include "support/HeadlessView.h"
#include "support/MemoryFile.h"
#include "support/TestPageObject.h"
#include "vorfile/VORCompiledFile.h"

namespace {

constexpr uint32_t kMaxPagesShown = 16;
constexpr uint32_t kMaxActionsRun = 64;

void ExerciseGeometry(VORPlayerPublication &publication) {
  VORWindowMetrics metrics;
  metrics.screenWidth = 1024;
  metrics.screenHeight = 768;
  metrics.captionHeight = 19;
  metrics.frameWidth = 4;
  metrics.frameHeight = 4;
  metrics.borderWidth = 1;
  publication.GetWindowRect(metrics);
  publication.TakeSearchDictionary();
  const VORObjectCode start = publication.GetStartPage();
  VORRecursiveObjectContainer *page = nullptr;
  publication.FindNextPage(start, page);
  publication.FindPreviousPage(start, page);
  publication.CheckChapterAccess(publication.GetFirstChapter());
  for (uint32_t i = 0; VORRecursiveObjectContainer *child = publication.ChildAt(i); ++i) {
    auto *chapter = dynamic_cast<VORChapter *>(child);
    if (!chapter)
      continue;
    VORWindowRect rect;
    chapter->GetOwnWindowRect(metrics, rect);
    chapter->GetWindowStyle();
    chapter->GetRandomPage(start, page);
  }
}

// What the player does with an event's actions: clones posted with an
// origin; those for the score manager run there (its files are kept in
// memory).
struct ActionRunner {
  FakeApp &app;
  VORScoreManager &scores;
  uint32_t runsLeft = kMaxActionsRun;

  void Run(const VORObjectAction &action) {
    std::unique_ptr<VORObjectAction> copy(action.Clone());
    if (!copy || copy->GetClassKey() != action.GetClassKey())
      std::abort(); // a clone of another class loses the action's own fields
    copy->CheckAction();
    copy->SetOrigin(VORObjectCode(0, 3, 1), VORObjectCode(0, 4, 1));
    if (runsLeft == 0 || !(copy->GetTarget() == VORScoreManager::kReference))
      return;
    --runsLeft;
    ActionContext context = ActionContext::FromAction(*copy);
    scores.ReceiveAction(*copy, context);
  }

  void RunEvents(const VOREventList &events) {
    for (uint32_t i = 0; i < events.GetCount(); ++i) {
      const VOREvent *event = events.GetEvent(i);
      if (!event)
        continue;
      std::unique_ptr<VOREvent> copy(event->Clone());
      const VORActionList *actions = copy->GetActionList();
      for (uint32_t n = 0; actions && n < actions->GetCount(); ++n)
        Run(*actions->GetAction(n));
      if (const VOREventCondition *condition = copy->GetCondition())
        std::unique_ptr<VOREventCondition>(condition->Clone())->Evaluate();
      copy->Fire();
    }
  }
};

void FireEveryTrigger(const VOREventMap &map, const VOREventList &events) {
  map.FireEvents(VORAutoStartTrigger(), events);
  map.FireEvents(VORMouseTrigger(0x0102), events);
  map.FireEvents(VORKeyboardTrigger('a'), events);
  map.FireEvents(VORDropTrigger(VORObjectCode(1, 2, 3)), events);
  map.FireEvents(VORSynchronizationTrigger(700, VORObjectCode(2, 0, 1)), events);
}

// Loads the page's objects, shows it in two views (the second gets a copy of
// the master's objects), lets the first link the next page, and takes both
// out again.
void ShowPage(VORPage &page) {
  HeadlessView first(1);
  HeadlessView second(2);
  if (!page.ShowInView(first, false))
    return;
  first.Refresh();
  if (page.ShowInView(second, false)) {
    second.Refresh();
    VORPageInstance *copy = page.FindInstance(second);
    if (!copy || copy->GetChildCount() != page.GetMasterInstance().GetChildCount())
      std::abort(); // a copy holds a copy of every object of the master
    page.RemoveFromView(second);
  }
  first.OnIdle();
  page.RemoveFromView(first);
}

void ExercisePages(VORPlayerPublication &publication, ActionRunner &runner) {
  uint32_t shown = 0;
  for (uint32_t c = 0; VORRecursiveObjectContainer *chapter = publication.ChildAt(c); ++c) {
    for (uint32_t p = 0; VORRecursiveObjectContainer *child = chapter->ChildAt(p); ++p) {
      auto *page = dynamic_cast<VORPage *>(child);
      if (!page)
        continue;
      VORPage::VORPageProperties &properties = page->GetPageProperties();
      runner.RunEvents(properties.events);
      FireEveryTrigger(properties.eventMap, properties.events);
      std::unique_ptr<VORObjectProperties> copy(properties.Clone());
      if (shown++ < kMaxPagesShown)
        ShowPage(*page);
    }
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  static const bool registered = (TestPageObject::RegisterClass(), true);
  static_cast<void>(registered);
  const std::vector<uint8_t> bytes(data, data + size);

  FakeApp app;
  FakeClock clock;
  FakeMachine machine;
  VORResourceManager resources(machine.MakePlatform());
  VORPlayerPageManager pages(app, clock);
  PublicationFile holder(VORExternalResourceIdentifier(VORExternalResourceIdentifier::kFullPath, "fuzz.vor"),
                         [&bytes](const VORExternalResourceIdentifier &) -> std::unique_ptr<VORFile> {
                           auto file = std::make_unique<VORCompiledFile>(std::make_unique<MemoryFile>(bytes));
                           if (!file->Open(false, false))
                             return nullptr;
                           return file;
                         });
  FakeStoreInfoPlatform storage;
  VORScoreManager scores;
  scores.SetStoreInfoPlatform(&storage);
  app.SetResourceManager(&resources);
  app.SetPageManager(&pages);
  app.SetPublicationFile(&holder);

  VORCompiledFile file(std::make_unique<MemoryFile>(bytes));
  if (!file.Open(false, false))
    return 0;
  std::unique_ptr<VORPlayerPublication> publication = VORPlayerPublication::LoadFromRoot(file);
  if (!publication)
    return 0;
  app.SetPublication(publication.get());
  // The display's palette from the publication's record, as the start-up
  // makes it, used while the pages show.
  std::unique_ptr<PublicationPalette> palette = PublicationPalette::Make(publication.get());
  if (palette) {
    app.SetPalette(&palette->Get());
    palette->Get().NearestIndex(0x00336699);
  }
  ExerciseGeometry(*publication);
  ActionRunner runner{app, scores};
  ExercisePages(*publication, runner);
  app.SetPalette(nullptr);
  palette.reset();
  app.SetPublication(nullptr);
  publication.reset();
  return 0;
}
