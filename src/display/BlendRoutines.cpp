#include "display/BlendRoutines.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "display/ColumnGather.h"
#include "display/CoverageBits.h"
#include "display/DibImage.h"
#include "display/Palette.h"
#include "display/SimdSupport.h"

namespace {

constexpr int32_t kFullLevel = 256;
constexpr int32_t kFullOpacity = 255;
constexpr int32_t kBytesPerPixel24 = 3;
constexpr size_t kVectorBytes = 16;

// The weight the old pixel keeps under a colour at a level: 255 - level,
// and nothing at the full level (so the colour comes out exactly).
int32_t KeptWeight(int32_t level) { return level >= kFullLevel ? 0 : kFullOpacity - level; }

uint8_t PremultipliedChannel(uint8_t channel, int32_t level) {
  return static_cast<uint8_t>(static_cast<int32_t>(channel) * level / kFullLevel);
}

void BlendColorPixel24(uint8_t *pixel, const uint8_t premultiplied[3], int32_t kept) {
  for (int32_t c = 0; c < kBytesPerPixel24; ++c) {
    pixel[c] = static_cast<uint8_t>(premultiplied[c] + ((kept * pixel[c]) >> 8));
  }
}

uint8_t MixChannel(uint8_t source, uint8_t destination, int32_t level) {
  return static_cast<uint8_t>((source * level + destination * (kFullLevel - level)) >> 8);
}

void BlendPixel24(uint8_t *destination, const uint8_t *source, int32_t level) {
  for (int32_t c = 0; c < kBytesPerPixel24; ++c) {
    destination[c] = MixChannel(source[c], destination[c], level);
  }
}

// Which pixels of a row a loop blends: coverage bytes as the row loops take
// them (none: every pixel), or the bits the image blends make from masks.
// Both are passed by value, so that a loop keeps them in a register while it
// writes bytes.
struct CoverageBytes {
  const uint8_t *bytes;
};

struct CoverageWords {
  const uint64_t *words;
};

CoverageWords WordsOf(const CoverageBits &coverage) { return CoverageWords{coverage.Words()}; }

bool IsWhole(CoverageBytes coverage) { return coverage.bytes == nullptr; }
bool IsWhole(CoverageWords) { return false; }
bool IsCovered(CoverageBytes coverage, int32_t i) { return coverage.bytes == nullptr || coverage.bytes[i] != 0; }
bool IsCovered(CoverageWords coverage, int32_t i) { return CoverageBits::IsCovered(coverage.words, i); }

// Calls blend(i) for the covered pixels from first to count - 1.
template <class Coverage, class Blend>
void ForCoveredPixels(int32_t first, int32_t count, Coverage coverage, Blend &&blend) {
  if (IsWhole(coverage)) {
    for (int32_t i = first; i < count; ++i) {
      blend(i);
    }
    return;
  }
  for (int32_t i = first; i < count; ++i) {
    if (IsCovered(coverage, i)) {
      blend(i);
    }
  }
}

template <class Coverage>
void BlendColorRow24Plain(uint8_t *row, int32_t first, int32_t count, const uint8_t premultiplied[3], int32_t kept,
                          Coverage coverage) {
  ForCoveredPixels(first, count, coverage, [row, premultiplied, kept](int32_t i) {
    BlendColorPixel24(row + static_cast<size_t>(i) * kBytesPerPixel24, premultiplied, kept);
  });
}

template <class Coverage>
void BlendRow24Plain(uint8_t *destination, const uint8_t *source, int32_t first, int32_t count, int32_t level,
                     Coverage coverage) {
  ForCoveredPixels(first, count, coverage, [destination, source, level](int32_t i) {
    const size_t offset = static_cast<size_t>(i) * kBytesPerPixel24;
    BlendPixel24(destination + offset, source + offset, level);
  });
}

#if VOR_SSE2_LOOPS
// The vector loops walk a row in runs of 16 pixels (three 16-byte parts) or,
// in their AVX2 forms, 32 pixels (three 32-byte parts). A run no pixel of
// which is covered is left alone; in a run partly covered every byte is
// blended and the uncovered pixels' bytes are put back, by byte masks.

constexpr int32_t kRunPixels = 16;
constexpr int32_t kWideRunPixels = 32;
constexpr uint32_t kWholeRun = 0xFFFF;
constexpr uint32_t kWholeWideRun = 0xFFFFFFFF;
// Part k of a 16-pixel run (bytes 16k to 16k + 15) holds pixels 5k to 5k + 5.
constexpr int32_t kPixelsBetweenParts = 5;
constexpr uint32_t kPartPixelBits = 0x3F;

// Byte masks of the three parts of a 16-pixel run: entry b of part k has
// 0xFF in the bytes of the pixels 5k + j whose bit j in b is set.
struct PartMasks {
  alignas(16) uint8_t bytes[3][kPartPixelBits + 1][kVectorBytes];
  PartMasks() : bytes() {
    for (size_t part = 0; part < 3; ++part) {
      for (uint32_t bits = 0; bits <= kPartPixelBits; ++bits) {
        for (size_t byte = 0; byte < kVectorBytes; ++byte) {
          const size_t pixel = (part * kVectorBytes + byte) / kBytesPerPixel24 - part * kPixelsBetweenParts;
          bytes[part][bits][byte] = ((bits >> pixel) & 1) != 0 ? 0xFF : 0;
        }
      }
    }
  }
  // Part k of a run whose covered pixels are the bits of covered (pixel 0 in the low bit).
  const uint8_t *Of(size_t part, uint32_t covered) const {
    return bytes[part][(covered >> (part * kPixelsBetweenParts)) & kPartPixelBits];
  }
};

const PartMasks &RunPartMasks() {
  static const PartMasks masks;
  return masks;
}

// The bytes of three runs' worth of a colour: part k starts on channel k x 16 mod 3.
struct ColourPattern {
  alignas(32) uint8_t bytes[kWideRunPixels * kBytesPerPixel24];
  explicit ColourPattern(const uint8_t premultiplied[3]) : bytes() {
    for (size_t i = 0; i < sizeof bytes; ++i) {
      bytes[i] = premultiplied[i % kBytesPerPixel24];
    }
  }
};

VOR_TARGET_SSE2 inline __m128i Load16(const uint8_t *bytes) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i *>(bytes));
}

