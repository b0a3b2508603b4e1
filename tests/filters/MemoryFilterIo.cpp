#include "filters/MemoryFilterIo.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

MemoryFilterIo::MemoryFilterIo() : m_previous(InstallFilterIo(this)) {}

MemoryFilterIo::~MemoryFilterIo() { InstallFilterIo(m_previous); }

void MemoryFilterIo::AddFile(const std::string &name, std::vector<uint8_t> bytes) { m_files[name] = std::move(bytes); }

const std::vector<uint8_t> &MemoryFilterIo::BlockBytes(FilterHandle block) const {
  const auto found = m_blocks.find(block);
  if (found == m_blocks.end())
    throw std::out_of_range("no such block");
  return found->second;
}

FilterFileId MemoryFilterIo::Open(const char *name) {
  const auto found = m_files.find(name);
  if (found == m_files.end())
    return kNoFilterFile;
  const FilterFileId id = m_nextFile++;
  m_open[id] = OpenFile{&found->second, 0};
  return id;
}

int32_t MemoryFilterIo::Read(FilterFileId file, void *buffer, uint32_t count) {
  const auto found = m_open.find(file);
  if (found == m_open.end())
    return -1;
  OpenFile &open = found->second;
  const uint64_t size = open.bytes->size();
  const uint64_t left = open.position < size ? size - open.position : 0;
  const auto read = static_cast<uint32_t>(std::min<uint64_t>(left, count));
  if (read != 0)
    std::memcpy(buffer, open.bytes->data() + open.position, read);
  open.position += read;
  return static_cast<int32_t>(read);
}

int32_t MemoryFilterIo::Seek(FilterFileId file, int32_t offset, FilterSeek origin) {
  const auto found = m_open.find(file);
  if (found == m_open.end())
    return -1;
  OpenFile &open = found->second;
  const int64_t base = origin == FilterSeek::Begin     ? 0
                       : origin == FilterSeek::Current ? static_cast<int64_t>(open.position)
                                                       : static_cast<int64_t>(open.bytes->size());
  const int64_t position = base + offset;
  if (position < 0 || position > INT32_MAX)
    return -1;
  open.position = static_cast<uint64_t>(position);
  return static_cast<int32_t>(position);
}

void MemoryFilterIo::Close(FilterFileId file) { m_open.erase(file); }

FilterHandle MemoryFilterIo::Allocate(uint64_t size) {
  if (size > m_byteLimit || m_allocations >= m_countLimit)
    return nullptr;
  ++m_allocations;
  auto handle = reinterpret_cast<FilterHandle>(m_nextBlock);
  m_nextBlock += 0x10;
  m_blocks[handle] = std::vector<uint8_t>(static_cast<size_t>(std::max<uint64_t>(size, 1)), 0);
  return handle;
}

void *MemoryFilterIo::Lock(FilterHandle block) {
  const auto found = m_blocks.find(block);
  return found == m_blocks.end() ? nullptr : found->second.data();
}

void MemoryFilterIo::Unlock(FilterHandle) {}

void MemoryFilterIo::Free(FilterHandle block) { m_blocks.erase(block); }
