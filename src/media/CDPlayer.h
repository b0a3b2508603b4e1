#pragma once

#include <cstdint>
#include <memory>

#include "media/SoundSeams.h"

// Plays audio-CD tracks through MCI cdaudio: from the start of one track to
// the start of another (or to the end of the disc), loop count + 1 times.
class CDPlayer : private MciListener {
public:
  static constexpr int32_t kEndless = -1;
  // An end track of -1 plays one track; 99 plays to the end of the disc.
  static constexpr int32_t kOneTrack = -1;
  static constexpr int32_t kEndOfDisc = 99;
  static constexpr uint32_t kClosed = 0xFFFFFFFF;
  static constexpr const char *kDeviceType = "cdaudio";

  CDPlayer(std::unique_ptr<MciDevice> device, PlayAnnouncer &announcer);
  ~CDPlayer() override;

  void Play(int32_t loops, int32_t startTrack, int32_t endTrack);
  void Stop();
  int32_t GetTotalLength() const { return m_totalLength; }
  bool IsOpen() const { return m_deviceId != kClosed; }
  int32_t GetEndTrack() const { return m_endTrack; }
  int32_t GetLoopCount() const { return m_loops; }

  // An MSF position (minute, second and frame bytes) in ms; a frame counts
  // 13 ms.
  static int64_t MsfToMs(uint32_t msf);

  void OnNotify(uint32_t deviceId) override;

private:
  int64_t Length(int32_t startTrack, int32_t endTrack);
  bool PlayTracks();
  void CloseDevice();

  std::unique_ptr<MciDevice> m_device;
  PlayAnnouncer &m_announcer;
  uint32_t m_deviceId = kClosed;
  int32_t m_loops = 0;
  int32_t m_startTrack = 0;
  int32_t m_endTrack = kOneTrack;
  int32_t m_totalLength = 0;
};
