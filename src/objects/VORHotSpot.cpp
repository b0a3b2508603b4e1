#include "objects/VORHotSpot.h"

#include <memory>

#include "display/VORInputDispatcher.h"
#include "display/VORKeyboardObjectAction.h"
#include "display/VORRunView.h"
#include "model/VORApp.h"
#include "model/VORTrigger.h"

namespace {

constexpr uint16_t kTriggerModifierShift = 4;

using PassFlag = VORHotSpot::VORHotSpotProperties::PassFlag;

} // namespace

VORHotSpot::VORHotspotAutoRepeatObjectAction::VORHotspotAutoRepeatObjectAction(int32_t sequenceNumber, bool right,
                                                                               uint32_t bits, VORPoint point)
    : VORObjectAction(kClassKey, 0), sequence(sequenceNumber), rightButton(right ? 1 : 0), modifierBits(bits),
      x(point.x), y(point.y) {
  SetActionCode(kActionCode);
}

VORHotSpot::VORHotspotAutoRepeatObjectAction::~VORHotspotAutoRepeatObjectAction() = default;

VORHotSpot::~VORHotSpot() = default;

VORHotSpot::VORHotSpotProperties &VORHotSpot::GetHotSpotProperties() {
  return static_cast<VORHotSpotProperties &>(GetGraphicalProperties());
}

bool VORHotSpot::HitTest(int32_t x, int32_t y) { return GetRect().Contains(x, y); }

uint16_t VORHotSpot::GetModifierBits(const VORGraphicalObjectAction &action) {
  constexpr uint32_t kAllModifiers = VORInput::kCtrl | VORInput::kAlt | VORInput::kShift;
  return static_cast<uint16_t>((action.GetModifiers() & kAllModifiers) << kTriggerModifierShift);
}

void VORHotSpot::ResetPointerState() {
  m_state = kOutside;
  m_repeatSequence = -1;
}

void VORHotSpot::EnterPage(VORPageInstance &instance, bool visible) {
  ResetPointerState();
  VORGraphicalObject::EnterPage(instance, visible);
}

void VORHotSpot::Hide(int32_t depth) {
  VORGraphicalObject::Hide(depth);
  ResetPointerState();
  if (VORView *view = GetView())
    if (VORRunView *runView = view->AsRunView())
      runView->ForgetInputObject(*this);
}

// --- Dispatch -------------------------------------------------------------

bool VORHotSpot::ReceiveAction(VORObjectAction &action, ActionContext &context) {
  if (!action.GetTarget().Equals(GetObjectCode()))
    return false;
  const int32_t code = action.GetActionCode();
  if (auto *mouse = dynamic_cast<VORGraphicalObjectAction *>(&action)) {
    switch (code) {
    case VORInput::kLeftDown:
      return OnLButtonDown(*mouse);
    case VORInput::kLeftUp:
      return OnLButtonUp(*mouse);
    case VORInput::kLeftDoubleClick:
      return OnLButtonDblClk(*mouse);
    case VORInput::kRightDown:
      return OnRButtonDown(*mouse);
    case VORInput::kRightUp:
      return OnRButtonUp(*mouse);
    case VORInput::kRightDoubleClick:
      return OnRButtonDblClk(*mouse);
    case VORInput::kPointerMoved:
      return OnMouseMove(*mouse);
    case VORInput::kPointerRefresh:
      if (m_state == kLeftPressed)
        ShowPressedCursor();
      else if (m_state == kInside)
        ShowCursor();
      return true;
    default:
      break;
    }
  }
  if (auto *key = dynamic_cast<VORKeyboardObjectAction *>(&action)) {
    switch (code) {
    case VORKeyboardObjectAction::kKeyDown:
      return OnKeyDown(key->GetKeyCode());
    case VORKeyboardObjectAction::kKeyUp:
      return OnKeyUp(key->GetKeyCode());
    case VORKeyboardObjectAction::kCharacter:
      return OnChar(key->GetKeyCode());
    default:
      break;
    }
  }
  if (code == VORHotspotAutoRepeatObjectAction::kActionCode) {
    if (auto *repeat = dynamic_cast<VORHotspotAutoRepeatObjectAction *>(&action))
      OnAutoRepeat(*repeat);
    return true;
  }
  return VORGraphicalObject::ReceiveAction(action, context);
}

