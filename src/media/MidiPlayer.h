#pragma once

#include <cstdint>
#include <memory>

#include "foundation/XQString.h"
#include "media/SoundSeams.h"

// Plays a MIDI file through the MCI sequencer, from and to a position in
// milliseconds, loop count + 1 times (-1 endlessly): each end of a play
// notifies the player, which plays the stretch again while loops remain.
class MidiPlayer : private MciListener {
public:
  static constexpr int32_t kEndless = -1;
  static constexpr int32_t kToEnd = -1;
  static constexpr const char *kDeviceType = "sequencer";

  MidiPlayer(std::unique_ptr<MciDevice> device, PlayAnnouncer &announcer);
  ~MidiPlayer() override;

  bool HasDevice() const { return m_hasDevice; }
  bool Open(const XQString &path);
  bool Play(int32_t loops, int32_t fromMs, int32_t toMs);
  void Stop();
  void Close();
  // The play's length in ms, times its passes; -1 endless.
  int32_t GetTotalLength() const { return m_totalLength; }
  bool IsOpen() const { return m_deviceId != 0; }
  bool IsPlaying() const { return m_playing; }
  int32_t GetLoopCount() const { return m_loops; }

  void OnNotify(uint32_t deviceId) override;

private:
  bool PlayStretch();

  std::unique_ptr<MciDevice> m_device;
  PlayAnnouncer &m_announcer;
  bool m_hasDevice;
  uint32_t m_deviceId = 0;
  XQString m_path;
  bool m_playing = false;
  int32_t m_loops = 0;
  int32_t m_from = 0;
  int32_t m_to = kToEnd;
  uint32_t m_length = 0;
  int32_t m_totalLength = 0;
};
