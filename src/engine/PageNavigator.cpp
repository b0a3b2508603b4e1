#include "engine/PageNavigator.h"

#include "display/VORRunView.h"
#include "engine/ViewList.h"
#include "model/VORApp.h"
#include "model/VORChapter.h"
#include "model/VORPage.h"
#include "model/VORPageInstance.h"
#include "model/VORPlayerGotoPageAction.h"
#include "model/VORPublication.h"

namespace {

VORPage *AsPage(VORRecursiveObjectContainer *node) { return dynamic_cast<VORPage *>(node); }

} // namespace

PageNavigator::Destination PageNavigator::Resolve(const VORPlayerGotoPageAction &action) const {
  Destination destination;
  VORRunView *origin = FindOriginView(action);
  VORObjectCode target = action.GetTargetPage();
  VORPublication *publication = m_app.GetPublication();
  VORPage *page = publication ? FindTargetPage(*publication, action, origin, destination.fresh, target) : nullptr;
  if (!page) {
    m_app.ReportMissingPage(target);
    return destination;
  }
  destination.page = CheckAccess(*publication, page, action);
  if (destination.page)
    destination.view = ChooseView(origin, *destination.page);
  return destination;
}

// Actions that the player builds itself (the first page, a retry, a search
// result) carry no origin: their view reference, then the main view stand
// in for it, so that they do not each make a new window.
VORRunView *PageNavigator::FindOriginView(const VORPlayerGotoPageAction &action) const {
  if (VORRunView *view = m_views.Find(action.GetOriginObject()))
    return view;
  if (VORRunView *view = m_views.Find(action.GetViewReference()))
    return view;
  return m_views.Find(VORRunView::Identity(VORRunView::kMainViewId));
}

VORPage *PageNavigator::FindTargetPage(VORPublication &publication, const VORPlayerGotoPageAction &action,
                                       VORRunView *view, bool &fresh, VORObjectCode &target) const {
  VORRecursiveObjectContainer *found = nullptr;
  if (!view || !action.IsNavigation()) {
    publication.FindPage(target, found);
    return AsPage(found);
  }
  VORPageInstance *instance = view->GetPageInstance();
  VORChapter *chapter = instance ? instance->GetPage().GetChapter() : nullptr;
  switch (target.id) {
  case VORPlayerGotoPageAction::kHistoryBack:
  case VORPlayerGotoPageAction::kHistoryForward: {
    VORObjectCode remembered;
    const bool back = target.id == VORPlayerGotoPageAction::kHistoryBack;
    const bool had = back ? view->HistoryBack(remembered) : view->HistoryForward(remembered);
    target = had ? remembered : VORObjectCode::Zero();
    fresh = false;
    publication.FindPage(target, found);
    break;
  }
  case VORPlayerGotoPageAction::kNextPage:
    publication.FindNextPage(view->GetPageReference(), found);
    break;
  case VORPlayerGotoPageAction::kPreviousPage:
    publication.FindPreviousPage(view->GetPageReference(), found);
    break;
  case VORPlayerGotoPageAction::kRandomPage:
    if (chapter)
      chapter->GetRandomPage(view->GetPageReference(), found);
    break;
  case VORPlayerGotoPageAction::kNextRandomPage:
    if (chapter)
      chapter->NextRandomPage(view->GetPageReference(), found);
    break;
  default:
    publication.FindPage(target, found);
    break;
  }
  return AsPage(found);
}

// A refused chapter shows the publication's page for refused chapters, when
// it names one that exists.
VORPage *PageNavigator::CheckAccess(VORPublication &publication, VORPage *page,
                                    const VORPlayerGotoPageAction &action) const {
  VORChapter *chapter = page->GetChapter();
  if (!chapter || publication.CheckChapterAccess(chapter->GetObjectCode()))
    return page;
  const VORObjectCode refused = publication.GetRefusedChapterPage();
  if (refused.IsZero())
    return nullptr;
  VORRecursiveObjectContainer *found = nullptr;
  publication.FindPage(refused, found);
  VORPage *refusedPage = AsPage(found);
  if (!refusedPage && action.GetTargetPage().id != 0)
    m_app.ReportMissingPage(refused);
  return refusedPage;
}

// A chapter with its own window shows its pages there; every other page
// goes into the main view. Null: that view is not there yet.
VORRunView *PageNavigator::ChooseView(VORRunView *origin, VORPage &page) const {
  if (!origin)
    return nullptr;
  VORChapter *chapter = page.GetChapter();
  if (chapter && chapter->HasOwnWindow() && !m_oneWindow) {
    if (origin->GetId() == chapter->GetId())
      return origin;
    return m_views.Find(VORRunView::Identity(chapter->GetId()));
  }
  return m_views.Find(VORRunView::Identity(VORRunView::kMainViewId));
}
