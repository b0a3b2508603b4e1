#pragma once

#include <cstdint>

#include "media/VORWaveSource.h"

class VORResourceManager;

// The sound of a RIFF WAVE resource of the publication, read block by
// block through the resource manager.
class VORResourceWaveSource : public VORWaveSource {
public:
  // Buffers of one second each.
  static constexpr uint32_t kBufferCount = 8;

  VORResourceWaveSource(VORResourceManager &resources, uint32_t resourceHandle)
      : m_resources(resources), m_handle(resourceHandle) {}
  // A copy takes the resource only; it is opened again.
  VORResourceWaveSource(const VORResourceWaveSource &other)
      : VORResourceWaveSource(other.m_resources, other.m_handle) {}

  bool Open() override;
  void Close() override;
  void GetBufferInfo(uint32_t &count, uint32_t &size) override;
  const WaveFormat &GetFormat() const override { return m_format; }
  uint32_t GetDataSize() const override { return m_dataLength; }
  int64_t LockData(uint32_t offset, const uint8_t *&data, uint32_t &length) override;
  void UnlockData(int64_t loan) override;
  VORWaveSource *Clone() const override { return new VORResourceWaveSource(*this); }

  uint32_t GetResourceHandle() const { return m_handle; }
  uint32_t GetDataOffset() const { return m_dataOffset; }

private:
  VORResourceManager &m_resources;
  uint32_t m_handle;
  WaveFormat m_format;
  bool m_open = false;
  uint32_t m_dataOffset = 0;
  uint32_t m_dataLength = 0;
};
