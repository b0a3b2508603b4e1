#include "objects/BackgroundGradient.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <limits>
#include <memory>
#include <vector>

#include "display/DibImage.h"
#include "display/ErrorDiffusion.h"
#include "display/Palette.h"
#include "display/SimdSupport.h"

namespace BackgroundGradient {

namespace {

constexpr int32_t kChannelMax = 255;
// rand() % 8 - 4: a noise of -4 to 3 per pixel.
constexpr int32_t kNoiseSpan = 8;
constexpr int32_t kNoiseBias = 4;
// A 65,536-colour display keeps the top five bits of each channel.
constexpr int32_t kSixteenBitKeep = 0xF8;
// Diagonal lines are drawn by the display's line rasteriser: one step more
// on each side of the computed range keeps every line that may touch the clip.
constexpr int64_t kDiagonalMargin = 1;

// Pixels as the loops below hold them: blue, green, red and an unused fourth.
constexpr size_t kLanes = 4;

struct Channels {
  int32_t start[3];
  int32_t delta[3];
};

Channels ChannelsOf(const Gradient &gradient) {
  const int32_t first[3] = {RedOf(gradient.first), GreenOf(gradient.first), BlueOf(gradient.first)};
  const int32_t second[3] = {RedOf(gradient.second), GreenOf(gradient.second), BlueOf(gradient.second)};
  Channels channels{};
  for (int c = 0; c < 3; ++c) {
    channels.start[c] = first[c];
    channels.delta[c] = second[c] - first[c];
  }
  return channels;
}

int32_t ClampChannel(int64_t value) { return static_cast<int32_t>(std::clamp<int64_t>(value, 0, kChannelMax)); }

int32_t ToCoordinate(int64_t value) {
  return static_cast<int32_t>(
      std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

// c1 + d x i / n per channel; n above 0.
ColorRef StepColour(const Channels &channels, int64_t step, int64_t n) {
  uint8_t out[3];
  for (int c = 0; c < 3; ++c) {
    out[c] = static_cast<uint8_t>(ClampChannel(channels.start[c] + channels.delta[c] * step / n));
  }
  return MakeColorRef(out[0], out[1], out[2]);
}

bool IsKnownDirection(int32_t direction) { return direction >= kTopToBottom && direction <= kFromTopRight; }

// The area cut to the image; false when nothing is left or the image is not
// of the given depth.
bool CutToImage(const DibImage &image, int32_t depth, const VORRect &area, VORRect &cut) {
  if (!image.IsValid() || image.GetBitsPerPixel() != depth) {
    return false;
  }
  return cut.Intersect(area, VORRect(0, 0, image.GetWidth(), image.GetHeight()));
}

// The colour of the image's entry for an index, or the palette's past its table.
RgbQuad EntryOf(const DibImage &image, const Palette &palette, uint8_t index) {
  if (index < image.GetColorTableEntries()) {
    return image.GetColorTable()[index];
  }
  return palette.ColorOfIndex(index);
}

// The base colour is colour 1 plus a part that depends on the row and one
// that depends on the column (x, y relative to the object's corner); an
// object without area adds nothing.
int64_t RowPart(const Gradient &gradient, int64_t delta, int64_t y) {
  const int64_t width = gradient.object.Width(), height = gradient.object.Height();
  if (width <= 0 || height <= 0) {
    return 0;
  }
  switch (gradient.direction) {
  case kTopToBottom:
    return delta * y / height;
  case kFromTopLeft:
  case kFromTopRight:
    return delta / 2 * y / height;
  default:
    return 0;
  }
}

int64_t ColumnPart(const Gradient &gradient, int64_t delta, int64_t x) {
  const int64_t width = gradient.object.Width(), height = gradient.object.Height();
  if (width <= 0 || height <= 0) {
    return 0;
  }
  switch (gradient.direction) {
  case kLeftToRight:
    return delta * x / width;
  case kFromTopLeft:
    return delta / 2 * x / width;
  case kFromTopRight:
    return delta / 2 * (width - x) / width;
  default:
    return 0;
  }
}

// The column parts of an area worked out once, so that a pixel costs
// additions only; the row parts once per row.
class BaseColours {
public:
  BaseColours(const Gradient &gradient, const VORRect &area)
      : m_gradient(gradient), m_channels(ChannelsOf(gradient)), m_columns(static_cast<size_t>(area.Width()) * 3) {
    bool small = true;
    for (int32_t x = area.left; x < area.right; ++x) {
      for (int c = 0; c < 3; ++c) {
        const int64_t part = ColumnPart(gradient, m_channels.delta[c], static_cast<int64_t>(x) - gradient.object.left);
        m_columns[static_cast<size_t>(x - area.left) * 3 + c] = part;
        small = small && IsSmallPart(part);
      }
    }
    if (small) {
      m_lanes.resize(Columns() * kLanes);
      for (size_t i = 0; i < Columns(); ++i) {
        for (size_t c = 0; c < 3; ++c) {
          m_lanes[i * kLanes + 2 - c] = static_cast<int16_t>(m_columns[i * 3 + c]);
        }
      }
    }
  }
  size_t Columns() const { return m_columns.size() / 3; }
  // Colour 1 and the row's part: two rows with the same parts have the same
  // base colours.
  void Row(int32_t y, int64_t (&row)[3]) const {
    for (int c = 0; c < 3; ++c) {
      row[c] = m_channels.start[c] +
               RowPart(m_gradient, m_channels.delta[c], static_cast<int64_t>(y) - m_gradient.object.top);
    }
  }
  // The base colours of the row's columns: blue, green, red and 0 per column.
  void Colours(const int64_t (&row)[3], uint8_t *colours, PixelLoops loops) const {
#if VOR_SSE2_LOOPS
    if (loops == PixelLoops::kVector && !m_lanes.empty() && IsSmallPart(row[0]) && IsSmallPart(row[1]) &&
        IsSmallPart(row[2])) {
      ColoursSse2(row, colours);
      return;
    }
#else
    static_cast<void>(loops);
#endif
    ColoursPlain(row, 0, colours);
  }

private:
  // Parts this small add up in 16 bits without overflow; a gradient's parts
  // stay within its colours' difference except far outside its object.
  static constexpr int64_t kSmallPart = 16383;
  static bool IsSmallPart(int64_t part) { return part >= -kSmallPart && part <= kSmallPart; }

  // Columns from the first on.
  void ColoursPlain(const int64_t (&row)[3], size_t first, uint8_t *colours) const {
    for (size_t i = first; i < Columns(); ++i) {
      for (size_t c = 0; c < 3; ++c) {
        colours[i * kLanes + 2 - c] = static_cast<uint8_t>(ClampChannel(row[c] + m_columns[i * 3 + c]));
      }
      colours[i * kLanes + 3] = 0;
    }
  }

#if VOR_SSE2_LOOPS
  // Four columns at a time, clamped by packing with unsigned saturation.
  VOR_TARGET_SSE2 void ColoursSse2(const int64_t (&row)[3], uint8_t *colours) const {
    const auto blue = static_cast<int16_t>(row[2]), green = static_cast<int16_t>(row[1]),
               red = static_cast<int16_t>(row[0]);
    const __m128i rowLanes = _mm_set_epi16(0, red, green, blue, 0, red, green, blue);
    size_t i = 0;
    for (; i + 4 <= Columns(); i += 4) {
      const __m128i first = _mm_loadu_si128(reinterpret_cast<const __m128i *>(m_lanes.data() + i * kLanes));
      const __m128i second = _mm_loadu_si128(reinterpret_cast<const __m128i *>(m_lanes.data() + (i + 2) * kLanes));
      _mm_storeu_si128(reinterpret_cast<__m128i *>(colours + i * kLanes),
                       _mm_packus_epi16(_mm_add_epi16(first, rowLanes), _mm_add_epi16(second, rowLanes)));
    }
    ColoursPlain(row, i, colours);
  }
#endif

  const Gradient &m_gradient;
  Channels m_channels;
  std::vector<int64_t> m_columns;
  // The column parts as 16-bit blue, green, red and 0 when they are all small.
  std::vector<int16_t> m_lanes;
};

bool SameRow(const int64_t (&a)[3], const int64_t (&b)[3]) { return a[0] == b[0] && a[1] == b[1] && a[2] == b[2]; }

// One row of the 65,536-colour form from its base colours.
void KeepFiveBits(const uint8_t *base, uint8_t *pixels, size_t count) {
  int32_t carried[3] = {0, 0, 0};
  for (size_t i = 0; i < count; ++i) {
    for (size_t c = 0; c < 3; ++c) {
      const int32_t value = std::min(base[i * kLanes + c] + carried[c], kChannelMax);
      const int32_t kept = value & kSixteenBitKeep;
      pixels[i * 3 + c] = static_cast<uint8_t>(kept);
      carried[c] = value - kept;
    }
  }
}

// The colours an 8-bit image shows for each index: blue, green and red per
// index for the plain loop, and the same as the vector loop subtracts them.
struct EntryColours {
  uint8_t channels[kMaxColorTableEntries][3];
  ErrorDiffusion::ChosenColours lanes;

  EntryColours(const DibImage &image, const Palette &palette) : channels(), lanes() {
    for (uint32_t index = 0; index < kMaxColorTableEntries; ++index) {
      const RgbQuad entry = EntryOf(image, palette, static_cast<uint8_t>(index));
      const uint8_t bgr[3] = {entry.blue, entry.green, entry.red};
      for (size_t c = 0; c < 3; ++c) {
        channels[index][c] = bgr[c];
        lanes.lanes[index][c] = bgr[c];
      }
    }
  }
};

// What each pixel of a row aims at before the carried error: its base colour
// (blue, green, red, 0 per pixel) plus its noise, rand() % 8 - 4 on all
// three channels, as 16-bit numbers with the fourth kept 0.
int16_t NoiseOf(int32_t number) { return static_cast<int16_t>(number % kNoiseSpan - kNoiseBias); }

void AimsOfRowPlain(const uint8_t *bases, const int32_t *numbers, size_t count, int16_t *aims) {
  for (size_t i = 0; i < count; ++i) {
    const int16_t noise = NoiseOf(numbers[i]);
    for (size_t c = 0; c < 3; ++c) {
      aims[i * kLanes + c] = static_cast<int16_t>(bases[i * kLanes + c] + noise);
    }
    aims[i * kLanes + 3] = 0;
  }
}

#if VOR_SSE2_LOOPS
// Four pixels at a time, from the first on. The numbers lie in 0..0x7FFF, so
// their remainder by 8 is their low three bits.
VOR_TARGET_SSE2 void AimsOfRowSse2(size_t first, const uint8_t *bases, const int32_t *numbers, size_t count,
                                   int16_t *aims) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i low = _mm_set1_epi32(kNoiseSpan - 1);
  const __m128i bias = _mm_set1_epi32(kNoiseBias);
  const __m128i colourLanes = _mm_set_epi16(0, -1, -1, -1, 0, -1, -1, -1);
  size_t i = first;
  for (; i + 4 <= count; i += 4) {
    const __m128i drawn = _mm_loadu_si128(reinterpret_cast<const __m128i *>(numbers + i));
    const __m128i noise32 = _mm_sub_epi32(_mm_and_si128(drawn, low), bias);
    const __m128i noise16 = _mm_packs_epi32(noise32, noise32);    // n0 n1 n2 n3 n0 n1 n2 n3
    const __m128i doubled = _mm_unpacklo_epi16(noise16, noise16); // n0 n0 n1 n1 n2 n2 n3 n3
    const __m128i firstNoise = _mm_and_si128(_mm_unpacklo_epi32(doubled, doubled), colourLanes);
    const __m128i secondNoise = _mm_and_si128(_mm_unpackhi_epi32(doubled, doubled), colourLanes);
    const __m128i base = _mm_loadu_si128(reinterpret_cast<const __m128i *>(bases + i * kLanes));
    _mm_storeu_si128(reinterpret_cast<__m128i *>(aims + i * kLanes),
                     _mm_add_epi16(_mm_unpacklo_epi8(base, zero), firstNoise));
    _mm_storeu_si128(reinterpret_cast<__m128i *>(aims + (i + 2) * kLanes),
                     _mm_add_epi16(_mm_unpackhi_epi8(base, zero), secondNoise));
  }
  AimsOfRowPlain(bases + i * kLanes, numbers + i, count - i, aims + i * kLanes);
}
#endif

// Eight pixels at a time; answers where it stopped.
VOR_TARGET_AVX2 size_t AimsOfRowAvx2(const uint8_t *bases, const int32_t *numbers, size_t count, int16_t *aims) {
  const __m256i low = _mm256_set1_epi32(kNoiseSpan - 1);
  const __m256i bias = _mm256_set1_epi32(kNoiseBias);
  // A pixel's noise is the low 16 bits of its number's 32-bit lane, put in
  // its three colour lanes (-1: a zero byte). Within each 128-bit half, one
  // shuffle takes that half's first two pixels, the other its last two.
  const __m256i firstTwo = _mm256_setr_epi8(0, 1, 0, 1, 0, 1, -1, -1, 4, 5, 4, 5, 4, 5, -1, -1, 0, 1, 0, 1, 0, 1, -1,
                                            -1, 4, 5, 4, 5, 4, 5, -1, -1);
  const __m256i lastTwo = _mm256_setr_epi8(8, 9, 8, 9, 8, 9, -1, -1, 12, 13, 12, 13, 12, 13, -1, -1, 8, 9, 8, 9, 8, 9,
                                           -1, -1, 12, 13, 12, 13, 12, 13, -1, -1);
  size_t i = 0;
  for (; i + 8 <= count; i += 8) {
    const __m256i drawn = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(numbers + i));
    const __m256i noise = _mm256_sub_epi32(_mm256_and_si256(drawn, low), bias);
    const __m256i early = _mm256_shuffle_epi8(noise, firstTwo); // pixels 0, 1 | 4, 5
    const __m256i late = _mm256_shuffle_epi8(noise, lastTwo);   // pixels 2, 3 | 6, 7
    const __m256i firstBases =
        _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i *>(bases + i * kLanes)));
    const __m256i lastBases =
        _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i *>(bases + (i + 4) * kLanes)));
    _mm256_storeu_si256(reinterpret_cast<__m256i *>(aims + i * kLanes),
                        _mm256_add_epi16(firstBases, _mm256_permute2x128_si256(early, late, 0x20)));
    _mm256_storeu_si256(reinterpret_cast<__m256i *>(aims + (i + 4) * kLanes),
                        _mm256_add_epi16(lastBases, _mm256_permute2x128_si256(early, late, 0x31)));
  }
  return i;
}

