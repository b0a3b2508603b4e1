#include "display/BlendRoutines.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "display/DibImage.h"
#include "display/Palette.h"
#include "display/SimdSupport.h"

namespace {

constexpr int32_t kFullLevel = 256;
constexpr int32_t kFullOpacity = 255;
constexpr int32_t kBytesPerPixel24 = 3;
constexpr int32_t kChunkPixels = 16; // one SSE2 register of coverage bytes, 48 bytes of pixels
constexpr int32_t kChunkBytes = kChunkPixels * kBytesPerPixel24;
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

// The coverage of a run of 16 pixels: all, none or some.
enum class ChunkCoverage { kAll, kNone, kSome };

void BlendColorRow24Plain(uint8_t *row, int32_t count, const uint8_t premultiplied[3], int32_t kept,
                          const uint8_t *coverage) {
  for (int32_t i = 0; i < count; ++i) {
    if (coverage == nullptr || coverage[i] != 0) {
      BlendColorPixel24(row + static_cast<size_t>(i) * kBytesPerPixel24, premultiplied, kept);
    }
  }
}

void BlendRow24Plain(uint8_t *destination, const uint8_t *source, int32_t count, int32_t level,
                     const uint8_t *coverage) {
  for (int32_t i = 0; i < count; ++i) {
    if (coverage == nullptr || coverage[i] != 0) {
      const size_t offset = static_cast<size_t>(i) * kBytesPerPixel24;
      BlendPixel24(destination + offset, source + offset, level);
    }
  }
}

#if VOR_SSE2_LOOPS

VOR_TARGET_SSE2 ChunkCoverage CoverageOfChunkSse2(const uint8_t *coverage) {
  const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(coverage));
  const int uncovered = _mm_movemask_epi8(_mm_cmpeq_epi8(bytes, _mm_setzero_si128()));
  return uncovered == 0 ? ChunkCoverage::kAll : uncovered == 0xFFFF ? ChunkCoverage::kNone : ChunkCoverage::kSome;
}

// 16 bytes: premultiplied + (kept x byte) >> 8.
VOR_TARGET_SSE2 void BlendColorVector(uint8_t *bytes, __m128i premultiplied, __m128i kept) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i *>(bytes));
  const __m128i low = _mm_srli_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(pixels, zero), kept), 8);
  const __m128i high = _mm_srli_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(pixels, zero), kept), 8);
  _mm_storeu_si128(reinterpret_cast<__m128i *>(bytes), _mm_add_epi8(_mm_packus_epi16(low, high), premultiplied));
}

// 16 bytes: (source x level + destination x (256 - level)) >> 8. Both
// products and their sum stay below 65536, so 16-bit lanes hold them exactly.
VOR_TARGET_SSE2 void BlendVector(uint8_t *destination, const uint8_t *source, __m128i level, __m128i rest) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i *>(source));
  const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i *>(destination));
  const __m128i low = _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(s, zero), level),
                                                   _mm_mullo_epi16(_mm_unpacklo_epi8(d, zero), rest)),
                                     8);
  const __m128i high = _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(s, zero), level),
                                                    _mm_mullo_epi16(_mm_unpackhi_epi8(d, zero), rest)),
                                      8);
  _mm_storeu_si128(reinterpret_cast<__m128i *>(destination), _mm_packus_epi16(low, high));
}

VOR_TARGET_SSE2 void BlendColorRow24Sse2(uint8_t *row, int32_t count, const uint8_t premultiplied[3], int32_t kept,
                                         const uint8_t *coverage) {
  // The colour bytes for the three 16-byte thirds of a 48-byte chunk: each
  // third starts on a different channel.
  uint8_t pattern[kChunkBytes];
  for (int32_t i = 0; i < kChunkBytes; ++i) {
    pattern[i] = premultiplied[i % kBytesPerPixel24];
  }
  __m128i colour[3];
  for (size_t part = 0; part < 3; ++part) {
    colour[part] = _mm_loadu_si128(reinterpret_cast<const __m128i *>(pattern + part * kVectorBytes));
  }
  const __m128i keptLanes = _mm_set1_epi16(static_cast<int16_t>(kept));
  int32_t i = 0;
  for (; i + kChunkPixels <= count; i += kChunkPixels) {
    uint8_t *chunk = row + static_cast<size_t>(i) * kBytesPerPixel24;
    const ChunkCoverage covered = coverage == nullptr ? ChunkCoverage::kAll : CoverageOfChunkSse2(coverage + i);
    if (covered == ChunkCoverage::kAll) {
      for (size_t part = 0; part < 3; ++part) {
        BlendColorVector(chunk + part * kVectorBytes, colour[part], keptLanes);
      }
    } else if (covered == ChunkCoverage::kSome) {
      BlendColorRow24Plain(chunk, kChunkPixels, premultiplied, kept, coverage + i);
    }
  }
  BlendColorRow24Plain(row + static_cast<size_t>(i) * kBytesPerPixel24, count - i, premultiplied, kept,
                       coverage == nullptr ? nullptr : coverage + i);
}