VOR_TARGET_SSE2 inline void Store16(uint8_t *bytes, __m128i value) {
  _mm_storeu_si128(reinterpret_cast<__m128i *>(bytes), value);
}

// The covered pixels of the run of 16 from pixel first on, one bit each: the
// first pixel's in the low bit from coverage bytes, in the high bit from
// coverage words (as a mask holds them). Whole and empty runs read alike;
// the byte masks of a partly covered run take the first pixel low.
inline uint32_t FirstPixelLow(CoverageBytes, uint32_t bits, int32_t) { return bits; }

inline uint32_t FirstPixelLow(CoverageWords, uint32_t bits, int32_t n) {
  bits = ((bits >> 1) & 0x55555555u) | ((bits & 0x55555555u) << 1);
  bits = ((bits >> 2) & 0x33333333u) | ((bits & 0x33333333u) << 2);
  bits = ((bits >> 4) & 0x0F0F0F0Fu) | ((bits & 0x0F0F0F0Fu) << 4);
  bits = (bits >> 24) | ((bits >> 8) & 0xFF00u) | ((bits << 8) & 0xFF0000u) | (bits << 24);
  return bits >> (32 - n);
}

VOR_TARGET_SSE2 inline uint32_t RunBits(CoverageBytes coverage, int32_t first) {
  if (coverage.bytes == nullptr) {
    return kWholeRun;
  }
  const int uncovered = _mm_movemask_epi8(_mm_cmpeq_epi8(Load16(coverage.bytes + first), _mm_setzero_si128()));
  return ~static_cast<uint32_t>(uncovered) & kWholeRun;
}

inline uint32_t RunBits(CoverageWords coverage, int32_t first) {
  return CoverageBits::Run(coverage.words, first, kRunPixels);
}

// 16 bytes: (source x level + destination x (256 - level)) >> 8. Both
// products and their sum stay below 65536, so 16-bit lanes hold them exactly.
VOR_TARGET_SSE2 inline __m128i MixBytes(__m128i source, __m128i destination, __m128i level, __m128i rest) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i low = _mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(source, zero), level),
                                    _mm_mullo_epi16(_mm_unpacklo_epi8(destination, zero), rest));
  const __m128i high = _mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(source, zero), level),
                                     _mm_mullo_epi16(_mm_unpackhi_epi8(destination, zero), rest));
  return _mm_packus_epi16(_mm_srli_epi16(low, 8), _mm_srli_epi16(high, 8));
}

// 16 bytes: premultiplied + (kept x byte) >> 8. With the byte in the high
// half of a 16-bit lane, the high half of the product is that shift.
VOR_TARGET_SSE2 inline __m128i ColourOverBytes(__m128i bytes, __m128i premultiplied, __m128i kept) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i low = _mm_mulhi_epu16(_mm_unpacklo_epi8(zero, bytes), kept);
  const __m128i high = _mm_mulhi_epu16(_mm_unpackhi_epi8(zero, bytes), kept);
  return _mm_add_epi8(_mm_packus_epi16(low, high), premultiplied);
}