bool VORHotSpot::Answer(uint32_t passFlag) { return (GetHotSpotProperties().flags & passFlag) == 0; }

bool VORHotSpot::Leave(uint16_t bits) {
  FireMouseLeave(bits);
  m_state = kOutside;
  return false;
}

// --- Mouse handlers -----------------------------------------------------------

bool VORHotSpot::OnButtonDown(const VORGraphicalObjectAction &action, bool right) {
  if (!IsVisible())
    return false;
  const VORPoint &point = action.GetPoint();
  if (!HitTest(point.x, point.y))
    return false;
  const uint16_t bits = GetModifierBits(action);
  if (right)
    FireRButtonDown(bits);
  else
    FireLButtonDown(bits);
  if (GetHotSpotProperties().autoRepeat != 0) {
    m_repeatSequence = static_cast<int32_t>(m_nextSequence++);
    PostAutoRepeat(VORHotspotAutoRepeatObjectAction(m_repeatSequence, right, bits, point), kFirstRepeatDelay);
  }
  m_state = right ? kRightPressed : kLeftPressed;
  return Answer(PassFlag::kPassButtonDown);
}

bool VORHotSpot::OnLButtonDown(const VORGraphicalObjectAction &action) { return OnButtonDown(action, false); }

bool VORHotSpot::OnRButtonDown(const VORGraphicalObjectAction &action) { return OnButtonDown(action, true); }

bool VORHotSpot::OnLButtonUp(const VORGraphicalObjectAction &action) {
  if (!IsVisible())
    return false;
  const VORPoint &point = action.GetPoint();
  const uint16_t bits = GetModifierBits(action);
  switch (m_state) {
  case kLeftPressed:
    if (IsBeingDragged())
      DragTo(point.x, point.y, 0);
    if (!HitTest(point.x, point.y))
      return Leave(bits);
    FireLButtonUp(bits);
    m_state = kInside;
    return Answer(PassFlag::kPassButtonUp);
  case kRightPressed:
  case kInside:
    return HitTest(point.x, point.y) ? Answer(PassFlag::kPassButtonUp) : Leave(bits);
  default:
    return false;
  }
}

bool VORHotSpot::OnRButtonUp(const VORGraphicalObjectAction &action) {
  if (!IsVisible())
    return false;
  const VORPoint &point = action.GetPoint();
  const uint16_t bits = GetModifierBits(action);
  switch (m_state) {
  case kRightPressed:
    if (!HitTest(point.x, point.y))
      return Leave(bits);
    FireRButtonUp(bits);
    m_state = kInside;
    return Answer(PassFlag::kPassButtonUp);
  case kLeftPressed:
  case kInside:
    return HitTest(point.x, point.y) ? Answer(PassFlag::kPassButtonUp) : Leave(bits);
  default:
    return false;
  }
}

bool VORHotSpot::OnLButtonDblClk(const VORGraphicalObjectAction &action) {
  if (!IsVisible())
    return false;
  if (HitTest(action.GetPoint().x, action.GetPoint().y))
    FireLButtonDblClk(GetModifierBits(action));
  return Answer(PassFlag::kPassLeftDoubleClick);
}

bool VORHotSpot::OnRButtonDblClk(const VORGraphicalObjectAction &action) {
  if (!IsVisible())
    return false;
  if (HitTest(action.GetPoint().x, action.GetPoint().y))
    FireRButtonDblClk(GetModifierBits(action));
  return Answer(PassFlag::kPassRightDoubleClick);
}

