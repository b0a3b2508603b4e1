#pragma once

#include "display/RecordByteReader.h"

class VORFile;

// The open record of the compiled file read as bytes: a read that runs past
// the record's end (VORFileNonFatalException) answers false; any other
// failure of the file goes on to the caller as thrown.
class VORFileByteReader : public RecordByteReader {
public:
  explicit VORFileByteReader(VORFile &file) : m_file(file) {}

  bool ReadBytes(void *buffer, uint32_t count) override;

private:
  VORFile &m_file;
};