// The blends of 16 bytes at a byte offset into a row, part k of its run.
struct ImageMix {
  const uint8_t *source; // read at the same offsets as the row
  __m128i level, rest;
  VOR_TARGET_SSE2 __m128i operator()(const uint8_t *row, size_t offset, size_t /*part*/) const {
    return MixBytes(Load16(source + offset), Load16(row + offset), level, rest);
  }
};

struct ColourMix {
  __m128i colour[3];
  __m128i kept;
  VOR_TARGET_SSE2 __m128i operator()(const uint8_t *row, size_t offset, size_t part) const {
    return ColourOverBytes(Load16(row + offset), colour[part], kept);
  }
};

// Runs of 16 pixels from first on; answers where they end.
template <class Mix, class Coverage>
VOR_TARGET_SSE2 int32_t BlendRunsSse2(uint8_t *row, int32_t first, int32_t count, Coverage coverage, const Mix &mix) {
  const PartMasks &masks = RunPartMasks();
  int32_t i = first;
  for (; i + kRunPixels <= count; i += kRunPixels) {
    uint32_t covered = RunBits(coverage, i);
    if (covered == 0) {
      continue;
    }
    if (covered != kWholeRun) {
      covered = FirstPixelLow(coverage, covered, kRunPixels);
    }
#pragma GCC unroll 3
    for (size_t part = 0; part < 3; ++part) {
      const size_t offset = static_cast<size_t>(i) * kBytesPerPixel24 + part * kVectorBytes;
      __m128i blended = mix(row, offset, part);
      if (covered != kWholeRun) {
        const __m128i keep = Load16(masks.Of(part, covered));
        blended = _mm_or_si128(_mm_and_si128(keep, blended), _mm_andnot_si128(keep, Load16(row + offset)));
      }
      Store16(row + offset, blended);
    }
  }
  return i;
}

// The same 32 bytes at a time.
VOR_TARGET_AVX2 inline __m256i Load32(const uint8_t *bytes) {
  return _mm256_loadu_si256(reinterpret_cast<const __m256i *>(bytes));
}

VOR_TARGET_AVX2 inline void Store32(uint8_t *bytes, __m256i value) {
  _mm256_storeu_si256(reinterpret_cast<__m256i *>(bytes), value);
}

VOR_TARGET_AVX2 inline uint32_t WideRunBits(CoverageBytes coverage, int32_t first) {
  if (coverage.bytes == nullptr) {
    return kWholeWideRun;
  }
  const int uncovered = _mm256_movemask_epi8(_mm256_cmpeq_epi8(Load32(coverage.bytes + first), _mm256_setzero_si256()));
  return ~static_cast<uint32_t>(uncovered);
}

inline uint32_t WideRunBits(CoverageWords coverage, int32_t first) {
  return CoverageBits::Run(coverage.words, first, kWideRunPixels);
}

VOR_TARGET_AVX2 inline __m256i WideMixBytes(__m256i source, __m256i destination, __m256i level, __m256i rest) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i low = _mm256_add_epi16(_mm256_mullo_epi16(_mm256_unpacklo_epi8(source, zero), level),
                                       _mm256_mullo_epi16(_mm256_unpacklo_epi8(destination, zero), rest));
  const __m256i high = _mm256_add_epi16(_mm256_mullo_epi16(_mm256_unpackhi_epi8(source, zero), level),
                                        _mm256_mullo_epi16(_mm256_unpackhi_epi8(destination, zero), rest));
  return _mm256_packus_epi16(_mm256_srli_epi16(low, 8), _mm256_srli_epi16(high, 8));
}

VOR_TARGET_AVX2 inline __m256i WideColourOverBytes(__m256i bytes, __m256i premultiplied, __m256i kept) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i low = _mm256_mulhi_epu16(_mm256_unpacklo_epi8(zero, bytes), kept);
  const __m256i high = _mm256_mulhi_epu16(_mm256_unpackhi_epi8(zero, bytes), kept);
  return _mm256_add_epi8(_mm256_packus_epi16(low, high), premultiplied);
}

struct WideImageMix {
  const uint8_t *source;
  __m256i level, rest;
  VOR_TARGET_AVX2 __m256i operator()(const uint8_t *row, size_t offset, size_t /*part*/) const {
    return WideMixBytes(Load32(source + offset), Load32(row + offset), level, rest);
  }
};

struct WideColourMix {
  __m256i colour[3];
  __m256i kept;
  VOR_TARGET_AVX2 __m256i operator()(const uint8_t *row, size_t offset, size_t part) const {
    return WideColourOverBytes(Load32(row + offset), colour[part], kept);
  }
};

