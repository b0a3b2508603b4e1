#include "media/WaveFormat.h"

#include <algorithm>

#include "vorfile/LittleEndian.h"

namespace {

constexpr uint32_t kExtraSizeOffset = 16;
constexpr uint32_t kBitsPerByte = 8;

} // namespace

WaveFormat WaveFormat::FromChunk(const uint8_t *chunk, uint32_t length) {
  WaveFormat format;
  format.m_bytes.assign(std::max(length, kHeaderSize), 0);
  std::copy(chunk, chunk + length, format.m_bytes.begin());
  if (format.IsPcm()) {
    format.SetWord(kExtraSizeOffset, 0);
  } else {
    const uint32_t available = length > kHeaderSize ? length - kHeaderSize : 0;
    format.SetWord(kExtraSizeOffset, static_cast<uint16_t>(std::min<uint32_t>(format.GetExtraSize(), available)));
  }
  return format;
}

WaveFormat WaveFormat::Pcm(uint16_t channels, uint32_t samplesPerSecond, uint16_t bitsPerSample) {
  WaveFormat format;
  const auto blockAlign = static_cast<uint16_t>(channels * bitsPerSample / kBitsPerByte);
  format.SetWord(0, kPcm);
  format.SetWord(2, channels);
  format.SetDoubleWord(4, samplesPerSecond);
  format.SetDoubleWord(8, samplesPerSecond * blockAlign);
  format.SetWord(12, blockAlign);
  format.SetWord(14, bitsPerSample);
  return format;
}

uint16_t WaveFormat::Word(uint32_t at) const { return LittleEndianUint16(&m_bytes[at]); }

uint32_t WaveFormat::DoubleWord(uint32_t at) const { return LittleEndianUint32(&m_bytes[at]); }

void WaveFormat::SetWord(uint32_t at, uint16_t value) {
  m_bytes[at] = static_cast<uint8_t>(value);
  m_bytes[at + 1] = static_cast<uint8_t>(value >> 8);
}

void WaveFormat::SetDoubleWord(uint32_t at, uint32_t value) {
  SetWord(at, static_cast<uint16_t>(value));
  SetWord(at + 2, static_cast<uint16_t>(value >> 16));
}
