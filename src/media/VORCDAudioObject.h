#pragma once

#include <cstdint>

#include "media/VORSoundObject.h"
#include "objects/VORPlayerForm.h"

// Plays tracks of an audio CD: its start and end are track numbers.
class VORCDAudioObject : public VORSoundObject {
public:
  static constexpr uint16_t kCategory = 2;
  static constexpr uint16_t kCode = 2;

  class VORCDAudioProperties : public VORSoundProperties {
  public:
    VORObjectProperties *Clone() const override { return new VORCDAudioProperties(*this); }
  };

  VORCDAudioObject(uint32_t classKey, int32_t id) : VORSoundObject(classKey, id) {}
  VORCDAudioObject(const VORCDAudioObject &other) = default;
  ~VORCDAudioObject() override;

  void EnterPage(VORPageInstance &instance, bool visible) override;
  VORCDAudioProperties &GetCDAudioProperties() { return static_cast<VORCDAudioProperties &>(GetSoundProperties()); }

protected:
  SoundChannel GetChannel() const override { return SoundChannel::kCDAudio; }
  int32_t StartPlay(VORSoundManager &manager, int32_t start, int32_t end, int32_t repeat) override;
  void FadeOwnSound(VORSoundManager &manager, int32_t fadeMs, int32_t target) override;
  void StopOwnSound(VORSoundManager &manager) override;
  bool AcceptsPauseActions() const override { return false; }
};

using VORPlayerCDAudioObject = VORPlayerForm<VORCDAudioObject, VORCDAudioObject::VORCDAudioProperties>;
