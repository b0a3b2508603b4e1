#pragma once

#include <cstdint>
#include <memory>

// A run of bytes that doubles its allocation when full: the lexer's token
// text and its pushed-back characters. Running out of room is an allocation
// failure of the whole program (VORNewFailException), as anywhere else.
class LexerBuffer {
public:
  LexerBuffer(uint32_t initialSize, uint32_t maxSize);

  void Push(unsigned char byte);
  unsigned char Pop() { return m_bytes[--m_size]; }
  unsigned char Back() const { return m_bytes[m_size - 1]; }
  unsigned char At(uint32_t index) const { return m_bytes[index]; }
  uint32_t GetSize() const { return m_size; }
  bool IsEmpty() const { return m_size == 0; }
  void Truncate(uint32_t size) { m_size = size < m_size ? size : m_size; }
  // The bytes as a C string; the terminator is written in the spare byte
  // that every allocation keeps.
  const char *TerminatedText();
  // Empties the buffer and drops a grown allocation.
  void Reset();

private:
  void Grow();

  uint32_t m_initialSize;
  uint32_t m_maxSize;
  uint32_t m_capacity = 0;
  uint32_t m_size = 0;
  std::unique_ptr<unsigned char[]> m_bytes;
};
