#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "foundation/XQString.h"
#include "media/SoundSeams.h"
#include "model/VORActionReceiver.h"

class CDPlayer;
class MidiPlayer;
class VORClock;
class VORSoundObjectAction;
class VORWavePlayer;
class VORWaveSource;

// The one owner of sound output: a wave, a MIDI and a CD-audio channel. It
// keeps which object plays on each channel and tells it when its play
// begins and ends (actions 1106 to 1111, delivered at once), fades the
// channels' mixer volumes in steps of 100 ms through actions it schedules
// to itself, and answers the sound actions addressed to (0, 0, 2). The
// mixer levels found at its construction are given back when it goes.
class VORSoundManager : public VORActionReceiver, private PlayAnnouncer {
public:
  static constexpr VORObjectCode kReference = VORObjectCode(0, 0, 2);
  enum ActionCode : int32_t {
    kStop = 201,
    kVolume = 300,
    kStopWave = 1100,
    kStopMidi = 1101,
    kStopCDAudio = 1102,
    kWaveFadeStep = 1103,
    kMidiFadeStep = 1104,
    kCDFadeStep = 1105,
    kWaveBegan = 1106,
    kWaveEnded = 1107,
    kMidiBegan = 1108,
    kMidiEnded = 1109,
    kCDBegan = 1110,
    kCDEnded = 1111,
  };
  static constexpr uint32_t kFadeStepMs = 100;
  static constexpr int32_t kFullVolume = 100;
  // Positions of GetWavePosition besides milliseconds.
  static constexpr int32_t kNoPosition = -1;
  static constexpr int32_t kPlayEnded = -2;

  // The machine's devices; the CD device is made on the first CD play.
  struct Devices {
    std::unique_ptr<WaveOutDevice> waveOut;
    std::unique_ptr<MciDevice> sequencer;
    std::function<std::unique_ptr<MciDevice>()> makeCDAudio;
    std::unique_ptr<MixerVolume> mixer;
  };

  VORSoundManager(Devices devices, VORClock &clock);
  ~VORSoundManager() override;

  bool ReceiveAction(VORObjectAction &action, ActionContext &context) override;

  // Plays the source (taken over whether or not it plays) for the object
  // (may be null); the total length in ms, -1 endless, 0 when it does not
  // play. playNumber receives the number of this play.
  int32_t PlayWave(std::unique_ptr<VORWaveSource> source, int32_t &playNumber, const VORActionReceiver *object,
                   int32_t repeat, int32_t startMs, int32_t endMs);
  // A video's sound track: the source stays the caller's.
  int32_t PlayWaveSource(VORWaveSource *source, const VORActionReceiver *object, int32_t repeat, int32_t startMs,
                         int32_t endMs);
  // Null stops whatever plays.
  void StopWave(const VORWaveSource *source);
  void StopCurrentWave(int32_t playNumber);
  void ReleaseWaveSource(const VORWaveSource *source);
  int32_t GetWavePosition(const VORWaveSource *source);

  // The MIDI file at path, for the object.
  int32_t PlayMidi(const VORActionReceiver *object, const XQString &path, int32_t repeat, int32_t startMs,
                   int32_t endMs);
  // Null stops whatever plays; else only the object's play.
  void StopMidi(const VORActionReceiver *object);
  int32_t PlayCDAudio(const VORActionReceiver *object, int32_t repeat, int32_t startTrack, int32_t endTrack);
  void StopCDAudio(const VORActionReceiver *object);
  void StopAll();
  bool HasWavePlayer() const { return m_wavePlayer != nullptr; }

  // Fades the channel from its current percentage to target (0..100) over
  // fadeMs; ignored while another source or object plays there.
  void FadeWaveVolume(int32_t fadeMs, int32_t target, const VORWaveSource *source);
  void FadeWaveVolumeOfPlay(int32_t fadeMs, int32_t target, int32_t playNumber);
  void FadeMidiVolume(int32_t fadeMs, int32_t target, const VORActionReceiver *object);
  void FadeCDVolume(int32_t fadeMs, int32_t target, const VORActionReceiver *object);
  // Sets the channel's percentage and its mixer line.
  void SetVolume(SoundChannel channel, int32_t percent);
  int32_t GetVolume(SoundChannel channel) const { return Channel(channel).volume; }

  // One step of the channel's fade: 1103 to 1105.
  void FadeStep(SoundChannel channel);

  VORWavePlayer *GetWavePlayer() const { return m_wavePlayer.get(); }
  MidiPlayer *GetMidiPlayer() const { return m_midiPlayer.get(); }
  CDPlayer *GetCDPlayer() const { return m_cdPlayer.get(); }
  VORWaveSource *GetCurrentWaveSource() const { return m_waveSource; }
  int32_t GetPlayNumber() const { return m_playNumber; }
  // The object that plays on the channel; (0, 0, 0) when none.
  VORObjectCode GetPlayingObject(SoundChannel channel) const { return Channel(channel).object; }
  bool IsFading(SoundChannel channel) const { return Channel(channel).fadeStepPending; }

private:
  struct Fade {
    uint32_t start = 0;
    uint32_t time = 0;
    int32_t from = 0;
    int32_t to = 0;
  };
  struct ChannelState {
    VORObjectCode object = VORObjectCode::Zero();
    VORObjectCode view = VORObjectCode::Zero();
    VORObjectCode page = VORObjectCode::Zero();
    int32_t volume = kFullVolume;
    Fade fade;
    bool fadeStepPending = false;
    uint32_t savedLeft = kFullVolume;
    uint32_t savedRight = kFullVolume;
  };

  void AnnouncePlayBegan(SoundChannel channel) override;
  void AnnouncePlayEnded(SoundChannel channel) override;
  void Announce(SoundChannel channel, int32_t code);
  int32_t StartWave(const VORActionReceiver *object, int32_t repeat, int32_t startMs, int32_t endMs);
  void ForgetWaveSource();
  static void Record(ChannelState &state, const VORActionReceiver *object);
  static bool Plays(const ChannelState &state, const VORActionReceiver *object);
  void StartFade(SoundChannel channel, int32_t fadeMs, int32_t target);
  void StopChannels(const VORSoundObjectAction &action);
  void ChangeVolumes(const VORSoundObjectAction &action);
  ChannelState &Channel(SoundChannel channel) { return m_channels[static_cast<int>(channel)]; }
  const ChannelState &Channel(SoundChannel channel) const { return m_channels[static_cast<int>(channel)]; }

  VORClock &m_clock;
  std::unique_ptr<MixerVolume> m_mixer;
  std::function<std::unique_ptr<MciDevice>()> m_makeCDAudio;
  std::unique_ptr<VORWavePlayer> m_wavePlayer;
  std::unique_ptr<MidiPlayer> m_midiPlayer;
  std::unique_ptr<CDPlayer> m_cdPlayer;
  VORWaveSource *m_waveSource = nullptr;
  bool m_waveSourceOwned = false;
  int32_t m_playNumber = 0;
  ChannelState m_channels[3];
};
