#pragma once

#include "foundation/XQString.h"

class VORFile;

// A string that reads itself from a record: a 4-byte little-endian length,
// then that many bytes without terminator.
class VORString : public XQString {
public:
  using XQString::XQString;
  VORString() = default;
  VORString(const VORString &) = default;
  VORString(VORString &&) = default;
  VORString &operator=(const VORString &) = default;
  VORString &operator=(VORString &&) = default;
  virtual ~VORString();

  // At the end of the record the string is left empty. When the record ends
  // inside the text, VORFileIncompleteReadException passes on to the
  // record's reader and the string stays empty.
  virtual void Read(VORFile &file);

  // Bytes of text asked of the file at a time: a length that the record
  // cannot back runs into the record's end before memory grows beyond it.
  static constexpr uint32_t kReadChunkSize = 0x10000;
};