void AimsOfRow(const uint8_t *bases, const int32_t *numbers, size_t count, int16_t *aims, PixelLoops loops) {
#if VOR_SSE2_LOOPS
  if (loops == PixelLoops::kVector) {
    const size_t first = UseWideVectorLoops(loops) ? AimsOfRowAvx2(bases, numbers, count, aims) : 0;
    AimsOfRowSse2(first, bases, numbers, count, aims);
    return;
  }
#else
  static_cast<void>(loops);
#endif
  AimsOfRowPlain(bases, numbers, count, aims);
}

// Each row starts without error, so rows run side by side: their chains of
// table look-ups overlap instead of waiting on each other.
constexpr int32_t kPlainRowsAtOnce = 4;

// Rows of the 256-colour form: aims in, palette indexes out.
template <int32_t Rows>
void DiffuseRowsPlain(const int16_t *const *aims, uint8_t *const *rows, size_t count, const uint8_t *inverseTable,
                      const EntryColours &entries, int16_t (*state)[4]) {
  int32_t carried[Rows][3];
  for (int32_t r = 0; r < Rows; ++r) {
    std::copy(state[r], state[r] + 3, carried[r]);
  }
  for (size_t i = 0; i < count; ++i) {
    for (int32_t r = 0; r < Rows; ++r) {
      const int16_t *aim = aims[r] + i * kLanes;
      int32_t value[3]; // blue, green, red
      for (size_t c = 0; c < 3; ++c) {
        value[c] = std::min(std::max(aim[c] + carried[r][c], 0), kChannelMax);
      }
      const uint8_t index = inverseTable[Palette::InverseSlot(
          static_cast<uint8_t>(value[2]), static_cast<uint8_t>(value[1]), static_cast<uint8_t>(value[0]))];
      rows[r][i] = index;
      for (size_t c = 0; c < 3; ++c) {
        carried[r][c] = value[c] - entries.channels[index][c];
      }
    }
  }
  for (int32_t r = 0; r < Rows; ++r) {
    std::copy(carried[r], carried[r] + 3, state[r]);
  }
}

