#pragma once

#include <cstdint>

// The 8 bytes by which the compiled file keys an object's folder and lists
// its references: category, code and id, little-endian. The model's object
// reference converts to and from it; the file layer needs no more than this.
//
// Some readers use only the class half (category and code), with a key
// length of kClassSize; the id then stays as the caller preset it.
struct VORObjectKey {
  static constexpr uint32_t kSize = 8;
  static constexpr uint32_t kClassSize = 4;
  // "%04X%04X%08X": the form in which a text file stores a reference.
  static constexpr uint32_t kTextSize = 16;
  static constexpr uint16_t kNoCategory = 0xFFFF;
  static constexpr uint16_t kNoCode = 0xFFFF;
  static constexpr uint32_t kNoId = 0xFFFFFFFF;

  uint16_t category;
  uint16_t code;
  uint32_t id;

  // (-1, -1, -1): no object.
  static VORObjectKey None() { return {kNoCategory, kNoCode, kNoId}; }
  bool IsNone() const { return category == kNoCategory && code == kNoCode && id == kNoId; }
  bool Equals(const VORObjectKey &other) const {
    return category == other.category && code == other.code && id == other.id;
  }

  void ToBytes(uint8_t (&bytes)[kSize]) const;
  // Takes the first `length` bytes (at most kSize): the class half, and the
  // id too when length is kSize. Fields the bytes do not reach stay as they are.
  void FromBytes(const uint8_t *bytes, uint32_t length);

  // The 16 characters and a NUL.
  void ToText(char (&text)[kTextSize + 1]) const;
  // Reads `length` characters (at most kTextSize) of the text form. Any
  // character other than 0-9 and A-F makes the whole reference none and
  // answers false.
  bool FromText(const char *text, uint32_t length);
};
