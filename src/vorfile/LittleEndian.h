#pragma once

#include <cstdint>

// The integers of every file the player reads (the container, its records,
// pictures, metafiles) are little-endian whatever the machine.
inline uint16_t LittleEndianUint16(const uint8_t *bytes) {
  return static_cast<uint16_t>(static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8);
}

inline uint32_t LittleEndianUint32(const uint8_t *bytes) {
  return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
         static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}
