#pragma once

#include <cstdint>
#include <vector>

#include "display/DibTypes.h"
#include "foundation/VORRect.h"

// Where a border's lines go, in its eight styles, worked out apart from the
// drawing: the outlines of the line, ellipse, double-line and graded styles,
// the edges of the bevels, the rectangle inside a border and the shapes cut
// out of the mask.
namespace BorderGeometry {

enum Style : int32_t {
  kNone = 0,
  kLine = 1, // rounded when the corner radius is not 0
  kDoubleLine = 2,
  kGradedRings = 3,
  kEllipse = 4,
  kPicture = 5,
  kBevel = 100,         // left and top in colour 1, right and bottom in colour 2
  kInvertedBevel = 101, // the colours the other way round
};

// Full border opacity: the bevels draw plain lines.
constexpr int32_t kSolidOpacity = 256;

// Widths and radii are signed 16-bit values in the records: a negative one
// draws as 0. The opacity is at most solid.
int32_t LengthOf(int16_t stored);
int32_t OpacityOf(uint16_t stored);

// What a border draws from, with the lengths already made non-negative.
struct Border {
  int32_t style = kNone;
  VORRect rect;
  int32_t width = 1;
  int32_t radius = 0;
  ColorRef first = 0xFFFFFF;
  ColorRef second = 0;
};

// One outline: a rectangle, a rounded rectangle with corner ellipses of
// 2 radius x 2 radius when the radius is above 0, or an ellipse; drawn with
// an inside-frame pen of penWidth in colour and no brush. A pen width of 0
// draws nothing on the page but the shape still counts in the mask.
struct Outline {
  VORRect rect;
  int32_t radius = 0;
  int32_t penWidth = 0;
  ColorRef colour = 0;
  bool ellipse = false;
};

// The outlines of the line, ellipse, double-line and graded styles, outside
// first; none for the others. A graded border of width w has w - 1 rings of
// pen width 2, each one pixel inside the last.
std::vector<Outline> Outlines(const Border &border);
// The outlines cut out of the mask (drawn white, filled): those of a rounded
// line, double or graded border, an ellipse; none for square shapes, whose
// mask the outline itself covers.
bool CutsMask(const Border &border);
// The mask a shape is cut from covers the border's rectangle: width x height
// pixels, the rectangle's top-left corner at its 0, 0. False when the
// rectangle has no area: there is nothing to cut.
bool MaskSize(const VORRect &rect, int32_t &width, int32_t &height);

// The double line: outer and inner lines of width / 3, the middle one the rest.
struct DoubleWidths {
  int32_t outer = 0;
  int32_t middle = 0;
};
DoubleWidths DoubleLineWidths(int32_t width);

// The colour of graded ring k of a border of width w: colour 1 at k = 0,
// then each channel (k x 1000 x c2 + c1 x (F - k x 1000)) / F, F = (w - 1) x 1000.
ColorRef RingColour(ColorRef first, ColorRef second, int32_t width, int32_t ring);

// A bevel edge of one ring: a line (end point not drawn) for a solid border,
// a one-pixel strip to blend for a translucent one.
struct BevelLine {
  int32_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  ColorRef colour = 0;
};
struct BevelStrip {
  VORRect rect;
  ColorRef colour = 0;
};
// width rings from the outside in, four edges each; the rings stop where the
// rectangle has no pixel left.
std::vector<BevelLine> BevelLines(const Border &border);
std::vector<BevelStrip> BevelStrips(const Border &border);

// The rectangle inside the border, clear of its line and of the part of a
// round corner outside the inscribed 45-degree square. A style this player
// does not know keeps no corner allowance.
VORRect InnerRect(const Border &border);

} // namespace BorderGeometry
