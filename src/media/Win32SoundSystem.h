#pragma once

#include <windows.h>

#include <memory>

#include "engine/VORPlayer.h"
#include "media/SoundSeams.h"

class VORSoundManager;

// The machine's sound devices: wave out, the MCI sequencer and cdaudio,
// and the mixer, each with its hidden window where notices arrive.
namespace Win32SoundSystem {

std::unique_ptr<WaveOutDevice> MakeWaveOutDevice(HINSTANCE instance);
// deviceType "sequencer" (its window class "VORMIDI", needs a MIDI-out
// device) or "cdaudio" ("CD_PLAYER").
std::unique_ptr<MciDevice> MakeMciDevice(HINSTANCE instance, const char *deviceType);
std::unique_ptr<MixerVolume> MakeMixerVolume();
// The sound manager on the machine's devices, as the player's start-up
// makes it.
VORPlayer::SoundManagerParts MakeSoundManager(HINSTANCE instance, VORClock &clock);

} // namespace Win32SoundSystem
