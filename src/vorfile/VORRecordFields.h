#pragma once

#include <cstdint>
#include <cstring>
#include <type_traits>

#include "foundation/VORRect.h"
#include "vorfile/LittleEndian.h"
#include "vorfile/VORFile.h"
#include "vorfile/VORFileException.h"

// The fields of a record, each read with VORFile::ReadExact: a record that
// ends before a field throws VORFileIncompleteReadException (a
// VORFileNonFatalException); any other failure of the file passes through.
namespace VORRecordFields {

// An integer of sizeof(T) bytes, little-endian, or an object that reads
// itself (T::Read(VORFile &)).
template <class T>
T Read(VORFile &file) {
  if constexpr (std::is_integral_v<T>) {
    static_assert(!std::is_same_v<T, bool> && (sizeof(T) == 1 || sizeof(T) == 2 || sizeof(T) == 4),
                  "records hold integers of 1, 2 or 4 bytes");
    uint8_t bytes[sizeof(T)];
    file.ReadExact(bytes, sizeof bytes);
    if constexpr (sizeof(T) == 1) {
      return static_cast<T>(bytes[0]);
    } else if constexpr (sizeof(T) == 2) {
      return static_cast<T>(LittleEndianUint16(bytes));
    } else {
      return static_cast<T>(LittleEndianUint32(bytes));
    }
  } else {
    T value;
    value.Read(file);
    return value;
  }
}

inline uint32_t ReadUint32(VORFile &file) { return Read<uint32_t>(file); }
inline int32_t ReadInt32(VORFile &file) { return Read<int32_t>(file); }
inline int16_t ReadInt16(VORFile &file) { return Read<int16_t>(file); }
inline uint8_t ReadByte(VORFile &file) { return Read<uint8_t>(file); }

// An 8-byte IEEE double, little-endian; any bit pattern, NaN included, is
// the caller's to check.
inline double ReadDouble(VORFile &file) {
  uint8_t bytes[8];
  file.ReadExact(bytes, sizeof bytes);
  const uint64_t bits =
      static_cast<uint64_t>(LittleEndianUint32(bytes)) | static_cast<uint64_t>(LittleEndianUint32(bytes + 4)) << 32;
  double value = 0;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

// Keeps the fallback's type out of deduction: the field's type is always
// named, so a literal fallback cannot change how many bytes are read.
template <class T>
struct FieldType {
  using Type = T;
};

// A field that later versions or shorter records may lack, read as Read<T>
// does; fallback when the record ends first (VORFileNonFatalException).
//   flags = ReadOr<uint32_t>(file, 0);
template <class T>
T ReadOr(VORFile &file, const typename FieldType<T>::Type &fallback) {
  try {
    return Read<T>(file);
  } catch (VORFileNonFatalException &) {
    return fallback;
  }
}

// For what ReadOr cannot say in one value: read runs the reading; when the
// record ends first the field takes fallback.
template <class T, class Reader>
void ReadOptional(T &field, const T &fallback, Reader read) {
  try {
    read();
  } catch (VORFileNonFatalException &) {
    field = fallback;
  }
}

// Four 32-bit fields, left, top, right, bottom. A field missing at the end
// of the record reads as 0 and the following ones are still attempted.
inline VORRect ReadRect(VORFile &file) {
  VORRect rect;
  rect.left = ReadOr<int32_t>(file, 0);
  rect.top = ReadOr<int32_t>(file, 0);
  rect.right = ReadOr<int32_t>(file, 0);
  rect.bottom = ReadOr<int32_t>(file, 0);
  return rect;
}

} // namespace VORRecordFields
