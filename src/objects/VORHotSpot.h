#pragma once

#include <cstdint>

#include "foundation/VORRect.h"
#include "model/VORExternalResourceIdentifier.h"
#include "model/VORObjectAction.h"
#include "objects/VORGraphicalObject.h"
#include "objects/VORGraphicalObjectAction.h"

// The interactive page object: the base of buttons, frames, images,
// scrollbars, slideshows, texts and videos. It turns the mouse and key
// actions of the run view into mouse and keyboard triggers, tracks whether
// the pointer is inside and which button is held, shows its pointer, starts
// drags and repeats its button-down trigger while a button is held.
class VORHotSpot : public VORGraphicalObject {
public:
  // Where the pointer is: a button pressed inside, inside, or outside.
  enum State : int32_t { kLeftPressed = 0, kRightPressed = 1, kInside = 2, kOutside = 3 };

  class VORHotSpotProperties : public VORGraphicalObject::VORGraphicalObjectProperties {
  public:
    // Bits of flags; each set bit lets the event pass on to what lies below.
    enum PassFlag : uint32_t {
      kPassButtonDown = 0x01,
      kPassButtonUp = 0x02,
      kPassMouseMove = 0x10,
      kPassLeftDoubleClick = 0x20,
      kPassRightDoubleClick = 0x40,
    };
    static constexpr uint32_t kAllPass = 0xFF;
    // The bits a copy carries; the double-click bits stay the receiver's.
    static constexpr uint32_t kCopiedFlags = kPassButtonDown | kPassButtonUp | kPassMouseMove;

    VORHotSpotProperties() = default;
    VORHotSpotProperties(const VORHotSpotProperties &other);
    VORHotSpotProperties &operator=(const VORHotSpotProperties &other);
    ~VORHotSpotProperties() override;

    // The graphical record, the flag byte, the two pointers (each a folder
    // of its own), the repeat byte (0 when the record ends first).
    void Read(VORFile &file) override;
    VORObjectProperties *Clone() const override { return new VORHotSpotProperties(*this); }
    void Assign(const VORObjectProperties &other) override;

    uint32_t flags = kAllPass;
    VORExternalResourceIdentifier cursor;
    VORExternalResourceIdentifier pressedCursor;
    uint8_t autoRepeat = 0;

  private:
    void CopyOwnFields(const VORHotSpotProperties &other);
  };

  // The auto-repeat of a held button (action 20000): built in place and
  // posted to the hotspot itself, never read from a file.
  class VORHotspotAutoRepeatObjectAction : public VORObjectAction {
  public:
    static constexpr int32_t kActionCode = 20000;

    VORHotspotAutoRepeatObjectAction(int32_t sequence, bool rightButton, uint32_t modifierBits, VORPoint point);
    VORHotspotAutoRepeatObjectAction(const VORHotspotAutoRepeatObjectAction &) = default;
    ~VORHotspotAutoRepeatObjectAction() override;
    VORObjectAction *Clone() const override { return new VORHotspotAutoRepeatObjectAction(*this); }

    int32_t sequence;
    uint8_t rightButton;
    uint32_t modifierBits;
    int32_t x;
    int32_t y;
  };

  // Mouse trigger kinds, ORed with the modifier bits below.
  enum MouseKind : uint16_t {
    kLeftDown = 1,
    kLeftUp = 2,
    kLeftDoubleClick = 3,
    kRightDown = 4,
    kRightUp = 5,
    kRightDoubleClick = 6,
    kMouseEnter = 7,
    kMouseLeave = 8,
  };
  // The first repeat after the press, then the period.
  static constexpr uint32_t kFirstRepeatDelay = 400;
  static constexpr uint32_t kRepeatPeriod = 100;

  VORHotSpot(uint32_t classKey, int32_t id) : VORGraphicalObject(classKey, id) {}
  // The pointer state starts afresh.
  VORHotSpot(const VORHotSpot &other) : VORGraphicalObject(other) {}
  ~VORHotSpot() override;

  VORHotSpotProperties &GetHotSpotProperties();
  virtual bool IsInputEnabled() { return true; }
  // Within the rectangle, right and bottom exclusive.
  virtual bool HitTest(int32_t x, int32_t y);

  // Mouse actions (2 to 8, 22), key actions (9 to 11) and the auto-repeat;
  // the rest as a graphical object.
  bool ReceiveAction(VORObjectAction &action, ActionContext &context) override;
  // The pointer state starts afresh on each visit and each hide, so that a
  // page left with a button down does not come back pressed.
  void EnterPage(VORPageInstance &instance, bool visible) override;
  void Hide(int32_t depth) override;

  // The handlers answer true when the event stops here.
  virtual bool OnLButtonDown(const VORGraphicalObjectAction &action);
  virtual bool OnLButtonUp(const VORGraphicalObjectAction &action);
  virtual bool OnLButtonDblClk(const VORGraphicalObjectAction &action);
  virtual bool OnRButtonDown(const VORGraphicalObjectAction &action);
  virtual bool OnRButtonUp(const VORGraphicalObjectAction &action);
  virtual bool OnRButtonDblClk(const VORGraphicalObjectAction &action);
  virtual bool OnMouseMove(const VORGraphicalObjectAction &action);
  virtual bool OnKeyDown(uint16_t key);
  virtual bool OnKeyUp(uint16_t key);
  virtual bool OnChar(uint16_t key);
  virtual void FireLButtonDown(uint16_t bits);
  virtual void FireLButtonUp(uint16_t bits);
  virtual void FireLButtonDblClk(uint16_t bits);
  virtual void FireRButtonDown(uint16_t bits);
  virtual void FireRButtonUp(uint16_t bits);
  virtual void FireRButtonDblClk(uint16_t bits);
  virtual void FireMouseEnter(uint16_t bits);
  virtual void FireMouseLeave(uint16_t bits);
  virtual void FireKeyDown(uint16_t key);
  virtual void FireKeyUp(uint16_t /*key*/) {}
  virtual void FireChar(uint16_t /*key*/) {}

  // The mouse action's Ctrl, Alt and Shift as trigger bits 0x10, 0x20, 0x40.
  static uint16_t GetModifierBits(const VORGraphicalObjectAction &action);
  void ShowCursor();
  void ShowPressedCursor();

  int32_t GetState() const { return m_state; }
  int32_t GetRepeatSequence() const { return m_repeatSequence; }

protected:
  // The repeat to the hotspot itself, from its view and page.
  void PostAutoRepeat(const VORHotspotAutoRepeatObjectAction &repeat, uint32_t delay);

private:
  bool OnButtonDown(const VORGraphicalObjectAction &action, bool right);
  // Up or move outside: the pointer left.
  bool Leave(uint16_t bits);
  bool Answer(uint32_t passFlag);
  void FireMouse(uint16_t code);
  void OnAutoRepeat(const VORHotspotAutoRepeatObjectAction &repeat);
  void ResetPointerState();

  int32_t m_state = kOutside;
  int32_t m_repeatSequence = -1;
  uint32_t m_nextSequence = 0;
};
