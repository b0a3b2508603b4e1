#pragma once

#include <cstdint>

#include "foundation/VORRect.h"
#include "model/VORObjectAction.h"

// The action page objects and the run view send to graphical objects: show
// (12), hide with transition (13), end of drag (17), hide at once (18), raise
// (19), restore the stacking order (20), show finished (21), and the mouse
// codes with the pointer's position.
class VORGraphicalObjectAction : public VORObjectAction {
public:
  // cppcheck-suppress duplInheritedMember
  static constexpr uint16_t kCode = 2;
  // cppcheck-suppress duplInheritedMember
  static constexpr uint32_t kClassKey = VORObjectCode::MakeClassKey(kCategory, kCode);

  enum Code : int32_t {
    kShow = 12,
    kHide = 13,
    kEndDrag = 17,
    kHideAtOnce = 18,
    kRaiseToTop = 19,
    kRestoreOrder = 20,
    kShowFinished = 21,
  };

  VORGraphicalObjectAction(uint32_t classKey, int32_t id) : VORObjectAction(classKey, id) {}
  // An action built in place, with an optional rectangle.
  explicit VORGraphicalObjectAction(const VORRect &rect = VORRect::NotSet())
      : VORObjectAction(kClassKey, 0), m_rect(rect) {}
  VORGraphicalObjectAction(const VORGraphicalObjectAction &) = default;
  ~VORGraphicalObjectAction() override;

  // The action's fields, then the rectangle and the point; each value
  // missing at the end of the record reads 0.
  void Read(VORFile &file) override;
  VORObjectAction *Clone() const override { return new VORGraphicalObjectAction(*this); }

  const VORPoint &GetPoint() const { return m_point; }
  void SetPoint(const VORPoint &point) { m_point = point; }
  const VORRect &GetRect() const { return m_rect; }
  // Mouse actions: Ctrl 1, Alt 2, Shift 4 as they were when it was built.
  uint32_t GetModifiers() const { return m_modifiers; }
  void SetModifiers(uint32_t modifiers) { m_modifiers = modifiers; }

private:
  VORPoint m_point{-1, -1};
  VORRect m_rect = VORRect::NotSet();
  uint32_t m_modifiers = 0;
};