VOR_TARGET_SSE2 void BlendRow24Sse2(uint8_t *destination, const uint8_t *source, int32_t count, int32_t level,
                                    const uint8_t *coverage) {
  const __m128i levelLanes = _mm_set1_epi16(static_cast<int16_t>(level));
  const __m128i restLanes = _mm_set1_epi16(static_cast<int16_t>(kFullLevel - level));
  if (coverage == nullptr) {
    // Every byte blends alike: run over the row's bytes regardless of pixels.
    const size_t bytes = static_cast<size_t>(count) * kBytesPerPixel24;
    size_t b = 0;
    for (; b + kVectorBytes <= bytes; b += kVectorBytes) {
      BlendVector(destination + b, source + b, levelLanes, restLanes);
    }
    for (; b < bytes; ++b) {
      destination[b] = MixChannel(source[b], destination[b], level);
    }
    return;
  }
  int32_t i = 0;
  for (; i + kChunkPixels <= count; i += kChunkPixels) {
    const size_t offset = static_cast<size_t>(i) * kBytesPerPixel24;
    const ChunkCoverage covered = CoverageOfChunkSse2(coverage + i);
    if (covered == ChunkCoverage::kAll) {
      for (size_t part = 0; part < 3; ++part) {
        BlendVector(destination + offset + part * kVectorBytes, source + offset + part * kVectorBytes, levelLanes,
                    restLanes);
      }
    } else if (covered == ChunkCoverage::kSome) {
      BlendRow24Plain(destination + offset, source + offset, kChunkPixels, level, coverage + i);
    }
  }
  const size_t offset = static_cast<size_t>(i) * kBytesPerPixel24;
  BlendRow24Plain(destination + offset, source + offset, count - i, level, coverage + i);
}

#endif

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

// Coverage bytes (0 or 1, leftmost pixel first) for each value of a mask byte.
struct BitExpansion {
  uint64_t bytes[256];
  BitExpansion() : bytes() {
    for (uint32_t value = 0; value < 256; ++value) {
      uint8_t expanded[8];
      for (uint32_t bit = 0; bit < 8; ++bit) {
        expanded[bit] = static_cast<uint8_t>((value >> (7 - bit)) & 1);
      }
      std::memcpy(&bytes[value], expanded, sizeof expanded);
    }
  }
};

const BitExpansion &Expansion() {
  static const BitExpansion table;
  return table;
}

bool MaskBit(const uint8_t *row, int64_t bit) { return ((row[bit >> 3] >> (7 - (bit & 7))) & 1) != 0; }

