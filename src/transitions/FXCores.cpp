#include "transitions/FXCores.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "foundation/VORRandomGenerator.h"

namespace {

// a x b / c in 64 bits; 0 when c is 0.
int32_t Scale(int64_t a, int64_t b, int64_t c) { return c == 0 ? 0 : static_cast<int32_t>(a * b / c); }

// A random number below n, for counts beyond the generator's 15 bits too.
int32_t RandomBelow(int32_t n) {
  if (n <= 1)
    return 0;
  const uint32_t high = static_cast<uint32_t>(VORRandomGenerator::Next());
  const uint32_t value =
      n > VORRandomGenerator::kMaxNumber ? (high << 15) | static_cast<uint32_t>(VORRandomGenerator::Next()) : high;
  return static_cast<int32_t>(value % static_cast<uint32_t>(n));
}

// The end state of a mask effect: all new when opening, all old when closing.
void FinishMask(FXMask &mask, bool closing) { mask.Fill(!closing); }

} // namespace

// ---- Fade --------------------------------------------------------------------

int32_t FadeCore::Prepare(int32_t width, int32_t height, bool closing) {
  m_width = width;
  m_height = height;
  m_closing = closing;
  m_level = 0;
  m_total = std::max(m_levels, 0);
  return m_total;
}

void FadeCore::Step(int32_t step, std::vector<VORRect> &changed) {
  m_level = step;
  changed.push_back(Whole());
}

int32_t FadeCore::NewOpacity(int32_t level, int32_t levels) {
  if (levels <= 0 || level >= levels)
    return 256;
  if (level <= 0)
    return 0;
  return std::min(level * 256 / levels + 1, 256);
}

int32_t FadeCore::ColourOpacity(int32_t level, int32_t levels) {
  const int32_t half = levels / 2;
  if (half == 0)
    return 0;
  if (level <= half)
    return level * 256 / half;
  return ((half - level) * 256) / (levels - half) + 255;
}

void FadeCore::Compose(FXImage &out, const FXImage &oldPicture, const FXImage &newPicture, const VORRect &area) const {
  const int32_t level = std::clamp(m_closing ? m_levels - m_level : m_level, 0, std::max(m_levels, 0));
  if (m_colour == kNoColour || m_levels <= 0) {
    // Without levels the effect is over at once: on the new picture, or
    // on the old one when closing.
    const int32_t opacity = m_levels <= 0 ? (m_closing ? 0 : 256) : NewOpacity(level, m_levels);
    if (opacity >= 256)
      FXCompose::Copy(out, newPicture, area);
    else if (opacity <= 0)
      FXCompose::Copy(out, oldPicture, area);
    else
      FXCompose::Blend(out, oldPicture, newPicture, area, opacity);
    return;
  }
  FXCompose::Copy(out, level <= m_levels / 2 ? oldPicture : newPicture, area);
  const int32_t opacity = ColourOpacity(level, m_levels);
  if (opacity >= 1)
    FXCompose::BlendColour(out, area, m_colour, std::min(opacity, 256));
}

// ---- Pixel dissolve ---------------------------------------------------------------

int32_t PixelCore::Prepare(int32_t width, int32_t height, bool closing) {
  m_width = width;
  m_height = height;
  m_closing = closing;
  m_drawn = -1;
  if (!m_mask.Resize(width, height)) {
    m_total = 0;
    return 0;
  }
  m_mask.Fill(closing);
  switch (m_mode) {
  case 0: {
    m_cellColumns = (width + kCellSide - 1) / kCellSide;
    const int32_t cellRows = (height + kCellSide - 1) / kCellSide;
    m_cellValues.resize(static_cast<size_t>(m_cellColumns) * static_cast<size_t>(cellRows));
    for (uint8_t &value : m_cellValues)
      value = static_cast<uint8_t>(RandomBelow(kCellPixels));
    m_total = kCellPixels;
    break;
  }
  case 1:
    m_total = 8;
    break;
  case 2:
    m_columns.clear();
    m_rows.clear();
    for (int32_t phase = 0; phase < 4; ++phase) {
      for (int32_t x = phase; x < width; x += 4)
        m_columns.push_back(x);
      for (int32_t y = phase; y < height; y += 4)
        m_rows.push_back(y);
    }
    m_total = width + height;
    break;
  default:
    m_total = width * height;
    break;
  }
  return m_total;
}

