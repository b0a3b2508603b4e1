#include "media/VORVideoWaveSource.h"

#include <cstddef>

#include "media/AviTiming.h"
#include "media/VideoSoundTrack.h"

namespace {

// A video's sound never needs more buffers than the wave player keeps.
constexpr uint32_t kMaxBuffers = 64;

} // namespace

void VORVideoWaveSource::GetBufferInfo(uint32_t &count, uint32_t &size) {
  const WaveFormat &format = m_track.GetSoundFormat();
  const AviTiming::Buffers buffers =
      AviTiming::SoundBuffers(m_track.GetSoundInitialFrames(), m_track.GetVideoMicrosecondsPerFrame(),
                              format.GetAverageBytesPerSecond(), format.GetBlockAlign(), m_track.GetSoundDataSize());
  count = buffers.count < kMaxBuffers ? buffers.count : kMaxBuffers;
  size = buffers.size;
}

const WaveFormat &VORVideoWaveSource::GetFormat() const { return m_track.GetSoundFormat(); }

// A format that cannot be timed is refused before anything is allocated;
// each buffer is made when a loan first needs it.
bool VORVideoWaveSource::Open() {
  Close();
  if (!m_track.GetSoundFormat().CanBeTimed()) {
    return false;
  }
  uint32_t count = 0;
  GetBufferInfo(count, m_bufferSize);
  m_buffers.assign(count, Buffer());
  m_dataSize = m_track.GetSoundDataSize();
  return true;
}

void VORVideoWaveSource::Close() {
  m_buffers.clear();
  m_bufferSize = 0;
  m_dataSize = 0;
}

int64_t VORVideoWaveSource::LockData(uint32_t offset, const uint8_t *&data, uint32_t &length) {
  const uint32_t block = m_track.GetSoundFormat().GetBlockAlign();
  // Never more than a buffer holds or than the data has left.
  length = AviTiming::LoanLength(offset, length, m_dataSize, m_bufferSize, block);
  if (length == 0) {
    return kNoLoan;
  }
  for (size_t index = 0; index < m_buffers.size(); ++index) {
    Buffer &buffer = m_buffers[index];
    if (buffer.inUse != 0) {
      continue;
    }
    if (buffer.bytes.size() < m_bufferSize) {
      buffer.bytes.resize(m_bufferSize);
    }
    uint32_t got = m_bufferSize;
    if (!m_track.ReadSound(offset / block, length / block, buffer.bytes.data(), got) || got == 0) {
      return kNoLoan;
    }
    length = got < length ? got : length;
    buffer.inUse = length;
    data = buffer.bytes.data();
    return static_cast<int64_t>(index);
  }
  return kNoLoan;
}

void VORVideoWaveSource::UnlockData(int64_t loan) {
  if (loan >= 0 && static_cast<uint64_t>(loan) < m_buffers.size()) {
    m_buffers[static_cast<size_t>(loan)].inUse = 0;
  }
}
