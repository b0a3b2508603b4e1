#pragma once

// Frozen, deliberately simple forms of the hot pixel loops, written straight
// from their rules. The fast forms in src/display are compared with these
// byte for byte; these are never optimised.

#include <algorithm>
#include <cstdint>

#include "display/DibTypes.h"

namespace reference {

// Error carried to the right only: e = (corrected >> 1) - (chosen >> 1) per
// channel; the next pixel is matched and carries from its corrected value.
inline void DitherRow(const uint8_t *source, uint8_t *destination, int count, const uint8_t *inverseTable,
                      const RgbQuad *colours) {
  int error[3] = {0, 0, 0}; // blue, green, red
  for (int i = 0; i < count; ++i) {
    int corrected[3];
    for (int c = 0; c < 3; ++c) {
      corrected[c] = std::clamp(source[3 * i + c] + error[c], 0, 255);
    }
    const int slot = (corrected[2] >> 3) | (corrected[1] >> 3) << 5 | (corrected[0] >> 3) << 10;
    const uint8_t index = inverseTable[slot];
    destination[i] = index;
    const int chosen[3] = {colours[index].blue, colours[index].green, colours[index].red};
    for (int c = 0; c < 3; ++c) {
      error[c] = (corrected[c] >> 1) - (chosen[c] >> 1);
    }
  }
}

// Colour over 24-bit pixels at a level 1..256.
inline void BlendColorRow24(uint8_t *row, int count, ColorRef colour, int level, const uint8_t *coverage) {
  const int channels[3] = {BlueOf(colour), GreenOf(colour), RedOf(colour)};
  const int kept = level >= 256 ? 0 : 255 - level;
  for (int i = 0; i < count; ++i) {
    if (coverage != nullptr && coverage[i] == 0) {
      continue;
    }
    for (int c = 0; c < 3; ++c) {
      row[3 * i + c] = static_cast<uint8_t>(channels[c] * level / 256 + ((kept * row[3 * i + c]) >> 8));
    }
  }
}

// 24-bit source over destination at a level 1..256.
inline void BlendRow24(uint8_t *destination, const uint8_t *source, int count, int level, const uint8_t *coverage) {
  for (int i = 0; i < count; ++i) {
    if (coverage != nullptr && coverage[i] == 0) {
      continue;
    }
    for (int c = 0; c < 3; ++c) {
      destination[3 * i + c] =
          static_cast<uint8_t>((source[3 * i + c] * level + destination[3 * i + c] * (256 - level)) >> 8);
    }
  }
}

} // namespace reference