void PixelCore::Reveal(int32_t step) {
  const bool set = !m_closing;
  switch (m_mode) {
  case 0:
    for (size_t cell = 0; cell < m_cellValues.size(); ++cell) {
      uint8_t &value = m_cellValues[cell];
      const int32_t x = static_cast<int32_t>(cell % static_cast<size_t>(m_cellColumns)) * kCellSide + value % kCellSide;
      const int32_t y = static_cast<int32_t>(cell / static_cast<size_t>(m_cellColumns)) * kCellSide + value / kCellSide;
      // Cells on the right and bottom edges are cut: their outside pixels
      // are not in the mask.
      m_mask.Set(x, y, set);
      value = static_cast<uint8_t>((value + kStride) % kCellPixels);
    }
    break;
  case 1:
    if (step % 2 == 0) {
      for (int32_t x = step / 2; x < m_width; x += 4)
        for (int32_t y = 0; y < m_height; ++y)
          m_mask.Set(x, y, set);
    } else {
      for (int32_t y = step / 2; y < m_height; y += 4)
        m_mask.SetSpan(y, 0, m_width, set);
    }
    break;
  case 2: {
    // Columns and rows take turns; once one kind is used up the other goes on.
    const size_t columns = m_columns.size();
    const size_t rows = m_rows.size();
    const size_t index = static_cast<size_t>(step);
    const size_t paired = 2 * std::min(columns, rows);
    bool column;
    size_t which;
    if (index < paired) {
      column = index % 2 == 0;
      which = index / 2;
    } else {
      column = columns > rows;
      which = std::min(columns, rows) + (index - paired);
    }
    if (column && which < columns) {
      for (int32_t y = 0; y < m_height; ++y)
        m_mask.Set(m_columns[which], y, set);
    } else if (!column && which < rows) {
      m_mask.SetSpan(m_rows[which], 0, m_width, set);
    }
    break;
  }
  default:
    break;
  }
}

void PixelCore::Step(int32_t step, std::vector<VORRect> &changed) {
  if (step >= m_total) {
    FinishMask(m_mask, m_closing);
    m_drawn = m_total;
  } else {
    for (int32_t s = m_drawn + 1; s <= step; ++s)
      Reveal(s);
    m_drawn = std::max(m_drawn, step);
  }
  changed.push_back(Whole());
}

void PixelCore::Compose(FXImage &out, const FXImage &oldPicture, const FXImage &newPicture, const VORRect &area) const {
  FXCompose::ThroughMask(out, oldPicture, newPicture, m_mask, area);
}

// ---- Blinds -------------------------------------------------------------------------

int32_t BlindCore::Prepare(int32_t width, int32_t height, bool closing) {
  m_width = width;
  m_height = height;
  m_closing = closing;
  m_strips = std::max(m_strips, 1);
  m_extent = std::max(m_vertical ? width : height, 0);
  // Strips never get thinner than a pixel.
  m_strips = std::min(m_strips, std::max(m_extent, 1));
  m_count = (m_mode == 2 || m_mode == 3) ? 2 * m_strips : m_strips;
  m_total = (m_count + m_extent - 1) / m_count;
  m_revealed = 0;
  return m_total;
}

BlindCore::Span BlindCore::RevealedSpan(int32_t strip) const {
  const bool halves = m_mode == 2 || m_mode == 3;
  const int32_t k = halves ? strip / 2 : strip;
  const int32_t a = Scale(k, m_extent, m_strips);
  const int32_t b = Scale(k + 1, m_extent, m_strips);
  const int32_t r = m_revealed;
  const int32_t lag = m_fixed ? 0 : m_total - r;
  Span span{a, a, 0};
  const bool fromStart = m_mode == 0 || (m_mode == 3 && strip % 2 == 0);
  const bool fromEnd = m_mode == 1 || (m_mode == 3 && strip % 2 == 1);
  if (fromStart) {
    span = Span{a, a + r, -lag};
  } else if (fromEnd) {
    span = Span{b - r, b, lag};
  } else {
    const int32_t m = (a + b) / 2;
    span = strip % 2 == 1 ? Span{m - r, m, lag} : Span{m, m + r, -lag};
  }
  span.begin = std::max(span.begin, a);
  span.end = std::min(span.end, b);
  return span;
}

void BlindCore::Step(int32_t step, std::vector<VORRect> &changed) {
  m_revealed = m_closing ? m_total - step : step;
  changed.push_back(Whole());
}

