#include "media/VORSoundManager.h"

#include <algorithm>
#include <limits>

#include "engine/VORClock.h"
#include "foundation/VORException.h"
#include "media/CDPlayer.h"
#include "media/MidiPlayer.h"
#include "media/VORSoundObjectAction.h"
#include "media/VORWavePlayer.h"
#include "media/VORWaveSource.h"
#include "model/VORApp.h"

namespace {

constexpr int64_t kMsPerSecond = 1000;

constexpr uint32_t kMixerLines[] = {MixerVolume::kWaveOut, MixerVolume::kSynthesizer, MixerVolume::kCompactDisc};
constexpr SoundChannel kChannels[] = {SoundChannel::kWave, SoundChannel::kMidi, SoundChannel::kCDAudio};
constexpr uint8_t kChannelFlags[] = {VORSoundObjectAction::kWaveChannel, VORSoundObjectAction::kMidiChannel,
                                     VORSoundObjectAction::kCDChannel};
constexpr int32_t kFadeStepCodes[] = {VORSoundManager::kWaveFadeStep, VORSoundManager::kMidiFadeStep,
                                      VORSoundManager::kCDFadeStep};
constexpr int32_t kBeganCodes[] = {VORSoundManager::kWaveBegan, VORSoundManager::kMidiBegan, VORSoundManager::kCDBegan};
constexpr int32_t kEndedCodes[] = {VORSoundManager::kWaveEnded, VORSoundManager::kMidiEnded, VORSoundManager::kCDEnded};

int32_t ClampPercent(int64_t percent) {
  return static_cast<int32_t>(std::clamp<int64_t>(percent, 0, VORSoundManager::kFullVolume));
}

int32_t Saturate(int64_t value) {
  return static_cast<int32_t>(std::min<int64_t>(value, std::numeric_limits<int32_t>::max()));
}

// An action of the manager's own, addressed to the target in that view and
// page.
VORObjectAction *MakeAction(int32_t code, const VORObjectCode &target, const VORObjectCode &view,
                            const VORObjectCode &page) {
  auto *action = new VORObjectAction(VORObjectAction::kClassKey, 0);
  action->SetActionCode(code);
  action->SetTarget(target);
  action->SetOriginObject(view);
  action->SetOriginPage(page);
  return action;
}

} // namespace

VORSoundManager::VORSoundManager(Devices devices, VORClock &clock)
    : VORActionReceiver(kReference.GetClassKey(), kReference.id), m_clock(clock), m_mixer(std::move(devices.mixer)),
      m_makeCDAudio(std::move(devices.makeCDAudio)) {
  PlayAnnouncer &announcer = *this;
  if (devices.waveOut)
    m_wavePlayer = std::make_unique<VORWavePlayer>(std::move(devices.waveOut), announcer);
  if (devices.sequencer)
    m_midiPlayer = std::make_unique<MidiPlayer>(std::move(devices.sequencer), announcer);
  if (m_mixer)
    for (int index = 0; index < 3; ++index)
      m_mixer->Get(kMixerLines[index], m_channels[index].savedLeft, m_channels[index].savedRight);
  Register();
}

// The players go first, with the announcements they make; then the mixer
// gets its levels back.
VORSoundManager::~VORSoundManager() {
  Unregister();
  try {
    if (m_wavePlayer)
      m_wavePlayer->Close();
  } catch (VORException *failure) {
    delete failure;
  } catch (...) {
  }
  m_wavePlayer.reset();
  m_midiPlayer.reset();
  m_cdPlayer.reset();
  ForgetWaveSource();
  if (m_mixer)
    for (int index = 0; index < 3; ++index)
      m_mixer->Set(kMixerLines[index], m_channels[index].savedLeft, m_channels[index].savedRight);
}

bool VORSoundManager::ReceiveAction(VORObjectAction &action, ActionContext & /*context*/) {
  auto *soundAction = dynamic_cast<VORSoundObjectAction *>(&action);
  switch (action.GetActionCode()) {
  case kStop:
    if (soundAction)
      StopChannels(*soundAction);
    else
      StopAll();
    return true;
  case kVolume:
    if (soundAction)
      ChangeVolumes(*soundAction);
    return true;
  case kStopWave:
    StopWave(nullptr);
    return true;
  case kStopMidi:
    StopMidi(nullptr);
    return true;
  case kStopCDAudio:
    StopCDAudio(nullptr);
    return true;
  case kWaveFadeStep:
  case kMidiFadeStep:
  case kCDFadeStep:
    FadeStep(kChannels[action.GetActionCode() - kWaveFadeStep]);
    return true;
  default:
    return false;
  }
}

// Wave channel.

int32_t VORSoundManager::PlayWave(std::unique_ptr<VORWaveSource> source, int32_t &playNumber,
                                  const VORActionReceiver *object, int32_t repeat, int32_t startMs, int32_t endMs) {
  StopWave(nullptr);
  m_waveSource = source.release();
  m_waveSourceOwned = true;
  playNumber = ++m_playNumber;
  return StartWave(object, repeat, startMs, endMs);
}

