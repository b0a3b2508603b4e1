#include "filters/FilterByteSource.h"

#include <algorithm>
#include <cstring>

FilterResult FilterByteSource::Allocate() {
  Discard();
  return m_buffer.Allocate(m_blockSize) ? kFilterSuccess : kFilterNoMemory;
}

bool FilterByteSource::Refill() {
  if (m_buffer.Data() == nullptr)
    return false;
  const int32_t read = m_file.Read(m_buffer.Data(), m_blockSize);
  m_next = 0;
  m_end = read > 0 ? static_cast<uint32_t>(read) : 0;
  return m_end != 0;
}

bool FilterByteSource::Take(uint8_t *out, uint32_t count) {
  while (count != 0) {
    if (m_next == m_end && !Refill())
      return false;
    const uint32_t piece = std::min(count, m_end - m_next);
    std::memcpy(out, m_buffer.Data() + m_next, piece);
    m_next += piece;
    out += piece;
    count -= piece;
  }
  return true;
}

bool FilterByteSource::Skip(uint64_t count) {
  while (count != 0) {
    if (m_next == m_end && !Refill())
      return false;
    const uint32_t piece = static_cast<uint32_t>(std::min<uint64_t>(count, m_end - m_next));
    m_next += piece;
    count -= piece;
  }
  return true;
}