void BlindCore::Compose(FXImage &out, const FXImage &oldPicture, const FXImage &newPicture, const VORRect &area) const {
  FXCompose::Copy(out, oldPicture, area);
  if (m_revealed >= m_total) {
    FXCompose::Copy(out, newPicture, area);
    return;
  }
  for (int32_t i = 0; i < m_count; ++i) {
    const Span span = RevealedSpan(i);
    if (span.end <= span.begin)
      continue;
    VORRect part = m_vertical ? VORRect(span.begin, 0, span.end, m_height) : VORRect(0, span.begin, m_width, span.end);
    VORRect clipped;
    if (!clipped.Intersect(part, area))
      continue;
    FXCompose::Copy(out, newPicture, clipped, m_vertical ? span.shift : 0, m_vertical ? 0 : span.shift);
  }
}

// ---- Blocks -------------------------------------------------------------------------

namespace {

std::vector<int32_t> ZigzagOrder(int32_t nc, int32_t nr, int32_t order) {
  static const int32_t kDirections[8][2] = {{0, 1}, {-1, 1}, {-1, 0}, {-1, -1}, {0, -1}, {1, -1}, {1, 0}, {1, 1}};
  const int32_t sx = kDirections[order][0];
  const int32_t sy = kDirections[order][1];
  std::vector<int32_t> cells;
  cells.reserve(static_cast<size_t>(nc) * static_cast<size_t>(nr));
  // Positions counted from the corner the sweep starts in.
  auto column = [&](int32_t i) { return sx < 0 || (sx == 0 && sy > 0) ? nc - 1 - i : i; };
  auto row = [&](int32_t j) { return sy < 0 || (sy == 0 && sx < 0) ? nr - 1 - j : j; };
  if (order % 2 == 0) {
    // Lines across the main direction, each walked the other way.
    const bool alongRows = sx == 0;
    const int32_t lines = alongRows ? nr : nc;
    const int32_t length = alongRows ? nc : nr;
    for (int32_t line = 0; line < lines; ++line) {
      for (int32_t p = 0; p < length; ++p) {
        const int32_t q = line % 2 == 0 ? p : length - 1 - p;
        cells.push_back(alongRows ? column(q) + row(line) * nc : column(line) + row(q) * nc);
      }
    }
    return cells;
  }
  // Diagonals from the starting corner, each walked the other way.
  for (int32_t d = 0; d <= nc + nr - 2; ++d) {
    const int32_t first = std::max(0, d - (nr - 1));
    const int32_t last = std::min(d, nc - 1);
    for (int32_t p = first; p <= last; ++p) {
      const int32_t i = d % 2 == 0 ? p : last - (p - first);
      cells.push_back(column(i) + row(d - i) * nc);
    }
  }
  return cells;
}

std::vector<int32_t> SpiralInwards(int32_t nc, int32_t nr) {
  std::vector<int32_t> cells;
  const size_t count = static_cast<size_t>(nc) * static_cast<size_t>(nr);
  cells.reserve(count);
  int32_t left = 0;
  int32_t right = nc - 1;
  int32_t top = 0;
  int32_t bottom = nr - 1;
  while (left <= right && top <= bottom) {
    for (int32_t y = top; y <= bottom; ++y)
      cells.push_back(left + y * nc);
    ++left;
    for (int32_t x = left; x <= right && top <= bottom; ++x)
      cells.push_back(x + bottom * nc);
    --bottom;
    if (left <= right) {
      for (int32_t y = bottom; y >= top; --y)
        cells.push_back(right + y * nc);
      --right;
    }
    if (top <= bottom) {
      for (int32_t x = right; x >= left; --x)
        cells.push_back(x + top * nc);
      ++top;
    }
  }
  return cells;
}

// The k-th still hidden cell in row-major order, found in a Fenwick tree so
// that huge grids stay quick.
class HiddenCells {
public:
  explicit HiddenCells(int32_t count) : m_tree(static_cast<size_t>(count) + 1, 0), m_count(count) {
    for (int32_t i = 1; i <= count; ++i) {
      m_tree[static_cast<size_t>(i)] += 1;
      const int32_t parent = i + (i & -i);
      if (parent <= count)
        m_tree[static_cast<size_t>(parent)] += m_tree[static_cast<size_t>(i)];
    }
    m_top = 1;
    while (m_top * 2 <= count)
      m_top *= 2;
  }
  int32_t TakeKth(int32_t k) {
    int32_t position = 0;
    for (int32_t step = m_top; step > 0; step /= 2) {
      const int32_t next = position + step;
      if (next <= m_count && m_tree[static_cast<size_t>(next)] <= k) {
        position = next;
        k -= m_tree[static_cast<size_t>(next)];
      }
    }
    for (int32_t i = position + 1; i <= m_count; i += i & -i)
      m_tree[static_cast<size_t>(i)] -= 1;
    return position;
  }

private:
  std::vector<int32_t> m_tree;
  int32_t m_count;
  int32_t m_top = 1;
};

} // namespace

