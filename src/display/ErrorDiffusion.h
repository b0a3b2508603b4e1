#pragma once

#include <cstdint>

#include "display/DibTypes.h"
#include "display/SimdSupport.h"

// Error diffusion to a palette through its 5-5-5 inverse table, as the dither
// engine and the background's 256-colour gradient both do it: per pixel the
// corrected value (what the pixel aims at plus the error carried from its
// left neighbour, clamped to 0..255 per channel) takes the index of its
// inverse-table slot, and what that index's colour misses carries on to the
// next pixel. Each row starts without error.
//
// These are the vector forms; each caller keeps its plain form beside them,
// and both give the same bytes.
namespace ErrorDiffusion {

// Rows are independent, so several run side by side: each pixel waits on two
// table look-ups for its left neighbour's error, and with this many chains in
// flight the processor always has one to work on.
constexpr int32_t kRowsAtOnce = 16;

// An index's colour as the carried error subtracts it: blue, green, red and 0.
struct ChosenColours {
  uint16_t lanes[kMaxColorTableEntries][4];
};

// The error each row carries into its next pixel, as the vector loop holds
// it, kept between calls that continue the same rows.
struct Carried {
  int16_t lanes[kRowsAtOnce][4] = {};
};

// Rows are diffused in blocks of this many columns, so that a block's aims
// stay in the first-level cache beside the 32 KB inverse table.
constexpr int32_t kBlockColumns = 64;

// A block of rows: what each pixel aims at (blue, green, red and 0, as
// 16-bit numbers from -256 to 511) and the index it comes to. The rows lie a
// fixed distance apart, so that the loop reaches all of them from one address.
struct AimBlock {
  int16_t aims[kRowsAtOnce][kBlockColumns][4];
  uint8_t indexes[kRowsAtOnce][kBlockColumns];
};

#if VOR_SSE2_LOOPS
// 1 to kRowsAtOnce rows of count 24-bit pixels (blue, green, red in memory)
// into indexes. The error is halved: e = (value >> 1) - halves, where halves
// holds each colour's channels shifted right by one.
void DitherRows(const uint8_t *const *sources, uint8_t *const *destinations, int32_t rows, int32_t count,
                const uint8_t *inverseTable, const ChosenColours &halves);

// The first rows (1 to kRowsAtOnce) and columns of a block's aims into its
// indexes. The whole error carries: e = value - colour. The rows go on from
// the errors carried, which are left as they stand after the last column.
// With an odd row count the aims of the row past the last are overwritten.
void DiffuseBlock(AimBlock &block, int32_t rows, int32_t columns, const uint8_t *inverseTable,
                  const ChosenColours &colours, Carried &carried);
#endif

} // namespace ErrorDiffusion
