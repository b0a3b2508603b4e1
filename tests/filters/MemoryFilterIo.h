#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "filters/FilterIo.h"

// Files held in memory and a heap that counts its blocks, installed for the
// filters while it lives: tests see what a reader left open or allocated,
// and may make allocations fail past a limit.
class MemoryFilterIo : public FilterIo {
public:
  MemoryFilterIo();
  ~MemoryFilterIo() override;
  MemoryFilterIo(const MemoryFilterIo &) = delete;
  MemoryFilterIo &operator=(const MemoryFilterIo &) = delete;

  void AddFile(const std::string &name, std::vector<uint8_t> bytes);
  // Allocations larger than this, or past this many, fail.
  void SetAllocationLimit(uint64_t bytes) { m_byteLimit = bytes; }
  void SetAllocationCountLimit(uint32_t count) { m_countLimit = count; }

  uint32_t OpenFiles() const { return static_cast<uint32_t>(m_open.size()); }
  uint32_t LiveBlocks() const { return static_cast<uint32_t>(m_blocks.size()); }
  uint32_t Allocations() const { return m_allocations; }
  // The bytes of a live block (a picture handed out).
  const std::vector<uint8_t> &BlockBytes(FilterHandle block) const;

  FilterFileId Open(const char *name) override;
  int32_t Read(FilterFileId file, void *buffer, uint32_t count) override;
  int32_t Seek(FilterFileId file, int32_t offset, FilterSeek origin) override;
  void Close(FilterFileId file) override;
  FilterHandle Allocate(uint64_t size) override;
  void *Lock(FilterHandle block) override;
  void Unlock(FilterHandle block) override;
  void Free(FilterHandle block) override;

private:
  struct OpenFile {
    const std::vector<uint8_t> *bytes;
    uint64_t position;
  };
  std::map<std::string, std::vector<uint8_t>> m_files;
  std::map<FilterFileId, OpenFile> m_open;
  std::map<FilterHandle, std::vector<uint8_t>> m_blocks;
  FilterFileId m_nextFile = 10;
  uintptr_t m_nextBlock = 0x1000;
  uint64_t m_byteLimit = UINT64_MAX;
  uint32_t m_countLimit = UINT32_MAX;
  uint32_t m_allocations = 0;
  FilterIo *m_previous = nullptr;
};
