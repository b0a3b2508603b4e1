#pragma once

#include <cstddef>
#include <cstdint>

// The bytes of one record, read in file order. The compiled file's data
// section becomes one of these through a small adapter; tests and in-memory
// records use SpanByteReader.
class RecordByteReader {
public:
  virtual ~RecordByteReader() = default;

  // Fills the buffer with the next count bytes; false when the record ends
  // first (the buffer's content is then unspecified).
  virtual bool ReadBytes(void *buffer, uint32_t count) = 0;

  // A 4-byte little-endian integer.
  bool ReadInt32(int32_t &value);
};

// A record held in memory.
class SpanByteReader : public RecordByteReader {
public:
  SpanByteReader(const uint8_t *data, size_t size) : m_data(data), m_size(size) {}

  bool ReadBytes(void *buffer, uint32_t count) override;
  size_t GetPosition() const { return m_position; }

private:
  const uint8_t *m_data;
  size_t m_size;
  size_t m_position = 0;
};
