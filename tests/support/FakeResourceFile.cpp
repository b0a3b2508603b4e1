#include "support/FakeResourceFile.h"

#include <algorithm>
#include <cstring>

#include "vorfile/XQFile.h"

FakeResourceFile::FakeResourceFile(std::vector<uint8_t> bytes, int32_t kind)
    : m_bytes(std::move(bytes)), m_kind(kind) {}

bool FakeResourceFile::Open() {
  if (m_openFails)
    return false;
  ++m_opens;
  m_open = true;
  m_position = 0;
  return true;
}

void FakeResourceFile::Close() { m_open = false; }

bool FakeResourceFile::Read(void *buffer, uint32_t count, uint32_t &bytesRead) {
  bytesRead = 0;
  if (!m_open)
    return false;
  const uint32_t end = static_cast<uint32_t>(m_bytes.size()) - std::min<uint32_t>(m_missingTail, m_bytes.size());
  if (m_position < end)
    bytesRead = std::min(count, end - m_position);
  if (bytesRead)
    std::memcpy(buffer, m_bytes.data() + m_position, bytesRead);
  m_position += bytesRead;
  return true;
}

bool FakeResourceFile::Seek(int32_t offset, int32_t origin) {
  int64_t base = 0;
  if (origin == XQFile::kSeekCurrent)
    base = m_position;
  else if (origin == XQFile::kSeekEnd)
    base = static_cast<int64_t>(m_bytes.size());
  const int64_t target = base + offset;
  if (!m_open || target < 0 || target > static_cast<int64_t>(m_bytes.size()))
    return false;
  m_position = static_cast<uint32_t>(target);
  return true;
}

bool FakeResourceFile::GetSize(uint32_t &size) {
  size = static_cast<uint32_t>(m_bytes.size());
  return true;
}
