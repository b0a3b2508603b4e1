#include "media/VORSoundObject.h"

#include <algorithm>
#include <cstdint>
#include <memory>

#include "media/VORSoundManager.h"
#include "media/VORSoundObjectAction.h"
#include "model/VORApp.h"
#include "vorfile/VORRecordFields.h"

namespace {

constexpr int32_t kPause = 202;
constexpr int32_t kResume = 203;

VORSoundManager *Manager() {
  VORApp *app = VORApp::Get();
  return app ? app->GetSoundManager() : nullptr;
}

} // namespace

int32_t SoundBeganCode(SoundChannel channel) {
  static constexpr int32_t kCodes[] = {VORSoundManager::kWaveBegan, VORSoundManager::kMidiBegan,
                                       VORSoundManager::kCDBegan};
  return kCodes[static_cast<int>(channel)];
}

int32_t SoundEndedCode(SoundChannel channel) {
  static constexpr int32_t kCodes[] = {VORSoundManager::kWaveEnded, VORSoundManager::kMidiEnded,
                                       VORSoundManager::kCDEnded};
  return kCodes[static_cast<int>(channel)];
}

// Properties.

VORSoundObject::VORSoundProperties::VORSoundProperties(const VORSoundProperties &other)
    : VORObjectObjectProperties(other) {
  CopyOwnFields(other);
}

VORSoundObject::VORSoundProperties &VORSoundObject::VORSoundProperties::operator=(const VORSoundProperties &other) {
  if (&other == this)
    return *this;
  CopyOwnFields(other);
  VORObjectObjectProperties::operator=(other);
  return *this;
}

VORSoundObject::VORSoundProperties::~VORSoundProperties() = default;

void VORSoundObject::VORSoundProperties::CopyOwnFields(const VORSoundProperties &other) {
  flags = static_cast<uint8_t>((flags & ~kCopiedFlags) | (other.flags & kCopiedFlags));
  repeatCount = other.repeatCount;
  start = other.start;
  end = other.end;
  volume = other.volume;
  fadeInTime = other.fadeInTime;
  fadeOutTime = other.fadeOutTime;
}

void VORSoundObject::VORSoundProperties::Read(VORFile &file) {
  VORObjectObjectProperties::Read(file);
  flags = VORRecordFields::Read<uint8_t>(file);
  repeatCount = VORRecordFields::Read<int16_t>(file);
  start = VORRecordFields::ReadOr<int32_t>(file, 0);
  end = VORRecordFields::ReadOr<int32_t>(file, kToTheEnd);
  volume = VORRecordFields::ReadOr<int16_t>(file, 100);
  fadeInTime = VORRecordFields::ReadOr<int32_t>(file, 0);
  fadeOutTime = VORRecordFields::ReadOr<int32_t>(file, 0);
}

void VORSoundObject::VORSoundProperties::Assign(const VORObjectProperties &other) {
  if (const auto *source = dynamic_cast<const VORSoundProperties *>(&other))
    *this = *source;
}

// The object.

VORSoundObject::~VORSoundObject() = default;

VORSoundObject::VORSoundProperties &VORSoundObject::GetSoundProperties() {
  return static_cast<VORSoundProperties &>(*GetProperties());
}

bool VORSoundObject::PlaysOnEntry(bool visible) {
  return (GetSoundProperties().flags & VORSoundProperties::kPlaysOnEntry) && visible && IsInInteractiveView();
}

void VORSoundObject::Show(int32_t depth) {
  if (GetSoundProperties().flags & VORSoundProperties::kPlaysOnEntry)
    AutoPlay();
  VORObject::Show(depth);
}

void VORSoundObject::LeavePage(bool visible) {
  if (GetSoundProperties().flags & VORSoundProperties::kStopsOnLeave)
    StopOwnSoundNow();
  VORObject::LeavePage(visible);
}

