#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

#include "display/DibTypes.h"
#include "foundation/VORRect.h"

class DibImage;
class Palette;

// The two-colour gradients of the background: the colour of each line of the
// line-drawn form (deep displays) and the per-pixel loops of the dithered
// forms (256 and 65,536 colours). Divisions truncate toward zero, as the
// stored publications were laid out with.
namespace BackgroundGradient {

enum Direction : int32_t {
  kTopToBottom = 0,
  kLeftToRight = 1,
  kFromTopLeft = 2,  // diagonal toward the bottom-right
  kFromTopRight = 3, // diagonal toward the bottom-left
};

struct Gradient {
  ColorRef first = 0xFFFFFF;
  ColorRef second = 0xFFFFFF;
  int32_t direction = kFromTopLeft;
  // The object rectangle the gradient spans, in the coordinates of the
  // lines or pixels it is drawn into.
  VORRect object;
};

// One step of the line-drawn form: a pen of this colour, a line from
// (x1, y1) to (x2, y2) with the end point not drawn.
struct Line {
  ColorRef colour = 0;
  int32_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

// Steps first..last (exclusive) of the line form; empty when first >= last.
struct StepRange {
  int64_t first = 0;
  int64_t last = 0;
};

// Every step of the gradient: n = height (top to bottom), width (left to
// right) or twice the larger side (diagonals); none for an unknown direction.
int64_t StepCount(const Gradient &gradient);
// The steps whose lines can reach the clip rectangle: a huge object drawn
// into a small update rectangle walks only the lines that show.
StepRange VisibleSteps(const Gradient &gradient, const VORRect &clip);
// The colour and line of step i (0 <= i < StepCount).
Line LineAt(const Gradient &gradient, int64_t step);

// The colour a pixel of the dithered forms aims at before noise and carried
// error, per channel (red, green, blue); x and y relative to the object's
// top-left corner. An object without area gives colour 1.
void BaseColour(const Gradient &gradient, int64_t x, int64_t y, int32_t (&channels)[3]);

// Fills count numbers from 0 to 0x7FFF, in the order the generator draws
// them: the runtime's generator in the player, a fixed sequence in tests.
using RandomSource = std::function<void(int32_t *numbers, size_t count)>;

// Writes the gradient into the area (pixel coordinates of the image, cut to
// the image) of an 8-bit image: per pixel a noise of rand() % 8 - 4 on all
// three channels plus the error carried along the row, matched through the
// palette's inverse table; the error carried on is what the chosen entry
// misses (the image's colour table, or the palette's for indexes past it).
// False, with nothing written, for an unknown direction, a palette without
// colours, an image of another depth or an area outside it.
bool Fill8(DibImage &image, const VORRect &area, const Gradient &gradient, Palette &palette,
           const RandomSource &random);
// The same into a 24-bit image for a 65,536-colour display: each channel
// keeps its top five bits and carries the rest along the row; no noise.
// False, with nothing written, as above.
bool Fill16(DibImage &image, const VORRect &area, const Gradient &gradient);

} // namespace BackgroundGradient
