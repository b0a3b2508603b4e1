#include "vorfile/XQFileStream.h"

#include "vorfile/XQFile.h"

XQFileStream::~XQFileStream() = default;

bool XQFileStream::Read(void *buffer, uint32_t count, uint32_t &bytesRead) {
  bytesRead = 0;
  if (!SeekFile() || !m_file->Read(buffer, count, bytesRead))
    return false;
  Advance(bytesRead);
  return true;
}

bool XQFileStream::Write(const void *buffer, uint32_t count, uint32_t &bytesWritten) {
  bytesWritten = 0;
  if (!SeekFile() || !m_file->Write(buffer, count, bytesWritten))
    return false;
  Advance(bytesWritten);
  return true;
}

bool XQFileStream::Seek(int32_t offset, int32_t origin) {
  int64_t target;
  switch (origin) {
  case XQFile::kSeekStart:
    target = offset;
    break;
  case XQFile::kSeekCurrent:
    target = static_cast<int64_t>(m_position) + offset;
    break;
  default:
    return false;
  }
  // Wrapping round would land on a valid position and read the wrong bytes.
  if (target < 0 || target > kMaxPosition)
    return false;
  m_position = static_cast<uint32_t>(target);
  return true;
}

bool XQFileStream::Clone(std::unique_ptr<XQFileStream> &clone) {
  clone = std::make_unique<XQFileStream>(*this);
  return true;
}

bool XQFileStream::SeekFile() {
  return m_position <= kMaxPosition && m_file->Seek(static_cast<int32_t>(m_position), XQFile::kSeekStart);
}

void XQFileStream::Advance(uint32_t count) {
  // Past kMaxPosition the stream is out of the file's reach and later reads
  // fail; it only must not wrap round to the start.
  const uint64_t target = static_cast<uint64_t>(m_position) + count;
  m_position = target > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(target);
}
