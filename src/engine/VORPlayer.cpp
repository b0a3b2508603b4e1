#include "engine/VORPlayer.h"

#include <vector>

#include "display/VORRunView.h"
#include "engine/PageNavigator.h"
#include "engine/VORClock.h"
#include "foundation/VORException.h"
#include "model/ActionContext.h"
#include "model/VORChapter.h"
#include "model/VORPage.h"
#include "model/VORPageInstance.h"
#include "model/VORPlayerGotoPageAction.h"
#include "model/VORPublication.h"
#include "model/VORResourceManager.h"

namespace {

constexpr int16_t kViewCode = VORRunView::kCode;

// The receiver's class key of the player: category 0, code 0.
constexpr uint32_t kPlayerClassKey = VORObjectCode::MakeClassKey(0, 0);

// A delay of seconds as milliseconds, within what the queue can order.
uint32_t SecondsAsDelay(int32_t seconds) {
  if (seconds <= 0)
    return 0;
  const int64_t milliseconds = static_cast<int64_t>(seconds) * VORPlayer::kSecondMs;
  return milliseconds > VORPlayer::kMaxDelayMs ? VORPlayer::kMaxDelayMs : static_cast<uint32_t>(milliseconds);
}

// Shows the publication's cursor for a scope and gives the old flag back on
// every way out.
class CursorFlagScope {
public:
  explicit CursorFlagScope(VORApp &app) : m_app(app), m_saved(app.UsesPublicationCursor()) {
    app.SetPublicationCursor(true);
  }
  CursorFlagScope(const CursorFlagScope &) = delete;
  CursorFlagScope &operator=(const CursorFlagScope &) = delete;
  ~CursorFlagScope() { m_app.SetPublicationCursor(m_saved); }

private:
  VORApp &m_app;
  bool m_saved;
};

} // namespace

VORPlayer::VORPlayer(VORClock &clock)
    : VORActionReceiver(kPlayerClassKey, kPlayerReference.id), m_clock(clock), m_startTime(clock.GetMilliseconds()),
      m_updateController(clock), m_inactivityTimer(clock), m_pageManager(*this, clock) {
  Register();
}

VORPlayer::~VORPlayer() {
  Unregister();
  m_views.DeleteAll();
  m_eventQueue.reset();
  DestroySoundManager();
}

uint32_t VORPlayer::GetMilliseconds() { return m_clock.GetMilliseconds(); }

void VORPlayer::CreateSoundManager() {
  if (m_soundReceiver || !m_makeSoundManager)
    return;
  SoundManagerParts parts = m_makeSoundManager();
  m_soundReceiver = std::move(parts.receiver);
  m_soundManager = m_soundReceiver ? parts.manager : nullptr;
}

void VORPlayer::DestroySoundManager() {
  m_soundManager = nullptr;
  m_soundReceiver.reset();
}

void VORPlayer::StopAllSound() {
  if (!m_soundReceiver)
    return;
  VORObjectAction stop(VORObjectAction::kClassKey, 0);
  stop.SetActionCode(kStopAllSound);
  stop.SetTarget(kSoundManagerReference);
  ExecuteAction(stop);
}

int32_t VORPlayer::ReportFileFailure(const char *, int32_t, int32_t) {
  constexpr int32_t kGiveUp = 1;
  return kGiveUp;
}

void VORPlayer::ThrowMidiError(int32_t code) { throw new VORMidiErrorException(code); }

void VORPlayer::ThrowWaveError(int32_t code) { throw new VORWaveErrorException(code); }

VORActionReceiver *VORPlayer::FindObject(const VORObjectCode &target, const VORObjectCode &originView,
                                         const VORObjectCode &originPage) {
  if (target.code == kViewCode)
    if (VORRunView *view = FindView(target))
      return view;
  if (target.Equals(kPlayerReference))
    return this;
  if (target.Equals(VORScoreManager::kReference))
    return &m_scoreManager;
  if (target.Equals(kSoundManagerReference))
    return m_soundReceiver.get();
  if (target.Equals(kPrinterReference))
    return m_printer.get();
  if (target.category == VORPublication::kCategory && target.code == VORPublication::kCode)
    return GetPublication();
  // The publication's launch manager and bookmarks answer wherever the
  // action was raised (a page's event carries its own view and page).
  if (target.Equals(kLaunchManagerReference) || target.Equals(kBookmarksReference)) {
    VORPublication *publication = GetPublication();
    if (!publication)
      return nullptr;
    return target.Equals(kLaunchManagerReference) ? publication->GetLaunchManager() : publication->GetBookmarks();
  }
  return m_receivers.Find(target, originView, originPage);
}

