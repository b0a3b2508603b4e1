#pragma once

#include <cstdint>

#include "media/SoundSeams.h"
#include "objects/VORObject.h"

class VORSoundManager;
class VORSoundObjectAction;

// A page object that makes sound on one of the sound manager's channels: it
// plays on page entry or on show when its properties ask for it, answers
// the play, stop and volume actions addressed to it, and turns the
// manager's play-began and play-ended announcements for it into the
// synchronisation broadcasts that other objects' triggers wait for.
class VORSoundObject : public VORObject {
public:
  class VORSoundProperties : public VORObject::VORObjectObjectProperties {
  public:
    enum Flag : uint8_t {
      kPlaysOnEntry = 0x02,
      kStopsWaveFirst = 0x04,
      kStopsMidiFirst = 0x08,
      kStopsCDAudioFirst = 0x10,
      kStopsOnLeave = 0x20,
    };
    // Bit 0 is carried along too though nothing reads it.
    static constexpr uint8_t kCopiedFlags = 0x3F;
    static constexpr int16_t kEndless = -1;
    static constexpr int32_t kToTheEnd = -1;

    VORSoundProperties() = default;
    VORSoundProperties(const VORSoundProperties &other);
    VORSoundProperties &operator=(const VORSoundProperties &other);
    ~VORSoundProperties() override;

    // The events, the flag byte and the repeat count (both required), then
    // start, end, volume, fade-in and fade-out, each defaulted when the
    // record ends before it.
    void Read(VORFile &file) override;
    VORObjectProperties *Clone() const override { return new VORSoundProperties(*this); }
    void Assign(const VORObjectProperties &other) override;

    uint8_t flags = 0;
    int16_t repeatCount = 0;
    // Milliseconds for wave and MIDI, track numbers for CD audio.
    int32_t start = 0;
    int32_t end = kToTheEnd;
    int16_t volume = 100;
    int32_t fadeInTime = 0;
    // How long before the end a fading stop begins.
    int32_t fadeOutTime = 0;

  private:
    void CopyOwnFields(const VORSoundProperties &other);
  };

  VORSoundObject(uint32_t classKey, int32_t id) : VORObject(classKey, id) {}
  VORSoundObject(const VORSoundObject &other) : VORObject(other) {}
  ~VORSoundObject() override;

  bool ReceiveAction(VORObjectAction &action, ActionContext &context) override;
  // Plays when flag 2 is set, before the children show.
  void Show(int32_t depth) override;
  // With flag 0x20 the object's own sound stops first.
  void LeavePage(bool visible) override;

  VORSoundProperties &GetSoundProperties();
  // Stops the channels the flags name at the sound manager, then plays the
  // properties' span through a play action addressed to the object.
  void AutoPlay();

protected:
  // The channel the object plays on.
  virtual SoundChannel GetChannel() const = 0;
  // Starts the play; the total length in ms, -1 endless, 0 none.
  virtual int32_t StartPlay(VORSoundManager &manager, int32_t start, int32_t end, int32_t repeat) = 0;
  // Fades the channel while it plays this object's sound.
  virtual void FadeOwnSound(VORSoundManager &manager, int32_t fadeMs, int32_t target) = 0;
  virtual void StopOwnSound(VORSoundManager &manager) = 0;
  // Whether a play of that total length can end with a fading stop.
  virtual bool HasFadeOutLength(int32_t totalLength) const { return totalLength != -1; }
  // Whether the object answers actions 202 and 203 (by doing nothing).
  virtual bool AcceptsPauseActions() const { return true; }
  // Flag 2 on a real entry into an interactive view.
  bool PlaysOnEntry(bool visible);

private:
  void Play(const VORSoundObjectAction &action);
  void Stop(const VORSoundObjectAction &action);
  void ChangeVolume(const VORSoundObjectAction &action);
  void ScheduleOwnStop(int32_t afterMs, int32_t fadeMs);
  void StopOwnSoundNow();
};

// The play-began and play-ended announcements of each channel.
int32_t SoundBeganCode(SoundChannel channel);
int32_t SoundEndedCode(SoundChannel channel);
