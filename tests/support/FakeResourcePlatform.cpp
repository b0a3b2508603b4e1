#include "support/FakeResourcePlatform.h"

namespace {

class FakeMemoryStatus : public VORMemoryStatus {
public:
  explicit FakeMemoryStatus(FakeMachine &machine) : m_machine(machine) {}
  VORMemoryFigures GetFigures() override { return m_machine.figures; }

private:
  FakeMachine &m_machine;
};

class FakeClock : public VORMillisecondClock {
public:
  explicit FakeClock(FakeMachine &machine) : m_machine(machine) {}
  uint32_t Now() override { return m_machine.now; }

private:
  FakeMachine &m_machine;
};

class FakeAllocator : public VORBlockAllocator {
public:
  explicit FakeAllocator(FakeMachine &machine) : m_machine(machine) {}
  uint8_t *AllocateGlobal(uint32_t size) override {
    return m_machine.globalAllocationFails ? nullptr : m_machine.Allocate(size, true);
  }
  void FreeGlobal(uint8_t *memory) override { m_machine.Free(memory, true); }
  uint8_t *AllocateHeap(uint32_t size) override { return m_machine.Allocate(size, false); }
  void FreeHeap(uint8_t *memory) override { m_machine.Free(memory, false); }

private:
  FakeMachine &m_machine;
};

} // namespace

VORResourcePlatform FakeMachine::MakePlatform() {
  VORResourcePlatform platform;
  platform.memoryStatus = std::make_unique<FakeMemoryStatus>(*this);
  platform.clock = std::make_unique<FakeClock>(*this);
  platform.allocator = std::make_unique<FakeAllocator>(*this);
  return platform;
}

void FakeMachine::SetFreeMemory(uint64_t bytes) {
  figures = VORMemoryFigures();
  figures.windowsNT = false;
  figures.availablePhysical = bytes;
}

uint8_t *FakeMachine::Allocate(uint32_t size, bool global) {
  // One byte at least, so that every allocation has an address of its own.
  auto *memory = new uint8_t[size ? size : 1];
  m_live[memory] = global;
  return memory;
}

void FakeMachine::Free(uint8_t *memory, bool global) {
  auto found = m_live.find(memory);
  if (found == m_live.end() || found->second != global) {
    ++m_mismatchedFrees;
    return; // leaked rather than freed the wrong way
  }
  m_live.erase(found);
  delete[] memory;
}

int FakeMachine::GetLiveBlocks(bool global) const {
  int count = 0;
  for (const auto &entry : m_live)
    count += entry.second == global ? 1 : 0;
  return count;
}