void VORPlayer::CreateEventQueue() {
  if (!m_eventQueue)
    m_eventQueue = std::make_unique<VOREventQ>();
}

void VORPlayer::ScheduleAction(uint32_t delay, VORObjectAction *action, VORActionCondition *condition) {
  Queue(delay, action, condition, delay == 0);
}

void VORPlayer::ScheduleStep(uint32_t delay, VORObjectAction *action) { Queue(delay, action, nullptr, false); }

void VORPlayer::Queue(uint32_t delay, VORObjectAction *action, VORActionCondition *condition, bool chained) {
  std::unique_ptr<VORObjectAction> ownedAction(action);
  std::unique_ptr<VORActionCondition> ownedCondition(condition);
  if (!m_eventQueue || !ownedAction)
    return;
  const uint32_t boundedDelay = delay > kMaxDelayMs ? kMaxDelayMs : delay;
  const uint32_t due = (m_clock.GetMilliseconds() + boundedDelay) / kGridMs * kGridMs + (boundedDelay & 1u);
  m_eventQueue->Insert(due, ownedAction.release(), ownedCondition.release(), chained);
}

bool VORPlayer::DispatchAction(VORObjectAction &action) {
  ActionContext context = ActionContext::FromAction(action);
  VORActionReceiver *receiver = FindObject(action.GetTarget(), action.GetOriginObject(), action.GetOriginPage());
  return receiver && receiver->ReceiveAction(action, context);
}

bool VORPlayer::ExecuteAction(VORObjectAction &action) {
  try {
    return DispatchAction(action);
  } catch (VORException *failure) {
    delete failure;
  } catch (...) {
  }
  return false;
}

// The receivers run while the broadcast goes on and may change what it
// walks (a page change closes instances, a view goes): the deliveries are
// listed first, and each finds its receiver again when its turn comes.
bool VORPlayer::BroadcastAction(const VORObjectAction &action) {
  struct Delivery {
    VORObjectCode view;
    VORObjectCode page;
    VORObjectCode target;
  };
  std::vector<Delivery> deliveries;
  m_views.ForEach([&deliveries](VORRunView &view) {
    VORPageInstance *instance = view.GetPageInstance();
    if (!instance)
      return;
    ContainerCursor cursor(*instance);
    if (!cursor.Open())
      return;
    const VORObjectCode viewReference = instance->GetViewReference();
    const VORObjectCode pageReference = instance->GetPageReference();
    const unsigned walk = cursor.GetIndex();
    for (VORRecursiveObjectContainer *object = instance->First(walk, true, 0); object;
         object = instance->Next(walk, true, 0)) {
      if (const auto *coded = dynamic_cast<const VORCodedObject *>(object))
        deliveries.push_back({viewReference, pageReference, coded->GetObjectCode()});
    }
  });
  std::unique_ptr<VORObjectAction> copy(action.Clone());
  if (!copy)
    return false;
  bool taken = false;
  for (const Delivery &delivery : deliveries) {
    copy->SetOriginObject(delivery.view);
    copy->SetOriginPage(delivery.page);
    copy->SetTarget(delivery.target);
    taken = DispatchAction(*copy) || taken;
  }
  return taken;
}

// What was queued before the tick began runs in it, and so does a chain of
// actions posted without delay: each hop runs as soon as it is posted, not
// a tick later. An action queued with a delay by one that runs (a page
// change retried while a transition still runs) may fall due at once on
// the grid too, but waits for a later tick: run now, it would keep the
// tick from ever ending. So does an object's timed step queued without
// delay (ScheduleStep): a slideshow whose slides stay no time shows one
// slide a tick. A chain without delay ends by itself once the
// clock passes the next grid point (its hops then fall due after now).
int VORPlayer::OnTick(uint32_t now) {
  m_tickTime = now;
  const uint64_t mark = m_eventQueue ? m_eventQueue->GetMark() : VOREventQ::kNoMark;
  bool ran = false;
  uint32_t lastDue = 0;
  std::unique_ptr<VORObjectAction> action;
  std::unique_ptr<VORActionCondition> condition;
  uint32_t due = 0;
  while (m_eventQueue && m_eventQueue->PopDue(now, action, condition, due, mark)) {
    if (ran && due != lastDue)
      RefreshViews();
    if (!condition || condition->Evaluate())
      ExecuteAction(*action);
    action.reset();
    condition.reset();
    ran = true;
    lastDue = due;
  }
  if (ran)
    RefreshViews();
  return 1;
}