void VORSoundObject::AutoPlay() {
  VORApp *app = VORApp::Get();
  if (!app)
    return;
  const VORSoundProperties &properties = GetSoundProperties();
  struct FirstStop {
    uint8_t flag;
    int32_t code;
  };
  static constexpr FirstStop kFirstStops[] = {{VORSoundProperties::kStopsWaveFirst, VORSoundManager::kStopWave},
                                              {VORSoundProperties::kStopsMidiFirst, VORSoundManager::kStopMidi},
                                              {VORSoundProperties::kStopsCDAudioFirst, VORSoundManager::kStopCDAudio}};
  for (const FirstStop &stop : kFirstStops) {
    if (!(properties.flags & stop.flag))
      continue;
    VORObjectAction action(VORObjectAction::kClassKey, 0);
    action.SetActionCode(stop.code);
    action.SetTarget(VORSoundManager::kReference);
    app->ExecuteAction(action);
  }
  VORSoundObjectAction play;
  play.SetActionCode(VORSoundObjectAction::kPlay);
  play.SetTarget(GetObjectCode());
  play.SetOriginObject(GetViewReference());
  play.SetOriginPage(GetPageReference());
  play.start = properties.start;
  play.end = properties.end;
  play.repeatCount = properties.repeatCount;
  app->ExecuteAction(play);
}

bool VORSoundObject::ReceiveAction(VORObjectAction &action, ActionContext &context) {
  const int32_t code = action.GetActionCode();
  const SoundChannel channel = GetChannel();
  if (code == SoundBeganCode(channel)) {
    PostSyncStart();
    return true;
  }
  if (code == SoundEndedCode(channel)) {
    PostSyncEnd();
    return true;
  }
  if ((code == kPause || code == kResume) && AcceptsPauseActions())
    return true;
  if (auto *sound = dynamic_cast<VORSoundObjectAction *>(&action)) {
    switch (code) {
    case VORSoundObjectAction::kPlay:
      Play(*sound);
      return true;
    case VORSoundObjectAction::kStop:
      Stop(*sound);
      return true;
    case VORSoundObjectAction::kVolume:
      ChangeVolume(*sound);
      return true;
    default:
      break;
    }
  }
  return VORObject::ReceiveAction(action, context);
}

void VORSoundObject::Play(const VORSoundObjectAction &action) {
  VORSoundManager *manager = Manager();
  if (!manager)
    return;
  const VORSoundProperties &properties = GetSoundProperties();
  const int32_t volume = properties.volume;
  const int32_t fadeIn = properties.fadeInTime;
  const int32_t fadeOut = properties.fadeOutTime;
  manager->SetVolume(GetChannel(), fadeIn != 0 ? 0 : volume);
  const int32_t total = StartPlay(*manager, action.start, action.end, action.repeatCount);
  if (fadeIn != 0)
    FadeOwnSound(*manager, fadeIn, volume);
  // A fade-out longer than the sound begins at once; a damaged record's
  // negative one no later than the latest delay there is.
  if (fadeOut != 0 && HasFadeOutLength(total))
    ScheduleOwnStop(static_cast<int32_t>(std::clamp<int64_t>(int64_t{total} - fadeOut, 0, INT32_MAX)), fadeOut);
}

void VORSoundObject::Stop(const VORSoundObjectAction &action) {
  VORSoundManager *manager = Manager();
  if (!manager)
    return;
  if (action.fadeTime == 0) {
    StopOwnSound(*manager);
    return;
  }
  FadeOwnSound(*manager, action.fadeTime, 0);
  if (VORApp *app = VORApp::Get()) {
    auto *stop = static_cast<VORSoundObjectAction *>(action.Clone());
    stop->fadeTime = 0;
    app->ScheduleAction(static_cast<uint32_t>(std::max<int32_t>(action.fadeTime, 0)), stop, nullptr);
  }
}

void VORSoundObject::ChangeVolume(const VORSoundObjectAction &action) {
  VORSoundManager *manager = Manager();
  if (!manager)
    return;
  int32_t target = action.volume;
  if (action.relative)
    target += manager->GetVolume(GetChannel());
  FadeOwnSound(*manager, action.fadeTime, target);
}

// A stop action addressed to the object itself, run afterMs from now.
void VORSoundObject::ScheduleOwnStop(int32_t afterMs, int32_t fadeMs) {
  VORApp *app = VORApp::Get();
  if (!app)
    return;
  auto stop = std::make_unique<VORSoundObjectAction>();
  stop->SetActionCode(VORSoundObjectAction::kStop);
  stop->SetTarget(GetObjectCode());
  stop->SetOriginObject(GetViewReference());
  stop->SetOriginPage(GetPageReference());
  stop->fadeTime = fadeMs;
  app->ScheduleAction(static_cast<uint32_t>(afterMs), stop.release(), nullptr);
}

void VORSoundObject::StopOwnSoundNow() {
  if (VORSoundManager *manager = Manager())
    StopOwnSound(*manager);
}
