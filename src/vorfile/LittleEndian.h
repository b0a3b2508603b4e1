#pragma once

#include <cstdint>

// The container's integers are little-endian whatever the machine.
inline uint32_t LittleEndianUint32(const uint8_t *bytes) {
  return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
         static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}