int32_t VORSoundManager::PlayWaveSource(VORWaveSource *source, const VORActionReceiver *object, int32_t repeat,
                                        int32_t startMs, int32_t endMs) {
  StopWave(nullptr);
  m_waveSource = source;
  m_waveSourceOwned = false;
  ++m_playNumber;
  return StartWave(object, repeat, startMs, endMs);
}

int32_t VORSoundManager::StartWave(const VORActionReceiver *object, int32_t repeat, int32_t startMs, int32_t endMs) {
  Record(Channel(SoundChannel::kWave), object);
  if (!m_wavePlayer || !m_waveSource || !m_wavePlayer->Play(m_waveSource, repeat, startMs, endMs))
    return 0;
  m_wavePlayer->Start();
  if (repeat == VORWavePlayer::kEndless)
    return -1;
  const WaveFormat &format = m_waveSource->GetFormat();
  const int64_t once = static_cast<int64_t>(m_waveSource->GetDataSize()) * kMsPerSecond /
                       std::max<uint32_t>(format.GetAverageBytesPerSecond(), 1);
  return Saturate(once * (static_cast<int64_t>(std::max(repeat, 0)) + 1));
}

// The player lets go of the source before it goes: it may still hold
// loans of its data, and would close it again at its next play.
void VORSoundManager::StopWave(const VORWaveSource *source) {
  if (!m_waveSource || (source && source != m_waveSource))
    return;
  if (m_wavePlayer) {
    m_wavePlayer->Stop();
    m_wavePlayer->Close();
  }
  ForgetWaveSource();
}

void VORSoundManager::StopCurrentWave(int32_t playNumber) {
  if (playNumber == m_playNumber && m_waveSource)
    StopWave(m_waveSource);
}

void VORSoundManager::ReleaseWaveSource(const VORWaveSource *source) {
  if (source && source == m_waveSource)
    StopWave(source);
}

void VORSoundManager::ForgetWaveSource() {
  if (m_waveSourceOwned)
    delete m_waveSource;
  m_waveSource = nullptr;
  m_waveSourceOwned = false;
}

int32_t VORSoundManager::GetWavePosition(const VORWaveSource *source) {
  if (!m_waveSource || (source && source != m_waveSource) || !m_wavePlayer)
    return kNoPosition;
  if (m_wavePlayer->IsPlaying())
    return Saturate(m_wavePlayer->GetPosition());
  return m_wavePlayer->HasEnded() ? kPlayEnded : kNoPosition;
}

// MIDI and CD channels.

int32_t VORSoundManager::PlayMidi(const VORActionReceiver *object, const XQString &path, int32_t repeat,
                                  int32_t startMs, int32_t endMs) {
  if (m_midiPlayer)
    m_midiPlayer->Close();
  Record(Channel(SoundChannel::kMidi), object);
  if (!m_midiPlayer || path.IsEmpty() || !m_midiPlayer->Open(path) || !m_midiPlayer->Play(repeat, startMs, endMs))
    return 0;
  return m_midiPlayer->GetTotalLength();
}

void VORSoundManager::StopMidi(const VORActionReceiver *object) {
  if (!m_midiPlayer || (object && !Plays(Channel(SoundChannel::kMidi), object)))
    return;
  m_midiPlayer->Close();
}

int32_t VORSoundManager::PlayCDAudio(const VORActionReceiver *object, int32_t repeat, int32_t startTrack,
                                     int32_t endTrack) {
  if (!m_cdPlayer && m_makeCDAudio)
    if (std::unique_ptr<MciDevice> device = m_makeCDAudio())
      m_cdPlayer = std::make_unique<CDPlayer>(std::move(device), static_cast<PlayAnnouncer &>(*this));
  if (!m_cdPlayer)
    return 0;
  m_cdPlayer->Stop();
  Record(Channel(SoundChannel::kCDAudio), object);
  m_cdPlayer->Play(repeat, startTrack, endTrack);
  return m_cdPlayer->GetTotalLength();
}

void VORSoundManager::StopCDAudio(const VORActionReceiver *object) {
  if (!m_cdPlayer || (object && !Plays(Channel(SoundChannel::kCDAudio), object)))
    return;
  m_cdPlayer->Stop();
  Channel(SoundChannel::kCDAudio).object = VORObjectCode::Zero();
}

void VORSoundManager::StopAll() {
  StopWave(nullptr);
  StopMidi(nullptr);
  StopCDAudio(nullptr);
}

void VORSoundManager::Record(ChannelState &state, const VORActionReceiver *object) {
  state.object = object ? object->GetObjectCode() : VORObjectCode::Zero();
  state.view = object ? object->GetViewReference() : VORObjectCode::Zero();
  state.page = object ? object->GetPageReference() : VORObjectCode::Zero();
}

// The same object shown in the same place: its reference, view and page.
bool VORSoundManager::Plays(const ChannelState &state, const VORActionReceiver *object) {
  return state.object == object->GetObjectCode() && state.view == object->GetViewReference() &&
         state.page == object->GetPageReference();
}

