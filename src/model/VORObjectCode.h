#pragma once

#include <cstdint>

#include "vorfile/VORObjectKey.h"

class VORFile;

// The 8-byte reference by which the file, the class registry, the receiver
// table and actions name an object: 16-bit category, 16-bit code, 32-bit id.
// (-1, -1, -1) names no object; (0, 0, id) names a well-known receiver.
// In the file it is stored as a VORObjectKey.
struct VORObjectCode {
  static constexpr uint32_t kSize = VORObjectKey::kSize;
  // Readers that store only the class half use keys of this length.
  static constexpr uint32_t kClassKeySize = VORObjectKey::kClassSize;

  int16_t category = -1;
  int16_t code = -1;
  int32_t id = -1;

  constexpr VORObjectCode() = default;
  constexpr VORObjectCode(int16_t categoryValue, int16_t codeValue, int32_t idValue)
      : category(categoryValue), code(codeValue), id(idValue) {}

  static constexpr VORObjectCode None() { return VORObjectCode(); }
  static constexpr VORObjectCode Zero() { return VORObjectCode(0, 0, 0); }
  // The class key: category in the low 16 bits, code in the high 16 bits.
  static constexpr VORObjectCode FromClassKey(uint32_t classKey, int32_t idValue) {
    return VORObjectCode(static_cast<int16_t>(classKey & 0xFFFF), static_cast<int16_t>(classKey >> 16), idValue);
  }
  static constexpr uint32_t MakeClassKey(uint16_t categoryValue, uint16_t codeValue) {
    return static_cast<uint32_t>(categoryValue) | static_cast<uint32_t>(codeValue) << 16;
  }
  static VORObjectCode FromKey(const VORObjectKey &key) {
    return VORObjectCode(static_cast<int16_t>(key.category), static_cast<int16_t>(key.code),
                         static_cast<int32_t>(key.id));
  }

  constexpr uint32_t GetClassKey() const {
    return MakeClassKey(static_cast<uint16_t>(category), static_cast<uint16_t>(code));
  }
  VORObjectKey ToKey() const {
    return VORObjectKey{static_cast<uint16_t>(category), static_cast<uint16_t>(code), static_cast<uint32_t>(id)};
  }
  constexpr bool Equals(const VORObjectCode &other) const {
    return category == other.category && code == other.code && id == other.id;
  }
  constexpr bool IsNone() const { return category == -1 && code == -1 && id == -1; }
  constexpr bool IsZero() const { return category == 0 && code == 0 && id == 0; }

  constexpr bool operator==(const VORObjectCode &other) const { return Equals(other); }
  constexpr bool operator!=(const VORObjectCode &other) const { return !Equals(other); }

  // A reference stored as a field of a record: 8 bytes.
  void Read(VORFile &file);
};
