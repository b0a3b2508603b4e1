#include "vorfile/XQMemoryFileStream.h"

#include <algorithm>
#include <cstring>

#include "vorfile/XQFile.h"

XQMemoryFileStream::XQMemoryFileStream(XQFileStream &source, uint32_t length)
    : XQFileStream(source.GetFile()), m_length(length), m_owner(true), m_source(nullptr), m_base(0) {
  if (source.Clone(m_ownedSource)) {
    m_source = m_ownedSource.get();
    m_base = m_source->GetPosition();
  }
}

// A copy of a copy reads straight through the owner: nested folders copy
// the copies of their parents, and a chain of them would make every read
// walk back through each level.
XQMemoryFileStream::XQMemoryFileStream(XQMemoryFileStream &parent, CopyOf)
    : XQFileStream(parent.GetFile()), m_length(parent.m_length), m_owner(false),
      m_source(parent.m_owner ? &parent : parent.m_source),
      m_base(parent.m_owner
                 ? parent.m_position
                 : static_cast<uint32_t>(std::min<uint64_t>(uint64_t{parent.m_base} + parent.m_position, UINT32_MAX))) {
}

XQMemoryFileStream::~XQMemoryFileStream() = default;

bool XQMemoryFileStream::Read(void *buffer, uint32_t count, uint32_t &bytesRead) {
  if (m_owner)
    return ReadFromWindow(static_cast<uint8_t *>(buffer), count, bytesRead);
  return ReadThroughParent(buffer, count, bytesRead);
}

bool XQMemoryFileStream::Write(const void *, uint32_t, uint32_t &bytesWritten) {
  bytesWritten = 0;
  return false;
}

bool XQMemoryFileStream::Clone(std::unique_ptr<XQFileStream> &clone) {
  clone.reset(new XQMemoryFileStream(*this, CopyOf{}));
  return true;
}

bool XQMemoryFileStream::ReadFromWindow(uint8_t *buffer, uint32_t count, uint32_t &bytesRead) {
  bytesRead = 0;
  while (bytesRead < count) {
    if (m_position >= m_windowStart && m_position - m_windowStart < m_windowLength) {
      const uint32_t offset = m_position - m_windowStart;
      const uint32_t size = std::min(m_windowLength - offset, count - bytesRead);
      std::memcpy(buffer + bytesRead, m_window.get() + offset, size);
      bytesRead += size;
      m_position += size;
    }
    if (bytesRead < count && !FillWindow(m_position))
      break;
  }
  return true;
}

// Loads the window with the span's bytes from `position` on; false when
// nothing more comes.
bool XQMemoryFileStream::FillWindow(uint32_t position) {
  // A position at or past the span's end has nothing to read, and a window
  // sized from it would overrun the buffer.
  if (!m_source || position >= m_length)
    return false;
  const uint32_t wanted = std::min(kWindowSize, m_length - position);
  if (!m_window)
    m_window.reset(new uint8_t[std::min(kWindowSize, m_length)]);
  // The read below may overwrite part of the window: until it succeeds the
  // window holds nothing.
  m_windowLength = 0;
  const uint64_t sourcePosition = static_cast<uint64_t>(m_base) + position;
  if (sourcePosition > kMaxPosition || !m_source->Seek(static_cast<int32_t>(sourcePosition), XQFile::kSeekStart))
    return false;
  uint32_t got = 0;
  if (!m_source->Read(m_window.get(), wanted, got))
    return false;
  m_windowStart = position;
  m_windowLength = std::min(got, wanted);
  return m_windowLength > 0;
}

bool XQMemoryFileStream::ReadThroughParent(void *buffer, uint32_t count, uint32_t &bytesRead) {
  bytesRead = 0;
  const uint64_t target = static_cast<uint64_t>(m_base) + m_position;
  if (target > kMaxPosition)
    return false;
  const uint32_t parentPosition = m_source->GetPosition();
  if (!m_source->Seek(static_cast<int32_t>(target), XQFile::kSeekStart))
    return false;
  const bool ok = m_source->Read(buffer, count, bytesRead);
  m_source->Seek(static_cast<int32_t>(parentPosition), XQFile::kSeekStart);
  Advance(bytesRead);
  return ok;
}
