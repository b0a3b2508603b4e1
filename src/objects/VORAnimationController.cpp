#include "objects/VORAnimationController.h"

#include "engine/VORUpdateController.h"
#include "model/VORPageInstance.h"
#include "objects/VORFrame.h"
#include "objects/VORGraphicalObject.h"
#include "objects/VORRecordForm.h"

namespace {

const PlayerFormRegistration kRegistration(VORAnimationController::kCategory, VORAnimationController::kCode,
                                           VORPlayerAnimationController::Create);

} // namespace

VORAnimationController::~VORAnimationController() = default;

VORAnimationController::VORAnimationControllerProperties &VORAnimationController::GetControllerProperties() {
  return static_cast<VORAnimationControllerProperties &>(*GetProperties());
}

void VORAnimationController::EnterPage(VORPageInstance &instance, bool visible) {
  VORObject::EnterPage(instance, visible);
  m_instance = &instance;
  m_active = false;
  m_object = dynamic_cast<VORGraphicalObject *>(GetParent());
}

// The object and the page may go once the page is left: the controller lets
// go of both and leaves the update controller (Start joins it again).
void VORAnimationController::LeavePage(bool visible) {
  m_active = false;
  if (GetController() != nullptr)
    GetController()->Remove(this);
  VORObject::LeavePage(visible);
  m_object = nullptr;
  m_frame = nullptr;
  m_instance = nullptr;
}

void VORAnimationController::Start() {
  // Only a graphical object on a shown page can be moved.
  if (m_object == nullptr || m_instance == nullptr)
    return;
  m_object->SetAnimationDriver(this);
  Reschedule(0);
  m_started = false;
  m_active = true;
  m_frame = nullptr;
  // Objects inside a frame move relative to the frame.
  for (VORRecursiveObjectContainer *up = m_object->GetParent(); up != nullptr; up = up->GetParent()) {
    auto *graphical = dynamic_cast<VORGraphicalObject *>(up);
    if (graphical == nullptr)
      break;
    if (auto *frame = dynamic_cast<VORFrame *>(graphical)) {
      m_frame = frame;
      break;
    }
  }
  VORAnimationControllerProperties &properties = GetControllerProperties();
  if (Bounces()) {
    m_bounce = Bounce();
    m_bounce.kind = properties.kind;
    m_bounce.limit = properties.edgeHitLimit;
    m_bounce.base = ObjectRectInContainer();
    m_bounce.startRect = m_bounce.base;
    m_bounce.xSpeed = properties.speed;
    m_bounce.ySpeed = properties.speed;
  } else if (properties.kind == kFlyIn || properties.kind == kFlyOut) {
    const bool flyIn = properties.kind == kFlyIn;
    properties.path =
        FlyPath(ContainerRect(), ObjectRectInContainer(), flyIn ? properties.entryAngle : properties.exitAngle,
                flyIn ? properties.entryTime : properties.exitTime, flyIn);
  }
  uint32_t due = 0;
  Update(due);
}

void VORAnimationController::Stop() {
  const bool wasActive = m_active;
  m_active = false;
  if (m_object != nullptr && wasActive)
    m_object->AnimationDriverDone(this);
}

void VORAnimationController::Update(uint32_t &nextDue) {
  nextDue = VORUpdateController::kNotScheduled;
  if (!m_active || m_object == nullptr)
    return;
  const uint32_t now = GetController() != nullptr ? GetController()->Now() : 0;
  if (Bounces())
    UpdateBounce(now);
  else
    UpdatePath(now);
  if (m_active && GetController() != nullptr)
    nextDue = GetController()->Now();
}

bool VORAnimationController::Bounces() const {
  const uint8_t kind = const_cast<VORAnimationController *>(this)->GetControllerProperties().kind;
  return kind == kVelocity || kind == kVerticalBounce || kind == kHorizontalBounce;
}

void VORAnimationController::UpdatePath(uint32_t now) {
  VORAnimationControllerProperties &properties = GetControllerProperties();
  uint32_t t = 0;
  if (!m_started) {
    m_baseRect = ObjectRectInContainer();
    m_startTime = now;
    m_started = true;
  } else {
    t = now - m_startTime;
  }
  const VORAnimationPath::Position position = VORAnimationPath::PositionAt(properties.path, t);
  const VORRect current = ObjectRectInContainer();
  const auto width = static_cast<int32_t>(current.Width());
  const auto height = static_cast<int32_t>(current.Height());
  if (position.goesOn) {
    MoveObjectTo(CentredAt(position.x, position.y, width, height));
    return;
  }
  // The last frame rarely falls on the path's end: the object is put there,
  // and a fly-in back exactly where it stood.
  if (properties.kind == kFlyIn)
    MoveObjectTo(m_baseRect);
  else if (!properties.path.empty())
    MoveObjectTo(CentredAt(position.x, position.y, width, height));
  Stop();
}

void VORAnimationController::UpdateBounce(uint32_t now) {
  if (!m_started) {
    // The start time is the first update's: counted from "never", the
    // first step would jump.
    m_bounce.startTime = now;
    m_started = true;
  }
  VORRect rect;
  const bool goesOn = m_bounce.Step(now, ContainerRect(), rect);
  MoveObjectTo(rect);
  if (!goesOn)
    Stop();
}

VORRect VORAnimationController::ContainerRect() const {
  if (m_frame != nullptr) {
    const VORRect frame = m_frame->GetRect();
    return VORRect(0, 0, static_cast<int32_t>(frame.Width()), static_cast<int32_t>(frame.Height()));
  }
  if (m_instance != nullptr) {
    const VORRect &rect = m_instance->GetRect();
    if (!rect.IsEmpty())
      return rect;
    return m_instance->GetPageRect();
  }
  return VORRect();
}

VORPoint VORAnimationController::ContainerOrigin() const {
  if (m_frame == nullptr)
    return VORPoint{0, 0};
  const VORRect frame = m_frame->GetRect();
  return VORPoint{frame.left, frame.top};
}

VORRect VORAnimationController::ObjectRectInContainer() const {
  const VORPoint origin = ContainerOrigin();
  return m_object->GetRect().Offset(-origin.x, -origin.y);
}

void VORAnimationController::MoveObjectTo(const VORRect &rectInContainer) {
  const VORPoint origin = ContainerOrigin();
  m_object->SetRect(rectInContainer.Offset(origin.x, origin.y));
}