std::vector<int32_t> BlockCore::RevealOrder(int32_t columns, int32_t rows, int32_t order) {
  const int32_t count = columns * rows;
  if (order >= 0 && order <= 7)
    return ZigzagOrder(columns, rows, order);
  if (order == 8)
    return SpiralInwards(columns, rows);
  if (order == 9) {
    std::vector<int32_t> cells = SpiralInwards(columns, rows);
    std::reverse(cells.begin(), cells.end());
    return cells;
  }
  if (order == 10) {
    std::vector<int32_t> cells;
    cells.reserve(static_cast<size_t>(count));
    HiddenCells hidden(count);
    for (int32_t left = count; left > 0; --left)
      cells.push_back(hidden.TakeKth(RandomBelow(left)));
    return cells;
  }
  // Orders beyond the known ones sweep as order 0.
  return ZigzagOrder(columns, rows, 0);
}

int32_t BlockCore::Prepare(int32_t width, int32_t height, bool closing) {
  m_width = width;
  m_height = height;
  m_closing = closing;
  m_revealed = 0;
  m_columns = std::clamp(m_columns, 1, std::clamp(width, 1, kMaxCellsPerSide));
  m_rows = std::clamp(m_rows, 1, std::clamp(height, 1, kMaxCellsPerSide));
  if (!m_mask.Resize(width, height)) {
    m_total = 0;
    m_sequence.clear();
    return 0;
  }
  m_mask.Fill(closing);
  m_sequence = RevealOrder(m_columns, m_rows, m_order);
  m_total = m_columns * m_rows;
  return m_total;
}

VORRect BlockCore::CellRect(int32_t cell) const {
  const int32_t c = cell % m_columns;
  const int32_t r = cell / m_columns;
  return VORRect(Scale(c, m_width, m_columns), Scale(r, m_height, m_rows), Scale(c + 1, m_width, m_columns),
                 Scale(r + 1, m_height, m_rows));
}

void BlockCore::Step(int32_t step, std::vector<VORRect> &changed) {
  if (m_total == 0) {
    changed.push_back(Whole());
    return;
  }
  const int32_t upTo = std::min(step, m_total);
  for (; m_revealed < upTo; ++m_revealed) {
    changed.push_back(DrawCell(m_sequence[static_cast<size_t>(m_revealed)], !m_closing));
  }
}

VORRect BlockCore::DrawCell(int32_t cell, bool set) {
  const VORRect rect = CellRect(cell);
  m_mask.SetRect(rect, set);
  return rect;
}

void BlockCore::Compose(FXImage &out, const FXImage &oldPicture, const FXImage &newPicture, const VORRect &area) const {
  if (m_total == 0) {
    FXCompose::Copy(out, m_closing ? oldPicture : newPicture, area);
    return;
  }
  FXCompose::ThroughMask(out, oldPicture, newPicture, m_mask, area);
}

// ---- Jigsaw -------------------------------------------------------------------------

