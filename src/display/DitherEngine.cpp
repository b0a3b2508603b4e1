#include "display/DitherEngine.h"

#include <algorithm>
#include <cstring>

#include "display/DibImage.h"
#include "display/Palette.h"
#include "display/SimdSupport.h"

namespace {

constexpr int32_t kSourceDepth = 24;
constexpr int32_t kDestinationDepth = 8;
constexpr uint32_t kLowThreeBytes = 0x00FFFFFF;

int32_t ClampChannel(int32_t value) { return std::min(std::max(value, 0), 255); }

// Rows are independent (each starts without error), so several run side by
// side: their chains of table look-ups overlap instead of waiting on each other.
constexpr int32_t kRowsAtOnce = 4;

template <int32_t Rows>
void DitherRowsPlain(const uint8_t *const *sources, uint8_t *const *destinations, int32_t count,
                     const uint8_t *inverseTable, const RgbQuad *colours) {
  int32_t error[Rows][3] = {}; // blue, green, red
  for (int32_t i = 0; i < count; ++i) {
    for (int32_t r = 0; r < Rows; ++r) {
      const uint8_t *source = sources[r] + static_cast<size_t>(i) * 3;
      const int32_t blue = ClampChannel(source[0] + error[r][0]);
      const int32_t green = ClampChannel(source[1] + error[r][1]);
      const int32_t red = ClampChannel(source[2] + error[r][2]);
      const uint8_t index = inverseTable[Palette::InverseSlot(static_cast<uint8_t>(red), static_cast<uint8_t>(green),
                                                              static_cast<uint8_t>(blue))];
      destinations[r][i] = index;
      const RgbQuad &chosen = colours[index];
      error[r][0] = (blue >> 1) - (chosen.blue >> 1);
      error[r][1] = (green >> 1) - (chosen.green >> 1);
      error[r][2] = (red >> 1) - (chosen.red >> 1);
    }
  }
}

void DitherRowsPlain(const uint8_t *const *sources, uint8_t *const *destinations, int32_t rows, int32_t count,
                     const uint8_t *inverseTable, const RgbQuad *colours) {
  switch (rows) {
  case 4:
    DitherRowsPlain<4>(sources, destinations, count, inverseTable, colours);
    break;
  case 3:
    DitherRowsPlain<3>(sources, destinations, count, inverseTable, colours);
    break;
  case 2:
    DitherRowsPlain<2>(sources, destinations, count, inverseTable, colours);
    break;
  default:
    DitherRowsPlain<1>(sources, destinations, count, inverseTable, colours);
    break;
  }
}

#if VOR_SSE2_LOOPS
// The channel arithmetic on 16-bit lanes, two rows to a register (lanes 0-3
// and 4-7): add the carried error with signed saturation, clamp by packing
// with unsigned saturation, halve both and subtract. Source pixels are read
// four bytes at a time except the last of a row, which is read in three so
// that nothing past the row is touched.

uint32_t LoadPixel(const uint8_t *pixel, bool lastOfRow) {
  uint32_t raw = 0;
  if (lastOfRow) {
    raw =
        static_cast<uint32_t>(pixel[0]) | static_cast<uint32_t>(pixel[1]) << 8 | static_cast<uint32_t>(pixel[2]) << 16;
  } else {
    std::memcpy(&raw, pixel, sizeof raw);
  }
  return raw & kLowThreeBytes;
}

// One pixel of two rows; answers the error they carry on. The slots of both
// pixels come out of one multiply-add: blue x 1024 + green x 32 and red x 1,
// summed across neighbouring lanes.
VOR_TARGET_SSE2 inline __m128i DitherPixelPair(const uint8_t *first, const uint8_t *second, bool lastOfRow,
                                               __m128i error, uint8_t &firstIndex, uint8_t &secondIndex,
                                               const uint8_t *inverseTable, const DitherHalves &halves) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i slotWeights = _mm_set_epi16(0, 1, 1 << 5, 1 << 10, 0, 1, 1 << 5, 1 << 10);
  const __m128i pair = _mm_unpacklo_epi32(_mm_cvtsi32_si128(static_cast<int>(LoadPixel(first, lastOfRow))),
                                          _mm_cvtsi32_si128(static_cast<int>(LoadPixel(second, lastOfRow))));
  // Clamped to 0..255 by packing with unsigned saturation, then widened again.
  const __m128i value =
      _mm_unpacklo_epi8(_mm_packus_epi16(_mm_adds_epi16(_mm_unpacklo_epi8(pair, zero), error), zero), zero);
  const __m128i parts = _mm_madd_epi16(_mm_srli_epi16(value, 3), slotWeights);
  const __m128i slots = _mm_add_epi32(parts, _mm_shuffle_epi32(parts, _MM_SHUFFLE(2, 3, 0, 1)));
  firstIndex = inverseTable[static_cast<uint32_t>(_mm_cvtsi128_si32(slots))];
  secondIndex = inverseTable[static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_srli_si128(slots, 8)))];
  const __m128i chosen =
      _mm_unpacklo_epi64(_mm_loadl_epi64(reinterpret_cast<const __m128i *>(&halves.entries[firstIndex])),
                         _mm_loadl_epi64(reinterpret_cast<const __m128i *>(&halves.entries[secondIndex])));
  return _mm_sub_epi16(_mm_srli_epi16(value, 1), chosen);
}

