#include "media/Win32SoundSystem.h"

#include "media/CDPlayer.h"
#include "media/MidiPlayer.h"
#include "media/VORSoundManager.h"

VORPlayer::SoundManagerParts Win32SoundSystem::MakeSoundManager(HINSTANCE instance, VORClock &clock) {
  VORSoundManager::Devices devices;
  devices.waveOut = MakeWaveOutDevice(instance);
  devices.sequencer = MakeMciDevice(instance, MidiPlayer::kDeviceType);
  devices.makeCDAudio = [instance] { return MakeMciDevice(instance, CDPlayer::kDeviceType); };
  devices.mixer = MakeMixerVolume();
  VORPlayer::SoundManagerParts parts;
  auto manager = std::make_unique<VORSoundManager>(std::move(devices), clock);
  parts.manager = manager.get();
  parts.receiver = std::move(manager);
  return parts;
}
