#pragma once

#include <cstdint>
#include <vector>

#include "vorfile/XQFile.h"

// An XQFile over bytes in memory that behaves like a disk file: a read at or
// past the end succeeds with 0 bytes, a seek may go past the end. It counts
// the reads that reach it, so tests can see how often a stream went to the
// file.
class MemoryFile : public XQFile {
public:
  explicit MemoryFile(std::vector<uint8_t> bytes, const char *name = "memory");

  bool Open(uint32_t modeFlags) override;
  void Close() override;
  bool Read(void *buffer, uint32_t count, uint32_t &bytesRead) override;
  bool Write(const void *buffer, uint32_t count, uint32_t &bytesWritten) override;
  bool Seek(int32_t offset, int32_t origin) override;
  bool GetSizeAndTime(uint32_t &size, int32_t &time) override;
  bool Exists() override { return true; }
  int32_t Tell() override { return static_cast<int32_t>(m_position); }

  const std::vector<uint8_t> &GetBytes() const { return m_bytes; }
  int GetReadCount() const { return m_readCount; }
  // A failing read scribbles over the buffer, as a partial ReadFile may.
  void SetReadsFail(bool fail) { m_readsFail = fail; }

private:
  std::vector<uint8_t> m_bytes;
  uint32_t m_position = 0;
  int m_readCount = 0;
  bool m_readsFail = false;
};

// Bytes 0, 1, 2, ... 255, 0, 1, ...: every position tells where it came from.
std::vector<uint8_t> CountingBytes(uint32_t length);
