#include "support/FakeRecordFile.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "vorfile/VORFileException.h"

FakeRecordFile::FakeRecordFile(std::vector<uint8_t> record, uint32_t version)
    : m_record(std::move(record)), m_version(version) {}

void FakeRecordFile::Read(void *buffer, uint32_t count, uint32_t &bytesRead) {
  if (m_readsFail)
    throw VORFileErrorException();
  m_largestRequest = std::max(m_largestRequest, count);
  bytesRead = std::min<uint32_t>(count, static_cast<uint32_t>(m_record.size()) - m_position);
  if (bytesRead)
    std::memcpy(buffer, m_record.data() + m_position, bytesRead);
  m_position += bytesRead;
}

uint32_t FakeRecordFile::GetDataSize(uint32_t &size) {
  size = static_cast<uint32_t>(m_record.size());
  return size;
}

bool FakeRecordFile::SeekData(int32_t offset, int32_t origin) {
  int64_t target;
  switch (origin) {
  case 0:
    target = offset;
    break;
  case 1:
    target = static_cast<int64_t>(m_position) + offset;
    break;
  case 2:
    target = static_cast<int64_t>(m_record.size()) + offset;
    break;
  default:
    return true;
  }
  if (target < 0 || target > static_cast<int64_t>(m_record.size()))
    return false;
  m_position = static_cast<uint32_t>(target);
  return true;
}

RecordBytes &RecordBytes::Uint32(uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8)
    m_bytes.push_back(static_cast<uint8_t>(value >> shift));
  return *this;
}

RecordBytes &RecordBytes::Text(const char *text) {
  m_bytes.insert(m_bytes.end(), text, text + std::strlen(text));
  return *this;
}

RecordBytes &RecordBytes::String(const char *text) {
  return Uint32(static_cast<uint32_t>(std::strlen(text))).Text(text);
}