// Part k of a 32-pixel run is the 16-byte parts 2k and 2k + 1 of its run,
// counted across both 16-pixel halves.
VOR_TARGET_AVX2 inline __m128i HalfPartMask(const PartMasks &masks, size_t narrowPart, uint32_t covered) {
  return Load16(masks.Of(narrowPart % 3, covered >> (narrowPart / 3 * kRunPixels)));
}

VOR_TARGET_AVX2 inline __m256i WidePartMask(const PartMasks &masks, size_t part, uint32_t covered) {
  return _mm256_inserti128_si256(_mm256_castsi128_si256(HalfPartMask(masks, 2 * part, covered)),
                                 HalfPartMask(masks, 2 * part + 1, covered), 1);
}

template <class Mix, class Coverage>
VOR_TARGET_AVX2 int32_t BlendRunsAvx2(uint8_t *row, int32_t count, Coverage coverage, const Mix &mix) {
  const PartMasks &masks = RunPartMasks();
  int32_t i = 0;
  for (; i + kWideRunPixels <= count; i += kWideRunPixels) {
    uint32_t covered = WideRunBits(coverage, i);
    if (covered == 0) {
      continue;
    }
    if (covered != kWholeWideRun) {
      covered = FirstPixelLow(coverage, covered, kWideRunPixels);
    }
#pragma GCC unroll 3
    for (size_t part = 0; part < 3; ++part) {
      const size_t offset = static_cast<size_t>(i) * kBytesPerPixel24 + part * 2 * kVectorBytes;
      __m256i blended = mix(row, offset, part);
      if (covered != kWholeWideRun) {
        blended = _mm256_blendv_epi8(Load32(row + offset), blended, WidePartMask(masks, part, covered));
      }
      Store32(row + offset, blended);
    }
  }
  return i;
}

template <class Coverage>
VOR_TARGET_AVX2 int32_t BlendColourRunsAvx2(uint8_t *row, int32_t count, const ColourPattern &pattern, int32_t kept,
                                            Coverage coverage) {
  WideColourMix mix{};
  for (size_t part = 0; part < 3; ++part) {
    mix.colour[part] = Load32(pattern.bytes + part * 2 * kVectorBytes);
  }
  mix.kept = _mm256_set1_epi16(static_cast<int16_t>(kept));
  return BlendRunsAvx2(row, count, coverage, mix);
}

template <class Coverage>
VOR_TARGET_SSE2 int32_t BlendColourRunsSse2(uint8_t *row, int32_t first, int32_t count, const ColourPattern &pattern,
                                            int32_t kept, Coverage coverage) {
  ColourMix mix{};
  for (size_t part = 0; part < 3; ++part) {
    mix.colour[part] = Load16(pattern.bytes + part * kVectorBytes);
  }
  mix.kept = _mm_set1_epi16(static_cast<int16_t>(kept));
  return BlendRunsSse2(row, first, count, coverage, mix);
}

// Without coverage every byte blends alike: the row's bytes regardless of pixels.
VOR_TARGET_AVX2 size_t BlendBytesAvx2(uint8_t *destination, const uint8_t *source, size_t bytes, int32_t level) {
  const __m256i levelLanes = _mm256_set1_epi16(static_cast<int16_t>(level));
  const __m256i restLanes = _mm256_set1_epi16(static_cast<int16_t>(kFullLevel - level));
  size_t b = 0;
  for (; b + 2 * kVectorBytes <= bytes; b += 2 * kVectorBytes) {
    Store32(destination + b, WideMixBytes(Load32(source + b), Load32(destination + b), levelLanes, restLanes));
  }
  return b;
}

template <class Coverage>
VOR_TARGET_AVX2 int32_t BlendImageRunsAvx2(uint8_t *destination, const uint8_t *source, int32_t count, int32_t level,
                                           Coverage coverage) {
  const WideImageMix mix{source, _mm256_set1_epi16(static_cast<int16_t>(level)),
                         _mm256_set1_epi16(static_cast<int16_t>(kFullLevel - level))};
  return BlendRunsAvx2(destination, count, coverage, mix);
}

