#include "media/VORMidiObject.h"

#include "media/VORSoundManager.h"
#include "model/VORClassRegistry.h"
#include "objects/VORExternalResourceObject.h"

namespace {
const ClassRegistration kRegistration(VORMidiObject::kCategory, VORMidiObject::kCode, VORPlayerMidiObject::Create);
} // namespace

VORMidiObject::~VORMidiObject() = default;

void VORMidiObject::EnterPage(VORPageInstance &instance, bool visible) {
  VORSoundObject::EnterPage(instance, visible);
  if (PlaysOnEntry(visible))
    AutoPlay();
}

// Without an external resource object first there is no file: the manager
// plays nothing for an empty path.
int32_t VORMidiObject::StartPlay(VORSoundManager &manager, int32_t start, int32_t end, int32_t repeat) {
  const auto *file = dynamic_cast<const VORExternalResourceObject *>(GetResourceObject(0));
  const XQString path = file ? file->GetFilePath() : XQString();
  return manager.PlayMidi(this, path, repeat, start, end);
}

void VORMidiObject::FadeOwnSound(VORSoundManager &manager, int32_t fadeMs, int32_t target) {
  manager.FadeMidiVolume(fadeMs, target, this);
}

void VORMidiObject::StopOwnSound(VORSoundManager &manager) { manager.StopMidi(this); }
