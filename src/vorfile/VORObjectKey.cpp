#include "vorfile/VORObjectKey.h"

#include <algorithm>
#include <cstddef>

namespace {

constexpr uint32_t kCategoryOffset = 0;
constexpr uint32_t kCodeOffset = 2;
constexpr uint32_t kIdOffset = 4;
constexpr uint32_t kBitsPerByte = 8;
constexpr uint32_t kBitsPerDigit = 4;
constexpr uint32_t kDigitsPerHalf = 4; // each 16-bit half of the text form
constexpr uint32_t kCodeTextOffset = kDigitsPerHalf;
constexpr uint32_t kIdTextOffset = 2 * kDigitsPerHalf;
constexpr uint32_t kIdDigits = 2 * kDigitsPerHalf;

void PutUint(uint8_t *bytes, uint32_t value, uint32_t width) {
  for (uint32_t i = 0; i < width; ++i)
    bytes[i] = static_cast<uint8_t>(value >> (i * kBitsPerByte));
}

uint32_t GetUint(const uint8_t *bytes, uint32_t width) {
  uint32_t value = 0;
  for (uint32_t i = 0; i < width; ++i)
    value |= static_cast<uint32_t>(bytes[i]) << (i * kBitsPerByte);
  return value;
}

void PutDigits(char *text, uint32_t value, uint32_t digits) {
  static const char kDigits[] = "0123456789ABCDEF";
  for (uint32_t i = 0; i < digits; ++i)
    text[digits - 1 - i] = kDigits[(value >> (i * kBitsPerDigit)) & 0xF];
}

// -1 for anything but 0-9 and A-F.
int DigitValue(char c) {
  if (c >= '0' && c <= '9')
    return c - '0';
  if (c >= 'A' && c <= 'F')
    return c - 'A' + 10;
  return -1;
}

} // namespace

void VORObjectKey::ToBytes(uint8_t (&bytes)[kSize]) const {
  PutUint(bytes + kCategoryOffset, category, sizeof(category));
  PutUint(bytes + kCodeOffset, code, sizeof(code));
  PutUint(bytes + kIdOffset, id, sizeof(id));
}

void VORObjectKey::FromBytes(const uint8_t *bytes, uint32_t length) {
  if (length >= kCodeOffset)
    category = static_cast<uint16_t>(GetUint(bytes + kCategoryOffset, sizeof(category)));
  if (length >= kIdOffset)
    code = static_cast<uint16_t>(GetUint(bytes + kCodeOffset, sizeof(code)));
  if (length >= kSize)
    id = GetUint(bytes + kIdOffset, sizeof(id));
}

void VORObjectKey::ToText(char (&text)[kTextSize + 1]) const {
  PutDigits(text, category, kDigitsPerHalf);
  PutDigits(text + kCodeTextOffset, code, kDigitsPerHalf);
  PutDigits(text + kIdTextOffset, id, kIdDigits);
  text[kTextSize] = '\0';
}

bool VORObjectKey::FromText(const char *text, uint32_t length) {
  length = std::min(length, kTextSize);
  if (!std::all_of(text, text + length, [](char c) { return DigitValue(c) >= 0; })) {
    *this = None();
    return false;
  }
  // Four 16-bit halves: category, code, then the id's high and low halves.
  uint32_t halves[kTextSize / kDigitsPerHalf] = {category, code, id >> 16, id & 0xFFFF};
  for (uint32_t half = 0; half < length / kDigitsPerHalf; ++half) {
    uint32_t value = 0;
    for (uint32_t i = 0; i < kDigitsPerHalf; ++i)
      value = value << kBitsPerDigit |
              static_cast<uint32_t>(DigitValue(text[static_cast<size_t>(half) * kDigitsPerHalf + i]));
    halves[half] = value;
  }
  category = static_cast<uint16_t>(halves[0]);
  code = static_cast<uint16_t>(halves[1]);
  id = halves[2] << 16 | halves[3];
  return true;
}