// Answers the pixels it leaves to the plain loop, from the first on.
template <class Coverage>
VOR_TARGET_SSE2 int32_t BlendRow24Sse2(uint8_t *destination, const uint8_t *source, int32_t count, int32_t level,
                                       Coverage coverage, bool wide) {
  const __m128i levelLanes = _mm_set1_epi16(static_cast<int16_t>(level));
  const __m128i restLanes = _mm_set1_epi16(static_cast<int16_t>(kFullLevel - level));
  if (IsWhole(coverage)) {
    const size_t bytes = static_cast<size_t>(count) * kBytesPerPixel24;
    size_t b = wide ? BlendBytesAvx2(destination, source, bytes, level) : 0;
    for (; b + kVectorBytes <= bytes; b += kVectorBytes) {
      Store16(destination + b, MixBytes(Load16(source + b), Load16(destination + b), levelLanes, restLanes));
    }
    for (; b < bytes; ++b) {
      destination[b] = MixChannel(source[b], destination[b], level);
    }
    return count;
  }
  const int32_t first = wide ? BlendImageRunsAvx2(destination, source, count, level, coverage) : 0;
  return BlendRunsSse2(destination, first, count, coverage, ImageMix{source, levelLanes, restLanes});
}

#endif

// A colour at a level over 24-bit rows, worked out once for all of them.
class ColourOver24 {
public:
  ColourOver24(ColorRef colour, int32_t level, PixelLoops loops)
      : m_premultiplied{PremultipliedChannel(BlueOf(colour), level), PremultipliedChannel(GreenOf(colour), level),
                        PremultipliedChannel(RedOf(colour), level)},
        m_kept(KeptWeight(level)), m_vector(loops == PixelLoops::kVector && VOR_SSE2_LOOPS),
        m_wide(UseWideVectorLoops(loops))
#if VOR_SSE2_LOOPS
        ,
        m_pattern(m_premultiplied)
#endif
  {
  }

  template <class Coverage>
  void Row(uint8_t *row, int32_t count, Coverage coverage) const {
    int32_t first = 0;
#if VOR_SSE2_LOOPS
    if (m_vector) {
      first = m_wide ? BlendColourRunsAvx2(row, count, m_pattern, m_kept, coverage) : 0;
      first = BlendColourRunsSse2(row, first, count, m_pattern, m_kept, coverage);
    }
#endif
    BlendColorRow24Plain(row, first, count, m_premultiplied, m_kept, coverage);
  }

private:
  uint8_t m_premultiplied[3];
  int32_t m_kept;
  bool m_vector;
  bool m_wide;
#if VOR_SSE2_LOOPS
  ColourPattern m_pattern;
#endif
};

template <class Coverage>
void BlendImageRow24(uint8_t *destination, const uint8_t *source, int32_t count, int32_t level, Coverage coverage,
                     PixelLoops loops) {
  int32_t first = 0;
#if VOR_SSE2_LOOPS
  if (loops == PixelLoops::kVector) {
    first = BlendRow24Sse2(destination, source, count, level, coverage, UseWideVectorLoops(loops));
  }
#else
  static_cast<void>(loops);
#endif
  BlendRow24Plain(destination, source, first, count, level, coverage);
}

int32_t ClampLevel(int32_t level) { return std::min(std::max(level, 0), kFullLevel); }

// Row y of a 24-bit block of the given width counted from the start of the bits.
bool Rect24Fits(size_t bitsSize, int32_t imageWidth, int32_t x, int32_t y, int32_t columns, int32_t rows,
                int64_t &stride) {
  if (imageWidth <= 0 || x < 0 || y < 0 || columns < 0 || rows < 0 || static_cast<int64_t>(x) + columns > imageWidth) {
    return false;
  }
  stride = (static_cast<int64_t>(imageWidth) * kBytesPerPixel24 + 3) / 4 * 4;
  return rows == 0 || (static_cast<int64_t>(y) + rows) * stride <= static_cast<int64_t>(bitsSize);
}

RgbQuad ResolveColour(ColorRef colour, Palette *palette) {
  if (IsPaletteIndex(colour)) {
    return Palette::ForEightBit(palette).ColorOfIndex(static_cast<uint8_t>(colour & 0xFF));
  }
  return RgbQuad{BlueOf(colour), GreenOf(colour), RedOf(colour), 0};
}

// The row of a placed mask for image row y, or null outside it.
const uint8_t *PlacedMaskRow(const MaskPlacement &placement, int64_t y) {
  const DibImage &mask = *placement.mask;
  const int64_t maskY = y + placement.dy;
  if (mask.GetBitsPerPixel() != 1 || maskY < 0 || maskY >= mask.GetHeight()) {
    return nullptr;
  }
  return mask.GetRowAddress(static_cast<int32_t>(maskY));
}

// A placed mask over consecutive image columns from firstX.
void ApplyMaskRun(CoverageBits &coverage, int64_t firstX, int64_t y, const MaskPlacement &placement) {
  const uint8_t *row = PlacedMaskRow(placement, y);
  if (row == nullptr) {
    coverage.UncoverAll();
    return;
  }
  coverage.AndMaskRun(row, firstX + placement.dx, placement.mask->GetWidth());
}

