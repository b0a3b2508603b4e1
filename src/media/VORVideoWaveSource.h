#pragma once

#include <cstdint>
#include <vector>

#include "media/VORWaveSource.h"

class VideoSoundTrack;

// A video's sound track as a wave source: each loan is read from the track
// into the first free buffer of a row sized for one video frame of sound.
class VORVideoWaveSource : public VORWaveSource {
public:
  explicit VORVideoWaveSource(VideoSoundTrack &track) : m_track(track) {}
  // A copy takes the track only; it is opened again.
  VORVideoWaveSource(const VORVideoWaveSource &other) : VORWaveSource(other), m_track(other.m_track) {}

  bool Open() override;
  void Close() override;
  void GetBufferInfo(uint32_t &count, uint32_t &size) override;
  const WaveFormat &GetFormat() const override;
  uint32_t GetDataSize() const override { return m_dataSize; }
  int64_t LockData(uint32_t offset, const uint8_t *&data, uint32_t &length) override;
  void UnlockData(int64_t loan) override;
  VORWaveSource *Clone() const override { return new VORVideoWaveSource(*this); }

  VideoSoundTrack &GetTrack() const { return m_track; }

private:
  struct Buffer {
    std::vector<uint8_t> bytes;
    uint32_t inUse = 0;
  };

  VideoSoundTrack &m_track;
  std::vector<Buffer> m_buffers;
  uint32_t m_bufferSize = 0;
  uint32_t m_dataSize = 0;
};
