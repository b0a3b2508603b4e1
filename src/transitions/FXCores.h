#pragma once

#include <cstdint>
#include <vector>

#include "foundation/VORRect.h"
#include "transitions/FXPixels.h"

// The platform-free half of each effect: how many steps it has, what a step
// changes, and the picture of any area at the present step, composed from
// the old and the new picture. Coordinates run from the effect rectangle's
// top-left corner; sizes of 0 and degenerate parameters give an effect
// that ends at once on the new picture (or, closing, the old one).
class FXCore {
public:
  FXCore() = default;
  FXCore(const FXCore &) = delete;
  FXCore &operator=(const FXCore &) = delete;
  virtual ~FXCore() = default;

  // Takes the size and the direction; answers the total number of steps.
  virtual int32_t Prepare(int32_t width, int32_t height, bool closing) = 0;
  virtual int32_t Increment(int32_t total) const { return total / 100 + 1; }
  // Goes to the step; the areas whose picture changed are added to changed.
  virtual void Step(int32_t step, std::vector<VORRect> &changed) = 0;
  // The picture of area at the present step, written into out.
  virtual void Compose(FXImage &out, const FXImage &oldPicture, const FXImage &newPicture,
                       const VORRect &area) const = 0;

protected:
  VORRect Whole() const { return VORRect(0, 0, m_width, m_height); }
  int32_t m_width = 0;
  int32_t m_height = 0;
  bool m_closing = false;
  int32_t m_total = 0;
};

// Fade: the new picture blends in over N levels, or through a colour (the
// colour fills the rectangle exactly at the middle level).
class FadeCore : public FXCore {
public:
  static constexpr uint32_t kNoColour = 0xFFFFFFFFu;
  FadeCore(int32_t levels, uint32_t colour) : m_levels(levels), m_colour(colour) {}
  int32_t Prepare(int32_t width, int32_t height, bool closing) override;
  int32_t Increment(int32_t /*total*/) const override { return m_levels / 100 + 1; }
  void Step(int32_t step, std::vector<VORRect> &changed) override;
  void Compose(FXImage &out, const FXImage &oldPicture, const FXImage &newPicture, const VORRect &area) const override;
  // The new picture's opacity (0 to 256) at a level, without a colour.
  static int32_t NewOpacity(int32_t level, int32_t levels);
  // The colour's opacity at a level: below 1 none, above 255 solid.
  static int32_t ColourOpacity(int32_t level, int32_t levels);

private:
  int32_t m_levels;
  uint32_t m_colour;
  int32_t m_level = 0;
};

// Pixel dissolve by mode: 0 a pixel of every 16 x 16 cell per step, 1 lines
// every four pixels, 2 one line per step, 3 nothing until the end.
class PixelCore : public FXCore {
public:
  static constexpr int32_t kCellSide = 16;
  static constexpr int32_t kCellPixels = kCellSide * kCellSide;
  static constexpr int32_t kStride = 67; // odd: each cell visits all 256 pixels
  explicit PixelCore(int32_t mode) : m_mode(mode & 3) {}
  int32_t Prepare(int32_t width, int32_t height, bool closing) override;
  void Step(int32_t step, std::vector<VORRect> &changed) override;
  void Compose(FXImage &out, const FXImage &oldPicture, const FXImage &newPicture, const VORRect &area) const override;
  const FXMask &GetMask() const { return m_mask; }

private:
  void Reveal(int32_t step);
  int32_t m_mode;
  FXMask m_mask;
  int32_t m_drawn = -1;
  int32_t m_cellColumns = 0;
  std::vector<uint8_t> m_cellValues;
  // Mode 2: the columns and the rows in sweep order.
  std::vector<int32_t> m_columns;
  std::vector<int32_t> m_rows;
};

