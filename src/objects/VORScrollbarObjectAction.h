#pragma once

#include <cstdint>

#include "model/VORObjectAction.h"

// What passes between a scrollbar and the object it scrolls: the
// scrollbar's region presses and thumb drags (602, 605, 607) and, back,
// the target's position and visible share (600).
class VORScrollbarObjectAction : public VORObjectAction {
public:
  // cppcheck-suppress duplInheritedMember
  static constexpr uint16_t kCode = 0xD;
  // cppcheck-suppress duplInheritedMember
  static constexpr uint32_t kClassKey = VORObjectCode::MakeClassKey(kCategory, kCode);

  // The scroll kinds the scrollbar sends, and the one a target answers with.
  enum ScrollKind : uint16_t { kNone = 0, kUpRegion = 2, kDownRegion = 0x10, kThumbPosition = 0x100, kReport = 0x300 };
  static constexpr double kNewSize = 0.1;
  // A record that ends before the size.
  static constexpr double kMissingSize = 1.0;

  VORScrollbarObjectAction(uint32_t classKey, int32_t id) : VORObjectAction(classKey, id) {}
  VORScrollbarObjectAction(const VORScrollbarObjectAction &) = default;
  ~VORScrollbarObjectAction() override;

  // The common fields, then the kind, the second word, the position and
  // the size, each optional.
  void Read(VORFile &file) override;
  VORObjectAction *Clone() const override { return new VORScrollbarObjectAction(*this); }

  uint16_t kind = kNone;
  uint16_t second = 0;
  double position = 0.0;
  double size = kNewSize;
};