// A placed mask over the given image columns.
void ApplyMaskColumns(CoverageBits &coverage, const int32_t *columns, int64_t y, const MaskPlacement &placement) {
  const uint8_t *row = PlacedMaskRow(placement, y);
  if (row == nullptr) {
    coverage.UncoverAll();
    return;
  }
  coverage.AndMaskColumns(row, columns, placement.dx, placement.mask->GetWidth());
}

int32_t ClampToInt32(int64_t value) { return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX)); }

} // namespace

void BlendColorRow24(uint8_t *row, int32_t count, ColorRef colour, int32_t level, const uint8_t *coverage,
                     PixelLoops loops) {
  ColourOver24(colour, level, loops).Row(row, count, CoverageBytes{coverage});
}

void BlendRow24(uint8_t *destination, const uint8_t *source, int32_t count, int32_t level, const uint8_t *coverage,
                PixelLoops loops) {
  BlendImageRow24(destination, source, count, level, CoverageBytes{coverage}, loops);
}

EightBitColours::EightBitColours(Palette &palette) : colours(), inverseTable(palette.GetInverseTable()) {
  for (uint32_t index = 0; index < kMaxColorTableEntries; ++index) {
    colours[index] = palette.ColorOfIndex(static_cast<uint8_t>(index));
  }
}

uint8_t EightBitColours::Mix(uint8_t source, uint8_t destination, int32_t level) const {
  const RgbQuad &s = colours[source];
  const RgbQuad &d = colours[destination];
  return inverseTable[Palette::InverseSlot(MixChannel(s.red, d.red, level), MixChannel(s.green, d.green, level),
                                           MixChannel(s.blue, d.blue, level))];
}

EightBitBlend::EightBitBlend(const EightBitColours &colours, int32_t level, int64_t pixels)
    : m_colours(colours), m_level(level) {
  // Below this many pixels, clearing the table of pairs costs more than it saves.
  constexpr int64_t kRememberedFrom = 32768;
  if (pixels >= kRememberedFrom) {
    m_known.assign(size_t{1} << 16, kUnknown);
  }
}

namespace {

template <class Coverage>
void BlendRow8Of(uint8_t *destination, const uint8_t *source, int32_t count, Coverage coverage, EightBitBlend &blend) {
  // The table of pairs is held in a local, so that writing the row's bytes
  // does not make the loop fetch it again for every pixel.
  uint16_t *known = blend.Known();
  if (known == nullptr) {
    ForCoveredPixels(0, count, coverage,
                     [destination, source, &blend](int32_t i) { destination[i] = blend(source[i], destination[i]); });
    return;
  }
  ForCoveredPixels(0, count, coverage, [destination, source, known, &blend](int32_t i) {
    const uint16_t answer = known[EightBitBlend::PairOf(source[i], destination[i])];
    destination[i] =
        answer != EightBitBlend::kUnknown ? static_cast<uint8_t>(answer) : blend.Learn(source[i], destination[i]);
  });
}

template <class Coverage>
void BlendColorRow8Of(uint8_t *row, int32_t count, Coverage coverage, const EightBitColourOver &over) {
  ForCoveredPixels(0, count, coverage, [row, &over](int32_t i) { row[i] = over.indexes[row[i]]; });
}

} // namespace

void BlendRow8(uint8_t *destination, const uint8_t *source, int32_t count, const uint8_t *coverage,
               EightBitBlend &blend) {
  BlendRow8Of(destination, source, count, CoverageBytes{coverage}, blend);
}

EightBitColourOver::EightBitColourOver(const EightBitColours &palette, ColorRef colour, int32_t level) : indexes() {
  const auto mix = [level](uint8_t old, uint8_t value) {
    return static_cast<uint8_t>(((old * (kFullLevel - level)) >> 8) + ((value * level) >> 8));
  };
  for (uint32_t index = 0; index < kMaxColorTableEntries; ++index) {
    const RgbQuad &old = palette.colours[index];
    indexes[index] = palette.inverseTable[Palette::InverseSlot(
        mix(old.red, RedOf(colour)), mix(old.green, GreenOf(colour)), mix(old.blue, BlueOf(colour)))];
  }
}

void BlendColorRow8(uint8_t *row, int32_t count, const uint8_t *coverage, const EightBitColourOver &over) {
  BlendColorRow8Of(row, count, CoverageBytes{coverage}, over);
}

