#pragma once

// Reads a fuzz input front to back as little-endian fields, so that seeds
// written field by field stay readable: a field past the end reads as 0, and
// Rest hands over whatever is left.

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

class FuzzBytes {
public:
  FuzzBytes(const uint8_t *data, size_t size) : m_data(data), m_size(size) {}

  template <class T>
  T Take() {
    uint64_t value = 0;
    for (size_t i = 0; i < sizeof(T); ++i)
      value |= uint64_t{Byte()} << (8 * i);
    return static_cast<T>(value);
  }
  std::vector<uint8_t> Take(size_t count) {
    const size_t n = count < Left() ? count : Left();
    std::vector<uint8_t> bytes(m_data + m_at, m_data + m_at + n);
    m_at += n;
    return bytes;
  }
  std::vector<uint8_t> Rest() { return Take(Left()); }
  size_t Left() const { return m_size - m_at; }

private:
  uint8_t Byte() { return m_at < m_size ? m_data[m_at++] : 0; }

  const uint8_t *m_data;
  size_t m_size;
  size_t m_at = 0;
};

// The writer of such inputs, for the seed programs.
class FuzzSeed {
public:
  template <class T>
  FuzzSeed &Put(T value) {
    for (size_t i = 0; i < sizeof(T); ++i)
      m_bytes.push_back(static_cast<uint8_t>(static_cast<uint64_t>(value) >> (8 * i)));
    return *this;
  }
  FuzzSeed &Append(const std::vector<uint8_t> &bytes) {
    m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end());
    return *this;
  }
  std::vector<uint8_t> Take() { return std::move(m_bytes); }

private:
  std::vector<uint8_t> m_bytes;
};
