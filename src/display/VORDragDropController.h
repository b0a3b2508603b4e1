#pragma once

#include <cstdint>
#include <functional>

#include "foundation/VORRect.h"

// Moves a graphical object with the mouse and, when no other object accepts
// the drop, glides it back to where the drag began.
class VORDragDropController {
public:
  enum State : int32_t { kIdle = 0, kDragging = 1, kDropped = 2, kGlidingBack = 3 };
  // A next due time that asks never to be called again.
  static constexpr uint32_t kNever = 0xFFFFFFFF;

  // What the controller asks of the object it moves.
  class DraggedObject {
  public:
    virtual ~DraggedObject() = default;
    virtual VORRect GetRect() = 0;
    virtual void SetRect(const VORRect &rect) = 0;
    virtual VORRect GetLayoutRect() = 0;
    // Object actions 19 and 20, posted at once.
    virtual void PostRaiseToTop() = 0;
    virtual void PostRestoreOrder() = 0;
    virtual void EndDrag() = 0;
    // Offers the drop to the graphical objects of its container, from the
    // first and descending into children; true when one accepted it.
    virtual bool OfferDrop() = 0;
  };

  // clock: the multimedia clock in ms; schedule: asks the update
  // controller to call Update as soon as it can.
  VORDragDropController(DraggedObject &object, uint16_t glideDuration, std::function<uint32_t()> clock,
                        std::function<void()> schedule);

  void Begin(int32_t x, int32_t y);
  // moving: the pointer moved to (x, y); otherwise the object was dropped
  // there. True when the drag is over (idle or dropped on an acceptor).
  bool MoveTo(int32_t x, int32_t y, bool moving);
  // Glides the object back; nextDue gets the time of the next call.
  void Update(uint32_t &nextDue);

  State GetState() const { return m_state; }
  const VORRect &GetStartRect() const { return m_startRect; }
  const VORRect &GetLayoutRect() const { return m_layoutRect; }

private:
  DraggedObject &m_object;
  State m_state = kIdle;
  int32_t m_grabX = 0;
  int32_t m_grabY = 0;
  VORRect m_startRect;
  VORRect m_layoutRect;
  VORRect m_glideRect;
  uint16_t m_glideDuration;
  uint32_t m_glideStart = 0;
  std::function<uint32_t()> m_clock;
  std::function<void()> m_schedule;
};
