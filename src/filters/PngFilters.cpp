#include "filters/PngFilters.h"

#include <cstdlib>
#include <cstring>

#include "display/SimdSupport.h"

namespace {

constexpr uint8_t kSub = 1;
constexpr uint8_t kUp = 2;
constexpr uint8_t kAverage = 3;
constexpr uint8_t kPaeth = 4;

// Written as selects rather than branches: on photographs the choice is
// close to random, and a mispredicted branch costs more than the sum.
uint8_t PaethPredictor(int32_t a, int32_t b, int32_t c) {
  const int32_t pa = std::abs(b - c);
  const int32_t pb = std::abs(a - c);
  const int32_t pc = std::abs(b - c + a - c);
  const int32_t bOrC = pb <= pc ? b : c;
  const int32_t smallest = pb <= pc ? pb : pc;
  return static_cast<uint8_t>(pa <= smallest ? a : bOrC);
}

// The first pixel's left neighbours are zero: Sub leaves it, Average adds
// half the byte above, Paeth the byte above. The rest take their left
// neighbours from the row itself.
void UnfilterPlain(uint8_t type, uint8_t *row, const uint8_t *previous, uint32_t count, uint32_t bpp) {
  const uint32_t first = bpp < count ? bpp : count;
  switch (type) {
  case kSub:
    for (uint32_t i = bpp; i < count; ++i)
      row[i] = static_cast<uint8_t>(row[i] + row[i - bpp]);
    break;
  case kUp:
    for (uint32_t i = 0; i < count; ++i)
      row[i] = static_cast<uint8_t>(row[i] + previous[i]);
    break;
  case kAverage:
    for (uint32_t i = 0; i < first; ++i)
      row[i] = static_cast<uint8_t>(row[i] + (previous[i] >> 1));
    for (uint32_t i = bpp; i < count; ++i)
      row[i] = static_cast<uint8_t>(row[i] + ((row[i - bpp] + previous[i]) >> 1));
    break;
  case kPaeth:
    for (uint32_t i = 0; i < first; ++i)
      row[i] = static_cast<uint8_t>(row[i] + previous[i]);
    for (uint32_t i = bpp; i < count; ++i)
      row[i] = static_cast<uint8_t>(row[i] + PaethPredictor(row[i - bpp], previous[i], previous[i - bpp]));
    break;
  default:
    break;
  }
}

#if VOR_SSE2_LOOPS

// Pixels of 3 or 4 bytes in the low lanes of a register; 3-byte ones are
// loaded and stored without touching the byte after them. The bytes are
// put together in a general register: through memory, a wide load of
// narrower stores would wait for them.
template <uint32_t kBytes>
VOR_TARGET_SSE2 __m128i LoadPixel(const uint8_t *p) {
  uint32_t value = 0;
  if constexpr (kBytes == 4)
    std::memcpy(&value, p, sizeof(value));
  else
    value = uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16;
  return _mm_cvtsi32_si128(static_cast<int>(value));
}

template <uint32_t kBytes>
VOR_TARGET_SSE2 void StorePixel(uint8_t *p, __m128i pixel) {
  const auto value = static_cast<uint32_t>(_mm_cvtsi128_si32(pixel));
  if constexpr (kBytes == 4) {
    std::memcpy(p, &value, sizeof(value));
  } else {
    p[0] = static_cast<uint8_t>(value);
    p[1] = static_cast<uint8_t>(value >> 8);
    p[2] = static_cast<uint8_t>(value >> 16);
  }
}

VOR_TARGET_SSE2 void UpSse2(uint8_t *row, const uint8_t *previous, uint32_t count) {
  uint32_t i = 0;
  for (; i + 16 <= count; i += 16) {
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i *>(row + i));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i *>(previous + i));
    _mm_storeu_si128(reinterpret_cast<__m128i *>(row + i), _mm_add_epi8(x, b));
  }
  for (; i < count; ++i)
    row[i] = static_cast<uint8_t>(row[i] + previous[i]);
}

template <uint32_t kBytes>
VOR_TARGET_SSE2 void SubSse2(uint8_t *row, uint32_t count) {
  __m128i a = _mm_setzero_si128();
  for (uint32_t i = 0; i + kBytes <= count; i += kBytes) {
    a = _mm_add_epi8(a, LoadPixel<kBytes>(row + i));
    StorePixel<kBytes>(row + i, a);
  }
}

