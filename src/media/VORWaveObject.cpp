#include "media/VORWaveObject.h"

#include <memory>

#include "media/VORResourceWaveSource.h"
#include "media/VORSoundManager.h"
#include "model/VORApp.h"
#include "model/VORClassRegistry.h"
#include "objects/VORResourceObject.h"

namespace {
const ClassRegistration kRegistration(VORWaveObject::kCategory, VORWaveObject::kCode, VORPlayerWaveObject::Create);
} // namespace

VORWaveObject::~VORWaveObject() = default;

void VORWaveObject::EnterPage(VORPageInstance &instance, bool visible) {
  VORSoundObject::EnterPage(instance, visible); // the resource child takes its resource here
  const VORResourceObject *resource = GetResourceObject(0);
  if (resource != nullptr && resource->GetResourceHandle() != 0 && PlaysOnEntry(visible))
    AutoPlay();
}

int32_t VORWaveObject::StartPlay(VORSoundManager &manager, int32_t start, int32_t end, int32_t repeat) {
  VORApp *app = VORApp::Get();
  const VORResourceObject *resource = GetResourceObject(0);
  VORResourceManager *resources = app ? app->GetResourceManager() : nullptr;
  if (resource == nullptr || resources == nullptr || resource->GetResourceHandle() == 0)
    return 0;
  auto source = std::make_unique<VORResourceWaveSource>(*resources, resource->GetResourceHandle());
  return manager.PlayWave(std::move(source), m_playNumber, this, repeat, start, end);
}

void VORWaveObject::FadeOwnSound(VORSoundManager &manager, int32_t fadeMs, int32_t target) {
  if (m_playNumber != 0)
    manager.FadeWaveVolumeOfPlay(fadeMs, target, m_playNumber);
}

// An object that never played owns no play: a play number of 0 would
// otherwise name a sound track played without a number.
void VORWaveObject::StopOwnSound(VORSoundManager &manager) {
  if (m_playNumber != 0)
    manager.StopCurrentWave(m_playNumber);
}
