#pragma once

#include <cstdint>

#include "vorfile/LittleEndian.h"

// The 32-bit little-endian word that begins every item of a folder body.
// Its length counts what follows the header (key bytes included), never the
// header's own bytes.
struct FolderItemHeader {
  static constexpr uint32_t kSize = 4;
  static constexpr uint32_t kDataBit = 0x80000000u;  // a data item, without key
  static constexpr uint32_t kNoKeyBit = 0x40000000u; // a folder item without key
  static constexpr uint32_t kLengthMask = 0x3FFFFFFFu;
  static constexpr uint32_t kMaxLength = kLengthMask;

  uint32_t word;

  static FolderItemHeader FromBytes(const uint8_t (&bytes)[kSize]) { return {LittleEndianUint32(bytes)}; }

  bool IsData() const { return (word & kDataBit) != 0; }
  // A folder item without key: no non-empty key matches it, key walks pass it.
  bool IsAnonymous() const { return !IsData() && (word & kNoKeyBit) != 0; }
  bool IsKeyedFolder() const { return (word & (kDataBit | kNoKeyBit)) == 0; }
  uint32_t GetLength() const { return word & kLengthMask; }
};
