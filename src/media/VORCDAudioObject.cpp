#include "media/VORCDAudioObject.h"

#include "media/VORSoundManager.h"
#include "model/VORClassRegistry.h"

namespace {
const ClassRegistration kRegistration(VORCDAudioObject::kCategory, VORCDAudioObject::kCode,
                                      VORPlayerCDAudioObject::Create);
} // namespace

VORCDAudioObject::~VORCDAudioObject() = default;

void VORCDAudioObject::EnterPage(VORPageInstance &instance, bool visible) {
  VORSoundObject::EnterPage(instance, visible);
  if (PlaysOnEntry(visible))
    AutoPlay();
}

int32_t VORCDAudioObject::StartPlay(VORSoundManager &manager, int32_t start, int32_t end, int32_t repeat) {
  return manager.PlayCDAudio(this, repeat, start, end);
}

void VORCDAudioObject::FadeOwnSound(VORSoundManager &manager, int32_t fadeMs, int32_t target) {
  manager.FadeCDVolume(fadeMs, target, this);
}

void VORCDAudioObject::StopOwnSound(VORSoundManager &manager) { manager.StopCDAudio(this); }
