#include "media/VORResourceWaveSource.h"

#include "media/RiffWave.h"
#include "model/VORResource.h"
#include "model/VORResourceManager.h"

namespace {

// Sound is wanted now: its blocks go before any prefetch.
constexpr int32_t kUrgentPriority = 0;

// A locked block, given back on every way out.
class BlockLoan {
public:
  BlockLoan(VORResourceManager &resources, uint32_t block)
      : m_resources(resources), m_block(block), m_locked(block != 0 && resources.LockBlock(block)) {}
  BlockLoan(const BlockLoan &) = delete;
  BlockLoan &operator=(const BlockLoan &) = delete;
  ~BlockLoan() {
    if (m_locked)
      m_resources.UnlockBlock(m_block);
  }

  bool IsLocked() const { return m_locked; }
  uint32_t GetBlock() const { return m_block; }
  // The caller keeps the lock.
  uint32_t Release() {
    m_locked = false;
    return m_block;
  }

private:
  VORResourceManager &m_resources;
  uint32_t m_block;
  bool m_locked;
};

} // namespace

bool VORResourceWaveSource::Open() {
  Close();
  const uint32_t resourceSize = m_resources.GetResourceSize(m_handle);
  if (resourceSize == VORResource::kUnknownSize || resourceSize == 0)
    return false;
  // A block loads only when the resource holds all of it: a sound shorter
  // than the probe is read whole.
  const uint32_t probe = resourceSize < RiffWave::kHeaderProbeSize ? resourceSize : RiffWave::kHeaderProbeSize;
  BlockLoan header(m_resources,
                   m_resources.GetBlock(m_handle, 0, probe, kUrgentPriority, kUrgentPriority, true, false));
  uint8_t *memory = nullptr;
  uint32_t size = 0;
  uint32_t blockOffset = 0;
  if (!header.IsLocked() || !m_resources.GetBlockInfo(header.GetBlock(), memory, size, blockOffset) || blockOffset != 0)
    return false;
  std::optional<RiffWaveLayout> layout = RiffWave::ReadLayout(memory, size, resourceSize);
  if (!layout)
    return false;
  m_format = layout->format;
  m_dataOffset = layout->dataOffset;
  m_dataLength = layout->dataLength;
  m_open = true;
  return true;
}

void VORResourceWaveSource::Close() {
  m_open = false;
  m_format = WaveFormat();
  m_dataOffset = 0;
  m_dataLength = 0;
}

void VORResourceWaveSource::GetBufferInfo(uint32_t &count, uint32_t &size) {
  count = kBufferCount;
  size = m_format.GetAverageBytesPerSecond();
}

int64_t VORResourceWaveSource::LockData(uint32_t offset, const uint8_t *&data, uint32_t &length) {
  data = nullptr;
  if (!m_open || offset >= m_dataLength)
    return kNoLoan;
  if (length > m_dataLength - offset)
    length = m_dataLength - offset;
  const uint32_t position = m_dataOffset + offset;
  BlockLoan loan(m_resources,
                 m_resources.GetBlock(m_handle, position, length, kUrgentPriority, kUrgentPriority, false, false));
  uint8_t *memory = nullptr;
  uint32_t size = 0;
  uint32_t blockOffset = 0;
  if (!loan.IsLocked() || !m_resources.GetBlockInfo(loan.GetBlock(), memory, size, blockOffset) ||
      position < blockOffset || position - blockOffset >= size)
    return kNoLoan;
  const uint32_t inBlock = position - blockOffset;
  if (length > size - inBlock)
    length = size - inBlock;
  data = memory + inBlock;
  return loan.Release();
}

void VORResourceWaveSource::UnlockData(int64_t loan) {
  if (loan > 0)
    m_resources.UnlockBlock(static_cast<uint32_t>(loan));
}
