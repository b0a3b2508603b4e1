#pragma once

#include <cstdint>
#include <map>

#include "model/VORResourcePlatform.h"

// The machine as the resource manager sees it, set by the test: memory
// figures, the clock, and an allocator that keeps a ledger of what is live
// and of frees that do not match how the memory was taken.
class FakeMachine {
public:
  // Platform objects that answer from this machine; it must outlive them.
  VORResourcePlatform MakePlatform();

  // Old-family figures with this much free physical memory.
  void SetFreeMemory(uint64_t bytes);

  VORMemoryFigures figures;
  uint32_t now = 1000;
  bool globalAllocationFails = false;

  uint8_t *Allocate(uint32_t size, bool global);
  void Free(uint8_t *memory, bool global);
  int GetLiveBlocks(bool global) const;
  // Frees of memory that is not live, or not of the kind freed.
  int GetMismatchedFrees() const { return m_mismatchedFrees; }

private:
  std::map<uint8_t *, bool> m_live; // memory -> global
  int m_mismatchedFrees = 0;
};
