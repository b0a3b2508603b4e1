// The graphical object's side of drag and drop: the drag controller moves
// it and glides it back; the page's objects decide whether to take it.
#include <vector>

#include "display/VORDragDropController.h"
#include "display/VORRunView.h"
#include "engine/VORUpdateTarget.h"
#include "model/VORApp.h"
#include "model/VORTrigger.h"
#include "objects/VORGraphicalObject.h"

namespace {

uint32_t TickTime() {
  VORApp *app = VORApp::Get();
  return app != nullptr ? app->GetTickTime() : 0;
}

VORRunView *RunViewOf(const VORObject &object) {
  VORView *view = object.GetView();
  return view != nullptr ? view->AsRunView() : nullptr;
}

// Each graphical object below level, in order, descending into children,
// leaving out the skipped object and everything inside it.
void CollectDropCandidates(VORRecursiveObjectContainer &level, const VORGraphicalObject &skipped,
                           std::vector<VORGraphicalObject *> &out) {
  const uint32_t count = level.GetChildCount();
  for (uint32_t i = 0; i < count; ++i) {
    VORRecursiveObjectContainer *child = level.ChildAt(i);
    if (child == nullptr || child == &skipped)
      continue;
    if (auto *graphical = dynamic_cast<VORGraphicalObject *>(child))
      out.push_back(graphical);
    CollectDropCandidates(*child, skipped, out);
  }
}

bool LiesInside(const VORRect &inner, const VORRect &outer) {
  return outer.Contains(inner.left, inner.top) && outer.Contains(inner.right - 1, inner.bottom - 1);
}

} // namespace

// What the drag controller moves, and the update target that runs its
// glide back.
struct VORGraphicalObject::DragSupport : public VORDragDropController::DraggedObject, public VORUpdateTarget {
  explicit DragSupport(VORGraphicalObject &object)
      : owner(object),
        controller(*this, object.GetGraphicalProperties().glideBackDuration, TickTime, [this]() { Reschedule(0); }) {}

  VORRect GetRect() override { return owner.GetRect(); }
  void SetRect(const VORRect &rect) override {
    owner.Invalidate();
    owner.SetRect(rect);
    owner.Invalidate();
  }
  VORRect GetLayoutRect() override { return owner.GetLayoutRect(); }
  void PostRaiseToTop() override { owner.PostRaiseToTop(); }
  void PostRestoreOrder() override { owner.PostRestoreOrder(); }
  void EndDrag() override { owner.EndDrag(); }
  bool OfferDrop() override { return owner.OfferDrop(); }
  void Update(uint32_t &nextDue) override { controller.Update(nextDue); }

  VORGraphicalObject &owner;
  VORDragDropController controller;
};

void VORGraphicalObject::DragSupportDeleter::operator()(DragSupport *support) const { delete support; }

void VORGraphicalObject::DeleteDragController() { m_drag.reset(); }

bool VORGraphicalObject::IsBeingDragged() const {
  if (!m_drag)
    return false;
  const VORDragDropController::State state = m_drag->controller.GetState();
  return state == VORDragDropController::kDragging || state == VORDragDropController::kGlidingBack;
}

bool VORGraphicalObject::CanStartDrag() const {
  if (m_drag && m_drag->controller.GetState() == VORDragDropController::kDropped)
    return false;
  return GetGraphicalProperties().draggable != 0;
}

void VORGraphicalObject::BeginDrag(int32_t x, int32_t y) {
  if (!m_drag)
    m_drag.reset(new DragSupport(*this));
  if (VORRunView *view = RunViewOf(*this))
    view->SetDraggedObject(this);
  m_drag->controller.Begin(x, y);
}

void VORGraphicalObject::DragTo(int32_t x, int32_t y, int32_t flags) {
  if (m_drag)
    m_drag->controller.MoveTo(x, y, flags != 0);
}

void VORGraphicalObject::EndDrag() {
  if (VORRunView *view = RunViewOf(*this))
    view->EndDrag(*this);
}

bool VORGraphicalObject::OfferDrop() {
  VORRecursiveObjectContainer *container = GetParent();
  if (container == nullptr)
    return false;
  std::vector<VORGraphicalObject *> candidates;
  // An object never takes itself, nor does anything inside it.
  CollectDropCandidates(*container, *this, candidates);
  for (VORGraphicalObject *candidate : candidates)
    if (candidate->TryAcceptDrop(*this))
      return true;
  return false;
}

bool VORGraphicalObject::TryAcceptDrop(VORGraphicalObject &dropped) {
  if (!IsVisible() || &dropped == this)
    return false;
  if (!LiesInside(dropped.GetRect(), GetRect()))
    return false;
  const VORGraphicalObjectProperties &own = GetGraphicalProperties();
  const VORGraphicalObjectProperties &theirs = dropped.GetGraphicalProperties();
  if (!VORGraphicalObjectProperties::Admits(theirs.dropTargets, GetObjectCode()))
    return false;
  if (own.acceptsDrops == 0)
    return false;
  if (!VORGraphicalObjectProperties::Admits(own.acceptedObjects, dropped.GetObjectCode()))
    return false;
  FireDropTrigger(dropped);
  return true;
}

void VORGraphicalObject::FireDropTrigger(VORGraphicalObject &dropped) {
  FireEvents(VORDropTrigger(dropped.GetObjectCode()));
}