bool BlendColorRect24(uint8_t *bits, size_t bitsSize, ColorRef colour, int32_t x, int32_t y, int32_t imageWidth,
                      int32_t columns, int32_t rows, int32_t opacity, PixelLoops loops) {
  int64_t stride = 0;
  if (bits == nullptr || !Rect24Fits(bitsSize, imageWidth, x, y, columns, rows, stride)) {
    return false;
  }
  opacity = std::min(opacity, kFullOpacity);
  if (opacity <= 0) {
    return true;
  }
  const ColourOver24 over(colour, opacity, loops);
  for (int32_t r = 0; r < rows; ++r) {
    uint8_t *row = bits + (static_cast<int64_t>(y) + r) * stride + static_cast<int64_t>(x) * kBytesPerPixel24;
    over.Row(row, columns, CoverageBytes{nullptr});
  }
  return true;
}

bool BlendColorMaskedRect24(const uint8_t *maskBits, size_t maskSize, int32_t maskWidth, int32_t maskX, int32_t maskY,
                            ColorRef colour, int32_t imageWidth, int32_t imageX, int32_t imageY, int32_t columns,
                            int32_t rows, uint8_t *imageBits, size_t imageSize, int32_t opacity, PixelLoops loops) {
  int64_t stride = 0;
  if (imageBits == nullptr || maskBits == nullptr ||
      !Rect24Fits(imageSize, imageWidth, imageX, imageY, columns, rows, stride)) {
    return false;
  }
  if (maskWidth <= 0 || maskX < 0 || maskY < 0 || static_cast<int64_t>(maskX) + columns > maskWidth) {
    return false;
  }
  const int64_t maskStride = (static_cast<int64_t>(maskWidth) + 31) / 32 * 4;
  if (rows > 0 && (static_cast<int64_t>(maskY) + rows) * maskStride > static_cast<int64_t>(maskSize)) {
    return false;
  }
  opacity = std::min(opacity, kFullOpacity);
  if (opacity <= 0) {
    return true;
  }
  const ColourOver24 over(colour, opacity, loops);
  CoverageBits coverage;
  for (int32_t r = 0; r < rows; ++r) {
    const uint8_t *maskRow = maskBits + (static_cast<int64_t>(maskY) + r) * maskStride;
    coverage.CoverAll(columns);
    coverage.AndMaskRun(maskRow, maskX, maskWidth);
    uint8_t *row =
        imageBits + (static_cast<int64_t>(imageY) + r) * stride + static_cast<int64_t>(imageX) * kBytesPerPixel24;
    over.Row(row, columns, WordsOf(coverage));
  }
  return true;
}

