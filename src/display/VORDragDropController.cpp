#include "display/VORDragDropController.h"

#include <utility>

VORDragDropController::VORDragDropController(DraggedObject &object, uint16_t glideDuration,
                                             std::function<uint32_t()> clock, std::function<void()> schedule)
    : m_object(object), m_startRect(object.GetRect()), m_layoutRect(object.GetLayoutRect()),
      m_glideDuration(glideDuration), m_clock(std::move(clock)), m_schedule(std::move(schedule)) {}

void VORDragDropController::Begin(int32_t x, int32_t y) {
  m_grabX = x;
  m_grabY = y;
  m_state = kDragging;
  m_object.PostRaiseToTop();
}

bool VORDragDropController::MoveTo(int32_t x, int32_t y, bool moving) {
  if (m_state != kDragging) {
    return m_state == kIdle || m_state == kDropped;
  }
  if (moving) {
    m_object.SetRect(m_startRect.Offset(x - m_grabX, y - m_grabY));
    return false;
  }
  if (m_object.OfferDrop()) {
    m_state = kDropped;
  } else {
    m_state = kGlidingBack;
    m_glideStart = m_clock();
    m_glideRect = m_object.GetRect();
    m_schedule();
  }
  m_object.PostRestoreOrder();
  m_object.EndDrag();
  return m_state == kDropped;
}

void VORDragDropController::Update(uint32_t &nextDue) {
  nextDue = kNever;
  if (m_state != kGlidingBack) {
    return;
  }
  const uint32_t elapsed = m_clock() - m_glideStart;
  if (elapsed >= m_glideDuration) {
    m_object.SetRect(m_startRect);
    m_state = kIdle;
    return;
  }
  // Integer steps from where the drop left the object towards the start.
  const int64_t left = m_glideRect.left + (static_cast<int64_t>(m_startRect.left) - m_glideRect.left) *
                                              static_cast<int64_t>(elapsed) / m_glideDuration;
  const int64_t top = m_glideRect.top + (static_cast<int64_t>(m_startRect.top) - m_glideRect.top) *
                                            static_cast<int64_t>(elapsed) / m_glideDuration;
  m_object.SetRect(m_glideRect.MovedTo(static_cast<int32_t>(left), static_cast<int32_t>(top)));
  nextDue = 0;
}
