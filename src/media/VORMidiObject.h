#pragma once

#include <cstdint>

#include "media/VORSoundObject.h"
#include "objects/VORPlayerForm.h"

// Plays a MIDI file beside the publication, named by its first child, an
// external resource object.
class VORMidiObject : public VORSoundObject {
public:
  static constexpr uint16_t kCategory = 2;
  static constexpr uint16_t kCode = 1;

  class VORMidiProperties : public VORSoundProperties {
  public:
    VORObjectProperties *Clone() const override { return new VORMidiProperties(*this); }
  };

  VORMidiObject(uint32_t classKey, int32_t id) : VORSoundObject(classKey, id) {}
  VORMidiObject(const VORMidiObject &other) = default;
  ~VORMidiObject() override;

  void EnterPage(VORPageInstance &instance, bool visible) override;
  VORMidiProperties &GetMidiProperties() { return static_cast<VORMidiProperties &>(GetSoundProperties()); }

protected:
  SoundChannel GetChannel() const override { return SoundChannel::kMidi; }
  int32_t StartPlay(VORSoundManager &manager, int32_t start, int32_t end, int32_t repeat) override;
  void FadeOwnSound(VORSoundManager &manager, int32_t fadeMs, int32_t target) override;
  void StopOwnSound(VORSoundManager &manager) override;
};

using VORPlayerMidiObject = VORPlayerForm<VORMidiObject, VORMidiObject::VORMidiProperties>;
