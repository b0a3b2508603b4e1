#pragma once

#include <cstdint>

#include "vorfile/VORFile.h"
#include "vorfile/VORFileException.h"

// Little-endian fields of a record, each read with VORFile::ReadExact, so a
// record that ends before the field throws VORFileIncompleteReadException.
namespace VORRecordFields {

inline uint32_t ReadUint32(VORFile &file) {
  uint8_t bytes[4];
  file.ReadExact(bytes, sizeof bytes);
  return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
         static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

inline int32_t ReadInt32(VORFile &file) { return static_cast<int32_t>(ReadUint32(file)); }

inline int16_t ReadInt16(VORFile &file) {
  uint8_t bytes[2];
  file.ReadExact(bytes, sizeof bytes);
  return static_cast<int16_t>(static_cast<uint16_t>(bytes[0] | bytes[1] << 8));
}

inline uint8_t ReadByte(VORFile &file) {
  uint8_t byte = 0;
  file.ReadExact(&byte, 1);
  return byte;
}

// Reads a field that later versions or shorter records may lack: read runs
// the reading; when the record ends first (VORFileNonFatalException) the
// field takes fallback.
template <class T, class Reader>
void ReadOptional(T &field, const T &fallback, Reader read) {
  try {
    read();
  } catch (VORFileNonFatalException &) {
    field = fallback;
  }
}

} // namespace VORRecordFields
