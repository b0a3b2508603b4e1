#include "display/VORInputDispatcher.h"

#include <algorithm>

#include "display/VORKeyboardObjectAction.h"
#include "display/VORPaintable.h"
#include "display/VORRunView.h"
#include "model/ActionContext.h"
#include "model/VORActionReceiver.h"
#include "model/VORApp.h"
#include "model/VORObjectAction.h"
#include "model/VORPlayerGotoPageAction.h"
#include "model/VORPublication.h"
#include "model/VORRecursiveObjectContainer.h"

namespace {

const VORMouseActionFactory *&InstalledFactory() {
  static const VORMouseActionFactory *factory = nullptr;
  return factory;
}

void CollectPreOrder(VORRecursiveObjectContainer &level, std::vector<VORRecursiveObjectContainer *> &out) {
  const uint32_t count = level.GetChildCount();
  for (uint32_t i = 0; i < count; ++i) {
    VORRecursiveObjectContainer *child = level.ChildAt(i);
    if (child == nullptr)
      continue;
    out.push_back(child);
    CollectPreOrder(*child, out);
  }
}

bool Contains(const VORRecursiveObjectContainer &level, const VORActionReceiver *object,
              const VORObjectCode &reference) {
  const uint32_t count = level.GetChildCount();
  for (uint32_t i = 0; i < count; ++i) {
    VORRecursiveObjectContainer *child = level.ChildAt(i);
    if (child == nullptr)
      continue;
    auto *receiver = dynamic_cast<VORActionReceiver *>(child);
    if (receiver == object && receiver->GetObjectCode().Equals(reference))
      return true;
    if (Contains(*child, object, reference))
      return true;
  }
  return false;
}

// Escape exits at once when the publication allows it; the key reaches no
// page object then.
bool HandleEscapeKey(uintptr_t key) {
  if (key != static_cast<uintptr_t>(VORInput::kEscapeKey))
    return false;
  VORApp *app = VORApp::Get();
  VORPublication *publication = app != nullptr ? app->GetPublication() : nullptr;
  if (publication == nullptr || !publication->AllowsEscapeExit())
    return false;
  constexpr int32_t kExitAction = 102;
  constexpr int32_t kPlayerId = 1;
  VORPlayerGotoPageAction exit;
  exit.SetActionCode(kExitAction);
  exit.SetTarget(VORObjectCode(0, 0, kPlayerId));
  app->ExecuteAction(exit);
  return true;
}

} // namespace

void VORMouseActionFactory::Install(const VORMouseActionFactory *factory) { InstalledFactory() = factory; }

const VORMouseActionFactory *VORMouseActionFactory::Get() { return InstalledFactory(); }

std::vector<VORInputDispatcher::Entry> VORInputDispatcher::Snapshot(VORRecursiveObjectContainer &root,
                                                                    Order order) const {
  std::vector<VORRecursiveObjectContainer *> objects;
  CollectPreOrder(root, objects);
  // Children are drawn over their parent and later siblings over earlier
  // ones: the reversed pre-order is the topmost first.
  if (order == Order::kTopFirst)
    std::reverse(objects.begin(), objects.end());
  std::vector<Entry> entries;
  entries.reserve(objects.size());
  for (VORRecursiveObjectContainer *object : objects) {
    auto *receiver = dynamic_cast<VORActionReceiver *>(object);
    if (receiver == nullptr)
      continue;
    auto *paintable = dynamic_cast<VORPaintable *>(object);
    entries.push_back(Entry{receiver, receiver->GetObjectCode(), paintable != nullptr,
                            paintable != nullptr ? paintable->GetRect() : VORRect::NotSet()});
  }
  return entries;
}

bool VORInputDispatcher::IsStillShown(VORRecursiveObjectContainer *root, const Entry &entry) const {
  return root != nullptr && root == m_view.GetInputObjects() && Contains(*root, entry.object, entry.reference);
}

bool VORInputDispatcher::Deliver(VORActionReceiver &object, VORObjectAction &action) {
  ActionContext context = ActionContext::FromView(&m_view);
  return object.ReceiveAction(action, context);
}

void VORInputDispatcher::Address(VORObjectAction &action, const VORActionReceiver &object) const {
  action.SetTarget(object.GetObjectCode());
  action.SetOriginObject(m_view.GetObjectCode());
  action.SetOriginPage(m_view.GetPageReference());
}

bool VORInputDispatcher::DeliverMouse(VORActionReceiver &object, int32_t code, uint32_t modifiers) {
  const VORMouseActionFactory *factory = VORMouseActionFactory::Get();
  if (factory == nullptr)
    return false;
  std::unique_ptr<VORObjectAction> action = factory->Make(code, m_lastPosition, m_view.GetInputPageRect(), modifiers);
  Address(*action, object);
  return Deliver(object, *action);
}

