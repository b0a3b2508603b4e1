#pragma once

#include <cstdint>

#include "model/VORObjectAction.h"

// An action for a slideshow that carries one integer (the picture index of
// 209 and 210).
class VORFrameStreamObjectAction : public VORObjectAction {
public:
  // cppcheck-suppress duplInheritedMember
  static constexpr uint16_t kCode = 0x1A;
  // cppcheck-suppress duplInheritedMember
  static constexpr uint32_t kClassKey = VORObjectCode::MakeClassKey(kCategory, kCode);

  VORFrameStreamObjectAction(uint32_t classKey, int32_t id) : VORObjectAction(classKey, id) {}
  VORFrameStreamObjectAction(const VORFrameStreamObjectAction &) = default;
  ~VORFrameStreamObjectAction() override;

  // The common fields, then an optional 32-bit value (0 when missing).
  void Read(VORFile &file) override;
  VORObjectAction *Clone() const override { return new VORFrameStreamObjectAction(*this); }

  int32_t parameter = 0;
};