bool BlendImage(const DibImage &source, const VORRect &sourceRect, const MaskPlacement *masks, int32_t maskCount,
                DibImage &destination, const VORRect &destinationRect, int32_t level, Palette *palette,
                PixelLoops loops) {
  const int32_t depth = source.GetBitsPerPixel();
  if (!source.IsValid() || !destination.IsValid() || depth != destination.GetBitsPerPixel() ||
      (depth != 24 && depth != 8)) {
    return false;
  }
  level = ClampLevel(level);
  if (level == 0 || sourceRect.IsEmpty() || destinationRect.IsEmpty()) {
    return true;
  }
  const int64_t sourceWidth = sourceRect.Width(), sourceHeight = sourceRect.Height();
  const int64_t destinationWidth = destinationRect.Width(), destinationHeight = destinationRect.Height();
  VORRect area;
  if (!area.Intersect(destinationRect, VORRect(0, 0, destination.GetWidth(), destination.GetHeight()))) {
    return true;
  }
  const bool scaledX = sourceWidth != destinationWidth;
  // Unscaled, source column = destination column + shift: keep only the
  // columns whose source lies inside the source image.
  const int64_t shift = static_cast<int64_t>(sourceRect.left) - destinationRect.left;
  if (!scaledX) {
    area.left = std::max(area.left, ClampToInt32(-shift));
    area.right = std::min(area.right, ClampToInt32(source.GetWidth() - shift));
    if (area.left >= area.right) {
      return true;
    }
  }
  const int32_t count = area.right - area.left;
  const size_t bytesPerPixel = depth == 24 ? kBytesPerPixel24 : 1;

  // Scaled: each destination column's source column; outside the source it is left out.
  std::vector<int32_t> sourceX(scaledX ? static_cast<size_t>(count) : 0);
  CoverageBits valid;
  valid.CoverAll(count);
  bool allValid = true;
  for (size_t i = 0; i < sourceX.size(); ++i) {
    const int64_t sx =
        sourceRect.left + (static_cast<int64_t>(area.left) + static_cast<int64_t>(i) - destinationRect.left) *
                              sourceWidth / destinationWidth;
    const bool inside = sx >= 0 && sx < source.GetWidth();
    sourceX[i] = inside ? static_cast<int32_t>(sx) : 0;
    if (!inside) {
      valid.Uncover(static_cast<int32_t>(i));
      allValid = false;
    }
  }
  const bool needCoverage = maskCount > 0 || !allValid;
  CoverageBits coverage;
  std::unique_ptr<ColumnGather> gather;
  std::vector<uint8_t> gathered;
  if (scaledX) {
    gather = std::make_unique<ColumnGather>(sourceX, source.GetWidth(), bytesPerPixel, loops);
    gathered.resize(gather->OutputBytes());
  }
  int64_t gatheredRow = -1;
  std::unique_ptr<EightBitColours> colours;
  std::unique_ptr<EightBitBlend> blend8;
  if (depth == 8) {
    colours = std::make_unique<EightBitColours>(Palette::ForEightBit(palette));
    blend8 = std::make_unique<EightBitBlend>(*colours, level, static_cast<int64_t>(count) * (area.bottom - area.top));
  }

  for (int32_t y = area.top; y < area.bottom; ++y) {
    const int64_t sy =
        sourceRect.top + (static_cast<int64_t>(y) - destinationRect.top) * sourceHeight / destinationHeight;
    if (sy < 0 || sy >= source.GetHeight()) {
      continue;
    }
    const uint8_t *sourceRow = source.GetRowAddress(static_cast<int32_t>(sy));
    uint8_t *destinationRow = destination.GetRowAddress(y) + static_cast<size_t>(area.left) * bytesPerPixel;
    const uint8_t *pixels = nullptr;
    if (!scaledX) {
      pixels = sourceRow + static_cast<size_t>(area.left + shift) * bytesPerPixel;
    } else {
      // Stretched rows repeat a source row: it is gathered once.
      if (sy != gatheredRow) {
        gather->Gather(sourceRow, gathered.data());
        gatheredRow = sy;
      }
      pixels = gathered.data();
    }
    if (!needCoverage) {
      if (depth == 24) {
        BlendImageRow24(destinationRow, pixels, count, level, CoverageBytes{nullptr}, loops);
      } else {
        BlendRow8Of(destinationRow, pixels, count, CoverageBytes{nullptr}, *blend8);
      }
      continue;
    }
    coverage.CopyFrom(valid);
    for (int32_t m = 0; m < maskCount; ++m) {
      if (scaledX) {
        ApplyMaskColumns(coverage, sourceX.data(), sy, masks[m]);
      } else {
        ApplyMaskRun(coverage, area.left + shift, sy, masks[m]);
      }
    }
    if (depth == 24) {
      BlendImageRow24(destinationRow, pixels, count, level, WordsOf(coverage), loops);
    } else {
      BlendRow8Of(destinationRow, pixels, count, WordsOf(coverage), *blend8);
    }
  }
  return true;
}

bool BlendColorImage(DibImage &image, const VORRect &rect, ColorRef colour, int32_t level, const MaskPlacement *masks,
                     int32_t maskCount, Palette *palette, PixelLoops loops) {
  const int32_t depth = image.GetBitsPerPixel();
  if (!image.IsValid() || (depth != 24 && depth != 8)) {
    return false;
  }
  level = ClampLevel(level);
  VORRect area;
  if (level == 0 || !area.Intersect(rect, VORRect(0, 0, image.GetWidth(), image.GetHeight()))) {
    return true;
  }
  const RgbQuad resolved = ResolveColour(colour, palette);
  const ColorRef plain = MakeColorRef(resolved.red, resolved.green, resolved.blue);
  const int32_t count = area.right - area.left;
  const size_t bytesPerPixel = depth == 24 ? kBytesPerPixel24 : 1;
  CoverageBits coverage;
  std::unique_ptr<EightBitColourOver> over8;
  std::unique_ptr<ColourOver24> over24;
  if (depth == 8) {
    over8 = std::make_unique<EightBitColourOver>(EightBitColours(Palette::ForEightBit(palette)), plain, level);
  } else {
    over24 = std::make_unique<ColourOver24>(plain, level, loops);
  }
  for (int32_t y = area.top; y < area.bottom; ++y) {
    uint8_t *row = image.GetRowAddress(y) + static_cast<size_t>(area.left) * bytesPerPixel;
    if (maskCount == 0) {
      if (depth == 24) {
        over24->Row(row, count, CoverageBytes{nullptr});
      } else {
        BlendColorRow8Of(row, count, CoverageBytes{nullptr}, *over8);
      }
      continue;
    }
    coverage.CoverAll(count);
    for (int32_t m = 0; m < maskCount; ++m) {
      ApplyMaskRun(coverage, area.left, y, masks[m]);
    }
    if (depth == 24) {
      over24->Row(row, count, WordsOf(coverage));
    } else {
      BlendColorRow8Of(row, count, WordsOf(coverage), *over8);
    }
  }
  return true;
}
