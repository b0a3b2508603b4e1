#pragma once

#include <cstdint>

#include "model/VORObjectAction.h"
#include "vorfile/VORString.h"

// An action for the launch manager: start a file or program (1000) or open
// an address in the browser (1001).
class VORLaunchAction : public VORObjectAction {
public:
  // cppcheck-suppress duplInheritedMember
  static constexpr uint16_t kCode = 0x15;
  // cppcheck-suppress duplInheritedMember
  static constexpr uint32_t kClassKey = VORObjectCode::MakeClassKey(kCategory, kCode);

  VORLaunchAction(uint32_t classKey, int32_t id) : VORObjectAction(classKey, id) {}
  VORLaunchAction(const VORLaunchAction &) = default;
  ~VORLaunchAction() override;

  // The common fields, six strings and two bytes.
  void Read(VORFile &file) override;
  VORObjectAction *Clone() const override { return new VORLaunchAction(*this); }

  // The file to start, or the address for 1001.
  VORString fileName;
  VORString second;
  VORString directory;
  VORString parameters;
  VORString fifth;
  // "CDROM", "PUBDIR" or anything else.
  VORString location;
  uint8_t unusedByte = 0;
  // After a launch that worked the player quits.
  uint8_t exitAfter = 0;
};