// Blinds: strips along one axis that open from their start, their end or
// their middle.
class BlindCore : public FXCore {
public:
  BlindCore(int32_t strips, int32_t mode, bool fixedPicture, bool vertical)
      : m_strips(strips), m_mode(mode), m_fixed(fixedPicture), m_vertical(vertical) {}
  int32_t Prepare(int32_t width, int32_t height, bool closing) override;
  void Step(int32_t step, std::vector<VORRect> &changed) override;
  void Compose(FXImage &out, const FXImage &oldPicture, const FXImage &newPicture, const VORRect &area) const override;
  // Strip i's revealed span along the axis and the shift of the new picture in it.
  struct Span {
    int32_t begin;
    int32_t end;
    int32_t shift;
  };
  Span RevealedSpan(int32_t strip) const;
  int32_t GetStripCount() const { return m_count; }

private:
  int32_t m_strips;
  int32_t m_mode;
  bool m_fixed;
  bool m_vertical;
  int32_t m_count = 1;
  int32_t m_extent = 0;
  int32_t m_revealed = 0;
};

// Blocks: a grid of cells revealed one per step in one of eleven orders.
class BlockCore : public FXCore {
public:
  // Grids are bounded: a cell is at least a pixel, and no side has more
  // than this many cells.
  static constexpr int32_t kMaxCellsPerSide = 1024;
  BlockCore(int32_t columns, int32_t rows, int32_t order) : m_columns(columns), m_rows(rows), m_order(order) {}
  int32_t Prepare(int32_t width, int32_t height, bool closing) override;
  void Step(int32_t step, std::vector<VORRect> &changed) override;
  void Compose(FXImage &out, const FXImage &oldPicture, const FXImage &newPicture, const VORRect &area) const override;
  // The cells (column + row x columns) in the order they are revealed.
  static std::vector<int32_t> RevealOrder(int32_t columns, int32_t rows, int32_t order);
  VORRect CellRect(int32_t cell) const;
  int32_t GetColumns() const { return m_columns; }
  int32_t GetRows() const { return m_rows; }
  const FXMask &GetMask() const { return m_mask; }

protected:
  // Shows (set) or hides the cell's part of the new picture in the mask;
  // answers the area that changed.
  virtual VORRect DrawCell(int32_t cell, bool set);
  FXMask &Mask() { return m_mask; }

private:
  int32_t m_columns;
  int32_t m_rows;
  int32_t m_order;
  FXMask m_mask;
  std::vector<int32_t> m_sequence;
  int32_t m_revealed = 0;
};

// Jigsaw: the block grid's cells revealed as interlocking puzzle pieces.
// Every side between two cells carries a tab that bulges into one of them
// and leaves the matching notch in the other; sides on the border have
// none. Each pixel belongs to exactly one piece, so the pieces together
// cover the rectangle once.
class JigsawCore : public BlockCore {
public:
  using BlockCore::BlockCore;
  int32_t Prepare(int32_t width, int32_t height, bool closing) override;
  // The cell whose piece holds pixel (x, y) of the rectangle.
  int32_t PieceAt(int32_t x, int32_t y) const;
  // The most a piece covers: its cell widened by the tabs' depth.
  VORRect PieceBounds(int32_t cell) const;

  // A tab's extent along its side at each depth from the side, for a side
  // of the given length.
  struct TabSpan {
    int32_t begin;
    int32_t end;
  };
  static std::vector<TabSpan> TabShape(int32_t length, int32_t depth);

protected:
  VORRect DrawCell(int32_t cell, bool set) override;

private:
  // The piece of pixel (x, y), which lies in cell rect of column c, row r.
  int32_t PieceIn(int32_t x, int32_t y, int32_t c, int32_t r, const VORRect &rect) const;
  int32_t ColumnAt(int32_t x) const;
  int32_t RowAt(int32_t y) const;
  // Whether the side after column c of row r (a vertical side), or after
  // row r of column c (a horizontal one), bulges into the next cell.
  bool BulgesForward(bool verticalSide, int32_t c, int32_t r) const;
  // Whether the point lies in a tab: depth from the side, offset along it
  // from the start of the piece's side.
  static bool InTab(const std::vector<TabSpan> &tab, int32_t depth, int32_t along);