// rows is 1 to 4; an odd row pairs with itself.
VOR_TARGET_SSE2 void DitherRowsSse2(const uint8_t *const *sources, uint8_t *const *destinations, int32_t rows,
                                    int32_t count, const uint8_t *inverseTable, const DitherHalves &halves) {
  const uint8_t *pairedSources[kRowsAtOnce];
  for (int32_t r = 0; r < kRowsAtOnce; ++r) {
    pairedSources[r] = sources[r < rows ? r : rows - 1];
  }
  const size_t pairs = static_cast<size_t>(rows + 1) / 2;
  __m128i error[2] = {_mm_setzero_si128(), _mm_setzero_si128()};
  uint8_t indices[kRowsAtOnce];
  for (int32_t i = 0; i < count; ++i) {
    const size_t offset = static_cast<size_t>(i) * 3;
    const bool last = i + 1 == count;
    for (size_t p = 0; p < pairs; ++p) {
      error[p] = DitherPixelPair(pairedSources[2 * p] + offset, pairedSources[2 * p + 1] + offset, last, error[p],
                                 indices[2 * p], indices[2 * p + 1], inverseTable, halves);
    }
    for (int32_t r = 0; r < rows; ++r) {
      destinations[r][i] = indices[r];
    }
  }
}
#endif

int32_t SaturateToInt32(int64_t value) {
  // Kept within -INT32_MAX so that the value can be negated.
  return static_cast<int32_t>(std::clamp<int64_t>(value, -INT32_MAX, INT32_MAX));
}

} // namespace

DitherEngine::DitherEngine(Palette *palette, int32_t /*flag*/) : m_palette(palette) {
  if (palette == nullptr) {
    return;
  }
  const RgbQuad *entries = palette->GetEntries();
  m_count = entries != nullptr ? palette->GetCount() : 0;
  for (int32_t i = 0; i < m_count; ++i) {
    m_colors[i] = RgbQuad{entries[i].blue, entries[i].green, entries[i].red, 0};
  }
  m_halves = DitherHalves(m_colors, m_count);
}

DitherHalves::DitherHalves(const RgbQuad *colours, int32_t count) : entries() {
  for (int32_t i = 0; i < std::min<int32_t>(count, kMaxColorTableEntries); ++i) {
    entries[i] = {static_cast<uint16_t>(colours[i].blue >> 1), static_cast<uint16_t>(colours[i].green >> 1),
                  static_cast<uint16_t>(colours[i].red >> 1), 0};
  }
}

namespace {

void DitherRows(const uint8_t *const *sources, uint8_t *const *destinations, int32_t rows, int32_t count,
                const uint8_t *inverseTable, const RgbQuad *colours, const DitherHalves &halves, PixelLoops loops) {
#if VOR_SSE2_LOOPS
  if (loops == PixelLoops::kVector) {
    DitherRowsSse2(sources, destinations, rows, count, inverseTable, halves);
    return;
  }
#else
  static_cast<void>(loops);
  static_cast<void>(halves);
#endif
  DitherRowsPlain(sources, destinations, rows, count, inverseTable, colours);
}

} // namespace

