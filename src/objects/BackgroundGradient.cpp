#include "objects/BackgroundGradient.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <limits>
#include <vector>

#include "display/DibImage.h"
#include "display/Palette.h"

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
    for (int32_t x = area.left; x < area.right; ++x) {
      for (int c = 0; c < 3; ++c) {
        m_columns[static_cast<size_t>(x - area.left) * 3 + c] =
            ColumnPart(gradient, m_channels.delta[c], static_cast<int64_t>(x) - gradient.object.left);
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
  // The base colours of the row's columns, red, green and blue per column.
  void Colours(const int64_t (&row)[3], uint8_t *colours) const {
    for (size_t i = 0; i < m_columns.size(); i += 3) {
      for (size_t c = 0; c < 3; ++c) {
        colours[i + c] = static_cast<uint8_t>(ClampChannel(row[c] + m_columns[i + c]));
      }
    }
  }

private:
  const Gradient &m_gradient;
  Channels m_channels;
  std::vector<int64_t> m_columns;
};

bool SameRow(const int64_t (&a)[3], const int64_t (&b)[3]) { return a[0] == b[0] && a[1] == b[1] && a[2] == b[2]; }

// One row of the 65,536-colour form from its base colours.
void KeepFiveBits(const uint8_t *base, uint8_t *pixels, size_t count) {
  int32_t carried[3] = {0, 0, 0};
  for (size_t i = 0; i < count * 3; i += 3) {
    for (size_t c = 0; c < 3; ++c) {
      const int32_t value = std::min(base[i + c] + carried[c], kChannelMax);
      const int32_t kept = value & kSixteenBitKeep;
      pixels[i + 2 - c] = static_cast<uint8_t>(kept); // blue, green, red in memory
      carried[c] = value - kept;
    }
  }
}

// The colours an 8-bit image shows for each index, split by channel.
struct EntryColours {
  int32_t channel[3][256];

  EntryColours(const DibImage &image, const Palette &palette) : channel() {
    for (int32_t index = 0; index < 256; ++index) {
      const RgbQuad entry = EntryOf(image, palette, static_cast<uint8_t>(index));
      channel[0][index] = entry.red;
      channel[1][index] = entry.green;
      channel[2][index] = entry.blue;
    }
  }
};

// Each row starts without error, so rows run side by side: their chains of
// table look-ups overlap instead of waiting on each other.
constexpr int32_t kRowsAtOnce = 4;

// Rows of the 256-colour form: bases and numbers (count per row, in row
// order) in, palette indexes out.
template <int32_t Rows>
void DiffuseRows(const uint8_t *bases, const int32_t *numbers, size_t count, uint8_t *const *rows,
                 const uint8_t *inverseTable, const EntryColours &entries) {
  int32_t carried[Rows][3] = {};
  for (size_t i = 0; i < count; ++i) {
    for (int32_t r = 0; r < Rows; ++r) {
      const int32_t noise = numbers[r * count + i] % kNoiseSpan - kNoiseBias;
      const uint8_t *base = bases + (r * count + i) * 3;
      int32_t value[3];
      for (int c = 0; c < 3; ++c) {
        value[c] = std::min(std::max(base[c] + noise + carried[r][c], 0), kChannelMax);
      }
      const uint8_t index = inverseTable[Palette::InverseSlot(
          static_cast<uint8_t>(value[0]), static_cast<uint8_t>(value[1]), static_cast<uint8_t>(value[2]))];
      rows[r][i] = index;
      for (int c = 0; c < 3; ++c) {
        carried[r][c] = value[c] - entries.channel[c][index];
      }
    }
  }
}

void DiffuseRows(int32_t rowCount, const uint8_t *bases, const int32_t *numbers, size_t count, uint8_t *const *rows,
                 const uint8_t *inverseTable, const EntryColours &entries) {
  switch (rowCount) {
  case 4:
    DiffuseRows<4>(bases, numbers, count, rows, inverseTable, entries);
    break;
  case 3:
    DiffuseRows<3>(bases, numbers, count, rows, inverseTable, entries);
    break;
  case 2:
    DiffuseRows<2>(bases, numbers, count, rows, inverseTable, entries);
    break;
  default:
    DiffuseRows<1>(bases, numbers, count, rows, inverseTable, entries);
    break;
  }
}

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

bool Fill8(DibImage &image, const VORRect &area, const Gradient &gradient, Palette &palette,
           const RandomSource &random) {
  VORRect cut;
  if (!IsKnownDirection(gradient.direction) || palette.GetCount() == 0 || !CutToImage(image, 8, area, cut)) {
    return false;
  }
  const uint8_t *inverseTable = palette.GetInverseTable();
  if (inverseTable == nullptr) {
    return false;
  }
  const BaseColours base(gradient, cut);
  const EntryColours entries(image, palette);
  const size_t count = base.Columns();
  std::vector<uint8_t> bases(count * 3 * kRowsAtOnce);
  std::vector<int32_t> numbers(count * kRowsAtOnce);
  for (int32_t y = cut.top; y < cut.bottom; y += kRowsAtOnce) {
    const int32_t rowCount = std::min(kRowsAtOnce, cut.bottom - y);
    uint8_t *rows[kRowsAtOnce] = {};
    for (int32_t r = 0; r < rowCount; ++r) {
      int64_t rowBase[3];
      base.Row(y + r, rowBase);
      base.Colours(rowBase, bases.data() + static_cast<size_t>(r) * count * 3);
      rows[r] = image.GetRowAddress(y + r) + cut.left;
    }
    // The numbers are drawn in row order, one per pixel.
    random(numbers.data(), count * static_cast<size_t>(rowCount));
    DiffuseRows(rowCount, bases.data(), numbers.data(), count, rows, inverseTable, entries);
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
  std::vector<uint8_t> bases(count * 3);
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
    base.Colours(rowBase, bases.data());
    KeepFiveBits(bases.data(), row, count);
    previous = row;
    std::copy(std::begin(rowBase), std::end(rowBase), std::begin(previousBase));
  }
  return true;
}

} // namespace BackgroundGradient
