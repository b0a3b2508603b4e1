#pragma once

#include <cstdint>

#include "model/VORObjectAction.h"

// An action for a video object: 200 play (from, to in ms; -1 the current
// position, the end), 201 stop, 204 seek (position in ms, mode 0 absolute,
// 1 from the current position, 2 from the end).
class VORVideoObjectAction : public VORObjectAction {
public:
  // cppcheck-suppress duplInheritedMember
  static constexpr uint16_t kCode = 5;
  // cppcheck-suppress duplInheritedMember
  static constexpr uint32_t kClassKey = VORObjectCode::MakeClassKey(kCategory, kCode);

  explicit VORVideoObjectAction(int32_t id = 0) : VORObjectAction(kClassKey, id) {}
  VORVideoObjectAction(const VORVideoObjectAction &) = default;
  ~VORVideoObjectAction() override;

  // The common fields, then the two words (-1 when the record ends first).
  void Read(VORFile &file) override;
  VORObjectAction *Clone() const override { return new VORVideoObjectAction(*this); }

  int32_t first = -1;
  int32_t second = -1;
};
