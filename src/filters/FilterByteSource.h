#pragma once

#include <cstdint>

#include "filters/FilterIo.h"
#include "filters/FilterResult.h"

// Reads an open file through a block of blockSize bytes, refilled as it
// empties, so that decoders take bytes one at a time without a call apiece.
class FilterByteSource {
public:
  FilterByteSource(FilterFile &file, uint32_t blockSize) : m_file(file), m_blockSize(blockSize) {}

  // The block; 102 when it cannot be had.
  FilterResult Allocate();
  // Forgets what is buffered (after the file position was moved).
  void Discard() { m_next = m_end = 0; }

  // The next byte; false at the end of the file or on a read error.
  bool Next(uint8_t &byte) {
    if (m_next == m_end && !Refill())
      return false;
    byte = m_buffer.Data()[m_next++];
    return true;
  }
  // Exactly count bytes; false when the file ends first.
  bool Take(uint8_t *out, uint32_t count);
  // Skips count bytes; false when the file ends first.
  bool Skip(uint64_t count);

private:
  bool Refill();

  FilterFile &m_file;
  uint32_t m_blockSize;
  FilterBlock m_buffer;
  uint32_t m_next = 0;
  uint32_t m_end = 0;
};
