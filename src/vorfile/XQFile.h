#pragma once

#include <cstdint>

#include "foundation/XQString.h"

// A named file with a counted open: every Open needs a Close, and only the
// last Close releases what the file holds.
class XQFile {
public:
  // Open mode flags, combined with |.
  enum OpenMode : uint32_t {
    kRead = 1, // also takes size and time first; a missing file fails
    kWrite = 2,
    kCreateAlways = 4, // without it the file must exist
    kDenyRead = 8,     // others may not read
    kDenyWrite = 0x10, // others may not write
  };

  enum SeekOrigin : int32_t { kSeekStart = 0, kSeekCurrent = 1, kSeekEnd = 2 };

  static constexpr uint32_t kUnknown = 0xFFFFFFFFu;

  explicit XQFile(const char *name) : m_name(name) {}
  virtual ~XQFile();

  XQFile(const XQFile &) = delete;
  XQFile &operator=(const XQFile &) = delete;

  virtual bool Open(uint32_t modeFlags) = 0;
  virtual void Close() = 0;
  virtual bool Read(void *buffer, uint32_t count, uint32_t &bytesRead) = 0;
  virtual bool Write(const void *buffer, uint32_t count, uint32_t &bytesWritten) = 0;
  virtual bool Seek(int32_t offset, int32_t origin) = 0;
  virtual bool GetSizeAndTime(uint32_t &size, int32_t &time) = 0;
  virtual bool Exists() = 0;
  // The position; a disk file answers -1 while it is not open.
  virtual int32_t Tell() = 0;
  virtual bool IsSameFile(XQFile &other);

  const XQString &GetName() const { return m_name; }
  uint32_t GetOpenCount() const { return m_openCount; }

protected:
  // The runtime library's view of the named file: size and modification
  // time in seconds. False when the file cannot be found.
  static bool StatName(const char *name, uint32_t &size, int32_t &time);

  XQString m_name;
  uint32_t m_openCount = 0;
  uint32_t m_size = kUnknown;
  int32_t m_time = -1;
};