void DitherEngine::DitherRow(const uint8_t *source, uint8_t *destination, int32_t count, const uint8_t *inverseTable,
                             const RgbQuad *colours, int32_t colourCount, PixelLoops loops) {
  DitherRows(&source, &destination, 1, count, inverseTable, colours, DitherHalves(colours, colourCount), loops);
}

bool DitherEngine::CheckSizes(const BitmapInfoHeader *source, const BitmapInfoHeader *destination,
                              const VORRect *sourceRect, const VORRect *destinationRect) const {
  if (source == nullptr || destination == nullptr) {
    return false;
  }
  if (sourceRect != nullptr && destinationRect != nullptr) {
    return sourceRect->Width() == destinationRect->Width() && sourceRect->Height() == destinationRect->Height();
  }
  const auto absolute = [](int32_t value) { return value < 0 ? -static_cast<int64_t>(value) : value; };
  return source->biWidth == destination->biWidth && absolute(source->biHeight) == absolute(destination->biHeight);
}

void DitherEngine::CopyColorTable(BitmapInfoHeader *destination) const {
  DibLayout layout;
  if (destination == nullptr || !DibImage::ComputeLayout(*destination, layout)) {
    return;
  }
  auto *table =
      reinterpret_cast<RgbQuad *>(reinterpret_cast<uint8_t *>(destination) + layout.headerSize + layout.maskBytes);
  const int32_t count = std::min(static_cast<int32_t>(layout.colorEntries), m_count);
  for (int32_t i = 0; i < count; ++i) {
    table[i].blue = m_colors[i].blue;
    table[i].green = m_colors[i].green;
    table[i].red = m_colors[i].red;
  }
}

bool DitherEngine::Convert(const BitmapInfoHeader *sourceInfo, BitmapInfoHeader *destinationInfo,
                           const void *sourceBits, void *destinationBits, const VORRect *sourceRect,
                           const VORRect *destinationRect, PixelLoops loops) {
  if (!CheckSizes(sourceInfo, destinationInfo, sourceRect, destinationRect) || m_palette == nullptr || m_count <= 0) {
    return false;
  }
  DibImage source, destination;
  if (!source.Wrap(const_cast<BitmapInfoHeader *>(sourceInfo), const_cast<void *>(sourceBits)) ||
      !destination.Wrap(destinationInfo, destinationBits) || source.GetBitsPerPixel() != kSourceDepth ||
      destination.GetBitsPerPixel() != kDestinationDepth) {
    return false;
  }
  const uint8_t *inverseTable = m_palette->GetInverseTable();
  if (inverseTable == nullptr) {
    return false;
  }
  CopyColorTable(destinationInfo);

  const VORRect sourceImage(0, 0, source.GetWidth(), source.GetHeight());
  const VORRect destinationImage(0, 0, destination.GetWidth(), destination.GetHeight());
  const VORRect from = sourceRect != nullptr ? *sourceRect : sourceImage;
  const VORRect to = destinationRect != nullptr ? *destinationRect : destinationImage;
  const int32_t dx = SaturateToInt32(static_cast<int64_t>(to.left) - from.left);
  const int32_t dy = SaturateToInt32(static_cast<int64_t>(to.top) - from.top);

  // The source pixels whose source and destination both lie inside their images.
  VORRect area, reachable;
  if (!area.Intersect(from, sourceImage) || !reachable.Intersect(to, destinationImage) ||
      !area.Intersect(area, reachable.Offset(-dx, -dy))) {
    return true;
  }
  // Rows go in groups; each starts without error, so the order does not matter.
  for (int32_t y = area.top; y < area.bottom; y += kRowsAtOnce) {
    const int32_t rows = std::min(kRowsAtOnce, area.bottom - y);
    const uint8_t *sourceRows[kRowsAtOnce] = {};
    uint8_t *destinationRows[kRowsAtOnce] = {};
    for (int32_t r = 0; r < rows; ++r) {
      sourceRows[r] = source.GetRowAddress(y + r) + static_cast<size_t>(area.left) * 3;
      destinationRows[r] = destination.GetRowAddress(y + r + dy) + (area.left + dx);
    }
    DitherRows(sourceRows, destinationRows, rows, area.right - area.left, inverseTable, m_colors, m_halves, loops);
  }
  return true;
}
