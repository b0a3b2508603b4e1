#pragma once

#include <cstdint>

#include "model/VORObjectCode.h"

class VORFile;

// Opens a folder of the compiled file for the time of a scope: the folder of
// an object, keyed by its reference, or the next anonymous folder (a further
// part of the enclosing record). The folder closes when the scope ends, also
// on an exception.
class VORObjectSection {
public:
  explicit VORObjectSection(VORFile &file) : m_file(file) {}
  VORObjectSection(const VORObjectSection &) = delete;
  VORObjectSection &operator=(const VORObjectSection &) = delete;
  ~VORObjectSection();

  // keyLength 8 compares the whole reference, 4 only its class half. A file
  // that stores keys as text is given the reference's text form.
  void Open(const VORObjectCode &reference, uint32_t keyLength, bool inMemory, bool openData);
  // The next folder item of the open folder, keyed or not (key length 0).
  void OpenNext(bool inMemory, bool openData);
  void Close();

private:
  VORFile &m_file;
  bool m_opened = false;
};