namespace {

// Half a tab's outline, from the side to the tip in the middle of the side:
// two cubic Bezier segments, along the side in 200ths of its length, across
// it in 120ths of the tab's depth. The other half is its mirror image. The
// depth only grows along the half, so each depth crosses it once: a narrow
// neck, then a round head wider than the neck.
constexpr double kTabOutline[7][2] = {{85, 0}, {93, 22}, {63, 39}, {67, 69}, {72, 108}, {86, 120}, {100, 120}};
constexpr double kTabLength = 200;
constexpr double kTabDepth = 120;
constexpr int32_t kPointsPerSegment = 24;

struct OutlinePoint {
  double along;
  double across;
};

std::vector<OutlinePoint> FlattenedTabOutline() {
  std::vector<OutlinePoint> points;
  for (int32_t segment = 0; segment < 2; ++segment) {
    const double(*p)[2] = &kTabOutline[static_cast<size_t>(3 * segment)];
    for (int32_t i = segment == 0 ? 0 : 1; i <= kPointsPerSegment; ++i) {
      const double t = static_cast<double>(i) / kPointsPerSegment;
      const double a = (1 - t) * (1 - t) * (1 - t), b = 3 * t * (1 - t) * (1 - t), c = 3 * t * t * (1 - t),
                   d = t * t * t;
      points.push_back({a * p[0][0] + b * p[1][0] + c * p[2][0] + d * p[3][0],
                        a * p[0][1] + b * p[1][1] + c * p[2][1] + d * p[3][1]});
    }
  }
  return points;
}

// Where the half outline is at a depth (in 120ths), along the side.
double OutlineAlongAt(const std::vector<OutlinePoint> &outline, double across) {
  for (size_t i = 1; i < outline.size(); ++i) {
    const OutlinePoint &p = outline[i - 1];
    const OutlinePoint &q = outline[i];
    if (across <= q.across) {
      if (q.across <= p.across)
        return q.along;
      return p.along + (across - p.across) * (q.along - p.along) / (q.across - p.across);
    }
  }
  return outline.back().along;
}

uint32_t RandomWord() {
  uint32_t word = 0;
  for (int32_t i = 0; i < 3; ++i)
    word = (word << 15) ^ static_cast<uint32_t>(VORRandomGenerator::Next());
  return word;
}

} // namespace

std::vector<JigsawCore::TabSpan> JigsawCore::TabShape(int32_t length, int32_t depth) {
  static const std::vector<OutlinePoint> outline = FlattenedTabOutline();
  std::vector<TabSpan> spans;
  if (length <= 0 || depth <= 0)
    return spans;
  spans.reserve(static_cast<size_t>(depth));
  for (int32_t d = 0; d < depth; ++d) {
    const double across = (d + 0.5) * kTabDepth / depth;
    const double along = OutlineAlongAt(outline, across) * length / kTabLength;
    // The side's ends stay with the piece, so that no piece loses all of
    // its cell to its neighbours' tabs.
    const int32_t begin = std::max(static_cast<int32_t>(std::lround(along)), 1);
    spans.push_back({begin, std::max(length - begin, begin)});
  }
  return spans;
}

int32_t JigsawCore::Prepare(int32_t width, int32_t height, bool closing) {
  const int32_t total = BlockCore::Prepare(width, height, closing);
  m_horizontalTab.clear();
  m_verticalTab.clear();
  m_directions.clear();
  if (total == 0)
    return 0;
  // Prepare left at least one cell a side, each at least a pixel.
  m_pieceWidth = (width + GetColumns() - 1) / GetColumns();
  m_pieceHeight = (height + GetRows() - 1) / GetRows();
  // A tab reaches half across its neighbour, never through a piece one
  // pixel deep.
  m_horizontalTab = TabShape(m_pieceWidth, std::min((m_pieceHeight + 1) / 2, m_pieceHeight - 1));
  m_verticalTab = TabShape(m_pieceHeight, std::min((m_pieceWidth + 1) / 2, m_pieceWidth - 1));
  m_directions.resize(2 * static_cast<size_t>(GetRows()));
  for (uint32_t &word : m_directions)
    word = RandomWord();
  return total;
}

int32_t JigsawCore::ColumnAt(int32_t x) const {
  return static_cast<int32_t>(((static_cast<int64_t>(x) + 1) * GetColumns() - 1) / m_width);
}

int32_t JigsawCore::RowAt(int32_t y) const {
  return static_cast<int32_t>(((static_cast<int64_t>(y) + 1) * GetRows() - 1) / m_height);
}

bool JigsawCore::BulgesForward(bool verticalSide, int32_t c, int32_t r) const {
  const uint32_t word = m_directions[2 * static_cast<size_t>(r) + (verticalSide ? 0 : 1)];
  return ((word >> (c % 32)) & 1u) != 0;
}

bool JigsawCore::InTab(const std::vector<TabSpan> &tab, int32_t depth, int32_t along) {
  if (depth < 0 || static_cast<size_t>(depth) >= tab.size())
    return false;
  const TabSpan &span = tab[static_cast<size_t>(depth)];
  return along >= span.begin && along < span.end;
}

int32_t JigsawCore::PieceAt(int32_t x, int32_t y) const {
  const int32_t c = ColumnAt(x);
  const int32_t r = RowAt(y);
  return PieceIn(x, y, c, r, CellRect(c + r * GetColumns()));
}

