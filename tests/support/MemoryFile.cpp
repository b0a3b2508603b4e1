#include "support/MemoryFile.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {
constexpr uint8_t kScribble = 0xCD;
}

MemoryFile::MemoryFile(std::vector<uint8_t> bytes, const char *name) : XQFile(name), m_bytes(std::move(bytes)) {}

bool MemoryFile::Open(uint32_t) {
  ++m_openCount;
  return true;
}

void MemoryFile::Close() {
  if (m_openCount > 0)
    --m_openCount;
}

bool MemoryFile::Read(void *buffer, uint32_t count, uint32_t &bytesRead) {
  ++m_readCount;
  bytesRead = 0;
  if (m_readsFail) {
    std::memset(buffer, kScribble, count);
    return false;
  }
  if (m_position < m_bytes.size())
    bytesRead = std::min<uint32_t>(count, static_cast<uint32_t>(m_bytes.size()) - m_position);
  if (bytesRead)
    std::memcpy(buffer, m_bytes.data() + m_position, bytesRead);
  m_position += bytesRead;
  return true;
}

bool MemoryFile::Write(const void *buffer, uint32_t count, uint32_t &bytesWritten) {
  if (m_bytes.size() < static_cast<size_t>(m_position) + count)
    m_bytes.resize(static_cast<size_t>(m_position) + count);
  if (count)
    std::memcpy(m_bytes.data() + m_position, buffer, count);
  m_position += count;
  bytesWritten = count;
  return true;
}

bool MemoryFile::Seek(int32_t offset, int32_t origin) {
  int64_t base;
  switch (origin) {
  case kSeekStart:
    base = 0;
    break;
  case kSeekCurrent:
    base = m_position;
    break;
  case kSeekEnd:
    base = static_cast<int64_t>(m_bytes.size());
    break;
  default:
    return false;
  }
  const int64_t target = base + offset;
  if (target < 0 || target > INT32_MAX)
    return false;
  m_position = static_cast<uint32_t>(target);
  return true;
}

bool MemoryFile::GetSizeAndTime(uint32_t &size, int32_t &time) {
  size = static_cast<uint32_t>(m_bytes.size());
  time = 0;
  return true;
}

std::vector<uint8_t> CountingBytes(uint32_t length) {
  std::vector<uint8_t> bytes(length);
  for (uint32_t i = 0; i < length; ++i)
    bytes[i] = static_cast<uint8_t>(i);
  return bytes;
}
