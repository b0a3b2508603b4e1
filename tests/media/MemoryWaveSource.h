#pragma once

#include <cstdint>
#include <vector>

#include "media/VORWaveSource.h"

// A wave source over bytes in memory whose loans end at block boundaries,
// keeping count of the loans still out.
class MemoryWaveSource : public VORWaveSource {
public:
  MemoryWaveSource(WaveFormat format, std::vector<uint8_t> data, uint32_t blockSize = 0x10000)
      : m_format(std::move(format)), m_data(std::move(data)), m_blockSize(blockSize) {}

  bool Open() override {
    ++opens;
    return opens > failOpens;
  }
  void Close() override { ++closes; }
  void GetBufferInfo(uint32_t &count, uint32_t &size) override {
    count = bufferCount;
    size = bufferSize ? bufferSize : m_format.GetAverageBytesPerSecond();
  }
  const WaveFormat &GetFormat() const override { return m_format; }
  uint32_t GetDataSize() const override { return static_cast<uint32_t>(m_data.size()); }
  int64_t LockData(uint32_t offset, const uint8_t *&data, uint32_t &length) override {
    if (failLoans || offset >= m_data.size())
      return kNoLoan;
    const uint32_t blockEnd = (offset / m_blockSize + 1) * m_blockSize;
    length = std::min(length, blockEnd - offset);
    data = m_data.data() + offset;
    ++loansOut;
    return 1;
  }
  void UnlockData(int64_t) override { --loansOut; }
  VORWaveSource *Clone() const override { return new MemoryWaveSource(m_format, m_data, m_blockSize); }

  int opens = 0;
  int failOpens = 0;
  int closes = 0;
  int loansOut = 0;
  bool failLoans = false;
  uint32_t bufferCount = 8;
  uint32_t bufferSize = 0;

private:
  WaveFormat m_format;
  std::vector<uint8_t> m_data;
  uint32_t m_blockSize;
};