// Clears the coverage of the count pixels whose bits, from firstBit on in a
// mask row, are not set; bits outside 0..maskWidth-1 count as not set.
// Eight bits at a time where they all lie inside the row.
void AndMaskRun(uint8_t *coverage, int32_t count, const uint8_t *row, int64_t firstBit, int32_t maskWidth) {
  int32_t i = 0;
  for (; i < count && firstBit + i < 0; ++i) {
    coverage[i] = 0;
  }
  const BitExpansion &table = Expansion();
  for (; i + 8 <= count && firstBit + i + 8 <= maskWidth; i += 8) {
    const int64_t bit = firstBit + i;
    const int64_t byte = bit >> 3;
    const int32_t shift = static_cast<int32_t>(bit & 7);
    uint32_t bits = row[byte];
    if (shift != 0) {
      // The eight bits straddle two bytes; the second holds bit + 7, inside the row.
      bits = ((bits << 8) | row[byte + 1]) >> (8 - shift);
    }
    uint64_t covered = 0;
    std::memcpy(&covered, coverage + i, sizeof covered);
    covered &= table.bytes[bits & 0xFF];
    std::memcpy(coverage + i, &covered, sizeof covered);
  }
  for (; i < count; ++i) {
    const int64_t bit = firstBit + i;
    if (bit < 0 || bit >= maskWidth || !MaskBit(row, bit)) {
      coverage[i] = 0;
    }
  }
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

// A placed mask over count consecutive image columns from firstX.
void ApplyMaskRun(uint8_t *coverage, int32_t count, int64_t firstX, int64_t y, const MaskPlacement &placement) {
  const uint8_t *row = PlacedMaskRow(placement, y);
  if (row == nullptr) {
    std::memset(coverage, 0, static_cast<size_t>(count));
    return;
  }
  AndMaskRun(coverage, count, row, firstX + placement.dx, placement.mask->GetWidth());
}

// A placed mask over the given image columns.
void ApplyMaskColumns(uint8_t *coverage, const int32_t *columns, int32_t count, int64_t y,
                      const MaskPlacement &placement) {
  const uint8_t *row = PlacedMaskRow(placement, y);
  if (row == nullptr) {
    std::memset(coverage, 0, static_cast<size_t>(count));
    return;
  }
  const int32_t width = placement.mask->GetWidth();
  for (int32_t i = 0; i < count; ++i) {
    const int64_t bit = static_cast<int64_t>(columns[i]) + placement.dx;
    if (bit < 0 || bit >= width || !MaskBit(row, bit)) {
      coverage[i] = 0;
    }
  }
}

int32_t ClampToInt32(int64_t value) { return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX)); }

} // namespace

void BlendColorRow24(uint8_t *row, int32_t count, ColorRef colour, int32_t level, const uint8_t *coverage,
                     PixelLoops loops) {
  const uint8_t premultiplied[3] = {PremultipliedChannel(BlueOf(colour), level),
                                    PremultipliedChannel(GreenOf(colour), level),
                                    PremultipliedChannel(RedOf(colour), level)};
  const int32_t kept = KeptWeight(level);
#if VOR_SSE2_LOOPS
  if (loops == PixelLoops::kVector) {
    BlendColorRow24Sse2(row, count, premultiplied, kept, coverage);
    return;
  }
#else
  static_cast<void>(loops);
#endif
  BlendColorRow24Plain(row, count, premultiplied, kept, coverage);
}

