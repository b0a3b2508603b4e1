#pragma once

#include <cstdint>

#include "media/WaveFormat.h"

// Where the wave player reads sound from: a format, a data size and loans
// of data ranges. The player opens the source, borrows range after range
// and gives each loan back before it closes the source.
class VORWaveSource {
public:
  // The answer of a loan that could not be given.
  static constexpr int64_t kNoLoan = -1;

  VORWaveSource() = default;
  VORWaveSource(const VORWaveSource &) = default;
  VORWaveSource &operator=(const VORWaveSource &) = delete;
  virtual ~VORWaveSource() = default;

  // True when the source can deliver data.
  virtual bool Open() = 0;
  // Frees what Open made.
  virtual void Close() = 0;
  // How the player should buffer: buffer count and bytes per buffer.
  virtual void GetBufferInfo(uint32_t &count, uint32_t &size) = 0;
  virtual const WaveFormat &GetFormat() const = 0;
  virtual uint32_t GetDataSize() const = 0;
  // Lends the data from offset on; length may come back shorter (the loan
  // ends where the source's memory does). kNoLoan on failure.
  virtual int64_t LockData(uint32_t offset, const uint8_t *&data, uint32_t &length) = 0;
  virtual void UnlockData(int64_t loan) = 0;
  // A new, unopened source over the same data.
  virtual VORWaveSource *Clone() const = 0;
};
