#pragma once

#include <cstdint>
#include <functional>

#include "display/VORRunView.h"
#include "foundation/XQList.h"
#include "model/VORObjectCode.h"

// The views the player shows pages in, in the order they were made: the
// first is the main view. The list owns them. Views are found by their
// identity (0, 3, id) or by their window.
class ViewList {
public:
  ViewList() = default;
  // Deletes the views as they are: their pages are not taken out first.
  ~ViewList();
  ViewList(const ViewList &) = delete;
  ViewList &operator=(const ViewList &) = delete;

  // Takes the view (null: nothing).
  void Add(VORRunView *view);
  VORRunView *Find(const VORObjectCode &identity) const;
  // Null when the list is empty.
  VORRunView *First() const;
  // Null for a null window or one no view has.
  VORRunView *FindByWindow(VORRunView::WindowHandle window) const;
  bool Contains(const VORRunView *view) const;
  uint32_t GetCount() const { return m_views.GetCount(); }

  // Calls visit for every view, in list order, that is still in the list
  // when its turn comes: a visit may close views.
  void ForEach(const std::function<void(VORRunView &)> &visit) const;
  // Takes the view out of the list and deletes it; a view not in the list
  // is left alone.
  void Delete(VORRunView *view);
  // Deletes every view as it is (see the destructor).
  void DeleteAll() { m_views.DeleteAll(); }

  // Whether a view shows that page, or any page.
  bool IsPageShown(const VORObjectCode &page) const;
  bool AnyShowsPage() const;

private:
  XQList<VORRunView *, 2> m_views;
};
