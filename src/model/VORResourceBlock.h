#pragma once

#include <cstdint>

class VORResource;

// Memory given by the resource manager, with the way it was taken: it goes
// back the same way whatever its size.
struct VORResourceMemory {
  uint8_t *data = nullptr;
  uint32_t size = 0;
  bool global = false;
};

// One byte range of a resource, loaded on demand and lent out by lock count.
// Its memory stays after the last unlock until the manager evicts it; the
// block itself then stays, unloaded.
class VORResourceBlock {
public:
  // A size that stands for the rest of the resource from the block's offset.
  static constexpr uint32_t kWholeResource = 0xFFFFFFFF;

  VORResourceBlock(VORResource &resource, uint32_t handle, uint32_t offset, uint32_t size, int32_t priority1,
                   int32_t priority2, bool forceGlobal);
  VORResourceBlock(const VORResourceBlock &) = delete;
  VORResourceBlock &operator=(const VORResourceBlock &) = delete;
  ~VORResourceBlock();

  // Stamps the block, loads it when it is not loaded and counts; false when
  // the load fails. The block counts as locked while it loads, so that the
  // room made for it cannot take its resource away.
  bool Lock();
  // Counts down and stamps again; the memory stays.
  void Unlock();
  // Reads the block's bytes: only a read of exactly its size loads it.
  bool Load();
  // Gives the memory back; the block stays, unloaded.
  void Unload();
  // A block asked for again keeps the more urgent (lower) priorities.
  void KeepUrgentPriorities(int32_t priority1, int32_t priority2);
  // Whether the block holds [offset, end); end is exclusive, and the size of
  // a block of the rest of the resource is taken as resourceEnd.
  bool Covers(uint64_t offset, uint64_t end, uint64_t resourceEnd) const;

  VORResource &GetResource() const { return m_resource; }
  uint32_t GetHandle() const { return m_handle; }
  uint32_t GetOffset() const { return m_offset; }
  // kWholeResource until the first load of a block of the rest.
  uint32_t GetSize() const { return m_size; }
  bool IsLoaded() const { return m_loaded; }
  uint32_t GetLockCount() const { return m_lockCount; }
  uint32_t GetLastUse() const { return m_lastUse; }
  int32_t GetPriority1() const { return m_priority1; }
  int32_t GetPriority2() const { return m_priority2; }
  // Null while not loaded.
  uint8_t *GetMemory() const { return m_memory.data; }
  // Whether the loaded memory is global memory.
  bool IsGlobal() const { return m_memory.global; }

private:
  void Stamp();
  bool ReadInto(const VORResourceMemory &memory);

  VORResource &m_resource;
  uint32_t m_handle;
  int32_t m_priority1;
  int32_t m_priority2;
  uint32_t m_lastUse = 0;
  uint32_t m_lockCount = 0;
  bool m_loaded = false;
  VORResourceMemory m_memory;
  uint32_t m_offset;
  uint32_t m_size;
  bool m_forceGlobal;
};