template <uint32_t kBytes>
VOR_TARGET_SSE2 void AverageSse2(uint8_t *row, const uint8_t *previous, uint32_t count) {
  const __m128i one = _mm_set1_epi8(1);
  __m128i a = _mm_setzero_si128();
  for (uint32_t i = 0; i + kBytes <= count; i += kBytes) {
    const __m128i b = LoadPixel<kBytes>(previous + i);
    // The rounded-up average less the dropped half: (a + b) >> 1 in bytes.
    const __m128i average = _mm_sub_epi8(_mm_avg_epu8(a, b), _mm_and_si128(_mm_xor_si128(a, b), one));
    a = _mm_add_epi8(LoadPixel<kBytes>(row + i), average);
    StorePixel<kBytes>(row + i, a);
  }
}

// Paeth in 16-bit lanes: pa = |b - c|, pb = |a - c|, pc = |a + b - 2c|;
// the predictor is a when pa is smallest, else b when pb is, else c.
template <uint32_t kBytes>
VOR_TARGET_SSE2 void PaethSse2(uint8_t *row, const uint8_t *previous, uint32_t count) {
  const __m128i zero = _mm_setzero_si128();
  __m128i a = zero;
  __m128i c = zero;
  for (uint32_t i = 0; i + kBytes <= count; i += kBytes) {
    const __m128i b = _mm_unpacklo_epi8(LoadPixel<kBytes>(previous + i), zero);
    const __m128i x = _mm_unpacklo_epi8(LoadPixel<kBytes>(row + i), zero);
    const __m128i bc = _mm_sub_epi16(b, c);
    const __m128i ac = _mm_sub_epi16(a, c);
    const __m128i abc = _mm_add_epi16(bc, ac);
    const __m128i pa = _mm_max_epi16(bc, _mm_sub_epi16(zero, bc));
    const __m128i pb = _mm_max_epi16(ac, _mm_sub_epi16(zero, ac));
    const __m128i pc = _mm_max_epi16(abc, _mm_sub_epi16(zero, abc));
    const __m128i smallest = _mm_min_epi16(pc, _mm_min_epi16(pa, pb));
    const __m128i useA = _mm_cmpeq_epi16(pa, smallest);
    const __m128i useB = _mm_andnot_si128(useA, _mm_cmpeq_epi16(pb, smallest));
    const __m128i useC = _mm_andnot_si128(_mm_or_si128(useA, useB), _mm_set1_epi16(-1));
    const __m128i predictor =
        _mm_or_si128(_mm_or_si128(_mm_and_si128(useA, a), _mm_and_si128(useB, b)), _mm_and_si128(useC, c));
    a = _mm_and_si128(_mm_add_epi16(x, predictor), _mm_set1_epi16(0xFF));
    StorePixel<kBytes>(row + i, _mm_packus_epi16(a, a));
    c = b;
  }
}

template <uint32_t kBytes>
VOR_TARGET_SSE2 void UnfilterPixelsSse2(uint8_t type, uint8_t *row, const uint8_t *previous, uint32_t count) {
  switch (type) {
  case kSub:
    SubSse2<kBytes>(row, count);
    break;
  case kAverage:
    AverageSse2<kBytes>(row, previous, count);
    break;
  case kPaeth:
    PaethSse2<kBytes>(row, previous, count);
    break;
  default:
    break;
  }
}

// True when the vector form took the row.
VOR_TARGET_SSE2 bool UnfilterSse2(uint8_t type, uint8_t *row, const uint8_t *previous, uint32_t count, uint32_t bpp) {
  if (type == kUp) {
    UpSse2(row, previous, count);
    return true;
  }
  // Rows of whole pixels only: a pass's row always is.
  if (count % bpp != 0)
    return false;
  if (bpp == 3)
    UnfilterPixelsSse2<3>(type, row, previous, count);
  else if (bpp == 4)
    UnfilterPixelsSse2<4>(type, row, previous, count);
  else
    return false;
  return true;
}

#endif

} // namespace

void UnfilterPngRow(uint8_t type, uint8_t *row, const uint8_t *previous, uint32_t count, uint32_t bpp,
                    PixelLoops loops) {
#if VOR_SSE2_LOOPS
  if (loops == PixelLoops::kVector && UnfilterSse2(type, row, previous, count, bpp))
    return;
#else
  static_cast<void>(loops);
#endif
  UnfilterPlain(type, row, previous, count, bpp);
}
