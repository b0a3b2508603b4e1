#pragma once

#include <cstdint>

#include "model/VORExternalResourceIdentifier.h"
#include "objects/VORGraphicalObject.h"

// The interactive page object: the base of buttons, frames, images,
// scrollbars, slideshows, texts and videos. It knows where it is hit and
// which pointer it shows; turning mouse and key actions into triggers is
// added on this base.
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

  VORHotSpot(uint32_t classKey, int32_t id) : VORGraphicalObject(classKey, id) {}
  // The pointer state starts afresh.
  VORHotSpot(const VORHotSpot &other) : VORGraphicalObject(other) {}
  ~VORHotSpot() override;

  VORHotSpotProperties &GetHotSpotProperties();
  virtual bool IsInputEnabled() { return true; }
  // Within the rectangle, right and bottom exclusive.
  virtual bool HitTest(int32_t x, int32_t y);

  int32_t GetState() const { return m_state; }

private:
  int32_t m_state = kOutside;
  int32_t m_repeatSequence = -1;
  uint32_t m_nextSequence = 0;
};