// The first rows and columns of a block's aims into its indexes; the rows go
// on from the errors carried and leave them as they stand.
void DiffuseBlock(ErrorDiffusion::AimBlock &block, int32_t rowCount, size_t columns, const uint8_t *inverseTable,
                  const EntryColours &entries, ErrorDiffusion::Carried &carried, PixelLoops loops) {
#if VOR_SSE2_LOOPS
  if (loops == PixelLoops::kVector) {
    ErrorDiffusion::DiffuseBlock(block, rowCount, static_cast<int32_t>(columns), inverseTable, entries.lanes, carried);
    return;
  }
#else
  static_cast<void>(loops);
#endif
  const int16_t *aims[ErrorDiffusion::kRowsAtOnce];
  uint8_t *rows[ErrorDiffusion::kRowsAtOnce];
  for (int32_t r = 0; r < rowCount; ++r) {
    aims[r] = block.aims[r][0];
    rows[r] = block.indexes[r];
  }
  int32_t done = 0;
  for (; rowCount - done > kPlainRowsAtOnce; done += kPlainRowsAtOnce) {
    DiffuseRowsPlain<kPlainRowsAtOnce>(aims + done, rows + done, columns, inverseTable, entries, carried.lanes + done);
  }
  switch (rowCount - done) {
  case 4:
    DiffuseRowsPlain<4>(aims + done, rows + done, columns, inverseTable, entries, carried.lanes + done);
    break;
  case 3:
    DiffuseRowsPlain<3>(aims + done, rows + done, columns, inverseTable, entries, carried.lanes + done);
    break;
  case 2:
    DiffuseRowsPlain<2>(aims + done, rows + done, columns, inverseTable, entries, carried.lanes + done);
    break;
  default:
    DiffuseRowsPlain<1>(aims + done, rows + done, columns, inverseTable, entries, carried.lanes + done);
    break;
  }
}

