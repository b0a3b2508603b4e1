#pragma once

#include <cstdint>

#include "vorfile/VORObjectKey.h"

class VORFile;

// Opens one folder of a VORFile for the time of a scope: every record reader
// opens its object's folder through one, so that the folder is closed on
// every way out, exceptions included.
class SectionGuard {
public:
  explicit SectionGuard(VORFile &file) : m_file(file) {}
  ~SectionGuard();
  SectionGuard(const SectionGuard &) = delete;
  SectionGuard &operator=(const SectionGuard &) = delete;

  // The folder keyed by the key's bytes as they are (a top-level entry's
  // 4-byte index, for one). Exceptions of VORFile::OpenFolder pass on, and
  // the guard then has nothing to close. A guard that holds a folder
  // closes it first.
  void Open(const void *key, uint32_t keyLength, bool create, bool inMemory, bool openData);
  // An object's folder, keyed by the reference's first keyLength bytes (at
  // most 8); in a text file by its text form, twice as long.
  void Open(const VORObjectKey &reference, uint32_t keyLength, bool create, bool inMemory, bool openData);
  // Closes the folder now rather than at the end of the scope.
  void Close();

  bool IsOpen() const { return m_opened; }

private:
  VORFile &m_file;
  bool m_opened = false;
};
