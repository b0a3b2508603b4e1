#pragma once

#include <cstdint>
#include <vector>

// A sound format as the wave device takes it: the bytes of a WAVEFORMATEX
// (at least its 18 bytes, then the extra bytes of a compressed format),
// with its fields read out little-endian. Kept as bytes so that the device
// gets the format exactly as the file holds it.
class WaveFormat {
public:
  static constexpr uint16_t kPcm = 1;
  // The fixed part of the structure, cbSize included.
  static constexpr uint32_t kHeaderSize = 18;

  WaveFormat() : m_bytes(kHeaderSize, 0) {}
  // The bytes of a "fmt " chunk: padded with zeros to 18 bytes. For PCM the
  // extra size is 0; for other formats it is cut to the extra bytes the
  // chunk really holds, so a reader of cbSize never runs past them.
  static WaveFormat FromChunk(const uint8_t *chunk, uint32_t length);
  // A PCM format of the given shape.
  static WaveFormat Pcm(uint16_t channels, uint32_t samplesPerSecond, uint16_t bitsPerSample);

  uint16_t GetFormatTag() const { return Word(0); }
  uint16_t GetChannels() const { return Word(2); }
  uint32_t GetSamplesPerSecond() const { return DoubleWord(4); }
  uint32_t GetAverageBytesPerSecond() const { return DoubleWord(8); }
  uint16_t GetBlockAlign() const { return Word(12); }
  uint16_t GetBitsPerSample() const { return Word(14); }
  uint16_t GetExtraSize() const { return Word(16); }
  bool IsPcm() const { return GetFormatTag() == kPcm; }
  // A format the player can time: bytes per second and per block both set.
  bool CanBeTimed() const { return GetAverageBytesPerSecond() != 0 && GetBlockAlign() != 0; }

  const uint8_t *GetBytes() const { return m_bytes.data(); }
  uint32_t GetSize() const { return static_cast<uint32_t>(m_bytes.size()); }

private:
  uint16_t Word(uint32_t at) const;
  uint32_t DoubleWord(uint32_t at) const;
  void SetWord(uint32_t at, uint16_t value);
  void SetDoubleWord(uint32_t at, uint32_t value);

  std::vector<uint8_t> m_bytes;
};
