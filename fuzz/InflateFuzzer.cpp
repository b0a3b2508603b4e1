// Any bytes as a zlib stream, fed to the inflater in pieces of varying size;
// the sink sees every byte exactly once and stops nothing.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>

#include "filters/Inflater.h"

namespace {

class PieceSource : public InflateSource {
public:
  PieceSource(const uint8_t *data, size_t size) : m_data(data), m_size(size) {}
  uint32_t Fill(uint8_t *buffer, uint32_t capacity) override {
    // The first byte chooses how large the pieces are.
    const uint32_t piece = m_size == 0 ? 1 : 1U + m_data[0] % 64;
    uint32_t count = static_cast<uint32_t>(m_size - m_offset);
    if (count > piece)
      count = piece;
    if (count > capacity)
      count = capacity;
    std::memcpy(buffer, m_data + m_offset, count);
    m_offset += count;
    return count;
  }

private:
  const uint8_t *m_data;
  size_t m_size;
  size_t m_offset = 0;
};

class CountingSink : public InflateSink {
public:
  bool Write(const uint8_t *data, uint32_t size) override {
    for (uint32_t i = 0; i < size; ++i)
      m_sum += data[i];
    m_total += size;
    return m_total < (64U << 20); // a bomb stops somewhere
  }

private:
  uint64_t m_sum = 0;
  uint64_t m_total = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  for (bool wrapped : {true, false}) {
    PieceSource source(data, size);
    CountingSink sink;
    Inflater inflater;
    inflater.Run(source, sink, wrapped);
  }
  return 0;
}
