#pragma once

#include <cstdint>
#include <memory>

#include "vorfile/XQFileStream.h"

// A span of another stream served from a memory window, so that the many
// small reads of a record are copies instead of a seek and a read each.
//
// The stream built from a source is the owner: it reads through a clone of
// the source and holds the window. A copy made by Clone has no window; it
// reads through the owner (also when copied from another copy) and must not
// outlive it.
// Positions count from the start of the span.
class XQMemoryFileStream : public XQFileStream {
public:
  static constexpr uint32_t kWindowSize = 0x80000; // 512 KiB

  // The span of `length` bytes that starts at the source's position.
  XQMemoryFileStream(XQFileStream &source, uint32_t length);
  XQMemoryFileStream(const XQMemoryFileStream &) = delete;
  ~XQMemoryFileStream() override;

  // Always true for the owner: bytesRead tells how much came, nothing at or
  // after the span's end. A copy answers its parent's result.
  bool Read(void *buffer, uint32_t count, uint32_t &bytesRead) override;
  // Refused: positions count within the span, not within the file, so a
  // write would land on the wrong bytes.
  bool Write(const void *buffer, uint32_t count, uint32_t &bytesWritten) override;
  // A copy whose span starts at this stream's current position.
  bool Clone(std::unique_ptr<XQFileStream> &clone) override;

  bool IsOwner() const { return m_owner; }

private:
  struct CopyOf {};
  XQMemoryFileStream(XQMemoryFileStream &parent, CopyOf);

  bool ReadFromWindow(uint8_t *buffer, uint32_t count, uint32_t &bytesRead);
  bool ReadThroughParent(void *buffer, uint32_t count, uint32_t &bytesRead);
  bool FillWindow(uint32_t position);

  std::unique_ptr<uint8_t[]> m_window;
  uint32_t m_length;
  bool m_owner;
  std::unique_ptr<XQFileStream> m_ownedSource;
  XQFileStream *m_source; // the owned clone, or the parent of a copy
  uint32_t m_windowStart = 0;
  uint32_t m_windowLength = 0;
  uint32_t m_base;
};
