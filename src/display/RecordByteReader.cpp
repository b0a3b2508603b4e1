#include "display/RecordByteReader.h"

#include <cstring>

bool RecordByteReader::ReadInt32(int32_t &value) {
  uint8_t bytes[4];
  if (!ReadBytes(bytes, sizeof bytes)) {
    return false;
  }
  const uint32_t raw = static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
                       static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
  value = static_cast<int32_t>(raw);
  return true;
}

bool SpanByteReader::ReadBytes(void *buffer, uint32_t count) {
  if (count > m_size - m_position) {
    return false;
  }
  if (count > 0) {
    std::memcpy(buffer, m_data + m_position, count);
  }
  m_position += count;
  return true;
}
