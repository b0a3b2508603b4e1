#pragma once

#include <cstdint>

class WaveFormat;

// The three sound channels.
enum class SoundChannel { kWave, kMidi, kCDAudio };

// Told by the players when a play begins and when it ends.
class PlayAnnouncer {
public:
  virtual ~PlayAnnouncer() = default;
  virtual void AnnouncePlayBegan(SoundChannel channel) = 0;
  virtual void AnnouncePlayEnded(SoundChannel channel) = 0;
};

// Told when the wave device has finished with a buffer.
class WaveOutListener {
public:
  virtual ~WaveOutListener() = default;
  virtual void OnBufferDone() = 0;
};

// The wave-out device as the wave player drives it: one open device, a row
// of buffer headers it owns, and the notices of finished buffers, which
// arrive on the GUI thread through its hidden window.
class WaveOutDevice {
public:
  // The units a device may answer a position in.
  enum class PositionUnit { kMilliseconds, kSamples, kBytes, kOther };
  struct Position {
    PositionUnit unit = PositionUnit::kOther;
    uint32_t value = 0;
  };

  virtual ~WaveOutDevice() = default;
  // False when the machine has no wave-out device: nothing can play.
  virtual bool Exists() = 0;
  virtual void SetListener(WaveOutListener *listener) = 0;
  virtual bool Open(const WaveFormat &format) = 0;
  virtual void Close() = 0;
  // A row of empty headers, each marked done.
  virtual void SetBufferCount(uint32_t count) = 0;
  virtual bool Prepare(uint32_t index, const uint8_t *data, uint32_t length) = 0;
  virtual bool Unprepare(uint32_t index) = 0;
  virtual bool Write(uint32_t index) = 0;
  // True while the device does not hold the buffer.
  virtual bool IsDone(uint32_t index) = 0;
  // Gives every buffer back at once.
  virtual bool Reset() = 0;
  virtual Position GetPosition() = 0;
  // Drops the finished-buffer notices still waiting.
  virtual void DiscardPendingNotices() = 0;
};

// Told of an MCI notification for the device id given.
class MciListener {
public:
  virtual ~MciListener() = default;
  virtual void OnNotify(uint32_t deviceId) = 0;
};

// The MCI commands of the MIDI and CD players. Every command but Play
// waits; Play notifies the listener when it ends.
class MciDevice {
public:
  enum class TimeFormat { kMilliseconds, kMsf, kTmsf };
  enum class StatusItem { kLength, kPosition, kNumberOfTracks, kSequencerPort };
  // No track: the item of the whole medium.
  static constexpr uint32_t kNoTrack = 0;

  virtual ~MciDevice() = default;
  // False when the machine has no device of this kind (MIDI out).
  virtual bool Exists() = 0;
  virtual void SetListener(MciListener *listener) = 0;
  // element: a file, or null for a device without one.
  virtual bool Open(const char *deviceType, const char *element, uint32_t &deviceId) = 0;
  virtual bool Close(uint32_t deviceId) = 0;
  virtual bool SetTimeFormat(uint32_t deviceId, TimeFormat format) = 0;
  virtual bool Status(uint32_t deviceId, StatusItem item, uint32_t track, uint32_t &value) = 0;
  virtual bool Play(uint32_t deviceId, const uint32_t *from, const uint32_t *to) = 0;
  virtual bool Stop(uint32_t deviceId) = 0;
  virtual bool Pause(uint32_t deviceId) = 0;
  // Hands on the notifications still waiting for the hidden window.
  virtual void DispatchPendingNotices() = 0;
};

// The system mixer's volume of a source line, in percent per side.
class MixerVolume {
public:
  // The lines' component types.
  static constexpr uint32_t kWaveOut = 0x1008;
  static constexpr uint32_t kSynthesizer = 0x1004;
  static constexpr uint32_t kCompactDisc = 0x1005;

  virtual ~MixerVolume() = default;
  virtual bool Get(uint32_t componentType, uint32_t &left, uint32_t &right) = 0;
  virtual bool Set(uint32_t componentType, uint32_t left, uint32_t right) = 0;
};