bool VORHotSpot::OnMouseMove(const VORGraphicalObjectAction &action) {
  if (!IsVisible())
    return false;
  const VORPoint &point = action.GetPoint();
  const uint16_t bits = GetModifierBits(action);
  const bool hit = HitTest(point.x, point.y);
  switch (m_state) {
  case kOutside:
    if (!hit)
      return false;
    FireMouseEnter(bits);
    m_state = kInside;
    return Answer(PassFlag::kPassMouseMove);
  case kLeftPressed:
    if (IsBeingDragged()) {
      DragTo(point.x, point.y, 1);
      return Answer(PassFlag::kPassMouseMove);
    }
    if (hit) {
      if (CanStartDrag())
        BeginDrag(point.x, point.y);
      return Answer(PassFlag::kPassMouseMove);
    }
    break;
  case kInside:
    if (IsBeingDragged())
      DragTo(point.x, point.y, 0);
    break;
  default:
    break;
  }
  return hit ? Answer(PassFlag::kPassMouseMove) : Leave(bits);
}

bool VORHotSpot::OnKeyDown(uint16_t key) {
  FireKeyDown(key);
  return false;
}

bool VORHotSpot::OnKeyUp(uint16_t key) {
  FireKeyUp(key);
  return false;
}

bool VORHotSpot::OnChar(uint16_t key) {
  FireChar(key);
  return false;
}

// --- Triggers -------------------------------------------------------------------

void VORHotSpot::FireMouse(uint16_t code) { FireEvents(VORMouseTrigger(code)); }

void VORHotSpot::FireLButtonDown(uint16_t bits) {
  FireMouse(kLeftDown | bits);
  ShowPressedCursor();
}

void VORHotSpot::FireLButtonUp(uint16_t bits) {
  FireMouse(kLeftUp | bits);
  ShowCursor();
  m_repeatSequence = -1;
}

void VORHotSpot::FireLButtonDblClk(uint16_t bits) { FireMouse(kLeftDoubleClick | bits); }

void VORHotSpot::FireRButtonDown(uint16_t bits) {
  FireMouse(kRightDown | bits);
  ShowPressedCursor();
}

void VORHotSpot::FireRButtonUp(uint16_t bits) {
  FireMouse(kRightUp | bits);
  ShowCursor();
  m_repeatSequence = -1;
}

void VORHotSpot::FireRButtonDblClk(uint16_t bits) { FireMouse(kRightDoubleClick | bits); }

void VORHotSpot::FireMouseEnter(uint16_t bits) {
  FireMouse(kMouseEnter | bits);
  ShowCursor();
}

void VORHotSpot::FireMouseLeave(uint16_t bits) {
  FireMouse(kMouseLeave | bits);
  m_repeatSequence = -1;
}

void VORHotSpot::FireKeyDown(uint16_t key) { FireEvents(VORKeyboardTrigger(key)); }

// --- Pointer and auto-repeat -------------------------------------------------------

void VORHotSpot::ShowCursor() {
  if (VORView *view = GetView())
    if (VORRunView *runView = view->AsRunView())
      runView->SetObjectCursor(&GetHotSpotProperties().cursor);
}

void VORHotSpot::ShowPressedCursor() {
  const VORHotSpotProperties &properties = GetHotSpotProperties();
  if (properties.pressedCursor.GetFileName().GetLength() == 0) {
    ShowCursor();
    return;
  }
  if (VORView *view = GetView())
    if (VORRunView *runView = view->AsRunView())
      runView->SetObjectCursor(&properties.pressedCursor);
}

void VORHotSpot::PostAutoRepeat(const VORHotspotAutoRepeatObjectAction &repeat, uint32_t delay) {
  VORApp *app = VORApp::Get();
  if (app == nullptr)
    return;
  auto action = std::make_unique<VORHotspotAutoRepeatObjectAction>(repeat);
  action->SetTarget(GetObjectCode());
  action->SetOriginObject(GetViewReference());
  action->SetOriginPage(GetPageReference());
  app->ScheduleAction(delay, action.release(), nullptr);
}

void VORHotSpot::OnAutoRepeat(const VORHotspotAutoRepeatObjectAction &repeat) {
  // A release, a leave or a new press ended the sequence this belongs to.
  const int32_t pressed = repeat.rightButton != 0 ? kRightPressed : kLeftPressed;
  if (repeat.sequence != m_repeatSequence || m_state != pressed)
    return;
  FireMouse(static_cast<uint16_t>((repeat.rightButton != 0 ? kRightDown : kLeftDown) | repeat.modifierBits));
  PostAutoRepeat(repeat, kRepeatPeriod);
}
