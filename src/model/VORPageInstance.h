#pragma once

#include <functional>

#include "foundation/VORRect.h"
#include "model/VORPage.h"
#include "model/VORRecursiveObjectContainer.h"

class VORGraphicalObjectContainerManager;
class VORPageMember;
class VORPageView;

// One presentation of a page in one view. Its children are the page's
// objects: for the master instance the loaded objects themselves, for a
// copy their copies.
class VORPageInstance : public VORRecursiveObjectContainer {
public:
  // The navigation reference of the timed page's action.
  static constexpr VORObjectCode kTimedPageView = VORObjectCode(0, 0, 5);
  static constexpr int32_t kGotoPageCode = 101;

  explicit VORPageInstance(VORPage &page) : m_page(page) {}
  ~VORPageInstance() override;

  VORPage &GetPage() const { return m_page; }
  // The view that shows the instance; null while hidden.
  VORPageView *GetView() const { return m_view; }
  VORObjectCode GetPageReference() const { return m_page.GetObjectCode(); }
  // The view's reference; (0, 0, 0) while hidden.
  VORObjectCode GetViewReference() const;

  // The shown rectangle; (0, 0, -1, -1) until a view lays the page out.
  const VORRect &GetRect() const { return m_rect; }
  // Also lays the objects out for it and hands them their rectangles.
  void SetRect(const VORRect &rect);
  // The page's for the master; a copy's own for a copy. None for a page
  // that lays nothing out.
  virtual VORGraphicalObjectContainerManager *GetLayoutManager() { return m_page.GetMasterLayoutManager(); }
  VORRect GetPageRect() { return GetPageProperties().rect; }
  // The page's properties for the master; a copy's own for a copy, so that
  // each instance fires its own events.
  virtual VORPage::VORPageProperties &GetPageProperties() { return m_page.GetPageProperties(); }
  virtual bool IsCopy() const { return false; }
  // A page's objects are page objects: the publication, its chapters and
  // its pages never stand on a page, whatever a damaged file lists there.
  bool AcceptsChild(uint32_t classKey) const override;

  // Shown in the view: every object joins the instance.
  void Show(VORPageView &view);
  // Every object leaves; the view is forgotten.
  void Hide();
  // The page is on screen: the objects hear it, and a timed page is posted.
  void OnShown();

protected:
  // Every direct child that is a page object, in order; children removed
  // during the walk are passed over.
  void ForEachMember(const std::function<void(VORPageMember &)> &visit);

private:
  void StopFlaggedSound(uint8_t flags);
  VORPage &m_page;
  VORPageView *m_view = nullptr;
  VORRect m_rect;
};
