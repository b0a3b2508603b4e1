#include "display/ErrorDiffusion.h"

#include <cstddef>
#include <cstring>

namespace ErrorDiffusion {

#if VOR_SSE2_LOOPS
namespace {

// Two rows share a register: pixel i of the first in 16-bit lanes 0-3, of the
// second in lanes 4-7, each as blue, green, red and a fourth lane. The fourth
// lane's value does not matter: its slot weight is 0 and no step mixes it
// with the others.

// 24-bit rows. A pixel is read as four bytes (the fourth belongs to the next
// pixel), except the last of a row, which is read in three so that nothing
// past the row is touched.
class BytePixels {
public:
  explicit BytePixels(const uint8_t *const *rows) : m_rows(rows) {}
  VOR_TARGET_SSE2 __m128i Pair(int32_t first, size_t i) const {
    uint32_t a = 0, b = 0;
    std::memcpy(&a, m_rows[first] + i * 3, sizeof a);
    std::memcpy(&b, m_rows[first + 1] + i * 3, sizeof b);
    return Widen(a, b);
  }
  VOR_TARGET_SSE2 __m128i LastPair(int32_t first, size_t i) const {
    return Widen(ThreeBytes(m_rows[first] + i * 3), ThreeBytes(m_rows[first + 1] + i * 3));
  }

private:
  static uint32_t ThreeBytes(const uint8_t *pixel) {
    return static_cast<uint32_t>(pixel[0]) | static_cast<uint32_t>(pixel[1]) << 8 |
           static_cast<uint32_t>(pixel[2]) << 16;
  }
  VOR_TARGET_SSE2 static __m128i Widen(uint32_t a, uint32_t b) {
    const __m128i pair =
        _mm_unpacklo_epi32(_mm_cvtsi32_si128(static_cast<int>(a)), _mm_cvtsi32_si128(static_cast<int>(b)));
    return _mm_unpacklo_epi8(pair, _mm_setzero_si128());
  }
  const uint8_t *const *m_rows;
};

// Where the indexes of rows given by their addresses go.
class RowDestinations {
public:
  explicit RowDestinations(uint8_t *const *rows) : m_rows(rows) {}
  uint8_t *At(int32_t row, size_t i) const { return m_rows[row] + i; }

private:
  uint8_t *const *m_rows;
};

// A block's aims and indexes, each row a fixed distance from the last, so
// that a loop reaches every row from one address.
class BlockAims {
public:
  explicit BlockAims(const AimBlock &block) : m_block(block) {}
  VOR_TARGET_SSE2 __m128i Pair(int32_t first, size_t i) const {
    return _mm_unpacklo_epi64(_mm_loadl_epi64(reinterpret_cast<const __m128i *>(m_block.aims[first][i])),
                              _mm_loadl_epi64(reinterpret_cast<const __m128i *>(m_block.aims[first + 1][i])));
  }
  VOR_TARGET_SSE2 __m128i LastPair(int32_t first, size_t i) const { return Pair(first, i); }

private:
  const AimBlock &m_block;
};

class BlockDestinations {
public:
  explicit BlockDestinations(AimBlock &block) : m_block(block) {}
  uint8_t *At(int32_t row, size_t i) const { return &m_block.indexes[row][i]; }

private:
  AimBlock &m_block;
};

// One pixel of two rows: writes both indexes and answers the error the rows
// carry on. The slots of both pixels come out of one multiply-add: blue x
// 1024 + green x 32 and red x 1, summed across neighbouring lanes.
template <bool Halve>
VOR_TARGET_SSE2 inline __m128i Step(__m128i aim, __m128i carried, uint8_t *first, uint8_t *second,
                                    const uint8_t *inverseTable, const ChosenColours &chosen) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i slotWeights = _mm_set_epi16(0, 1, 1 << 5, 1 << 10, 0, 1, 1 << 5, 1 << 10);
  // Clamped to 0..255 by packing with unsigned saturation, then widened again.
  const __m128i value = _mm_unpacklo_epi8(_mm_packus_epi16(_mm_adds_epi16(aim, carried), zero), zero);
  const __m128i parts = _mm_madd_epi16(_mm_srli_epi16(value, 3), slotWeights);
  const __m128i slots = _mm_add_epi32(parts, _mm_shuffle_epi32(parts, _MM_SHUFFLE(2, 3, 0, 1)));
  const uint8_t firstIndex = inverseTable[static_cast<uint32_t>(_mm_cvtsi128_si32(slots))];
  const uint8_t secondIndex = inverseTable[static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_srli_si128(slots, 8)))];
  *first = firstIndex;
  *second = secondIndex;
  const __m128i colours =
      _mm_unpacklo_epi64(_mm_loadl_epi64(reinterpret_cast<const __m128i *>(chosen.lanes[firstIndex])),
                         _mm_loadl_epi64(reinterpret_cast<const __m128i *>(chosen.lanes[secondIndex])));
  return _mm_sub_epi16(Halve ? _mm_srli_epi16(value, 1) : value, colours);
}

