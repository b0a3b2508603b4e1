#pragma once

#include <cstdint>

class VORFile;

// The 8-byte reference by which the file, the class registry, the receiver
// table and actions name an object: 16-bit category, 16-bit code, 32-bit id,
// each little-endian in the file. (-1, -1, -1) names no object; (0, 0, id)
// names a well-known receiver.
struct VORObjectCode {
  static constexpr uint32_t kSize = 8;
  // Readers that store only the class half use keys of this length.
  static constexpr uint32_t kClassKeySize = 4;
  // A file that stores references as text spends this many characters on one.
  static constexpr uint32_t kTextSize = 16;

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

  constexpr uint32_t GetClassKey() const {
    return MakeClassKey(static_cast<uint16_t>(category), static_cast<uint16_t>(code));
  }
  constexpr bool Equals(const VORObjectCode &other) const {
    return category == other.category && code == other.code && id == other.id;
  }
  constexpr bool IsNone() const { return category == -1 && code == -1 && id == -1; }
  constexpr bool IsZero() const { return category == 0 && code == 0 && id == 0; }

  constexpr bool operator==(const VORObjectCode &other) const { return Equals(other); }
  constexpr bool operator!=(const VORObjectCode &other) const { return !Equals(other); }

  // The key form: the first length bytes (4 or 8) of the little-endian
  // structure. Decoding 4 bytes leaves the id as it was.
  void ToBytes(uint8_t (&bytes)[kSize]) const;
  void FromBytes(const uint8_t *bytes, uint32_t length);
  // The text form "%04X%04X%08X" (category, code, id); length 4 gives the
  // first 8 characters. Decoding answers false, and makes the reference
  // none, when a character is not one of 0-9, A-F.
  void ToText(char (&text)[kTextSize + 1]) const;
  bool FromText(const char *text, uint32_t length);

  // A reference stored as a field of a record: 8 bytes.
  void Read(VORFile &file);

  // The reference named by the key of the first, resp. next, keyed item of
  // the open folder (length 8, or 4 for the class half: the id then stays as
  // preset). False when there is no further item.
  static bool ReadFirstKey(VORFile &file, VORObjectCode &reference, uint32_t length);
  static bool ReadNextKey(VORFile &file, VORObjectCode &reference, uint32_t length);
};