  int32_t m_pieceWidth = 0;
  int32_t m_pieceHeight = 0;
  // Tabs on horizontal sides (along x, deep along y) and on vertical ones.
  std::vector<TabSpan> m_horizontalTab;
  std::vector<TabSpan> m_verticalTab;
  // Two words per grid row: vertical sides, then horizontal sides; bit c % 32.
  std::vector<uint32_t> m_directions;
};

// Scroll and wipe: a window of the new picture moves in from a side; the
// picture moves with it (scroll) or stays (wipe).
class ScrollCore : public FXCore {
public:
  ScrollCore(int32_t dx, int32_t dy, bool wipe) : m_dx(dx), m_dy(dy), m_wipe(wipe) {}
  int32_t Prepare(int32_t width, int32_t height, bool closing) override;
  int32_t Increment(int32_t total) const override { return total / 30 + 1; }
  void Step(int32_t step, std::vector<VORRect> &changed) override;
  void Compose(FXImage &out, const FXImage &oldPicture, const FXImage &newPicture, const VORRect &area) const override;

private:
  int32_t m_dx;
  int32_t m_dy;
  bool m_wipe;
  int32_t m_ox = 0;
  int32_t m_oy = 0;
  VORRect m_window = VORRect(0, 0, 0, 0);
};

// Slide: the new picture pushes the old one out.
class SlideCore : public FXCore {
public:
  SlideCore(int32_t dx, int32_t dy) : m_dx(dx), m_dy(dy) {}
  int32_t Prepare(int32_t width, int32_t height, bool closing) override;
  int32_t Increment(int32_t total) const override { return total / 30 + 1; }
  void Step(int32_t step, std::vector<VORRect> &changed) override;
  void Compose(FXImage &out, const FXImage &oldPicture, const FXImage &newPicture, const VORRect &area) const override;

private:
  void SetOffsets(int32_t a);
  int32_t m_dx;
  int32_t m_dy;
  int32_t m_ox = 0;
  int32_t m_oy = 0;
  int32_t m_oldX = 0;
  int32_t m_oldY = 0;
};

// Shapes: circles, polygons or stars growing in every cell of a grid.
class ShapeCore : public FXCore {
public:
  static constexpr int32_t kMaxSides = 50;
  static constexpr int32_t kFallbackSides = 3;
  static constexpr int32_t kMaxCells = 100;
  ShapeCore(int32_t shape, int32_t starRatio, int32_t sides, int32_t columns, int32_t rows, int32_t rotation);
  int32_t Prepare(int32_t width, int32_t height, bool closing) override;
  int32_t Increment(int32_t /*total*/) const override { return 5; }
  void Step(int32_t step, std::vector<VORRect> &changed) override;
  void Compose(FXImage &out, const FXImage &oldPicture, const FXImage &newPicture, const VORRect &area) const override;
  int32_t GetSides() const { return m_sides; }
  int32_t GetColumns() const { return m_columns; }
  int32_t GetRows() const { return m_rows; }
  // The shape's corners for a box of bw x bh centred on (cx, cy) turned by
  // angle degrees (a circle has none).
  std::vector<double> Corners(double cx, double cy, double bw, double bh, double angle) const;
  const FXMask &GetMask() const { return m_mask; }

private:
  int32_t m_shape;
  int32_t m_starRatio;
  int32_t m_sides;
  int32_t m_columns;
  int32_t m_rows;
  int32_t m_rotation;
  int32_t m_cellWidth = 0;
  int32_t m_cellHeight = 0;
  FXMask m_mask;
};

// Zoom: the new picture grows from a corner, an edge or the centre, or the
// view zooms out to it.
class ZoomCore : public FXCore {
public:
  static constexpr int32_t kZoomOut = 0x10;
  explicit ZoomCore(int32_t mode) : m_mode(mode) {}
  int32_t Prepare(int32_t width, int32_t height, bool closing) override;
  int32_t Increment(int32_t /*total*/) const override { return 5; }
  void Step(int32_t step, std::vector<VORRect> &changed) override;
  void Compose(FXImage &out, const FXImage &oldPicture, const FXImage &newPicture, const VORRect &area) const override;
  VORRect ZoomRect(int32_t step) const;

private:
  int32_t m_mode;
  int32_t m_step = 0;
};
