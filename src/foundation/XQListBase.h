#pragma once

#include <cstdint>

// What every list shares, whatever it holds: a fixed number of cursor slots,
// so that one thread can run nested and interleaved walks over one list, and
// a count of the walks now open.
//
// Cursor bookkeeping is not part of a list's contents, so walking a const
// list is allowed.
class XQListBase {
public:
  XQListBase(const XQListBase &) = delete;
  XQListBase &operator=(const XQListBase &) = delete;
  virtual ~XQListBase();

  // Takes the first free slot, stores its index and answers it. When every
  // slot is in use it answers GetCursorCapacity() and stores nothing.
  virtual unsigned OpenCursor(unsigned &index) const = 0;
  // Gives a slot back; an index that is not open is ignored.
  virtual void CloseCursor(unsigned index) const = 0;

  void BeginIteration() const { ++m_activeIterations; }
  void EndIteration() const;

  unsigned GetCursorCapacity() const { return m_cursorCapacity; }
  uint32_t GetActiveIterations() const { return m_activeIterations; }

protected:
  explicit XQListBase(unsigned cursorCapacity) : m_cursorCapacity(cursorCapacity) {}

private:
  const unsigned m_cursorCapacity;
  mutable uint32_t m_activeIterations = 0;
};
