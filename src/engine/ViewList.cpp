#include "engine/ViewList.h"

#include <vector>

ViewList::~ViewList() { m_views.DeleteAll(); }

void ViewList::Add(VORRunView *view) {
  if (view)
    m_views.Append(view);
}

VORRunView *ViewList::Find(const VORObjectCode &identity) const {
  VORRunView *found = nullptr;
  return m_views.FindIf([&identity](const VORRunView *view) { return view->HasReference(identity); }, found) ? found
                                                                                                             : nullptr;
}

VORRunView *ViewList::First() const {
  VORRunView *first = nullptr;
  return m_views.FindIf([](const VORRunView *) { return true; }, first) ? first : nullptr;
}

VORRunView *ViewList::FindByWindow(VORRunView::WindowHandle window) const {
  VORRunView *found = nullptr;
  return m_views.FindIf([window](VORRunView *view) { return window && view->GetWindow() == window; }, found) ? found
                                                                                                             : nullptr;
}

bool ViewList::Contains(const VORRunView *view) const {
  VORRunView *found = nullptr;
  return m_views.FindIf([view](const VORRunView *candidate) { return candidate == view; }, found);
}

void ViewList::ForEach(const std::function<void(VORRunView &)> &visit) const {
  std::vector<VORRunView *> views;
  {
    XQListCursor cursor(m_views);
    VORRunView *view = nullptr;
    for (bool more = m_views.First(cursor, view); more; more = m_views.Next(cursor, view))
      views.push_back(view);
  }
  for (VORRunView *view : views)
    if (Contains(view))
      visit(*view);
}

void ViewList::Delete(VORRunView *view) {
  if (!view || !Contains(view))
    return;
  m_views.Remove(view);
  delete view;
}

bool ViewList::IsPageShown(const VORObjectCode &page) const {
  VORRunView *found = nullptr;
  return m_views.FindIf(
      [&page](VORRunView *view) { return view->GetPageInstance() && view->GetPageReference().Equals(page); }, found);
}

bool ViewList::AnyShowsPage() const {
  VORRunView *found = nullptr;
  return m_views.FindIf([](VORRunView *view) { return view->GetPageInstance() != nullptr; }, found);
}
