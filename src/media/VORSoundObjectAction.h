#pragma once

#include <cstdint>

#include "model/VORObjectAction.h"

// An action for the sound channels and the sound objects: 200 play (start,
// end, repeat count), 201 stop (fade time, channel flags), 300 volume
// (relative flag, volume, fade time, channel flags). Each code reads its
// own fields; a record that ends early leaves the rest at their defaults.
class VORSoundObjectAction : public VORObjectAction {
public:
  // cppcheck-suppress duplInheritedMember
  static constexpr uint16_t kCode = 4;
  // cppcheck-suppress duplInheritedMember
  static constexpr uint32_t kClassKey = VORObjectCode::MakeClassKey(kCategory, kCode);
  enum ActionCode : int32_t { kPlay = 200, kStop = 201, kVolume = 300 };
  enum ChannelFlag : uint8_t { kWaveChannel = 1, kMidiChannel = 2, kCDChannel = 4, kAllChannels = 7 };

  explicit VORSoundObjectAction(int32_t id = 0) : VORObjectAction(kClassKey, id) {}
  VORSoundObjectAction(const VORSoundObjectAction &) = default;
  ~VORSoundObjectAction() override;

  void Read(VORFile &file) override;
  VORObjectAction *Clone() const override { return new VORSoundObjectAction(*this); }

  int32_t start = 0;
  int32_t end = -1;
  int16_t repeatCount = 0;
  int32_t fadeTime = 0;
  uint8_t channels = kAllChannels;
  uint8_t relative = 0;
  int16_t volume = 100;
};
