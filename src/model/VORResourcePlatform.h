#pragma once

#include <cstdint>
#include <memory>

// What the resource manager needs of the machine, given to it so that its
// budget and eviction can be driven by tests: the memory figures, the
// millisecond clock that stamps blocks, and the two kinds of memory.

// The machine's memory as the system reports it, in bytes.
struct VORMemoryFigures {
  uint64_t totalPhysical = 0;
  uint64_t availablePhysical = 0;
  uint64_t totalPageFile = 0;
  uint64_t availablePageFile = 0;
  // The NT family counts committed memory against physical memory and the
  // page file; the older family only reports free physical memory.
  bool windowsNT = true;
};

class VORMemoryStatus {
public:
  virtual ~VORMemoryStatus() = default;
  virtual VORMemoryFigures GetFigures() = 0;
};

class VORMillisecondClock {
public:
  virtual ~VORMillisecondClock() = default;
  virtual uint32_t Now() = 0;
};

// Large blocks live in movable global memory (allocated locked), small ones
// on the heap. An allocation answers null when there is no memory.
class VORBlockAllocator {
public:
  virtual ~VORBlockAllocator() = default;
  virtual uint8_t *AllocateGlobal(uint32_t size) = 0;
  virtual void FreeGlobal(uint8_t *memory) = 0;
  virtual uint8_t *AllocateHeap(uint32_t size) = 0;
  virtual void FreeHeap(uint8_t *memory) = 0;
};

struct VORResourcePlatform {
  std::unique_ptr<VORMemoryStatus> memoryStatus;
  std::unique_ptr<VORMillisecondClock> clock;
  std::unique_ptr<VORBlockAllocator> allocator;
};

// The application's tick time (0 without an application): every block used
// within one pass of the main loop carries the same stamp.
class VORAppTickClock : public VORMillisecondClock {
public:
  uint32_t Now() override;
};
