#pragma once

#include <windows.h>

#include "vorfile/XQFile.h"

// A disk file opened with CreateFileA.
class XQWin32File : public XQFile {
public:
  // Asked after a short write (kind 0) or a failed WriteFile (kind 1, with
  // GetLastError's code); answering true retries.
  class WriteErrorHandler {
  public:
    virtual ~WriteErrorHandler() = default;
    virtual bool OnWriteError(int32_t kind, uint32_t errorCode) = 0;
  };

  explicit XQWin32File(const char *name) : XQFile(name) {}
  ~XQWin32File() override;

  bool Open(uint32_t modeFlags) override;
  void Close() override;
  bool Read(void *buffer, uint32_t count, uint32_t &bytesRead) override;
  bool Write(const void *buffer, uint32_t count, uint32_t &bytesWritten) override;
  bool Seek(int32_t offset, int32_t origin) override;
  bool GetSizeAndTime(uint32_t &size, int32_t &time) override;
  bool Exists() override;
  int32_t Tell() override;

  void SetWriteErrorHandler(WriteErrorHandler *handler) { m_writeErrorHandler = handler; }
  uint32_t GetModeFlags() const { return m_modeFlags; }

private:
  HANDLE m_handle = INVALID_HANDLE_VALUE;
  WriteErrorHandler *m_writeErrorHandler = nullptr;
  uint32_t m_modeFlags = 0;
};