int32_t JigsawCore::PieceIn(int32_t x, int32_t y, int32_t c, int32_t r, const VORRect &cell) const {
  const int32_t columns = GetColumns();
  const int32_t own = c + r * columns;
  if (m_directions.empty())
    return own;
  // Tabs are centred on the cell's sides; the tabs of the horizontal sides
  // win where two would meet.
  const int32_t alongX = x - (cell.left + (static_cast<int32_t>(cell.Width()) - m_pieceWidth) / 2);
  const int32_t alongY = y - (cell.top + (static_cast<int32_t>(cell.Height()) - m_pieceHeight) / 2);
  if (r > 0 && BulgesForward(false, c, r - 1) && InTab(m_horizontalTab, y - cell.top, alongX))
    return own - columns;
  if (r < GetRows() - 1 && !BulgesForward(false, c, r) && InTab(m_horizontalTab, cell.bottom - 1 - y, alongX))
    return own + columns;
  if (c > 0 && BulgesForward(true, c - 1, r) && InTab(m_verticalTab, x - cell.left, alongY))
    return own - 1;
  if (c < columns - 1 && !BulgesForward(true, c, r) && InTab(m_verticalTab, cell.right - 1 - x, alongY))
    return own + 1;
  return own;
}

VORRect JigsawCore::PieceBounds(int32_t cell) const {
  const int32_t across = static_cast<int32_t>(m_verticalTab.size());
  const int32_t down = static_cast<int32_t>(m_horizontalTab.size());
  const VORRect rect = CellRect(cell);
  VORRect bounds;
  if (!bounds.Intersect(VORRect(rect.left - across, rect.top - down, rect.right + across, rect.bottom + down), Whole()))
    return VORRect(0, 0, 0, 0);
  return bounds;
}

VORRect JigsawCore::DrawCell(int32_t cell, bool set) {
  const VORRect bounds = PieceBounds(cell);
  FXMask &mask = Mask();
  const int32_t columns = GetColumns();
  const int32_t c0 = cell % columns;
  const int32_t r0 = cell / columns;
  // A tab reaches no further than the next cell: the piece lies within its
  // cell's neighbours, taken one cell at a time.
  for (int32_t r = std::max(r0 - 1, 0); r <= std::min(r0 + 1, GetRows() - 1); ++r) {
    for (int32_t c = std::max(c0 - 1, 0); c <= std::min(c0 + 1, columns - 1); ++c) {
      const VORRect rect = CellRect(c + r * columns);
      VORRect part;
      if (!part.Intersect(rect, bounds))
        continue;
      for (int32_t y = part.top; y < part.bottom; ++y)
        for (int32_t x = part.left; x < part.right; ++x)
          if (PieceIn(x, y, c, r, rect) == cell)
            mask.Set(x, y, set);
    }
  }
  return bounds;
}

// ---- Scroll and wipe ------------------------------------------------------------------

int32_t ScrollCore::Prepare(int32_t width, int32_t height, bool closing) {
  m_width = width;
  m_height = height;
  m_closing = closing;
  m_total = std::max({width, height, 0});
  std::vector<VORRect> ignored;
  Step(0, ignored);
  return m_total;
}

void ScrollCore::Step(int32_t step, std::vector<VORRect> &changed) {
  const int32_t a = m_closing ? step : m_total - step;
  m_ox = Scale(static_cast<int64_t>(m_width) * m_dx, a, m_total);
  m_oy = Scale(static_cast<int64_t>(m_height) * m_dy, a, m_total);
  const VORRect previous = m_window;
  if (!m_window.Intersect(Whole().Offset(m_ox, m_oy), Whole()))
    m_window = VORRect(0, 0, 0, 0);
  VORRect both;
  both.Union(previous, m_window);
  changed.push_back(both);
}

void ScrollCore::Compose(FXImage &out, const FXImage &oldPicture, const FXImage &newPicture,
                         const VORRect &area) const {
  FXCompose::Copy(out, oldPicture, area);
  VORRect part;
  if (m_total == 0) {
    FXCompose::Copy(out, m_closing ? oldPicture : newPicture, area);
    return;
  }
  if (part.Intersect(m_window, area))
    FXCompose::Copy(out, newPicture, part, m_wipe ? 0 : m_ox, m_wipe ? 0 : m_oy);
}

// ---- Slide ---------------------------------------------------------------------------

