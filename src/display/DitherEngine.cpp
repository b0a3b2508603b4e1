#include "display/DitherEngine.h"

#include <algorithm>

#include "display/DibImage.h"
#include "display/ErrorDiffusion.h"
#include "display/Palette.h"

namespace {

constexpr int32_t kSourceDepth = 24;
constexpr int32_t kDestinationDepth = 8;

int32_t ClampChannel(int32_t value) { return std::min(std::max(value, 0), 255); }

// Rows are independent (each starts without error), so several run side by
// side: their chains of table look-ups overlap instead of waiting on each other.
constexpr int32_t kPlainRowsAtOnce = 4;

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
  for (; rows > kPlainRowsAtOnce; rows -= kPlainRowsAtOnce) {
    DitherRowsPlain<kPlainRowsAtOnce>(sources, destinations, count, inverseTable, colours);
    sources += kPlainRowsAtOnce;
    destinations += kPlainRowsAtOnce;
  }
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
  m_halves = HalvesOf(m_colors, m_count);
}

ErrorDiffusion::ChosenColours DitherEngine::HalvesOf(const RgbQuad *colours, int32_t count) {
  ErrorDiffusion::ChosenColours halves{};
  for (int32_t i = 0; i < std::min<int32_t>(count, kMaxColorTableEntries); ++i) {
    halves.lanes[i][0] = static_cast<uint16_t>(colours[i].blue >> 1);
    halves.lanes[i][1] = static_cast<uint16_t>(colours[i].green >> 1);
    halves.lanes[i][2] = static_cast<uint16_t>(colours[i].red >> 1);
  }
  return halves;
}

namespace {

void DitherRows(const uint8_t *const *sources, uint8_t *const *destinations, int32_t rows, int32_t count,
                const uint8_t *inverseTable, const RgbQuad *colours, const ErrorDiffusion::ChosenColours &halves,
                PixelLoops loops) {
#if VOR_SSE2_LOOPS
  if (loops == PixelLoops::kVector) {
    ErrorDiffusion::DitherRows(sources, destinations, rows, count, inverseTable, halves);
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
  DitherRows(&source, &destination, 1, count, inverseTable, colours, HalvesOf(colours, colourCount), loops);
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
  constexpr int32_t kRowsAtOnce = ErrorDiffusion::kRowsAtOnce;
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
