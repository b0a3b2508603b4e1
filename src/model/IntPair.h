#pragma once

#include <cstdint>

class VORFile;

// Two 32-bit values of a record (a point or a size); each one the record no
// longer holds becomes 0.
struct IntPair {
  int32_t first = 0;
  int32_t second = 0;

  void Read(VORFile &file);
};