// The base colours of a group of rows. Rows with the same parts share their
// colours, and a row is worked out again only when its parts change.
class BaseRows {
public:
  BaseRows(const BaseColours &base, PixelLoops loops)
      : m_base(base), m_loops(loops), m_colours(base.Columns() * kLanes * ErrorDiffusion::kRowsAtOnce) {}
  // Row y as the slot-th row of its group, slots counted from 0 up.
  const uint8_t *Row(int32_t slot, int32_t y) {
    Slot &entry = m_slots[slot];
    m_base.Row(y, entry.parts);
    if (slot > 0 && SameRow(entry.parts, m_slots[slot - 1].parts)) {
      entry.colours = m_slots[slot - 1].colours;
      return entry.colours;
    }
    entry.colours = m_colours.data() + static_cast<size_t>(slot) * m_base.Columns() * kLanes;
    if (!entry.ownValid || !SameRow(entry.parts, entry.ownParts)) {
      m_base.Colours(entry.parts, entry.colours, m_loops);
      std::copy(std::begin(entry.parts), std::end(entry.parts), std::begin(entry.ownParts));
      entry.ownValid = true;
    }
    return entry.colours;
  }

private:
  struct Slot {
    int64_t parts[3] = {0, 0, 0};
    uint8_t *colours = nullptr;
    // The parts whose colours the slot's own row holds.
    int64_t ownParts[3] = {0, 0, 0};
    bool ownValid = false;
  };
  const BaseColours &m_base;
  PixelLoops m_loops;
  std::vector<uint8_t> m_colours;
  Slot m_slots[ErrorDiffusion::kRowsAtOnce];
};

} // namespace

