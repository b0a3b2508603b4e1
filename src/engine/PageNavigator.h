#pragma once

#include "model/VORObjectCode.h"

class VORApp;
class VORPage;
class VORPlayerGotoPageAction;
class VORPublication;
class VORRunView;
class ViewList;

// Where a go-to-page action leads, before anything is changed: the view it
// starts from, the page it names (directly, or by a navigation kind relative
// to that view's page: history back and forward, next, previous, random in
// the chapter), the page shown instead when the page's chapter is refused,
// and the view the page belongs in. Missing pages are reported to the
// application as they are met.
class PageNavigator {
public:
  struct Destination {
    // Null: there is nothing to show.
    VORPage *page = nullptr;
    // The existing view the page goes into; null when a view is to be made.
    VORRunView *view = nullptr;
    // The page goes onto the view's history (not for history moves).
    bool fresh = true;
  };

  // oneWindow: every page goes into the main view, chapters with windows of
  // their own too (the screen saver plays in its one window).
  PageNavigator(VORApp &app, const ViewList &views, bool oneWindow = false)
      : m_app(app), m_views(views), m_oneWindow(oneWindow) {}

  Destination Resolve(const VORPlayerGotoPageAction &action) const;

private:
  VORRunView *FindOriginView(const VORPlayerGotoPageAction &action) const;
  VORPage *FindTargetPage(VORPublication &publication, const VORPlayerGotoPageAction &action, VORRunView *view,
                          bool &fresh, VORObjectCode &target) const;
  VORPage *CheckAccess(VORPublication &publication, VORPage *page, const VORPlayerGotoPageAction &action) const;
  VORRunView *ChooseView(VORRunView *origin, VORPage &page) const;

  VORApp &m_app;
  const ViewList &m_views;
  bool m_oneWindow;
};
