#include "expression/LexerBuffer.h"

#include <cstring>
#include <new>
#include <utility>

#include "foundation/VORException.h"

namespace {

std::unique_ptr<unsigned char[]> Allocate(uint32_t capacity) {
  // One byte more than the capacity, for the terminator.
  unsigned char *bytes = new (std::nothrow) unsigned char[static_cast<size_t>(capacity) + 1];
  if (!bytes)
    throw VORNewFailException(capacity + 1);
  return std::unique_ptr<unsigned char[]>(bytes);
}

} // namespace

LexerBuffer::LexerBuffer(uint32_t initialSize, uint32_t maxSize)
    : m_initialSize(initialSize ? initialSize : 1), m_maxSize(maxSize < m_initialSize ? m_initialSize : maxSize) {
  Reset();
}

void LexerBuffer::Push(unsigned char byte) {
  if (m_size == m_capacity)
    Grow();
  m_bytes[m_size++] = byte;
}

const char *LexerBuffer::TerminatedText() {
  m_bytes[m_size] = '\0';
  return reinterpret_cast<const char *>(m_bytes.get());
}

void LexerBuffer::Reset() {
  m_size = 0;
  if (m_capacity != m_initialSize || !m_bytes) {
    m_bytes = Allocate(m_initialSize);
    m_capacity = m_initialSize;
  }
}

void LexerBuffer::Grow() {
  const uint64_t doubled = uint64_t{m_capacity} * 2;
  if (m_capacity >= m_maxSize)
    throw VORNewFailException(static_cast<uint32_t>(doubled > UINT32_MAX ? UINT32_MAX : doubled));
  const uint32_t capacity = static_cast<uint32_t>(doubled < m_maxSize ? doubled : m_maxSize);
  std::unique_ptr<unsigned char[]> bytes = Allocate(capacity);
  std::memcpy(bytes.get(), m_bytes.get(), m_size);
  m_bytes = std::move(bytes);
  m_capacity = capacity;
}