int64_t StepCount(const Gradient &gradient) {
  const int64_t width = gradient.object.Width();
  const int64_t height = gradient.object.Height();
  int64_t n = 0;
  switch (gradient.direction) {
  case kTopToBottom:
    n = height;
    break;
  case kLeftToRight:
    n = width;
    break;
  case kFromTopLeft:
  case kFromTopRight:
    n = 2 * std::max(width, height);
    break;
  default:
    break;
  }
  return std::max<int64_t>(n, 0);
}

StepRange VisibleSteps(const Gradient &gradient, const VORRect &clip) {
  const int64_t n = StepCount(gradient);
  if (n == 0 || clip.IsEmpty()) {
    return {};
  }
  const int64_t left = gradient.object.left, top = gradient.object.top, right = gradient.object.right;
  StepRange range{0, n};
  switch (gradient.direction) {
  case kTopToBottom: // line i is row top + i
    range = {static_cast<int64_t>(clip.top) - top, static_cast<int64_t>(clip.bottom) - top};
    break;
  case kLeftToRight: // line i is column left + i
    range = {static_cast<int64_t>(clip.left) - left, static_cast<int64_t>(clip.right) - left};
    break;
  case kFromTopLeft: // line i holds pixels with x + y of left + top + i - 1 and left + top + i
    range = {static_cast<int64_t>(clip.left) + clip.top - left - top - kDiagonalMargin,
             static_cast<int64_t>(clip.right) + clip.bottom - 1 - left - top + kDiagonalMargin};
    break;
  case kFromTopRight: // line i holds pixels with x - y = right - top - i
    range = {right - top - (static_cast<int64_t>(clip.right) - 1 - clip.top) - kDiagonalMargin,
             right - top - (static_cast<int64_t>(clip.left) - clip.bottom + 1) + 1 + kDiagonalMargin};
    break;
  default:
    return {};
  }
  range.first = std::max<int64_t>(range.first, 0);
  range.last = std::min(range.last, n);
  return range;
}