bool VORPlayer::ReceiveAction(VORObjectAction &action, ActionContext & /*context*/) {
  switch (action.GetActionCode()) {
  case kBeep:
    Beep();
    return true;
  case kGotoPage: {
    auto *gotoPage = dynamic_cast<VORPlayerGotoPageAction *>(&action);
    return gotoPage && GotoPage(*gotoPage);
  }
  case kExit:
    return ExitViaClosingPage(action);
  case kQuit:
    RequestQuit();
    return true;
  case kLaunchSearcher:
    LaunchSearcher();
    return true;
  default:
    return false;
  }
}

bool VORPlayer::GotoPage(VORPlayerGotoPageAction &action) {
  const PageNavigator::Destination destination = PageNavigator(*this, m_views, m_oneWindow).Resolve(action);
  if (!destination.page)
    return false;
  VORPage &page = *destination.page;
  VORRunView *view = destination.view;
  if (view) {
    if (VORPageInstance *shown = view->GetPageInstance()) {
      const VORObjectCode shownPage = shown->GetPageReference();
      shown->GetPage().RemoveFromView(*view);
      if (m_eventQueue)
        m_eventQueue->RemoveActionsFrom(view->GetObjectCode(), shownPage);
    }
    if (!view->IsTransitionDone()) {
      ScheduleAction(kRetryDelayMs,
                     VORPlayerGotoPageAction::Make(kGotoPage, page.GetObjectCode(), view->GetObjectCode()), nullptr);
      return true;
    }
  } else {
    view = CreateView(page);
    if (!view)
      return false;
  }
  return ShowPage(page, *view, destination.fresh);
}

bool VORPlayer::ShowPage(VORPage &page, VORRunView &view, bool fresh) {
  CursorFlagScope cursor(*this);
  const bool shown = page.ShowInView(view, false);
  if (shown && fresh)
    view.HistoryPush(page.GetObjectCode());
  view.FlushDirtyRects();
  view.Refresh();
  return shown;
}

bool VORPlayer::ExitViaClosingPage(VORObjectAction &action) {
  VORPublication *publication = GetPublication();
  if (publication && publication->HasFlag(VORPublication::kClosingPageFlag)) {
    const VORPublication::VORPublicationProperties &properties = publication->GetPublicationProperties();
    const VORObjectCode closingPage = properties.closingPage;
    VORRecursiveObjectContainer *found = nullptr;
    if (!IsPageShown(closingPage) && publication->FindPage(closingPage, found)) {
      const auto *asked = dynamic_cast<const VORPlayerGotoPageAction *>(&action);
      VORPlayerGotoPageAction gotoClosing = asked ? *asked : VORPlayerGotoPageAction(action);
      gotoClosing.SetTargetPage(closingPage);
      GotoPage(gotoClosing);
      if (properties.closingDelay != VORPublication::VORPublicationProperties::kNeverQuit)
        ScheduleAction(SecondsAsDelay(properties.closingDelay),
                       VORPlayerGotoPageAction::Make(kQuit, VORObjectCode(), VORObjectCode()), nullptr);
      return true;
    }
  }
  action.SetActionCode(kQuit);
  RequestQuit();
  return true;
}

VORRunView *VORPlayer::CreateView(VORPage &page) {
  VORChapter *chapter = page.GetChapter();
  const int32_t id = chapter && chapter->HasOwnWindow() ? chapter->GetId() : VORRunView::kMainViewId;
  VORRunView *view = MakeView(VORRunView::Identity(id), page);
  if (view)
    AddView(view);
  return view;
}

VORCodedObject *VORPlayer::FindPublicationObject(uint32_t classKey, int32_t id) {
  VORPublication *publication = GetPublication();
  if (!publication)
    return nullptr;
  ContainerCursor cursor(*publication);
  if (!cursor.Open())
    return nullptr;
  const unsigned walk = cursor.GetIndex();
  for (VORRecursiveObjectContainer *object = publication->First(walk, true, 0); object;
       object = publication->Next(walk, true, 0)) {
    auto *coded = dynamic_cast<VORCodedObject *>(object);
    if (coded && coded->GetClassKey() == classKey && coded->GetId() == id)
      return coded;
  }
  return nullptr;
}

void VORPlayer::AddView(VORRunView *view) { m_views.Add(view); }

VORRunView *VORPlayer::FindView(const VORObjectCode &identity) const { return m_views.Find(identity); }

VORRunView *VORPlayer::GetFirstView() const { return m_views.First(); }

VORRunView *VORPlayer::FindViewByWindow(VORRunView::WindowHandle window) const { return m_views.FindByWindow(window); }

void VORPlayer::CloseView(VORRunView *view) {
  if (!view || !m_views.Contains(view))
    return;
  if (VORPageInstance *instance = view->GetPageInstance()) {
    const VORObjectCode page = instance->GetPageReference();
    instance->GetPage().RemoveFromView(*view);
    if (m_eventQueue)
      m_eventQueue->RemoveActionsFrom(view->GetObjectCode(), page);
  }
  m_views.Delete(view);
}