void SlideCore::SetOffsets(int32_t a) {
  m_ox = Scale(static_cast<int64_t>(m_width) * a, m_dx, m_total);
  m_oy = Scale(static_cast<int64_t>(m_height) * a, m_dy, m_total);
  if (m_dx > 0 || m_dy > 0) {
    m_oldX = -m_dx * (m_width - m_ox);
    m_oldY = -m_dy * (m_height - m_oy);
  } else {
    m_oldX = std::abs(m_dx) * (m_width + m_ox);
    m_oldY = std::abs(m_dy) * (m_height + m_oy);
  }
}

int32_t SlideCore::Prepare(int32_t width, int32_t height, bool closing) {
  m_width = width;
  m_height = height;
  m_closing = closing;
  // Directions are signs; larger values would throw the pictures far off.
  m_dx = std::clamp(m_dx, -1, 1);
  m_dy = std::clamp(m_dy, -1, 1);
  m_total = std::max({width, height, 0});
  SetOffsets(closing ? 0 : m_total);
  return m_total;
}

void SlideCore::Step(int32_t step, std::vector<VORRect> &changed) {
  SetOffsets(m_closing ? step : m_total - step);
  changed.push_back(Whole());
}

void SlideCore::Compose(FXImage &out, const FXImage &oldPicture, const FXImage &newPicture, const VORRect &area) const {
  FXCompose::Copy(out, newPicture, area, m_ox, m_oy);
  FXCompose::Copy(out, oldPicture, area, m_oldX, m_oldY);
}

// ---- Shapes --------------------------------------------------------------------------

ShapeCore::ShapeCore(int32_t shape, int32_t starRatio, int32_t sides, int32_t columns, int32_t rows, int32_t rotation)
    : m_shape(shape), m_starRatio(starRatio),
      m_sides(sides >= kFallbackSides && sides <= kMaxSides ? sides : kFallbackSides),
      m_columns(columns >= 1 && columns <= kMaxCells ? columns : 1), m_rows(rows >= 1 && rows <= kMaxCells ? rows : 1),
      m_rotation(rotation) {}

int32_t ShapeCore::Prepare(int32_t width, int32_t height, bool closing) {
  m_width = width;
  m_height = height;
  m_closing = closing;
  m_cellWidth = width / m_columns;
  m_cellHeight = height / m_rows;
  if (!m_mask.Resize(width, height)) {
    m_total = 0;
    return 0;
  }
  m_mask.Fill(closing);
  m_total = 5 * std::max(m_cellWidth, m_cellHeight);
  return m_total;
}

std::vector<double> ShapeCore::Corners(double cx, double cy, double bw, double bh, double angle) const {
  constexpr double kPi = 3.14159265358979323846;
  std::vector<double> points;
  const double halfDiagonal = std::sqrt(bw * bw + bh * bh) / 2;
  const int32_t count = m_shape == 2 ? 2 * m_sides : m_sides;
  double first = (angle - 90) * kPi / 180;
  if (m_starRatio < 0)
    first += kPi / m_sides;
  for (int32_t i = 0; i < count; ++i) {
    double radius = halfDiagonal / std::cos(kPi / m_sides);
    if (m_shape == 2)
      radius = i % 2 == 0 ? (1 + std::abs(m_starRatio) / 256.0) * halfDiagonal : halfDiagonal;
    const double theta = first + 2 * kPi * i / count;
    points.push_back(cx + radius * std::cos(theta));
    points.push_back(cy + radius * std::sin(theta));
  }
  return points;
}