Line LineAt(const Gradient &gradient, int64_t step) {
  const Channels channels = ChannelsOf(gradient);
  const int64_t n = StepCount(gradient);
  const VORRect &o = gradient.object;
  Line line;
  switch (gradient.direction) {
  case kTopToBottom:
    // Colour 2 falls on the last row, so the divisor is n - 1; an object one
    // pixel high has no second row and shows colour 1.
    line = {n > 1 ? StepColour(channels, step, n - 1) : gradient.first, o.left, ToCoordinate(o.top + step), o.right,
            ToCoordinate(o.top + step)};
    break;
  case kLeftToRight:
    line = {StepColour(channels, step, n), ToCoordinate(o.left + step), o.top, ToCoordinate(o.left + step), o.bottom};
    break;
  case kFromTopLeft:
    line = {StepColour(channels, step, n), o.left, ToCoordinate(o.top + step), ToCoordinate(o.left + step),
            ToCoordinate(static_cast<int64_t>(o.top) - 1)};
    break;
  case kFromTopRight:
    line = {StepColour(channels, step, n), ToCoordinate(o.right - step), o.top, o.right, ToCoordinate(o.top + step)};
    break;
  default:
    line.colour = gradient.first;
    break;
  }
  return line;
}

void BaseColour(const Gradient &gradient, int64_t x, int64_t y, int32_t (&channels)[3]) {
  const Channels c = ChannelsOf(gradient);
  for (int k = 0; k < 3; ++k) {
    channels[k] = ClampChannel(c.start[k] + RowPart(gradient, c.delta[k], y) + ColumnPart(gradient, c.delta[k], x));
  }
}