bool VORInputDispatcher::DeliverKey(VORActionReceiver &object, int32_t code, uintptr_t wParam, intptr_t lParam) {
  VORKeyboardObjectAction action(code, wParam, lParam);
  Address(action, object);
  return Deliver(object, action);
}

bool VORInputDispatcher::DispatchMouseEvent(int32_t code) {
  m_view.RequestCursorUpdate();
  VORRecursiveObjectContainer *root = m_view.GetInputObjects();
  if (root == nullptr)
    return false;
  if (m_holder != nullptr)
    return DeliverMouse(*m_holder, code, m_view.GetModifierBits());
  if (code == VORInput::kLeftDown)
    ReleaseFocusOnPressElsewhere();
  bool taken = false;
  for (const Entry &entry : Snapshot(*root, Order::kTopFirst)) {
    if (!entry.graphical || !entry.rect.Contains(m_lastPosition.x, m_lastPosition.y))
      continue;
    if (!IsStillShown(root, entry))
      break;
    if (DeliverMouse(*entry.object, code, m_view.GetModifierBits())) {
      taken = true;
      break;
    }
  }
  m_view.Refresh();
  return taken;
}

void VORInputDispatcher::DispatchMouseMove(VORPoint point) {
  m_lastPosition = point;
  m_view.OnPointerMoved();
  VORRecursiveObjectContainer *root = m_view.GetInputObjects();
  if (root == nullptr)
    return;
  // Only Alt is told on a move.
  const uint32_t modifiers = m_view.GetModifierBits() & VORInput::kAlt;
  const std::pair<Order, int32_t> passes[] = {{Order::kTopFirst, VORInput::kPointerMoved},
                                              {Order::kBottomFirst, VORInput::kPointerRefresh}};
  for (const auto &[order, code] : passes) {
    for (const Entry &entry : Snapshot(*root, order)) {
      if (!entry.graphical)
        continue;
      if (!IsStillShown(root, entry))
        break;
      DeliverMouse(*entry.object, code, modifiers);
    }
  }
  m_view.Refresh();
}

bool VORInputDispatcher::DispatchKeyEvent(int32_t code, uintptr_t wParam, intptr_t lParam) {
  if (code == VORKeyboardObjectAction::kKeyDown && HandleEscapeKey(wParam))
    return true;
  m_view.RequestCursorUpdate();
  VORRecursiveObjectContainer *root = m_view.GetInputObjects();
  if (root == nullptr)
    return false;
  if (m_focus != nullptr) {
    const bool taken = DeliverKey(*m_focus, code, wParam, lParam);
    m_view.Refresh();
    if (taken)
      return true;
  }
  bool taken = false;
  for (const Entry &entry : Snapshot(*root, Order::kTopFirst)) {
    if (!entry.graphical || entry.object == m_focus)
      continue;
    if (!IsStillShown(root, entry))
      break;
    if (DeliverKey(*entry.object, code, wParam, lParam)) {
      taken = true;
      break;
    }
  }
  m_view.Refresh();
  return taken;
}

void VORInputDispatcher::SetFocusObject(VORActionReceiver *object) {
  if (m_focus != nullptr)
    ReleaseFocus(*m_focus);
  m_focus = object;
}

void VORInputDispatcher::ReleaseFocus(VORActionReceiver &object) {
  if (m_focus != &object)
    return;
  DeliverMouse(object, VORInput::kFocusLost, m_view.GetModifierBits());
  m_focus = nullptr;
}

void VORInputDispatcher::ReleaseFocusOnPressElsewhere() {
  if (m_focus == nullptr)
    return;
  auto *paintable = dynamic_cast<VORPaintable *>(m_focus);
  if (paintable != nullptr && paintable->GetRect().Contains(m_lastPosition.x, m_lastPosition.y))
    return;
  ReleaseFocus(*m_focus);
}

void VORInputDispatcher::SetDraggedObject(VORActionReceiver *object) {
  if (m_holder != nullptr)
    EndDrag(*m_holder);
  m_holder = object;
}

void VORInputDispatcher::EndDrag(VORActionReceiver &object) {
  if (m_holder != &object)
    return;
  DeliverMouse(object, VORInput::kMouseReleased, m_view.GetModifierBits());
  m_holder = nullptr;
}

void VORInputDispatcher::Forget() {
  m_focus = nullptr;
  m_holder = nullptr;
}

void VORInputDispatcher::Forget(const VORActionReceiver &object) {
  if (m_focus == &object)
    m_focus = nullptr;
  if (m_holder == &object)
    m_holder = nullptr;
}