void ShapeCore::Step(int32_t step, std::vector<VORRect> &changed) {
  changed.push_back(Whole());
  const int32_t s = m_closing ? m_total - step : step;
  if (step >= m_total || m_total == 0) {
    FinishMask(m_mask, m_closing);
    return;
  }
  m_mask.Fill(false);
  const double bw = static_cast<double>(m_cellWidth) * s / m_total;
  const double bh = static_cast<double>(m_cellHeight) * s / m_total;
  const double angle = static_cast<double>(m_rotation) * s / m_total;
  // The shape of one cell, as spans per row, repeated in every cell.
  const double cx = m_cellWidth / 2.0;
  const double cy = m_cellHeight / 2.0;
  std::vector<std::pair<int32_t, int32_t>> spans(static_cast<size_t>(m_cellHeight), {0, 0});
  if (m_shape == 0) {
    const double radius = (std::sqrt(bw * bw + bh * bh) + 1) / 2;
    for (int32_t y = 0; y < m_cellHeight; ++y) {
      const double dy = y + 0.5 - cy;
      if (std::abs(dy) >= radius)
        continue;
      const double half = std::sqrt(radius * radius - dy * dy);
      spans[static_cast<size_t>(y)] = {static_cast<int32_t>(std::ceil(cx - half - 0.5)),
                                       static_cast<int32_t>(std::ceil(cx + half - 0.5))};
    }
  } else {
    const std::vector<double> corners = Corners(cx, cy, bw, bh, angle);
    const size_t n = corners.size() / 2;
    // Even-odd scan conversion at pixel centres.
    for (int32_t y = 0; y < m_cellHeight; ++y) {
      const double py = y + 0.5;
      std::vector<double> crossings;
      for (size_t i = 0; i < n; ++i) {
        const double x0 = corners[2 * i], y0 = corners[2 * i + 1];
        const double x1 = corners[2 * ((i + 1) % n)], y1 = corners[2 * ((i + 1) % n) + 1];
        if ((y0 <= py) != (y1 <= py))
          crossings.push_back(x0 + (py - y0) * (x1 - x0) / (y1 - y0));
      }
      std::sort(crossings.begin(), crossings.end());
      if (crossings.size() >= 2)
        spans[static_cast<size_t>(y)] = {static_cast<int32_t>(std::ceil(crossings.front() - 0.5)),
                                         static_cast<int32_t>(std::ceil(crossings.back() - 0.5))};
    }
  }
  for (int32_t r = 0; r < m_rows; ++r) {
    for (int32_t c = 0; c < m_columns; ++c) {
      const int32_t left = c * m_cellWidth;
      const int32_t top = r * m_cellHeight;
      for (int32_t y = 0; y < m_cellHeight; ++y) {
        const auto &span = spans[static_cast<size_t>(y)];
        const int32_t x0 = std::max(span.first, 0);
        const int32_t x1 = std::min(span.second, m_cellWidth);
        if (x1 > x0)
          m_mask.SetSpan(top + y, left + x0, left + x1, true);
      }
    }
  }
}

void ShapeCore::Compose(FXImage &out, const FXImage &oldPicture, const FXImage &newPicture, const VORRect &area) const {
  FXCompose::ThroughMask(out, oldPicture, newPicture, m_mask, area);
}

// ---- Zoom ---------------------------------------------------------------------------

int32_t ZoomCore::Prepare(int32_t width, int32_t height, bool closing) {
  m_width = width;
  m_height = height;
  m_closing = closing;
  m_total = 5 * std::max({width, height, 0});
  m_step = closing ? m_total : 0;
  return m_total;
}

VORRect ZoomCore::ZoomRect(int32_t step) const {
  const int32_t zw = Scale(m_width, step, m_total);
  const int32_t zh = Scale(m_height, step, m_total);
  const int32_t horizontal = m_mode & 0x0C;
  const int32_t vertical = m_mode & 0x03;
  const int32_t left = horizontal == 4 ? (m_width - zw) / 2 : horizontal == 8 ? m_width - zw : 0;
  const int32_t top = vertical == 1 ? (m_height - zh) / 2 : vertical == 2 ? m_height - zh : 0;
  return VORRect(left, top, left + zw, top + zh);
}

void ZoomCore::Step(int32_t step, std::vector<VORRect> &changed) {
  m_step = m_closing ? m_total - step : step;
  changed.push_back(Whole());
}

void ZoomCore::Compose(FXImage &out, const FXImage &oldPicture, const FXImage &newPicture, const VORRect &area) const {
  if (m_total == 0) {
    FXCompose::Copy(out, m_closing ? oldPicture : newPicture, area);
    return;
  }
  if (m_step >= m_total || m_step <= 0) {
    FXCompose::Copy(out, m_step >= m_total ? newPicture : oldPicture, area);
    return;
  }
  VORRect zoom = ZoomRect(m_step);
  if ((m_mode & kZoomOut) != 0) {
    zoom.right = std::max(zoom.right, zoom.left + 1);
    zoom.bottom = std::max(zoom.bottom, zoom.top + 1);
    FXCompose::Stretch(out, newPicture, zoom, Whole(), area);
    return;
  }
  FXCompose::Copy(out, oldPicture, area);
  FXCompose::Stretch(out, newPicture, Whole(), zoom, area);
}