bool Fill8(DibImage &image, const VORRect &area, const Gradient &gradient, Palette &palette, const RandomSource &random,
           PixelLoops loops) {
  VORRect cut;
  if (!IsKnownDirection(gradient.direction) || palette.GetCount() == 0 || !CutToImage(image, 8, area, cut)) {
    return false;
  }
  const uint8_t *inverseTable = palette.GetInverseTable();
  if (inverseTable == nullptr) {
    return false;
  }
  const BaseColours base(gradient, cut);
  BaseRows baseRows(base, loops);
  const EntryColours entries(image, palette);
  const size_t count = base.Columns();
  constexpr int32_t kRowsAtOnce = ErrorDiffusion::kRowsAtOnce;
  constexpr size_t kBlockColumns = ErrorDiffusion::kBlockColumns;
  std::vector<int32_t> numbers(count * kRowsAtOnce);
  const auto block = std::make_unique<ErrorDiffusion::AimBlock>();
  for (int32_t y = cut.top; y < cut.bottom; y += kRowsAtOnce) {
    const int32_t rowCount = std::min(kRowsAtOnce, cut.bottom - y);
    // The numbers are drawn in row order, one per pixel.
    random(numbers.data(), count * static_cast<size_t>(rowCount));
    const uint8_t *bases[kRowsAtOnce] = {};
    for (int32_t r = 0; r < rowCount; ++r) {
      bases[r] = baseRows.Row(r, y + r);
    }
    // Block by block, so that the aims stay in the cache beside the inverse table.
    ErrorDiffusion::Carried carried;
    for (size_t x = 0; x < count; x += kBlockColumns) {
      const size_t columns = std::min(kBlockColumns, count - x);
      for (int32_t r = 0; r < rowCount; ++r) {
        AimsOfRow(bases[r] + x * kLanes, numbers.data() + static_cast<size_t>(r) * count + x, columns,
                  block->aims[r][0], loops);
      }
      DiffuseBlock(*block, rowCount, columns, inverseTable, entries, carried, loops);
      for (int32_t r = 0; r < rowCount; ++r) {
        std::memcpy(image.GetRowAddress(y + r) + cut.left + x, block->indexes[r], columns);
      }
    }
  }
  return true;
}

bool Fill16(DibImage &image, const VORRect &area, const Gradient &gradient) {
  VORRect cut;
  if (!IsKnownDirection(gradient.direction) || !CutToImage(image, 24, area, cut)) {
    return false;
  }
  const BaseColours base(gradient, cut);
  const size_t count = base.Columns();
  std::vector<uint8_t> bases(count * kLanes);
  const uint8_t *previous = nullptr;
  int64_t previousBase[3] = {0, 0, 0};
  for (int32_t y = cut.top; y < cut.bottom; ++y) {
    uint8_t *row = image.GetRowAddress(y) + static_cast<size_t>(cut.left) * 3;
    int64_t rowBase[3];
    base.Row(y, rowBase);
    // A row's pixels depend on its row parts alone, and a gradient changes
    // them every few rows at most: a repeated row is copied.
    if (previous != nullptr && SameRow(rowBase, previousBase)) {
      std::memcpy(row, previous, count * 3);
      continue;
    }
    base.Colours(rowBase, bases.data(), PixelLoops::kPlain);
    KeepFiveBits(bases.data(), row, count);
    previous = row;
    std::copy(std::begin(rowBase), std::end(rowBase), std::begin(previousBase));
  }
  return true;
}

} // namespace BackgroundGradient