void VORPlayer::CloseAllViews() {
  while (VORRunView *view = GetFirstView())
    CloseView(view);
}

bool VORPlayer::IsPageShown(const VORObjectCode &page) const { return m_views.IsPageShown(page); }

bool VORPlayer::AnyViewShowsPage() const { return m_views.AnyShowsPage(); }

void VORPlayer::RefreshViews() {
  m_views.ForEach([](VORRunView &view) { view.Refresh(); });
}

bool VORPlayer::CheckViewsIdle() {
  bool idle = true;
  m_views.ForEach([&idle](VORRunView &view) { idle = idle && view.TestAndSetIdle(); });
  return idle;
}

void VORPlayer::SetPublicationCursor(bool on) {
  m_publicationCursor = on;
  m_views.ForEach([](VORRunView &view) { view.UpdateCursor(); });
}

XQString VORPlayer::GetVariableValue(const XQString &name) {
  return m_scoreManager.GetVariables().GetVariableValue(name);
}

void VORPlayer::SetVariableValue(const XQString &name, const XQString &value) {
  m_scoreManager.GetVariables().SetVariableValue(name, value);
}

void VORPlayer::SetStoreInfoPlatform(std::unique_ptr<VORStoreInfoPlatform> platform) {
  m_storeInfoPlatform = std::move(platform);
  m_scoreManager.SetStoreInfoPlatform(m_storeInfoPlatform.get());
}

bool VORPlayer::CheckStartupPassword() {
  VORPublication *publication = GetPublication();
  if (!publication)
    return true;
  const VORPublication::VORPublicationProperties &properties = publication->GetPublicationProperties();
  if (!properties.passwordsOn || properties.askUser != 0)
    return true;
  // The password box must not sit under the cover.
  DeleteCover();
  m_coverRemovalRequested = false;
  const VORObjectCode firstChapter = publication->GetFirstChapter();
  for (;;) {
    const VORString answer = AskPassword();
    if (answer.IsEmpty())
      return false;
    if (properties.passwords.CheckAccess(answer.CStr(), firstChapter)) {
      SetVariableValue(VORPublication::kChapterPasswordVariable, answer);
      return true;
    }
    ShowWrongPassword();
  }
}

void VORPlayer::NoteCoverShown() {
  m_coverShownAt = m_clock.GetMilliseconds();
  m_coverRemovalRequested = false;
}

void VORPlayer::RemoveCover() {
  if (!HasCover())
    return;
  if (m_clock.GetMilliseconds() - m_coverShownAt <= kCoverMinimumMs) {
    m_coverRemovalRequested = true;
    return;
  }
  m_coverRemovalRequested = false;
  DeleteCover();
}

void VORPlayer::RemoveCoverWhenDue(uint32_t now) {
  if (!m_coverRemovalRequested || !HasCover() || now - m_coverShownAt <= kCoverMinimumMs)
    return;
  m_coverRemovalRequested = false;
  DeleteCover();
}

void VORPlayer::RunSecondTick() {
  m_scoreManager.GetVariables().RefreshBuiltins(m_clock, m_startTime);
  RefreshViews();
}

bool VORPlayer::RunIdleWork() {
  m_pageManager.Trim();
  m_views.ForEach([](VORRunView &view) { view.OnIdle(); });
  if (!m_resourceManager)
    return false;
  m_resourceManager->UpdateBudget();
  return m_resourceManager->PrefetchOne();
}

bool VORPlayer::TryFirstPage(const VORObjectCode &page, const VORObjectCode &viewReference) {
  std::unique_ptr<VORPlayerGotoPageAction> action(VORPlayerGotoPageAction::Make(kGotoPage, page, viewReference));
  action->SetOriginObject(VORObjectCode::Zero());
  action->SetOriginPage(VORObjectCode::Zero());
  return GotoPage(*action) && AnyViewShowsPage();
}

// A start page that cannot be shown is no reason to give up: the pages are
// tried in turn as when there is none.
bool VORPlayer::ShowFirstPage(const VORObjectCode &viewReference) {
  VORPublication *publication = GetPublication();
  if (!publication)
    return false;
  const VORObjectCode start = publication->GetStartPage();
  if (!start.IsZero() && TryFirstPage(start, viewReference))
    return true;
  for (int32_t id = 1; id <= kLastScannedPage; ++id)
    if (TryFirstPage(VORObjectCode(VORPage::kCategory, VORPage::kCode, id), viewReference))
      return true;
  return false;
}
