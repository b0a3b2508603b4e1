#pragma once

#include <cstdint>

#include "model/VORObjectAction.h"
#include "vorfile/VORString.h"

// An action for a web-browser object (980): navigate to an address or to a
// variable's value, stop, back, forward, home, or poll.
class VORBrowserAction : public VORObjectAction {
public:
  // cppcheck-suppress duplInheritedMember
  static constexpr uint16_t kCode = 0x19;
  // cppcheck-suppress duplInheritedMember
  static constexpr uint32_t kClassKey = VORObjectCode::MakeClassKey(kCategory, kCode);

  VORBrowserAction(uint32_t classKey, int32_t id) : VORObjectAction(classKey, id) {}
  VORBrowserAction(const VORBrowserAction &) = default;
  ~VORBrowserAction() override;

  // The common fields, the operation byte, the text, then an optional
  // resolve-mode byte (0 when the record ends before it).
  void Read(VORFile &file) override;
  VORObjectAction *Clone() const override { return new VORBrowserAction(*this); }

  uint8_t operation = 0;
  // An address, or the name of the variable that holds one.
  VORString text;
  uint8_t resolveMode = 0;
};
