#include "model/VORObjectCode.h"

#include <cstdio>

#include "vorfile/VORFile.h"

namespace {

constexpr uint32_t kHexDigitBits = 4;

uint32_t LoadLittleEndian(const uint8_t *bytes, uint32_t count) {
  uint32_t value = 0;
  for (uint32_t i = 0; i < count; ++i)
    value |= static_cast<uint32_t>(bytes[i]) << (8 * i);
  return value;
}

void StoreLittleEndian(uint8_t *bytes, uint32_t value, uint32_t count) {
  for (uint32_t i = 0; i < count; ++i)
    bytes[i] = static_cast<uint8_t>(value >> (8 * i));
}

// Only upper-case digits are written, and only they are read back.
bool HexValue(char digit, uint32_t &value) {
  if (digit >= '0' && digit <= '9')
    value = static_cast<uint32_t>(digit - '0');
  else if (digit >= 'A' && digit <= 'F')
    value = static_cast<uint32_t>(digit - 'A' + 10);
  else
    return false;
  return true;
}

bool ParseHex(const char *text, uint32_t count, uint32_t &value) {
  value = 0;
  for (uint32_t i = 0; i < count; ++i) {
    uint32_t digit = 0;
    if (!HexValue(text[i], digit))
      return false;
    value = value << kHexDigitBits | digit;
  }
  return true;
}

bool ReadKey(VORFile &file, VORObjectCode &reference, uint32_t length, bool first) {
  if (file.IsBinary()) {
    uint8_t key[VORObjectCode::kSize] = {};
    const uint32_t keyLength = length < VORObjectCode::kSize ? length : VORObjectCode::kSize;
    if (!(first ? file.FirstKey(key, keyLength) : file.NextKey(key, keyLength)))
      return false;
    reference.FromBytes(key, keyLength);
    return true;
  }
  char text[VORObjectCode::kTextSize] = {};
  const uint32_t textLength = 2 * (length < VORObjectCode::kSize ? length : VORObjectCode::kSize);
  if (!(first ? file.FirstKey(text, textLength) : file.NextKey(text, textLength)))
    return false;
  reference.FromText(text, textLength);
  return true;
}

} // namespace

void VORObjectCode::ToBytes(uint8_t (&bytes)[kSize]) const {
  StoreLittleEndian(bytes, static_cast<uint16_t>(category), 2);
  StoreLittleEndian(bytes + 2, static_cast<uint16_t>(code), 2);
  StoreLittleEndian(bytes + 4, static_cast<uint32_t>(id), 4);
}

void VORObjectCode::FromBytes(const uint8_t *bytes, uint32_t length) {
  if (length >= kClassKeySize) {
    category = static_cast<int16_t>(LoadLittleEndian(bytes, 2));
    code = static_cast<int16_t>(LoadLittleEndian(bytes + 2, 2));
  }
  if (length >= kSize)
    id = static_cast<int32_t>(LoadLittleEndian(bytes + 4, 4));
}

void VORObjectCode::ToText(char (&text)[kTextSize + 1]) const {
  std::snprintf(text, sizeof text, "%04X%04X%08X", static_cast<unsigned>(static_cast<uint16_t>(category)),
                static_cast<unsigned>(static_cast<uint16_t>(code)), static_cast<unsigned>(id));
}

bool VORObjectCode::FromText(const char *text, uint32_t length) {
  uint32_t categoryValue = 0;
  uint32_t codeValue = 0;
  uint32_t idValue = static_cast<uint32_t>(id);
  bool valid = length >= 2 * kClassKeySize && ParseHex(text, 4, categoryValue) && ParseHex(text + 4, 4, codeValue);
  if (valid && length >= 2 * kSize)
    valid = ParseHex(text + 8, 8, idValue);
  if (!valid) {
    *this = None();
    return false;
  }
  category = static_cast<int16_t>(categoryValue);
  code = static_cast<int16_t>(codeValue);
  id = static_cast<int32_t>(idValue);
  return true;
}

void VORObjectCode::Read(VORFile &file) {
  uint8_t bytes[kSize] = {};
  file.ReadExact(bytes, kSize);
  FromBytes(bytes, kSize);
}

bool VORObjectCode::ReadFirstKey(VORFile &file, VORObjectCode &reference, uint32_t length) {
  return ReadKey(file, reference, length, true);
}

bool VORObjectCode::ReadNextKey(VORFile &file, VORObjectCode &reference, uint32_t length) {
  return ReadKey(file, reference, length, false);
}
