#include "vorfile/XQWin32File.h"

namespace {

DWORD AccessFor(uint32_t flags) {
  DWORD access = 0;
  if (flags & XQFile::kRead)
    access |= GENERIC_READ;
  if (flags & XQFile::kWrite)
    access |= GENERIC_WRITE;
  return access;
}

DWORD ShareModeFor(uint32_t flags) {
  const bool denyRead = flags & XQFile::kDenyRead;
  const bool denyWrite = flags & XQFile::kDenyWrite;
  if (denyRead && denyWrite)
    return 0;
  if (denyRead)
    return FILE_SHARE_WRITE;
  if (denyWrite)
    return FILE_SHARE_READ;
  return FILE_SHARE_READ | FILE_SHARE_WRITE;
}

} // namespace

XQWin32File::~XQWin32File() {
  if (m_handle != INVALID_HANDLE_VALUE)
    CloseHandle(m_handle);
}

bool XQWin32File::Open(uint32_t modeFlags) {
  if (m_openCount > 0) {
    ++m_openCount;
    return true;
  }
  if (modeFlags & kRead) {
    uint32_t size = 0;
    int32_t time = 0;
    if (!GetSizeAndTime(size, time))
      return false;
  }
  const DWORD creation = (modeFlags & kCreateAlways) ? CREATE_ALWAYS : OPEN_EXISTING;
  m_handle = CreateFileA(m_name.CStr(), AccessFor(modeFlags), ShareModeFor(modeFlags), nullptr, creation, 0, nullptr);
  if (m_handle == INVALID_HANDLE_VALUE)
    return false;
  m_openCount = 1;
  m_modeFlags = modeFlags;
  return true;
}

void XQWin32File::Close() {
  if (m_openCount == 0)
    return;
  if (--m_openCount == 0) {
    CloseHandle(m_handle);
    m_handle = INVALID_HANDLE_VALUE;
  }
}

bool XQWin32File::Read(void *buffer, uint32_t count, uint32_t &bytesRead) {
  DWORD read = 0;
  const BOOL ok = ReadFile(m_handle, buffer, count, &read, nullptr);
  bytesRead = read;
  return ok != FALSE;
}

bool XQWin32File::Write(const void *buffer, uint32_t count, uint32_t &bytesWritten) {
  bytesWritten = 0;
  const char *bytes = static_cast<const char *>(buffer);
  while (bytesWritten < count) {
    DWORD written = 0;
    const BOOL ok = WriteFile(m_handle, bytes + bytesWritten, count - bytesWritten, &written, nullptr);
    bytesWritten += written;
    if (ok && bytesWritten >= count)
      break;
    const bool retry = m_writeErrorHandler && (ok ? m_writeErrorHandler->OnWriteError(0, 0)
                                                  : m_writeErrorHandler->OnWriteError(1, GetLastError()));
    if (!retry)
      return false;
  }
  return true;
}

bool XQWin32File::Seek(int32_t offset, int32_t origin) {
  DWORD method;
  switch (origin) {
  case kSeekStart:
    method = FILE_BEGIN;
    break;
  case kSeekCurrent:
    method = FILE_CURRENT;
    break;
  case kSeekEnd:
    method = FILE_END;
    break;
  default:
    return false;
  }
  return SetFilePointer(m_handle, offset, nullptr, method) != INVALID_SET_FILE_POINTER;
}

bool XQWin32File::GetSizeAndTime(uint32_t &size, int32_t &time) {
  uint32_t statSize = 0;
  int32_t statTime = 0;
  if (!StatName(m_name.CStr(), statSize, statTime))
    return false;
  // Cached at the first success, then kept: a file is taken as it was first seen.
  if (m_size == kUnknown)
    m_size = statSize;
  if (m_time == -1)
    m_time = statTime;
  size = m_size;
  time = m_time;
  return true;
}

bool XQWin32File::Exists() {
  uint32_t size = 0;
  int32_t time = 0;
  return GetSizeAndTime(size, time);
}

int32_t XQWin32File::Tell() {
  if (m_handle == INVALID_HANDLE_VALUE)
    return -1;
  return static_cast<int32_t>(SetFilePointer(m_handle, 0, nullptr, FILE_CURRENT));
}