void BlendRow24(uint8_t *destination, const uint8_t *source, int32_t count, int32_t level, const uint8_t *coverage,
                PixelLoops loops) {
#if VOR_SSE2_LOOPS
  if (loops == PixelLoops::kVector) {
    BlendRow24Sse2(destination, source, count, level, coverage);
    return;
  }
#else
  static_cast<void>(loops);
#endif
  BlendRow24Plain(destination, source, count, level, coverage);
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

void BlendRow8(uint8_t *destination, const uint8_t *source, int32_t count, const uint8_t *coverage,
               EightBitBlend &blend) {
  for (int32_t i = 0; i < count; ++i) {
    if (coverage == nullptr || coverage[i] != 0) {
      destination[i] = blend(source[i], destination[i]);
    }
  }
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
  for (int32_t i = 0; i < count; ++i) {
    if (coverage == nullptr || coverage[i] != 0) {
      row[i] = over.indexes[row[i]];
    }
  }
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
  for (int32_t r = 0; r < rows; ++r) {
    uint8_t *row = bits + (static_cast<int64_t>(y) + r) * stride + static_cast<int64_t>(x) * kBytesPerPixel24;
    BlendColorRow24(row, columns, colour, opacity, nullptr, loops);
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
  std::vector<uint8_t> coverage(static_cast<size_t>(columns));
  for (int32_t r = 0; r < rows; ++r) {
    const uint8_t *maskRow = maskBits + (static_cast<int64_t>(maskY) + r) * maskStride;
    std::fill(coverage.begin(), coverage.end(), 1);
    AndMaskRun(coverage.data(), columns, maskRow, maskX, maskWidth);
    uint8_t *row =
        imageBits + (static_cast<int64_t>(imageY) + r) * stride + static_cast<int64_t>(imageX) * kBytesPerPixel24;
    BlendColorRow24(row, columns, colour, opacity, coverage.data(), loops);
  }
  return true;
}

namespace {

// The pixels of the given source columns (each below rowWidth), side by
// side; out holds one byte more than the pixels.
void GatherColumns(const uint8_t *row, int32_t rowWidth, const int32_t *columns, int32_t count, size_t bytesPerPixel,
                   uint8_t *out) {
  if (bytesPerPixel == 1) {
    for (int32_t i = 0; i < count; ++i) {
      out[i] = row[columns[i]];
    }
    return;
  }
  // Four bytes at a time, the fourth overwritten by the next pixel; the
  // row's last pixel may end the image, so it is read in three.
  for (int32_t i = 0; i < count; ++i) {
    const uint8_t *from = row + static_cast<size_t>(columns[i]) * kBytesPerPixel24;
    if (columns[i] + 1 < rowWidth) {
      std::memcpy(out, from, sizeof(uint32_t));
    } else {
      std::memcpy(out, from, kBytesPerPixel24);
    }
    out += kBytesPerPixel24;
  }
}

} // namespace

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
  std::vector<uint8_t> valid(sourceX.size());
  bool allValid = true;
  for (size_t i = 0; i < sourceX.size(); ++i) {
    const int64_t sx =
        sourceRect.left + (static_cast<int64_t>(area.left) + static_cast<int64_t>(i) - destinationRect.left) *
                              sourceWidth / destinationWidth;
    valid[i] = sx >= 0 && sx < source.GetWidth() ? 1 : 0;
    sourceX[i] = valid[i] != 0 ? static_cast<int32_t>(sx) : 0;
    allValid = allValid && valid[i] != 0;
  }
  const bool needCoverage = maskCount > 0 || !allValid;
  std::vector<uint8_t> coverage(needCoverage ? static_cast<size_t>(count) : 0);
  std::vector<uint8_t> gathered(scaledX ? static_cast<size_t>(count) * bytesPerPixel + 1 : 0);
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
        GatherColumns(sourceRow, source.GetWidth(), sourceX.data(), count, bytesPerPixel, gathered.data());
        gatheredRow = sy;
      }
      pixels = gathered.data();
    }
    const uint8_t *rowCoverage = nullptr;
    if (needCoverage) {
      if (scaledX) {
        std::copy(valid.begin(), valid.end(), coverage.begin());
      } else {
        std::fill(coverage.begin(), coverage.end(), 1);
      }
      for (int32_t m = 0; m < maskCount; ++m) {
        if (scaledX) {
          ApplyMaskColumns(coverage.data(), sourceX.data(), count, sy, masks[m]);
        } else {
          ApplyMaskRun(coverage.data(), count, area.left + shift, sy, masks[m]);
        }
      }
      rowCoverage = coverage.data();
    }
    if (depth == 24) {
      BlendRow24(destinationRow, pixels, count, level, rowCoverage, loops);
    } else {
      BlendRow8(destinationRow, pixels, count, rowCoverage, *blend8);
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
  std::vector<uint8_t> coverage(static_cast<size_t>(count));
  std::unique_ptr<EightBitColourOver> over8;
  if (depth == 8) {
    over8 = std::make_unique<EightBitColourOver>(EightBitColours(Palette::ForEightBit(palette)), plain, level);
  }
  for (int32_t y = area.top; y < area.bottom; ++y) {
    const uint8_t *rowCoverage = nullptr;
    if (maskCount > 0) {
      std::fill(coverage.begin(), coverage.end(), 1);
      for (int32_t m = 0; m < maskCount; ++m) {
        ApplyMaskRun(coverage.data(), count, area.left, y, masks[m]);
      }
      rowCoverage = coverage.data();
    }
    uint8_t *row = image.GetRowAddress(y) + static_cast<size_t>(area.left) * bytesPerPixel;
    if (depth == 24) {
      BlendColorRow24(row, count, plain, level, rowCoverage, loops);
    } else {
      BlendColorRow8(row, count, rowCoverage, *over8);
    }
  }
  return true;
}