// Announcements.

void VORSoundManager::AnnouncePlayBegan(SoundChannel channel) {
  Announce(channel, kBeganCodes[static_cast<int>(channel)]);
}

void VORSoundManager::AnnouncePlayEnded(SoundChannel channel) {
  Announce(channel, kEndedCodes[static_cast<int>(channel)]);
}

void VORSoundManager::Announce(SoundChannel channel, int32_t code) {
  const ChannelState &state = Channel(channel);
  VORApp *app = VORApp::Get();
  if (!app || state.object.IsZero())
    return;
  std::unique_ptr<VORObjectAction> action(MakeAction(code, state.object, state.view, state.page));
  app->ExecuteAction(*action);
}

// Volumes and fades.

void VORSoundManager::SetVolume(SoundChannel channel, int32_t percent) {
  ChannelState &state = Channel(channel);
  state.volume = ClampPercent(percent);
  if (!m_mixer)
    return;
  const auto level = static_cast<uint32_t>(state.volume);
  m_mixer->Set(kMixerLines[static_cast<int>(channel)], level * state.savedLeft / kFullVolume,
               level * state.savedRight / kFullVolume);
}

void VORSoundManager::FadeWaveVolume(int32_t fadeMs, int32_t target, const VORWaveSource *source) {
  if (source && source != m_waveSource)
    return;
  StartFade(SoundChannel::kWave, fadeMs, target);
}

void VORSoundManager::FadeWaveVolumeOfPlay(int32_t fadeMs, int32_t target, int32_t playNumber) {
  if (playNumber == m_playNumber)
    StartFade(SoundChannel::kWave, fadeMs, target);
}

void VORSoundManager::FadeMidiVolume(int32_t fadeMs, int32_t target, const VORActionReceiver *object) {
  if (!object || Plays(Channel(SoundChannel::kMidi), object))
    StartFade(SoundChannel::kMidi, fadeMs, target);
}

void VORSoundManager::FadeCDVolume(int32_t fadeMs, int32_t target, const VORActionReceiver *object) {
  if (!object || Plays(Channel(SoundChannel::kCDAudio), object))
    StartFade(SoundChannel::kCDAudio, fadeMs, target);
}

// A negative fade time counts as none.
void VORSoundManager::StartFade(SoundChannel channel, int32_t fadeMs, int32_t target) {
  ChannelState &state = Channel(channel);
  state.fade.start = m_clock.GetMilliseconds();
  state.fade.time = fadeMs > 0 ? static_cast<uint32_t>(fadeMs) : 0;
  state.fade.from = state.volume;
  state.fade.to = ClampPercent(target);
  if (!state.fadeStepPending || state.fade.time == 0)
    FadeStep(channel);
}

// One chain of steps per channel: a fade started while another runs takes
// over its chain instead of starting a second one.
void VORSoundManager::FadeStep(SoundChannel channel) {
  ChannelState &state = Channel(channel);
  const Fade &fade = state.fade;
  const uint32_t elapsed = m_clock.GetMilliseconds() - fade.start;
  state.fadeStepPending = false;
  if (elapsed >= fade.time) {
    SetVolume(channel, fade.to);
    return;
  }
  SetVolume(channel, fade.from + static_cast<int32_t>(static_cast<int64_t>(fade.to - fade.from) * elapsed /
                                                      static_cast<int64_t>(fade.time)));
  if (VORApp *app = VORApp::Get()) {
    state.fadeStepPending = true;
    app->ScheduleAction(
        kFadeStepMs,
        MakeAction(kFadeStepCodes[static_cast<int>(channel)], kReference, VORObjectCode::Zero(), VORObjectCode::Zero()),
        nullptr);
  }
}

void VORSoundManager::StopChannels(const VORSoundObjectAction &action) {
  if (action.fadeTime <= 0) {
    if (action.channels & VORSoundObjectAction::kWaveChannel)
      StopWave(nullptr);
    if (action.channels & VORSoundObjectAction::kMidiChannel)
      StopMidi(nullptr);
    if (action.channels & VORSoundObjectAction::kCDChannel)
      StopCDAudio(nullptr);
    return;
  }
  for (int index = 0; index < 3; ++index)
    if (action.channels & kChannelFlags[index])
      StartFade(kChannels[index], action.fadeTime, 0);
  if (VORApp *app = VORApp::Get()) {
    auto *stop = static_cast<VORSoundObjectAction *>(action.Clone());
    stop->fadeTime = 0;
    app->ScheduleAction(static_cast<uint32_t>(action.fadeTime), stop, nullptr);
  }
}

void VORSoundManager::ChangeVolumes(const VORSoundObjectAction &action) {
  for (int index = 0; index < 3; ++index) {
    if (!(action.channels & kChannelFlags[index]))
      continue;
    int64_t target = action.volume;
    if (action.relative)
      target += m_channels[index].volume;
    StartFade(kChannels[index], action.fadeTime, ClampPercent(target));
  }
}
