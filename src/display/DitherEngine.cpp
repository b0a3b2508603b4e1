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

// The inverse-table slot of a pixel held as blue | green << 8 | red << 16.
uint32_t SlotOfPacked(uint32_t bgr) {
  return ((bgr >> 19) & 0x1F) | ((bgr >> 11) & 0x1F) << 5 | ((bgr >> 3) & 0x1F) << 10;
}

void DitherRowPlain(const uint8_t *source, uint8_t *destination, int32_t count, const uint8_t *inverseTable,
                    const RgbQuad *colours) {
  int32_t errorBlue = 0, errorGreen = 0, errorRed = 0;
  for (int32_t i = 0; i < count; ++i, source += 3) {
    const int32_t blue = ClampChannel(source[0] + errorBlue);
    const int32_t green = ClampChannel(source[1] + errorGreen);
    const int32_t red = ClampChannel(source[2] + errorRed);
    const uint8_t index = inverseTable[Palette::InverseSlot(static_cast<uint8_t>(red), static_cast<uint8_t>(green),
                                                            static_cast<uint8_t>(blue))];
    destination[i] = index;
    const RgbQuad &chosen = colours[index];
    errorBlue = (blue >> 1) - (chosen.blue >> 1);
    errorGreen = (green >> 1) - (chosen.green >> 1);
    errorRed = (red >> 1) - (chosen.red >> 1);
  }
}

#if VOR_SSE2_LOOPS
// The channel arithmetic on 16-bit lanes: add the carried error with signed
// saturation, clamp by packing with unsigned saturation, halve both and
// subtract. Source pixels are read four bytes at a time except the last,
// which is read in three so that nothing past the row is touched.
VOR_TARGET_SSE2 void DitherRowSse2(const uint8_t *source, uint8_t *destination, int32_t count,
                                   const uint8_t *inverseTable, const RgbQuad *colours) {
  const __m128i zero = _mm_setzero_si128();
  __m128i error = zero;
  for (int32_t i = 0; i < count; ++i, source += 3) {
    uint32_t raw = 0;
    if (i + 1 < count) {
      std::memcpy(&raw, source, sizeof raw);
    } else {
      raw = static_cast<uint32_t>(source[0]) | static_cast<uint32_t>(source[1]) << 8 |
            static_cast<uint32_t>(source[2]) << 16;
    }
    const __m128i pixel = _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(raw & kLowThreeBytes)), zero);
    const __m128i packed = _mm_packus_epi16(_mm_adds_epi16(pixel, error), zero);
    const uint8_t index = inverseTable[SlotOfPacked(static_cast<uint32_t>(_mm_cvtsi128_si32(packed)))];
    destination[i] = index;
    uint32_t chosenRaw = 0;
    std::memcpy(&chosenRaw, &colours[index], sizeof chosenRaw);
    const __m128i chosen = _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(chosenRaw & kLowThreeBytes)), zero);
    const __m128i corrected = _mm_unpacklo_epi8(packed, zero);
    error = _mm_sub_epi16(_mm_srli_epi16(corrected, 1), _mm_srli_epi16(chosen, 1));
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
}

void DitherEngine::DitherRow(const uint8_t *source, uint8_t *destination, int32_t count, const uint8_t *inverseTable,
                             const RgbQuad *colours, PixelLoops loops) {
#if VOR_SSE2_LOOPS
  if (loops == PixelLoops::kVector) {
    DitherRowSse2(source, destination, count, inverseTable, colours);
    return;
  }
#else
  static_cast<void>(loops);
#endif
  DitherRowPlain(source, destination, count, inverseTable, colours);
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
  for (int32_t y = area.bottom - 1; y >= area.top; --y) {
    const uint8_t *sourceRow = source.GetRowAddress(y) + static_cast<size_t>(area.left) * 3;
    uint8_t *destinationRow = destination.GetRowAddress(y + dy) + (area.left + dx);
    DitherRow(sourceRow, destinationRow, area.right - area.left, inverseTable, m_colors, loops);
  }
  return true;
}
