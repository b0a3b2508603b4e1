#pragma once

#include <cstdint>

#include "media/VORSoundObject.h"
#include "objects/VORPlayerForm.h"

// Plays a sound stored in the publication: its first child, a resource
// object, holds the resource. It keeps the number of its last play, so that
// stopping it leaves a later play of another object alone.
class VORWaveObject : public VORSoundObject {
public:
  static constexpr uint16_t kCategory = 2;
  static constexpr uint16_t kCode = 0;

  class VORWaveProperties : public VORSoundProperties {
  public:
    VORObjectProperties *Clone() const override { return new VORWaveProperties(*this); }
  };

  VORWaveObject(uint32_t classKey, int32_t id) : VORSoundObject(classKey, id) {}
  // The copy has played nothing yet.
  VORWaveObject(const VORWaveObject &other) : VORSoundObject(other) {}
  ~VORWaveObject() override;

  // Plays with flag 2 once its resource is there.
  void EnterPage(VORPageInstance &instance, bool visible) override;
  VORWaveProperties &GetWaveProperties() { return static_cast<VORWaveProperties &>(GetSoundProperties()); }
  int32_t GetPlayNumber() const { return m_playNumber; }

protected:
  SoundChannel GetChannel() const override { return SoundChannel::kWave; }
  int32_t StartPlay(VORSoundManager &manager, int32_t start, int32_t end, int32_t repeat) override;
  void FadeOwnSound(VORSoundManager &manager, int32_t fadeMs, int32_t target) override;
  void StopOwnSound(VORSoundManager &manager) override;
  // A play that did not start has nothing to fade out.
  bool HasFadeOutLength(int32_t totalLength) const override { return totalLength != -1 && totalLength != 0; }

private:
  // 0 until the object has played.
  int32_t m_playNumber = 0;
};

using VORPlayerWaveObject = VORPlayerForm<VORWaveObject, VORWaveObject::VORWaveProperties>;
