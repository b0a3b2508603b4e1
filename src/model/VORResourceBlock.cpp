#include "model/VORResourceBlock.h"

#include <algorithm>

#include "model/VORResource.h"
#include "model/VORResourceFile.h"
#include "model/VORResourceManager.h"
#include "vorfile/XQFile.h"

namespace {

constexpr uint32_t kLargestSeekOffset = 0x7FFFFFFF;

// Holds the resource's file open for the time of a load.
class OpenFileScope {
public:
  explicit OpenFileScope(VORResource &resource) : m_resource(resource), m_open(resource.OpenFile()) {}
  ~OpenFileScope() {
    if (m_open)
      m_resource.CloseFile();
  }
  OpenFileScope(const OpenFileScope &) = delete;
  OpenFileScope &operator=(const OpenFileScope &) = delete;
  bool IsOpen() const { return m_open; }

private:
  VORResource &m_resource;
  bool m_open;
};

// Counts the block as locked while it loads.
class LoadingLock {
public:
  explicit LoadingLock(uint32_t &lockCount) : m_lockCount(lockCount) { ++m_lockCount; }
  ~LoadingLock() { --m_lockCount; }
  LoadingLock(const LoadingLock &) = delete;
  LoadingLock &operator=(const LoadingLock &) = delete;

private:
  uint32_t &m_lockCount;
};

} // namespace

VORResourceBlock::VORResourceBlock(VORResource &resource, uint32_t handle, uint32_t offset, uint32_t size,
                                   int32_t priority1, int32_t priority2, bool forceGlobal)
    : m_resource(resource), m_handle(handle), m_priority1(priority1), m_priority2(priority2), m_offset(offset),
      m_size(size), m_forceGlobal(forceGlobal) {}

VORResourceBlock::~VORResourceBlock() { Unload(); }

void VORResourceBlock::Stamp() { m_lastUse = m_resource.GetManager().Now(); }

bool VORResourceBlock::Lock() {
  Stamp();
  if (!m_loaded) {
    LoadingLock loading(m_lockCount);
    if (!Load())
      return false;
  }
  ++m_lockCount;
  return true;
}

void VORResourceBlock::Unlock() {
  if (m_lockCount > 0)
    --m_lockCount;
  Stamp();
}

bool VORResourceBlock::Load() {
  if (m_loaded)
    return true;
  OpenFileScope file(m_resource);
  if (!file.IsOpen())
    return false;
  if (m_size == kWholeResource) {
    const uint32_t resourceSize = m_resource.GetSize();
    if (resourceSize == VORResource::kUnknownSize || m_offset > resourceSize)
      return false;
    m_size = resourceSize - m_offset;
  }
  // Nothing to read is nothing loaded: a file reads no bytes either.
  if (m_size == 0 || m_offset > kLargestSeekOffset)
    return false;

  VORResourceManager &manager = m_resource.GetManager();
  VORResourceMemory memory = manager.Allocate(m_size, m_forceGlobal);
  try {
    if (!ReadInto(memory)) {
      manager.Free(memory);
      return false;
    }
  } catch (...) {
    manager.Free(memory);
    throw;
  }
  m_memory = memory;
  m_loaded = true;
  return true;
}

bool VORResourceBlock::ReadInto(const VORResourceMemory &memory) {
  VORResourceFile &file = m_resource.GetFile();
  if (!file.Seek(static_cast<int32_t>(m_offset), XQFile::kSeekStart))
    return false;
  uint32_t total = 0;
  while (total < m_size) {
    uint32_t got = 0;
    if (!file.Read(memory.data + total, m_size - total, got) || got == 0)
      break;
    total += std::min(got, m_size - total);
  }
  return total == m_size;
}

void VORResourceBlock::Unload() {
  if (!m_loaded)
    return;
  m_loaded = false;
  m_resource.GetManager().Free(m_memory);
}

void VORResourceBlock::KeepUrgentPriorities(int32_t priority1, int32_t priority2) {
  m_priority1 = std::min(m_priority1, priority1);
  m_priority2 = std::min(m_priority2, priority2);
}

bool VORResourceBlock::Covers(uint64_t offset, uint64_t end, uint64_t resourceEnd) const {
  const uint64_t blockEnd = m_size == kWholeResource ? resourceEnd : static_cast<uint64_t>(m_offset) + m_size;
  return m_offset <= offset && end <= blockEnd;
}