// Pairs pairs of rows.
template <bool Halve, int32_t Pairs, class Pixels, class Destinations>
VOR_TARGET_SSE2 void RunPairs(const Pixels &pixels, const Destinations &destinations, int32_t count,
                              const uint8_t *inverseTable, const ChosenColours &chosen, Carried &state) {
  __m128i carried[Pairs];
  for (int32_t p = 0; p < Pairs; ++p) {
    carried[p] = _mm_loadu_si128(reinterpret_cast<const __m128i *>(state.lanes[2 * static_cast<size_t>(p)]));
  }
  const size_t last = static_cast<size_t>(count) - 1;
  for (size_t i = 0; i < last; ++i) {
#pragma GCC unroll 16
    for (int32_t p = 0; p < Pairs; ++p) {
      carried[p] = Step<Halve>(pixels.Pair(2 * p, i), carried[p], destinations.At(2 * p, i),
                               destinations.At(2 * p + 1, i), inverseTable, chosen);
    }
  }
#pragma GCC unroll 16
  for (int32_t p = 0; p < Pairs; ++p) {
    carried[p] = Step<Halve>(pixels.LastPair(2 * p, last), carried[p], destinations.At(2 * p, last),
                             destinations.At(2 * p + 1, last), inverseTable, chosen);
    _mm_storeu_si128(reinterpret_cast<__m128i *>(state.lanes[2 * static_cast<size_t>(p)]), carried[p]);
  }
}

// The largest run that fits the pair count.
template <bool Halve, int32_t Pairs, class Pixels, class Destinations>
VOR_TARGET_SSE2 void RunSomePairs(int32_t pairs, const Pixels &pixels, const Destinations &destinations, int32_t count,
                                  const uint8_t *inverseTable, const ChosenColours &chosen, Carried &carried) {
  if constexpr (Pairs > 1) {
    if (pairs < Pairs) {
      RunSomePairs<Halve, Pairs - 1>(pairs, pixels, destinations, count, inverseTable, chosen, carried);
      return;
    }
  }
  RunPairs<Halve, Pairs>(pixels, destinations, count, inverseTable, chosen, carried);
}

// An odd row count pairs the last row with itself: both carry the same error.
void PadCarried(Carried &carried, int32_t rowCount) {
  if (rowCount % 2 != 0) {
    std::memcpy(carried.lanes[rowCount], carried.lanes[rowCount - 1], sizeof carried.lanes[0]);
  }
}

} // namespace

void DitherRows(const uint8_t *const *sources, uint8_t *const *destinations, int32_t rows, int32_t count,
                const uint8_t *inverseTable, const ChosenColours &halves) {
  if (rows <= 0 || count <= 0) {
    return;
  }
  // Rows past the count repeat the last, writing the same bytes.
  const uint8_t *paddedSources[kRowsAtOnce];
  uint8_t *paddedDestinations[kRowsAtOnce];
  for (int32_t r = 0; r < kRowsAtOnce; ++r) {
    paddedSources[r] = sources[r < rows ? r : rows - 1];
    paddedDestinations[r] = destinations[r < rows ? r : rows - 1];
  }
  Carried fresh;
  RunSomePairs<true, kRowsAtOnce / 2>((rows + 1) / 2, BytePixels(paddedSources), RowDestinations(paddedDestinations),
                                      count, inverseTable, halves, fresh);
}

void DiffuseBlock(AimBlock &block, int32_t rows, int32_t columns, const uint8_t *inverseTable,
                  const ChosenColours &colours, Carried &carried) {
  if (rows <= 0 || rows > kRowsAtOnce || columns <= 0 || columns > kBlockColumns) {
    return;
  }
  if (rows % 2 != 0 && rows < kRowsAtOnce) {
    std::memcpy(block.aims[rows], block.aims[rows - 1], sizeof block.aims[0][0] * static_cast<size_t>(columns));
  }
  PadCarried(carried, rows);
  RunSomePairs<false, kRowsAtOnce / 2>((rows + 1) / 2, BlockAims(block), BlockDestinations(block), columns,
                                       inverseTable, colours, carried);
}
#endif

} // namespace ErrorDiffusion
